// A change of the profile list cut off part-way is taken back at the next start, and every saving
// operation killed part-way leaves old or new files that agree.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/MouseSearch.h"
#include "core/device/ProfileDownload.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroRecord.h"
#include "core/macro/MacroSectionRename.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileManager.h"
#include "core/profile/ProfileRecord.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/profile/ProfileTransfer.h"
#include "core/text/FileErrorTexts.h"
#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"
#include "support/PatternedRecord.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Patterned;

using ProfileSlotMoverTest = test::InstalledProfiles;

// A kill between the moves, or between the moves and the list, left names on other names' files:
// the next start takes the step back whole, and then forgets it.
TEST_F(ProfileSlotMoverTest, AStepCutOffIsTakenBackWholeAtTheNextStart)
{
    GiveSlot(0, 10, "zero");
    GiveSlot(1, 11, "one");
    std::filesystem::remove(dir / "str2.ini");
    const test::FolderState before = test::ReadFolder(dir.Path());
    ProfileSlotMover mover{dir.Path(), codec};
    const std::vector<ProfileFileSource> sources{1, std::nullopt, 0};
    ASSERT_TRUE(mover.Move(sources, 2).Done());
    // The program stops before the list is stored (or after: the list is in the journal too).
    ASSERT_EQ(IniFile(dir / "str.ini", codec).WriteString("Profile", "ItemCount", "3"), IniWriteResult::Written);

    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error);
    EXPECT_EQ(test::ReadFolder(dir.Path()), before) << "str2.ini and the journal gone too";
    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error) << "nothing left to do";

    // A completed step leaves the swapped files and no journal behind.
    ASSERT_TRUE(mover.Move(sources, 2).Done());
    EXPECT_TRUE(mover.Commit().Done());
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_EQ(LabelOf(0), "one");
    EXPECT_EQ(SettingsOf(2), Patterned(10));
    EXPECT_EQ(LabelOf(2), "zero");

    // A journal cut short is not believed. It gave "Error Code is: 5" at every start: it is kept
    // aside, the files stay as they are, and the next start has nothing to say.
    const std::string damaged = "veldrane profile move 1\nconfig0.bin\n1825\nxx";
    test::WriteFileBytes(dir / "profiles.journal", damaged);
    const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(dir.Path());
    EXPECT_EQ(recovery.error, make_error_code(FileError::DamagedJournal));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(recovery.keptAside.parent_path(), dir.Path());
    EXPECT_TRUE(recovery.keptAside.filename().string().starts_with("profiles.journal.broken-"));
    EXPECT_EQ(test::ReadFileBytes(recovery.keptAside), damaged);
    EXPECT_EQ(JournalRecoveryMessage(dir / "profiles.journal", recovery.error, recovery.keptAside,
                                     Language::SimplifiedChinese),
              "配置文件的一次更改被中断且无法完成：其日志文件已损坏。配置文件保持原样；日志文件已保留为：\n" +
                  recovery.keptAside.string());
    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error);
}

// Every saving operation, killed at moments spread over its whole run: what it leaves behind must
// be the files as they were or as the operation makes them, never half of one, never a mix that the
// operation would not leave in between, and no stray temporary file once the next start has cleaned
// up.
//
// Each operation runs in a child process on its own copy of an installation; the parent kills it
// with SIGKILL once in each of kKillsPerOperation slices of the time one whole run takes, at a
// random moment inside the slice; the slices shrink towards the end, where the files are committed.
// Where a kill lands decides nothing about the verdict: a sound operation passes at any moment.
using namespace test;

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
    if (!FindMouse(link).Done()) {
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
    (void)SaveMacro(macros, macro); // killed on the way; what it returns is never seen
}

void RenameMacroOperation(const std::filesystem::path& folder)
{
    IconvTextCodec codec;
    IniFile macros(folder / kMacroFileName, codec);
    (void)RenameMacroSection(macros, "Macro_2", "Renamed"); // killed on the way, as above
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
        {"Import", {{"str.ini"}, {"config1.bin"}, {"str1.ini"}}, ImportOperation}};
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

} // namespace
} // namespace veldrane
