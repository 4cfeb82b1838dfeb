#include "form1.h"

#include "app_icon.h"
#include "convert_length.h"
#include "modal_box.h"
#include "panel_captions.h"
#include "program_version.h"
#include "runtime_error.h"
#include "text.h"
#include "tool_windows.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QWindow>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace dorvelix {

namespace {

// "DORVELIX  Ver 0.982 2001.3": two spaces after the name.
const QString WindowCaption = QStringLiteral("DORVELIX  Ver %1 %2").arg(QLatin1String(ProgramVersion), QLatin1String(ReleaseMonth));

constexpr int DrivePanelBoxes[] = {1, 13, 2, 3, 9, 4, 6, 35, 36, 5, 7, 8};
constexpr int FolderPanelBoxes[] = {31, 30, 32, 12, 10, 11, 28, 29, 37, 33, 34};

// Value boxes in the proportional face; the others hold figures in the
// fixed-pitch one.
bool proportionalBox(int n)
{
    return n == 1 || n == 12 || n == 13;
}

bool centredBox(int n)
{
    return n == 13 || n == 31;
}

constexpr const char* ClustCaptions[] = {"   128(&0)", "   256(&1)", "   512(&2)", " 1,024(&3)", " 2,048(&4)",
                                         " 4,096(&5)", " 8,192(&6)", "16,384(&7)", "32,768(&8)"};
constexpr const char* GdispCaptions[] = {"大(&L)", "中(&M)", "小(&S)"};
constexpr const char* ComentCaptions[] = {"機能概要(&K)", "使用方法(&S)", "FATについて(&F)", "その他(&E)"};

// Design-time font size; every size is set again by the layout.
constexpr double DesignFontSize = 9.0;
constexpr double MenuFontSize = 9.0;

std::string currentFolderBytes()
{
    std::string buffer(PATH_MAX, '\0');
    if (::getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

}  // namespace

void setMenuCheck(QAction* entry, bool checked)
{
    // Only a checked entry is checkable, so an unchecked one shows no box.
    entry->setCheckable(checked);
    entry->setChecked(checked);
}

Form1::Form1(VolumeQueries& volumes, QWidget* parent)
    : QMainWindow(parent),
      services_(this),
      volumes_(volumes),
      driveQuery_(form_, *this, services_, volumes_)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(WindowCaption);
    setWindowIcon(applicationIcon());
    file1List_.showHidden = true;
    file1List_.showSystem = true;
    createControls();
    createMenus();
    nameControls();
    startOnCurrentFolder();
    installSearch();
    installEvents();
    tools_ = new ToolWindows(*this);
    addRefreshItem();
}

Form1::~Form1()
{
    // The lists' handlers point into this window, and the list widgets into
    // the lists: the widgets go first, while the lists are still there.
    dir1List_.onChange = nullptr;
    delete form2_.data();
    delete takeCentralWidget();
}

void Form1::createControls()
{
    client_ = new ClientArea(this);
    client_->setFont(windowFont(Face::Proportional, DesignFontSize));
    setCentralWidget(client_);

    const auto frame = [this](int n, const QString& caption, QWidget* parent) {
        auto* f = new FrameControl(QStringLiteral("Frame%1").arg(n), caption, parent);
        f->setFont(windowFont(Face::Fixed, DesignFontSize));
        frames_[static_cast<size_t>(n)] = f;
        return f;
    };
    FrameControl* drivePanel = frame(1, QString::fromUtf8(DrivePanelCaption), client_);
    FrameControl* folderPanel = frame(10, QString::fromUtf8(FolderPanelCaption), client_);

    for (const PanelCaption& row : PanelCaptions) {
        QWidget* parent = row.folderPanel ? folderPanel : drivePanel;
        auto* label = new CaptionLabel(QStringLiteral("Label%1").arg(row.label), QString::fromUtf8(row.text),
                                       row.title ? colors::Yellow : colors::White,
                                       (row.title ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop, parent);
        label->setFont(windowFont(Face::Proportional, DesignFontSize));
        labels_[static_cast<size_t>(row.label)] = label;
    }
    // The usage graph's scale captions take the window's own font; the graph
    // places and shows them.
    const char* scale[] = {"0 %", "50 %", "100 %"};
    for (int n = 24; n <= 26; ++n) {
        auto* label = new CaptionLabel(QStringLiteral("Label%1").arg(n), QString::fromUtf8(scale[n - 24]),
                                       colors::White, Qt::AlignHCenter | Qt::AlignTop, drivePanel);
        label->hide();
        labels_[static_cast<size_t>(n)] = label;
    }

    const auto box = [this](int n, QWidget* parent) {
        auto* b = new ValueBox(QStringLiteral("Text%1").arg(n), centredBox(n) ? Qt::AlignHCenter : Qt::AlignRight,
                               parent);
        b->setFont(windowFont(proportionalBox(n) ? Face::Proportional : Face::Fixed, DesignFontSize));
        texts_[static_cast<size_t>(n)] = b;
    };
    for (int n : DrivePanelBoxes)
        box(n, drivePanel);
    for (int n : FolderPanelBoxes)
        box(n, folderPanel);

    picture1_ = new PictureBox(QStringLiteral("Picture1"), colors::White, drivePanel);
    picture2_ = new PictureBox(QStringLiteral("Picture2"), colors::Teal, drivePanel);
    for (int n : {1, 3, 4, 5}) {
        auto* line = new LineControl(QStringLiteral("Line%1").arg(n), colors::Cyan, 2, drivePanel);
        line->hide();
        lines_[static_cast<size_t>(n)] = line;
    }

    drive1_ = new DriveListBox(drivePanel);
    drive1_->setFont(windowFont(Face::Proportional, DesignFontSize));
    QPalette white = drive1_->palette();
    for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
        white.setColor(role, colors::White);
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        white.setColor(role, colors::Black);
    drive1_->setPalette(white);

    dir1_ = new FolderListBox(dir1List_, folderPanel);
    dir1_->setFont(windowFont(Face::Proportional, DesignFontSize));
    file1_ = new FileListBox(file1List_, folderPanel);
    file1_->setFont(windowFont(Face::Proportional, DesignFontSize));

    // The frames of the search's per-level lists (which are plain objects)
    // stand, hidden, beyond the right edge of the client area.
    int k = 0;
    for (int n = 2; n <= 17; ++n) {
        if (n == 10)
            continue;
        FrameControl* f = frame(n, QStringLiteral("Frame%1").arg(n), client_);
        setTwipsGeometry(f, 12120 + k * 360 / 14, 100 + k * 300, 1000, 1000);
        f->hide();
        ++k;
    }
}

void Form1::createMenus()
{
    QMenuBar* bar = menuBar();
    // The menus in the window's Japanese face too, compact enough that the
    // panels fit below them at the small size.
    bar->setFont(windowFont(Face::Proportional, MenuFontSize, false));
    const auto entry = [this](QMenu* menu, const QString& name, int index, const char* caption) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(index));
        a->setProperty("index", index);
        return a;
    };

