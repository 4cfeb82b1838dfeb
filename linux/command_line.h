// What every program of the project answers on its command line: --help and
// --version, and a help text that names the program rather than the path it
// was started by.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace dorvelix {

struct StandardOptions {
    QCommandLineOption help;
    QCommandLineOption version;
};

// Adds -h/--help and --version to parser and returns them for isSet().
StandardOptions addStandardOptions(QCommandLineParser& parser);

// "Usage: PROGRAM SYNOPSIS" followed by the parser's description and options.
QString usageText(const QCommandLineParser& parser, const QString& program, const QString& synopsis);

}  // namespace dorvelix
