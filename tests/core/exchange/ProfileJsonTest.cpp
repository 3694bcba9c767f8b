// The readable profile form: a record the controls produce comes back byte for byte on a fresh
// data folder with its macros, a broken document is refused field by field with nothing changed,
// and macros join the macro file without overwriting any.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/buttons/KeyTables.h"
#include "core/exchange/ProfileJsonTransfer.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroRecord.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

// A data folder seeded with the factory files and three named profiles, with a macro file of
// its own when given macros.
struct DataFolder
{
    explicit DataFolder(const std::vector<MacroRecord>& macros = {})
    {
        test::CopyFactoryFiles(dir.Path());
        const std::vector<std::string> names{"Work", "Game", "Draw"};
        EXPECT_TRUE(files.StoreSelectedProfile(names, 0));
        for (const MacroRecord& macro : macros) {
            EXPECT_EQ(WriteLoopTimes(macroFile, macro.name, 1), IniWriteResult::Written);
            EXPECT_EQ(SaveMacro(macroFile, macro), MacroSaveResult::Saved);
        }
    }

    ProfileRecord Factory() const { return ConfigFile::Read(dir / "config.bin").contents.record; }
    ProfileRecord Stored(std::size_t i) const { return ConfigFile::Read(dir / ProfileConfigName(i)).contents.record; }

    test::TempDir dir;
    IconvTextCodec codec;
    test::RecordingMessageSink messages;
    ConfigFiles files{dir.Path(), codec};
    IniFile macroFile{dir / "record.ini", codec};
    ProfileJsonTransfer transfer{files, macroFile, codec};
};

MacroRecord RandomMacro(std::mt19937& random, const std::string& name)
{
    const std::vector<std::string_view> keys = KeyNames();
    MacroRecord macro;
    macro.name = name;
    macro.DelayTimeSelStatus = static_cast<int>(random() % 2);
    macro.LoopTimeSelStatus = static_cast<int>(random() % 2);
    macro.MacroLoopTimes = std::to_string(1 + random() % 65535);
    const std::size_t events = random() % 8;
    for (std::size_t i = 0; i < events; ++i) {
        const std::string_view key = keys[random() % keys.size()];
        macro.items.push_back(MacroItem::Press(key));
        macro.items.push_back(MacroItem::Delay(static_cast<long>(random() % 30000)));
        macro.items.push_back(MacroItem::Release(key));
    }
    return macro;
}

// What the window's controls can make of the factory profile: every setting in its range, and
// each button given two functions in a row, so that the first one's parameters stay behind.
ProfileRecord RandomRecord(std::mt19937& random, const ProfileRecord& factory, std::size_t macroCount,
                           ButtonLabels& labels)
{
    ProfileRecord record = factory;
    const auto pick = [&](int low, int high) { return static_cast<std::uint8_t>(low + random() % (high - low + 1)); };
    record.deviceProfile = 0;
    record.reportRate = std::array<std::uint8_t, 4>{1, 2, 4, 8}[random() % 4];
    for (std::size_t stage = 0; stage < 4; ++stage) {
        record.cpiValue[stage] = pick(1, 164);
        record.cpiEnabled[stage] = pick(0, 1);
        for (std::size_t c = 0; c < 3; ++c) {
            record.cpiColor[stage * 3 + c] = pick(0, 255);
        }
    }
    for (auto& level : record.lightLevel) {
        level = pick(1, 6);
    }
    using R = ProfileRecord;
    // clang-format off
    for (const auto& [field, low, high] : {std::tuple{&R::lightMode, 0, 3}, {&R::sideButtonLight, 0, 1},
            {&R::pointerPrecision, 0, 1}, {&R::scrollOneScreen, 0, 1}, {&R::mouseSpeed, 1, 12},
            {&R::scrollLines, 1, 100}, {&R::doubleClickSpeed, 1, 12}, {&R::angleSnap, 1, 11},
            {&R::sensitivityX, 1, 11}, {&R::sensitivityY, 1, 11}}) {
        // clang-format on
        record.*field = pick(low, high);
    }

    const std::vector<std::string_view> keys = KeyNames();
    const auto key = [&]() -> std::string_view { return random() % 5 == 0 ? "" : keys[random() % keys.size()]; };
    ButtonAssignment assign(record, labels, Language::English);
    const std::array plain{FunctionCode::Click, FunctionCode::DoubleClick, FunctionCode::ButtonOff,
                           FunctionCode::RightTitleScroll};
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        for (int round = 0; round < 2; ++round) {
            const auto code = static_cast<FunctionCode>(pick(6, 9));
            const auto macro =
                static_cast<std::uint8_t>(random() % std::clamp(macroCount, std::size_t{1}, kMacroCount));
            const std::string_view modifier = random() % 4 == 0 ? "" : ModifierNames()[random() % 8];
            const auto kind = random() % 6;
            EXPECT_TRUE(kind == 0   ? assign.StorePlainFunction(button, plain[random() % 4])
                        : kind == 1 ? assign.StoreSubmenuChoice(button, code, random() % SubmenuSize(code))
                        : kind == 2 ? assign.StoreSingleKey(button, keys[random() % keys.size()])
                        : kind == 3 ? assign.StoreComboKey(button, modifier, key(), key())
                                    : macroCount == 0 || assign.StoreMacroBinding(button, macro, pick(0, 2), "m"));
        }
    }
    return record;
}

