// Every settings section edited by presses at the window's coordinates, then "Save" against the
// simulated mouse through the real device link and download: the settings block, commands 0x03
// and 0x05, the profile file and the label file.
#include <gtest/gtest.h>

#include <vector>

#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/MouseSearch.h"
#include "core/device/SettingsBlock.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/settings/ReportRate.h"
#include "screens/MainWindowFixture.h"
#include "screens/SectionFakes.h"
#include "screens/main/DeviceLinkConnection.h"
#include "screens/main/sections/SettingsSections.h"
#include "sim/SimulatedMouse.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SectionsSaveTest : public test::MainWindowFixture
{
protected:
    SectionsSaveTest()
    {
        EXPECT_TRUE(FindMouse(link).Done());
        UsePoint({24, 84, 97, 8});
        InstallSettingsSections(window, linkedContext, colours, scrollLinesBox);
        records.Current.cpiEnabled = {1, 1, 1, 1, 1, 1};
        records.Current.cpiColor.fill(0x40);
        records.Current.cpiValue[4] = 0x55;
        records.Current.cpiValue[5] = 0x66;
        records.Current.lightLevel = {3, 3, 3};
        records.Current.scrollOneScreen = 0;
        records.Current.scrollLines = 3;
        simulated.ClearLog();
    }

    void Toggle(bool left, std::size_t index)
    {
        const Rect header = left ? window.Left().Stack().HeaderArea(index) : window.Right().Stack().HeaderArea(index);
        window.Press({header.left + 5, header.top + 5});
    }
    // Opens a section alone, makes the presses, shuts it again.
    void In(bool left, std::size_t index, std::initializer_list<Point> presses)
    {
        Toggle(left, index);
        for (Point p : presses) {
            window.Press(p);
        }
        Toggle(left, index);
    }
    void Save() { window.Press({930, 610}); }

    // The command-interface feature reports of the download whose command code is `code`.
    std::vector<Bytes> FeatureReports(std::uint8_t code) const
    {
        std::vector<Bytes> found;
        for (const auto& report : simulated.Log()) {
            if (report.interface == SimulatedInterface::Command && report.kind == ReportKind::SetFeature &&
                report.bytes.size() > 1 && report.bytes[1] == code) {
                found.push_back(report.bytes);
            }
        }
        return found;
    }

    SimulatedMouse simulated{clock};
    DeviceLink link{simulated, clock};
    DeviceImage image;
    DeviceLinkConnection connection{link, image};
    AppContext linkedContext = ContextWith(connection);
    MainWindowModel window{linkedContext, view};
    test::RecordingColourPicker colours;
    test::RecordingEditBox scrollLinesBox;
};

