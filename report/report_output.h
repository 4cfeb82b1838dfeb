// dorvelix-report's two outputs, the text panels and the JSON document, made
// from the typed results of the drive query and the search.
#pragma once

#include "cluster_lengths.h"
#include "copy_check.h"
#include "results.h"
#include "target_check.h"
#include "target_drive.h"

#include <QString>
#include <QStringList>
#include <cstdio>

namespace dorvelix {

struct ReportData {
    const DriveFigures& drive;
    const SearchResult& search;
    QString folder;        // the searched folder as the user sees it
    QStringList messages;  // the message boxes the search raised
    bool folderRows = false;
    const TargetCheck* target = nullptr;  // --target's check, counted
    std::optional<LengthsAnswer> lengths = std::nullopt;
};

// One line of text in UTF-8, message-box line breaks as plain newlines.
void printLine(FILE* to, const QString& text);

void printText(const ReportData& r);

// Why a count at a file system's cluster length is an estimate: a note line
// under the panel, and the JSON's "estimate_exact" and "estimate_note".
void printEstimate(const QString& fileSystem);
class JsonWriter;
void jsonEstimate(JsonWriter& j, const QString& fileSystem);
void printJson(const ReportData& r);

}  // namespace dorvelix
