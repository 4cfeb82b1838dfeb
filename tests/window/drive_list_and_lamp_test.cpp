// The window's drive change, the modifier keys that switch the folder search
// off and the search lamp that shows it, driven through the real controls.
#include "mount_rig.h"
#include "mount_boundaries.h"
#include "twips.h"
#include "window_rig.h"
#include "value_boxes.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMetaObject>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::TestMount;
using dorvelix::testing::WindowRig;

namespace {

const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QString Blank = QStringLiteral("- ");

// The lamp as the window paints it: both far corners of Picture2.
std::pair<QColor, QColor> lampCorners(MainWindow& f)
{
    const QImage shown = f.searchLamp()->grab().toImage();
    return {shown.pixelColor(0, 0), shown.pixelColor(shown.width() - 1, shown.height() - 1)};
}

bool lampIs(MainWindow& f, const QColor& colour)
{
    const auto [topLeft, bottomRight] = lampCorners(f);
    return topLeft == colour && bottomRight == colour;
}

// A value box the drive query fills, overwritten so that a later query shows.
constexpr Box QueryWitness = Box::BytesPerSector;
const QString NotQueried = QStringLiteral("not queried");

bool queriedSinceMark(const WindowRig& rig)
{
    return rig.box(QueryWitness) != NotQueried;
}

void mark(WindowRig& rig)
{
    rig.form->valueBox(QueryWitness)->setText(NotQueried);
}

// Double-clicks the folder list's entry of folder holding the given modifiers.
bool doubleClickFolderWith(MainWindow& f, const std::string& folder, Qt::KeyboardModifiers modifiers)
{
    FolderListBox* openFolders = f.folderListBox();
    for (QTreeWidgetItemIterator it(openFolders); *it; ++it) {
        if (FolderListBox::pathOf(*it) != folder)
            continue;
        const QPoint at = openFolders->visualItemRect(*it).center();
        QTest::mouseClick(openFolders->viewport(), Qt::LeftButton, modifiers, at);
        QTest::mouseDClick(openFolders->viewport(), Qt::LeftButton, modifiers, at);
        dorvelix::testing::settleSearch(f);
        return true;
    }
    return false;
}

void makeFile(const std::string& path, std::size_t length)
{
    std::ofstream(path) << std::string(length, 'x');
}

// Lets the window's event loop run until done() holds, at most 5 s.
bool eventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

QStringList openFileNames(const MainWindow& f)
{
    QStringList names;
    for (int i = 0; i < f.fileListBox()->count(); ++i)
        names << f.fileListBox()->text(i);
    return names;
}

}  // namespace

TEST(WindowLamp, AnyModifierOnTheDriveOrFolderListTurnsItRedAndQueriesTheDrive)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/one.txt", 100);
        t.folder("top/sub");
    });
    MainWindow& f = *rig.form;
    EXPECT_TRUE(lampIs(f, Green));

    struct Case {
        const char* what;
        std::function<void()> press;    // with a modifier held
        std::function<void()> release;  // the modifier let go
    };
    const QPoint inFolderList = f.folderListBox()->visualItemRect(f.folderListBox()->openFolderItem()).center();
    const std::vector<Case> cases{
        {"Shift on the folder list", [&] { QTest::keyPress(f.folderListBox(), Qt::Key_Shift, Qt::ShiftModifier); },
         [&] { QTest::keyRelease(f.folderListBox(), Qt::Key_Shift, Qt::NoModifier); }},
        {"Ctrl-click in the folder list", [&] { QTest::mousePress(f.folderListBox()->viewport(), Qt::LeftButton, Qt::ControlModifier, inFolderList); },
         [&] {
             QTest::mouseRelease(f.folderListBox()->viewport(), Qt::LeftButton, Qt::ControlModifier, inFolderList);
             QTest::mousePress(f.folderListBox()->viewport(), Qt::LeftButton, Qt::NoModifier, inFolderList);
             QTest::mouseRelease(f.folderListBox()->viewport(), Qt::LeftButton, Qt::NoModifier, inFolderList);
         }},
        {"Alt on the drive list", [&] { QTest::keyPress(f.driveListBox(), Qt::Key_Alt, Qt::AltModifier); },
         [&] { QTest::keyRelease(f.driveListBox(), Qt::Key_Alt, Qt::AltModifier); }},
        {"Ctrl let go on the drive list with Shift still held",
         [&] {
             QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier);
             QCoreApplication::sendEvent(f.driveListBox(), &release);
         },
         [&] { QTest::keyRelease(f.folderListBox(), Qt::Key_A, Qt::NoModifier); }},
    };
    for (const Case& c : cases) {
        // A search has filled the folder results.
        ASSERT_TRUE(rig.doubleClickFolder(rig.top())) << c.what;
        ASSERT_EQ(rig.box(Box::AloneFiles).trimmed(), QStringLiteral("1")) << c.what;

        mark(rig);
        c.press();
        EXPECT_TRUE(f.form().modifierHeld) << c.what;
        EXPECT_TRUE(lampIs(f, Red)) << c.what;
        // The red lamp queried the drive, which blanks the folder results.
        EXPECT_TRUE(queriedSinceMark(rig)) << c.what;
        EXPECT_EQ(rig.box(Box::AloneFiles), Blank) << c.what;

        mark(rig);
        c.release();
        EXPECT_FALSE(f.form().modifierHeld) << c.what;
        EXPECT_TRUE(lampIs(f, Green)) << c.what;
        EXPECT_FALSE(queriedSinceMark(rig)) << c.what;
    }
    EXPECT_TRUE(rig.messages.isEmpty());
}

