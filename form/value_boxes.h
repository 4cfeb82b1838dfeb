// The main window's value boxes by meaning, and the one place where the
// typed results of the drive query and the search become their texts. The
// engine tells a FormView what it has reached; ValueBoxView turns each of
// those events into box texts with the number patterns, and the window and
// the recording window only store them.
#pragma once

#include "results.h"
#include "window_services.h"

#include <QString>
#include <array>
#include <optional>

namespace dorvelix {

// The value boxes, in the order they stand: the drive panel, then the
// folder panel (the chosen folder alone, the subtree, the converted row).
enum class Box {
    DriveText,
    FileSystem,
    BytesPerSector,
    SectorsPerCluster,
    ClusterLength,
    TotalClusters,
    TotalBytes,
    UsedClusters,
    UsedBytes,
    FreeClusters,
    FreeBytes,
    FreeRatio,
    AloneFiles,
    AloneClusters,
    AloneBytes,
    SearchClusterLength,
    SubtreeFolders,
    SubtreeFiles,
    SubtreeClusters,
    SubtreeBytes,
    ConvertLength,
    ConvertClusters,
    ConvertBytes,
};

// How a box is made: the object name the window gives it (the form's own
// control names, which automation finds it by), its panel, and whether it
// takes the proportional face rather than the fixed-pitch one of the
// figures and centres its text.
struct BoxDesign {
    Box box;
    const char* objectName;
    bool folderPanel;
    bool proportional;
    bool centred;
};

inline constexpr std::array<BoxDesign, 23> BoxDesigns{{
    {Box::DriveText, "Text1", false, true, false},
    {Box::FileSystem, "Text13", false, true, true},
    {Box::BytesPerSector, "Text2", false, false, false},
    {Box::SectorsPerCluster, "Text3", false, false, false},
    {Box::ClusterLength, "Text9", false, false, false},
    {Box::TotalClusters, "Text4", false, false, false},
    {Box::TotalBytes, "Text6", false, false, false},
    {Box::UsedClusters, "Text35", false, false, false},
    {Box::UsedBytes, "Text36", false, false, false},
    {Box::FreeClusters, "Text5", false, false, false},
    {Box::FreeBytes, "Text7", false, false, false},
    {Box::FreeRatio, "Text8", false, false, false},
    {Box::AloneFiles, "Text31", true, false, true},
    {Box::AloneClusters, "Text30", true, false, false},
    {Box::AloneBytes, "Text32", true, false, false},
    {Box::SearchClusterLength, "Text12", true, true, false},
    {Box::SubtreeFolders, "Text10", true, false, false},
    {Box::SubtreeFiles, "Text11", true, false, false},
    {Box::SubtreeClusters, "Text28", true, false, false},
    {Box::SubtreeBytes, "Text29", true, false, false},
    {Box::ConvertLength, "Text37", true, false, false},
    {Box::ConvertClusters, "Text33", true, false, false},
    {Box::ConvertBytes, "Text34", true, false, false},
}};

inline constexpr size_t BoxCount = BoxDesigns.size();
constexpr size_t boxIndex(Box box) { return static_cast<size_t>(box); }
inline const char* objectName(Box box) { return BoxDesigns[boxIndex(box)].objectName; }

// The text of a box that shows no figure.
inline const QString BlankBox = QStringLiteral("- ");

// A whole figure as the boxes and the report write it: grouped digits, a
// double rounded.
QString wholeText(const Whole& w);

// The text a box shows for the drive's figures and the search's result,
// formatted with its number pattern; nothing when the figure was not
// reached. The lengths of the folder panel come from the drive figures,
// where the drive query and the conversion menu leave them.
std::optional<QString> boxText(Box box, const DriveFigures& drive, const SearchResult& search);

// A FormView that shows every event as the texts of the value boxes it
// touches. The window and the recording window store the texts in setBox.
class ValueBoxView : public FormView {
public:
    void driveFiguresReached(const DriveFigures& d) override;
    void driveGeometryLost() override;
    void folderResultsCleared() override;
    void filesListed(const SearchResult& r) override;
    void folderAloneBooked(const SearchResult& r) override;
    void subtreeCounted(const SearchResult& r) override;
    void subtreeCleared() override;
    void convertLengthPicked(long long length) override;

    // Stores a box's text.
    virtual void setBox(Box box, const QString& text) = 0;
};

}  // namespace dorvelix
