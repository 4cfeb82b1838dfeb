// The tools menu and its windows: the subfolder breakdown against the
// report's --folders, the copy check against --target on a FAT image and a
// tmpfs, and the search's progress window with its Stop.
#include "breakdown_window.h"
#include "copy_check_dialog.h"
#include "number_format.h"
#include "mount_rig.h"
#include "report_texts.h"
#include "row_table.h"
#include "modal_box.h"
#include "search_log_window.h"
#include "search_progress_window.h"
#include "window_placement.h"
#include "tool_texts.h"
#include "tool_windows.h"
#include "value_boxes.h"
#include "window_rig.h"

#include <QAccessible>
#include <QClipboard>
#include <QElapsedTimer>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QLineEdit>
#include <QTableWidget>
#include <sys/stat.h>
#include <unistd.h>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <set>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

QJsonObject report(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVELIX_REPORT);
    const ToolRun run = runTool(args);
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

// The captions that label a control for a screen reader (labelled-by).
QStringList captionsOf(QWidget* w)
{
    QStringList captions;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    for (const auto& [label, relation] : a->relations(QAccessible::Label))
        captions << label->text(QAccessible::Name);
    return captions;
}

// Every control of a tool window that shows or takes something is heard: a
// figure as it is shown, with its caption as its label where it has one;
// every other control has a name, and a table's columns are named by their
// headers.
void expectAccessibleNames(QWidget* window)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
        if (!named || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)
                        || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w)))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(a) << w->objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // Qt names an empty figure by its caption.
            const QStringList captions = captionsOf(w);
            const QString heard = label->text().isEmpty() && !captions.isEmpty() ? captions.front() : label->text();
            EXPECT_EQ(a->text(QAccessible::Name), heard) << w->objectName().toStdString();
        } else {
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->objectName().toStdString();
        }
        auto* view = qobject_cast<QAbstractItemView*>(w);
        if (!view || !view->model() || !a->tableInterface())
            continue;
        for (int c = 0; c < view->model()->columnCount(); ++c)
            EXPECT_EQ(a->tableInterface()->columnDescription(c),
                      view->model()->headerData(c, Qt::Horizontal).toString());
    }
}

QTreeWidgetItem* folderItem(MainWindow& f, const std::string& path)
{
    for (QTreeWidgetItemIterator it(f.folderListBox()); *it; ++it) {
        if (FolderListBox::pathOf(*it) == path)
            return *it;
    }
    return nullptr;
}

// Right-clicks the folder's entry in the folder list: the context menu opens for it.
bool contextMenuOn(MainWindow& f, const std::string& path)
{
    QTreeWidgetItem* item = folderItem(f, path);
    if (!item)
        return false;
    emit f.folderListBox()->customContextMenuRequested(f.folderListBox()->visualItemRect(item).center());
    return f.tools()->contextFolder() == path;
}

QAction* contextEntry(MainWindow& f, const char* name)
{
    return f.tools()->contextMenu()->findChild<QAction*>(QString::fromUtf8(name));
}

long long cellValue(const BreakdownWindow& w, int row, int column)
{
    return w.model()->item(row, column)->data(Qt::UserRole + 1).toLongLong();
}

void breakdownTree(const TempTree& t)
{
    t.file("top/own.txt", 100);
    t.file("top/big/a.bin", 40000);
    t.file("top/big/deep/b.bin", 9000);
    t.file("top/small/c.txt", 10);
    t.folder("top/empty");
    t.file("top/medium/d.bin", 20000);
}

}  // namespace

