#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string_view>

#include "screens/main/SectionStack.h"

namespace veldrane {

class PanelSection;

// The left panel of the main window: four rows from (20, 107, 262, 127), "Button Assignment",
// "Macro Manager", "X/Y Sensitivity Setting" and "M1-M5 Light Button ". Rows 1, 3 and 4 fold
// their sections open and shut; row 2 (20, 132, 262, 170 while row 1 is shut) runs the macro
// manager and has no content. Rows follow each other with a 5-pixel gap and an open row pushes
// the later ones down; the panel does not scroll.
class LeftPanel
{
public:
    enum RowIndex : std::size_t
    {
        kButtonAssignment,
        kMacroManager,
        kXySensitivity,
        kLightButton,
        kRowCount
    };

    static constexpr Rect kViewport{20, 107, 262, 600};
    static constexpr Point kFirstHeader{20, 107};
    static constexpr int kHeaderWidth = 242;
    static constexpr int kHeaderGap = 5;
    static constexpr std::array<int, kRowCount> kHeaderHeights{20, 38, 20, 20};

    LeftPanel(std::unique_ptr<PanelSection> buttonAssignment, std::string_view macroManagerTitle,
              std::unique_ptr<PanelSection> xySensitivity, std::unique_ptr<PanelSection> lightButton);

    SectionStack& Stack() { return m_stack; }
    const SectionStack& Stack() const { return m_stack; }

private:
    SectionStack m_stack;
};

} // namespace veldrane
