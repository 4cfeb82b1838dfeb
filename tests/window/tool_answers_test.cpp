// The tool windows' answers: the copy check against --target on a FAT image
// and a tmpfs, the cluster length comparison against --lengths, a search
// waiting on a stopped drive, and the tables' copy and save.
#include "tool_rig.h"

using namespace dorvelix;
using namespace dorvelix::testing;

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

    // The answer is heard as it arrives: the focus moves to the verdict.
    QApplication::setActiveWindow(&d);
    ASSERT_TRUE(examined(d, fat->path()));
    EXPECT_EQ(QApplication::focusWidget(), d.answerLabel(CopyCheckDialog::Verdict));
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
    QApplication::setActiveWindow(&w);
    w.examine();
    ASSERT_TRUE(done.wait(60000));
    expectAccessibleNames(&w);
    // The advice is heard as it arrives, the focus on it; Tab leaves the
    // table; the chart's bars are reached by Tab at the first, the arrows
    // move among them.
    EXPECT_EQ(QApplication::focusWidget(), w.adviceLabel());
    EXPECT_FALSE(w.table()->tabKeyNavigation());
    w.chart()->bar(0, true)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), w.chart()->bar(0, false)->isVisible() ? w.chart()->bar(0, false)
                                                                                    : w.chart()->bar(0, true));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), w.chart()->bar(1, false)->isVisible() ? w.chart()->bar(1, false)
                                                                                    : w.chart()->bar(1, true));
    EXPECT_EQ(w.chart()->bar(0, false)->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(w.chart()->bar(1, true)->focusPolicy(), Qt::ClickFocus);

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
    // A screen reader hears a chart of pictures, not fillers.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w.chart())->role(), QAccessible::Chart);
    const QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(w.chart()->bar(0, true));
    EXPECT_EQ(bar->role(), QAccessible::Graphic);
    EXPECT_EQ(bar->text(QAccessible::Name), w.chart()->bar(0, true)->accessibleName());
    // The value axis marks figures as the table writes them, under a title
    // saying the scale is logarithmic; at any width the lengths' labels
    // stand apart, on two rows and then thinned, within the chart.
    LengthsChart& chart = *w.chart();
    EXPECT_EQ(chart.accessibleDescription(), u8("バイト数（対数目盛）"));
    chart.setMinimumSize(0, 0);
    for (const int width : {260, 520, 1000}) {
        chart.resize(width, 300);
        const std::vector<ChartLabel> values = chart.valueLabels(), lengthLabels = chart.lengthLabels();
        ASSERT_GE(values.size(), 2u) << width;
        std::vector<QRect> drawn;
        for (size_t i = 0; i < values.size(); ++i) {
            EXPECT_EQ(formatNumber(QString(values[i].text).remove(u',').toLongLong(), NumberPattern::Plain), values[i].text);
            if (i > 0)
                EXPECT_LT(values[i].rect.bottom(), values[i - 1].rect.top()) << width;  // upwards, apart
            EXPECT_GE(values[i].rect.right(), chart.fontMetrics().horizontalAdvance(values[i].text)) << width;
            drawn.push_back(values[i].rect);
        }
        EXPECT_EQ(lengthLabels.size() == static_cast<size_t>(ComparedLengths), width >= 520) << width;
        EXPECT_GE(lengthLabels.size(), 4u) << width;
        for (const ChartLabel& label : lengthLabels) {
            EXPECT_TRUE(chart.rect().contains(label.rect)) << width << " " << label.text.toStdString();
            EXPECT_GE(label.rect.width(), chart.fontMetrics().horizontalAdvance(label.text));
            EXPECT_GT(label.rect.top(), chart.plotArea().bottom());
            for (const QRect& other : drawn)
                EXPECT_FALSE(label.rect.intersects(other)) << width << " " << label.text.toStdString();
            drawn.push_back(label.rect);
        }
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
