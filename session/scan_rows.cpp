#include "scan_rows.h"

#include "counted_tree.h"
#include "json_keys.h"
#include "json_writer.h"
#include "program_version.h"
#include "saved_scan.h"
#include "text.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace dorvelix {

namespace {

// One entry of a level being ordered: a kept folder, or the chosen folder's
// own files (no index).
struct Listed {
    std::optional<CountedTree::Index> index;
    std::string name;
    FolderRow row;
};

void sortBySize(std::vector<Listed>& listed)
{
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Listed& a, const Listed& b) { return a.row.convertClusters > b.row.convertClusters; });
}

std::string joined(const std::string& parent, std::string_view name)
{
    return parent.empty() ? std::string(name) : parent + '/' + std::string(name);
}

void addBelow(const CountedTree& tree, CountedTree::Index at, const std::string& path, int level, int depth,
              std::vector<ScanRow>& rows)
{
    std::vector<Listed> listed;
    for (const CountedTree::Index c : tree.children(at))
        listed.push_back({c, std::string(tree.name(c)), tree.row(c)});
    sortBySize(listed);
    for (const Listed& l : listed) {
        std::string childPath = joined(path, l.name);
        rows.push_back({level, childPath, l.row});
        if (level < depth)
            addBelow(tree, *l.index, childPath, level + 1, depth, rows);
    }
}

void jsonRow(JsonWriter& j, const SearchResult& s, const FolderRow& row)
{
    j.value(json_key::Folders, row.folders);
    j.value(json_key::Files, row.files);
    j.value(json_key::Clusters, row.clusters);
    j.value(json_key::Bytes, s.bytes(row.clusters));
    j.value(json_key::FileBytes, row.fileBytes);
}

}  // namespace

QString scanRowName(const ScanRow& row)
{
    if (row.path.empty())
        return QStringLiteral(".");
    const size_t slash = row.path.rfind('/');
    return displayText(slash == std::string::npos ? std::string_view(row.path) : std::string_view(row.path).substr(slash + 1));
}

std::vector<ScanRow> scanRows(const SearchResult& s, int depth)
{
    // The top level as the search listed it, "." among the subfolders.
    std::vector<Listed> top;
    for (const SubfolderRow& r : s.subfolders)
        top.push_back({std::nullopt, r.name, r.row});
    sortBySize(top);
    std::vector<ScanRow> rows;
    const CountedTree* tree = depth > 1 && s.tree && !s.tree->empty() ? s.tree.get() : nullptr;
    // The kept top-level folders by name, to go on below each row.
    std::unordered_map<std::string_view, CountedTree::Index> kept;
    if (tree) {
        for (const CountedTree::Index c : tree->children(0))
            kept.emplace(tree->name(c), c);
    }
    for (const Listed& l : top) {
        rows.push_back({1, l.name, l.row});
        if (const auto at = kept.find(l.name); at != kept.end() && !l.name.empty())
            addBelow(*tree, at->second, l.name, 2, depth, rows);
    }
    return rows;
}

void jsonScanFigures(JsonWriter& j, const SearchResult& s, const QString& folder)
{
    const FolderRow alone = s.alone.value_or(FolderRow{});
    const FolderRow tree = s.subtree.value_or(FolderRow{});
    j.beginObject(json_key::Folder);
    j.value(json_key::Path, folder);
    j.value(json_key::Files, alone.files);
    j.value(json_key::Clusters, alone.clusters);
    j.value(json_key::Bytes, s.bytes(alone.clusters));
    j.value(json_key::FileBytes, alone.fileBytes);
    j.endObject();
    j.beginObject(json_key::Subtree);
    jsonRow(j, s, tree);
    j.endObject();
    j.beginObject(json_key::Converted);
    j.value(json_key::ClusterLength, s.convertLength);
    j.value(json_key::Clusters, tree.convertClusters);
    j.value(json_key::Bytes, s.convertBytes(tree.convertClusters));
    j.endObject();
}

void jsonScanRows(JsonWriter& j, const SearchResult& s, int depth)
{
    j.beginArray(json_key::Folders);
    for (const ScanRow& row : scanRows(s, depth)) {
        j.beginObject();
        j.value(json_key::Name, scanRowName(row));
        // The top-level rows keep the keys they have always had.
        if (depth > 1) {
            j.value(json_key::Level, static_cast<long long>(row.level));
            j.value(json_key::Path, row.path.empty() ? QStringLiteral(".") : displayText(row.path));
        }
        jsonRow(j, s, row.row);
        j.value(json_key::ConvertClusters, row.row.convertClusters);
        j.value(json_key::ConvertBytes, s.convertBytes(row.row.convertClusters));
        j.value(json_key::GrowthBytes, s.convertBytes(row.row.convertClusters) - s.bytes(row.row.clusters));
        j.endObject();
    }
    j.endArray();
}

std::string savedScanDocument(const SearchResult& s, const QString& folder, int depth)
{
    JsonWriter j;
    j.beginObject();
    j.value(json_key::Format, QString::fromLatin1(SavedScanFormat));
    j.value(json_key::FormatVersion, SavedScanFormatVersion);
    j.value(json_key::ProgramVersion, QString::fromLatin1(ProgramVersion));
    j.beginObject(json_key::Drive);
    j.value(json_key::ClusterLength, s.clusterLength);
    j.endObject();
    jsonScanFigures(j, s, folder);
    jsonScanRows(j, s, depth);
    j.endObject();
    return j.text() + '\n';
}

}  // namespace dorvelix
