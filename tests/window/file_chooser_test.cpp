// The program's file chooser: what it lists of a folder (kinds, lengths,
// the drives mounted inside, filters and hidden names, folders first in
// every order) and what each kind of dialog gives back for what the user
// does: a folder, a new or replaced file (never through a link), an
// existing file to open.
#include "chooser_texts.h"
#include "file_dialogs.h"
#include "folder_contents_model.h"
#include "mount_rig.h"
#include "qt_app.h"
#include "runtime_error.h"
#include "temp_tree.h"
#include "ui_text.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>
#include <filesystem>
#include <map>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

void buildTree(const TempTree& t)
{
    t.folder("b-folder");
    t.folder("A-folder");
    t.file("x.csv", 1234);
    t.file("y.txt", 5);
    t.file(".hidden.csv", 7);
    std::filesystem::create_symlink("x.csv", t.path("link.csv"));
}

std::unique_ptr<FileChooser> listedChooser(FileChooser* made)
{
    std::unique_ptr<FileChooser> dialog(made);
    QSignalSpy listed(dialog.get(), &FileChooser::listed);
    EXPECT_TRUE(listed.wait(5000));
    return dialog;
}

QStringList namesShown(const FileChooser& dialog)
{
    QStringList names;
    const QAbstractItemModel* model = dialog.view()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, FolderContentsModel::Name).data().toString();
    return names;
}

// Clicks the button that chooses ("選ぶ", "保存", "開く").
void pressAccept(FileChooser& dialog)
{
    const char* text = dialog.mode() == FileChooser::Mode::Folder ? chooser_text::Choose
        : dialog.mode() == FileChooser::Mode::Save                ? chooser_text::Save
                                                                  : chooser_text::Open;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == uiText(text))
            return button->click();
    }
    ADD_FAILURE() << "no button " << text;
}

// Accepts with the file name typed; a question it raises is answered with
// answer. Returns the path chosen, empty when the dialog stayed open.
std::string acceptWith(FileChooser& dialog, const QString& name, QMessageBox::StandardButton answer = QMessageBox::No)
{
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [answer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(answer)->click();
    });
    poll.start();
    dialog.show();
    dialog.nameEdit()->setText(name);
    pressAccept(dialog);
    return dialog.result() == QDialog::Accepted ? dialog.chosenPath() : std::string();
}

}  // namespace

TEST(FileChooser, ListsAFolderAsItIsWithFoldersFirstAndDrivesNamed)
{
    qtApp();
    TempTree tree;
    buildTree(tree);
    std::string why;
    const auto inner = TestMount::tmpfs("size=1m", why, "dorvelix-test", tree.root(), "stick");

    const FolderListing listing = listFolderInTime(tree.root() + "/");
    EXPECT_EQ(listing.path, tree.root());
    std::map<std::string, ListedEntry> byName;
    for (const ListedEntry& e : listing.entries)
        byName[e.name] = e;
    EXPECT_EQ(byName["x.csv"].kind, ListedKind::File);
    EXPECT_EQ(byName["x.csv"].length, 1234);
    EXPECT_NE(byName["x.csv"].modifiedMs, ListedEntry::NoTime);
    EXPECT_EQ(byName["link.csv"].kind, ListedKind::Link);
    EXPECT_EQ(byName["link.csv"].length, -1);  // what it points to is not asked
    EXPECT_EQ(byName["A-folder"].kind, ListedKind::Folder);
    if (inner) {
        EXPECT_EQ(byName["stick"].kind, ListedKind::Drive);
    }
    for (const std::string& bad : {tree.path("nothing"), tree.path("x.csv"), tree.path("link.csv")})
        EXPECT_THROW(listFolderInTime(bad), RuntimeError) << bad;

    // The save dialog shows folders, drives and links, and the files its
    // filter names; hidden names once asked for. Folders come first in
    // every order.
    auto save = listedChooser(makeSaveDialog(nullptr, QStringLiteral("s"), QStringLiteral("CSV (*.csv)"), {tree.root()}));
    QStringList expected{QStringLiteral("A-folder"), QStringLiteral("b-folder"), QStringLiteral("link.csv"), QStringLiteral("x.csv")};
    if (inner)
        expected.insert(2, QStringLiteral("stick"));
    EXPECT_EQ(namesShown(*save), expected);
    EXPECT_EQ(save->view()->model()->index(expected.indexOf(QStringLiteral("x.csv")), FolderContentsModel::Size).data().toString(),
              uiText(chooser_text::Bytes).arg(QStringLiteral("1,234")));
    save->view()->sortByColumn(FolderContentsModel::Size, Qt::DescendingOrder);
    EXPECT_EQ(namesShown(*save).mid(expected.size() - 2), (QStringList{QStringLiteral("x.csv"), QStringLiteral("link.csv")}));
    save->findChild<QCheckBox*>()->setChecked(true);
    EXPECT_TRUE(namesShown(*save).contains(QStringLiteral(".hidden.csv")));
    // The folder chooser lists no files.
    auto folders = listedChooser(makeFolderDialog(nullptr, QStringLiteral("f"), {tree.root()}));
    EXPECT_FALSE(namesShown(*folders).contains(QStringLiteral("x.csv")));
    EXPECT_TRUE(namesShown(*folders).contains(QStringLiteral("link.csv")));
}