TEST(WindowTools, MenuAndContextMenuOpenEachWindow)
{
    WindowRig rig(breakdownTree);
    MainWindow& f = *rig.form;
    f.show();
    ToolWindows& tools = *f.tools();
    // The last entry of the bar; before any search the breakdown is disabled
    // and the copy check starts from the open folder.
    EXPECT_EQ(f.menuBar()->actions().last()->menu(), tools.menu());
    EXPECT_EQ(tools.menu()->title(), u8("ツール(&T)"));
    EXPECT_EQ(tools.breakdownEntry()->text(), u8("サブホルダの内訳(&B)"));
    EXPECT_EQ(tools.copyCheckEntry()->text(), u8("コピー先チェック(&C)..."));
    EXPECT_FALSE(tools.breakdownEntry()->isEnabled());
    tools.copyCheckEntry()->trigger();
    ASSERT_TRUE(tools.copyCheck() && tools.copyCheck()->isVisible());
    EXPECT_EQ(tools.copyCheck()->folder(), rig.top());
    EXPECT_EQ(tools.copyCheck()->windowTitle(), u8("コピー先チェック"));
    EXPECT_FALSE(tools.copyCheck()->isModal());
    expectAccessibleNames(tools.copyCheck());
    EXPECT_EQ(tools.copyCheck()->findChild<QPushButton*>(QStringLiteral("chooseFolder"))->accessibleName(),
              u8("ホルダを選ぶ"));

    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/big"));
    EXPECT_TRUE(tools.breakdownEntry()->isEnabled());
    tools.breakdownEntry()->trigger();
    ASSERT_TRUE(tools.breakdown() && tools.breakdown()->isVisible());
    EXPECT_EQ(tools.breakdown()->windowTitle(), u8("サブホルダの内訳"));
    EXPECT_EQ(tools.breakdown()->model()->rowCount(), 2);  // "." and deep
    expectAccessibleNames(tools.breakdown());
    EXPECT_EQ(tools.breakdown()->findChild<QPushButton*>(QStringLiteral("saveCsv"))->accessibleName(), u8("CSV で保存"));
    tools.copyCheckEntry()->trigger();
    EXPECT_EQ(tools.copyCheck()->folder(), rig.top() + "/big");

    // The context menu acts on the folder under the pointer: one not yet
    // searched is opened and searched first, as a double-click does.
    ASSERT_TRUE(contextMenuOn(f, rig.top()));
    const QStringList entries{tools.contextMenu()->actions()[0]->text(), tools.contextMenu()->actions()[1]->text()};
    EXPECT_EQ(entries, QStringList({u8("サブホルダの内訳(&B)"), u8("コピー先チェック(&C)...")}));
    contextEntry(f, "contextBreakdown")->trigger();
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_EQ(f.search().searchedFolder(), rig.top());
    EXPECT_EQ(tools.breakdown()->model()->rowCount(), 5);
    ASSERT_TRUE(contextMenuOn(f, rig.top() + "/small"));
    contextEntry(f, "contextCopyCheck")->trigger();
    EXPECT_EQ(tools.copyCheck()->folder(), rig.top() + "/small");
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());  // the copy check opens nothing
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join(u'|').toStdString();
}

TEST(WindowTools, BreakdownHasTheReportsRowsAndTotalsAndFollowsTheSearch)
{
    WindowRig rig(breakdownTree);
    MainWindow& f = *rig.form;
    f.show();
    const QJsonObject json = report({"--json", "--folders", "--convert", "1024", rig.top()});
    if (json["drive"]["cluster_length"].toInteger() != 4096)
        GTEST_SKIP() << "the test folder's drive does not count in 4,096-byte clusters";
    f.convertLengthEntry(3)->trigger();  // 1,024
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    // The search put the drive's own length back: choose 1,024 and search again.
    f.convertLengthEntry(3)->trigger();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    f.tools()->showBreakdown();
    BreakdownWindow& w = *f.tools()->breakdown();

    // The same rows, in the same order, with the same figures.
    const char* keys[] = {"folders", "files", "clusters", "bytes", "convert_clusters", "convert_bytes", "growth_bytes"};
    const QJsonArray rows = json["folders"].toArray();
    ASSERT_EQ(w.model()->rowCount(), rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(w.model()->item(r, 0)->text(), rows[r]["name"].toString()) << r;
        for (int c = 1; c < 8; ++c)
            EXPECT_EQ(cellValue(w, r, c), rows[r][QLatin1String(keys[c - 1])].toInteger()) << r << ' ' << keys[c - 1];
    }
    // The totals are the folder panel's subtree and converted rows.
    const Box panelBoxes[] = {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters,
                              Box::SubtreeBytes,   Box::ConvertClusters, Box::ConvertBytes};
    for (int c = 1; c < 7; ++c)
        EXPECT_EQ(w.totalText(c), rig.box(panelBoxes[c - 1]).trimmed()) << c;

    // The growth total, the length the figures use, and each row's share
    // of the converted total beside its figures.
    const long long growth = json["converted"]["bytes"].toInteger() - json["subtree"]["bytes"].toInteger();
    EXPECT_EQ(w.totalText(7), formatNumber(growth, NumberPattern::Plain));
    EXPECT_EQ(w.lengthLabel()->text(), u8("換算クラスタ長 ：1,024 バイト"));
    double shares = 0;
    for (int r = 0; r < w.model()->rowCount(); ++r) {
        const double share = w.model()->item(r, 8)->data(Qt::UserRole + 1).toDouble();
        EXPECT_EQ(w.model()->item(r, 8)->text(), formatPercent(share).trimmed());
        shares += share;
    }
    EXPECT_NEAR(shares, 1.0, 1e-9);
    // Wide enough for every column, and the totals under their columns.
    QHeaderView* header = w.table()->horizontalHeader();
    QApplication::processEvents();
    const bool screenFull = w.width() >= w.screen()->availableGeometry().width() * 9 / 10;
    EXPECT_TRUE(header->length() <= w.table()->viewport()->width() + 1 || screenFull) << header->length();
    for (int c = 0; c < header->count(); ++c) {
        EXPECT_EQ(w.totalsTable()->horizontalHeader()->sectionPosition(c), header->sectionPosition(c)) << c;
        EXPECT_EQ(w.totalsTable()->horizontalHeader()->sectionSize(c), header->sectionSize(c)) << c;
    }

    // A header click sorts by that column, and so do Ctrl+1 … Ctrl+9 from
    // the keyboard (again: the other way round).
    w.table()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    EXPECT_EQ(w.model()->item(0, 0)->text(), u8("."));
    EXPECT_EQ(w.model()->item(4, 0)->text(), u8("small"));
    QApplication::setActiveWindow(&w);
    w.table()->setFocus();
    QTest::keyClick(w.table(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QTest::keyClick(w.table(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(w.table()->actions().size(), 9);  // the context menu's sort entries
    w.table()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    // Tab leaves the table rather than walking its cells.
    EXPECT_FALSE(w.table()->tabKeyNavigation());

    // Ctrl+C copies the selected rows under a header line; CSV holds every row.
    w.table()->selectRow(1);
    QTest::keyClick(w.table(), Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 2);
    EXPECT_EQ(copied[0].split(u'\t').size(), 8);
    EXPECT_EQ(copied[0].split(u'\t')[7], u8("増加バイト数"));
    EXPECT_EQ(copied[1].split(u'\t')[0], u8("big"));
    TempTree out;
    const QString csv = QString::fromStdString(out.path("rows.csv"));
    ASSERT_TRUE(w.saveCsv(csv));
    QFile saved(csv);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()).count(u'\n'), 6);

    // A double-click opens the subfolder in the main window and the table
    // follows the new search; Backspace goes back up.
    const QModelIndex big = w.model()->index(1, 0);
    w.table()->doubleClicked(big);
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top() + "/big");
    EXPECT_EQ(w.model()->rowCount(), 2);
    EXPECT_TRUE(w.folderLabel()->text().endsWith(u8("/big")));
    QTest::keyClick(w.table(), Qt::Key_Backspace);
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_EQ(w.model()->rowCount(), 5);
    // Enter opens the selected row as a double-click does.
    w.table()->selectRow(1);
    QTest::keyClick(w.table(), Qt::Key_Return);
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top() + "/big");
    QTest::keyClick(w.table(), Qt::Key_Backspace);
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join(u'|').toStdString();
}

