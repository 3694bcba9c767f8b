#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace veldrane {

inline constexpr std::size_t kProfileRecordSize = 1824;
inline constexpr std::size_t kSettingsPartSize = 0x120;
inline constexpr std::size_t kMacroPartOffset = 0x120;
inline constexpr std::size_t kMacroPartSize = kProfileRecordSize - kSettingsPartSize;
inline constexpr std::size_t kButtonCount = 12;
inline constexpr std::size_t kMacroCount = 12;
inline constexpr std::size_t kMacroBufferSize = 128;
inline constexpr std::size_t kCpiStageCount = 6;

using ButtonArray = std::array<std::uint8_t, kButtonCount>;

// cpiValue counts a stage's resolution in units of 50 CPI, as the mouse does.
inline constexpr int kCpiUnit = 50;

// Every setting of one profile, exactly as the configuration files store it after their flag
// byte. The layout is a file format: offsets are binding, and reserved bytes are carried through
// untouched. No field is checked against its domain; every consumer accepts any byte.
//
//  0x000  deviceProfile        profile number the mouse reports (0x82)
//  0x001  reserved[4]
//  0x005  reportRate           1 = 1000 Hz, 2 = 500 Hz, 4 = 250 Hz, 8 = 125 Hz
//  0x006  sideButtonLight      1 = on, 0 = off
//  0x007  cpiValue[6]          CPI of stages 1-6 in units of 50
//  0x00D  reserved[2]
//  0x00F  cpiEnabled[6]        1 = stage enabled
//  0x015  reserved[2]
//  0x017  cpiColor[18]         red, green, blue of stages 1-6
//  0x029  reserved[6]
//  0x02F  lightMode            0 off, 1 single colour, 2 pulsating, 3 multi-colour
//  0x030  lightLevel[3]        level 1-6 of modes 1, 2, 3
//  0x033  pointerPrecision     1 = enhanced pointer precision
//  0x034  scrollOneScreen      1 = one screen per notch
//  0x035  mouseSpeed           dial position 1-12
//  0x036  scrollLines          lines per notch 1-100
//  0x037  doubleClickSpeed     dial position 1-12
//  0x038  angleSnap            slider position 1-11
//  0x039  reserved
//  0x03A  sensitivityX         slider position 1-11
//  0x03B  sensitivityY         slider position 1-11
//  0x03C  buttonFunction[12]   function code of buttons 1-12
//  0x048  eighteen 12-byte per-button parameter arrays (reserved ones included)
//  0x120  macroData[1536]      twelve 128-byte macro buffers in the mouse's encoding
struct ProfileRecord
{
    std::uint8_t deviceProfile;
    std::array<std::uint8_t, 4> reserved001;
    std::uint8_t reportRate;
    std::uint8_t sideButtonLight;
    std::array<std::uint8_t, kCpiStageCount> cpiValue;
    std::array<std::uint8_t, 2> reserved00D;
    std::array<std::uint8_t, kCpiStageCount> cpiEnabled;
    std::array<std::uint8_t, 2> reserved015;
    std::array<std::uint8_t, 3 * kCpiStageCount> cpiColor;
    std::array<std::uint8_t, 6> reserved029;
    std::uint8_t lightMode;
    std::array<std::uint8_t, 3> lightLevel;
    std::uint8_t pointerPrecision;
    std::uint8_t scrollOneScreen;
    std::uint8_t mouseSpeed;
    std::uint8_t scrollLines;
    std::uint8_t doubleClickSpeed;
    std::uint8_t angleSnap;
    std::uint8_t reserved039;
    std::uint8_t sensitivityX;
    std::uint8_t sensitivityY;
    ButtonArray buttonFunction;
    ButtonArray cpiAction;
    ButtonArray reserved054;
    ButtonArray mediaUsage;
    ButtonArray systemCommand;
    ButtonArray reserved078;
    ButtonArray reserved084;
    ButtonArray reserved090;
    ButtonArray editKey;
    ButtonArray singleKey;
    ButtonArray comboModifier;
    ButtonArray comboKey1;
    ButtonArray comboKey2;
    ButtonArray reserved0D8;
    ButtonArray reserved0E4;
    ButtonArray reserved0F0;
    ButtonArray reserved0FC;
    ButtonArray macroNumber;
    ButtonArray macroRepeat;
    std::array<std::uint8_t, kMacroCount * kMacroBufferSize> macroData;

    // The record as the 1824 bytes of the file format.
    std::span<std::uint8_t, kProfileRecordSize> Bytes();
    std::span<const std::uint8_t, kProfileRecordSize> Bytes() const;

    // Bytes 0x000-0x11F (replaced by a reset) and 0x120-0x71F (the macros).
    std::span<std::uint8_t, kSettingsPartSize> SettingsPart();
    std::span<std::uint8_t, kMacroPartSize> MacroPart();

    // The 128-byte device buffer of macro n, 0 to 11.
    std::span<std::uint8_t, kMacroBufferSize> MacroBuffer(std::size_t n);
    std::span<const std::uint8_t, kMacroBufferSize> MacroBuffer(std::size_t n) const;

    friend bool operator==(const ProfileRecord&, const ProfileRecord&) = default;
};

// Brings every setting that the window edits and the mouse receives to the nearest value the
// window's controls produce, so that what a loaded or imported file holds is what the window
// shows and the mouse gets:
//
//   reportRate               1, 2, 4 or 8 (a tie goes to the faster rate)
//   cpiValue of stages 1-4   1 to 164;  cpiEnabled of stages 1-4: any byte but 0 is 1
//   lightMode                0 to 3;    lightLevel: 1 to 6
//   angleSnap, sensitivityX, sensitivityY    1 to 11
//   mouseSpeed, doubleClickSpeed             dial positions 1 to 12
//   scrollLines                              1 to 100
//   sideButtonLight, pointerPrecision, scrollOneScreen   1, any other byte 0 (shown as off)
//
// Stages 5 and 6, the buttons (core/buttons has their rules), the macros and the reserved bytes
// keep their bytes. Returns the groups it changed, each once, in the order of this list.
enum class SettingGroup
{
    ReportRate,
    CpiStages,
    Lighting,
    AngleSnap,
    Sensitivity,
    SideButtonLight,
    MouseSpeed, // and pointer precision
    ScrollSpeed,
    DoubleClickSpeed,
};
std::vector<SettingGroup> BringIntoControlRange(ProfileRecord& record);

// The current record, which every page edits, and the backup taken at the last load or apply.
// Both start as 1824 zero bytes.
struct ProfileRecords
{
    ProfileRecord Current{};
    ProfileRecord Backup{};

    // Current -> Backup, all 1824 bytes.
    void Snapshot() { Backup = Current; }
    // Backup -> Current, all 1824 bytes: drops every change since the last load or apply.
    void Revert() { Current = Backup; }
};

} // namespace veldrane
