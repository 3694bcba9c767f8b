#pragma once

#include "gui/sections/QtColourPicker.h"
#include "gui/sections/QtEditBox.h"

namespace veldrane {

class CHidMouseDlg;
struct AppContext;

// The system's widgets behind the settings sections of the main window (the colour dialog of the
// CPI swatches, the line-count box of "Scroll Speed"), and the sections themselves, put into the
// window's model on construction. The window owns it; it must not outlive the window.
class SettingsSectionsUi
{
public:
    SettingsSectionsUi(CHidMouseDlg& window, AppContext& context);

    QtEditBox& ScrollLinesBox() { return m_scrollLines; }

private:
    QtColourPicker m_colours;
    QtEditBox m_scrollLines;
};

} // namespace veldrane
