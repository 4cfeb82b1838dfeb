#include "value_boxes.h"

#include "number_format.h"

#include <initializer_list>

namespace dorvelix {

namespace {

std::optional<QString> whole(const std::optional<Whole>& w)
{
    return w ? std::optional(wholeText(*w)) : std::nullopt;
}

std::optional<QString> whole(const std::optional<long long>& n)
{
    return n ? std::optional(formatNumber(*n)) : std::nullopt;
}

// A figure of a folder row that the search has reached, or nothing.
template <typename Figure>
std::optional<QString> rowFigure(const std::optional<FolderRow>& row, Figure figure)
{
    return row ? std::optional(formatNumber(figure(*row))) : std::nullopt;
}

constexpr Box DriveBoxes[] = {Box::DriveText, Box::FileSystem, Box::BytesPerSector, Box::SectorsPerCluster,
                              Box::ClusterLength, Box::TotalClusters, Box::TotalBytes, Box::FreeClusters,
                              Box::FreeBytes, Box::FreeRatio, Box::UsedClusters, Box::UsedBytes,
                              Box::SearchClusterLength, Box::ConvertLength};
constexpr Box SubtreeBoxes[] = {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes,
                                Box::ConvertClusters, Box::ConvertBytes};

const DriveFigures NoDrive{};
const SearchResult NoSearch{};

}  // namespace

QString wholeText(const Whole& w)
{
    return std::visit([](auto v) { return formatNumber(v); }, w);
}

std::optional<QString> boxText(Box box, const DriveFigures& d, const SearchResult& s)
{
    switch (box) {
    case Box::DriveText: return d.text;
    case Box::FileSystem: return d.fileSystem;
    case Box::BytesPerSector: return whole(d.bytesPerSector);
    case Box::SectorsPerCluster: return whole(d.sectorsPerCluster);
    case Box::ClusterLength: return whole(d.clusterLength);
    case Box::TotalClusters: return whole(d.totalClusters);
    case Box::TotalBytes: return whole(d.totalBytes);
    case Box::UsedClusters: return whole(d.usedClusters);
    case Box::UsedBytes: return whole(d.usedBytes);
    case Box::FreeClusters: return whole(d.freeClusters);
    case Box::FreeBytes: return whole(d.freeBytes);
    case Box::FreeRatio: return d.freeRatio ? std::optional(formatPercent(*d.freeRatio)) : std::nullopt;
    case Box::AloneFiles:
        return s.files ? std::optional(formatNumber(*s.files, NumberPattern::Plain)) : std::nullopt;
    case Box::AloneClusters: return rowFigure(s.alone, [](const FolderRow& r) { return r.clusters; });
    case Box::AloneBytes: return rowFigure(s.alone, [&](const FolderRow& r) { return s.bytes(r.clusters); });
    case Box::SearchClusterLength: return whole(d.searchClusterLength);
    case Box::SubtreeFolders: return rowFigure(s.subtree, [](const FolderRow& r) { return r.folders; });
    case Box::SubtreeFiles: return rowFigure(s.subtree, [](const FolderRow& r) { return r.files; });
    case Box::SubtreeClusters: return rowFigure(s.subtree, [](const FolderRow& r) { return r.clusters; });
    case Box::SubtreeBytes: return rowFigure(s.subtree, [&](const FolderRow& r) { return s.bytes(r.clusters); });
    case Box::ConvertLength: return whole(d.convertLength);
    case Box::ConvertClusters: return rowFigure(s.subtree, [](const FolderRow& r) { return r.convertClusters; });
    case Box::ConvertBytes:
        return rowFigure(s.subtree, [&](const FolderRow& r) { return s.convertBytes(r.convertClusters); });
    }
    return std::nullopt;
}

void ValueBoxView::driveFiguresReached(const DriveFigures& d)
{
    for (const Box b : DriveBoxes) {
        if (const auto text = boxText(b, d, NoSearch))
            setBox(b, *text);
    }
}

void ValueBoxView::driveGeometryLost()
{
    for (const Box b : {Box::BytesPerSector, Box::SectorsPerCluster, Box::TotalClusters, Box::FreeClusters,
                        Box::TotalBytes, Box::FreeBytes, Box::FreeRatio, Box::ClusterLength})
        setBox(b, BlankBox);
}

void ValueBoxView::folderResultsCleared()
{
    for (const Box b : {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes,
                        Box::AloneClusters, Box::AloneFiles, Box::AloneBytes, Box::ConvertClusters,
                        Box::ConvertBytes})
        setBox(b, BlankBox);
}

void ValueBoxView::filesListed(const SearchResult& r)
{
    if (const auto text = boxText(Box::AloneFiles, NoDrive, r))
        setBox(Box::AloneFiles, *text);
}

void ValueBoxView::folderAloneBooked(const SearchResult& r)
{
    if (!r.alone)
        return;
    for (const Box b : {Box::AloneClusters, Box::AloneBytes})
        setBox(b, *boxText(b, NoDrive, r));
}

void ValueBoxView::subtreeCounted(const SearchResult& r)
{
    if (!r.subtree)
        return;
    for (const Box b : SubtreeBoxes)
        setBox(b, *boxText(b, NoDrive, r));
}

void ValueBoxView::subtreeCleared()
{
    for (const Box b : SubtreeBoxes)
        setBox(b, BlankBox);
}

void ValueBoxView::convertLengthPicked(long long length)
{
    setBox(Box::ConvertLength, formatNumber(length));
    setBox(Box::ConvertClusters, QStringLiteral("0"));
    setBox(Box::ConvertBytes, QStringLiteral("0"));
}

}  // namespace dorvelix
