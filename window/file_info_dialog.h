// The file information dialog "ファイル属性": the five facts of the file
// double-clicked in the main window's file list. It is modeless and has no
// owner window; "確認" hides it and keeps it for the next double-click,
// closing it any other way destroys it.
#pragma once

#include "file_info.h"
#include "form_state.h"
#include "lists.h"
#include "window_services.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace dorvelix {

class Form2 : public QDialog {
public:
    // Builds the dialog with its controls placed in twips converted at dpi
    // (logical dots per inch); 0 takes the primary screen's.
    explicit Form2(double dpi = 0);

    int toPixels(int twips) const;

    // Places the dialog a little below and right of the main window's
    // top-left corner: Form1's top + 800 and left + 200 twips.
    void Form_Load(const QPoint& form1TopLeft);

    void setTexts(const FileInfoTexts& texts);

    QPushButton* Command1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;

    // "確認": hides the dialog; its texts stay until the next double-click.
    void Command1_Click();
    // Escape closes the dialog as its close box does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    double dpi_;
};

// The double-click on File1: composes the selected file's facts, creates and
// places the dialog when there is none (form2 holds it between clicks and
// becomes null when the dialog is destroyed), fills it, beeps, and shows it
// modeless in front. form1 is the main window, for the placing.
void File1_DblClick(const FormState& form, const FolderList& dir1, const FileList& file1, WindowServices& window,
                    QPointer<Form2>& form2, const QWidget& form1);

}  // namespace dorvelix
