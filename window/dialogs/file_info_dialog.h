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

class FileInfoDialog : public QDialog {
public:
    // Builds the dialog with its controls placed in twips converted at dpi
    // (logical dots per inch); 0 takes the primary screen's.
    explicit FileInfoDialog(double dpi = 0);

    int toPixels(int twips) const;

    // Places the dialog a little below and right of the main window's
    // top-left corner: MainWindow's top + 800 and left + 200 twips.
    void placeBeside(const QPoint& mainWindowTopLeft);

    void setTexts(const FileInfoTexts& texts);

    QPushButton* confirmButton() const { return confirmButton_; }
    QLabel* pathCaption() const { return pathCaption_; }
    QLabel* lengthCaption() const { return lengthCaption_; }
    QLabel* clustersCaption() const { return clustersCaption_; }
    QLabel* dateCaption() const { return dateCaption_; }
    QLabel* attributesCaption() const { return attributesCaption_; }
    QPlainTextEdit* pathBox() const { return pathBox_; }
    QLineEdit* lengthBox() const { return lengthBox_; }
    QLineEdit* clustersBox() const { return clustersBox_; }
    QLineEdit* dateBox() const { return dateBox_; }
    QLineEdit* attributesBox() const { return attributesBox_; }

    // "確認": hides the dialog; its texts stay until the next double-click.
    void confirm();
    // Escape closes the dialog as its close box does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    double dpi_;
    QPushButton* confirmButton_ = nullptr;
    QLabel* pathCaption_ = nullptr;
    QLabel* lengthCaption_ = nullptr;
    QLabel* clustersCaption_ = nullptr;
    QLabel* dateCaption_ = nullptr;
    QLabel* attributesCaption_ = nullptr;
    QPlainTextEdit* pathBox_ = nullptr;
    QLineEdit* lengthBox_ = nullptr;
    QLineEdit* clustersBox_ = nullptr;
    QLineEdit* dateBox_ = nullptr;
    QLineEdit* attributesBox_ = nullptr;
};

// The double-click on the file list: composes the selected file's facts, creates and
// places the dialog when there is none (fileInfoDialog holds it between clicks and
// becomes null when the dialog is destroyed), fills it, beeps, and shows it
// modeless in front. mainWindow is the main window, for the placing.
void showFileInfo(const FormState& form, const FolderList& openFolders, const FileList& openFiles, WindowServices& window,
                    QPointer<FileInfoDialog>& fileInfoDialog, const QWidget& mainWindow);

}  // namespace dorvelix
