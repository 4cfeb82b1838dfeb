#include "file_info_dialog.h"
#include "qt_app.h"
#include "recording_window.h"
#include "temp_tree.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;

namespace {

void destroyPending()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

TEST(FileInfoDialog, ControlsCaptionsAndLook)
{
    dorvelix::testing::qtApp();
    FileInfoDialog dialog(96);  // 15 twips a pixel
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ファイル属性"));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.parent(), nullptr);
    EXPECT_EQ(dialog.size(), QSize(385, 226));  // 5772 × 3396 twips
    EXPECT_EQ(dialog.confirmButton()->geometry(), QRect(270, 16, 81, 30));
    EXPECT_EQ(dialog.clustersBox()->geometry(), QRect(120, 146, 87, 20));
    EXPECT_LT(dialog.dateBox()->y(), dialog.attributesBox()->y());  // the date row above the attributes
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0, 128, 128));

    const std::pair<QLabel*, const char*> captions[] = {{dialog.pathCaption(), "ホルダー・ファイル名"},
                                                        {dialog.lengthCaption(), "ファイル長："},
                                                        {dialog.clustersCaption(), "占有クラスタ数："},
                                                        {dialog.attributesCaption(), "ファイル属性："},
                                                        {dialog.dateCaption(), "ファイル日付："}};
    for (const auto& [label, caption] : captions) {
        EXPECT_EQ(label->text(), QString::fromUtf8(caption));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        EXPECT_EQ(label->font().family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().pointSizeF(), 10.2);
    }
    EXPECT_EQ(dialog.confirmButton()->text(), QStringLiteral("確認"));
    EXPECT_EQ(dialog.confirmButton()->font().pointSizeF(), 12.0);

    // A screen reader hears each box by its caption.
    const std::pair<QWidget*, const char*> spoken[] = {{dialog.pathBox(), "ホルダー・ファイル名"},
                                                       {dialog.lengthBox(), "ファイル長"},
                                                       {dialog.clustersBox(), "占有クラスタ数"},
                                                       {dialog.attributesBox(), "ファイル属性"},
                                                       {dialog.dateBox(), "ファイル日付"}};
    for (const auto& [box, name] : spoken) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(name));
    }
}

TEST(FileInfoDialog, DoubleClicksCreateFillHideAndRecreateTheDialog)
{
    dorvelix::testing::qtApp();
    TempTree t;
    t.file("a.txt", 1234);
    t.file("b.txt", 10);
    FolderList openFolders;
    openFolders.setPath(t.root());
    FileList openFiles;
    openFiles.setPath(t.root());
    FormState form;
    form.clusterLength = 4096;
    RecordingWindow window;
    QWidget mainWindow;
    mainWindow.move(100, 50);
    const double dpi = mainWindow.logicalDpiY();
    const QPoint offset(static_cast<int>(std::lround(200 * dpi / 1440)),
                        static_cast<int>(std::lround(800 * dpi / 1440)));
    QPointer<FileInfoDialog> fileInfoDialog;

    // The first double-click creates the dialog below and right of MainWindow.
    openFiles.listIndex = 0;
    showFileInfo(form, openFolders, openFiles, window, fileInfoDialog, mainWindow);
    ASSERT_TRUE(fileInfoDialog);
    EXPECT_TRUE(fileInfoDialog->isVisible());
    EXPECT_EQ(fileInfoDialog->pos(), mainWindow.pos() + offset);
    EXPECT_EQ(window.beeps, 1);
    EXPECT_EQ(fileInfoDialog->lengthBox()->text(), QStringLiteral("   1,234 ﾊﾞｲﾄ (4D2H )"));
    EXPECT_TRUE(fileInfoDialog->pathBox()->toPlainText().endsWith(QStringLiteral("/a.txt")));

    // A second one refills the same dialog where it stands, even after the
    // main window has moved.
    FileInfoDialog* first = fileInfoDialog;
    mainWindow.move(300, 200);
    openFiles.listIndex = 1;
    showFileInfo(form, openFolders, openFiles, window, fileInfoDialog, mainWindow);
    EXPECT_EQ(fileInfoDialog.data(), first);
    EXPECT_EQ(fileInfoDialog->pos(), QPoint(100, 50) + offset);
    EXPECT_EQ(window.beeps, 2);
    EXPECT_EQ(fileInfoDialog->lengthBox()->text(), QStringLiteral("   10 ﾊﾞｲﾄ (AH )"));

    // "確認" hides it and keeps it with its texts.
    fileInfoDialog->confirmButton()->click();
    destroyPending();
    ASSERT_TRUE(fileInfoDialog);
    EXPECT_FALSE(fileInfoDialog->isVisible());
    EXPECT_EQ(fileInfoDialog->lengthBox()->text(), QStringLiteral("   10 ﾊﾞｲﾄ (AH )"));
    showFileInfo(form, openFolders, openFiles, window, fileInfoDialog, mainWindow);
    EXPECT_EQ(fileInfoDialog.data(), first);
    EXPECT_TRUE(fileInfoDialog->isVisible());

    // Closing it any other way destroys it; the next double-click makes and
    // places a new one.
    fileInfoDialog->close();
    destroyPending();
    EXPECT_FALSE(fileInfoDialog);
    showFileInfo(form, openFolders, openFiles, window, fileInfoDialog, mainWindow);
    ASSERT_TRUE(fileInfoDialog);
    EXPECT_EQ(fileInfoDialog->pos(), QPoint(300, 200) + offset);

    // Escape closes it like the close box.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(fileInfoDialog, &escape);
    destroyPending();
    EXPECT_FALSE(fileInfoDialog);

    // No selection: the dialog still opens and says so.
    openFiles.listIndex = -1;
    showFileInfo(form, openFolders, openFiles, window, fileInfoDialog, mainWindow);
    ASSERT_TRUE(fileInfoDialog);
    EXPECT_EQ(fileInfoDialog->lengthBox()->text(), QStringLiteral("  ファイルが選択されていません。"));
    EXPECT_FALSE(fileInfoDialog->testAttribute(Qt::WA_QuitOnClose));
    delete fileInfoDialog.data();
}

TEST(FileInfoDialog, AnOpenDialogDoesNotKeepTheProgramRunning)
{
    QApplication& app = dorvelix::testing::qtApp();
    QWidget mainWindow;
    mainWindow.show();
    QPointer<FileInfoDialog> dialog = new FileInfoDialog(96);
    dialog->show();
    // Closing the main window ends the event loop although the dialog is
    // still open; the second timer only stops a loop that would not end.
    QTimer::singleShot(0, &mainWindow, [&] { mainWindow.close(); });
    // Tied to the test's own window, so that it cannot fire in a later case.
    QTimer::singleShot(5000, &mainWindow, [&] { app.exit(7); });
    EXPECT_EQ(app.exec(), 0);
    destroyPending();
    delete dialog.data();  // when the quit has not closed it already
}
