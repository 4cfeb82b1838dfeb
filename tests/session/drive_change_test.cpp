#include "drive_change.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "recording_window.h"
#include "temp_tree.h"
#include "value_boxes.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;

namespace {

// A drive of 1,000 clusters of 4,096 bytes, a quarter free; or one that has
// gone, whose first query fails.
struct FakeVolumes : VolumeQueries {
    bool gone = false;
    int queries = 0;

    bool diskFreeSpace(const std::string&, FreeSpace& out) override
    {
        ++queries;
        if (gone)
            return false;
        out = {8, 512, 250, 1000};
        return true;
    }
    bool diskFreeSpaceEx(const std::string&, FreeSpaceEx& out) override
    {
        out = {250 * 4096, 1000 * 4096, 250 * 4096};
        return !gone;
    }
    bool fileSystemName(const std::string&, QString& out) override
    {
        out = QStringLiteral("ext4");
        return !gone;
    }
};

// The window's pieces around a drive change, on a real folder tree:
//   top/            the folder list's folder at the start
//   top/drive/      the drive's current folder, with a file and two subfolders
// The session's part in a drive change: its folder list's move searches the
// folder unless a modifier is held, as a double-click does.
struct Moves : FolderMoves {
    FolderList& openFolders;
    FolderSearch* search = nullptr;
    explicit Moves(FolderList& list) : openFolders(list) {}
    bool isSearching() const override { return search->isSearching(); }
    void moveFolderList(const std::string& folder) override
    {
        openFolders.setPath(folder);
        search->onFolderChosen();
    }
};

struct Rig {
    TempTree tree;
    FormState form;
    RecordingWindow window;
    FakeVolumes volumes;
    DriveQuery query{form, window, window, volumes};
    FolderList openFolders;
    FileList openFiles;
    DriveFolders folders;
    QString driveText;
    std::unique_ptr<FolderSearch> search;
    Moves moves{openFolders};
    std::unique_ptr<DriveChange> change;

    Rig()
    {
        tree.file("top/drive/one.txt", 5000);
        tree.file("top/drive/sub/two.txt", 10);
        tree.file("top/drive/sub2/three.txt", 3000);
        tree.folder("top/other");
        form.screenSize = 2;
        openFiles.showHidden = openFiles.showSystem = true;
        openFolders.setPath(tree.path("top"));
        search = std::make_unique<FolderSearch>(form, openFolders, openFiles, window, window);
        folders.setCurrentFolder(tree.path("top/drive"));
        driveText = QString::fromStdString(driveOf(tree.root())) + QStringLiteral(" [test]");
        moves.search = search.get();
        change = std::make_unique<DriveChange>(form, window, window, query, moves, folders, [this] { return driveText; });
    }
    std::pair<int, bool> lastLamp() const { return window.lamps.back(); }
};

}  // namespace

TEST(DriveChange, ModifiersSwitchTheSearchOffAndPaintTheLamp)
{
    Rig r;
    // Shift, Ctrl and Alt alike, on every handled event.
    r.change->modifiersSeen(1);
    EXPECT_TRUE(r.form.modifierHeld);
    EXPECT_EQ(r.lastLamp(), (std::pair{150, true}));
    r.change->modifiersSeen(0);
    EXPECT_FALSE(r.form.modifierHeld);
    EXPECT_EQ(r.lastLamp(), (std::pair{150, false}));
    r.change->modifiersSeen(2);
    EXPECT_TRUE(r.form.modifierHeld);
    r.change->modifiersSeen(0);
    EXPECT_FALSE(r.form.modifierHeld);
    r.change->modifiersSeen(4);
    EXPECT_TRUE(r.form.modifierHeld);
    r.change->modifiersSeen(7);
    EXPECT_TRUE(r.form.modifierHeld);
    EXPECT_EQ(r.window.lamps.size(), 6u);

    // A red lamp queries the drive again, a green one does not.
    const int before = r.volumes.queries;
    r.change->showSearchLamp(false);
    EXPECT_EQ(r.volumes.queries, before);
    r.change->showSearchLamp(true);
    EXPECT_EQ(r.volumes.queries, before + 1);
    EXPECT_EQ(r.form.clusterLength, 4096);

    // The lamp's side follows the screen size.
    for (const auto& [size, side] : {std::pair{1, 200}, std::pair{2, 150}, std::pair{3, 120}, std::pair{0, 0}}) {
        r.form.screenSize = static_cast<std::int16_t>(size);
        r.change->showSearchLamp(false);
        EXPECT_EQ(r.lastLamp().first, side);
    }
}

TEST(DriveChange, SearchesTheDrivesCurrentFolder)
{
    Rig r;
    r.form.treeConvertClusterCount = 99;
    ASSERT_TRUE(r.change->onDriveChosen());

    EXPECT_EQ(r.openFolders.path(), r.tree.path("top/drive"));
    EXPECT_EQ(r.volumes.queries, 1);
    EXPECT_EQ(r.form.clusterLength, 4096);
    // The search ran: the file list shows the folder, the totals are the tree's.
    EXPECT_EQ(r.openFiles.path(), r.tree.path("top/drive"));
    EXPECT_EQ(r.form.treeFolders, 2);
    EXPECT_EQ(r.form.treeFiles, 3);
    EXPECT_EQ(r.window.beeps, 1);
    EXPECT_EQ(r.lastLamp(), (std::pair{150, false}));
    ASSERT_FALSE(r.window.pointers.empty());
    EXPECT_EQ(r.window.pointers.front(), BusyPointer);
    EXPECT_EQ(r.window.pointers.back(), DefaultPointer);
}