TEST(ProfileJson, ExportedRecordsImportedOnAFreshFolderComeBackByteForByteWithTheirMacros)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 30; ++round) {
        std::vector<MacroRecord> macros;
        const std::size_t macroCount = random() % 15;
        for (std::size_t i = 0; i < macroCount; ++i) {
            macros.push_back(RandomMacro(random, "Macro " + std::to_string(i)));
        }
        DataFolder source(macros);
        ButtonLabels labels;
        labels.fill("Click");
        ProfileRecord record = RandomRecord(random, source.Factory(), macroCount, labels);
        record.macroData = RebuildMacroData(source.macroFile, macroCount);

        const std::string json = source.transfer.Export(record, labels, "Shared");
        DataFolder fresh;
        const JsonImport imported = fresh.transfer.ImportInto(2, json);
        ASSERT_TRUE(imported.Done()) << round << ": "
                                     << (imported.problems.empty() ? imported.error : imported.problems[0]);
        EXPECT_TRUE(imported.renamedMacros.empty());

        const ProfileRecord back = fresh.Stored(2);
        ASSERT_TRUE(std::ranges::equal(back.Bytes(), record.Bytes())) << "round " << round << "\n" << json;
        EXPECT_EQ(ConfigFile::Read(fresh.dir / "config2.bin").contents.firstRunFlag, 1);
        const std::vector<std::string> names = ListMacroNames(fresh.macroFile);
        ASSERT_EQ(names.size(), std::min(macroCount, kMacroCount));
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(LoadMacro(fresh.macroFile, names[i]), macros[i]);
        }
        EXPECT_EQ(IniFile(fresh.dir / "str2.ini", fresh.codec).GetString("Setting-EN", "Item12"), labels[11]);
        // Imported into the same folder, every macro is found by its content: nothing is added.
        ASSERT_TRUE(source.transfer.ImportInto(1, json).Done());
        EXPECT_EQ(ListMacroNames(source.macroFile).size(), macroCount);
        EXPECT_TRUE(std::ranges::equal(source.Stored(1).Bytes(), record.Bytes()));
    }
}

// A document the user wrote by hand: the key and function names are those of the menus.
TEST(ProfileJson, ExportNamesFunctionsKeysAndColoursAsTheMenusDo)
{
    DataFolder folder({RandomMacro(*std::make_unique<std::mt19937>(1), "Greeting")});
    ProfileRecord record = folder.Factory();
    ButtonLabels labels;
    ButtonAssignment assign(record, labels, Language::English);
    ASSERT_TRUE(assign.StoreComboKey(0, "Left Ctrl", "C", ""));
    ASSERT_TRUE(assign.StoreSubmenuChoice(1, FunctionCode::Multimedia, 5));
    ASSERT_TRUE(assign.StoreMacroBinding(2, 0, 1, "Greeting"));
    std::ranges::copy(std::array<std::uint8_t, 3>{0x0A, 0xBC, 0xFF}, record.cpiColor.begin() + 3);
    record.cpiValue[1] = 32;
    record.reportRate = 4;

    const auto json = nlohmann::json::parse(folder.transfer.Export(record, labels, "Mine"));
    EXPECT_EQ(json["format"], "veldrane-profile");
    EXPECT_EQ(json["version"], 1);
    EXPECT_EQ(json["reportRateHz"], 250);
    EXPECT_EQ(json["cpiStages"][1]["cpi"], 1600);
    EXPECT_EQ(json["cpiStages"][1]["colour"], "#0ABCFF");
    EXPECT_EQ(json["buttons"][0]["function"], "Combo Key");
    EXPECT_EQ(json["buttons"][0]["modifier"], "Left Ctrl");
    EXPECT_EQ(json["buttons"][0]["keys"], nlohmann::json::parse(R"(["C", null])"));
    EXPECT_EQ(json["buttons"][0]["label"], "Combo Key-Left Ctrl+C");
    EXPECT_EQ(json["buttons"][1]["action"], "Mute");
    EXPECT_EQ(json["buttons"][2]["macro"], "Greeting");
    EXPECT_EQ(json["buttons"][2]["repeat"], 1);
    EXPECT_EQ(json["macros"][0]["name"], "Greeting");
}

struct BrokenCase
{
    const char* name;
    std::string pointer; // where the document is changed (a JSON pointer)
    nlohmann::json value;
    std::vector<std::string> problems;
};

using BrokenDocument = ::testing::TestWithParam<BrokenCase>;

