#include "screens/main/LeftPanel.h"

#include "screens/main/PanelSection.h"

namespace veldrane {

LeftPanel::LeftPanel(std::unique_ptr<PanelSection> buttonAssignment, std::string_view macroManagerTitle,
                     std::unique_ptr<PanelSection> xySensitivity, std::unique_ptr<PanelSection> lightButton)
    : m_stack(kViewport, kFirstHeader, kHeaderWidth, kHeaderGap)
{
    m_stack.AddRow(kHeaderHeights[kButtonAssignment], {}, std::move(buttonAssignment));
    m_stack.AddRow(kHeaderHeights[kMacroManager], macroManagerTitle, nullptr);
    m_stack.AddRow(kHeaderHeights[kXySensitivity], {}, std::move(xySensitivity));
    m_stack.AddRow(kHeaderHeights[kLightButton], {}, std::move(lightButton));
}

} // namespace veldrane
