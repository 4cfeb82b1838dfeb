#include "file_info_dialog.h"

#include "accessible_names.h"
#include "controls.h"
#include "ui_text.h"
#include "window_texts.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <cmath>

namespace dorvelix {

namespace {

const QString FontFamily = QStringLiteral("IPAPGothic");

struct Place {
    int left, top, width, height;  // twips
};

// Client area and control places, in twips, top to bottom.
constexpr int ClientWidth = 5772;
constexpr int ClientHeight = 3396;
constexpr Place ConfirmButtonPlace{4056, 240, 1215, 444};
constexpr Place PathCaptionPlace{156, 480, 2076, 312};
constexpr Place PathBoxPlace{120, 930, 5556, 504};
constexpr Place LengthCaptionPlace{96, 1752, 1572, 276};
constexpr Place LengthBoxPlace{1800, 1752, 3852, 300};
constexpr Place ClustersCaptionPlace{96, 2160, 1572, 252};
constexpr Place ClustersBoxPlace{1800, 2184, 1308, 300};
constexpr Place DateCaptionPlace{96, 2544, 1572, 288};
constexpr Place DateBoxPlace{1800, 2568, 3852, 300};
constexpr Place AttributesCaptionPlace{96, 2928, 1572, 276};
constexpr Place AttributesBoxPlace{1800, 2952, 3852, 300};

QFont boldFont(double points)
{
    QFont font(FontFamily);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

FileInfoDialog::FileInfoDialog(double dpi) : QDialog(nullptr), dpi_(dpi)
{
    if (dpi_ <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        dpi_ = screen ? screen->logicalDotsPerInch() : 96.0;
    }
    setObjectName(QStringLiteral("fileInfo"));
    setWindowTitle(uiText(texts::FileInfoTitle));
    setModal(false);
    // Closing it other than by its button destroys it; it never keeps the
    // program running once the main window has closed.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(toPixels(ClientWidth), toPixels(ClientHeight));

    QPalette teal = palette();
    teal.setColor(QPalette::Window, colors::Teal);
    setPalette(teal);
    setAutoFillBackground(true);

    const QFont valueFont = boldFont(10.2);
    const auto place = [this](QWidget* w, const Place& p, const char* name) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(toPixels(p.left), toPixels(p.top), toPixels(p.width), toPixels(p.height));
    };
    const auto label = [&](const QString& caption, const Place& p, const char* name, Qt::Alignment align) {
        auto* l = new QLabel(caption, this);
        place(l, p, name);
        l->setFont(valueFont);
        l->setAlignment(align | Qt::AlignVCenter);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, colors::White);
        l->setPalette(pal);
        return l;
    };
    // A value box is named after its caption, as a screen reader says it.
    const auto valueBox = [&](const char* caption, const Place& p, const char* name, Qt::Alignment align) {
        auto* box = new QLineEdit(this);
        place(box, p, name);
        box->setAccessibleName(bareCaption(caption));
        box->setFont(valueFont);
        box->setReadOnly(true);
        box->setAlignment(align | Qt::AlignVCenter);
        return box;
    };

    confirmButton_ = new QPushButton(uiText(texts::ConfirmButton), this);
    place(confirmButton_, ConfirmButtonPlace, "confirmButton");
    confirmButton_->setFont(boldFont(12));
    confirmButton_->setDefault(true);
    connect(confirmButton_, &QPushButton::clicked, this, &FileInfoDialog::confirm);

    pathCaption_ = label(uiText(texts::PathCaption), PathCaptionPlace, "pathCaption", Qt::AlignLeft);
    pathBox_ = new QPlainTextEdit(this);
    place(pathBox_, PathBoxPlace, "pathBox");
    pathBox_->setAccessibleName(bareCaption(texts::PathCaption));
    pathBox_->setFont(valueFont);
    pathBox_->setReadOnly(true);
    pathBox_->setWordWrapMode(QTextOption::WrapAnywhere);  // paths have no spaces to break at
    pathBox_->setFrameShape(QFrame::Box);

    lengthCaption_ = label(uiText(texts::LengthCaption), LengthCaptionPlace, "lengthCaption", Qt::AlignRight);
    lengthBox_ = valueBox(texts::LengthCaption, LengthBoxPlace, "lengthBox", Qt::AlignLeft);
    clustersCaption_ =
        label(uiText(texts::ClustersCaption), ClustersCaptionPlace, "clustersCaption", Qt::AlignRight);
    clustersBox_ = valueBox(texts::ClustersCaption, ClustersBoxPlace, "clustersBox", Qt::AlignHCenter);
    dateCaption_ = label(uiText(texts::DateCaption), DateCaptionPlace, "dateCaption", Qt::AlignRight);
    dateBox_ = valueBox(texts::DateCaption, DateBoxPlace, "dateBox", Qt::AlignLeft);
    attributesCaption_ =
        label(uiText(texts::AttributesCaption), AttributesCaptionPlace, "attributesCaption", Qt::AlignRight);
    attributesBox_ = valueBox(texts::AttributesCaption, AttributesBoxPlace, "attributesBox", Qt::AlignLeft);
}

int FileInfoDialog::toPixels(int twips) const
{
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

void FileInfoDialog::placeBeside(const QPoint& mainWindowTopLeft)
{
    move(mainWindowTopLeft + QPoint(toPixels(200), toPixels(800)));
}

void FileInfoDialog::setTexts(const FileInfoTexts& texts)
{
    pathBox_->setPlainText(texts.path);
    lengthBox_->setText(texts.length);
    clustersBox_->setText(texts.clusters);
    attributesBox_->setText(texts.attributes);
    dateBox_->setText(texts.date);
    // Show each line's beginning, where the figures start.
    for (QLineEdit* box : {lengthBox_, clustersBox_, attributesBox_, dateBox_})
        box->setCursorPosition(0);
}

void FileInfoDialog::confirm()
{
    hide();
}

void FileInfoDialog::reject()
{
    close();
}

void FileInfoDialog::closeEvent(QCloseEvent* event)
{
    // Accept the close (the dialog's own handling would only hide it); the
    // dialog is then destroyed.
    event->accept();
}

void showFileInfo(const FormState& form, const FolderList& openFolders, const FileList& openFiles, WindowServices& window,
                    QPointer<FileInfoDialog>& fileInfoDialog, const QWidget& mainWindow)
{
    const FileInfoTexts texts = fileInfoTexts(openFolders, openFiles, form.clusterLength);
    if (!fileInfoDialog) {
        fileInfoDialog = new FileInfoDialog(mainWindow.logicalDpiY());
        fileInfoDialog->placeBeside(mainWindow.pos());
    }
    fileInfoDialog->setTexts(texts);
    window.beep();
    fileInfoDialog->show();
    fileInfoDialog->raise();
    fileInfoDialog->activateWindow();
}

}  // namespace dorvelix
