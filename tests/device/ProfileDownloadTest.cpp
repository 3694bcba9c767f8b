#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "buttons/KeyMatrixBlock.h"
#include "device/MouseSearch.h"
#include "device/ProfileDownload.h"
#include "device/SettingsBlock.h"
#include "platform/TextCodec.h"
#include "profile/ConfigFiles.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;
using Pauses = std::vector<std::chrono::milliseconds>;

// Labels in these tests are plain ASCII, which every code page carries unchanged.
class AsciiCodec : public TextCodec
{
public:
    std::optional<std::string> ToUtf8(std::string_view bytes, LegacyCodePage) const override
    {
        return std::string(bytes);
    }
    std::optional<std::string> FromUtf8(std::string_view utf8, LegacyCodePage) const override
    {
        return std::string(utf8);
    }
};

// Every pause of a download in order: 0x02, 0x03, the settings read, its write (two chunks and
// 10 ms), the key matrix (two chunks and 2 ms), twelve macros (two chunks and 20 ms each).
Pauses DownloadPauses()
{
    Pauses pauses = {10ms, 10ms, 10ms, 20ms, 20ms, 10ms, 20ms, 20ms, 2ms};
    for (int n = 0; n < 12; ++n) {
        pauses.insert(pauses.end(), {20ms, 20ms, 20ms});
    }
    return pauses;
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
        ASSERT_TRUE(FindMouse(link));
        WriteFileBytes(dir / "config0.bin", std::string(1825, '\0'));
        files.buttonLabel[0] = "Click";
        files.buttonLabel[11] = "Macro Key-Macro_1";

        record.reportRate = 2;
        record.sideButtonLight = 1;
        record.cpiValue = {8, 16, 32, 64, 100, 120};
        record.cpiEnabled = {1, 1, 0, 1, 1, 1};
        record.cpiColor.fill(0x7E);
        record.lightMode = 1;
        record.lightLevel = {4, 1, 1};
        record.angleSnap = 10;
        record.sensitivityX = 5;
        record.sensitivityY = 7;
        record.buttonFunction.fill(0x00);
        record.MacroBuffer(0).front() = 0xA1;
        record.MacroBuffer(11).back() = 0xAC;
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
    RecordingMessageSink messages;
    AsciiCodec codec;
    ConfigFiles files{dir.Path(), messages, codec};
    ProfileRecord record{};
};

TEST_F(ProfileDownloadTest, SendsEveryReportAndEveryPauseInOrder)
{
    image.bytes[kImageProfileNumber] = 3; // 0x0D must name profile 0 all the same
    DownloadProfile(link, image, record, files);

    const auto expected = ExpectedSequence(SimulatedMouse::FactorySettingsBlock(0));
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), expected.size());
    for (std::size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i].kind, expected[i].kind) << "report " << i;
        EXPECT_EQ(reports[i].bytes, expected[i].bytes) << "report " << i;
        EXPECT_EQ(reports[i].time, expected[i].time) << "report " << i;
        EXPECT_TRUE(reports[i].delivered) << "report " << i;
    }
    EXPECT_EQ(clock.pauses, DownloadPauses());
    EXPECT_EQ(clock.now, kDownloadPauseTotal);
    EXPECT_TRUE(mouse.Errors().empty());
}

TEST_F(ProfileDownloadTest, LeavesTheMouseAndTheImageHoldingWhatWasSent)
{
    DownloadProfile(link, image, record, files);

    SimulatedMouse::Block patched = SimulatedMouse::FactorySettingsBlock(0);
    PatchSettingsBlock(record, patched);
    EXPECT_EQ(mouse.SelectedProfile(), 0);
    EXPECT_EQ(mouse.ReportRate(), 2);
    EXPECT_EQ(mouse.SideButtonLight(), 1);
    EXPECT_EQ(mouse.SettingsBlock(0), patched);
    EXPECT_EQ(mouse.MacroSlot(1)[0], 0xA1);
    EXPECT_EQ(mouse.MacroSlot(12)[127], 0xAC);

    EXPECT_EQ(record.deviceProfile, 0);
    EXPECT_EQ(image.bytes[kImageProfileNumber], 0);
    EXPECT_EQ(image.bytes[kImageSideButtonLight], 1);
    EXPECT_EQ(image.bytes[kImageReportRate], 2);
    EXPECT_TRUE(std::equal(patched.begin(), patched.end(), image.SettingsArea(0).begin()));
    const KeyMatrixBlock keyMatrix = BuildKeyMatrixBlock(record);
    EXPECT_TRUE(std::equal(keyMatrix.begin(), keyMatrix.end(), image.KeyMatrix().begin()));
}

