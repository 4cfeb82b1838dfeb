// The command line of dorvelix-report, parsed by QCommandLineParser:
//   dorvelix-report [--convert N | --target PATH | --lengths [--capacity SIZE]] [--folders [--depth N]]
//                   [--compare OLD] [--complete] [--json] [--] [FOLDER]
// An option's name and help are in report_texts.h; adding one is a line
// there, a field here and its reading in report_options.cpp.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace dorvelix {

struct ReportOptions {
    std::optional<int> convert;  // a conversion cluster length, 128 .. 32,768
    bool json = false;
    bool folders = false;        // one row per top-level subfolder
    int depth = 1;               // with folders: the levels of rows, 1 the top level only
    std::string compare;         // a saved scan to compare the search with; empty: none
    bool complete = false;       // every level and entry, without the window's limits
    std::string target;          // a folder on the drive to copy to; empty: none
    bool lengths = false;        // every cluster length, FAT32 and exFAT
    std::optional<long long> capacity;  // a volume size for --lengths, in bytes
    std::string folder;          // the folder's bytes as given; empty: the current folder
};

struct ParsedCommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    ReportOptions options;
    // The help or version text for Help and Version, the cause for UsageError.
    QString text;
};

// Parses the program's arguments (argv[1] on), each given as its raw bytes.
ParsedCommandLine parseReportOptions(const std::vector<std::string>& arguments);

}  // namespace dorvelix
