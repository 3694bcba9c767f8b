// Every saving operation, killed at moments spread over its whole run: what it leaves behind must
// be the files as they were or as the operation makes them, never half of one, never a mix that the
// operation would not leave in between, and no stray temporary file once the next start has cleaned
// up.
//
// Each operation runs in a child process on its own copy of an installation; the parent kills it
// with SIGKILL once in each of kKillsPerOperation slices of the time one whole run takes, at a
// random moment inside the slice; the slices shrink towards the end, where the files are committed.
// Where a kill lands decides nothing about the verdict: a sound operation passes at any moment.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "InstalledProfiles.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/MouseSearch.h"
#include "core/device/ProfileDownload.h"
#include "core/ini/AtomicFile.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroSectionRename.h"
#include "core/profile/ProfileManager.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/profile/ProfileTransfer.h"
#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"

namespace veldrane::test {
namespace {

constexpr int kKillsPerOperation = 20;
constexpr std::uint32_t kSeed = 20261207;
// The kills grow denser towards the end of a run, where the renames that commit each save happen,
// and reach past the measured run, as one run may take longer than another.
constexpr double kLastKill = 1.3;

// One saving operation as the program runs it, on the installation in `folder`.
struct SavingOperation
{
    const char* name;
    // The files in the order the operation commits them; the files of one step change together.
    std::vector<std::vector<std::string>> steps;
    std::function<void(const std::filesystem::path& folder)> run;
};

// "Save" with the simulated mouse: the download, which ends by writing the selected profile's
// configuration and label files.
void SaveSelectedProfile(ConfigFiles& files, ProfileRecord& record)
{
    FakeClock clock;
    SimulatedMouse mouse{clock};
    DeviceLink link{mouse, clock};
    if (!FindMouse(link)) {
        return;
    }
    DeviceImage image;
    (void)DownloadProfile(link, image, record, files);
}

// The program started on the installation in `folder`: its profile loaded, the profile list read
// into the manager.
struct OpenedProfileManager
{
    explicit OpenedProfileManager(const std::filesystem::path& folder)
        : files{folder, codec}, manager({files, codec, Language::English})
    {
        (void)files.LoadConfig(record).Done(); // what was on disk, whatever it is
        (void)manager.LoadProfileList();
    }

    IconvTextCodec codec;
    ConfigFiles files;
    ProfileRecord record;
    ProfileManager manager;
};

void Save(const std::filesystem::path& folder)
{
    OpenedProfileManager opened(folder);
    opened.record = Patterned(77);
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        opened.files.SetButtonLabel(button, "saved " + std::to_string(button + 1));
    }
    SaveSelectedProfile(opened.files, opened.record);
}

// The profile manager closed after deleting "A": B and C move down with their files.
void CloseProfileList(const std::filesystem::path& folder)
{
    OpenedProfileManager opened(folder);
    opened.manager.OnListClick(0);
    (void)opened.manager.DeleteProfile();
    (void)opened.manager.CloseManager();
}

void SaveMacroOperation(const std::filesystem::path& folder)
{
    IconvTextCodec codec;
    IniFile macros(folder / kMacroFileName, codec);
    MacroRecord macro{"Macro_2", 1, 1, "9", {}};
    for (int i = 0; i < 40; ++i) {
        macro.items.insert(macro.items.end(),
                           {MacroItem::Press("B"), MacroItem::Delay(30 + i), MacroItem::Release("B")});
    }
    SaveMacro(macros, macro);
}

void RenameMacroOperation(const std::filesystem::path& folder)
{
    IconvTextCodec codec;
    IniFile macros(folder / kMacroFileName, codec);
    RenameMacroSection(macros, "Macro_2", "Renamed");
}

// Import into the selected profile from the profile manager, then "Save".
void ImportOperation(const std::filesystem::path& folder)
{
    OpenedProfileManager opened(folder);
    opened.manager.OnListClick(1);
    if (!opened.manager.LoadSelected()) {
        return;
    }
    ProfileTransfer transfer(opened.files, opened.codec, Language::English);
    if (transfer.ImportFrom(folder / "exported.bin", opened.record).changed) {
        SaveSelectedProfile(opened.files, opened.record);
    }
}

const std::vector<SavingOperation>& Operations()
{
    static const std::vector<SavingOperation> operations{
        {"Save", {{"config1.bin"}, {"str1.ini"}}, Save},
        {"ProfileListOnClose",
         {{"config0.bin", "config1.bin", "config2.bin", "str0.ini", "str1.ini", "str2.ini", "str.ini"}},
         CloseProfileList},
        {"MacroSave", {{"record.ini"}}, SaveMacroOperation},
        {"MacroRename", {{"record.ini"}}, RenameMacroOperation},
        {"Import", {{"str.ini"}, {"config1.bin"}, {"str1.ini"}}, ImportOperation},
    };
    return operations;
}

// What a killed run left, against the files before and after a whole run: the faults found.
std::vector<std::string> Judge(const SavingOperation& operation, const FolderState& before, const FolderState& after,
                               const FolderState& left)
{
    std::vector<std::string> faults;
    std::map<std::string, bool> isNew; // the files the operation changes: whether each is new yet
    FolderState every = before;
    every.insert(after.begin(), after.end());
    every.insert(left.begin(), left.end());
    for (const auto& [name, bytes] : every) {
        const auto find = [&name](const FolderState& state) -> std::optional<std::string> {
            const auto it = state.find(name);
            return it == state.end() ? std::nullopt : std::optional(it->second);
        };
        const auto old = find(before);
        const auto now = find(after);
        const auto found = find(left);
        if (!old && !now) {
            faults.push_back(name + " was left behind");
        } else if (old == now && found != old) {
            faults.push_back(name + " changed though the operation leaves it as it was");
        } else if (old != now && (found == old || found == now)) {
            isNew[name] = found == now;
        } else if (old != now) {
            faults.push_back(name + " is neither its old nor its new version");
        }
    }
    // The steps must read as some first steps done and the rest not begun.
    bool laterBegun = false;
    for (auto step = operation.steps.rbegin(); step != operation.steps.rend(); ++step) {
        bool stepOld = false;
        bool stepNew = false;
        for (const std::string& name : *step) {
            if (const auto it = isNew.find(name); it != isNew.end()) {
                (it->second ? stepNew : stepOld) = true;
            }
        }
        if (stepOld && stepNew) {
            faults.push_back("the files of one step disagree: " + testing::PrintToString(*step));
        } else if (stepOld && laterBegun) {
            faults.push_back("a later step was done before " + testing::PrintToString(*step));
        }
        laterBegun = laterBegun || stepNew;
    }
    return faults;
}

// What the operation leaves on a fresh copy of `installed` in `work` once the program has started
// again; it runs in a child, killed `delay` after it began (none: let it end); `took` is how long it ran.
FolderState RunOnACopy(const SavingOperation& operation, const std::filesystem::path& installed,
                       const std::filesystem::path& work, std::optional<std::chrono::microseconds> delay,
                       std::chrono::microseconds* took = nullptr)
{
    std::filesystem::remove_all(work);
    std::filesystem::copy(installed, work);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        operation.run(work);
        _exit(0); // takes no time worth counting
    }
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        return {};
    }
    if (delay) {
        std::this_thread::sleep_until(start + *delay);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (took) {
        *took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    }
    // What the program does first when it starts again: clears what a killed write left.
    RemoveLeftoverTemporaryFiles(work);
    (void)ProfileSlotMover::Recover(work);
    return ReadFolder(work);
}

