// The main window's three screen sizes: the layout of every visible control
// row by row, the window's outer size, and the size menu that centres it.
#include "main_window.h"

#include "checked.h"
#include "panel_sections.h"
#include "runtime_error.h"
#include "twips.h"

#include <QMenuBar>
#include <QScreen>
#include <algorithm>
#include <span>

namespace dorvelix {

namespace {
// Pixels kept free below the panels when the window must grow.
constexpr int ClientSpare = 2;
}  // namespace

void MainWindow::setScreenSize(std::int16_t size)
{
    form_.screenSize = size;
    const std::optional<ScreenLayout> table = screenLayout(size);
    if (!table)
        return;
    layout_ = table->values;
    form_.textFontSize = layout_.textFontSize;
    const FixedPositions& at = table->fixed;

    setTwipsGeometry(searchLamp_, at.lamp.left, at.lamp.top, at.lamp.width, at.lamp.height);

    setTwipsGeometry(drivePanel_, layout_.panelMargin, layout_.panelMargin, at.driveFrame.width, at.driveFrame.height);
    setFontSize(drivePanel_, layout_.frameFontSize);

    setTwipsWidth(driveListBox_, at.driveList.width);
    setTwipsTop(driveListBox_, at.driveList.top);
    setTwipsLeft(driveListBox_, at.driveList.left);
    setFontSize(driveListBox_, layout_.textFontSize);
    applyTwips(driveListBox_);  // its height follows the new font

    std::int16_t y = at.driveRowsTop;
    arrangeDrivePanel(y);

    setTwipsGeometry(folderPanel_, at.folderFrame.left, layout_.panelMargin, at.folderFrame.width,
                     at.folderFrame.height);
    setFontSize(folderPanel_, layout_.frameFontSize);

    setTwipsGeometry(folderListBox_, layout_.panelMargin, at.folderList.top, at.folderList.width, at.folderList.height);
    setFontSize(folderListBox_, layout_.textFontSize);
    setTwipsGeometry(fileListBox_, at.fileList.left, at.fileList.top, at.fileList.width, at.fileList.height);
    setFontSize(fileListBox_, layout_.textFontSize);

    y = at.folderRowsTop;
    arrangeFolderSection(y);
    y = at.subtreeRowsTop;
    arrangeSubtreeSections(y);

    setOuterSize(at.windowWidth, at.windowHeight);
}

void MainWindow::placeCaption(CaptionLabel* label, int left, int top)
{
    setTwipsGeometry(label, left, top, layout_.captionWidth, layout_.rowHeight);
    setFontSize(label, layout_.textFontSize);
}

void MainWindow::placeValue(ValueBox* box, int left, int top, int width)
{
    setTwipsGeometry(box, left, top, width, layout_.rowHeight);
    setFontSize(box, layout_.textFontSize);
}

void MainWindow::arrangeDrivePanel(std::int16_t& y)
{
    const std::vector<PanelSection> sections = panelSections(false);
    const std::span<const PanelCaption* const> rows = sections[0].rows;
    const std::int16_t y0 = y;
    for (const PanelCaption* row : rows) {
        placeCaption(caption(row->label), layout_.panelMargin, y);
        y += layout_.rowPitch;
    }

    // The value boxes stand 20 twips higher than their captions; the drive
    // and its file system share the first row.
    y = y0 - 20;
    placeValue(valueBox(Box::DriveText), layout_.driveValueLeft, y, layout_.valueWidth / 4);
    placeValue(valueBox(Box::FileSystem), layout_.driveValueLeft + layout_.driveValueLeft / 3, y,
               layout_.valueWidth / 2);
    for (const PanelCaption* row : rows.subspan(1)) {
        y += layout_.rowPitch;
        placeValue(valueBox(*row->box), layout_.driveValueLeft, y);
    }

    y += layout_.rowPitch;
    CaptionLabel* title = caption(sections[1].title->label);
    setTwipsGeometry(title, 300, y, 2000, 280);
    setFontSize(title, layout_.textFontSize);

    y += layout_.rowPitch;
    form_.graphLeft = static_cast<std::int16_t>(1000 - 200 * form_.screenSize);
    form_.graphTop = y;
}

void MainWindow::arrangeFolderSection(std::int16_t& y)
{
    const std::vector<const PanelCaption*> rows = panelSections(true)[0].rows;
    const std::int16_t y0 = y;
    for (const PanelCaption* row : rows) {
        placeCaption(caption(row->label), layout_.folderCaptionLeft, y);
        y += layout_.rowPitch;
    }

    // The value boxes stand 50 twips higher than their captions; the file
    // count takes half the width.
    y = y0 - 50;
    placeValue(valueBox(*rows[0]->box), layout_.folderValueLeft, y, layout_.valueWidth / 2);
    for (const PanelCaption* row : std::span(rows).subspan(1)) {
        y += layout_.rowPitch;
        placeValue(valueBox(*row->box), layout_.folderValueLeft, y);
    }
}

void MainWindow::arrangeSubtreeSections(std::int16_t& y)
{
    const std::vector<PanelSection> sections = panelSections(true);
    const PanelSection& subtree = sections[1];
    const PanelSection& converted = sections[2];
    const std::int16_t y0 = y;
    const int size = form_.screenSize;
    const int offset = size == 2 ? 1550 : size == 3 ? 1250 : 2000;
    const int convertedTop = y0 + offset;
    const int shortWidth = (3 - size) * 200 + 824;

    // The section's title with the cluster length under it form a column of
    // their own; its rows start most of a row lower.
    placeCaption(caption(subtree.title->label), layout_.sectionLeft, y0);
    placeValue(valueBox(*subtree.title->box), layout_.sectionLeft + 24, y0 + layout_.rowPitch, shortWidth);

    y = static_cast<std::int16_t>(y0 + layout_.rowHeight - layout_.rowHeight / 10);
    for (const PanelCaption* row : subtree.rows) {
        placeCaption(caption(row->label), layout_.folderCaptionLeft, y);
        y += layout_.rowPitch;
    }
    y = static_cast<std::int16_t>(y0 + layout_.rowHeight - layout_.rowHeight / 3);
    for (const PanelCaption* row : subtree.rows) {
        placeValue(valueBox(*row->box), layout_.folderValueLeft, y);
        y += layout_.rowPitch;
    }

    placeCaption(caption(converted.title->label), layout_.sectionLeft, convertedTop);
    placeValue(valueBox(*converted.title->box), layout_.panelMargin + 24, convertedTop + layout_.rowPitch, shortWidth);

    y = static_cast<std::int16_t>(convertedTop + layout_.rowHeight);
    for (const PanelCaption* row : converted.rows) {
        placeCaption(caption(row->label), layout_.folderCaptionLeft, y);
        placeValue(valueBox(*row->box), layout_.folderValueLeft, y);
        y += layout_.rowPitch;
    }
}

void MainWindow::pickScreenSize(int index)
{
    // The graph draws the search's figures: while a search runs, between two
    // of its top-level subfolders.
    session_.changeForm([this, index] {
        for (QAction* entry : screenSizeEntries_)
            setMenuCheck(entry, false);
        if (index >= 0 && index < static_cast<int>(screenSizeEntries_.size()))
            setMenuCheck(screenSizeEntries_[static_cast<size_t>(index)], true);
        form_.screenSize = static_cast<std::int16_t>(index + 1);
        setScreenSize(form_.screenSize);
        try {
            drawUsageGraph(form_.screenSize);
        } catch (const RuntimeError&) {
            // The graph keeps what it drew; the window is centred all the same.
        }
        centreOnScreen();
    });
}

void MainWindow::setOuterSize(int widthTwips, int heightTwips)
{
    outerTwips_ = QSize(widthTwips, heightTwips);
    applyOuterSize();
}

void MainWindow::applyOuterSize()
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
    for (const FrameControl* frame : {drivePanel_, folderPanel_})
        bottom = std::max(bottom, frame->geometry().bottom() + 1);
    height = std::max(height, menuBar()->sizeHint().height() + bottom + ClientSpare);
    resize(width, height);
}

void MainWindow::centreOnScreen()
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

void MainWindow::replaceAllInPixels()
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
