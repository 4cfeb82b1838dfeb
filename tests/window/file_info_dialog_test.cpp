#include "file_info_dialog.h"
#include "qt_app.h"
#include "recording_window.h"
#include "temp_tree.h"

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

TEST(Form2, ControlsCaptionsAndLook)
{
    dorvelix::testing::qtApp();
    Form2 dialog(96);  // 15 twips a pixel
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ファイル属性"));
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.parent(), nullptr);
    EXPECT_EQ(dialog.size(), QSize(385, 226));  // 5772 × 3396 twips
    EXPECT_EQ(dialog.Command1->geometry(), QRect(270, 16, 81, 30));
    EXPECT_EQ(dialog.Text3->geometry(), QRect(120, 146, 87, 20));
    EXPECT_LT(dialog.Text5->y(), dialog.Text4->y());  // the date row above the attributes
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(0, 128, 128));

    const std::pair<QLabel*, const char*> captions[] = {{dialog.Label1, "ホルダー・ファイル名"},
                                                        {dialog.Label2, "ファイル長："},
                                                        {dialog.Label3, "占有クラスタ数："},
                                                        {dialog.Label4, "ファイル属性："},
                                                        {dialog.Label5, "ファイル日付："}};
    for (const auto& [label, caption] : captions) {
        EXPECT_EQ(label->text(), QString::fromUtf8(caption));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 255));
        EXPECT_EQ(label->font().family(), QStringLiteral("IPAPGothic"));
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->font().pointSizeF(), 10.2);
    }
    EXPECT_EQ(dialog.Command1->text(), QStringLiteral("確認"));
    EXPECT_EQ(dialog.Command1->font().pointSizeF(), 12.0);
}

TEST(Form2, DoubleClicksCreateFillHideAndRecreateTheDialog)
{
    dorvelix::testing::qtApp();
    TempTree t;
    t.file("a.txt", 1234);
    t.file("b.txt", 10);
    FolderList dir1;
    dir1.setPath(t.root());
    FileList file1;
    file1.setPath(t.root());
    FormState form;
    form.ClusterLength = 4096;
    RecordingWindow window;
    QWidget form1;
    form1.move(100, 50);
    const double dpi = form1.logicalDpiY();
    const QPoint offset(static_cast<int>(std::lround(200 * dpi / 1440)),
                        static_cast<int>(std::lround(800 * dpi / 1440)));
    QPointer<Form2> form2;

    // The first double-click creates the dialog below and right of Form1.
    file1.listIndex = 0;
    File1_DblClick(form, dir1, file1, window, form2, form1);
    ASSERT_TRUE(form2);
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->pos(), form1.pos() + offset);
    EXPECT_EQ(window.beeps, 1);
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("   1,234 ﾊﾞｲﾄ (4D2H )"));
    EXPECT_TRUE(form2->Text1->toPlainText().endsWith(QStringLiteral("/a.txt")));

    // A second one refills the same dialog where it stands, even after the
    // main window has moved.
    Form2* first = form2;
    form1.move(300, 200);
    file1.listIndex = 1;
    File1_DblClick(form, dir1, file1, window, form2, form1);
    EXPECT_EQ(form2.data(), first);
    EXPECT_EQ(form2->pos(), QPoint(100, 50) + offset);
    EXPECT_EQ(window.beeps, 2);
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("   10 ﾊﾞｲﾄ (AH )"));

    // "確認" hides it and keeps it with its texts.
    form2->Command1->click();
    destroyPending();
    ASSERT_TRUE(form2);
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("   10 ﾊﾞｲﾄ (AH )"));
    File1_DblClick(form, dir1, file1, window, form2, form1);
    EXPECT_EQ(form2.data(), first);
    EXPECT_TRUE(form2->isVisible());

    // Closing it any other way destroys it; the next double-click makes and
    // places a new one.
    form2->close();
    destroyPending();
    EXPECT_FALSE(form2);
    File1_DblClick(form, dir1, file1, window, form2, form1);
    ASSERT_TRUE(form2);
    EXPECT_EQ(form2->pos(), QPoint(300, 200) + offset);

    // Escape closes it like the close box.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(form2, &escape);
    destroyPending();
    EXPECT_FALSE(form2);

    // No selection: the dialog still opens and says so.
    file1.listIndex = -1;
    File1_DblClick(form, dir1, file1, window, form2, form1);
    ASSERT_TRUE(form2);
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("  ファイルが選択されていません。"));
    EXPECT_FALSE(form2->testAttribute(Qt::WA_QuitOnClose));
    delete form2.data();
}

TEST(Form2, AnOpenDialogDoesNotKeepTheProgramRunning)
{
    QApplication& app = dorvelix::testing::qtApp();
    QWidget form1;
    form1.show();
    QPointer<Form2> dialog = new Form2(96);
    dialog->show();
    // Closing the main window ends the event loop although the dialog is
    // still open; the second timer only stops a loop that would not end.
    QTimer::singleShot(0, &form1, [&] { form1.close(); });
    QTimer::singleShot(5000, &app, [&] { app.exit(7); });
    EXPECT_EQ(app.exec(), 0);
    destroyPending();
    delete dialog.data();  // when the quit has not closed it already
}
