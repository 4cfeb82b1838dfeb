#include "file_info_dialog.h"
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

const QColor Teal(0, 128, 128);
const QColor White(255, 255, 255);
const QString FontFamily = QStringLiteral("IPAPGothic");

struct Place {
    int left, top, width, height;  // twips
};

// Client area and control places, in twips.
constexpr int ClientWidth = 5772;
constexpr int ClientHeight = 3396;
constexpr Place Command1Place{4056, 240, 1215, 444};
constexpr Place Label1Place{156, 480, 2076, 312};
constexpr Place Text1Place{120, 930, 5556, 504};
constexpr Place Label2Place{96, 1752, 1572, 276};
constexpr Place Text2Place{1800, 1752, 3852, 300};
constexpr Place Label3Place{96, 2160, 1572, 252};
constexpr Place Text3Place{1800, 2184, 1308, 300};
constexpr Place Label5Place{96, 2544, 1572, 288};
constexpr Place Text5Place{1800, 2568, 3852, 300};
constexpr Place Label4Place{96, 2928, 1572, 276};
constexpr Place Text4Place{1800, 2952, 3852, 300};

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
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(texts::FileInfoTitle));
    setModal(false);
    // Closing it other than by its button destroys it; it never keeps the
    // program running once the main window has closed.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(toPixels(ClientWidth), toPixels(ClientHeight));

    QPalette teal = palette();
    teal.setColor(QPalette::Window, Teal);
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
        pal.setColor(QPalette::WindowText, White);
        l->setPalette(pal);
        return l;
    };
    const auto valueBox = [&](const Place& p, const char* name, Qt::Alignment align) {
        auto* box = new QLineEdit(this);
        place(box, p, name);
        box->setFont(valueFont);
        box->setReadOnly(true);
        box->setAlignment(align | Qt::AlignVCenter);
        return box;
    };

    Command1 = new QPushButton(QString::fromUtf8(texts::ConfirmButton), this);
    place(Command1, Command1Place, "Command1");
    Command1->setFont(boldFont(12));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &FileInfoDialog::confirm);

    Label1 = label(QString::fromUtf8(texts::PathCaption), Label1Place, "Label1", Qt::AlignLeft);
    Text1 = new QPlainTextEdit(this);
    place(Text1, Text1Place, "Text1");
    Text1->setFont(valueFont);
    Text1->setReadOnly(true);
    Text1->setWordWrapMode(QTextOption::WrapAnywhere);  // paths have no spaces to break at
    Text1->setFrameShape(QFrame::Box);

    Label2 = label(QString::fromUtf8(texts::LengthCaption), Label2Place, "Label2", Qt::AlignRight);
    Text2 = valueBox(Text2Place, "Text2", Qt::AlignLeft);
    Label3 = label(QString::fromUtf8(texts::ClustersCaption), Label3Place, "Label3", Qt::AlignRight);
    Text3 = valueBox(Text3Place, "Text3", Qt::AlignHCenter);
    Label5 = label(QString::fromUtf8(texts::DateCaption), Label5Place, "Label5", Qt::AlignRight);
    Text5 = valueBox(Text5Place, "Text5", Qt::AlignLeft);
    Label4 = label(QString::fromUtf8(texts::AttributesCaption), Label4Place, "Label4", Qt::AlignRight);
    Text4 = valueBox(Text4Place, "Text4", Qt::AlignLeft);
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
    Text1->setPlainText(texts.path);
    Text2->setText(texts.length);
    Text3->setText(texts.clusters);
    Text4->setText(texts.attributes);
    Text5->setText(texts.date);
    // Show each line's beginning, where the figures start.
    for (QLineEdit* box : {Text2, Text3, Text4, Text5})
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