TEST(WindowTools, SearchProgressShowsCountsAndStopsAtOnce)
{
    // A generated tree wide and deep enough that a stop lands inside it.
    WindowRig rig([](const TempTree& t) {
        for (int a = 0; a < 12; ++a) {
            for (int b = 0; b < 12; ++b)
                t.file("top/d" + std::to_string(a) + "/e" + std::to_string(b) + "/f/g.txt", 10);
        }
    });
    MainWindow& f = *rig.form;
    f.show();
    SearchProgressWindow& progress = *f.tools()->progress();
    EXPECT_EQ(progress.windowTitle(), u8("検索中"));
    expectAccessibleNames(&progress);

    // A short search never shows it.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/d0"));
    EXPECT_FALSE(progress.isVisible());

    // Shown at once here (the second's wait taken away) and refreshed at each
    // repaint; Stop is pressed as soon as it shows what is being read.
    progress.showAfter = std::chrono::milliseconds(0);
    f.search().paintInterval = std::chrono::milliseconds(0);
    QString readingShown;
    QString foldersShown;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, &f, [&] {
        if (!progress.isVisible() || !f.search().isSearching() || !readingShown.isEmpty())
            return;
        readingShown = progress.folderLabel()->toolTip();
        foldersShown = progress.foldersLabel()->text();
        QTest::mouseClick(progress.stopButton(), Qt::LeftButton);
    });
    poll.start();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    poll.stop();
    EXPECT_TRUE(readingShown.startsWith(QString::fromStdString(rig.top()))) << readingShown.toStdString();
    EXPECT_FALSE(foldersShown.isEmpty());
    // Each figure is heard as shown, with its caption as its label.
    EXPECT_EQ(captionsOf(progress.foldersLabel()), QStringList{u8("ホルダ数 ：")});
    EXPECT_EQ(captionsOf(progress.filesLabel()), QStringList{u8("ファイル数 ：")});
    EXPECT_EQ(QAccessible::queryAccessibleInterface(progress.foldersLabel())->text(QAccessible::Name),
              progress.foldersLabel()->text());

    // Stopped: no subtree is shown as the answer, the window says what was
    // counted and that the search was stopped, and stays until closed.
    const SearchResult& r = f.search().result();
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.subtree);
    ASSERT_TRUE(r.countedBeforeStop);
    EXPECT_LT(r.countedBeforeStop->folders, 12 + 12 * 12 * 2);
    for (Box n : {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes,
                  Box::ConvertClusters, Box::ConvertBytes})
        EXPECT_EQ(rig.box(n), QStringLiteral("- ")) << n;
    EXPECT_EQ(f.form().treeClusterCount, 0);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.statusLabel()->isVisible());
    EXPECT_EQ(progress.statusLabel()->text(), u8("検索を中止しました。中止までに数えたもの ："));
    EXPECT_EQ(progress.foldersLabel()->text(), QString::number(r.countedBeforeStop->folders));
    EXPECT_EQ(progress.stopButton()->text(), u8("閉じる"));
    // It reads no folder any more: the caption names the searched one.
    EXPECT_EQ(captionsOf(progress.folderLabel()), QStringList{u8("ホルダ ：")});
    f.tools()->showBreakdown();
    EXPECT_EQ(f.tools()->breakdown()->model()->rowCount(), 0);
    QTest::keyClick(&progress, Qt::Key_Escape);
    EXPECT_FALSE(progress.isVisible());

    // Not stopped, it closes by itself and the whole tree is counted.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    EXPECT_FALSE(progress.isVisible());
    EXPECT_FALSE(f.search().result().stopped);
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral(" 300 "));
    EXPECT_EQ(f.tools()->breakdown()->model()->rowCount(), 13);

    // While a message box waits for its answer, 中止 says to answer it first
    // (the click itself is held back); answered, the note goes.
    progress.searchStarted();
    progress.show();
    QMessageBox box;
    QString said;
    QTimer::singleShot(0, &box, [&] {
        QTest::mouseClick(progress.stopButton(), Qt::LeftButton);
        said = progress.statusLabel()->isVisible() ? progress.statusLabel()->text() : QString();
        box.accept();
    });
    runModalBox(box);
    EXPECT_EQ(said, u8("先にメッセージに答えてください。答えると中止できます。"));
    EXPECT_FALSE(f.search().isSearching());
    progress.searchFinished();
}

