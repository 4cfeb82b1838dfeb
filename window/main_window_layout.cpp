// The main window's three screen sizes: the layout of every visible control
// row by row, the window's outer size, and the size menu that centres it.
#include "main_window.h"

#include "checked.h"
#include "runtime_error.h"
#include "twips.h"

#include <QMenuBar>
#include <QScreen>
#include <algorithm>

namespace dorvelix {

namespace {
// Pixels kept free below the panels when the window must grow.
constexpr int ClientSpare = 2;
}  // namespace

void Form1::SetScreenSize(std::int16_t size)
{
    form_.ScreenSize = size;
    const std::optional<ScreenLayout> table = screenLayout(size);
    if (!table)
        return;
    layout_ = table->values;
    form_.TextFontSize = layout_.TextFontSize;
    const FixedPositions& at = table->fixed;

    setTwipsGeometry(picture2_, at.lamp.left, at.lamp.top, at.lamp.width, at.lamp.height);

    FrameControl* frame1 = frames_[1];
    setTwipsGeometry(frame1, layout_.PanelMargin, layout_.PanelMargin, at.driveFrame.width, at.driveFrame.height);
    setFontSize(frame1, layout_.FrameFontSize);

    setTwipsWidth(drive1_, at.driveList.width);
    setTwipsTop(drive1_, at.driveList.top);
    setTwipsLeft(drive1_, at.driveList.left);
    setFontSize(drive1_, layout_.TextFontSize);
    applyTwips(drive1_);  // its height follows the new font

    std::int16_t y = at.driveRowsTop;
    ArrangeDrivePanel(y);

    FrameControl* frame10 = frames_[10];
    setTwipsGeometry(frame10, at.folderFrame.left, layout_.PanelMargin, at.folderFrame.width,
                     at.folderFrame.height);
    setFontSize(frame10, layout_.FrameFontSize);

    setTwipsGeometry(dir1_, layout_.PanelMargin, at.folderList.top, at.folderList.width, at.folderList.height);
    setFontSize(dir1_, layout_.TextFontSize);
    setTwipsGeometry(file1_, at.fileList.left, at.fileList.top, at.fileList.width, at.fileList.height);
    setFontSize(file1_, layout_.TextFontSize);

    y = at.folderRowsTop;
    ArrangeFolderSection(y);
    y = at.subtreeRowsTop;
    ArrangeSubtreeSections(y);

    setOuterSize(at.windowWidth, at.windowHeight);
}

void Form1::placeCaption(CaptionLabel* label, int left, int top)
{
    setTwipsGeometry(label, left, top, layout_.CaptionWidth, layout_.RowHeight);
    setFontSize(label, layout_.TextFontSize);
}

void Form1::placeValue(ValueBox* box, int left, int top, int width)
{
    setTwipsGeometry(box, left, top, width, layout_.RowHeight);
    setFontSize(box, layout_.TextFontSize);
}

void Form1::ArrangeDrivePanel(std::int16_t& y)
{
    const std::int16_t y0 = y;
    for (int n : {1, 2, 3, 9, 4, 6, 19, 20, 5, 7, 8}) {
        placeCaption(labels_[static_cast<size_t>(n)], layout_.PanelMargin, y);
        y += layout_.RowPitch;
    }

    // The value boxes stand 20 twips higher than their captions.
    y = y0 - 20;
    placeValue(texts_[1], layout_.DriveValueLeft, y, layout_.ValueWidth / 4);
    placeValue(texts_[13], layout_.DriveValueLeft + layout_.DriveValueLeft / 3, y, layout_.ValueWidth / 2);
    for (int n : {2, 3, 9, 4, 6, 35, 36, 5, 7, 8}) {
        y += layout_.RowPitch;
        placeValue(texts_[static_cast<size_t>(n)], layout_.DriveValueLeft, y);
    }

    y += layout_.RowPitch;
    CaptionLabel* title = labels_[23];
    setTwipsGeometry(title, 300, y, 2000, 280);
    setFontSize(title, layout_.TextFontSize);

    y += layout_.RowPitch;
    form_.GraphLeft = static_cast<std::int16_t>(1000 - 200 * form_.ScreenSize);
    form_.GraphTop = y;
}

void Form1::ArrangeFolderSection(std::int16_t& y)
{
    const std::int16_t y0 = y;
    for (int n : {15, 14, 16}) {
        placeCaption(labels_[static_cast<size_t>(n)], layout_.FolderCaptionLeft, y);
        y += layout_.RowPitch;
    }

    // The value boxes stand 50 twips higher than their captions.
    y = y0 - 50;
    placeValue(texts_[31], layout_.FolderValueLeft, y, layout_.ValueWidth / 2);
    for (int n : {30, 32}) {
        y += layout_.RowPitch;
        placeValue(texts_[static_cast<size_t>(n)], layout_.FolderValueLeft, y);
    }
}

void Form1::ArrangeSubtreeSections(std::int16_t& y)
{
    const std::int16_t y0 = y;
    const int size = form_.ScreenSize;
    const int offset = size == 2 ? 1550 : size == 3 ? 1250 : 2000;
    const int converted = y0 + offset;
    const int shortWidth = (3 - size) * 200 + 824;

    // The section's title with the cluster length under it form a column of
    // their own; its rows start most of a row lower.
    placeCaption(labels_[22], layout_.SectionLeft, y0);
    placeValue(texts_[12], layout_.SectionLeft + 24, y0 + layout_.RowPitch, shortWidth);

    y = static_cast<std::int16_t>(y0 + layout_.RowHeight - layout_.RowHeight / 10);
    for (int n : {10, 11, 12, 13}) {
        placeCaption(labels_[static_cast<size_t>(n)], layout_.FolderCaptionLeft, y);
        y += layout_.RowPitch;
    }
    y = static_cast<std::int16_t>(y0 + layout_.RowHeight - layout_.RowHeight / 3);
    for (int n : {10, 11, 28, 29}) {
        placeValue(texts_[static_cast<size_t>(n)], layout_.FolderValueLeft, y);
        y += layout_.RowPitch;
    }

    placeCaption(labels_[21], layout_.SectionLeft, converted);
    placeValue(texts_[37], layout_.PanelMargin + 24, converted + layout_.RowPitch, shortWidth);

    y = static_cast<std::int16_t>(converted + layout_.RowHeight);
    for (auto [caption, box] : {std::pair{17, 33}, std::pair{18, 34}}) {
        placeCaption(labels_[static_cast<size_t>(caption)], layout_.FolderCaptionLeft, y);
        placeValue(texts_[static_cast<size_t>(box)], layout_.FolderValueLeft, y);
        y += layout_.RowPitch;
    }
}

void Form1::GdispItem_Click(int index)
{
    for (QAction* entry : gdispItem_)
        setMenuCheck(entry, false);
    if (index >= 0 && index < static_cast<int>(gdispItem_.size()))
        setMenuCheck(gdispItem_[static_cast<size_t>(index)], true);
    form_.ScreenSize = static_cast<std::int16_t>(index + 1);
    SetScreenSize(form_.ScreenSize);
    try {
        drawUsageGraph(form_.ScreenSize);
    } catch (const RuntimeError&) {
        // The graph keeps what it drew; the window is centred all the same.
    }
    centreOnScreen();
}

void Form1::setOuterSize(int widthTwips, int heightTwips)
{
    outerTwips_ = QSize(widthTwips, heightTwips);
    applyOuterSize();
}

void Form1::applyOuterSize()
{
    const double dpi = logicalDpiOf(this);
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    sizedWithFrame_ = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                               outer.bottom() - inner.bottom());
    int width = twipsToPixels(outerTwips_.width(), dpi) - sizedWithFrame_.left() - sizedWithFrame_.right();
    int height = twipsToPixels(outerTwips_.height(), dpi) - sizedWithFrame_.top() - sizedWithFrame_.bottom();
    // Where the title bar is taller than the sizes allow for, the window
    // grows just enough that the panels are not cut off at the bottom.
    int bottom = 0;
    for (const FrameControl* frame : {frames_[1], frames_[10]})
        bottom = std::max(bottom, frame->geometry().bottom() + 1);
    height = std::max(height, menuBar()->sizeHint().height() + bottom + ClientSpare);
    resize(width, height);
}

void Form1::centreOnScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const double dpi = logicalDpiOf(this);
    const QRect area = screen->geometry();
    const double screenWidth = area.width() * 1440.0 / dpi;
    const double screenHeight = area.height() * 1440.0 / dpi;
    // Centred across, a quarter of the free height down; negative when the
    // window is larger than the screen.
    const std::int32_t left = toInteger<std::int32_t>(screenWidth - outerTwips_.width()) / 2;
    const std::int32_t top = toInteger<std::int32_t>(screenHeight - outerTwips_.height()) / 4;
    positionTwips_ = QPoint(left, top);
    move(area.left() + twipsToPixels(left, dpi), area.top() + twipsToPixels(top, dpi));
}

void Form1::replaceAllInPixels()
{
    for (QWidget* w : findChildren<QWidget*>()) {
        if (auto* line = qobject_cast<LineControl*>(w))
            line->reapply();
        else if (w->property("twipsLeft").isValid())
            applyTwips(w);
    }
    redrawUsageGraph();
    applyOuterSize();
}

}  // namespace dorvelix
