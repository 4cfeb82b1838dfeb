// dorvelix: the main window.
//   dorvelix [--help | --version]
// The window reads no command line: besides --help and --version it accepts
// only Qt's own options (-platform, -style …); any other argument is a usage
// error (status 2) rather than something silently ignored.
#include "app_icon.h"
#include "command_line.h"
#include "main_window.h"
#include "program_version.h"
#include "qt_translations.h"
#include "standard_output.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

namespace {

const QString ProgramName = QStringLiteral("dorvelix");

// The answer to --help or --version, found before the display is opened so
// that both work on a terminal without one; empty when neither is asked.
QString commandLineAnswer(int argc, char** argv)
{
    QCommandLineParser parser;
    // Qt's single-dash options (-platform, -reverse) are words, not letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Opens the Dorvelix window: a drive's capacity and use, and the disk\n"
        "space a folder occupies in cluster units."));
    const dorvelix::StandardOptions standard = dorvelix::addStandardOptions(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);  // Qt's own options are not known here yet
    if (parser.isSet(standard.help))
        return dorvelix::usageText(parser, ProgramName, QStringLiteral("[options]"))
            + QStringLiteral("\nQt's own options (-platform, -style, ...) are also accepted.\n"
                             "\n"
                             "The window speaks Japanese or English, after the interface languages\n"
                             "the desktop sets (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): the first of\n"
                             "them that is Japanese or English; Japanese where no language is set\n"
                             "(the C locale), English for any other language. To choose:\n"
                             "  LANGUAGE=ja dorvelix\n"
                             "  LANGUAGE=en dorvelix\n");
    if (parser.isSet(standard.version))
        return dorvelix::versionLine(ProgramName) + u'\n';
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    if (const QString answer = commandLineAnswer(argc, argv); !answer.isEmpty()) {
        std::fputs(answer.toUtf8().constData(), stdout);
        return dorvelix::closeStandardOutput(ProgramName, 0);
    }
    QApplication app(argc, argv);
    const QStringList rest = QApplication::arguments().mid(1);  // without Qt's own options
    if (!rest.isEmpty()) {
        std::fputs(QStringLiteral("%1: unexpected argument '%2': the window takes no arguments (see %1 --help)\n")
                       .arg(ProgramName, rest.front())
                       .toUtf8()
                       .constData(),
                   stderr);
        return 2;
    }
    dorvelix::installTranslations(dorvelix::systemUiLanguage());
    QApplication::setApplicationName(QStringLiteral("Dorvelix"));
    QApplication::setApplicationVersion(QLatin1String(dorvelix::ProgramVersion));
    QGuiApplication::setDesktopFileName(dorvelix::ApplicationId);
    QApplication::setWindowIcon(dorvelix::applicationIcon());
    dorvelix::MainWindow form;
    form.load();
    form.show();
    return app.exec();
}
