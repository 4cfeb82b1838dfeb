// The tools menu and its windows: the menu and the folder list's context
// menu, the subfolder breakdown against the report's --folders, the search's
// progress window with its Stop, the search log and F5 from every window.
#include "tool_rig.h"

using namespace dorvelix;
using namespace dorvelix::testing;

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

    // A double-click goes into the subfolder with the figures the search
    // kept, without a search: its rows are a fresh search's of it, which the
    // main window runs only when asked. Backspace goes back up.
    const auto rowsShown = [&w] {
        std::vector<std::vector<long long>> rows;
        for (int r = 0; r < w.model()->rowCount(); ++r) {
            rows.push_back({});
            for (int c = 1; c < 8; ++c)
                rows.back().push_back(cellValue(w, r, c));
        }
        return rows;
    };
    const auto topRows = rowsShown();
    struct Searches : SessionObserver {
        int started = 0;
        void searchStarted() override { ++started; }
    } searches;
    f.session().addObserver(&searches);
    const std::uint64_t listings = FolderScan::listingsRead();
    w.table()->doubleClicked(w.model()->index(1, 0));
    EXPECT_EQ(w.shownFolder(), rig.top() + "/big");
    EXPECT_EQ(w.model()->rowCount(), 2);
    EXPECT_TRUE(w.folderLabel()->text().endsWith(u8("/big")));
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_EQ(w.pathBar()->parts().size(), 2);
    EXPECT_EQ(w.pathBar()->parts().last()->accessibleName(), QString::fromStdString(rig.top() + "/big"));
    const auto bigRows = rowsShown();
    QTest::keyClick(w.table(), Qt::Key_Backspace);
    EXPECT_EQ(w.shownFolder(), rig.top());
    EXPECT_EQ(rowsShown(), topRows);
    // Back and forward retrace the steps; the path bar's first part goes up.
    QTest::keyClick(w.table(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(w.shownFolder(), rig.top() + "/big");
    QTest::keyClick(w.table(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(w.shownFolder(), rig.top());
    w.goBack();
    qobject_cast<QToolButton*>(w.pathBar()->parts().first())->click();
    EXPECT_EQ(w.shownFolder(), rig.top());
    EXPECT_EQ(searches.started, 0);
    EXPECT_EQ(FolderScan::listingsRead(), listings);  // no folder read again
    f.session().removeObserver(&searches);
    // Enter goes in as a double-click does; "このホルダを検索" searches the
    // folder shown, whose rows are those the breakdown showed for it.
    const QList<QStandardItem*> bigRow = w.model()->findItems(QStringLiteral("big"));
    ASSERT_EQ(bigRow.size(), 1);
    w.table()->selectRow(bigRow[0]->row());
    QTest::keyClick(w.table(), Qt::Key_Return);
    EXPECT_EQ(w.shownFolder(), rig.top() + "/big");
    w.searchThisFolderButton()->click();
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top() + "/big");
    EXPECT_EQ(w.shownFolder(), rig.top() + "/big");
    EXPECT_EQ(rowsShown(), bigRows);
    // Above the searched folder Backspace searches its parent.
    QTest::keyClick(w.table(), Qt::Key_Backspace);
    rig.settle();
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join(u'|').toStdString();

    // The treemap beside the table shows the folder shown.
    EXPECT_EQ(w.treemap()->folder(), 0u);
    w.goInto(w.model()->findItems(QStringLiteral("big"))[0]->data(Qt::UserRole + 3).value<CountedTree::Index>());
    EXPECT_EQ(w.treemap()->folder(), f.search().result().tree->find(rig.top() + "/big"));
    w.goBack();

    // Saved, then compared after a change: the folder that grew, and the
    // whole, are listed; a file cut short is no saved scan.
    const QString scan = QString::fromStdString(out.path("scan.json"));
    ASSERT_TRUE(w.saveScan(scan));
    rig.tree.file("top/small/more.bin", 100000);
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    ASSERT_TRUE(w.compareWithScan(scan));
    ASSERT_NE(w.comparison(), nullptr);
    QTableWidget* changes = w.comparison()->table();
    ASSERT_EQ(changes->rowCount(), 2);
    EXPECT_EQ(changes->item(0, 0)->text(), QStringLiteral("."));
    EXPECT_EQ(changes->item(1, 0)->text(), QStringLiteral("small"));
    EXPECT_EQ(changes->item(1, 1)->text(), u8("変更"));
    EXPECT_EQ(changes->item(1, 6)->text(), QStringLiteral("2"));
    EXPECT_FALSE(changes->tabKeyNavigation());
    QFile cut(scan);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    cut.close();
    QStringList shown;
    w.showMessage = [&](const QString& text) { shown << text; };
    EXPECT_FALSE(w.compareWithScan(scan));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(u8("途中で終わって"))) << shown[0].toStdString();
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
    // On a busy machine the walk may end between the look and the click:
    // then the search is simply made again, from another folder.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/d0"));
        readingShown.clear();
        poll.start();
        ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
        poll.stop();
        if (f.search().result().stopped)
            break;
    }
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

TEST(WindowTools, SearchLogAndRefreshWorkFromEveryWindow)
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
}
