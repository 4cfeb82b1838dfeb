#include "value_boxes.h"

#include "number_format.h"

#include <array>

namespace dorvelix {

namespace {

const QString Blank = QStringLiteral("- ");

QString wholeText(const Whole& w)
{
    return std::visit([](auto v) { return formatNumber(v); }, w);
}

void showWhole(FormView& view, int number, const std::optional<Whole>& w)
{
    if (w)
        view.setBoxText(number, wholeText(*w));
}

void showWhole(FormView& view, int number, const std::optional<long long>& w)
{
    if (w)
        view.setBoxText(number, formatNumber(*w));
}

}  // namespace

void showDriveFigures(FormView& view, const DriveFigures& d)
{
    view.setBoxText(box::DriveText, d.text);
    if (d.fileSystem)
        view.setBoxText(box::FileSystem, *d.fileSystem);
    showWhole(view, box::BytesPerSector, d.bytesPerSector);
    showWhole(view, box::SectorsPerCluster, d.sectorsPerCluster);
    showWhole(view, box::ClusterLength, d.clusterLength);
    showWhole(view, box::TotalClusters, d.totalClusters);
    showWhole(view, box::TotalBytes, d.totalBytes);
    showWhole(view, box::FreeClusters, d.freeClusters);
    showWhole(view, box::FreeBytes, d.freeBytes);
    if (d.freeRatio)
        view.setBoxText(box::FreeRatio, formatPercent(*d.freeRatio));
    showWhole(view, box::UsedClusters, d.usedClusters);
    showWhole(view, box::UsedBytes, d.usedBytes);
    showWhole(view, box::SearchClusterLength, d.searchClusterLength);
    showWhole(view, box::ConvertLength, d.convertLength);
}

void blankFolderResults(FormView& view)
{
    for (const int n : {box::SubtreeFolders, box::SubtreeFiles, box::SubtreeClusters, box::SubtreeBytes,
                        box::AloneClusters, box::AloneFiles, box::AloneBytes, box::ConvertClusters, box::ConvertBytes})
        view.setBoxText(n, Blank);
}

void blankDriveGeometry(FormView& view)
{
    for (const int n : {box::BytesPerSector, box::SectorsPerCluster, box::TotalClusters, box::FreeClusters,
                        box::TotalBytes, box::FreeBytes, box::FreeRatio, box::ClusterLength})
        view.setBoxText(n, Blank);
}

void showFolderFiles(FormView& view, long long files)
{
    view.setBoxText(box::AloneFiles, formatNumber(files, NumberPattern::Plain));
}

void showFolderAlone(FormView& view, const SearchResult& r)
{
    if (!r.alone)
        return;
    view.setBoxText(box::AloneClusters, formatNumber(r.alone->clusters));
    view.setBoxText(box::AloneBytes, formatNumber(r.bytes(r.alone->clusters)));
}

void showSubtree(FormView& view, const SearchResult& r)
{
    if (!r.subtree)
        return;
    const FolderRow& s = *r.subtree;
    view.setBoxText(box::SubtreeFolders, formatNumber(s.folders));
    view.setBoxText(box::SubtreeFiles, formatNumber(s.files));
    view.setBoxText(box::SubtreeClusters, formatNumber(s.clusters));
    view.setBoxText(box::SubtreeBytes, formatNumber(r.bytes(s.clusters)));
    view.setBoxText(box::ConvertClusters, formatNumber(s.convertClusters));
    view.setBoxText(box::ConvertBytes, formatNumber(r.convertBytes(s.convertClusters)));
}

void blankSubtree(FormView& view)
{
    for (const int n : {box::SubtreeFolders, box::SubtreeFiles, box::SubtreeClusters, box::SubtreeBytes,
                        box::ConvertClusters, box::ConvertBytes})
        view.setBoxText(n, Blank);
}

void showConvertLengthPicked(FormView& view, long long length)
{
    view.setBoxText(box::ConvertLength, formatNumber(length));
    view.setBoxText(box::ConvertClusters, QStringLiteral("0"));
    view.setBoxText(box::ConvertBytes, QStringLiteral("0"));
}

}  // namespace dorvelix
