// The main window's event wiring: the drive change, the modifier state and
// the search lamp, the usage graph in Picture1, the file information dialog
// and the help and version boxes.
#include "main_window.h"

#include "accessible_names.h"
#include "help_texts.h"
#include "modifier_mask.h"
#include "mount_watch.h"
#include "runtime_error.h"
#include "twips.h"
#include "usage_graph_painter.h"

#include <QApplication>
#include <QKeyEvent>
#include <exception>

namespace dorvelix {

namespace {

// The scale captions' widths (twips); their text is centred in them.
int scaleCaptionWidth(ScaleMark mark)
{
    switch (mark) {
    case ScaleMark::Zero:
        return 672;
    case ScaleMark::Half:
        return 768;
    default:
        return 612;
    }
}

QColor toQColor(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

}  // namespace

void MainWindow::installEvents()
{
    connect(driveListBox_, &DriveListBox::change, this, &MainWindow::onDriveChosen);
    // Shift, Ctrl or Alt held at a key or mouse event of the drive list or the folder list
    // switches the folder search off until an event without one.
    const auto modifiers = [this](int /*keyOrButton*/, int shift) { session_.driveChange().modifiersSeen(shift); };
    connect(driveListBox_, &DriveListBox::keyDown, this, modifiers);
    connect(driveListBox_, &DriveListBox::keyUp, this, modifiers);
    connect(folderListBox_, &FolderListBox::keyDown, this, modifiers);
    connect(folderListBox_, &FolderListBox::keyUp, this, modifiers);
    connect(folderListBox_, &FolderListBox::mouseDown, this,
            [modifiers](int button, int shift, int /*x*/, int /*y*/) { modifiers(button, shift); });

    connect(fileListBox_, &FileListBox::dblClick, this, &MainWindow::showFileInfo);

    // The lamp follows the modifiers actually held, also when a modifier's
    // release goes to another control than the one that saw it pressed.
    qApp->installEventFilter(this);
    connect(new MountWatch(this), &MountWatch::changed, this, &MainWindow::followMountTable);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease && session_.hasStarted()) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool modifierKey = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control
            || key->key() == Qt::Key_Alt;
        if (modifierKey && keyModifierMask(*key) == 0)
            session_.driveChange().onModifiersReleased();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::followMountTable()
{
    const std::vector<DriveEntry> drives = listDrives();
    QStringList texts;
    for (const DriveEntry& d : drives)
        texts << d.text();
    QStringList shownTexts;
    for (int i = 0; i < driveListBox_->count(); ++i)
        shownTexts << driveListBox_->itemText(i);
    if (texts == shownTexts)
        return;  // a pseudo file system came or went

    const QString inUse = driveListBox_->drive();
    qsizetype current = texts.indexOf(inUse);
    const bool inUseHasGone = current < 0 && !inUse.isEmpty();
    if (inUseHasGone) {
        // The drive list moves to the drive that now holds the folder list's folder.
        const std::string holding = driveOf(openFolders_.path().empty() ? std::string("/") : openFolders_.path());
        for (size_t i = 0; i < drives.size(); ++i) {
            if (drives[i].mountPoint == holding)
                current = static_cast<qsizetype>(i);
        }
    }
    driveListBox_->setDrives(drives, static_cast<int>(current));
    // The drive in use has gone: its query says it has no medium. Not while
    // a search runs, which meets the gone drive itself.
    if (inUseHasGone && !session_.isSearching())
        showDriveInfo(inUse);
}

void MainWindow::onDriveChosen()
{
    // Refused while a folder search runs: the list shows the drive it showed.
    if (!session_.chooseDrive())
        driveListBox_->putBack();
}

void MainWindow::showSearchLamp(bool red)
{
    session_.driveChange().showSearchLamp(red);
}

void MainWindow::paintSearchLamp(int side, bool red)
{
    const int px = twipsToPixels(side, logicalDpiOf(searchLamp_));
    searchLamp_->fillBox(QRect(0, 0, px, px), toQColor(red ? lamp::Red : lamp::Green));
    searchLamp_->setAccessibleDescription(lampDescription(red));
}

void MainWindow::drawUsageGraph(int screenSize)
{
    // Rendered into a picture that Picture1 keeps, so the graph survives the
    // window being covered and uncovered. A figure out of range ends the
    // drawing; what was drawn until then is shown and the error passes on.
    UsageGraphPainter painter(logicalDpiOf(usageGraph_));
    std::exception_ptr failure;
    try {
        paintUsageGraph(form_, static_cast<std::int16_t>(screenSize), painter);
    } catch (const RuntimeError&) {
        failure = std::current_exception();
    }

    const QRect at = painter.pictureTwips();
    setTwipsGeometry(usageGraph_, at.left(), at.top(), at.width(), at.height());
    usageGraph_->setPicture(painter.pixmap());
    usageGraph_->setAccessibleDescription(usageGraphDescription(form_));
    for (const FrameSide side : FrameSides) {
        const UsageGraphPainter::Segment& segment = painter.frameLine(side);
        if (segment.placed)
            line(frameLineNumber(side))->setEndpoints(segment.x1, segment.y1, segment.x2, segment.y2);
    }
    for (const ScaleMark mark : ScaleMarks) {
        const UsageGraphPainter::Caption& caption = painter.caption(mark);
        if (caption.placed)
            placeScaleCaption(mark, caption.top, caption.left, caption.fontSize);
    }

    if (failure)
        std::rethrow_exception(failure);
}

void MainWindow::redrawUsageGraph()
{
    if (session_.isSearching()) {
        // The graph draws the search's figures: between two of its
        // top-level subfolders, once.
        if (!redrawWaiting_) {
            redrawWaiting_ = true;
            session_.changeForm([this] {
                redrawWaiting_ = false;
                redrawUsageGraph();
            });
        }
        return;
    }
    if (form_.screenSize < 1 || form_.screenSize > 3)
        return;  // not laid out yet: nothing drawn to redraw
    try {
        drawUsageGraph(form_.screenSize);
    } catch (const RuntimeError&) {
    }
}

void MainWindow::placeScaleCaption(ScaleMark mark, int top, int left, int fontSize)
{
    CaptionLabel* label = caption(scaleCaptionNumber(mark));
    setTwipsTop(label, top);
    setTwipsLeft(label, left);
    setTwipsWidth(label, scaleCaptionWidth(mark));
    // The window's own face, one point smaller than the panel's text.
    if (fontSize > 0)
        label->setFont(windowFont(Face::Proportional, fontSize));
    applyTwips(label);
    label->show();
}

void MainWindow::showFileInfo()
{
    dorvelix::showFileInfo(form_, openFolders_, openFiles_, services_, fileInfoDialog_, *this);
}

void MainWindow::showHelpText(int index)
{
    dorvelix::showHelpText(form_, services_, index);
}

void MainWindow::showVersion()
{
    dorvelix::showVersion(services_);
}

}  // namespace dorvelix
