// The three screen sizes of the main window (1 large, 2 medium, 3 small):
// for each, the layout values the rows are laid out from and the fixed
// positions of the frames, the lists and the lamp. Twips; font sizes in
// points.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace dorvelix {

struct LayoutValues {
    std::int16_t rowPitch;           // one row's top to the next row's top
    std::int16_t rowHeight;          // every row caption and value box
    std::int16_t captionWidth;       // row captions and section titles
    std::int16_t valueWidth;         // a full value box
    std::int16_t panelMargin;        // frames' inset; drive captions' and the folder list's left
    std::int16_t driveValueLeft;     // drive panel's value boxes
    std::int16_t sectionLeft;        // folder panel's section titles
    std::int16_t folderCaptionLeft;  // folder panel's row captions
    std::int16_t folderValueLeft;    // folder panel's value boxes
    std::int16_t frameFontSize;      // Frame1's and Frame10's captions
    std::int16_t textFontSize;       // lists, placed labels and value boxes
};

struct TwipsBox {
    std::int16_t left, top, width, height;
};

struct FixedPositions {
    TwipsBox lamp;            // Picture2
    TwipsBox driveFrame;      // Frame1: width, height (left, top: PanelMargin)
    TwipsBox driveList;       // The drive list: left, top, width (height its own)
    TwipsBox folderFrame;     // Frame10: left, width, height (top: PanelMargin)
    TwipsBox folderList;      // The folder list: top, width, height (left: PanelMargin)
    TwipsBox fileList;        // The file list
    std::int16_t driveRowsTop;
    std::int16_t folderRowsTop;
    std::int16_t subtreeRowsTop;
    std::int16_t windowWidth;      // outer size, frame and title bar included
    std::int16_t windowHeight;
};

struct ScreenLayout {
    LayoutValues values;
    FixedPositions fixed;
};

// The layout of size 1, 2 or 3; nothing for any other size.
std::optional<ScreenLayout> screenLayout(int size);

}  // namespace dorvelix
