#pragma once

namespace veldrane {

class ColourPicker;
class EditBox;
class MainWindowModel;
struct AppContext;

// Puts the settings sections into the main window's panels in place of their empty ones: on the
// right "CPI Setting", "Lighting", "USB Report Rate", "Mouse Speed", "Double Click Speed",
// "Scroll Speed" and "Angle Snap"; on the left "X/Y Sensitivity Setting" and
// "M1-M5 Light Button ". They edit the context's current record; the colour swatches run
// `colours`, and `scrollLines` is the line-count box of "Scroll Speed". The model, the context and
// both must outlive the sections.
void InstallSettingsSections(MainWindowModel& window, AppContext& context, ColourPicker& colours, EditBox& scrollLines);

} // namespace veldrane
