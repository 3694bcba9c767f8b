#include "core/exchange/ProfileJson.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>
#include <span>
#include <utility>

#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/buttons/KeyTables.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/settings/CpiStage.h"
#include "core/text/AssignmentTexts.h"

namespace veldrane {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kShownStages = 4;
constexpr int kMaxPosition = 11; // sliders: sensitivity, angle snap
constexpr int kMaxDial = 12;     // pointer speed, double-click speed
constexpr int kMaxScrollLines = 100;
constexpr int kMaxLightLevel = 6;
constexpr int kRepeatModes = 3;
constexpr std::size_t kLightModes = 3;
constexpr std::array<std::string_view, 4> kLightModeNames = {"off", "single colour", "pulsating", "multi-colour"};
// Report-rate codes are the interval in milliseconds.
constexpr std::array<std::pair<int, std::uint8_t>, 4> kReportRates = {{{1000, 1}, {500, 2}, {250, 4}, {125, 8}}};

const AssignmentTexts& Names()
{
    return AssignmentTextsFor(Language::English);
}

// The per-button parameter arrays by the record's field names.
struct ParameterArray
{
    std::string_view name;
    ButtonArray ProfileRecord::*array;
};
constexpr std::array<ParameterArray, 10> kParameterArrays = {{{"cpiAction", &ProfileRecord::cpiAction},
                                                              {"mediaUsage", &ProfileRecord::mediaUsage},
                                                              {"systemCommand", &ProfileRecord::systemCommand},
                                                              {"editKey", &ProfileRecord::editKey},
                                                              {"singleKey", &ProfileRecord::singleKey},
                                                              {"comboModifier", &ProfileRecord::comboModifier},
                                                              {"comboKey1", &ProfileRecord::comboKey1},
                                                              {"comboKey2", &ProfileRecord::comboKey2},
                                                              {"macroNumber", &ProfileRecord::macroNumber},
                                                              {"macroRepeat", &ProfileRecord::macroRepeat}}};

// The arrays a function reads.
std::vector<std::string_view> UsedArrays(FunctionCode code)
{
    switch (code) {
    case FunctionCode::CpiCycle:
        return {"cpiAction"};
    case FunctionCode::Multimedia:
        return {"mediaUsage"};
    case FunctionCode::HotKey:
        return {"editKey"};
    case FunctionCode::Windows:
        return {"systemCommand"};
    case FunctionCode::SingleKey:
        return {"singleKey"};
    case FunctionCode::ComboKey:
        return {"comboModifier", "comboKey1", "comboKey2"};
    case FunctionCode::MacroKey:
        return {"macroNumber", "macroRepeat"};
    default:
        return {};
    }
}

// The name of the first key-table row with `usage`; none for 0 or a usage without a name.
Json KeyName(std::uint8_t usage)
{
    if (usage != 0) {
        for (const std::string_view name : KeyNames()) {
            if (KeyCodeFromName(name) == usage) {
                return std::string(name);
            }
        }
    }
    return nullptr;
}

Json ModifierName(std::uint8_t bit)
{
    for (const std::string_view name : ModifierNames()) {
        if (bit != 0 && ModifierBitFromName(name) == bit) {
            return std::string(name);
        }
    }
    return nullptr;
}

std::string Colour(const ProfileRecord& record, std::size_t stage)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", record.cpiColor[stage * 3], record.cpiColor[stage * 3 + 1],
                  record.cpiColor[stage * 3 + 2]);
    return text;
}

// The submenu entry of a button's function and parameter; none when the byte is not one the
// submenu produces.
std::span<const std::string_view> SubmenuNames(FunctionCode code)
{
    const AssignmentTexts& names = Names();
    switch (code) {
    case FunctionCode::CpiCycle:
        return names.cpiActions;
    case FunctionCode::Multimedia:
        return names.media;
    case FunctionCode::HotKey:
        return names.hotKeys;
    case FunctionCode::Windows:
        return names.systemCommands;
    default:
        return {};
    }
}