TEST(WindowTools, SearchLogAndRefreshWorkFromEveryWindowAndToolWindowsOpenBeside)
{
    WindowRig rig(breakdownTree);
    MainWindow& f = *rig.form;
    f.show();
    // The log of the last search at any time, from the tools menu, also
    // before any search (empty) and after its summary box has gone.
    EXPECT_EQ(f.logEntry()->text(), u8("検索ログ(&G)"));
    EXPECT_EQ(f.tools()->menu()->actions().indexOf(f.logEntry()), f.tools()->menu()->actions().indexOf(f.refreshEntry()) - 1);
    f.logEntry()->trigger();
    auto* log = f.findChild<SearchLogWindow*>();
    ASSERT_TRUE(log && log->isVisible());
    EXPECT_EQ(log->table()->rowCount(), 0);

    // A long path shows its end, its middle elided, and whole as a tooltip.
    std::string deep = "top/deep";
    for (int level = 0; level < 16; ++level)
        deep += "/a_rather_long_folder_name_" + std::to_string(level);
    rig.tree.file(deep + "/x.txt", 1);
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    f.logEntry()->trigger();
    ASSERT_GE(log->table()->rowCount(), 1);
    EXPECT_FALSE(log->table()->wordWrap());
    EXPECT_EQ(log->table()->textElideMode(), Qt::ElideMiddle);
    EXPECT_TRUE(log->table()->item(0, 1)->toolTip().endsWith(u8("a_rather_long_folder_name_14")));
    rig.messages.clear();

    // F5 from a tool window reads the open folder again.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    f.tools()->showBreakdown();
    rig.tree.file("top/later.txt", 1);
    QApplication::setActiveWindow(f.tools()->breakdown());
    f.tools()->breakdown()->table()->setFocus();
    QTest::keyClick(f.tools()->breakdown()->table(), Qt::Key_F5);
    rig.settle();
    EXPECT_EQ(f.fileListBox()->count(), 2);  // own.txt and later.txt
    QApplication::setActiveWindow(log);
    rig.tree.file("top/latest.txt", 1);
    QTest::keyClick(log->table(), Qt::Key_F5);
    rig.settle();
    EXPECT_EQ(f.fileListBox()->count(), 3);

    // Beside the main window where the screen has room, never on top of it.
    const QRect screen = f.screen()->availableGeometry();
    QWidget tool;
    tool.resize(200, 150);
    for (const QPoint at : {QPoint(screen.left(), screen.top()), QPoint(screen.right() - 300, screen.top()),
                            QPoint(screen.left(), screen.bottom() - f.frameGeometry().height())}) {
        f.move(at);
        placeBeside(&tool, &f);
        EXPECT_FALSE(QRect(tool.pos(), tool.size()).intersects(f.frameGeometry()))
            << at.x() << ',' << at.y() << " -> " << tool.pos().x() << ',' << tool.pos().y();
        EXPECT_TRUE(screen.contains(QRect(tool.pos(), tool.size())));
    }
    // Too large for any side: made smaller beside it rather than put on it.
    f.move(screen.topLeft());
    tool.resize(screen.width(), screen.height() / 2);
    placeBeside(&tool, &f);
    EXPECT_FALSE(QRect(tool.pos(), tool.size()).intersects(f.frameGeometry()));
    EXPECT_LT(tool.width(), screen.width());
}

