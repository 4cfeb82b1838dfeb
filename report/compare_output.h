// The answer to --compare: what changed per folder since a saved scan, as
// text or as a JSON document, and the words for a saved scan that cannot be
// read.
#pragma once

#include "saved_scan.h"
#include "scan_difference.h"

#include <QString>

namespace dorvelix {

// Why the saved scan at file cannot be compared with, in one line.
QString savedScanErrorText(const QString& file, const SavedScanError& error);

void printDifference(const ScanDifference& d, const SavedScan& then, const QString& savedFile);
void printDifferenceJson(const ScanDifference& d, const SavedScan& then, const QString& savedFile,
                         const QString& folder, const QStringList& messages);

}  // namespace dorvelix
