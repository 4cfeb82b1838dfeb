#include "report_options.h"

#include "cluster_lengths.h"

#include "command_line.h"
#include "convert_length.h"
#include "program_version.h"
#include "report_texts.h"

#include <QCommandLineParser>
#include <algorithm>
#include <limits>

namespace dorvelix {

namespace {

const QString ProgramName = QLatin1String(report_text::Program);

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

// A depth: digits only, no sign, no leading zero, 1 up to the deepest level
// a tree can be kept to.
std::optional<int> levelsOf(const QString& value)
{
    if (value.isEmpty() || value.front() == u'0' || value.size() > 5)
        return std::nullopt;
    for (QChar c : value) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int n = value.toInt();
    return n <= 65535 ? std::optional<int>(n) : std::nullopt;
}

QCommandLineOption optionOf(const report_text::OptionText& o)
{
    const QString name = QLatin1String(o.name);
    const QString description = QLatin1String(o.description);
    return o.valueName ? QCommandLineOption(name, description, QLatin1String(o.valueName))
                       : QCommandLineOption(name, description);
}

ParsedCommandLine usageError(const QString& cause)
{
    ParsedCommandLine r;
    r.action = ParsedCommandLine::Action::UsageError;
    r.text = report_text::UsageError.arg(cause, ProgramName);
    return r;
}

}  // namespace

ParsedCommandLine parseReportOptions(const std::vector<std::string>& arguments)
{
    QCommandLineParser parser;
    using namespace report_text;
    parser.setApplicationDescription(Description);
    const StandardOptions standard = addStandardOptions(parser);
    const QCommandLineOption json = optionOf(JsonOption);
    const QCommandLineOption convert = optionOf(ConvertOption);
    const QCommandLineOption folderRows = optionOf(FoldersOption);
    const QCommandLineOption complete = optionOf(CompleteOption);
    const QCommandLineOption target = optionOf(TargetOption);
    const QCommandLineOption lengths = optionOf(LengthsOption);
    const QCommandLineOption capacity = optionOf(CapacityOption);
    const QCommandLineOption depth = optionOf(DepthOption);
    const QCommandLineOption compare = optionOf(CompareOption);
    parser.addOptions({convert, target, lengths, capacity, folderRows, depth, compare, complete, json});
    parser.addPositionalArgument(QLatin1String(FolderArgument.name), QLatin1String(FolderArgument.description),
                                 QLatin1String(FolderArgument.valueName));

    QStringList list{ProgramName};
    for (const std::string& a : arguments)
        list << fromBytes(a);
    if (!parser.parse(list))
        return usageError(qtCause(parser.errorText()));

    ParsedCommandLine r;
    if (parser.isSet(standard.help)) {
        r.action = ParsedCommandLine::Action::Help;
        r.text = usageText(parser, ProgramName, Synopsis) + HelpTail;
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
            return usageError(OptionTwice.arg(QLatin1String(ConvertOption.name)));
        r.options.convert = convertLengthOf(values.front());
        if (!r.options.convert)
            return usageError(InvalidConvertLength.arg(shown(values.front())));
    }
    if (parser.isSet(target)) {
        const QStringList values = parser.values(target);
        if (values.size() > 1)
            return usageError(OptionTwice.arg(QLatin1String(TargetOption.name)));
        if (r.options.convert)
            return usageError(ConvertAndTarget);
        if (values.front().isEmpty())
            return usageError(EmptyTarget);
        r.options.target = values.front().toLatin1().toStdString();
    }
    r.options.lengths = parser.isSet(lengths);
    if (r.options.lengths && (r.options.convert || !r.options.target.empty()))
        return usageError(LengthsAndConversion);
    if (parser.isSet(capacity)) {
        const QStringList values = parser.values(capacity);
        if (values.size() > 1)
            return usageError(OptionTwice.arg(QLatin1String(CapacityOption.name)));
        if (!r.options.lengths)
            return usageError(CapacityWithoutLengths);
        r.options.capacity = parseCapacity(values.front());
        if (!r.options.capacity)
            return usageError(InvalidCapacity.arg(shown(values.front())));
    }
    r.options.json = parser.isSet(json);
    r.options.folders = parser.isSet(folderRows);
    if (parser.isSet(depth)) {
        const QStringList values = parser.values(depth);
        if (values.size() > 1)
            return usageError(OptionTwice.arg(QLatin1String(DepthOption.name)));
        const std::optional<int> levels = levelsOf(values.front());
        if (!levels)
            return usageError(InvalidDepth.arg(shown(values.front())));
        // Rows below the top level are rows of the breakdown too.
        r.options.folders = true;
        r.options.depth = *levels;
    }
    if (parser.isSet(compare)) {
        const QStringList values = parser.values(compare);
        if (values.size() > 1)
            return usageError(OptionTwice.arg(QLatin1String(CompareOption.name)));
        if (values.front().isEmpty())
            return usageError(EmptyCompare);
        if (r.options.folders || !r.options.target.empty() || r.options.lengths)
            return usageError(CompareAlone);
        r.options.compare = values.front().toLatin1().toStdString();
    }
    r.options.complete = parser.isSet(complete) || !r.options.target.empty() || r.options.lengths;
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return usageError(SecondFolder.arg(shown(folders[1])));
    if (!folders.isEmpty()) {
        if (folders.front().isEmpty())
            return usageError(EmptyFolder);
        r.options.folder = folders.front().toLatin1().toStdString();
    }
    return r;
}

}  // namespace dorvelix