namespace {

// Runs the dialog's check on target and waits for its answer.
bool examined(CopyCheckDialog& dialog, const std::string& target)
{
    dialog.setTarget(target);
    QSignalSpy done(&dialog, &CopyCheckDialog::finished);
    dialog.examine();
    return done.wait(60000);
}

std::set<std::pair<QString, QString>> blockedShown(const CopyCheckDialog& d)
{
    std::set<std::pair<QString, QString>> shown;
    for (int row = 0; row < d.blockedTable()->rowCount(); ++row)
        shown.insert({d.blockedTable()->item(row, 0)->text(), d.blockedTable()->item(row, 1)->text()});
    return shown;
}

}  // namespace

TEST(WindowTools, CopyCheckGivesTheReportsAnswerOnFatAndTmpfs)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/a/big", 4LL << 30);
        t.file("top/a/x:y", 1);
        t.file("top/b/Name", 1);
        t.file("top/b/name", 1);
        std::filesystem::create_symlink("a", t.path("top/link"));
        // A copy makes one file of each link: both count, as in the report.
        t.file("top/c/one", 5000);
        std::filesystem::create_hard_link(t.path("top/c/one"), t.path("top/c/two"));
    });
    MainWindow& f = *rig.form;
    f.show();
    f.tools()->showCopyCheck();
    CopyCheckDialog& d = *f.tools()->copyCheck();

    TempTree images;
    const std::string image = images.path("target.img");
    if (runTool({"mkfs.fat", "-F", "16", "-s", "4", "-S", "512", "-C", image, "16384"}).status != 0)
        GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
    std::string why;
    const auto fat = TestMount::fusefat(image, why);
    if (!fat)
        GTEST_SKIP() << why;

    const auto expectReportsAnswer = [&](const QJsonObject& t) {
        const auto number = [](const char* key, const QJsonObject& o) {
            return formatNumber(o[QLatin1String(key)].toInteger(), NumberPattern::Plain);
        };
        EXPECT_EQ(d.answerLabel(CopyCheckDialog::Needed)->text(), number("needed_bytes", t));
        EXPECT_EQ(d.answerLabel(CopyCheckDialog::Free)->text(), number("free_bytes", t));
        EXPECT_EQ(d.answerLabel(CopyCheckDialog::ClusterLength)->text(), number("cluster_length", t));
        const long long margin = t["free_bytes"].toInteger() - t["needed_bytes"].toInteger();
        if (t["fits"].toBool()) {
            EXPECT_EQ(d.answerLabel(CopyCheckDialog::Verdict)->text(), u8("入ります"));
            EXPECT_EQ(d.answerLabel(CopyCheckDialog::Margin)->text(),
                      u8("余裕 %1 バイト").arg(formatNumber(margin, NumberPattern::Plain)));
        } else {
            EXPECT_EQ(d.answerLabel(CopyCheckDialog::Verdict)->text(), u8("入りません"));
            EXPECT_EQ(d.answerLabel(CopyCheckDialog::Margin)->text(),
                      u8("不足 %1 バイト").arg(formatNumber(-margin, NumberPattern::Plain)));
        }
    };

    ASSERT_TRUE(examined(d, fat->path()));
    const QJsonObject onFat = report({"--json", "--target", fat->path(), rig.top()})["target"].toObject();
    expectReportsAnswer(onFat);
    // A screen reader hears each answer with its caption, and the lists by theirs.
    for (const auto& [row, caption] : {std::pair{CopyCheckDialog::Verdict, "判定 ："},
                                       std::pair{CopyCheckDialog::Needed, "必要なバイト数 ："}}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(d.answerLabel(row));
        EXPECT_EQ(a->text(QAccessible::Name), d.answerLabel(row)->text());
        EXPECT_EQ(captionsOf(d.answerLabel(row)), QStringList{u8(caption)});
    }
    EXPECT_EQ(captionsOf(d.targetBox()), QStringList{u8("コピー先 ：")});
    EXPECT_EQ(QAccessible::queryAccessibleInterface(d.blockedTable())->text(QAccessible::Name),
              u8("FAT にコピーできないもの ："));
    // The target's file system and the rule its tables were counted by.
    EXPECT_EQ(d.answerLabel(CopyCheckDialog::FileSystem)->text(), "FAT16");
    EXPECT_EQ(d.answerLabel(CopyCheckDialog::CountedBy)->text(),
              u8("fusefat：全ての名前に長い名前。コピー先のホルダに加わるエントリは数えていません"));
    std::map<QString, QString> reasons;
    for (const BlockReason r : {BlockReason::FileTooLarge, BlockReason::ForbiddenCharacter,
                                BlockReason::TrailingDotOrSpace, BlockReason::CaseCollision, BlockReason::SymbolicLink,
                                BlockReason::SpecialFile})
        reasons[QString::fromUtf8(report_text::reasonKey(r))] = tool_text::blockReason(r);
    std::set<std::pair<QString, QString>> expected;
    for (const QJsonValue& b : onFat["blocked"].toArray())
        expected.insert({b["path"].toString(), reasons.at(b["reason"].toString())});
    EXPECT_EQ(expected.size(), 4u);
    EXPECT_EQ(blockedShown(d), expected);
    d.blockedTable()->selectAll();
    EXPECT_EQ(d.selectedBlockedText().count(u'\n'), 5);
    // What runs out, in words: the bytes, and FAT's largest file.
    const QString runsOut = d.answerLabel(CopyCheckDialog::RunsOut)->text();
    EXPECT_TRUE(runsOut.startsWith(u8("バイト数（必要 %1、残り ").arg(formatNumber(onFat["needed_bytes"].toInteger(), NumberPattern::Plain))))
        << runsOut.toStdString();
    EXPECT_TRUE(runsOut.endsWith(u8("、ファイルの大きさ（「a/big」が 4,294,967,296 バイト、上限 4,294,967,295 バイト）")))
        << runsOut.toStdString();

    // On tmpfs nothing is blocked; the drive is not of the FAT family.
    const auto tmpfs = TestMount::tmpfs("size=64m", why);
    if (!tmpfs)
        GTEST_SKIP() << why;
    // Opened again, the dialog lists the drive mounted meanwhile.
    EXPECT_LT(d.targetBox()->findData(QByteArray::fromStdString(tmpfs->path())), 0);
    f.tools()->showCopyCheck();
    EXPECT_GE(d.targetBox()->findData(QByteArray::fromStdString(tmpfs->path())), 0);
    ASSERT_TRUE(examined(d, fat->path()));
    rig.tree.file("top/a/big", 1);
    // Another target: the answer for the first one goes.
    d.setTarget(tmpfs->path());
    EXPECT_TRUE(d.answerLabel(CopyCheckDialog::Needed)->text().isEmpty());
    EXPECT_EQ(d.blockedTable()->rowCount(), 0);
    ASSERT_TRUE(examined(d, tmpfs->path()));
    const QJsonObject onTmpfs = report({"--json", "--target", tmpfs->path(), rig.top()})["target"].toObject();
    expectReportsAnswer(onTmpfs);
    EXPECT_EQ(d.answerLabel(CopyCheckDialog::RunsOut)->text(), u8("なし"));
    EXPECT_EQ(d.answerLabel(CopyCheckDialog::Entries)->text(),
              u8("%1 個（空き i ノード %2 個）")
                  .arg(formatNumber(onTmpfs["needed_inodes"].toInteger(), NumberPattern::Plain),
                       formatNumber(onTmpfs["free_inodes"].toInteger(), NumberPattern::Plain)));
    EXPECT_EQ(d.blockedTable()->rowCount(), 0);
    EXPECT_TRUE(d.statusLabel()->text().contains(u8("FAT 系ではない")));
    // Another target: the answer, which was for tmpfs, is gone.
    d.setTarget(fat->path());
    EXPECT_TRUE(d.answerLabel(CopyCheckDialog::Verdict)->text().isEmpty());
    EXPECT_TRUE(d.statusLabel()->text().isEmpty());

    // Stopped at once: no answer arrives later, the dialog says so.
    d.setTarget(tmpfs->path());
    d.examine();
    EXPECT_TRUE(d.isRunning());
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isRunning());
    EXPECT_TRUE(d.isVisible());
    QTest::qWait(300);
    EXPECT_TRUE(d.answerLabel(CopyCheckDialog::Needed)->text().isEmpty());
    EXPECT_EQ(d.statusLabel()->text(), u8("中止しました"));
    EXPECT_TRUE(d.examineButton()->isEnabled());
}

