// Nothing the window does changes the disk: its file dialogs offer no action
// that renames, deletes or creates anything, speak Japanese like the rest of
// the window, read no file and change no access time; a whole session of searches,
// tool windows and dialogs leaves a folder tree as it was.
#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "chooser_texts.h"
#include "file_dialogs.h"
#include "folder_contents_model.h"
#include "mount_rig.h"
#include "child_run.h"
#include "temp_tree.h"
#include "ui_text.h"
#include "qt_translations.h"
#include "tool_windows.h"
#include "window_rig.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// Every entry below a folder with what a change would alter: kind, length,
// permissions, modification and change times.
std::map<std::string, std::string> snapshot(const std::string& folder)
{
    std::map<std::string, std::string> entries;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat st {};
        if (::lstat(e.path().c_str(), &st) != 0)
            continue;
        entries[e.path().string()] = std::to_string(st.st_mode) + ' ' + std::to_string(st.st_size) + ' '
            + std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec) + ' '
            + std::to_string(st.st_ctim.tv_sec) + '.' + std::to_string(st.st_ctim.tv_nsec);
    }
    return entries;
}

std::vector<std::string> filesBelow(const std::string& folder)
{
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        if (!e.is_directory())
            files.push_back(std::filesystem::relative(e.path(), folder).string());
    }
    return files;
}

// The user's settings folder is a temporary one for the case.
class ConfigFolder {
public:
    ConfigFolder() : previous_(std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "")
    {
        ::setenv("XDG_CONFIG_HOME", folder.root().c_str(), 1);
    }
    ~ConfigFolder()
    {
        if (previous_.empty())
            ::unsetenv("XDG_CONFIG_HOME");
        else
            ::setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    }
    TempTree folder;

private:
    std::string previous_;
};

// Runs inspect on the file chooser that clicking button opens, once it has
// listed its first folder, then cancels it. A box that a dialog raises
// meanwhile is answered No and recorded.
void onDialogOf(QAbstractButton* button, const std::function<void(FileChooser&)>& inspect, QStringList& boxes)
{
    bool inspected = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->reject();
            return;
        }
        auto* dialog = qobject_cast<FileChooser*>(QApplication::activeModalWidget());
        if (!dialog || inspected || dialog->folder().empty())
            return;
        inspected = true;
        inspect(*dialog);
        dialog->reject();
    });
    poll.start();
    button->click();
    poll.stop();
    EXPECT_TRUE(inspected) << "no file dialog opened";
}

// Lists folder in the chooser and waits for it.
bool listIn(FileChooser& dialog, const std::string& folder)
{
    QSignalSpy listed(&dialog, &FileChooser::listed);
    dialog.goTo(folder);
    return listed.wait(5000) && dialog.folder() == folder;
}

// The dialog can choose and nothing else: views that neither edit nor drag
// and have no context menu; Delete and F2 on a folder leave it; its texts,
// the kinds of entries too, are Japanese.
void expectChangesNothing(FileChooser& dialog, const std::string& victim)
{
    QStringList buttons;
    for (const QPushButton* b : dialog.findChildren<QPushButton*>())
        buttons << b->text();
    EXPECT_TRUE(buttons.contains(QString::fromUtf8("キャンセル"))) << buttons.join(u'|').toStdString();
    ASSERT_TRUE(listIn(dialog, std::filesystem::path(victim).parent_path().string()));
    QTreeView* view = dialog.view();
    EXPECT_FALSE(view->dragEnabled());
    EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view->contextMenuPolicy(), Qt::NoContextMenu);
    const auto* model = static_cast<const FolderContentsModel*>(view->model());
    const int row = model->rowOf(std::filesystem::path(victim).filename().string());
    ASSERT_GE(row, 0);
    EXPECT_EQ(model->index(row, FolderContentsModel::Kind).data().toString(), QString::fromUtf8("ホルダ"));
    EXPECT_EQ(model->headerData(FolderContentsModel::Kind, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("種類"));
    view->setCurrentIndex(model->index(row, 0));
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_TRUE(std::filesystem::exists(victim));
}

}  // namespace

TEST(ReadOnly, FileDialogsOfferNothingThatChangesAFileAndSpeakJapanese)
{
    ConfigFolder config;
    WindowRig rig([](const TempTree& t) {
        t.file("top/keep/inside.txt", 10);
        t.folder("top/victim/sub");
        t.file("top/victim/sub/file.txt", 10);
    });
    installTranslations(UiLanguage::Japanese);
    MainWindow& f = *rig.form;
    f.show();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    const auto before = snapshot(rig.top());
    QStringList boxes;

    // The copy check's folder chooser and the breakdown's CSV save dialog.
    f.tools()->showCopyCheck();
    onDialogOf(f.tools()->copyCheck()->findChild<QPushButton*>(QStringLiteral("chooseFolder")),
               [&](FileChooser& d) { expectChangesNothing(d, rig.top() + "/victim"); }, boxes);
    f.tools()->showBreakdown();
    onDialogOf(f.tools()->breakdown()->findChild<QPushButton*>(QStringLiteral("saveCsv")), [&](FileChooser& d) {
        EXPECT_EQ(d.mode(), FileChooser::Mode::Save);
        expectChangesNothing(d, rig.top() + "/victim");
    }, boxes);

    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();
    EXPECT_EQ(snapshot(rig.top()), before);
    // The dialogs keep nothing on disk.
    EXPECT_TRUE(filesBelow(config.folder.root()).empty());
}

