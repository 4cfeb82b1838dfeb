#include "saved_scan.h"

#include "json_keys.h"
#include "json_pull.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace dorvelix {

SavedScanError::SavedScanError(Kind k, long long at, int number, std::string what)
    : std::runtime_error("not a readable saved scan"), kind(k), offset(at), errorNumber(number), found(std::move(what))
{
}

namespace {

using Kind = SavedScanError::Kind;
using saved_scan_reading::JsonPull;

// The counts of a row, the others skipped.
bool readFigure(JsonPull& in, const std::string& key, FolderRow& row)
{
    long long* figure = key == json_key::Folders     ? &row.folders
                        : key == json_key::Files     ? &row.files
                        : key == json_key::Clusters  ? &row.clusters
                        : key == json_key::FileBytes ? &row.fileBytes
                        : key == json_key::ConvertClusters ? &row.convertClusters
                                                           : nullptr;
    if (!figure)
        return false;
    *figure = in.number();
    return true;
}

void readRow(JsonPull& in, SavedScan& scan)
{
    SavedFolder folder;
    std::string name;
    bool hasLevel = false;
    in.members([&](const std::string& key) {
        if (key == json_key::Name)
            name = in.text();
        else if (key == json_key::Path)
            folder.path = in.text();
        else if (key == json_key::Level) {
            folder.level = static_cast<int>(std::clamp<long long>(in.number(), 1, 65535));
            hasLevel = true;
        } else if (!readFigure(in, key, folder.row))
            in.skip();
    });
    if (folder.path.empty())
        folder.path = name;
    // The chosen folder's own files are no folder of their own.
    if (folder.path == "." && (!hasLevel || folder.level == 1))
        return;
    scan.depth = std::max(scan.depth, folder.level);
    scan.folders.push_back(std::move(folder));
}

}  // namespace

SavedScan readSavedScan(const std::string& path)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throw SavedScanError(Kind::Unreadable, 0, errno);
    JsonPull in(file.get());
    SavedScan scan;
    bool first = true;
    bool subtree = false;
    if (in.next() != '{')
        in.wrongType();
    in.members([&](const std::string& key) {
        // A saved scan names its kind first: anything else is read no further.
        if (first && key != json_key::Format)
            throw SavedScanError(Kind::NotAScan, in.offset());
        first = false;
        if (key == json_key::Format) {
            if (const std::string format = in.text(); format != SavedScanFormat)
                throw SavedScanError(Kind::OtherFormat, in.offset(), 0, format.substr(0, 200));
        } else if (key == json_key::FormatVersion) {
            if (const long long version = in.number(); version > SavedScanFormatVersion)
                throw SavedScanError(Kind::NewerFormat, in.offset(), 0, std::to_string(version));
        } else if (key == json_key::Drive) {
            in.members([&](const std::string& k) { k == json_key::ClusterLength ? void(scan.clusterLength = in.number()) : in.skip(); });
        } else if (key == json_key::Folder) {
            in.members([&](const std::string& k) { k == json_key::Path ? void(scan.folder = in.text()) : in.skip(); });
        } else if (key == json_key::Subtree) {
            subtree = true;
            in.members([&](const std::string& k) {
                if (k == json_key::ConvertClusters || !readFigure(in, k, scan.subtree))
                    in.skip();
            });
        } else if (key == json_key::Converted) {
            in.members([&](const std::string& k) {
                if (k == json_key::ClusterLength)
                    scan.convertLength = in.number();
                else if (k == json_key::Clusters)
                    scan.subtree.convertClusters = in.number();
                else
                    in.skip();
            });
        } else if (key == json_key::Folders) {
            in.elements([&] { readRow(in, scan); });
        } else {
            in.skip();
        }
    });
    if (!in.atEnd())
        in.notJson();
    if (first)
        throw SavedScanError(Kind::NotAScan, in.offset());
    if (scan.clusterLength <= 0)
        throw SavedScanError(Kind::MissingFigure, in.offset(), 0, "drive.cluster_length");
    if (!subtree)
        throw SavedScanError(Kind::MissingFigure, in.offset(), 0, json_key::Subtree);
    if (scan.convertLength <= 0)
        throw SavedScanError(Kind::MissingFigure, in.offset(), 0, "converted.cluster_length");
    scan.folders.shrink_to_fit();
    return scan;
}

}  // namespace dorvelix