// "クラスタ長の比較" gives --lengths' figures, in its table and its chart,
// each bar named by its length and bytes; Esc stops a walk.
TEST(WindowTools, LengthsWindowHasTheReportsFiguresAndNamesEachBar)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/a/Long photo name 0001.jpg", 70000);
        t.file("top/a/readme.txt", 10);
        t.file("top/b/日本語.txt", 0);
        t.folder("top/empty");
    });
    MainWindow& f = *rig.form;
    f.show();
    ToolWindows& tools = *f.tools();
    EXPECT_EQ(tools.lengthsEntry()->text(), u8("クラスタ長の比較(&L)..."));
    ASSERT_TRUE(contextMenuOn(f, rig.top()));
    contextEntry(f, "contextLengths")->trigger();
    LengthsWindow& w = *tools.lengths();
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), u8("クラスタ長の比較"));
    EXPECT_EQ(w.folder(), rig.top());
    QSignalSpy done(&w, &LengthsWindow::finished);
    w.examine();
    ASSERT_TRUE(done.wait(60000));
    expectAccessibleNames(&w);

    const QJsonArray lengths = report({"--json", "--lengths", rig.top()})["lengths"].toArray();
    ASSERT_EQ(lengths.size(), w.table()->rowCount());
    const auto shown = [](const QJsonValue& v) {
        return v.isNull() ? QStringLiteral("-") : formatNumber(v.toInteger(), NumberPattern::Plain);
    };
    for (int row = 0; row < lengths.size(); ++row) {
        const QJsonObject l = lengths[row].toObject();
        EXPECT_EQ(w.table()->item(row, 0)->text(), shown(l["cluster_length"]));
        EXPECT_EQ(w.table()->item(row, 1)->text(), shown(l["fat32_bytes"]));
        EXPECT_EQ(w.table()->item(row, 3)->text(), shown(l["exfat_bytes"]));
        EXPECT_EQ(w.table()->item(row, 4)->text(), QString::number(l["exfat_slack_percent"].toDouble(), 'f', 1));
        EXPECT_EQ(w.chart()->bar(row, true)->accessibleName(),
                  u8("クラスタ長 %1 バイト exFAT ：%2 バイト").arg(shown(l["cluster_length"]), shown(l["exfat_bytes"])));
        EXPECT_EQ(w.chart()->bar(row, false)->isVisible(), !l["fat32_bytes"].isNull());
    }
    // DORVELIX_SCREENSHOT=path saves the window as the README shows it.
    if (const QByteArray shot = qgetenv("DORVELIX_SCREENSHOT"); !shot.isEmpty())
        w.grab().save(QString::fromUtf8(shot));
    w.table()->selectAll();
    EXPECT_EQ(w.selectedText().count(u'\n'), lengths.size() + 1);
    // Which length to format with: the report's advice for the volume size
    // written, in words; a size that is no size says how to write one.
    EXPECT_TRUE(w.adviceLabel()->text().contains(u8("クラスタ長 512 バイトで最も少なく")));
    QTest::keyClicks(w.capacityBox(), QStringLiteral("64G"));
    const QJsonArray advice = report({"--json", "--lengths", "--capacity", "64G", rig.top()})["advice"].toArray();
    ASSERT_EQ(advice.size(), 2);
    const QStringList lines = w.adviceLabel()->text().split(u'\n');
    ASSERT_EQ(lines.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject a = advice[i].toObject();
        EXPECT_TRUE(lines[i].startsWith(a["file_system"].toString() + u8("：クラスタ長 %1 バイトで最も少なく %2 バイト")
                                            .arg(shown(a["least_cluster_length"]), shown(a["least_bytes"]))))
            << lines[i].toStdString();
        EXPECT_TRUE(lines[i].contains(shown(a["extra_bytes"]) + u8(" バイト多い")));
        EXPECT_TRUE(lines[i].endsWith(a["command"].toString()));
    }
    expectAccessibleNames(&w);
    EXPECT_EQ(captionsOf(w.adviceLabel()), QStringList{u8("勧めるクラスタ長 ：")});
    EXPECT_EQ(captionsOf(w.capacityBox()), QStringList{u8("ボリュームの容量 ：")});
    QTest::keyClicks(w.capacityBox(), QStringLiteral("x"));
    EXPECT_EQ(w.adviceLabel()->text(), u8("容量は 64G や 500000000 のように書いてください"));

    w.examine();
    EXPECT_TRUE(w.isRunning());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isRunning());
    EXPECT_EQ(w.statusLabel()->text(), u8("中止しました"));
}