// A dialog asked to start on a drive whose driver has stopped answering
// opens at once, and lists the home folder once the drive has had its
// bound; the next one is not held by that drive at all.
TEST(ReadOnly, FileDialogsNeverWaitOnAStoppedDrive)
{
    ConfigFolder config;
    qtApp();
    TempTree tree;
    std::string why;
    const auto mount = wideFatMount(tree, why);
    if (!mount)
        GTEST_SKIP() << why;
    mount->stopDriver(std::chrono::seconds(60));

    for (const bool save : {false, true}) {
        QElapsedTimer clock;
        clock.start();
        FileChooser* dialog = save ? makeSaveDialog(nullptr, QStringLiteral("save"), QStringLiteral("CSV (*.csv)"), {mount->path()})
                                   : makeFolderDialog(nullptr, QStringLiteral("folder"), {mount->path()});
        QSignalSpy listed(dialog, &FileChooser::listed);
        dialog->show();
        QApplication::processEvents();
        EXPECT_LT(clock.elapsed(), 500) << save;
        // Once the drive has had its bound, the next dialog is not held at all.
        ASSERT_TRUE(!listed.isEmpty() || listed.wait(4000)) << save;
        EXPECT_FALSE(dialog->folder().starts_with(mount->path())) << save;
        EXPECT_FALSE(dialog->folder().empty()) << save;
        // Going there on purpose says why nothing is shown, and stays put.
        const std::string shown = dialog->folder();
        dialog->goTo(mount->path());
        ASSERT_TRUE(listed.wait(4000)) << save;
        EXPECT_EQ(dialog->folder(), shown);
        EXPECT_EQ(dialog->status()->text(), uiText(chooser_text::NotAnswering));
        delete dialog;
    }
    mount->resumeDriver();
}

