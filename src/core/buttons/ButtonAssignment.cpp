#include "core/buttons/ButtonAssignment.h"

#include <algorithm>
#include <utility>

#include "core/buttons/KeyTables.h"
#include "core/profile/FactoryDefaults.h"
#include "core/text/AssignmentTexts.h"

namespace veldrane {
namespace {

// Labels of functions with a detail: entry text, this separator, the detail.
constexpr std::string_view kDetailSeparator = "-";
constexpr std::string_view kComboJoiner = "+";

// The repeat modes of the macro key dialog: 0 to 2.
constexpr std::uint8_t kMacroRepeatModes = 3;

// A key code that "Single Key" or "Combo Key" can store: 0 (a key the table lacks) or a table row's.
bool IsTableKeyCode(std::uint8_t code)
{
    if (code == 0) {
        return true;
    }
    const std::vector<std::string_view> names = KeyNames();
    return std::any_of(names.begin(), names.end(), [code](std::string_view name) {
        return KeyCodeFromName(name, KeyTableInstance::Button) == code;
    });
}

bool IsModifierBit(std::uint8_t bit)
{
    const auto& names = ModifierNames();
    return bit == 0 || std::any_of(names.begin(), names.end(),
                                   [bit](std::string_view name) { return ModifierBitFromName(name) == bit; });
}

template <typename Produce> bool IsSubmenuValue(std::uint8_t value, std::size_t count, Produce produce)
{
    for (std::size_t position = 0; position < count; ++position) {
        if (produce(position) == value) {
            return true;
        }
    }
    return false;
}

} // namespace

bool IsMenuFunction(const ProfileRecord& record, std::size_t button)
{
    if (button >= kButtonCount || record.buttonFunction[button] >= kFunctionCount) {
        return false;
    }
    const auto code = static_cast<FunctionCode>(record.buttonFunction[button]);
    switch (code) {
    case FunctionCode::CpiCycle:
        return IsSubmenuValue(record.cpiAction[button], kCpiActionCount, CpiActionAt);
    case FunctionCode::Multimedia:
        return IsSubmenuValue(record.mediaUsage[button], kMediaCount, MediaUsageAt);
    case FunctionCode::HotKey:
        return IsSubmenuValue(record.editKey[button], kHotKeyCount, EditKeyAt);
    case FunctionCode::Windows:
        return record.systemCommand[button] < kSystemCommandCount;
    case FunctionCode::SingleKey:
        return IsTableKeyCode(record.singleKey[button]);
    case FunctionCode::ComboKey:
        return IsModifierBit(record.comboModifier[button]) && IsTableKeyCode(record.comboKey1[button]) &&
               IsTableKeyCode(record.comboKey2[button]);
    case FunctionCode::MacroKey:
        return record.macroNumber[button] < kMacroCount && record.macroRepeat[button] < kMacroRepeatModes;
    default:
        return IsPlainFunction(code);
    }
}

std::vector<std::size_t> BringButtonsIntoMenuRange(ProfileRecord& record)
{
    const ProfileRecord factory = FactoryProfile();
    std::vector<std::size_t> changed;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        if (!IsMenuFunction(record, button)) {
            record.buttonFunction[button] = factory.buttonFunction[button];
            record.cpiAction[button] = factory.cpiAction[button];
            changed.push_back(button);
        }
    }
    return changed;
}

std::span<const std::string_view> SubmenuTexts(const AssignmentTexts& texts, FunctionCode code)
{
    switch (code) {
    case FunctionCode::CpiCycle:
        return texts.cpiActions;
    case FunctionCode::Multimedia:
        return texts.media;
    case FunctionCode::HotKey:
        return texts.hotKeys;
    case FunctionCode::Windows:
        return texts.systemCommands;
    default:
        return {};
    }
}

ButtonAssignment::ButtonAssignment(ProfileRecord& record, ButtonLabels& buttonLabel, Language language)
    : m_record(record), m_buttonLabel(buttonLabel), m_texts(AssignmentTextsFor(language)), m_language(language)
{}

void ButtonAssignment::StoreFactoryFunction(std::size_t button)
{
    if (button >= kButtonCount) {
        return;
    }
    const ProfileRecord factory = FactoryProfile();
    m_record.buttonFunction[button] = factory.buttonFunction[button];
    m_record.cpiAction[button] = factory.cpiAction[button];
    m_buttonLabel[button] = FactoryLabels(m_language)[button];
}

bool ButtonAssignment::StorePlainFunction(std::size_t button, FunctionCode code)
{
    if (button >= kButtonCount || !IsPlainFunction(code)) {
        return false;
    }
    SetFunction(button, code);
    m_buttonLabel[button] = std::string(m_texts.functions[static_cast<std::size_t>(code)]);
    return true;
}