TEST(DriveChange, WithAModifierHeldMovesTheFolderListWithoutSearching)
{
    Rig r;
    r.openFiles.setPath(r.tree.path("top/other"));
    r.form.treeFolders = 3;
    r.form.treeFiles = 4;
    r.form.treeClusterCount = 5;
    r.form.treeConvertClusterCount = 6;
    r.change->modifiersSeen(1);
    const int queries = r.volumes.queries;

    ASSERT_TRUE(r.change->onDriveChosen());
    EXPECT_EQ(r.openFolders.path(), r.tree.path("top/drive"));
    EXPECT_EQ(r.openFiles.path(), r.tree.path("top/other"));  // The file list keeps the previous files
    EXPECT_EQ(r.window.beeps, 0);
    EXPECT_EQ(r.form.treeFolders, 0);
    EXPECT_EQ(r.form.treeFiles, 0);
    EXPECT_EQ(r.form.treeClusterCount, 0);
    EXPECT_EQ(r.form.treeConvertClusterCount, 6);
    // Queried by the change and again by the red lamp.
    EXPECT_EQ(r.volumes.queries, queries + 2);
    EXPECT_EQ(r.lastLamp(), (std::pair{150, true}));
    EXPECT_EQ(r.window.pointers.back(), DefaultPointer);
}

TEST(DriveChange, ADriveThatHasGoneLeavesTheFolderListWhereItWas)
{
    {
        Rig r;  // no medium: the query reports it, the folder list stays, nothing is searched
        r.volumes.gone = true;
        ASSERT_TRUE(r.change->onDriveChosen());
        EXPECT_EQ(r.openFolders.path(), r.tree.path("top"));
        EXPECT_EQ(r.window.beeps, 0);
        ASSERT_EQ(r.window.messages.size(), 1);
        EXPECT_TRUE(r.window.messages[0].contains(QStringLiteral("メディア未挿入"))) << r.window.messages[0].toStdString();
        EXPECT_EQ(r.lastLamp(), (std::pair{150, false}));
        EXPECT_EQ(r.window.pointers.back(), DefaultPointer);
    }
    {
        Rig r;  // the drive answers but its current folder has been removed
        std::filesystem::remove_all(r.tree.path("top/drive"));
        ASSERT_TRUE(r.change->onDriveChosen());
        EXPECT_EQ(r.openFolders.path(), r.tree.path("top"));
        EXPECT_EQ(r.openFolders.listCount(), 2);  // still lists what it listed
        EXPECT_EQ(r.window.beeps, 0);
        ASSERT_EQ(r.window.messages.size(), 1);
        EXPECT_TRUE(r.window.messages[0].startsWith(QStringLiteral("パスが見つかりません。\r\n")));
        EXPECT_TRUE(r.window.messages[0].endsWith(QString::fromStdString(r.tree.path("top/drive"))));
        EXPECT_EQ(r.lastLamp(), (std::pair{150, false}));
        EXPECT_EQ(r.window.pointers.back(), DefaultPointer);
    }
}

TEST(DriveChange, EventsDuringASearchLeaveItsResultsAlone)
{
    // The user picked the 512-byte conversion length before searching.
    const auto prepare = [](Rig& r) {
        r.query.showDriveInfo(r.driveText);
        r.form.convertLength = 512;
        r.form.convertEntriesPerCluster = 16;
    };
    Rig undisturbed;
    prepare(undisturbed);
    undisturbed.moves.moveFolderList(undisturbed.tree.path("top/drive"));

    Rig r;
    prepare(r);
    const int queries = r.volumes.queries;
    // While the search lets pending events run, the user presses Shift on
    // the folder list and picks another drive.
    int changes = 0;
    r.window.onProcessEvents = [&] {
        r.change->modifiersSeen(1);
        changes += r.change->onDriveChosen() ? 1 : 0;
    };
    r.moves.moveFolderList(r.tree.path("top/drive"));

    EXPECT_EQ(r.window.pendingEventRuns, 2);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(r.volumes.queries, queries);  // neither the red lamp nor the change queried
    EXPECT_EQ(r.form.convertLength, 512);
    EXPECT_EQ(r.form.treeFolders, undisturbed.form.treeFolders);
    EXPECT_EQ(r.form.treeFiles, undisturbed.form.treeFiles);
    EXPECT_EQ(r.form.treeClusterCount, undisturbed.form.treeClusterCount);
    EXPECT_EQ(r.form.treeConvertClusterCount, undisturbed.form.treeConvertClusterCount);
    EXPECT_EQ(r.window.box(Box::ConvertBytes), undisturbed.window.box(Box::ConvertBytes));
    EXPECT_EQ(r.lastLamp(), (std::pair{150, true}));
    EXPECT_EQ(r.window.beeps, 1);

    // Once the search is over the lamp queries the drive again.
    r.change->modifiersSeen(1);
    EXPECT_EQ(r.volumes.queries, queries + 1);
}
