#include "scan_difference.h"

#include "scan_rows.h"
#include "text.h"

#include <algorithm>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace dorvelix {

namespace {

bool sameFigures(const FolderRow& a, const FolderRow& b)
{
    return std::tie(a.folders, a.files, a.clusters, a.convertClusters, a.fileBytes)
           == std::tie(b.folders, b.files, b.clusters, b.convertClusters, b.fileBytes);
}

FolderChange change(FolderChange::Kind kind, int level, std::string path, const FolderRow& then, const FolderRow& now,
                    const SavedScan& saved, const SearchResult& s)
{
    FolderChange c{kind, level, std::move(path), then, now};
    c.thenBytes = then.clusters * saved.clusterLength;
    c.thenConvertBytes = then.convertClusters * saved.convertLength;
    c.nowBytes = s.bytes(now.clusters);
    c.nowConvertBytes = s.convertBytes(now.convertClusters);
    return c;
}

}  // namespace

ScanDifference compareScans(const SavedScan& then, const SearchResult& now)
{
    ScanDifference d;
    d.depth = then.depth;
    d.clusterLength = now.clusterLength;
    d.convertLength = now.convertLength;
    d.whole = change(FolderChange::Kind::Changed, 0, {}, then.subtree, now.subtree.value_or(FolderRow{}), then, now);

    // The saved rows by path; each is marked once a row of now matches it.
    std::unordered_map<std::string_view, size_t> saved;
    saved.reserve(then.folders.size());
    for (size_t i = 0; i < then.folders.size(); ++i)
        saved.emplace(then.folders[i].path, i);
    std::vector<bool> matched(then.folders.size(), false);

    if (then.depth > 0) {
        for (const ScanRow& row : scanRows(now, then.depth)) {
            if (row.path.empty())
                continue;  // the chosen folder's own files
            const QByteArray shown = displayText(row.path).toUtf8();
            const std::string path(shown.constData(), static_cast<size_t>(shown.size()));
            const auto it = saved.find(path);
            if (it == saved.end()) {
                d.changes.push_back(change(FolderChange::Kind::Added, row.level, path, {}, row.row, then, now));
                continue;
            }
            matched[it->second] = true;
            const SavedFolder& old = then.folders[it->second];
            if (!sameFigures(old.row, row.row) || then.clusterLength != now.clusterLength
                || then.convertLength != now.convertLength)
                d.changes.push_back(change(FolderChange::Kind::Changed, row.level, path, old.row, row.row, then, now));
        }
    }
    for (size_t i = 0; i < then.folders.size(); ++i) {
        if (!matched[i])
            d.changes.push_back(change(FolderChange::Kind::Gone, then.folders[i].level, then.folders[i].path,
                                       then.folders[i].row, {}, then, now));
    }
    std::stable_sort(d.changes.begin(), d.changes.end(), [](const FolderChange& a, const FolderChange& b) {
        if (a.growthBytes() != b.growthBytes())
            return a.growthBytes() > b.growthBytes();
        return a.path < b.path;
    });
    return d;
}

}  // namespace dorvelix