// The byte a submenu entry stores.
std::uint8_t SubmenuValueAt(FunctionCode code, std::size_t position)
{
    switch (code) {
    case FunctionCode::CpiCycle:
        return CpiActionAt(position);
    case FunctionCode::Multimedia:
        return MediaUsageAt(position);
    case FunctionCode::HotKey:
        return EditKeyAt(position);
    default:
        return static_cast<std::uint8_t>(position);
    }
}

// The submenu entry of a button's function and parameter; none when the byte is not one the
// submenu produces.
std::optional<std::string_view> SubmenuEntry(FunctionCode code, std::uint8_t value)
{
    const std::span<const std::string_view> names = SubmenuNames(code);
    for (std::size_t position = 0; position < names.size(); ++position) {
        if (SubmenuValueAt(code, position) == value) {
            return names[position];
        }
    }
    return std::nullopt;
}

std::uint8_t SubmenuParameter(const ProfileRecord& record, FunctionCode code, std::size_t button)
{
    switch (code) {
    case FunctionCode::CpiCycle:
        return record.cpiAction[button];
    case FunctionCode::Multimedia:
        return record.mediaUsage[button];
    case FunctionCode::HotKey:
        return record.editKey[button];
    default:
        return record.systemCommand[button];
    }
}

Json EncodeButton(const ReadableProfile& profile, const ProfileRecord& factory, std::size_t button)
{
    const ProfileRecord& record = profile.record;
    const std::uint8_t byte = record.buttonFunction[button];
    Json out;
    if (byte >= kFunctionCount) {
        out["function"] = byte; // no menu produces it: the import refuses it
        return out;
    }
    const auto code = static_cast<FunctionCode>(byte);
    out["function"] = std::string(Names().functions[byte]);
    if (IsSubmenuFunction(code)) {
        const std::uint8_t value = SubmenuParameter(record, code, button);
        if (const auto entry = SubmenuEntry(code, value)) {
            out["action"] = std::string(*entry);
        } else {
            out["action"] = value;
        }
    } else if (code == FunctionCode::SingleKey) {
        out["key"] = KeyName(record.singleKey[button]);
    } else if (code == FunctionCode::ComboKey) {
        out["modifier"] = ModifierName(record.comboModifier[button]);
        out["keys"] = Json::array({KeyName(record.comboKey1[button]), KeyName(record.comboKey2[button])});
    } else if (code == FunctionCode::MacroKey) {
        const std::size_t number = record.macroNumber[button];
        if (number < profile.macros.size()) {
            out["macro"] = profile.macros[number].name;
        } else {
            out["macro"] = nullptr; // bound to a macro the file does not have
        }
        out["repeat"] = record.macroRepeat[button];
    }
    Json kept = Json::object();
    const std::vector<std::string_view> used = UsedArrays(code);
    for (const ParameterArray& parameter : kParameterArrays) {
        if (std::ranges::find(used, parameter.name) != used.end()) {
            continue;
        }
        const std::uint8_t value = (record.*parameter.array)[button];
        if (value != (factory.*parameter.array)[button]) {
            kept[std::string(parameter.name)] = value;
        }
    }
    if (!kept.empty()) {
        out["kept"] = kept;
    }
    out["label"] = profile.labels[button];
    return out;
}

Json MacroJson(const MacroRecord& macro)
{
    Json events = Json::array();
    for (const MacroItem& item : macro.items) {
        events.push_back(item.Text());
    }
    return Json{{"name", macro.name},
                {"loop", macro.LoopTimeSelStatus != 0},
                {"loopCount", macro.MacroLoopTimes},
                {"recordedDelays", macro.DelayTimeSelStatus != 0},
                {"events", events}};
}

// Reading ----------------------------------------------------------------------------------------

// Collects what is wrong while a document is read; each check names the field it looked at.
class Reader
{
public:
    std::vector<std::string> problems;

    void Problem(const std::string& path, std::string_view what)
    {
        problems.push_back(path + ": " + std::string(what));
    }

    // The member `key` of `object`; a problem when it is missing.
    const Json* Member(const Json& object, const std::string& path, std::string_view key)
    {
        const auto it = object.find(std::string(key));
        if (it == object.end()) {
            Problem(Join(path, key), "missing");
            return nullptr;
        }
        return &*it;
    }

