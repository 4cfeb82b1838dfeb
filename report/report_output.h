// dorvelix-report's two outputs, the text panels and the JSON document, made
// from the typed results of the drive query and the search.
#pragma once

#include "copy_check.h"
#include "results.h"
#include "target_check.h"
#include "target_drive.h"

#include <QString>
#include <QStringList>
#include <cstdio>

namespace dorvelix {

// The answer to --target: the drive, what the copy needs there and what
// will not copy.
struct TargetAnswer {
    TargetDrive drive;
    long long neededBytes = 0;
    std::vector<BlockedEntry> blocked;
    TargetEstimate estimate;
    bool fits() const { return neededBytes <= drive.freeBytes; }
};

struct ReportData {
    const DriveFigures& drive;
    const SearchResult& search;
    QString folder;        // the searched folder as the user sees it
    QStringList messages;  // the message boxes the search raised
    bool folderRows = false;
    std::optional<TargetAnswer> target;
};

// One line of text in UTF-8, message-box line breaks as plain newlines.
void printLine(FILE* to, const QString& text);

void printText(const ReportData& r);
void printJson(const ReportData& r);

}  // namespace dorvelix
