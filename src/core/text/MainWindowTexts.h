#pragma once

#include <array>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The main window's text set in one language, filled once at start-up. Texts are used exactly as
// they stand, trailing blanks included.
struct MainWindowTexts
{
    // Device notices shown as balloons.
    std::array<std::string_view, 6> cpiStageNotices; // "Switch CPI into the first stage " ...
    std::string_view switchToMacroKey;               // "Switch to macro key"
    std::string_view mouseNotDetected;               // "The system did not detect the gaming mouse!"
    std::string_view mouseDetected;                  // "The system detect the gaming mouse."

    // "Save" and "Reset": a message box, titled "Warning" when the mouse did not take the settings.
    std::string_view settingsNotTaken;  // "The gaming mouse did not take the settings. They are saved; ..."
    std::string_view savedWithoutMouse; // "The gaming mouse is not connected. Your settings are saved ..."
    std::string_view notStored;         // the files could not be written, so the mouse got nothing
    std::string_view resetWithoutMouse; // "Reset" without the mouse: shown, not saved

    // A profile file that could not be read; the file and the reason follow on a second line.
    std::string_view profileUnreadable; // "The profile file could not be read; the factory settings are shown. ..."
    // A journal of an interrupted change that could not be read; the name it was kept under follows.
    std::string_view journalDamaged;

    // Bottom row and views of the mouse.
    std::string_view reset;  // "Reset"
    std::string_view cancel; // "Cancel"
    std::string_view save;   // "Save"
    std::string_view config; // "Config"
    std::string_view top;    // "Top"
    std::string_view side;   // "Side"

    // Left panel, rows 1 to 4.
    std::string_view buttonAssignment;     // "Button Assignment"
    std::string_view macroManager;         // "Macro Manager"
    std::string_view xySensitivitySetting; // "X/Y Sensitivity Setting"
    std::string_view m1M5LightButton;      // "M1-M5 Light Button "

    // Right panel, the seven section headers in their order.
    std::string_view cpiSetting;       // "CPI Setting"
    std::string_view lighting;         // "Lighting"
    std::string_view usbReportRate;    // "USB Report Rate"
    std::string_view mouseSpeed;       // "Mouse Speed"
    std::string_view doubleClickSpeed; // "Double Click Speed"
    std::string_view scrollSpeed;      // "Scroll Speed"
    std::string_view angleSnap;        // "Angle Snap"

    // Captions inside the sections.
    std::string_view on;              // "ON"
    std::string_view off;             // "OFF"
    std::string_view xAxis;           // "X axis"
    std::string_view yAxis;           // "Y axis"
    std::string_view slow;            // "Slow"
    std::string_view fast;            // "Fast"
    std::string_view numberOfRows;    // "The number of rows"
    std::string_view scrollOneScreen; // "Scroll one screen"
    std::string_view singleColor;     // "Single color"  (light mode 1)
    std::string_view pulsating;       // "Pulsating"     (light mode 2)
    std::string_view multiColor;      // "Multi-color "  (light mode 3)

    // Tray menu.
    std::string_view exit; // "Exit"

    // Scale labels under the lighting sliders, positions 1 to 5, for light modes 1 to 3.
    std::array<std::array<std::string_view, 5>, 3> lightLevelLabels; // "0%" ... / "4S" ... / "3S" ...
    // Scale labels under the sensitivity and angle-snap sliders.
    std::array<std::string_view, 10> sliderScaleLabels; // "1" to "10"
};

const MainWindowTexts& MainWindowTextsFor(Language language);

} // namespace veldrane
