// The search's message boxes: the first of a kind with a check box that
// silences the rest, one summary, the search log; closing the window while a
// box is up or the walk is deep in a subfolder ends the program at once.
#include "level_table.h"
#include "modal_box.h"
#include "text.h"
#include "search_log_window.h"
#include "mount_rig.h"
#include "window_rig.h"
#include "window_texts.h"

#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::WindowRig;

namespace {

// top/d1/.../d15 with 30 folders in d15, below level 15: 30 warnings.
void deepTree(TempTree& t)
{
    std::string chain = "top";
    for (int i = 1; i <= 15; ++i)
        chain += "/d" + std::to_string(i);
    for (int i = 0; i < 30; ++i)
        t.folder(chain + "/deep" + std::to_string(i));
}

void searchOpenFolder(MainWindow& f)
{
    f.folderListBox()->open(f.folderListBox()->openFolderItem());
    dorvelix::testing::settleSearch(f);
}

}  // namespace

TEST(WindowSearchMessages, OneBoxOfAKindOneSummaryAndTheLogHoldsEveryMessage)
{
    WindowRig rig(deepTree);
    QtWindowServices& services = rig.form->services();
    QStringList boxes;
    bool tick = true;
    services.onSearchMessage = [&](const QString& text) {
        boxes << text;
        return tick;
    };
    const QString warning = QString::fromUtf8(texts::DepthWarning);

    searchOpenFolder(*rig.form);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(warning + CrLf + CrLf));
    EXPECT_EQ(rig.messages, QStringList{QString::fromUtf8(texts::HiddenSummary).arg(29)});
    const SearchLog& log = services.searchLog();
    ASSERT_EQ(log.entries().size(), 30u);
    EXPECT_EQ(log.hiddenCount(), 29);
    EXPECT_EQ(log.entries().front().message.kind(), warning);
    EXPECT_TRUE(log.entries().front().message.path.endsWith(QStringLiteral("/d15/deep0")));
    EXPECT_TRUE(log.entries().front().shown);
    EXPECT_FALSE(log.entries().back().shown);

    // Left unticked, every message is a box and no summary follows; the next
    // search shows the kind again.
    tick = false;
    boxes.clear();
    rig.messages.clear();
    searchOpenFolder(*rig.form);
    EXPECT_EQ(boxes.size(), 30);
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_EQ(log.entries().size(), 30u);
    EXPECT_EQ(log.hiddenCount(), 0);
}

TEST(WindowSearchMessages, RealBoxesKeepInputFromTheWindowAndOpenTheLogToCopy)
{
    WindowRig rig(deepTree);
    MainWindow& f = *rig.form;
    f.services().onMessageBox = nullptr;
    f.show();
    int keysToFolderList = 0;
    QObject::connect(f.folderListBox(), &FolderListBox::keyDown, [&] { ++keysToFolderList; });
    QStringList seen;
    bool windowFree = true;
    bool summaryEscapes = false;
    bool labelsWhole = true;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible() || box->property("answered").toBool())
                continue;
            box->setProperty("answered", true);
            seen << box->text();
            // Nothing blocks the window's close; its input waits for the box.
            windowFree = windowFree && QGuiApplication::modalWindow() == nullptr && openModalBoxes() == 1;
            // The box is as wide as its longest line: nothing is cut off.
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            labelsWhole = labelsWhole && label && label->geometry().right() < box->width();
            QTest::keyClick(f.folderListBox(), Qt::Key_Down);
            if (box->checkBox()) {
                box->checkBox()->setChecked(true);
                box->button(QMessageBox::Ok)->click();
                return;
            }
            // Escape and the box's close answer OK in the summary too.
            summaryEscapes = box->escapeButton() == box->button(QMessageBox::Ok);
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QString::fromUtf8(texts::OpenLogButton))
                    b->click();
            }
            return;
        }
    });
    answer.start();
    searchOpenFolder(f);
    answer.stop();

    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[0].startsWith(QString::fromUtf8(texts::DepthWarning)));
    EXPECT_EQ(seen[1], QString::fromUtf8(texts::HiddenSummary).arg(29));
    EXPECT_TRUE(windowFree);
    EXPECT_TRUE(summaryEscapes);
    EXPECT_TRUE(labelsWhole);
    EXPECT_EQ(keysToFolderList, 0);
    EXPECT_EQ(openModalBoxes(), 0);

    auto* logWindow = f.findChild<SearchLogWindow*>();
    ASSERT_NE(logWindow, nullptr);
    EXPECT_TRUE(logWindow->isVisible());
    EXPECT_EQ(logWindow->windowTitle(), QString::fromUtf8(texts::LogTitle));
    ASSERT_EQ(logWindow->table()->rowCount(), 30);
    logWindow->copyRows(false);
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 30);
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8(texts::DepthWarning) + u'\t' + QString::fromStdString(rig.top())));
    logWindow->table()->selectRow(2);
    logWindow->copyRows(true);
    EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("/deep10\t")));
    EXPECT_EQ(QApplication::clipboard()->text().count(u'\n'), 1);
}