TEST(WindowLamp, AModifierLetGoElsewhereTurnsItGreen)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    // Ctrl let go elsewhere with Shift still held: still red.
    QTest::keyPress(f.driveListBox(), Qt::Key_Shift, Qt::ShiftModifier);
    QKeyEvent ctrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::ShiftModifier | Qt::ControlModifier);
    QCoreApplication::sendEvent(f.menuBar(), &ctrlUp);
    EXPECT_TRUE(lampIs(f, Red));
    QTest::keyRelease(f.driveListBox(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_TRUE(lampIs(f, Green));
    // Alt tapped alone: the menu bar takes its release.
    QTest::keyPress(f.folderListBox(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_TRUE(lampIs(f, Red));
    QTest::keyRelease(f.menuBar(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_FALSE(f.form().modifierHeld);
    EXPECT_TRUE(lampIs(f, Green));
    // Shift-click, then Shift let go while another program had the
    // keyboard: the window learns it when it is activated again.
    QTest::mousePress(f.folderListBox()->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(4, 6));
    EXPECT_TRUE(lampIs(f, Red));
    QEvent activate(QEvent::WindowActivate);
    // The release went elsewhere; only a plain pointer move reaches the
    // window, which tells the keyboard's state but is no key event.
    QTest::mouseMove(f.menuBar(), QPoint(2, 2));
    ASSERT_EQ(QGuiApplication::queryKeyboardModifiers(), Qt::NoModifier);
    EXPECT_TRUE(lampIs(f, Red));
    QCoreApplication::sendEvent(&f, &activate);
    EXPECT_TRUE(lampIs(f, Green));
}

TEST(WindowLamp, FolderOpenedWithCtrlHeldIsNotSearched)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/one.txt", 100);
        t.file("top/sub/a.txt", 10);
        t.file("top/sub/b.txt", 10);
    });
    MainWindow& f = *rig.form;
    const std::string sub = rig.top() + "/sub";

    ASSERT_TRUE(doubleClickFolderWith(f, sub, Qt::ControlModifier));
    EXPECT_EQ(f.folderListBox()->list().path(), sub);
    EXPECT_TRUE(lampIs(f, Red));
    EXPECT_EQ(rig.box(Box::AloneFiles), Blank);
    EXPECT_EQ(f.form().treeFiles, 0);
    // The file list still lists the folder it listed.
    EXPECT_EQ(openFileNames(f), QStringList({"one.txt"}));

    // The same folder opened without a modifier is searched.
    ASSERT_TRUE(rig.doubleClickFolder(sub));
    EXPECT_TRUE(lampIs(f, Green));
    EXPECT_EQ(rig.box(Box::AloneFiles).trimmed(), QStringLiteral("2"));
    EXPECT_EQ(openFileNames(f), QStringList({"a.txt", "b.txt"}));
}

TEST(WindowLamp, TakesTheSizeOfTheScreenSizeAtItsNextPaint)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    const double dpi = logicalDpiOf(f.searchLamp());
    for (auto [index, side] : {std::pair{0, 200}, std::pair{2, 120}, std::pair{1, 150}}) {
        f.pickScreenSize(index);
        EXPECT_EQ(twipsGeometry(f.searchLamp()).size(), QSize(side, side));
        QTest::keyPress(f.folderListBox(), Qt::Key_Shift, Qt::ShiftModifier);
        EXPECT_EQ(f.searchLamp()->size(), QSize(twipsToPixels(side, dpi), twipsToPixels(side, dpi)));
        EXPECT_TRUE(lampIs(f, Red)) << side;
        QTest::keyRelease(f.folderListBox(), Qt::Key_Shift, Qt::NoModifier);
        EXPECT_TRUE(lampIs(f, Green)) << side;
    }
}

// Two drives: the one holding the test folder and a tmpfs mounted for the
// test, which holds a file and a folder with another file.
class WindowDriveChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string why;
        mount_ = TestMount::tmpfs("size=4m", why, "dorvelix-window");
        if (!mount_)
            GTEST_SKIP() << "no tmpfs: " << why;
        other_ = mount_->path();
        makeFile(other_ + "/a.txt", 5000);
        std::filesystem::create_directory(other_ + "/sub");
        makeFile(other_ + "/sub/b.txt", 10);
        rig_ = std::make_unique<WindowRig>([](const TempTree& t) {
            t.file("top/x.txt", 1);
            t.file("top/y.txt", 1);
            t.file("top/z.txt", 1);
            t.folder("top/inner");
        });
        for (int i = 0; i < driveList()->count(); ++i) {
            if (driveAddress(driveList()->itemText(i)) == other_)
                otherIndex_ = i;
        }
        homeIndex_ = driveList()->currentIndex();
        ASSERT_GE(otherIndex_, 0) << "the tmpfs is not in the drive list";
    }
    void TearDown() override
    {
        rig_.reset();  // the window goes before its drive
        mount_.reset();
    }

    MainWindow& form() { return *rig_->form; }
    DriveListBox* driveList() { return rig_->form->driveListBox(); }
    std::string openFolderPath() { return rig_->form->folderListBox()->list().path(); }

    std::unique_ptr<TestMount> mount_;
    std::unique_ptr<WindowRig> rig_;
    std::string other_;
    int otherIndex_ = -1;
    int homeIndex_ = -1;
};