// A search of a volume whose driver stops answering in the middle: the window
// goes on running its timers and input while the walk waits, 中止 ends the
// search at once, and without it the drive is given up after the walk's
// stall limit with one error 71.
TEST(WindowTools, ASearchWaitingOnAStoppedDriveStaysResponsive)
{
    TempTree images;
    std::string why;
    const std::string image = wideFatImage(images, why);
    if (image.empty())
        GTEST_SKIP() << why;
    for (const bool pressStop : {true, false}) {
        SCOPED_TRACE(pressStop);
        // Mounted outside the window's tree, which is removed first.
        const auto mount = TestMount::fusefat(image, why);
        if (!mount)
            GTEST_SKIP() << why;
        WindowRig rig([&](const TempTree&) { (void)::chdir(mount->path().c_str()); }, true, false);
        MainWindow& f = *rig.form;
        f.show();
        f.search().stallLimit = std::chrono::milliseconds(1500);
        SearchProgressWindow& progress = *f.tools()->progress();
        progress.showAfter = std::chrono::milliseconds(0);
        QElapsedTimer sinceStop, sincePress;
        int ticksWhileStopped = 0;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &f, [&] {
            if (!f.search().isSearching())
                return;
            if (!sinceStop.isValid()) {
                if (f.search().currentFolder().starts_with(mount->path() + "/")) {
                    mount->stopDriver(std::chrono::seconds(60));
                    sinceStop.start();
                }
                return;
            }
            ++ticksWhileStopped;
            if (pressStop && !sincePress.isValid() && sinceStop.elapsed() > 300) {
                sincePress.start();
                QTest::mouseClick(progress.stopButton(), Qt::LeftButton);
            }
        });
        poll.start();
        ASSERT_TRUE(rig.doubleClickFolder(mount->path() + "/")) << f.search().searchedFolder();
        poll.stop();
        ASSERT_TRUE(sinceStop.isValid()) << "the search ended before the driver stopped";
        // Events run at each repaint, every 50 ms, while the walk waits.
        EXPECT_GE(ticksWhileStopped, pressStop ? 4 : 20);
        if (pressStop) {
            ASSERT_TRUE(sincePress.isValid());
            EXPECT_LT(sincePress.elapsed(), 500);
            EXPECT_TRUE(f.search().result().stopped);
            EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join(u'|').toStdString();
        } else {
            EXPECT_LT(sinceStop.elapsed(), 4000);
            EXPECT_FALSE(f.search().result().stopped);
            ASSERT_EQ(rig.messages.size(), 1);
            EXPECT_TRUE(rig.messages[0].contains(u8("ディスクが準備されていません。"))) << rig.messages[0].toStdString();
        }
    }
}

