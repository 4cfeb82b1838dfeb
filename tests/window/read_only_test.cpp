// Nothing the window does changes the disk: its file dialogs offer no action
// that renames, deletes or creates anything, speak Japanese like the rest of
// the window, and keep their own state apart; a whole session of searches,
// tool windows and dialogs leaves a folder tree as it was.
#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "file_dialogs.h"
#include "mount_rig.h"
#include "qt_translations.h"
#include "tool_windows.h"
#include "window_rig.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
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

// Runs inspect on the file dialog that clicking button opens, then cancels it.
// A box that a dialog raises meanwhile (a question before deleting) is
// answered No and recorded.
void onDialogOf(QAbstractButton* button, const std::function<void(QFileDialog&)>& inspect, QStringList& boxes)
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
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || inspected)
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

// The dialog can choose and nothing else: a read-only model, no new-folder
// button, views that neither edit nor drag, a context menu without rename,
// delete or new folder; Delete on a folder leaves it; its texts are Qt's
// Japanese ones.
void expectChangesNothing(QFileDialog& dialog, const std::string& victim)
{
    EXPECT_TRUE(dialog.testOption(QFileDialog::ReadOnly));
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_TRUE(model);
    EXPECT_TRUE(model->isReadOnly());
    const auto* newFolder = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton"));
    EXPECT_TRUE(!newFolder || !newFolder->isVisible());
    for (QAction* action : dialog.findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name == u"qt_rename_action" || name == u"qt_delete_action" || name == u"qt_new_folder_action") {
            EXPECT_FALSE(action->isVisible() || action->isEnabled()) << name.toStdString();
        }
    }
    EXPECT_EQ(dialog.labelText(QFileDialog::Reject), QString::fromUtf8("キャンセル"));

    dialog.setDirectory(QString::fromStdString(std::filesystem::path(victim).parent_path().string()));
    for (const char* name : {"listView", "treeView"}) {
        auto* view = dialog.findChild<QAbstractItemView*>(QLatin1String(name));
        ASSERT_TRUE(view) << name;
        EXPECT_FALSE(view->dragEnabled()) << name;
        EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers) << name;
        QTRY_VERIFY_WITH_TIMEOUT(model->index(QString::fromStdString(victim)).isValid(), 5000);
        emit view->customContextMenuRequested(QPoint(4, 4));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu) << name;
        QStringList offered;
        for (const QAction* action : menu->actions())
            offered << action->objectName();
        EXPECT_EQ(offered, QStringList{QStringLiteral("qt_show_hidden_action")}) << name;
        menu->close();
        view->setCurrentIndex(model->index(QString::fromStdString(victim)));
        QTest::keyClick(view, Qt::Key_Delete);
        QTest::keyClick(view, Qt::Key_F2);
        EXPECT_TRUE(std::filesystem::exists(victim)) << name;
    }
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
               [&](QFileDialog& d) { expectChangesNothing(d, rig.top() + "/victim"); }, boxes);
    f.tools()->showBreakdown();
    onDialogOf(f.tools()->breakdown()->findChild<QPushButton*>(QStringLiteral("saveCsv")), [&](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        expectChangesNothing(d, rig.top() + "/victim");
    }, boxes);

    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();
    EXPECT_EQ(snapshot(rig.top()), before);
    // Qt's dialog kept its state in the program's own settings file alone.
    EXPECT_EQ(filesBelow(config.folder.root()), std::vector<std::string>{"dorvelix/QtProject.conf"});
    EXPECT_EQ(dialogSettingsFile().toStdString(), config.folder.path("dorvelix/QtProject.conf"));
}

// A window started in a folder of a drive whose driver then stops answering,
// that drive the folder its file dialogs showed last: they open at once
// elsewhere.
TEST(ReadOnly, FileDialogsNeverWaitOnAStoppedDrive)
{
    ConfigFolder config;
    qtApp();
    TempTree tree;
    std::string why;
    const auto mount = wideFatMount(tree, why);
    if (!mount)
        GTEST_SKIP() << why;
    const QString onDrive = QString::fromStdString(mount->path());
    // Shown once while the drive answers: it is the folder remembered.
    delete makeFolderDialog(nullptr, QStringLiteral("before"), {mount->path()});
    WindowRig rig([&](const TempTree&) { ASSERT_EQ(::chdir(mount->path().c_str()), 0); }, true, false);
    mount->stopDriver(std::chrono::seconds(60));

    QElapsedTimer clock;
    clock.start();
    for (const bool save : {false, true}) {
        QFileDialog* dialog = save ? makeSaveDialog(nullptr, QStringLiteral("save"), QStringLiteral("*.csv"), {mount->path()})
                                   : makeFolderDialog(nullptr, QStringLiteral("folder"), {mount->path()});
        dialog->show();
        QTest::qWait(100);
        EXPECT_FALSE(dialog->directory().absolutePath().startsWith(onDrive)) << save;
        delete dialog;
    }
    const qint64 took = clock.elapsed();
    mount->resumeDriver();
    // The stopped drive is asked once, within the bound of a volume query.
    EXPECT_LT(took, 9000);
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
