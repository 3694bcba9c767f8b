#include "gui/sections/SettingsSectionsUi.h"

#include "gui/CHidMouseDlg.h"
#include "screens/main/AppContext.h"
#include "screens/main/sections/SettingsSections.h"

namespace veldrane {

SettingsSectionsUi::SettingsSectionsUi(CHidMouseDlg& window, AppContext& context)
    : m_colours(window), m_scrollLines(window, window.Fonts().FontFor(FontRole::Text), QStringLiteral("scrollLines"))
{
    InstallSettingsSections(window.Model(), context, m_colours, m_scrollLines);
}

} // namespace veldrane
