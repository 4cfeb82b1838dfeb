// The panels' captions as the window lays them out: each panel is a run of
// sections, a section being a title caption (or none, for the rows at the
// top of a panel) with the row captions under it, in the order they stand.
#pragma once

#include "window_texts.h"

#include <span>
#include <vector>

namespace dorvelix {

struct PanelSection {
    const PanelCaption* title = nullptr;
    std::span<const PanelCaption> rows;
};

inline std::vector<PanelSection> panelSections(bool folderPanel)
{
    std::vector<PanelSection> sections;
    const std::span<const PanelCaption> all(PanelCaptions);
    for (size_t i = 0; i < all.size(); ++i) {
        const PanelCaption& c = all[i];
        if (c.folderPanel != folderPanel)
            continue;
        if (c.title || sections.empty())
            sections.push_back({c.title ? &c : nullptr, all.subspan(c.title ? i + 1 : i, 0)});
        if (!c.title)
            sections.back().rows = std::span(sections.back().rows.data(), sections.back().rows.size() + 1);
    }
    return sections;
}

}  // namespace dorvelix
