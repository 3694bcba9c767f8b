#include <array>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/buttons/KeyMatrixBlock.h"
#include "core/device/MouseSearch.h"
#include "core/device/ProfileDownload.h"
#include "core/device/SettingsBlock.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "support/PatternedRecord.h"
#include "support/TempDir.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

using Block = std::array<std::uint8_t, kSettingsBlockSize>;

// What a mouse might return: every byte different from its neighbours and from the values a patch
// writes, so that a byte written by mistake shows.
Block AsReturned()
{
    Block block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return block;
}

Block Patched(const ProfileRecord& record)
{
    Block block = AsReturned();
    PatchSettingsBlock(record, block);
    return block;
}

TEST(PatchSettingsBlock, LightingModeAndLevelGiveBytes71To73)
{
    const Block returned = AsReturned();
    const int kept = -1;
    const struct
    {
        std::uint8_t mode;
        std::array<std::uint8_t, 3> levels;
        int bytes[3];
    } cases[] = {{0, {4, 4, 4}, {0, kept, kept}}, {1, {1, 4, 4}, {0, kept, kept}}, {1, {2, 4, 4}, {1, 4, 3}},
                 {2, {4, 5, 4}, {2, 5, 3}},       {3, {4, 4, 100}, {3, 44, kept}}, // 300 kept to 8 bits
                 {7, {4, 4, 4}, {7, kept, kept}}};
    for (const auto& c : cases) {
        ProfileRecord record{};
        record.lightMode = c.mode;
        record.lightLevel = c.levels;
        const Block patched = Patched(record);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(patched[71 + i], c.bytes[i] == kept ? returned[71 + i] : c.bytes[i]) << int{c.mode} << " " << i;
        }
    }
}

struct ExpectedReport
{
    std::chrono::milliseconds time;
    ReportKind kind;
    Bytes bytes;
};

class ProfileDownloadTest : public MouseTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FindMouse(link).Done());
        WriteFileBytes(dir / "config0.bin", std::string(1825, '\0'));
        files.SetButtonLabel(0, "Click");
        files.SetButtonLabel(11, "Macro Key-Macro_1");
        record.reportRate = 2;
        record.sideButtonLight = 1;
        record.deviceProfile = 4;
    }

    std::string SavedFile() const { return ReadFileBytes(dir / "config0.bin"); }

    std::string ExpectedFile(const ProfileRecord& saved) const
    {
        const auto bytes = saved.Bytes();
        return std::string(1, '\x01') + std::string(bytes.begin(), bytes.end());
    }

    // The full sequence a download sends to a mouse that answers, with the block the mouse had.
    std::vector<ExpectedReport> ExpectedSequence(const SimulatedMouse::Block& returned) const
    {
        SimulatedMouse::Block patched = returned;
        PatchSettingsBlock(record, patched);
        const KeyMatrixBlock keyMatrix = BuildKeyMatrixBlock(record);

        std::vector<ExpectedReport> reports;
        auto t = 0ms;
        reports.push_back({t, ReportKind::SetFeature, Feature({0x02, 0x00})});
        t += 10ms;
        reports.push_back({t, ReportKind::SetFeature, Feature({0x03, 0x00, 0x02})});
        t += 10ms;
        reports.push_back({t, ReportKind::SetFeature, Feature({0x05, 0x01})});
        reports.push_back({t, ReportKind::SetFeature, Bytes{0x00, 0x8C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x73}});
        reports.push_back({t, ReportKind::GetFeature, Bytes{0x00, 0x8C, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0xF3}});
        reports.push_back({t, ReportKind::Read, Output(std::span(returned).first(64))});
        reports.push_back({t, ReportKind::Read, Output(std::span(returned).last(64))});
        t += 10ms;
        auto block = [&](Bytes feature, std::span<const std::uint8_t> data, std::chrono::milliseconds after) {
            reports.push_back({t, ReportKind::SetFeature, std::move(feature)});
            reports.push_back({t, ReportKind::Write, Output(data.first(64))});
            t += 20ms;
            reports.push_back({t, ReportKind::Write, Output(data.last(64))});
            t += 20ms + after;
        };
        block(Bytes{0x00, 0x0C, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x73}, patched, 10ms);
        block(Feature({0x0D, 0x00, 0x80}), keyMatrix, 2ms);
        for (std::uint8_t n = 1; n <= 12; ++n) {
            block(Feature({0x0F, n, 0x80}), record.MacroBuffer(n - 1), 20ms);
        }
        EXPECT_EQ(t, 842ms);
        return reports;
    }

    TempDir dir;
    IconvTextCodec codec;
    ConfigFiles files{dir.Path(), codec};
    ProfileRecord record = Patterned(3);
};

