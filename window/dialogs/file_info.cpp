#include "file_info.h"

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
#include <utility>

namespace dorvelix {

namespace {

const QString Indent = QStringLiteral("  ");
const QString Blank = QStringLiteral("- ");

std::string joinPath(const std::string& folder, const std::string& name)
{
    return withTrailingSlash(folder) + name;
}

// Runs a file query; a failure becomes the description of its error number,
// shown in the box instead of the value.
template <class Query>
bool tryQuery(Query&& query, QString& failureText)
{
    try {
        std::forward<Query>(query)();
        return true;
    } catch (const RuntimeError& e) {
        failureText = Indent + errorDescription(e);
    } catch (const std::bad_alloc&) {
        failureText = Indent + errorDescription(err::OutOfMemory);
    }
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
    if (tryQuery([&] { length = fileLength(path); }, t.length)) {
        t.length = Indent + formatNumber(length) + uiText(texts::BytesUnit) + formatHex(length) + QStringLiteral("H )");
        t.clusters = Indent + formatNumber(occupiedClusters(length, clusterLength));
    } else {
        t.clusters = Blank;
    }

    int attributes = 0;
    if (tryQuery([&] { attributes = fileAttributes(path); }, t.attributes))
        t.attributes = attributeText(attributes);

    QString date;
    if (tryQuery([&] { date = fileDateTime(path); }, t.date))
        t.date = Indent + date;
    return t;
}

}  // namespace dorvelix