// On a file system that records every access (strictatime), both dialogs
// browse folders holding files, links and a large file: no access time
// changes, no file is opened, no link is read. The process is traced while
// they do.
TEST(ReadOnly, FileDialogsReadNoFileAndChangeNoAccessTime)
{
    qtApp();
    std::string why;
    const auto mount = TestMount::tmpfs("strictatime,size=64m", why);
    if (!mount)
        GTEST_SKIP() << why;
    const std::string root = mount->path();
    std::filesystem::create_directories(root + "/inner/deeper");
    for (const char* name : {"report.csv", "inner/notes.txt", "inner/deeper/old.json"})
        std::ofstream(root + "/" + name) << "a,b\n1,2\n";
    std::ofstream(root + "/large.bin", std::ios::binary) << std::string(8 << 20, 'x');
    std::filesystem::create_symlink("report.csv", root + "/to-file");
    std::filesystem::create_symlink("inner", root + "/to-folder");
    std::filesystem::create_symlink("/proc/self/cwd", root + "/outside");
    // Taken by lstat alone: listing the folders here would change their times.
    const auto accessTimes = [&] {
        std::map<std::string, std::string> times;
        for (const char* name : {"", "/inner", "/inner/deeper", "/report.csv", "/inner/notes.txt", "/inner/deeper/old.json",
                                 "/large.bin", "/to-file", "/to-folder", "/outside"}) {
            struct stat st {};
            EXPECT_EQ(::lstat((root + name).c_str(), &st), 0) << name;
            times[name] = std::to_string(st.st_atim.tv_sec) + '.' + std::to_string(st.st_atim.tv_nsec);
        }
        return times;
    };
    const auto before = accessTimes();
    // Time enough that an access would show in the times.
    QTest::qWait(20);

    TempTree logs;
    // One file per thread (-ff), so that no call is split across lines.
    ChildRun tracer({"/usr/bin/strace", "-ff", "-qq", "-y", "-o", logs.path("trace"), "-e",
                     "trace=open,openat,openat2,read,pread64,readv,mmap,readlink,readlinkat,getdents64",
                     "-p", std::to_string(::getpid())});
    const auto traced = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("TracerPid:"))
                return std::stoi(line.substr(10)) != 0;
        return false;
    };
    QElapsedTimer waited;
    waited.start();
    while (!traced() && waited.elapsed() < 5000)
        QTest::qWait(20);
    if (!traced())
        GTEST_SKIP() << "strace could not attach: " << tracer.err;

    for (const bool save : {false, true}) {
        std::unique_ptr<FileChooser> dialog(save ? makeSaveDialog(nullptr, QStringLiteral("save"), QStringLiteral("CSV (*.csv)"), {root})
                                                 : makeFolderDialog(nullptr, QStringLiteral("folder"), {root}));
        QSignalSpy listed(dialog.get(), &FileChooser::listed);
        dialog->show();
        ASSERT_TRUE(listed.wait(5000));
        ASSERT_EQ(dialog->folder(), root);
        auto* model = static_cast<const FolderContentsModel*>(dialog->view()->model());
        // A link is shown as a link and not entered.
        const int link = model->rowOf("to-folder");
        ASSERT_GE(link, 0);
        EXPECT_EQ(model->entry(link).kind, ListedKind::Link);
        dialog->view()->setFocus();
        dialog->view()->setCurrentIndex(model->index(link, 0));
        QTest::keyClick(dialog->view(), Qt::Key_Return);
        EXPECT_EQ(dialog->status()->text(), uiText(chooser_text::LinkNotFollowed));
        EXPECT_EQ(dialog->folder(), root);
        ASSERT_TRUE(listIn(*dialog, root + "/inner"));
        ASSERT_TRUE(listIn(*dialog, root + "/inner/deeper"));
        dialog->view()->setCurrentIndex({});
        QTest::keyClick(dialog->view(), Qt::Key_Backspace);
        ASSERT_TRUE(listed.wait(5000));
        EXPECT_EQ(dialog->folder(), root + "/inner");
    }
    ::kill(tracer.pid(), SIGTERM);
    tracer.status();

    EXPECT_EQ(accessTimes(), before);
    // Every descriptor opened below the mount is a folder's; nothing below it is read but listings,
    // and no link below it is read.
    int listings = 0;
    std::vector<std::string> lines;
    for (const auto& file : std::filesystem::directory_iterator(logs.root())) {
        std::ifstream trace(file.path());
        for (std::string line; std::getline(trace, line);)
            lines.push_back(line);
    }
    for (const std::string& line : lines) {
        if (line.find(root) == std::string::npos)
            continue;
        if (line.find("getdents64(") != std::string::npos) {
            ++listings;
            continue;
        }
        // The path of an open folder, asked of /proc: no link below the mount.
        if (line.find("readlink(\"/proc/self/fd/") != std::string::npos)
            continue;
        const bool opened = line.find("open") != std::string::npos && line.find("= -1") == std::string::npos;
        EXPECT_TRUE(opened && line.find("O_DIRECTORY") != std::string::npos) << line;
    }
    EXPECT_GT(listings, 0) << "the trace holds no listing of the mount";
}

TEST(ReadOnly, AWholeSessionLeavesTheTreeAsItWas)
{
    ConfigFolder config;
    TempTree target;
    WindowRig rig([](const TempTree& t) {
        t.file("top/own.txt", 100);
        t.file("top/photos/a.jpg", 40000);
        t.file("top/photos/2024/b.jpg", 9000);
        t.file("top/docs/readme.txt", 10);
        t.folder("top/empty");
        t.file("top/deep/1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/c.txt", 5);
    });
    MainWindow& f = *rig.form;
    f.show();
    const auto before = snapshot(rig.top());

    // Searches, F5, the breakdown and its keys, the copy check, the log, the
    // file information dialog, every menu entry that opens something.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/photos"));
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    f.refreshEntry()->trigger();
    rig.settle();
    f.tools()->showBreakdown();
    BreakdownWindow& breakdown = *f.tools()->breakdown();
    breakdown.sortBy(0);
    breakdown.table()->setFocus();
    breakdown.table()->selectRow(1);
    QTest::keyClick(breakdown.table(), Qt::Key_Return);
    rig.settle();
    QTest::keyClick(breakdown.table(), Qt::Key_Backspace);
    rig.settle();
    TempTree out;
    ASSERT_TRUE(breakdown.saveCsv(QString::fromStdString(out.path("rows.csv"))));
    f.tools()->showCopyCheck();
    CopyCheckDialog& check = *f.tools()->copyCheck();
    check.setTarget(target.root());
    QSignalSpy answered(&check, &CopyCheckDialog::finished);
    check.examine();
    ASSERT_TRUE(answered.wait(30000));
    f.logEntry()->trigger();
    f.fileListBox()->setCurrentRow(0);
    f.showFileInfo();
    for (int i = 0; i < 4; ++i)
        f.helpEntry(i)->trigger();
    f.version()->trigger();
    QApplication::processEvents();

    EXPECT_EQ(snapshot(rig.top()), before);
    EXPECT_TRUE(filesBelow(target.root()).empty());
    // The CSV the user saved is the one file written.
    EXPECT_EQ(filesBelow(out.root()), std::vector<std::string>{"rows.csv"});
    EXPECT_TRUE(filesBelow(config.folder.root()).empty());
}