    // The object at `path`; a problem (and none) for anything else or a member not in `known`.
    const Json* Object(const Json* value, const std::string& path, std::initializer_list<std::string_view> known)
    {
        if (!value) {
            return nullptr;
        }
        if (!value->is_object()) {
            Problem(path, "must be an object");
            return nullptr;
        }
        for (const auto& [key, member] : value->items()) {
            if (std::ranges::find(known, std::string_view(key)) == known.end()) {
                Problem(Join(path, key), "is not a field of the profile form");
            }
        }
        return value;
    }

    std::optional<long> Integer(const Json* value, const std::string& path, long low, long high)
    {
        if (!value) {
            return std::nullopt;
        }
        if (!value->is_number_integer() || value->get<long>() < low || value->get<long>() > high) {
            Problem(path, "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
            return std::nullopt;
        }
        return value->get<long>();
    }

    std::optional<bool> Boolean(const Json* value, const std::string& path)
    {
        if (!value) {
            return std::nullopt;
        }
        if (!value->is_boolean()) {
            Problem(path, "must be true or false");
            return std::nullopt;
        }
        return value->get<bool>();
    }

    // A text without line breaks (which no file of the program can hold in one value).
    std::optional<std::string> Text(const Json* value, const std::string& path, bool mayBeEmpty = true)
    {
        if (!value) {
            return std::nullopt;
        }
        if (!value->is_string()) {
            Problem(path, "must be a text");
            return std::nullopt;
        }
        std::string text = value->get<std::string>();
        if (text.find_first_of("\r\n") != std::string::npos) {
            Problem(path, "must be one line");
            return std::nullopt;
        }
        if (!mayBeEmpty && text.empty()) {
            Problem(path, "must not be empty");
            return std::nullopt;
        }
        return text;
    }

    // One of `choices` by name.
    template <typename Names>
    std::optional<std::size_t> Choice(const Json* value, const std::string& path, const Names& choices)
    {
        if (!value) {
            return std::nullopt;
        }
        if (value->is_string()) {
            const std::string name = value->get<std::string>();
            for (std::size_t i = 0; i < std::size(choices); ++i) {
                if (choices[i] == name) {
                    return i;
                }
            }
        }
        std::string list;
        for (const auto& choice : choices) {
            list += (list.empty() ? "" : ", ") + std::string("\"") + std::string(choice) + "\"";
        }
        Problem(path, "must be one of " + list);
        return std::nullopt;
    }

    // A key name of the key table, or null for no key.
    std::optional<std::uint8_t> Key(const Json* value, const std::string& path)
    {
        if (!value) {
            return std::nullopt;
        }
        if (value->is_null()) {
            return std::uint8_t{0};
        }
        if (value->is_string()) {
            if (const std::uint8_t usage = KeyCodeFromName(value->get<std::string>()); usage != 0) {
                return usage;
            }
        }
        Problem(path, "must be a key name of the key table or null");
        return std::nullopt;
    }

    static std::string Join(const std::string& path, std::string_view key)
    {
        return path.empty() ? std::string(key) : path + "." + std::string(key);
    }
    static std::string At(const std::string& path, std::size_t index)
    {
        return path + "[" + std::to_string(index) + "]";
    }
};

void ReadStage(Reader& reader, const Json& stages, std::size_t stage, ProfileRecord& record)
{
    const std::string path = Reader::At("cpiStages", stage);
    const Json* object = reader.Object(&stages[stage], path, {"cpi", "enabled", "colour"});
    if (!object) {
        return;
    }
    if (const Json* cpi = reader.Member(*object, path, "cpi")) {
        const long unit = kCpiUnit;
        if (cpi->is_number_integer() && cpi->get<long>() >= unit && cpi->get<long>() <= kMaxCpiValue * unit &&
            cpi->get<long>() % unit == 0) {
            record.cpiValue[stage] = static_cast<std::uint8_t>(cpi->get<long>() / unit);
        } else {
            reader.Problem(path + ".cpi", "must be a multiple of 50 from 50 to 8200");
        }
    }
    if (const auto enabled = reader.Boolean(reader.Member(*object, path, "enabled"), path + ".enabled")) {
        record.cpiEnabled[stage] = *enabled ? 1 : 0;
    }
    if (const Json* colour = reader.Member(*object, path, "colour")) {
        unsigned red = 0;
        unsigned green = 0;
        unsigned blue = 0;
        const std::string text = colour->is_string() ? colour->get<std::string>() : std::string();
        const bool hex = text.size() == 7 && text[0] == '#' &&
                         text.find_first_not_of("0123456789ABCDEFabcdef", 1) == std::string::npos;
        if (hex && std::sscanf(text.c_str(), "#%2x%2x%2x", &red, &green, &blue) == 3) {
            record.cpiColor[stage * 3] = static_cast<std::uint8_t>(red);
            record.cpiColor[stage * 3 + 1] = static_cast<std::uint8_t>(green);
            record.cpiColor[stage * 3 + 2] = static_cast<std::uint8_t>(blue);
        } else {
            reader.Problem(path + ".colour", "must be a colour \"#RRGGBB\"");
        }
    }
}

void ReadSettings(Reader& reader, const Json& root, ProfileRecord& record)
{
    if (const auto rate = reader.Integer(reader.Member(root, "", "reportRateHz"), "reportRateHz", 0, 100000)) {
        const auto found =
            std::ranges::find(kReportRates, static_cast<int>(*rate), &std::pair<int, std::uint8_t>::first);
        if (found != kReportRates.end()) {
            record.reportRate = found->second;
        } else {
            reader.Problem("reportRateHz", "must be 1000, 500, 250 or 125");
        }
    }
    if (const Json* stages = reader.Member(root, "", "cpiStages")) {
        if (!stages->is_array() || stages->size() != kShownStages) {
            reader.Problem("cpiStages", "must be a list of four stages");
        } else {
            for (std::size_t stage = 0; stage < kShownStages; ++stage) {
                ReadStage(reader, *stages, stage, record);
            }
        }
    }
    if (const Json* sensitivity = reader.Object(reader.Member(root, "", "sensitivity"), "sensitivity", {"x", "y"})) {
        if (const auto x =
                reader.Integer(reader.Member(*sensitivity, "sensitivity", "x"), "sensitivity.x", 1, kMaxPosition)) {
            record.sensitivityX = static_cast<std::uint8_t>(*x);
        }
        if (const auto y =
                reader.Integer(reader.Member(*sensitivity, "sensitivity", "y"), "sensitivity.y", 1, kMaxPosition)) {
            record.sensitivityY = static_cast<std::uint8_t>(*y);
        }
    }
    if (const auto snap = reader.Integer(reader.Member(root, "", "angleSnap"), "angleSnap", 1, kMaxPosition)) {
        record.angleSnap = static_cast<std::uint8_t>(*snap);
    }
    if (const Json* lighting = reader.Object(reader.Member(root, "", "lighting"), "lighting", {"mode", "levels"})) {
        if (const auto mode =
                reader.Choice(reader.Member(*lighting, "lighting", "mode"), "lighting.mode", kLightModeNames)) {
            record.lightMode = static_cast<std::uint8_t>(*mode);
        }
        if (const Json* levels = reader.Member(*lighting, "lighting", "levels")) {
            if (!levels->is_array() || levels->size() != kLightModes) {
                reader.Problem("lighting.levels", "must be a list of three levels");
            } else {
                for (std::size_t mode = 0; mode < kLightModes; ++mode) {
                    if (const auto level =
                            reader.Integer(&(*levels)[mode], Reader::At("lighting.levels", mode), 1, kMaxLightLevel)) {
                        record.lightLevel[mode] = static_cast<std::uint8_t>(*level);
                    }
                }
            }
        }
    }
    if (const auto side = reader.Boolean(reader.Member(root, "", "sideLight"), "sideLight")) {
        record.sideButtonLight = *side ? 1 : 0;
    }
    const Json* pointer =
        reader.Object(reader.Member(root, "", "pointer"), "pointer",
                      {"enhancedPrecision", "speed", "scrollLines", "scrollOneScreen", "doubleClickSpeed"});
    if (pointer) {
        const auto field = [&](std::string_view key) { return reader.Member(*pointer, "pointer", key); };
        if (const auto on = reader.Boolean(field("enhancedPrecision"), "pointer.enhancedPrecision")) {
            record.pointerPrecision = *on ? 1 : 0;
        }
        if (const auto speed = reader.Integer(field("speed"), "pointer.speed", 1, kMaxDial)) {
            record.mouseSpeed = static_cast<std::uint8_t>(*speed);
        }
        if (const auto lines = reader.Integer(field("scrollLines"), "pointer.scrollLines", 1, kMaxScrollLines)) {
            record.scrollLines = static_cast<std::uint8_t>(*lines);
        }
        if (const auto screen = reader.Boolean(field("scrollOneScreen"), "pointer.scrollOneScreen")) {
            record.scrollOneScreen = *screen ? 1 : 0;
        }
        if (const auto speed = reader.Integer(field("doubleClickSpeed"), "pointer.doubleClickSpeed", 1, kMaxDial)) {
            record.doubleClickSpeed = static_cast<std::uint8_t>(*speed);
        }
    }
}

std::optional<MacroRecord> ReadMacro(Reader& reader, const Json& value, const std::string& path)
{
    const Json* object = reader.Object(&value, path, {"name", "loop", "loopCount", "recordedDelays", "events"});
    if (!object) {
        return std::nullopt;
    }
    const std::size_t before = reader.problems.size();
    MacroRecord macro;
    const auto name = reader.Text(reader.Member(*object, path, "name"), path + ".name", false);
    if (name && !IsUsableMacroName(*name)) {
        reader.Problem(path + ".name", "cannot name a macro (brackets are not allowed)");
    }
    macro.name = name.value_or("");
    macro.LoopTimeSelStatus = reader.Boolean(reader.Member(*object, path, "loop"), path + ".loop").value_or(false);
    const auto count = reader.Text(reader.Member(*object, path, "loopCount"), path + ".loopCount");
    if (count) {
        const bool digits =
            !count->empty() && count->size() <= 5 && count->find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stol(*count) < 1 || std::stol(*count) > kMacroMaxLoopCount) {
            reader.Problem(path + ".loopCount", "must be a count from \"1\" to \"65535\"");
        }
        macro.MacroLoopTimes = *count;
    }
    macro.DelayTimeSelStatus =
        reader.Boolean(reader.Member(*object, path, "recordedDelays"), path + ".recordedDelays").value_or(false);
    if (const Json* events = reader.Member(*object, path, "events")) {
        if (!events->is_array() || events->size() > kMaxMacroItems) {
            reader.Problem(path + ".events", "must be a list of at most 4096 events");
        } else {
            for (std::size_t i = 0; i < events->size(); ++i) {
                const std::string eventPath = Reader::At(path + ".events", i);
                const auto text = reader.Text(&(*events)[i], eventPath, false);
                if (!text) {
                    continue;
                }
                // Any line the macro file holds: key names of other layouts and hand-written
                // lines are kept as the manager keeps them, sending nothing.
                MacroItem item(*text);
                macro.items.push_back(std::move(item));
            }
        }
    }
    if (reader.problems.size() != before) {
        return std::nullopt;
    }
    return macro;
}