TEST_F(SectionsSaveTest, EverySectionEditedReachesTheMouseAndTheFiles)
{
    colours.answers.push_back(Colour{10, 20, 30, 255});
    // clang-format off
    In(false, RightPanel::kCpiSetting, {{775, 58},    // stage 1: 164, 8200 CPI
                                        {825, 227},   // stage 2: 1, 50 CPI
                                        {875, 150},   // stage 3: 77
                                        {925, 64},    // stage 4: 163
                                        {872, 251},   // stage 3 switched off
                                        {922, 265}}); // stage 4's colour: 10, 20, 30
    In(false, RightPanel::kLighting, {{744, 155},      // "Multi-color "
                                      {834 + 94, 155}, // its level 5: sent as 15
                                      {834, 97}});     // "Single color" level 1, kept in the record
    In(false, RightPanel::kUsbReportRate, {{825, 202}});           // 250 Hz
    In(false, RightPanel::kMouseSpeed, {{905, 206}});              // the right-hand horizontal: 12
    In(false, RightPanel::kDoubleClickSpeed, {{805, 231}});        // the left-hand horizontal: 2
    In(false, RightPanel::kScrollSpeed, {{760, 230}, {958, 190}}); // one screen, 4 lines
    In(false, RightPanel::kAngleSnap, {{751 + 198, 299}});         // 11: snapping off
    In(true, LeftPanel::kXySensitivity, {{37 + 207, 223}, {37 + 9, 283}}); // X 11, Y 2
    In(true, LeftPanel::kLightButton, {{150, 234}});                       // "OFF"
    // clang-format on
    files.SetButtonLabel(0, "Click");
    files.SetButtonLabel(11, "Single Key");

    Save();

    ASSERT_TRUE(simulated.Errors().empty()) << simulated.Errors().front();
    EXPECT_EQ(test::HexBytes(simulated.SettingsBlock(0)),
              "07 24 01 5E 7B 98 B5 D2 EF 0C 29 46 63 80 9D BA D7 F4 11 2E 4B 68 85 A2 BF DC F9 16 33 50 6D 8A "
              "A7 C4 E1 FE 1B 38 55 72 8F AC C9 E6 03 20 3D 5A 77 94 42 00 EB 08 25 42 5F 7C 99 B6 D3 F0 0D 2A "
              "0F 64 81 9E BB D8 04 03 0F 4C DC 28 A3 C0 DD FA 17 34 51 6E A4 01 4D A3 50 60 39 56 A4 01 4D A3 "
              "50 60 21 3E 0B 78 95 B2 40 40 40 40 40 40 40 40 40 0A 14 1E 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(FeatureReports(0x03), (std::vector<Bytes>{{0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0xF8}}));
    EXPECT_EQ(FeatureReports(0x05), (std::vector<Bytes>{{0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFA}}));

    // The record as the presses left it is in the profile file, and went to the desktop for the
    // settings the mouse does not keep.
    const auto stored = ConfigFile::Read(dir / "config0.bin");
    EXPECT_EQ(stored.contents.firstRunFlag, kConfigWrittenFlag);
    EXPECT_EQ(stored.contents.record, records.Current);
    EXPECT_EQ(pointerSettings.applied, std::vector<ProfileRecord>{records.Current});
    const ProfileRecord& r = records.Current;
    EXPECT_EQ((std::array<int, 5>{r.mouseSpeed, r.doubleClickSpeed, r.scrollOneScreen, r.scrollLines, r.lightLevel[0]}),
              (std::array<int, 5>{12, 2, 1, 4, 1}));
    const IniFile labels(dir / "str0.ini", codec);
    EXPECT_EQ(labels.GetString("Setting-EN", "Item1") + "/" + labels.GetString("Setting-EN", "Item12"),
              "Click/Single Key");
}

// The keyboard alone: Tab to a header, Return to open it, Tab to a control, the arrows and Home to
// set it, Ctrl+S to save. Each Tab lands where the window's reading order says.
TEST_F(SectionsSaveTest, KeysAloneSetACpiStageAndTheReportRateAndSave)
{
    records.Current.reportRate = kRate1000Hz;
    records.Current.cpiValue[1] = 40;
    // Tabs until the control with this role and name has the focus; the Tabs it took.
    auto tabTo = [this](ControlRole role, std::string_view name) {
        for (int tabs = 1; tabs <= 60; ++tabs) {
            window.KeyPressed(WindowKey::Tab);
            const FocusControl focused = window.Controls().at(window.FocusIndex().value());
            if (focused.role == role && focused.name == name) {
                return tabs;
            }
        }
        return -1;
    };
    // From nothing: the three title-bar buttons, the four left headers and the two view buttons.
    EXPECT_EQ(tabTo(ControlRole::PageTab, "CPI Setting"), 10);
    window.KeyPressed(WindowKey::Return);
    EXPECT_EQ(tabTo(ControlRole::Slider, "CPI stage 2"), 2);
    for (WindowKey key : {WindowKey::End, WindowKey::PageDown, WindowKey::Down, WindowKey::Down, WindowKey::Up}) {
        window.KeyPressed(key);
    }
    EXPECT_EQ(window.Controls().at(window.FocusIndex().value()).value, "7650 CPI"); // 164 - 10 - 1
    // Past the other stages' tracks, switches and swatches and the "Lighting" header.
    EXPECT_EQ(tabTo(ControlRole::PageTab, "USB Report Rate"), 12);
    window.KeyPressed(WindowKey::Space);
    EXPECT_EQ(tabTo(ControlRole::Slider, "USB Report Rate"), 1);
    for (WindowKey key : {WindowKey::Home, WindowKey::Right, WindowKey::Right, WindowKey::Left}) {
        window.KeyPressed(key);
    }
    EXPECT_EQ(window.Controls().at(window.FocusIndex().value()).value, "250 Hz");
    window.KeyPressed(WindowKey::Save);

    ASSERT_TRUE(simulated.Errors().empty()) << simulated.Errors().front();
    EXPECT_EQ(simulated.SettingsBlock(0)[kSettingsBlockCpiCodes + 1], 153);
    ASSERT_EQ(FeatureReports(0x03).size(), 1U);
    EXPECT_EQ(FeatureReports(0x03)[0][3], kRate250Hz);
    const ProfileRecord stored = ConfigFile::Read(dir / "config0.bin").contents.record;
    EXPECT_EQ(stored.cpiValue[1], 153);
    EXPECT_EQ(stored.reportRate, kRate250Hz);
}

// A load brings a file's values into the controls' range; the sections and the download never
// change a record behind the user's back, whatever it holds.
TEST_F(SectionsSaveTest, TheRecordIsSentAsItIsEvenOutsideTheControlsRange)
{
    records.Current.cpiValue = {0, 200, 1, 164, 0, 0};
    records.Current.reportRate = 0;
    records.Current.sideButtonLight = 2;
    records.Current.lightMode = 1;
    records.Current.lightLevel = {1, 2, 2};
    records.Current.angleSnap = 12;
    records.Current.sensitivityX = 13;
    records.Current.sensitivityY = 0;
    const ProfileRecord loaded = records.Current;
    // Opened and drawn, the sections leave the record alone.
    for (std::size_t i = 0; i < RightPanel::kSectionCount; ++i) {
        window.Right().Toggle(i);
    }
    Toggle(true, LeftPanel::kXySensitivity);
    Toggle(true, LeftPanel::kLightButton);
    test::RecordingCanvas canvas;
    window.Draw(canvas);
    ASSERT_EQ(records.Current, loaded);

    Save();

    ASSERT_TRUE(simulated.Errors().empty()) << simulated.Errors().front();
    EXPECT_EQ(test::HexBytes(simulated.SettingsBlock(0)),
              "07 24 01 5E 7B 98 B5 D2 EF 0C 29 46 63 80 9D BA D7 F4 11 2E 4B 68 85 A2 BF DC F9 16 33 50 6D 8A "
              "A7 C4 E1 FE 1B 38 55 72 8F AC C9 E6 03 20 3D 5A 77 94 42 00 EB 08 25 42 5F 7C 99 B6 D3 F0 0D 2A "
              "0F 64 81 9E BB D8 04 00 2F 4C 04 00 A3 C0 DD FA 17 34 51 6E 00 C8 01 A4 50 60 39 56 00 C8 01 A4 "
              "50 60 21 3E 0F 78 95 B2 40 40 40 40 40 40 40 40 40 40 40 40 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(FeatureReports(0x03), (std::vector<Bytes>{{0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC}}));
    EXPECT_EQ(FeatureReports(0x05), (std::vector<Bytes>{{0x00, 0x05, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8}}));
    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record, loaded);
}

} // namespace
} // namespace veldrane
