#include "report_options.h"

#include "command_line.h"
#include "convert_length.h"
#include "program_version.h"

#include <QCommandLineParser>

namespace dorvelix {

namespace {

const QString ProgramName = QLatin1String(ReportProgram);

// Arguments are bytes on Linux, and a folder's name need not be UTF-8. Each
// argument goes through the parser as Latin-1, which maps every byte to one
// character and back, so the folder comes out with its exact bytes; the
// options themselves are ASCII.
QString fromBytes(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString shown(const QString& latin1)
{
    return QString::fromUtf8(latin1.toLatin1());
}

// The parser's message ("Unknown option 'x'.") in the form of the others.
QString qtCause(const QString& errorText)
{
    QString cause = shown(errorText);
    if (cause.endsWith(u'.'))
        cause.chop(1);
    if (!cause.isEmpty())
        cause[0] = cause[0].toLower();
    return cause;
}

// A conversion length: digits only, no sign, no spaces, no leading zero, and
// one of the lengths of the conversion menu.
std::optional<int> convertLengthOf(const QString& value)
{
    if (value.isEmpty() || value.front() == u'0')
        return std::nullopt;
    for (QChar c : value) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || convertIndexOf(n) < 0)
        return std::nullopt;
    return n;
}

QString exitStatusHelp()
{
    return QStringLiteral(
        "\nThe count:\n"
        "  Each file takes its length rounded up to whole clusters; each folder\n"
        "  one cluster, and its table of 32-byte entries (two, one per entry,\n"
        "  one more per name of more than 12 characters) takes the clusters it\n"
        "  fills beyond that one. This is how FAT12/16/32 allocate. On other file\n"
        "  systems the count is an estimate, and the report says why in a note\n"
        "  (exFAT's longer folder entries, compression and deduplication, small\n"
        "  files kept in metadata).\n"
        "  Without --complete the search has the window's limits: 15 levels below\n"
        "  FOLDER, hidden and special files counted down to level 8 only.\n"
        "\nNeeded bytes (--target):\n"
        "  the converted count at the target's cluster length, plus the copied\n"
        "  folder's own first cluster (and, for a drive's root folder, its table),\n"
        "  compared with the bytes the target has free for this user. What will\n"
        "  not copy is still counted. The folder the copy goes into may need one\n"
        "  cluster more for the new entry.\n"
        "\nExamples:\n"
        "  dorvelix-report ~/photos                 the panels, as the window shows them\n"
        "  dorvelix-report --convert 32768 ~/photos also counted at 32,768-byte clusters\n"
        "  dorvelix-report --folders ~/photos       one row per subfolder, largest first\n"
        "  dorvelix-report --complete ~/photos      every level and every hidden file\n"
        "  dorvelix-report --target /media/usb ~/photos\n"
        "                                           will it fit, and what will not copy\n"
        "  dorvelix-report --json --target /media/usb ~/photos\n"
        "\nExit status:\n"
        "  0  the search raised no message box (with --target: it fits and\n"
        "     everything will copy)\n"
        "  1  the search raised a message box (the results are still printed)\n"
        "  2  a usage error, a folder that cannot be opened, a drive without a\n"
        "     medium, or output that cannot be written\n"
        "  3  with --target: the folder does not fit, or something will not copy\n");
}

ParsedCommandLine usageError(const QString& cause)
{
    ParsedCommandLine r;
    r.action = ParsedCommandLine::Action::UsageError;
    r.text = cause + QStringLiteral(" (see %1 --help)").arg(ProgramName);
    return r;
}

}  // namespace

ParsedCommandLine parseReportOptions(const std::vector<std::string>& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the drive panel of FOLDER's drive and the folder panel after a\n"
        "search of FOLDER, counted in the drive's cluster units."));
    const StandardOptions standard = addStandardOptions(parser);
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON object instead of the panels."));
    const QCommandLineOption convert(
        QStringLiteral("convert"),
        QStringLiteral("Count the subtree also at cluster length N: 128, 256, 512,\n"
                       "1024, 2048, 4096, 8192, 16384 or 32768 (default: the\n"
                       "drive's cluster length)."),
        QStringLiteral("N"));
    const QCommandLineOption folderRows(QStringLiteral("folders"),
                                     QStringLiteral("Also list one row per top-level subfolder (and one for\n"
                                                    "FOLDER's own files), largest converted first."));
    const QCommandLineOption complete(QStringLiteral("complete"),
                                      QStringLiteral("Count every level and every entry, hidden and special\n"
                                                     "files at every depth, without the window's limits."));
    const QCommandLineOption target(QStringLiteral("target"),
                                    QStringLiteral("Tell whether FOLDER fits on the drive holding PATH, at\n"
                                                   "that drive's cluster length, and on a FAT or exFAT\n"
                                                   "drive what will not copy. Implies --complete."),
                                    QStringLiteral("PATH"));
    parser.addOptions({convert, target, folderRows, complete, json});
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder to search (default: the current folder)."),
                                 QStringLiteral("[--] [FOLDER]"));

    QStringList list{ProgramName};
    for (const std::string& a : arguments)
        list << fromBytes(a);
    if (!parser.parse(list))
        return usageError(qtCause(parser.errorText()));

    ParsedCommandLine r;
    if (parser.isSet(standard.help)) {
        r.action = ParsedCommandLine::Action::Help;
        r.text = usageText(parser, ProgramName, QStringLiteral("[options] [--] [FOLDER]")) + exitStatusHelp();
        return r;
    }
    if (parser.isSet(standard.version)) {
        r.action = ParsedCommandLine::Action::Version;
        r.text = versionLine(ProgramName) + u'\n';
        return r;
    }
    if (parser.isSet(convert)) {
        const QStringList values = parser.values(convert);
        if (values.size() > 1)
            return usageError(QStringLiteral("--convert given more than once"));
        r.options.convert = convertLengthOf(values.front());
        if (!r.options.convert)
            return usageError(QStringLiteral("invalid --convert value '%1': it takes one of 128, 256, 512, 1024, 2048, "
                                             "4096, 8192, 16384, 32768")
                                  .arg(shown(values.front())));
    }
    if (parser.isSet(target)) {
        const QStringList values = parser.values(target);
        if (values.size() > 1)
            return usageError(QStringLiteral("--target given more than once"));
        if (r.options.convert)
            return usageError(QStringLiteral("--convert and --target both set the conversion length"));
        if (values.front().isEmpty())
            return usageError(QStringLiteral("the target is an empty name"));
        r.options.target = values.front().toLatin1().toStdString();
    }
    r.options.json = parser.isSet(json);
    r.options.folders = parser.isSet(folderRows);
    r.options.complete = parser.isSet(complete) || !r.options.target.empty();
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return usageError(QStringLiteral("unexpected argument '%1': one folder at most").arg(shown(folders[1])));
    if (!folders.isEmpty()) {
        if (folders.front().isEmpty())
            return usageError(QStringLiteral("the folder is an empty name"));
        r.options.folder = folders.front().toLatin1().toStdString();
    }
    return r;
}

}  // namespace dorvelix