void ReadButton(Reader& reader, const Json& value, std::size_t button, ReadableProfile& profile,
                const std::vector<std::string>& macroNames)
{
    const std::string path = Reader::At("buttons", button);
    const Json* object = reader.Object(
        &value, path, {"function", "action", "key", "modifier", "keys", "macro", "repeat", "kept", "label"});
    if (!object) {
        return;
    }
    ProfileRecord& record = profile.record;
    const auto function =
        reader.Choice(reader.Member(*object, path, "function"), path + ".function", Names().functions);
    if (const auto label = reader.Text(reader.Member(*object, path, "label"), path + ".label")) {
        profile.labels[button] = *label;
    }
    if (!function) {
        return;
    }
    const auto code = static_cast<FunctionCode>(*function);
    record.buttonFunction[button] = static_cast<std::uint8_t>(*function);
    // What the function reads may stand here; nothing else but "kept" and "label" may.
    std::set<std::string_view> allowed = {"function", "kept", "label"};
    if (IsSubmenuFunction(code)) {
        allowed.insert("action");
        const std::span<const std::string_view> entries = SubmenuNames(code);
        if (const auto position = reader.Choice(reader.Member(*object, path, "action"), path + ".action", entries)) {
            const std::uint8_t value = SubmenuValueAt(code, *position);
            switch (code) {
            case FunctionCode::CpiCycle:
                record.cpiAction[button] = value;
                break;
            case FunctionCode::Multimedia:
                record.mediaUsage[button] = value;
                break;
            case FunctionCode::HotKey:
                record.editKey[button] = value;
                break;
            default:
                record.systemCommand[button] = value;
                break;
            }
        }
    } else if (code == FunctionCode::SingleKey) {
        allowed.insert("key");
        if (const auto key = reader.Key(reader.Member(*object, path, "key"), path + ".key")) {
            record.singleKey[button] = *key;
        }
    } else if (code == FunctionCode::ComboKey) {
        allowed.insert({"modifier", "keys"});
        if (const Json* modifier = reader.Member(*object, path, "modifier")) {
            const std::uint8_t bit = modifier->is_string() ? ModifierBitFromName(modifier->get<std::string>()) : 0;
            if (bit != 0 || modifier->is_null()) {
                record.comboModifier[button] = bit;
            } else {
                reader.Problem(path + ".modifier", "must be a modifier name (\"Left Ctrl\" ... \"Right Win\") or null");
            }
        }
        if (const Json* keys = reader.Member(*object, path, "keys")) {
            if (!keys->is_array() || keys->size() != 2) {
                reader.Problem(path + ".keys", "must be a list of two key names or nulls");
            } else {
                if (const auto key = reader.Key(&(*keys)[0], path + ".keys[0]")) {
                    record.comboKey1[button] = *key;
                }
                if (const auto key = reader.Key(&(*keys)[1], path + ".keys[1]")) {
                    record.comboKey2[button] = *key;
                }
            }
        }
    } else if (code == FunctionCode::MacroKey) {
        allowed.insert({"macro", "repeat"});
        if (const Json* macro = reader.Member(*object, path, "macro")) {
            const auto found =
                macro->is_string() ? std::ranges::find(macroNames, macro->get<std::string>()) : macroNames.end();
            if (found != macroNames.end()) {
                profile.buttonMacro[button] = static_cast<std::size_t>(found - macroNames.begin());
            } else {
                reader.Problem(path + ".macro", "must name one of the profile's macros");
            }
        }
        if (const auto repeat =
                reader.Integer(reader.Member(*object, path, "repeat"), path + ".repeat", 0, kRepeatModes - 1)) {
            record.macroRepeat[button] = static_cast<std::uint8_t>(*repeat);
        }
    }
    for (const auto& [key, member] : object->items()) {
        if (!allowed.contains(key) && key != "function") {
            reader.Problem(path + "." + key, "is not a parameter of " + std::string(Names().functions[*function]));
        }
    }
    if (object->contains("kept") && !(*object)["kept"].is_object()) {
        reader.Problem(path + ".kept", "must be an object");
    }
    if (object->contains("kept") && (*object)["kept"].is_object()) {
        const std::vector<std::string_view> used = UsedArrays(code);
        for (const auto& [key, member] : (*object)["kept"].items()) {
            const auto parameter = std::ranges::find(kParameterArrays, std::string_view(key), &ParameterArray::name);
            if (parameter == kParameterArrays.end() || std::ranges::find(used, parameter->name) != used.end()) {
                reader.Problem(path + ".kept." + key, "is not a parameter this function leaves unused");
                continue;
            }
            if (const auto byte = reader.Integer(&member, path + ".kept." + key, 0, 255)) {
                (record.*parameter->array)[button] = static_cast<std::uint8_t>(*byte);
            }
        }
    }
}

} // namespace

