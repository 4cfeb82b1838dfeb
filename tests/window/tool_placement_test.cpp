// Where the tool windows open and how wide: beside the main window where
// the screen has room, never stacked on one spot; and on screens of
// 1280×1024 and 1920×1080, at each of the main window's sizes and in both
// languages, every column header of every tool window shown whole without
// covering the folder panel's figures, after a search and after the next,
// and kept where it was when opened again.
#include "tool_rig.h"

#include "breakdown_columns.h"
#include "column_fit.h"
#include "lengths_window.h"

#include <QScrollBar>
#include <cstdio>
#include <optional>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// The folder panel's figures, on the screen.
QRect folderFigures(const MainWindow& f)
{
    QRect figures;
    for (const BoxDesign& d : BoxDesigns) {
        if (d.folderPanel)
            figures |= QRect(f.valueBox(d.box)->mapToGlobal(QPoint(0, 0)), f.valueBox(d.box)->size());
    }
    return figures;
}

// What keeps window from being read: off the screen, over the figures, a
// column header cut or out of view (where the table cannot show them all:
// the name column and keys, the columns the window is about).
QStringList unread(QWidget* window, QTableView* table, const QRect& room, const QRect& figures,
                   const std::vector<int>& keys = {})
{
    QStringList faults;
    const QRect at = window->frameGeometry();
    if (!room.contains(at))
        faults << QStringLiteral("off the screen");
    if (at.intersects(figures))
        faults << QStringLiteral("over the figures");
    const QHeaderView* header = table->horizontalHeader();
    const bool all = columnsWidth(*table) <= table->width();
    for (int c = 0; c < header->count(); ++c) {
        if (!all && c > 0 && std::find(keys.begin(), keys.end(), c) == keys.end())
            continue;
        const int x = header->sectionViewportPosition(c);
        if (x < 0 || x + header->sectionSize(c) > header->viewport()->width()
            || header->sectionSize(c) < header->sectionSizeHint(c))
            faults << QStringLiteral("column %1 cut").arg(c);
    }
    // Measured, for the record.
    std::printf("  %-15s %4dx%-4d at %4d,%-4d all columns %s %s\n", qPrintable(window->objectName()), at.width(),
                at.height(), at.x(), at.y(), all ? "shown" : "not all (keys shown)", qPrintable(faults.join(u", ")));
    return faults;
}

}  // namespace

TEST(ToolPlacement, EveryHeaderShownAndTheFiguresUncoveredOnEachScreen)
{
    for (const bool english : {false, true}) {
        std::optional<EnglishTexts> inEnglish;
        if (english)
            inEnglish.emplace();
        TempTree out;
        WindowRig rig([](const TempTree& t) {
            breakdownTree(t);
            t.file("top/a folder with a rather long name of its own/e.bin", 5000);
        });
        MainWindow& f = *rig.form;
        ToolWindows& tools = *f.tools();
        const QString scan = QString::fromStdString(out.path("scan.json"));
        for (const QSize screen : {QSize(1280, 1024), QSize(1920, 1080)}) {
            const QRect room(QPoint(0, 0), screen);
            placeWithin(room);
            for (int size = 0; size < 3; ++size) {
                f.screenSizeEntry(size)->trigger();
                // Centred as on that screen: across, and a quarter of the free height down.
                f.move((screen.width() - f.frameGeometry().width()) / 2,
                       (screen.height() - f.frameGeometry().height()) / 4);
                f.show();
                std::printf("%s %dx%d size %d\n", english ? "en" : "ja", screen.width(), screen.height(), size + 1);
                for (int search = 0; search < 2; ++search) {
                    SCOPED_TRACE(QStringLiteral("%1 %2x%3 size %4 search %5")
                                     .arg(english ? u"en" : u"ja")
                                     .arg(screen.width())
                                     .arg(screen.height())
                                     .arg(size + 1)
                                     .arg(search + 1)
                                     .toStdString());
                    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
                    tools.showBreakdown();
                    BreakdownWindow& breakdown = *tools.breakdown();
                    if (search == 0)
                        ASSERT_TRUE(breakdown.saveScan(scan));
                    else
                        ASSERT_TRUE(breakdown.compareWithScan(scan));
                    tools.showCopyCheck();
                    tools.showLengths();
                    QSignalSpy done(tools.lengths(), &LengthsWindow::finished);
                    tools.lengths()->examine();
                    ASSERT_TRUE(done.wait(60000));
                    f.logEntry()->trigger();
                    const QRect figures = folderFigures(f);
                    EXPECT_EQ(unread(&breakdown, breakdown.table(), room, figures, {dorvelix::breakdown::ShareColumn}),
                              QStringList());
                    EXPECT_EQ(unread(tools.copyCheck(), tools.copyCheck()->findChild<QTableView*>(u"blocked"_qs), room,
                                     figures),
                              QStringList());
                    EXPECT_EQ(unread(tools.lengths(), tools.lengths()->table(), room, figures, {1, 3}), QStringList());
                    auto* log = f.findChild<SearchLogWindow*>();
                    EXPECT_EQ(unread(log, log->table(), room, figures), QStringList());
                    // Where they must overlap, no two open on one spot.
                    std::set<std::pair<int, int>> corners;
                    for (const QWidget* w : {static_cast<QWidget*>(&breakdown), static_cast<QWidget*>(tools.copyCheck()),
                                             static_cast<QWidget*>(tools.lengths()), static_cast<QWidget*>(log)})
                        EXPECT_TRUE(corners.insert({w->x(), w->y()}).second) << w->windowTitle().toStdString();
                    if (search == 1)
                        EXPECT_EQ(unread(breakdown.comparison(), breakdown.comparison()->table(), room, figures, {4}),
                                  QStringList());
                    rig.tree.file("top/small/more.bin", 100000);
                }
                // Closed and opened again: where it was, as large.
                BreakdownWindow* breakdown = tools.breakdown();
                const QRect was = breakdown->geometry();
                breakdown->close();
                tools.showBreakdown();
                EXPECT_EQ(breakdown->geometry(), was);
                // Every kind opens anew for the next screen and size.
                delete tools.breakdown();
                delete tools.copyCheck();
                delete tools.lengths();
                delete f.findChild<SearchLogWindow*>();
                std::remove(rig.tree.path("top/small/more.bin").c_str());
            }
        }
        placeWithin({});
    }
}

TEST(ToolPlacement, BesideTheMainWindowAndNeverOnOneSpot)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.show();
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
    // Tool windows of the main window do not stack on one spot: each new
    // one goes below (or beside) those already open on that side.
    f.move(screen.topLeft());
    std::vector<std::unique_ptr<QDialog>> tools;
    for (int i = 0; i < 3; ++i) {
        tools.push_back(std::make_unique<QDialog>(&f));
        tools.back()->resize(160, 90);
        placeBeside(tools.back().get(), &f);
        tools.back()->show();
        EXPECT_FALSE(tools.back()->frameGeometry().intersects(f.frameGeometry())) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(tools[size_t(j)]->frameGeometry().intersects(tools.back()->frameGeometry())) << j << ' ' << i;
    }
    tools.clear();
    // Too large for any side: over the main window, off its folder panel's
    // figures, made narrower where it must be.
    tool.resize(screen.width(), screen.height() / 2);
    placeBeside(&tool, &f);
    EXPECT_FALSE(QRect(tool.pos(), tool.size()).intersects(folderFigures(f)));
    EXPECT_TRUE(screen.contains(QRect(tool.pos(), tool.size())));
    EXPECT_LT(tool.width(), screen.width());
}