TEST_F(WindowDriveChange, SearchesEachDrivesCurrentFolder)
{
    driveList()->setCurrentIndex(otherIndex_);
    rig_->settle();
    // The tmpfs's current folder is its root, which is searched.
    EXPECT_EQ(openFolderPath(), other_ + "/");
    EXPECT_EQ(rig_->box(Box::AloneFiles).trimmed(), QStringLiteral("1"));
    EXPECT_EQ(form().form().treeFiles, 2);
    EXPECT_EQ(openFileNames(form()), QStringList({"a.txt"}));
    EXPECT_TRUE(lampIs(form(), Green));

    // Back on the first drive the folder list returns to the folder it had there.
    driveList()->setCurrentIndex(homeIndex_);
    rig_->settle();
    EXPECT_EQ(openFolderPath(), rig_->top());
    EXPECT_EQ(rig_->box(Box::AloneFiles).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(openFileNames(form()), QStringList({"x.txt", "y.txt", "z.txt"}));
    EXPECT_FALSE(form().services().busyPointerShown());
    EXPECT_TRUE(rig_->messages.isEmpty());
}

TEST_F(WindowDriveChange, WithShiftHeldMovesTheFolderListWithoutSearching)
{
    QTest::keyPress(driveList(), Qt::Key_Shift, Qt::ShiftModifier);
    driveList()->setCurrentIndex(otherIndex_);
    rig_->settle();
    EXPECT_EQ(openFolderPath(), other_ + "/");
    EXPECT_EQ(form().form().treeFiles, 0);
    EXPECT_EQ(rig_->box(Box::AloneFiles), Blank);
    EXPECT_TRUE(lampIs(form(), Red));
    // The file list keeps the files of the folder it listed.
    EXPECT_EQ(openFileNames(form()), QStringList({"x.txt", "y.txt", "z.txt"}));
    EXPECT_FALSE(form().services().busyPointerShown());
}

TEST_F(WindowDriveChange, ACurrentFolderThatHasGoneLeavesTheFolderListWhereItWas)
{
    driveList()->setCurrentIndex(otherIndex_);
    rig_->settle();
    ASSERT_TRUE(rig_->doubleClickFolder(other_ + "/sub"));
    driveList()->setCurrentIndex(homeIndex_);
    rig_->settle();
    ASSERT_EQ(openFolderPath(), rig_->top());
    std::filesystem::remove_all(other_ + "/sub");

    driveList()->setCurrentIndex(otherIndex_);

    rig_->settle();
    EXPECT_EQ(openFolderPath(), rig_->top());
    EXPECT_EQ(form().form().treeFiles, 0);
    EXPECT_EQ(rig_->box(Box::AloneFiles), Blank);
    ASSERT_EQ(rig_->messages.size(), 1);
    EXPECT_TRUE(rig_->messages[0].endsWith(QString::fromStdString(other_ + "/sub"))) << rig_->messages[0].toStdString();
    EXPECT_TRUE(lampIs(form(), Green));
    EXPECT_FALSE(form().services().busyPointerShown());

    // The window goes on working: the folder it shows can still be searched.
    ASSERT_TRUE(rig_->doubleClickFolder(rig_->top()));
    EXPECT_EQ(rig_->box(Box::AloneFiles).trimmed(), QStringLiteral("3"));
}

TEST_F(WindowDriveChange, IsRefusedWhileASearchRuns)
{
    // The search runs on while the window takes the user's next pick.
    form().folderListBox()->open(form().folderListBox()->openFolderItem());
    const bool searching = form().session().isSearching();
    driveList()->setCurrentIndex(otherIndex_);
    const int indexDuringSearch = driveList()->currentIndex();
    rig_->settle();

    EXPECT_TRUE(searching);
    EXPECT_EQ(indexDuringSearch, homeIndex_);
    EXPECT_EQ(driveList()->currentIndex(), homeIndex_);
    EXPECT_EQ(openFolderPath(), rig_->top());
    EXPECT_EQ(rig_->box(Box::AloneFiles).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(form().form().treeFiles, 3);
}

// The drive list follows the mount table while the window runs: a drive mounted
// later appears, and when the drive in use is unmounted its query takes the
// no-medium path and the drive list moves to the drive that holds the folder list's folder.
TEST(WindowDriveList, FollowsTheMountTable)
{
    WindowRig rig;
    rig.volumes.mounted = [](const std::string& root) { return MountBoundaries::current()->isMountPoint(root); };
    MainWindow& f = *rig.form;
    const QString home = f.driveListBox()->drive();
    std::string why;
    auto usb = TestMount::tmpfs("size=1m", why, "dorvelix-usb", rig.top(), "usb");
    if (!usb)
        GTEST_SKIP() << why;
    const QString usbText = QString::fromStdString(usb->path()) + QStringLiteral(" [dorvelix-usb]");
    ASSERT_TRUE(eventsUntil([&] { return f.driveListBox()->findText(usbText) >= 0; })) << "the new drive is not listed";
    EXPECT_EQ(f.driveListBox()->drive(), home);

    f.driveListBox()->setCurrentIndex(f.driveListBox()->findText(usbText));
    rig.settle();
    ASSERT_EQ(f.folderListBox()->list().path(), usb->path() + "/");
    ASSERT_TRUE(rig.messages.isEmpty());

    usb.reset();  // unmounted
    ASSERT_TRUE(eventsUntil([&] { return f.driveListBox()->findText(usbText) < 0; })) << "the gone drive is still listed";
    EXPECT_EQ(rig.messages, QStringList{usbText + " メディア未挿入？"});
    EXPECT_EQ(f.driveListBox()->drive(), home);
    EXPECT_EQ(rig.box(Box::TotalClusters), Blank);
}