std::string EncodeProfileJson(const ReadableProfile& profile, const ProfileRecord& factory)
{
    const ProfileRecord& record = profile.record;
    Json root;
    root["format"] = std::string(kProfileJsonFormat);
    root["version"] = kProfileJsonVersion;
    root["name"] = profile.name;
    const auto rate = std::ranges::find(kReportRates, record.reportRate, &std::pair<int, std::uint8_t>::second);
    root["reportRateHz"] = rate != kReportRates.end() ? rate->first : 0;
    Json stages = Json::array();
    for (std::size_t stage = 0; stage < kShownStages; ++stage) {
        stages.push_back({{"cpi", record.cpiValue[stage] * kCpiUnit},
                          {"enabled", record.cpiEnabled[stage] != 0},
                          {"colour", Colour(record, stage)}});
    }
    root["cpiStages"] = stages;
    root["sensitivity"] = {{"x", record.sensitivityX}, {"y", record.sensitivityY}};
    root["angleSnap"] = record.angleSnap;
    Json mode = record.lightMode < kLightModeNames.size() ? Json(std::string(kLightModeNames[record.lightMode]))
                                                          : Json(record.lightMode);
    root["lighting"] = {{"mode", mode},
                        {"levels", Json::array({record.lightLevel[0], record.lightLevel[1], record.lightLevel[2]})}};
    root["sideLight"] = record.sideButtonLight == 1;
    root["pointer"] = {{"enhancedPrecision", record.pointerPrecision == 1},
                       {"speed", record.mouseSpeed},
                       {"scrollLines", record.scrollLines},
                       {"scrollOneScreen", record.scrollOneScreen == 1},
                       {"doubleClickSpeed", record.doubleClickSpeed}};
    Json buttons = Json::array();
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        buttons.push_back(EncodeButton(profile, factory, button));
    }
    root["buttons"] = buttons;
    Json macros = Json::array();
    for (const MacroRecord& macro : profile.macros) {
        macros.push_back(MacroJson(macro));
    }
    root["macros"] = macros;
    return root.dump(2) + "\n";
}

