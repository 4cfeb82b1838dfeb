#include "main_window.h"

#include "app_icon.h"
#include "focus_mark.h"
#include "convert_length.h"
#include "modal_box.h"
#include "ui_text.h"
#include "window_texts.h"
#include "program_version.h"
#include "messages.h"
#include "runtime_error.h"
#include "text.h"
#include "tool_windows.h"
#include "twips.h"
#include "window_placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QWindow>
#include <climits>
#include <unistd.h>

namespace dorvelix {

namespace {

// "DORVELIX  Ver 0.982 2001.3": two spaces after the name.
const QString WindowCaption = QStringLiteral("DORVELIX  Ver %1 %2").arg(QLatin1String(ProgramVersion), QLatin1String(ReleaseMonth));

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

MainWindow::MainWindow(VolumeQueries& volumes, QWidget* parent)
    : QMainWindow(parent),
      services_(this),
      session_(*this, services_, volumes, [this] { return driveListBox_->drive(); }, Session::SearchThread::Worker)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(WindowCaption);
    setWindowIcon(applicationIcon());
    createControls();
    createMenus();
    nameControls();
    startOnCurrentFolder();
    installSearch();
    installEvents();
    tools_ = new ToolWindows(*this, session_, *folderListBox_, services_);
    addRefreshItem();
    // While a search runs, the window repaints as often as the search
    // reports its progress, not at every frame the desktop asks for.
    paintPacer_ = new PaintPacer(this, session_.search().paintInterval);
}

MainWindow::~MainWindow()
{
    // The tool windows and the list widgets point into the session: they go
    // first, while it is still there.
    delete tools_;
    tools_ = nullptr;
    session_.removeObserver(this);
    delete fileInfoDialog_.data();
    delete takeCentralWidget();
}

void MainWindow::createControls()
{
    client_ = new ClientArea(this);
    client_->setFont(windowFont(Face::Proportional, DesignFontSize));
    setCentralWidget(client_);
    focusMark_ = new FocusMark(client_);

    // The panels keep their form's object names (Frame1, Frame10) for automation.
    const auto frame = [](int n, const QString& caption, QWidget* parent) {
        auto* f = new FrameControl(QStringLiteral("Frame%1").arg(n), caption, parent);
        f->setFont(windowFont(Face::Fixed, DesignFontSize));
        return f;
    };
    drivePanel_ = frame(1, uiText(DrivePanelCaption), client_);
    folderPanel_ = frame(10, uiText(FolderPanelCaption), client_);
    FrameControl* drivePanel = drivePanel_;
    FrameControl* folderPanel = folderPanel_;

    for (const PanelCaption& row : PanelCaptions) {
        QWidget* parent = row.folderPanel ? folderPanel : drivePanel;
        auto* label = new CaptionLabel(QStringLiteral("Label%1").arg(row.label), uiText(row.text),
                                       row.title ? colors::Yellow : colors::White,
                                       (row.title ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop, parent);
        label->setFont(windowFont(Face::Proportional, DesignFontSize));
        labels_[static_cast<size_t>(row.label)] = label;
        // The folder panel's figures stay in view when a tool window opens.
        if (row.folderPanel)
            keepUncovered(label);
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

    for (const BoxDesign& d : BoxDesigns) {
        auto* b = new ValueBox(QString::fromUtf8(d.objectName), d.centred ? Qt::AlignHCenter : Qt::AlignRight,
                               d.folderPanel ? folderPanel : drivePanel);
        b->setFont(windowFont(d.proportional ? Face::Proportional : Face::Fixed, DesignFontSize));
        valueBoxes_[boxIndex(d.box)] = b;
        if (d.folderPanel)
            keepUncovered(b);
    }

    usageGraph_ = new PictureBox(QStringLiteral("Picture1"), colors::White, drivePanel);
    searchLamp_ = new PictureBox(QStringLiteral("Picture2"), colors::Teal, drivePanel);
    for (int n : {1, 3, 4, 5}) {
        auto* line = new LineControl(QStringLiteral("Line%1").arg(n), colors::Cyan, 2, drivePanel);
        line->hide();
        lines_[static_cast<size_t>(n)] = line;
    }

    driveListBox_ = new DriveListBox(drivePanel);
    driveListBox_->setFont(windowFont(Face::Proportional, DesignFontSize));
    QPalette white = driveListBox_->palette();
    for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
        white.setColor(role, colors::White);
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        white.setColor(role, colors::Black);
    driveListBox_->setPalette(white);

    folderListBox_ = new FolderListBox(openFolders_, folderPanel);
    folderListBox_->setFont(windowFont(Face::Proportional, DesignFontSize));
    fileListBox_ = new FileListBox(openFiles_, folderPanel);
    fileListBox_->setFont(windowFont(Face::Proportional, DesignFontSize));

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

void MainWindow::createMenus()
{
    QMenuBar* bar = menuBar();
    // The menus in the window's Japanese face too, compact enough that the
    // panels fit below them at the small size.
    bar->setFont(windowFont(Face::Proportional, MenuFontSize, false));
    const auto entry = [this](QMenu* menu, const QString& name, int index, const char* caption) {
        QAction* a = menu->addAction(uiText(caption));
        a->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(index));
        a->setProperty("index", index);
        return a;
    };

    QMenu* quit = bar->addMenu(uiText(texts::QuitMenu));
    quit->setObjectName(QStringLiteral("quit"));
    quitEntries_[0] = entry(quit, QStringLiteral("quitItem"), 0, texts::QuitMenu);
    connect(quitEntries_[0], &QAction::triggered, this, [this] { onQuit(0); });

    QMenu* convertMenu = bar->addMenu(uiText(texts::ConvertMenu));
    convertMenu->setObjectName(QStringLiteral("clustItem0"));
    for (int i = 0; i < 9; ++i) {
        convertLengthEntries_[static_cast<size_t>(i)] = entry(convertMenu, QStringLiteral("clustItem"), i, texts::ConvertLengths[i]);
        connect(convertLengthEntries_[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { pickConvertLength(i); });
    }

    QMenu* screenSizeMenu = bar->addMenu(uiText(texts::ScreenSizeMenu));
    screenSizeMenu->setObjectName(QStringLiteral("Gdisp"));
    for (int i = 0; i < 3; ++i) {
        screenSizeEntries_[static_cast<size_t>(i)] = entry(screenSizeMenu, QStringLiteral("GdispItem"), i, texts::ScreenSizes[i]);
        connect(screenSizeEntries_[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { pickScreenSize(i); });
    }

    QMenu* helpMenu = bar->addMenu(uiText(texts::HelpMenu));
    helpMenu->setObjectName(QStringLiteral("coment"));
    for (int i = 0; i < 4; ++i) {
        helpEntries_[static_cast<size_t>(i)] = entry(helpMenu, QStringLiteral("comentItem"), i, texts::HelpEntries[i]);
        connect(helpEntries_[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { showHelpText(i); });
    }

    version_ = bar->addAction(uiText(texts::VersionMenu));
    version_->setObjectName(QStringLiteral("version"));
    connect(version_, &QAction::triggered, this, &MainWindow::showVersion);

    for (QMenu* menu : {quit, convertMenu, screenSizeMenu, helpMenu})
        menu->setFont(bar->font());
}

void MainWindow::startOnCurrentFolder()
{
    // The lists start on the process's current folder; should it be gone or
    // unreadable, on its drive's root, and failing that on "/".
    session_.start(currentFolderBytes());
    // Nothing later resolves a path against the working folder, but Qt's
    // file dialogs touch it on the window's thread: it leaves the drive it
    // was on, which may stop answering.
    if (::chdir("/") != 0) {
    }

    const std::vector<DriveEntry> drives = listDrives();
    const std::string drive = driveOf(openFolders_.path().empty() ? std::string("/") : openFolders_.path());
    int current = drives.empty() ? -1 : 0;
    for (size_t i = 0; i < drives.size(); ++i) {
        if (drives[i].mountPoint == drive)
            current = static_cast<int>(i);
    }
    driveListBox_->setDrives(drives, current);
    folderListBox_->refresh();
    fileListBox_->refresh();
}

void MainWindow::installSearch()
{
    session_.addObserver(this);
    connect(folderListBox_, &FolderListBox::openRequested, this, &MainWindow::openFolder);
}

void MainWindow::openFolder(const std::string& folder)
{
    try {
        session_.openFolder(folder);
    } catch (const RuntimeError& e) {
        // The list keeps the folder it showed.
        folderListBox_->refresh();
        services_.messageBox(pathErrorMessage(e, displayText(folder)));
    }
}

void MainWindow::folderOpened(bool searches)
{
    // The folder list shows its new folder before the search of it runs,
    // whoever moved it. Each search keeps its own messages; a request refused
    // because a search runs leaves that search's log alone.
    folderListBox_->refresh();
    if (searches) {
        services_.beginSearch();
        paintPacer_->setPaced(true);
    }
}

void MainWindow::folderOpenFailed(const RuntimeError& error, const std::string& folder)
{
    // The list keeps the folder it showed.
    folderListBox_->refresh();
    services_.messageBox(pathErrorMessage(error, displayText(folder)));
}

void MainWindow::folderOpenDone(bool searched)
{
    paintPacer_->setPaced(false);
    // The file list shows what the search pointed it at.
    fileListBox_->refresh();
    if (searched)
        services_.endSearch();
}

void MainWindow::load()
{
    setMenuCheck(screenSizeEntries_[1], true);
    form_.screenSize = 2;
    setScreenSize(form_.screenSize);
    orderTabs();
    form_.clearSearchTotals();
    showSearchLamp(form_.modifierHeld);
    showDriveInfo(driveListBox_->drive());
}

void MainWindow::showDriveInfo(const QString& drive)
{
    session_.driveQuery().showDriveInfo(drive);
}

void MainWindow::markConvertLength(int index)
{
    for (QAction* entry : convertLengthEntries_)
        setMenuCheck(entry, false);
    if (index >= 0 && index < static_cast<int>(convertLengthEntries_.size()))
        setMenuCheck(convertLengthEntries_[static_cast<size_t>(index)], true);
}

void MainWindow::setBox(Box box, const QString& text)
{
    ValueBox* b = valueBox(box);
    b->setText(text);
    b->setCursorPosition(0);
}

void MainWindow::filesListed(const SearchResult& search)
{
    ValueBoxView::filesListed(search);
    // The search lists the folder's files right after pointing the file list
    // at it: show the new files from then on.
    fileListBox_->refresh();
}

void MainWindow::onQuit(int /*index*/)
{
    endProgram();
}

void MainWindow::pickConvertLength(int index)
{
    session_.pickConvertLength(index);
}

void MainWindow::endProgram()
{
    // A running search stops at its next folder without telling the window
    // anything more; the boxes it or the user opened answer at once, so that
    // every event loop below this handler ends and the process with them.
    session_.close();
    closeModalBoxes();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this)
            w->hide();
    }
    hide();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}

bool MainWindow::event(QEvent* event)
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
        if (session_.hasStarted()
            && !(QGuiApplication::queryKeyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            session_.driveChange().onModifiersReleased();
        break;
    default:
        break;
    }
    return handled;
}

}  // namespace dorvelix
