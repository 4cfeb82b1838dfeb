#include "command_line.h"

namespace dorvelix {

StandardOptions addStandardOptions(QCommandLineParser& parser)
{
    StandardOptions o{QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("Show this help and exit.")),
                      QCommandLineOption(QStringLiteral("version"), QStringLiteral("Show the version and exit."))};
    parser.addOptions({o.help, o.version});
    return o;
}

QString usageText(const QCommandLineParser& parser, const QString& program, const QString& synopsis)
{
    // Qt's first line names the executable's path; the rest is kept.
    return QStringLiteral("Usage: %1 %2\n").arg(program, synopsis) + parser.helpText().section(u'\n', 1);
}

}  // namespace dorvelix