    QMenu* quit = bar->addMenu(QStringLiteral("終了(&Q)"));
    quit->setObjectName(QStringLiteral("quit"));
    quitItem_[0] = entry(quit, QStringLiteral("quitItem"), 0, "終了(&Q)");
    connect(quitItem_[0], &QAction::triggered, this, [this] { quitItem_Click(0); });

    QMenu* clust = bar->addMenu(QStringLiteral("換算クラスタ長(&C)"));
    clust->setObjectName(QStringLiteral("clustItem0"));
    for (int i = 0; i < 9; ++i) {
        clustItem_[static_cast<size_t>(i)] = entry(clust, QStringLiteral("clustItem"), i, ClustCaptions[i]);
        connect(clustItem_[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { clustItem_Click(i); });
    }

    QMenu* gdisp = bar->addMenu(QStringLiteral("画面の大きさ(&D)"));
    gdisp->setObjectName(QStringLiteral("Gdisp"));
    for (int i = 0; i < 3; ++i) {
        gdispItem_[static_cast<size_t>(i)] = entry(gdisp, QStringLiteral("GdispItem"), i, GdispCaptions[i]);
        connect(gdispItem_[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { GdispItem_Click(i); });
    }

    QMenu* coment = bar->addMenu(QStringLiteral("説明(&S)"));
    coment->setObjectName(QStringLiteral("coment"));
    for (int i = 0; i < 4; ++i) {
        comentItem_[static_cast<size_t>(i)] = entry(coment, QStringLiteral("comentItem"), i, ComentCaptions[i]);
        connect(comentItem_[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { comentItem_Click(i); });
    }

    version_ = bar->addAction(QStringLiteral("バージョン情報(&V)"));
    version_->setObjectName(QStringLiteral("version"));
    connect(version_, &QAction::triggered, this, &Form1::version_Click);

    for (QMenu* menu : {quit, clust, gdisp, coment})
        menu->setFont(bar->font());
}

void Form1::startOnCurrentFolder()
{
    // The lists start on the process's current folder; should it be gone or
    // unreadable, on its drive's root, and failing that on "/".
    const std::string cwd = currentFolderBytes();
    for (const std::string& candidate : {cwd, cwd.empty() ? std::string() : driveOf(cwd), std::string("/")}) {
        if (candidate.empty())
            continue;
        try {
            dir1List_.setPath(candidate);
            break;
        } catch (const RuntimeError&) {
        }
    }
    if (dir1List_.path() != cwd && !dir1List_.path().empty())
        driveFolders_.setCurrentFolder(dir1List_.path());
    try {
        file1List_.setPath(dir1List_.path(), dir1List_.scan());
    } catch (const RuntimeError&) {
    }

    const std::vector<DriveEntry> drives = listDrives();
    const std::string drive = driveOf(dir1List_.path().empty() ? std::string("/") : dir1List_.path());
    int current = drives.empty() ? -1 : 0;
    for (size_t i = 0; i < drives.size(); ++i) {
        if (drives[i].mountPoint == drive)
            current = static_cast<int>(i);
    }
    drive1_->setDrives(drives, current);
    dir1_->refresh();
    file1_->refresh();
}

void Form1::installSearch()
{
    search_ = std::make_unique<FolderSearch>(form_, dir1List_, file1List_, services_, *this);
    // Dir1 shows its new folder before the search of it runs, whoever moved
    // it; File1 shows what the search pointed it at.
    std::function<void()> searchFolder = std::move(dir1List_.onChange);
    dir1List_.onChange = [this, searchFolder] {
        driveFolders_.setCurrentFolder(dir1List_.path());
        dir1_->refresh();
        // Each search keeps its own messages; a request refused because a
        // search runs leaves that search's log alone.
        const bool starts = form_.ShiftDown != True && !search_->isSearching();
        if (starts)
            services_.beginSearch();
        if (searchFolder)
            searchFolder();
        file1_->refresh();
        if (starts)
            services_.endSearch();
    };
    const auto busy = [this] { return search_->isSearching(); };
    dir1_->isBusy = busy;
    drive1_->isBusy = busy;

    connect(dir1_, &FolderListBox::openFailed, this, [this](int number, int cause, const QString& path) {
        services_.messageBox(errorDescription(number, cause) + CrLf + path);
    });
}

void Form1::Form_Load()
{
    setMenuCheck(gdispItem_[1], true);
    form_.ScreenSize = 2;
    SetScreenSize(form_.ScreenSize);
    form_.TreeFolders = 0;
    form_.TreeFiles = 0;
    form_.TreeClusterCount = 0;
    form_.TreeConvertClusterCount = 0;
    ShowSearchLamp(form_.ShiftDown);
    ShowDriveInfo(drive1_->drive());
}

void Form1::ShowDriveInfo(const QString& drive)
{
    driveQuery_.ShowDriveInfo(drive);
}

void Form1::CheckConvertLength(int index)
{
    for (QAction* entry : clustItem_)
        setMenuCheck(entry, false);
    if (index >= 0 && index < static_cast<int>(clustItem_.size()))
        setMenuCheck(clustItem_[static_cast<size_t>(index)], true);
}

void Form1::setBoxText(int textNumber, const QString& text)
{
    if (textNumber < 0 || textNumber >= static_cast<int>(texts_.size()) || !texts_[static_cast<size_t>(textNumber)])
        return;
    ValueBox* box = texts_[static_cast<size_t>(textNumber)];
    box->setText(text);
    box->setCursorPosition(0);
    // The search writes File1's file count right after pointing File1 at the
    // folder: show the new files from then on.
    if (textNumber == box::AloneFiles)
        file1_->refresh();
}

void Form1::quitItem_Click(int /*index*/)
{
    endProgram();
}

void Form1::clustItem_Click(int index)
{
    dorvelix::clustItem_Click(form_, *this, index);
}

void Form1::endProgram()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this)
            w->hide();
    }
    if ((search_ && search_->isSearching()) || openModalBoxes() > 0) {
        // A search or a box is under way below this handler: end at once
        // rather than let it run on without a window. Nothing is open for
        // writing.
        hide();
        std::_Exit(0);
    }
    hide();
    QCoreApplication::quit();
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}

bool Form1::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Show:
        if (QWindow* w = windowHandle(); w && !w->property("dorvelixWatched").toBool()) {
            w->setProperty("dorvelixWatched", true);
            connect(w, &QWindow::screenChanged, this, [this] { replaceAllInPixels(); });
        }
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize: {
        // Once the window system tells the frame's size, the client area is
        // sized again so that the frame comes out at the window's outer size.
        const QRect outer = frameGeometry();
        const QRect inner = geometry();
        const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                             outer.bottom() - inner.bottom());
        if (frame != sizedWithFrame_ && outerTwips_.isValid())
            applyOuterSize();
        break;
    }
    case QEvent::WindowActivate:
        // A modifier let go while another program had the keyboard never
        // reached this window: the lamp follows what is held now.
        if (driveChange_
            && !(QGuiApplication::queryKeyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            driveChange_->ModifiersReleased();
        break;
    default:
        break;
    }
    return handled;
}

}  // namespace dorvelix