DecodedProfileJson DecodeProfileJson(std::string_view text, const ProfileRecord& factory)
{
    DecodedProfileJson result;
    Reader reader;
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded()) {
        result.problems.push_back("the text is not JSON");
        return result;
    }
    if (!reader.Object(&root, "",
                       {"format", "version", "name", "reportRateHz", "cpiStages", "sensitivity", "angleSnap",
                        "lighting", "sideLight", "pointer", "buttons", "macros"})) {
        return {std::nullopt, {"the document must be a JSON object"}};
    }
    const Json* format = reader.Member(root, "", "format");
    if (format && (!format->is_string() || format->get<std::string>() != kProfileJsonFormat)) {
        reader.Problem("format", "must be \"veldrane-profile\"");
    }
    reader.Integer(reader.Member(root, "", "version"), "version", kProfileJsonVersion, kProfileJsonVersion);

    ReadableProfile profile;
    profile.record = factory;
    profile.record.deviceProfile = 0;
    profile.record.macroData.fill(0);
    profile.name = reader.Text(reader.Member(root, "", "name"), "name").value_or("");
    ReadSettings(reader, root, profile.record);

    std::vector<std::string> macroNames;
    if (const Json* macros = reader.Member(root, "", "macros")) {
        if (!macros->is_array()) {
            reader.Problem("macros", "must be a list");
        } else {
            for (std::size_t i = 0; i < macros->size(); ++i) {
                if (auto macro = ReadMacro(reader, (*macros)[i], Reader::At("macros", i))) {
                    if (std::ranges::find(macroNames, macro->name) != macroNames.end()) {
                        reader.Problem(Reader::At("macros", i) + ".name", "is the name of an earlier macro");
                    }
                    macroNames.push_back(macro->name);
                    profile.macros.push_back(std::move(*macro));
                } else {
                    // Its buttons are not blamed for it: the macro's own problems are listed.
                    const Json& bad = (*macros)[i];
                    macroNames.push_back(bad.is_object() && bad.contains("name") && bad["name"].is_string()
                                             ? bad["name"].get<std::string>()
                                             : std::string());
                    profile.macros.emplace_back();
                }
            }
        }
    }
    if (const Json* buttons = reader.Member(root, "", "buttons")) {
        if (!buttons->is_array() || buttons->size() != kButtonCount) {
            reader.Problem("buttons", "must be a list of twelve buttons");
        } else {
            for (std::size_t button = 0; button < kButtonCount; ++button) {
                ReadButton(reader, (*buttons)[button], button, profile, macroNames);
            }
        }
    }
    result.problems = std::move(reader.problems);
    if (result.problems.empty()) {
        result.profile = std::move(profile);
    }
    return result;
}

} // namespace veldrane