// The probe program opens the window in the tree and closes it when a box
// is up ("box") or while the walk is inside the one top-level subfolder
// ("search"); it prints "closing" first.
TEST(WindowClose, EndsTheProgramWithinASecondDuringABoxAndInsideTheWalk)
{
    for (const char* mode : {"box", "search"}) {
        SCOPED_TRACE(mode);
        TempTree t;
        if (std::string(mode) == "box") {
            deepTree(t);
        } else {
            for (int g = 0; g < 60; ++g) {
                for (int s = 0; s < 50; ++s)
                    t.folder("top/big/g" + std::to_string(g) + "/s" + std::to_string(s));
            }
        }
        QProcess probe;
        probe.setWorkingDirectory(QString::fromStdString(t.path("top")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(DORVELIX_CLOSE_PROBE), {QString::fromLatin1(mode)});
        QByteArray out;
        while (!out.contains("closing") && probe.waitForReadyRead(20000))
            out += probe.readAllStandardOutput();
        if (!out.contains("closing")) {
            probe.waitForFinished(1000);
            FAIL() << "no close; probe status " << probe.exitCode();
        }
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(probe.waitForFinished(5000));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    }
}

// The window closed while its search waits on a FUSE driver that has
// stopped and stays stopped: the process is gone within two seconds.
TEST(WindowClose, EndsWithinTwoSecondsWhileTheDriveItWalksHasStopped)
{
    TempTree t;
    std::string why;
    const auto mount = dorvelix::testing::wideFatMount(t, why);
    if (!mount)
        GTEST_SKIP() << why;
    QProcess probe;
    probe.setWorkingDirectory(QString::fromStdString(mount->path()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(DORVELIX_CLOSE_PROBE), {QStringLiteral("stopped")});
    QByteArray out;
    while (!out.contains("walking") && probe.waitForReadyRead(20000))
        out += probe.readAllStandardOutput();
    ASSERT_TRUE(out.contains("walking")) << "the walk was not caught; probe status " << probe.exitCode();
    mount->stopDriver(std::chrono::seconds(60));
    probe.write("close\n");
    QElapsedTimer clock;
    clock.start();
    const bool ended = probe.waitForFinished(5000);
    const qint64 took = clock.elapsed();
    const bool stillStopped = took < 60000;
    mount->resumeDriver();
    ASSERT_TRUE(ended) << "still running 5 s after the close";
    EXPECT_TRUE(stillStopped);
    EXPECT_LT(took, 2000);
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
}

// Sparse files count by their length: a tree of twenty times the drive needs
// a red part in the usage graph beyond 16 bits. The error the window's
// drawing raises reaches the search on its worker, which ends and says so,
// rather than leaving the worker waiting and the event loop to unwind.
TEST(WindowSearchMessages, AGraphBeyondItsRangeEndsTheSearchWithItsError)
{
    WindowRig rig([](const TempTree& t) { t.file("top/sparse.bin", 20'000LL * 4096); });
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    EXPECT_FALSE(rig.form->session().isSearching());
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].contains(QString::fromUtf8("オーバーフローしました。"))) << rig.messages[0].toStdString();
}
