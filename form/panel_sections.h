// The panels' captions as the window lays them out: each panel is a run of
// sections, a section being a title caption (or none, for the rows at the
// top of a panel) with the row captions under it, in the order they stand.
#pragma once

#include "window_texts.h"

#include <vector>

namespace dorvelix {

struct PanelSection {
    const PanelCaption* title = nullptr;
    std::vector<const PanelCaption*> rows;
};

inline std::vector<PanelSection> panelSections(bool folderPanel)
{
    std::vector<PanelSection> sections;
    for (const PanelCaption& c : PanelCaptions) {
        if (c.folderPanel != folderPanel)
            continue;
        if (c.title || sections.empty())
            sections.push_back({c.title ? &c : nullptr, {}});
        if (!c.title)
            sections.back().rows.push_back(&c);
    }
    return sections;
}

}  // namespace dorvelix