class SaveKillTest : public InstalledProfiles, public testing::WithParamInterface<SavingOperation>
{
protected:
    void SetUp() override
    {
        InstallThree();
        IniFile macros(dir / kMacroFileName, codec);
        ASSERT_EQ(WriteLoopTimes(macros, "Macro_1", 1), IniWriteResult::Written);
        for (const char* name : {"Macro_1", "Macro_2", "Macro_3"}) {
            MacroRecord macro{name, 1, 0, "1", {}};
            for (int i = 0; i < 20; ++i) {
                macro.items.insert(macro.items.end(), {MacroItem::Press("A"), MacroItem::Release("A")});
            }
            ASSERT_EQ(SaveMacro(macros, macro), MacroSaveResult::Saved);
        }
        files.EditedLabels().fill("imported");
        ASSERT_TRUE(ProfileTransfer(files, codec, Language::English)
                        .ExportTo(dir / "exported.bin", Patterned(88))
                        .failures.empty());
    }
};

TEST_P(SaveKillTest, KilledAnywhereLeavesOldOrNewFilesThatAgree)
{
    const SavingOperation& operation = GetParam();
    const FolderState before = ReadFolder(dir.Path());
    const TempDir scratch;
    std::chrono::microseconds whole{};
    const FolderState after = RunOnACopy(operation, dir.Path(), scratch / "work", std::nullopt, &whole);
    ASSERT_NE(after, before) << "the operation changed nothing";

    std::mt19937 random(kSeed);
    std::uniform_real_distribution<double> withinSlice(0.0, 1.0);
    for (int kill = 0; kill < kKillsPerOperation; ++kill) {
        const std::chrono::microseconds delay{static_cast<long long>(
            whole.count() * kLastKill * std::sqrt((kill + withinSlice(random)) / kKillsPerOperation))};
        const FolderState left = RunOnACopy(operation, dir.Path(), scratch / "work", delay);
        const std::vector<std::string> faults = Judge(operation, before, after, left);
        ASSERT_TRUE(faults.empty()) << operation.name << " killed after " << delay.count() << " us of " << whole.count()
                                    << " us: " << testing::PrintToString(faults);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, SaveKillTest, testing::ValuesIn(Operations()),
                         [](const testing::TestParamInfo<SavingOperation>& info) { return info.param.name; });

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// The simulated mouse that "Save" talks to above: what it takes and refuses.

// A feature report: its ID, seven command bytes, and their checksum 0xFF minus their sum.
Bytes Feature(std::initializer_list<std::uint8_t> command, std::optional<std::uint8_t> checksum = {},
              std::uint8_t id = 0)
{
    Bytes report(9, 0);
    report[0] = id;
    std::copy(command.begin(), command.end(), report.begin() + 1);
    const unsigned sum = std::accumulate(report.begin() + 1, report.begin() + 8, 0u);
    report[8] = checksum.value_or(static_cast<std::uint8_t>(0xFF - sum % 256));
    return report;
}

// An output report of 64 data bytes after its ID 0.
const Bytes kOutput = [] {
    Bytes report(65, 1);
    report[0] = 0;
    return report;
}();

TEST(SimulatedMouse, AMalformedReportIsRecordedAsAnErrorAndNothingIsTaken)
{
    // Features sent in order, then the outputs, and the one error recorded.
    const std::tuple<std::vector<Bytes>, std::vector<Bytes>, std::string> cases[] = {
        {{Feature({0x01, 0xFC}, 0x03)}, {}, "command 0x01 with checksum 0x03, expected 0x02"},
        {{Bytes(8, 0)}, {}, "feature report of 8 bytes, the mouse takes 9"},
        {{Feature({0x01, 0xFC}, {}, 0x01)}, {}, "feature report with report id 0x01"},
        {{Feature({0x04, 0xFC})}, {}, "unknown command 0x04"},
        {{Feature({0x0F, 0x00, 0x80})}, {kOutput, kOutput}, "macro slot 0 out of range"},
        {{}, {kOutput}, "output report without a block command before it"},
        // A refused block's chunks are taken off the wire without a further error.
        // clang-format off
        {{Feature({0x0C, 0x00, 0x80})}, {Bytes(64, 0)},
            "output report of 64 bytes with report id 0x00, the mouse takes 65 bytes with id 0x00"},
        {{Feature({0x0C, 0x00, 0x80}), Feature({0x05, 0x01})}, {},
            "data phase of command 0x0C cut short after 0 bytes"},
        {{Feature({0x0F, 0x01, 0x81})}, {kOutput, kOutput, kOutput},
            "command 0x0F announces 129 bytes, a block has 128"}};
    // clang-format on
    for (const auto& [features, outputs, error] : cases) {
        FakeClock clock;
        SimulatedMouse mouse{clock};
        auto device = mouse.Open(SimulatedMouse::PathOf(SimulatedInterface::Command), HidOpenMode::Commands);
        const auto settings = mouse.SettingsBlock(0);
        for (const Bytes& feature : features) {
            device->SetFeature(feature);
        }
        for (const Bytes& output : outputs) {
            device->WriteOutput(output);
        }
        EXPECT_EQ(mouse.Errors(), (std::vector<std::string>{error}));
        EXPECT_EQ(mouse.ModeByte(), 0x00) << error;
        EXPECT_EQ(mouse.SettingsBlock(0), settings) << error;
        EXPECT_EQ(mouse.MacroSlot(1)[0], 0x00) << error;
    }
}

TEST(SimulatedMouse, ButtonPressReachesEveryOpenNotificationHandle)
{
    FakeClock clock;
    SimulatedMouse mouse{clock};
    const std::string path = SimulatedMouse::PathOf(SimulatedInterface::Notification);
    auto first = mouse.Open(path, HidOpenMode::Reading);
    auto second = mouse.Open(path, HidOpenMode::Reading);
    mouse.PressCpiButton(3);
    EXPECT_EQ(mouse.CpiStage(), 3);
    for (auto* device : {first.get(), second.get()}) {
        std::array<std::uint8_t, 9> buffer{};
        ASSERT_EQ(device->ReadInput(std::span(buffer).first(8), 0ms).length, 8u);
        // Eight bytes, nothing past the length asked for.
        EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), (Bytes{0x06, 0x07, 0x01, 0x03, 0, 0, 0, 0, 0}));
    }
}

TEST(SimulatedFault, ParseNamesAFaultOrNothing)
{
    const std::pair<std::string, std::optional<SimulatedFault>> cases[] = {
        {"silent", SimulatedFault{SimulatedFault::Kind::Silent}},
        {"garbage", SimulatedFault{SimulatedFault::Kind::Garbage}},
        {"unplug-after:14", SimulatedFault{SimulatedFault::Kind::UnplugAfter, 14}},
        {"slow:60000", SimulatedFault{SimulatedFault::Kind::Slow, 0, 60000ms}}};
    for (const auto& [text, fault] : cases) {
        EXPECT_EQ(SimulatedFault::Parse(text), fault) << text;
    }
    for (const char* text :
         {"slow:60001", "unplug-after:", "unplug-after:-1", "unplug-after:3x", "slow: 5", "Silent", "", "none"}) {
        EXPECT_EQ(SimulatedFault::Parse(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace veldrane::test
