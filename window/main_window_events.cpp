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
int scaleCaptionWidth(int labelNumber)
{
    switch (labelNumber) {
    case 24:
        return 672;
    case 25:
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

void Form1::installEvents()
{
    driveChange_ = std::make_unique<DriveChange>(form_, *this, services_, driveQuery_, dir1List_, driveFolders_,
                                                 *search_, [this] { return drive1_->drive(); });

    connect(drive1_, &DriveListBox::change, this, &Form1::Drive1_Change);
    // Shift, Ctrl or Alt held at a key or mouse event of Drive1 or Dir1
    // switches the folder search off until an event without one.
    connect(drive1_, &DriveListBox::keyDown, this,
            [this](int key, int shift) { driveChange_->Drive1_KeyDown(key, shift); });
    connect(drive1_, &DriveListBox::keyUp, this,
            [this](int key, int shift) { driveChange_->Drive1_KeyUp(key, shift); });
    connect(dir1_, &FolderListBox::keyDown, this,
            [this](int key, int shift) { driveChange_->Dir1_KeyDown(key, shift); });
    connect(dir1_, &FolderListBox::keyUp, this, [this](int key, int shift) { driveChange_->Dir1_KeyUp(key, shift); });
    connect(dir1_, &FolderListBox::mouseDown, this, [this](int button, int shift, int x, int y) {
        driveChange_->Dir1_MouseDown(button, shift, x, y);
    });

    connect(file1_, &FileListBox::dblClick, this, &Form1::File1_DblClick);

    // The lamp follows the modifiers actually held, also when a modifier's
    // release goes to another control than the one that saw it pressed.
    qApp->installEventFilter(this);
    connect(new MountWatch(this), &MountWatch::changed, this, &Form1::followMountTable);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease && driveChange_) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool modifierKey = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control
            || key->key() == Qt::Key_Alt;
        if (modifierKey && keyModifierMask(*key) == 0)
            driveChange_->ModifiersReleased();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::followMountTable()
{
    const std::vector<DriveEntry> drives = listDrives();
    QStringList texts;
    for (const DriveEntry& d : drives)
        texts << d.text();
    QStringList shownTexts;
    for (int i = 0; i < drive1_->count(); ++i)
        shownTexts << drive1_->itemText(i);
    if (texts == shownTexts)
        return;  // a pseudo file system came or went

    const QString inUse = drive1_->drive();
    qsizetype current = texts.indexOf(inUse);
    const bool inUseHasGone = current < 0 && !inUse.isEmpty();
    if (inUseHasGone) {
        // Drive1 moves to the drive that now holds Dir1's folder.
        const std::string holding = driveOf(dir1List_.path().empty() ? std::string("/") : dir1List_.path());
        for (size_t i = 0; i < drives.size(); ++i) {
            if (drives[i].mountPoint == holding)
                current = static_cast<qsizetype>(i);
        }
    }
    drive1_->setDrives(drives, static_cast<int>(current));
    // The drive in use has gone: its query says it has no medium. Not while
    // a search runs, which meets the gone drive itself.
    if (inUseHasGone && !search_->isSearching())
        ShowDriveInfo(inUse);
}

void Form1::Drive1_Change()
{
    // Refused while a folder search runs; Drive1 itself already refuses the
    // change then, so nothing is left to put back.
    driveChange_->Drive1_Change();
}

void Form1::ShowSearchLamp(std::int16_t state)
{
    driveChange_->ShowSearchLamp(state);
}

void Form1::paintSearchLamp(int side, bool red)
{
    const int px = twipsToPixels(side, logicalDpiOf(picture2_));
    picture2_->fillBox(QRect(0, 0, px, px), toQColor(red ? lamp::Red : lamp::Green));
    picture2_->setAccessibleDescription(lampDescription(red));
}

void Form1::drawUsageGraph(int screenSize)
{
    // Rendered into a picture that Picture1 keeps, so the graph survives the
    // window being covered and uncovered. A figure out of range ends the
    // drawing; what was drawn until then is shown and the error passes on.
    UsageGraphPainter painter(logicalDpiOf(picture1_));
    std::exception_ptr failure;
    try {
        DrawUsageGraph(form_, static_cast<std::int16_t>(screenSize), painter);
    } catch (const RuntimeError&) {
        failure = std::current_exception();
    }

    const QRect at = painter.pictureTwips();
    setTwipsGeometry(picture1_, at.left(), at.top(), at.width(), at.height());
    picture1_->setPicture(painter.pixmap());
    picture1_->setAccessibleDescription(usageGraphDescription(form_));
    for (int n : {1, 3, 4, 5}) {
        const UsageGraphPainter::Segment& line = painter.frameLine(n);
        if (line.placed)
            Line(n)->setEndpoints(line.x1, line.y1, line.x2, line.y2);
    }
    for (int n : {24, 25, 26}) {
        const UsageGraphPainter::Caption& caption = painter.caption(n);
        if (caption.placed)
            placeScaleCaption(n, caption.top, caption.left, caption.fontSize);
    }

    if (failure)
        std::rethrow_exception(failure);
}

void Form1::redrawUsageGraph()
{
    if (form_.ScreenSize < 1 || form_.ScreenSize > 3)
        return;  // not laid out yet: nothing drawn to redraw
    try {
        drawUsageGraph(form_.ScreenSize);
    } catch (const RuntimeError&) {
    }
}

void Form1::placeScaleCaption(int n, int top, int left, int fontSize)
{
    CaptionLabel* label = Label(n);
    setTwipsTop(label, top);
    setTwipsLeft(label, left);
    setTwipsWidth(label, scaleCaptionWidth(n));
    // The window's own face, one point smaller than the panel's text.
    if (fontSize > 0)
        label->setFont(windowFont(Face::Proportional, fontSize));
    applyTwips(label);
    label->show();
}

void Form1::File1_DblClick()
{
    dorvelix::File1_DblClick(form_, dir1List_, file1List_, services_, form2_, *this);
}

void Form1::comentItem_Click(int index)
{
    dorvelix::comentItem_Click(form_, services_, index);
}

void Form1::version_Click()
{
    dorvelix::version_Click(services_);
}

}  // namespace dorvelix