TEST_F(ProfileDownloadTest, EndsByStoringTheProfileAndItsLabels)
{
    DownloadProfile(link, image, record, files);
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
    const std::string labels = ReadFileBytes(dir / "str0.ini");
    EXPECT_NE(labels.find("[Setting-EN]"), std::string::npos);
    EXPECT_NE(labels.find("Item1=Click"), std::string::npos);
    EXPECT_NE(labels.find("Item12=Macro Key-Macro_1"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

// The codes of the feature reports a download sends, in order.
const std::vector<std::uint8_t> kDownloadCommands = {0x02, 0x03, 0x05, 0x8C, 0x0C, 0x0D, 0x0F, 0x0F, 0x0F,
                                                     0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};

std::vector<std::uint8_t> SentCommands(const std::vector<LoggedReport>& reports)
{
    std::vector<std::uint8_t> codes;
    for (const LoggedReport& report : reports) {
        if (report.kind == ReportKind::SetFeature) {
            codes.push_back(report.bytes.size() > 1 ? report.bytes[1] : 0);
        }
    }
    return codes;
}

std::size_t Count(const std::vector<LoggedReport>& reports, ReportKind kind)
{
    return static_cast<std::size_t>(
        std::count_if(reports.begin(), reports.end(), [&](const LoggedReport& r) { return r.kind == kind; }));
}

class UnplugDuringDownloadTest : public ProfileDownloadTest, public ::testing::WithParamInterface<std::size_t>
{
};

TEST_P(UnplugDuringDownloadTest, RunsThroughEveryStepAndStillStoresTheProfile)
{
    // The mouse goes away after this many reports: before the settings read, between its chunks,
    // inside the settings write, inside the key matrix, among the macros, before the last chunk.
    mouse.UnplugAfterCommandReports(GetParam());
    DownloadProfile(link, image, record, files);

    const auto reports = CommandReports(mouse);
    EXPECT_EQ(SentCommands(reports), kDownloadCommands);
    EXPECT_EQ(Count(reports, ReportKind::Write), 28u);
    const auto delivered = std::count_if(reports.begin(), reports.end(), [](const auto& r) { return r.delivered; });
    EXPECT_EQ(static_cast<std::size_t>(delivered), GetParam());
    EXPECT_FALSE(mouse.IsPlugged());
    EXPECT_EQ(clock.pauses, DownloadPauses());
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
    EXPECT_TRUE(mouse.Errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Points, UnplugDuringDownloadTest, ::testing::Values(1u, 3u, 5u, 6u, 8u, 10u, 14u, 30u, 48u));

TEST_F(ProfileDownloadTest, MouseThatNeverAnswersGetsTheWholeSequenceOverAZeroSettingsArea)
{
    mouse.SetFault(SimulatedFault::Silent);
    DownloadProfile(link, image, record, files);

    const auto reports = CommandReports(mouse);
    EXPECT_EQ(SentCommands(reports), kDownloadCommands);
    EXPECT_EQ(Count(reports, ReportKind::Read), 0u); // a lost answer announces no chunk
    EXPECT_EQ(clock.pauses, DownloadPauses());
    SimulatedMouse::Block expected{};
    PatchSettingsBlock(record, expected);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), image.SettingsArea(0).begin()));
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
}

TEST_F(ProfileDownloadTest, GarbageAnswerLeavesTheSettingsAreaAsItWasAndWaitsABoundedTime)
{
    image.SettingsArea(0)[10] = 0x5C; // what an earlier read left there
    mouse.SetFault(SimulatedFault::Garbage);
    DownloadProfile(link, image, record, files);

    const auto reports = CommandReports(mouse);
    EXPECT_EQ(SentCommands(reports), kDownloadCommands);
    // The garbage announces 255 bytes; the first chunk never comes, and the read asked for it
    // with the bounded time-out only.
    ASSERT_EQ(Count(reports, ReportKind::Read), 1u);
    const auto read =
        std::find_if(reports.begin(), reports.end(), [](const auto& r) { return r.kind == ReportKind::Read; });
    EXPECT_EQ(read->timeout, 1000ms);
    EXPECT_TRUE(read->bytes.empty());
    EXPECT_EQ(image.SettingsArea(0)[10], 0x5C);
    EXPECT_EQ(mouse.SettingsBlock(0)[10], 0x5C);
    EXPECT_EQ(clock.pauses, DownloadPauses());
    EXPECT_EQ(SavedFile(), ExpectedFile(record));
}

} // namespace
} // namespace veldrane::test
