// dorvelix-report's two outputs, the text panels and the JSON document, made
// from the typed results of the drive query and the search.
#pragma once

#include "answer_wording.h"
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
    int depth = 1;         // the levels of folder rows
    const TargetCheck* target = nullptr;  // --target's check, counted
    std::optional<LengthsAnswer> lengths = std::nullopt;
};

// The report's words for the answers' texts (answer_wording).
const AnswerWords& reportWords();

// One line of text in UTF-8, message-box line breaks as plain newlines.
void printLine(FILE* to, const QString& text);

void printText(const ReportData& r);

// How a count was reached or why it is an estimate: a note line (nothing
// without a note), and the JSON's "estimate_exact" and "estimate_note".
void printNote(const std::optional<CountNote>& note);
class JsonWriter;
void jsonNote(JsonWriter& j, const std::optional<CountNote>& note);
void printJson(const ReportData& r);
// Ends a JSON document with the search's messages and prints it, with a
// line break, on standard output.
void finishJson(JsonWriter& j, const QStringList& messages);

}  // namespace dorvelix