// Each bad field is named with what is wrong, and nothing is written: not the profile, not its
// labels, not the macro file.
TEST_P(BrokenDocument, IsRefusedFieldByFieldChangingNothing)
{
    const BrokenCase& c = GetParam();
    DataFolder folder({RandomMacro(*std::make_unique<std::mt19937>(2), "Greeting")});
    ButtonLabels labels;
    labels.fill("Click");
    ProfileRecord record = folder.Factory();
    ButtonAssignment(record, labels, Language::English).StoreMacroBinding(4, 0, 0, "Greeting");
    nlohmann::json document = nlohmann::json::parse(folder.transfer.Export(record, labels, "Mine"));
    if (c.value.is_discarded()) {
        document.erase(nlohmann::json::json_pointer(c.pointer).back());
    } else {
        document[nlohmann::json::json_pointer(c.pointer)] = c.value;
    }
    std::string text = document.dump();
    if (std::string_view(c.name) == "NotJson") {
        text.pop_back();
    }
    const test::FolderState before = test::ReadFolder(folder.dir.Path());

    const JsonImport imported = folder.transfer.ImportInto(1, text);
    EXPECT_EQ(imported.problems, c.problems);
    EXPECT_EQ(test::ReadFolder(folder.dir.Path()), before);
}

const nlohmann::json kRemoved = nlohmann::json::value_t::discarded;

using Json = nlohmann::json;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, BrokenDocument, ::testing::Values(
    BrokenCase{"NotJson", "/name", "x", {"the text is not JSON"}},
    BrokenCase{"Format", "/format", "other", {"format: must be \"veldrane-profile\""}},
    BrokenCase{"ReportRate", "/reportRateHz", 300, {"reportRateHz: must be 1000, 500, 250 or 125"}},
    BrokenCase{"Cpi", "/cpiStages/2/cpi", 8250, {"cpiStages[2].cpi: must be a multiple of 50 from 50 to 8200"}},
    BrokenCase{"Colour", "/cpiStages/0/colour", "red", {"cpiStages[0].colour: must be a colour \"#RRGGBB\""}},
    BrokenCase{"Missing", "/angleSnap", kRemoved, {"angleSnap: missing"}},
    BrokenCase{"Unknown", "/colour", "red", {"colour: is not a field of the profile form"}},
    BrokenCase{"LightMode", "/lighting/mode", "disco",
        {"lighting.mode: must be one of \"off\", \"single colour\", \"pulsating\", \"multi-colour\""}},
    BrokenCase{"Level", "/lighting/levels/1", 7, {"lighting.levels[1]: must be a whole number from 1 to 6"}},
    BrokenCase{"Key", "/buttons/3", Json{{"function", "Single Key"}, {"key", "Hyper"}, {"label", ""}},
        {"buttons[3].key: must be a key name of the key table or null"}},
    BrokenCase{"Parameter", "/buttons/3", Json{{"function", "Click"}, {"key", "A"}, {"label", ""}},
        {"buttons[3].key: is not a parameter of Click"}},
    BrokenCase{"Macro", "/buttons/4/macro", "Nothing", {"buttons[4].macro: must name one of the profile's macros"}},
    BrokenCase{"MacroName", "/macros/0/name", "[x]", {"macros[0].name: cannot name a macro (brackets are not allowed)",
        "buttons[4].macro: must name one of the profile's macros"}},
    BrokenCase{"Several", "/sensitivity", Json{{"x", 0}, {"y", 12}},
        {"sensitivity.x: must be a whole number from 1 to 11", "sensitivity.y: must be a whole number from 1 to 11"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A macro of the document whose name the file gives to other content is added under a new name
// and reported; the file's macro keeps its content, and the button plays the one it came with.
TEST(ProfileJson, MacroNameClashIsRenamedAndReportedNeverOverwritten)
{
    std::mt19937 random(3);
    const MacroRecord theirs = RandomMacro(random, "Greeting");
    MacroRecord mine = RandomMacro(random, "Greeting");
    mine.items.push_back(MacroItem::Delay(5));
    DataFolder target({RandomMacro(random, "Other"), theirs});
    DataFolder source({mine});
    ButtonLabels labels;
    ProfileRecord record = source.Factory();
    ASSERT_TRUE(ButtonAssignment(record, labels, Language::English).StoreMacroBinding(0, 0, 0, "Greeting"));

    const JsonImport imported = target.transfer.ImportInto(0, source.transfer.Export(record, labels, "Mine"));
    ASSERT_TRUE(imported.Done());
    EXPECT_EQ(imported.renamedMacros, (std::vector<std::pair<std::string, std::string>>{{"Greeting", "Greeting (2)"}}));
    EXPECT_EQ(ListMacroNames(target.macroFile), (std::vector<std::string>{"Other", "Greeting", "Greeting (2)"}));
    EXPECT_EQ(LoadMacro(target.macroFile, "Greeting"), theirs);
    MacroRecord renamed = mine;
    renamed.name = "Greeting (2)";
    EXPECT_EQ(LoadMacro(target.macroFile, "Greeting (2)"), renamed);
    EXPECT_EQ(target.Stored(0).macroNumber[0], 2);
    EXPECT_EQ(target.Stored(0).MacroBuffer(2)[0], EncodeMacro(renamed)[0]);
}

} // namespace
} // namespace veldrane
