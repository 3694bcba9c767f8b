#include "core/profile/ProfileRecord.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <type_traits>
#include <utility>

namespace veldrane {

static_assert(std::is_standard_layout_v<ProfileRecord> && std::is_trivially_copyable_v<ProfileRecord>);
static_assert(sizeof(ProfileRecord) == kProfileRecordSize);
static_assert(offsetof(ProfileRecord, deviceProfile) == 0x000);
static_assert(offsetof(ProfileRecord, reportRate) == 0x005);
static_assert(offsetof(ProfileRecord, sideButtonLight) == 0x006);
static_assert(offsetof(ProfileRecord, cpiValue) == 0x007);
static_assert(offsetof(ProfileRecord, cpiEnabled) == 0x00F);
static_assert(offsetof(ProfileRecord, cpiColor) == 0x017);
static_assert(offsetof(ProfileRecord, lightMode) == 0x02F);
static_assert(offsetof(ProfileRecord, lightLevel) == 0x030);
static_assert(offsetof(ProfileRecord, pointerPrecision) == 0x033);
static_assert(offsetof(ProfileRecord, scrollOneScreen) == 0x034);
static_assert(offsetof(ProfileRecord, mouseSpeed) == 0x035);
static_assert(offsetof(ProfileRecord, scrollLines) == 0x036);
static_assert(offsetof(ProfileRecord, doubleClickSpeed) == 0x037);
static_assert(offsetof(ProfileRecord, angleSnap) == 0x038);
static_assert(offsetof(ProfileRecord, sensitivityX) == 0x03A);
static_assert(offsetof(ProfileRecord, sensitivityY) == 0x03B);
static_assert(offsetof(ProfileRecord, buttonFunction) == 0x03C);
static_assert(offsetof(ProfileRecord, cpiAction) == 0x048);
static_assert(offsetof(ProfileRecord, mediaUsage) == 0x060);
static_assert(offsetof(ProfileRecord, systemCommand) == 0x06C);
static_assert(offsetof(ProfileRecord, editKey) == 0x09C);
static_assert(offsetof(ProfileRecord, singleKey) == 0x0A8);
static_assert(offsetof(ProfileRecord, comboModifier) == 0x0B4);
static_assert(offsetof(ProfileRecord, comboKey1) == 0x0C0);
static_assert(offsetof(ProfileRecord, comboKey2) == 0x0CC);
static_assert(offsetof(ProfileRecord, macroNumber) == 0x108);
static_assert(offsetof(ProfileRecord, macroRepeat) == 0x114);
static_assert(offsetof(ProfileRecord, macroData) == kMacroPartOffset);

// The record is trivially copyable and made of bytes only, so its object representation is the
// file format itself.
std::span<std::uint8_t, kProfileRecordSize> ProfileRecord::Bytes()
{
    return std::span<std::uint8_t, kProfileRecordSize>(reinterpret_cast<std::uint8_t*>(this), kProfileRecordSize);
}

std::span<const std::uint8_t, kProfileRecordSize> ProfileRecord::Bytes() const
{
    return std::span<const std::uint8_t, kProfileRecordSize>(reinterpret_cast<const std::uint8_t*>(this),
                                                             kProfileRecordSize);
}

std::span<std::uint8_t, kSettingsPartSize> ProfileRecord::SettingsPart()
{
    return Bytes().first<kSettingsPartSize>();
}

std::span<std::uint8_t, kMacroPartSize> ProfileRecord::MacroPart()
{
    return Bytes().last<kMacroPartSize>();
}

std::span<std::uint8_t, kMacroBufferSize> ProfileRecord::MacroBuffer(std::size_t n)
{
    return std::span<std::uint8_t, kMacroBufferSize>(macroData.data() + (n % kMacroCount) * kMacroBufferSize,
                                                     kMacroBufferSize);
}

std::span<const std::uint8_t, kMacroBufferSize> ProfileRecord::MacroBuffer(std::size_t n) const
{
    return std::span<const std::uint8_t, kMacroBufferSize>(macroData.data() + (n % kMacroCount) * kMacroBufferSize,
                                                           kMacroBufferSize);
}

namespace {

// The values the window's controls produce.
constexpr std::array<std::uint8_t, 4> kReportRates = {1, 2, 4, 8};
constexpr std::uint8_t kMinCpiValue = 1;
constexpr std::uint8_t kMaxCpiValue = 164;
constexpr std::size_t kShownCpiStages = 4;
constexpr std::uint8_t kMaxLightMode = 3;
constexpr std::uint8_t kMinLightLevel = 1;
constexpr std::uint8_t kMaxLightLevel = 6;
constexpr std::uint8_t kMinSliderPosition = 1;
constexpr std::uint8_t kMaxSliderPosition = 11;
constexpr std::uint8_t kMinDialPosition = 1;
constexpr std::uint8_t kMaxDialPosition = 12;
constexpr std::uint8_t kMinScrollLines = 1;
constexpr std::uint8_t kMaxScrollLines = 100;
constexpr std::uint8_t kSwitchOn = 1;

std::uint8_t NearestReportRate(std::uint8_t reportRate)
{
    // The list runs from the fastest rate, so the first of two equally near ones is the faster.
    return *std::min_element(kReportRates.begin(), kReportRates.end(), [reportRate](int a, int b) {
        return std::abs(a - reportRate) < std::abs(b - reportRate);
    });
}

void Clamp(std::uint8_t& value, std::uint8_t low, std::uint8_t high)
{
    value = std::clamp(value, low, high);
}

// A switch that the window shows as on only at 1.
void OnlyOneIsOn(std::uint8_t& value)
{
    value = value == kSwitchOn ? kSwitchOn : 0;
}

} // namespace

std::vector<SettingGroup> BringIntoControlRange(ProfileRecord& record)
{
    const ProfileRecord before = record;
    record.reportRate = NearestReportRate(record.reportRate);
    for (std::size_t stage = 0; stage < kShownCpiStages; ++stage) {
        Clamp(record.cpiValue[stage], kMinCpiValue, kMaxCpiValue);
        // The stage's switch shows and sends "enabled" for any byte but 0.
        record.cpiEnabled[stage] = record.cpiEnabled[stage] != 0 ? kSwitchOn : 0;
    }
    record.lightMode = std::min(record.lightMode, kMaxLightMode);
    for (std::uint8_t& level : record.lightLevel) {
        Clamp(level, kMinLightLevel, kMaxLightLevel);
    }
    Clamp(record.angleSnap, kMinSliderPosition, kMaxSliderPosition);
    Clamp(record.sensitivityX, kMinSliderPosition, kMaxSliderPosition);
    Clamp(record.sensitivityY, kMinSliderPosition, kMaxSliderPosition);
    Clamp(record.mouseSpeed, kMinDialPosition, kMaxDialPosition);
    Clamp(record.doubleClickSpeed, kMinDialPosition, kMaxDialPosition);
    Clamp(record.scrollLines, kMinScrollLines, kMaxScrollLines);
    OnlyOneIsOn(record.sideButtonLight);
    OnlyOneIsOn(record.pointerPrecision);
    OnlyOneIsOn(record.scrollOneScreen);

    const auto differs = [&](auto member) { return before.*member != record.*member; };
    const std::pair<SettingGroup, bool> groups[] = {
        {SettingGroup::ReportRate, differs(&ProfileRecord::reportRate)},
        {SettingGroup::CpiStages, differs(&ProfileRecord::cpiValue) || differs(&ProfileRecord::cpiEnabled)},
        {SettingGroup::Lighting, differs(&ProfileRecord::lightMode) || differs(&ProfileRecord::lightLevel)},
        {SettingGroup::AngleSnap, differs(&ProfileRecord::angleSnap)},
        {SettingGroup::Sensitivity, differs(&ProfileRecord::sensitivityX) || differs(&ProfileRecord::sensitivityY)},
        {SettingGroup::SideButtonLight, differs(&ProfileRecord::sideButtonLight)},
        {SettingGroup::MouseSpeed, differs(&ProfileRecord::mouseSpeed) || differs(&ProfileRecord::pointerPrecision)},
        {SettingGroup::ScrollSpeed, differs(&ProfileRecord::scrollLines) || differs(&ProfileRecord::scrollOneScreen)},
        {SettingGroup::DoubleClickSpeed, differs(&ProfileRecord::doubleClickSpeed)},
    };
    std::vector<SettingGroup> changed;
    for (const auto& [group, wasChanged] : groups) {
        if (wasChanged) {
            changed.push_back(group);
        }
    }
    return changed;
}

} // namespace veldrane