TEST(FileChooser, GivesBackWhatTheUserChoseAndNeverSavesThroughALink)
{
    qtApp();
    TempTree tree;
    buildTree(tree);
    const std::string root = tree.root();

    // The folder chooser gives the folder shown, or the subfolder selected.
    auto folders = listedChooser(makeFolderDialog(nullptr, QStringLiteral("f"), {root}));
    pressAccept(*folders);
    EXPECT_EQ(folders->chosenPath(), root);
    folders = listedChooser(makeFolderDialog(nullptr, QStringLiteral("f"), {root}));
    folders->view()->setCurrentIndex(folders->view()->model()->index(1, 0));
    pressAccept(*folders);
    EXPECT_EQ(folders->chosenPath(), root + "/b-folder");
    // A folder typed in the place is gone to, not chosen.
    folders = listedChooser(makeFolderDialog(nullptr, QStringLiteral("f"), {root}));
    folders->show();
    QSignalSpy typedListed(folders.get(), &FileChooser::listed);
    folders->placeEdit()->setText(QString::fromStdString(root + "/A-folder"));
    QTest::keyClick(folders->placeEdit(), Qt::Key_Return);
    ASSERT_TRUE(typedListed.wait(5000));
    EXPECT_EQ(folders->folder(), root + "/A-folder");
    EXPECT_TRUE(folders->isVisible());
    EXPECT_EQ(folders->chosenPath(), "");

    const auto saveDialog = [&] {
        return listedChooser(makeSaveDialog(nullptr, QStringLiteral("s"), QStringLiteral("CSV (*.csv)"), {root}));
    };
    // A new name gets the filter's suffix; a file there is replaced only
    // when the user says so, a hidden one too; a link or a slash never.
    EXPECT_EQ(acceptWith(*saveDialog(), QStringLiteral("out")), root + "/out.csv");
    EXPECT_EQ(acceptWith(*saveDialog(), QStringLiteral("x"), QMessageBox::No), "");
    EXPECT_EQ(acceptWith(*saveDialog(), QStringLiteral("x.csv"), QMessageBox::Yes), root + "/x.csv");
    EXPECT_EQ(acceptWith(*saveDialog(), QStringLiteral(".hidden"), QMessageBox::No), "");
    auto linked = saveDialog();
    EXPECT_EQ(acceptWith(*linked, QStringLiteral("link.csv"), QMessageBox::Yes), "");
    EXPECT_EQ(linked->status()->text(), uiText(chooser_text::CannotReplace).arg(QStringLiteral("link.csv")));
    auto slashed = saveDialog();
    EXPECT_EQ(acceptWith(*slashed, QStringLiteral("../out")), "");
    EXPECT_EQ(slashed->status()->text(), uiText(chooser_text::NoSlash));
    // A folder's name goes into it.
    auto into = saveDialog();
    QSignalSpy listed(into.get(), &FileChooser::listed);
    EXPECT_EQ(acceptWith(*into, QStringLiteral("A-folder")), "");
    ASSERT_TRUE(listed.wait(5000));
    EXPECT_EQ(into->folder(), root + "/A-folder");

    // The open dialog gives an existing file, by name or by Enter on it.
    const auto openDialog = [&] {
        return listedChooser(makeOpenDialog(nullptr, QStringLiteral("o"), QStringLiteral("CSV (*.csv)"), {root}));
    };
    EXPECT_EQ(acceptWith(*openDialog(), QStringLiteral("x.csv")), root + "/x.csv");
    auto missing = openDialog();
    EXPECT_EQ(acceptWith(*missing, QStringLiteral("none.csv")), "");
    EXPECT_EQ(missing->status()->text(), uiText(chooser_text::FileNeeded));
    auto entered = openDialog();
    entered->show();
    const auto* model = static_cast<const FolderContentsModel*>(entered->view()->model());
    entered->view()->setCurrentIndex(model->index(model->rowOf("x.csv"), 0));
    QTest::keyClick(entered->view(), Qt::Key_Return);
    EXPECT_EQ(entered->chosenPath(), root + "/x.csv");
}