TEST_F(ProfileDownloadTest, SendsEveryReportAndPauseInOrderThenKeepsAndStoresWhatWasSent)
{
    image.bytes[kImageProfileNumber] = 3; // 0x0D must name profile 0 all the same
    EXPECT_TRUE(DownloadProfile(link, image, record, files).Taken());

    const auto expected = ExpectedSequence(SimulatedMouse::FactorySettingsBlock(0));
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), expected.size());
    for (std::size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].kind, expected[i].kind) << "report " << i;
        EXPECT_EQ(reports[i].bytes, expected[i].bytes) << "report " << i;
        EXPECT_EQ(reports[i].time, expected[i].time) << "report " << i;
    }
    EXPECT_EQ(clock.now, kDownloadPauseTotal);
    EXPECT_TRUE(mouse.Errors().empty());

    // The image holds what was sent, and the profile is stored with its labels.
    const SimulatedMouse::Block settings = mouse.SettingsBlock(0);
    const SimulatedMouse::Block keyMatrix = mouse.KeyMatrix();
    EXPECT_EQ(record.deviceProfile, 0);
    EXPECT_EQ(image.bytes[kImageProfileNumber], 0);
    EXPECT_EQ(image.bytes[kImageSideButtonLight], 1);
    EXPECT_EQ(image.bytes[kImageReportRate], 2);
    EXPECT_TRUE(std::equal(settings.begin(), settings.end(), image.SettingsArea(0).begin()));
    EXPECT_TRUE(std::equal(keyMatrix.begin(), keyMatrix.end(), image.KeyMatrix().begin()));
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
    const std::string labels = ReadFileBytes(dir / "str0.ini");
    EXPECT_NE(labels.find("[Setting-EN]"), std::string::npos);
    EXPECT_NE(labels.find("Item12=Macro Key-Macro_1"), std::string::npos);
}

// With a full disk the error box came, but all 49 reports still reached the mouse, which then held
// settings the files lacked: the files come first, and when they cannot be stored nothing is sent.
TEST_F(ProfileDownloadTest, NothingIsSentWhenTheProfileCannotBeStored)
{
    std::filesystem::remove(dir / "config0.bin");
    std::filesystem::create_directory(dir / "config0.bin");
    const DownloadResult result = DownloadProfile(link, image, record, files);
    EXPECT_EQ(result.stored.error, std::error_code(EISDIR, std::generic_category()));
    EXPECT_EQ(result.stored.file, dir / "config0.bin");
    EXPECT_TRUE(result.sent.Done());
    EXPECT_FALSE(result.Taken());
    EXPECT_TRUE(CommandReports(mouse).empty());
    EXPECT_EQ(mouse.SettingsBlock(0), SimulatedMouse::FactorySettingsBlock(0));
}

// A label file that cannot be written was reported from inside the download and then forgotten:
// the caller learns it with the file, and the settings are stored and sent all the same.
TEST_F(ProfileDownloadTest, ALabelFileThatCannotBeWrittenIsReturnedAndTheSettingsStillGo)
{
    std::filesystem::remove(dir / "str0.ini");
    std::filesystem::create_directory(dir / "str0.ini");
    const DownloadResult result = DownloadProfile(link, image, record, files);
    EXPECT_EQ(result.labelsStored.error, std::error_code(EISDIR, std::generic_category()));
    EXPECT_EQ(result.labelsStored.file, dir / "str0.ini");
    EXPECT_TRUE(result.Taken());
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
}

struct FaultCase
{
    const char* name;
    SimulatedFault fault;
    DeviceOutcome sent;   // the first exchange that failed, if one did
    std::size_t reports;  // on the command interface, the failed one included
    bool settingsWritten; // the mouse holds the patched settings block
};

class FaultDuringDownloadTest : public ProfileDownloadTest, public ::testing::WithParamInterface<FaultCase>
{
};

TEST_P(FaultDuringDownloadTest, StopsAtTheFirstFailureAndStillStoresTheProfile)
{
    const FaultCase& fault = GetParam();
    mouse.SetFault(fault.fault);
    const DownloadResult result = DownloadProfile(link, image, record, files);

    EXPECT_EQ(std::tuple(result.sent.error, result.sent.command), std::tuple(fault.sent.error, fault.sent.command));
    EXPECT_EQ(CommandReports(mouse).size(), fault.reports);
    SimulatedMouse::Block expected = SimulatedMouse::FactorySettingsBlock(0);
    if (fault.settingsWritten) {
        PatchSettingsBlock(record, expected);
    }
    EXPECT_EQ(mouse.SettingsBlock(0), expected);
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
    EXPECT_TRUE(mouse.Errors().empty());
}

using Kind = SimulatedFault::Kind;
constexpr DeviceError kNotTaken = DeviceError::ReportNotTaken;
constexpr DeviceError kShort = DeviceError::ShortBlock;

// A download is 49 reports: 0x02, 0x03, 0x05 (3), 0x8C with its answer and two chunks (4), 0x0C,
// 0x0D and twelve 0x0F with two chunks each (42). A mouse that leaves takes the next report and
// nothing after it.
INSTANTIATE_TEST_SUITE_P(
    Faults, FaultDuringDownloadTest,
    ::testing::Values(FaultCase{"Silent", {Kind::Silent}, {kNotTaken, 0x02}, 1, false},
                      // 255 bytes announced, then one short report: the block is not written back
                      FaultCase{"Garbage", {Kind::Garbage}, {kShort, 0x8C}, 6, false},
                      FaultCase{"UnplugInSettingsWrite", {Kind::UnplugAfter, 8}, {kNotTaken, 0x0C}, 9, false},
                      FaultCase{"UnplugBeforeKeyMatrix", {Kind::UnplugAfter, 10}, {kNotTaken, 0x0D}, 11, true},
                      FaultCase{"UnplugBeforeLastChunk", {Kind::UnplugAfter, 48}, {kNotTaken, 0x0F}, 49, true},
                      // an answer later than a chunk read waits is a chunk that did not come
                      FaultCase{"SlowerThanAChunkRead", {Kind::Slow, 0, 1500ms}, {kShort, 0x8C}, 6, false},
                      FaultCase{"SlowButInTime", {Kind::Slow, 0, 30ms}, {}, 49, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane::test
