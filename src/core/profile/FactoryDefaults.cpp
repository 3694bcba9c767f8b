#include "core/profile/FactoryDefaults.h"

#include "core/profile/FunctionCode.h"
#include "core/text/AssignmentTexts.h"

namespace veldrane {

namespace {

// ---- The factory profile -------------------------------------------------------------------

struct FactoryButton
{
    FunctionCode function;
    std::uint8_t cpiAction; // for "CPI Cycle": 1 "CPI +", 2 "CPI -", 3 "CPI Loop"; 0 otherwise
};

constexpr std::uint8_t kCpiUp = 1;
constexpr std::uint8_t kCpiDown = 2;

constexpr std::array<FactoryButton, kButtonCount> kFactoryButtons = {{
    {FunctionCode::Click, 0},            // button 1
    {FunctionCode::Menu, 0},             // button 2
    {FunctionCode::UniversalScroll, 0},  // button 3
    {FunctionCode::LeftTitleScroll, 0},  // button 4
    {FunctionCode::RightTitleScroll, 0}, // button 5
    {FunctionCode::CpiCycle, kCpiUp},    // button 6
    {FunctionCode::CpiCycle, kCpiDown},  // button 7
    {FunctionCode::ButtonOff, 0},        // button 8
    {FunctionCode::ButtonOff, 0},        // button 9
    {FunctionCode::ButtonOff, 0},        // button 10
    {FunctionCode::ButtonOff, 0},        // button 11
    {FunctionCode::ButtonOff, 0},        // button 12
}};

struct FactoryCpiStage
{
    int cpi; // a multiple of kCpiUnit
    bool enabled;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// Stages 5 and 6 are neither shown nor sent; they are kept off with values of their own.
constexpr std::array<FactoryCpiStage, kCpiStageCount> kFactoryCpiStages = {{
    {800, true, 255, 0, 0},     // stage 1, red
    {1600, true, 0, 255, 0},    // stage 2, green
    {2400, true, 0, 0, 255},    // stage 3, blue
    {3200, true, 255, 255, 0},  // stage 4, yellow
    {4000, false, 0, 255, 255}, // stage 5, cyan
    {4800, false, 255, 0, 255}, // stage 6, magenta
}};

constexpr std::uint8_t kReportRate1000Hz = 1;
constexpr std::uint8_t kSideButtonLightOn = 1;
constexpr std::uint8_t kLightModeSingleColor = 1;
// Levels of "Single color" (full brightness), "Pulsating" and "Multi-color ".
constexpr std::array<std::uint8_t, 3> kLightLevels = {6, 3, 3};

// The desktop's pointer settings: dial position 6 is pointer speed 10 and position 7 a
// double-click time of 480 ms, the middle of both scales.
constexpr std::uint8_t kPointerPrecisionOn = 1;
constexpr std::uint8_t kScrollByLines = 0;
constexpr std::uint8_t kMouseSpeed = 6;
constexpr std::uint8_t kScrollLines = 3;
constexpr std::uint8_t kDoubleClickSpeed = 7;

// Slider positions: angle snap 1 sends code 0x00 (off); sensitivity 6 is the middle of 1 to 11.
constexpr std::uint8_t kAngleSnapOff = 1;
constexpr std::uint8_t kSensitivityMiddle = 6;

// ---- Sections "Skins" and "Point" of the label files ---------------------------------------

constexpr std::string_view kSkinFolder = "Default";
// A light text colour, readable on the dark default skin.
constexpr int kTextRed = 230;
constexpr int kTextGreen = 230;
constexpr int kTextBlue = 230;

// Vertical positions, in pixels below the top of their section's content, of the X and Y
// sensitivity strips (the Y strip 60 pixels below the X strip), the angle-snap strip (under its
// 85-pixel illustration) and the two speed dials.
constexpr int kSensitivityX_Y = 36;
constexpr int kSensitivityY_Y = 96;
constexpr int kSensitivity_Y = 100;
constexpr int kMouseSpeed_Y = 28;

} // namespace

ProfileRecord FactoryProfile()
{
    ProfileRecord record{};
    record.reportRate = kReportRate1000Hz;
    record.sideButtonLight = kSideButtonLightOn;
    for (std::size_t stage = 0; stage < kCpiStageCount; ++stage) {
        const FactoryCpiStage& factory = kFactoryCpiStages[stage];
        record.cpiValue[stage] = static_cast<std::uint8_t>(factory.cpi / kCpiUnit);
        record.cpiEnabled[stage] = factory.enabled ? 1 : 0;
        record.cpiColor[3 * stage] = factory.red;
        record.cpiColor[3 * stage + 1] = factory.green;
        record.cpiColor[3 * stage + 2] = factory.blue;
    }
    record.lightMode = kLightModeSingleColor;
    record.lightLevel = kLightLevels;
    record.pointerPrecision = kPointerPrecisionOn;
    record.scrollOneScreen = kScrollByLines;
    record.mouseSpeed = kMouseSpeed;
    record.scrollLines = kScrollLines;
    record.doubleClickSpeed = kDoubleClickSpeed;
    record.angleSnap = kAngleSnapOff;
    record.sensitivityX = kSensitivityMiddle;
    record.sensitivityY = kSensitivityMiddle;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        record.buttonFunction[button] = static_cast<std::uint8_t>(kFactoryButtons[button].function);
        record.cpiAction[button] = kFactoryButtons[button].cpiAction;
    }
    return record;
}

std::array<std::string, kButtonCount> FactoryLabels(Language language)
{
    // The texts the assignment menu would have given the buttons: the main-list entry, or for
    // "CPI Cycle" the chosen submenu entry.
    const AssignmentTexts& texts = AssignmentTextsFor(language);
    std::array<std::string, kButtonCount> labels;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        const FactoryButton& factory = kFactoryButtons[button];
        labels[button] = factory.function == FunctionCode::CpiCycle
                             ? texts.cpiActions[factory.cpiAction - 1]
                             : texts.functions[static_cast<std::size_t>(factory.function)];
    }
    return labels;
}

SkinSettings FactorySkin()
{
    return SkinSettings{std::string(kSkinFolder), kTextRed, kTextGreen, kTextBlue};
}

PointSettings FactoryPoint()
{
    return PointSettings{kSensitivityX_Y, kSensitivityY_Y, kSensitivity_Y, kMouseSpeed_Y};
}

} // namespace veldrane