// The tables' one copy and CSV: fields quoted only where a spreadsheet needs
// it, the selected rows in the order shown whatever the order of selection,
// the copied columns and role as asked, and a file that cannot be written
// reported, not half written.
TEST(WindowTools, RowTablesCopyAndSaveAsASpreadsheetReadsThem)
{
    dorvelix::testing::qtApp();
    QStandardItemModel model(3, 3);
    model.setHorizontalHeaderLabels({u8("名前"), QStringLiteral("a,b"), QStringLiteral("shown only")});
    const QStringList names{QStringLiteral("plain"), QStringLiteral("say \"hi\""), QStringLiteral("two\nlines")};
    for (int row = 0; row < 3; ++row) {
        model.setItem(row, 0, new QStandardItem(names[row]));
        auto* figure = new QStandardItem(QStringLiteral("1,00%1").arg(row));
        figure->setData(1000 + row, Qt::UserRole);
        model.setItem(row, 1, figure);
        model.setItem(row, 2, new QStandardItem(QStringLiteral("x")));
    }
    EXPECT_EQ(row_table::csvOf(model, {2, Qt::DisplayRole}),
              u8("名前,\"a,b\"\nplain,\"1,000\"\n\"say \"\"hi\"\"\",\"1,001\"\n\"two\nlines\",\"1,002\"\n"));

    QTableView view;
    view.setModel(&model);
    row_table::setUp(&view, {2, Qt::UserRole});
    view.selectionModel()->select(model.index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.selectionModel()->select(model.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(row_table::copiedRows(view, {2, Qt::UserRole}), u8("名前\ta,b\n\t1000\n\t1002\n"));
    view.clearSelection();
    EXPECT_EQ(row_table::copiedRows(view), QString());
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);

    TempTree out;
    const std::string folder = out.folder("shut");
    ::chmod(folder.c_str(), 0500);
    const QString blocked = QString::fromStdString(folder + "/rows.csv");
    const bool refused = !row_table::saveText(blocked, QStringLiteral("x"));
    ::chmod(folder.c_str(), 0700);
    if (::geteuid() != 0) {
        EXPECT_TRUE(refused);
        EXPECT_FALSE(QFile::exists(blocked));
    }
    EXPECT_FALSE(row_table::saveText(QString::fromStdString(out.path("none/rows.csv")), QStringLiteral("x")));
}