bool ButtonAssignment::StoreSubmenuChoice(std::size_t button, FunctionCode code, std::size_t position)
{
    if (button >= kButtonCount || position >= SubmenuSize(code)) {
        return false;
    }
    switch (code) {
    case FunctionCode::CpiCycle:
        m_record.cpiAction[button] = CpiActionAt(position);
        break;
    case FunctionCode::Multimedia:
        m_record.mediaUsage[button] = MediaUsageAt(position);
        break;
    case FunctionCode::HotKey:
        m_record.editKey[button] = EditKeyAt(position);
        break;
    default:
        m_record.systemCommand[button] = static_cast<std::uint8_t>(position);
        break;
    }
    SetFunction(button, code);
    m_buttonLabel[button] = std::string(SubmenuTexts(m_texts, code)[position]);
    return true;
}

bool ButtonAssignment::StoreSingleKey(std::size_t button, std::string_view keyName)
{
    if (button >= kButtonCount) {
        return false;
    }
    m_record.singleKey[button] = KeyCodeFromName(keyName, KeyTableInstance::Button);
    SetFunction(button, FunctionCode::SingleKey);
    m_buttonLabel[button] = EntryLabel(FunctionCode::SingleKey, keyName);
    return true;
}

bool ButtonAssignment::StoreComboKey(std::size_t button, std::string_view modifierName, std::string_view key1Name,
                                     std::string_view key2Name)
{
    if (button >= kButtonCount) {
        return false;
    }
    const std::uint8_t modifier = ModifierBitFromName(modifierName);
    const std::uint8_t key1 = KeyCodeFromName(key1Name, KeyTableInstance::Button);
    const std::uint8_t key2 = KeyCodeFromName(key2Name, KeyTableInstance::Button);
    m_record.comboModifier[button] = modifier;
    m_record.comboKey1[button] = key1;
    m_record.comboKey2[button] = key2;
    SetFunction(button, FunctionCode::ComboKey);

    // The codes decide which parts appear; the label shows the names as chosen.
    const std::array<std::pair<std::uint8_t, std::string_view>, 3> candidates = {
        {{modifier, modifierName}, {key1, key1Name}, {key2, key2Name}}};
    std::string parts;
    for (const auto& [code, name] : candidates) {
        if (code == 0) {
            continue;
        }
        if (!parts.empty()) {
            parts += kComboJoiner;
        }
        parts += name;
    }
    m_buttonLabel[button] = EntryLabel(FunctionCode::ComboKey, parts);
    return true;
}

bool ButtonAssignment::StoreMacroBinding(std::size_t button, std::uint8_t macroNumber, std::uint8_t macroRepeat,
                                         std::string_view macroName)
{
    if (button >= kButtonCount) {
        return false;
    }
    m_record.macroNumber[button] = macroNumber;
    m_record.macroRepeat[button] = macroRepeat;
    SetFunction(button, FunctionCode::MacroKey);
    m_buttonLabel[button] = EntryLabel(FunctionCode::MacroKey, macroName);
    return true;
}

std::vector<std::size_t> ButtonAssignment::RemoveMacro(std::size_t macroNumber)
{
    std::vector<std::size_t> unbound;
    if (macroNumber >= kMacroCount) {
        return unbound;
    }
    auto& data = m_record.macroData;
    const auto slot = [&](std::size_t n) { return data.begin() + static_cast<std::ptrdiff_t>(n * kMacroBufferSize); };
    std::copy(slot(macroNumber + 1), data.end(), slot(macroNumber));
    std::fill(slot(kMacroCount - 1), data.end(), std::uint8_t{0});

    for (std::size_t button = 0; button < kButtonCount; ++button) {
        if (m_record.buttonFunction[button] != static_cast<std::uint8_t>(FunctionCode::MacroKey)) {
            continue;
        }
        const std::uint8_t bound = m_record.macroNumber[button];
        if (bound == macroNumber) {
            StoreFactoryFunction(button);
            unbound.push_back(button);
        } else if (bound > macroNumber) {
            m_record.macroNumber[button] = static_cast<std::uint8_t>(bound - 1);
        }
    }
    return unbound;
}

void ButtonAssignment::SetFunction(std::size_t button, FunctionCode code)
{
    m_record.buttonFunction[button] = static_cast<std::uint8_t>(code);
}

std::string ButtonAssignment::EntryLabel(FunctionCode code, std::string_view detail) const
{
    std::string label(m_texts.functions[static_cast<std::size_t>(code)]);
    label += kDetailSeparator;
    label += detail;
    return label;
}

} // namespace veldrane
