#include "file_info.h"

#include "answer_in_time.h"
#include "drives.h"
#include "file_query.h"
#include "number_format.h"
#include "messages.h"
#include "runtime_error.h"
#include "text.h"
#include "paths.h"
#include "ui_text.h"
#include "window_texts.h"

#include <array>
#include <new>
#include <optional>
#include <utility>

namespace dorvelix {

namespace {

const QString Indent = QStringLiteral("  ");
const QString Blank = QStringLiteral("- ");

std::string joinPath(const std::string& folder, const std::string& name)
{
    return withTrailingSlash(folder) + name;
}

// Runs a file query on a worker, for at most the bound of a volume query: a
// drive that has stopped answering never holds the window. A failure
// becomes the description of its error number, shown in the box instead of
// the value; no answer in time is a drive that is not ready.
template <class T>
bool tryQuery(const std::string& path, T (*query)(const std::string&), T& value, QString& failureText)
{
    struct Answer {
        std::optional<T> value;
        std::optional<RuntimeError> error;
        bool outOfMemory = false;
    };
    const std::optional<Answer> answer = answerInTime<Answer>(driveOf(path), [path, query] {
        Answer a;
        try {
            a.value = query(path);
        } catch (const RuntimeError& e) {
            a.error = e;
        } catch (const std::bad_alloc&) {
            a.outOfMemory = true;
        }
        return a;
    });
    if (answer && answer->value) {
        value = *answer->value;
        return true;
    }
    if (!answer)
        failureText = Indent + errorDescription(err::DiskNotReady);
    else if (answer->error)
        failureText = Indent + errorDescription(*answer->error);
    else
        failureText = Indent + errorDescription(err::OutOfMemory);
    return false;
}

}  // namespace

QString attributeText(int attributes)
{
    static const std::array<std::pair<int, const char*>, 5> names{{
        {attr::ReadOnly, "Read-Only "},
        {attr::Hidden, "Hidden "},
        {attr::System, "System "},
        {attr::Directory, "Dir "},
        {attr::Archive, "Archive "},
    }};
    QString text = Indent;
    for (const auto& [bit, name] : names) {
        if (attributes & bit)
            text += QLatin1String(name);
    }
    if (attributes == 0)
        text += QStringLiteral("Normal ");
    return text;
}

long long occupiedClusters(long long length, std::int32_t clusterLength)
{
    if (clusterLength <= 0)
        return 0;
    return length / clusterLength + (length % clusterLength > 0 ? 1 : 0);
}

std::string selectedFilePath(const FolderList& openFolders, const FileList& openFiles)
{
    const int index = openFiles.listIndex;
    if (index < 0 || index >= openFiles.listCount())
        return {};
    // The name belongs to the folder the file list lists, which differs from the folder list's
    // while a folder change made with a modifier held has not been searched.
    const std::string& folder = openFiles.path().empty() ? openFolders.list(-1) : openFiles.path();
    return joinPath(folder, openFiles.list(index));
}

FileInfoTexts fileInfoTexts(const FolderList& openFolders, const FileList& openFiles, std::int32_t clusterLength)
{
    FileInfoTexts t;
    const std::string path = selectedFilePath(openFolders, openFiles);
    if (path.empty()) {
        const std::string& folder = openFiles.path().empty() ? openFolders.list(-1) : openFiles.path();
        t.path = displayText(folder);
        t.length = Indent + uiText(texts::NoFileSelected);
        t.clusters = t.attributes = t.date = Blank;
        return t;
    }

    t.path = displayText(path);

    long long length = 0;
    if (tryQuery(path, &fileLength, length, t.length)) {
        t.length = Indent + u' ' + uiText(texts::LengthInBytes).arg(formatNumber(length, NumberPattern::Plain), formatHex(length));
        t.clusters = Indent + formatNumber(occupiedClusters(length, clusterLength));
    } else {
        t.clusters = Blank;
    }

    int attributes = 0;
    if (tryQuery(path, &fileAttributes, attributes, t.attributes))
        t.attributes = attributeText(attributes);

    QString date;
    if (tryQuery(path, &fileDateTime, date, t.date))
        t.date = Indent + date;
    return t;
}

}  // namespace dorvelix
