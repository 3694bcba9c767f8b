#include "screens/help/HelpPanelModel.h"

#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using Shown = test::RecordingMessageSink::Shown;

class HelpPanelModelTest : public ::testing::Test
{
protected:
    HelpPanelModelTest() { images.sizes["/Help/HelpWindow.png"] = {166, 78}; }

    HelpPanelModel MakePanel(Language language = Language::English)
    {
        return HelpPanelModel(language, shell, messages, images, dir.Path());
    }

    test::TempDir dir;
    test::RecordingShell shell;
    test::RecordingMessageSink messages;
    test::RecordingCanvas images;
};

// 64-bit processors, ARM ones too, get the updater under "X64"; every other one that under "X86".
TEST_F(HelpPanelModelTest, StartsTheUpdaterOfTheProcessorOrSaysWhereItLooked)
{
    for (auto architecture : {ProcessorArchitecture::X86_64, ProcessorArchitecture::Arm64}) {
        EXPECT_EQ(HelpPanelModel::UpdaterPath("/opt/v", architecture), "/opt/v/Update/X64/FwUpdate.exe");
    }
    for (auto architecture : {ProcessorArchitecture::X86, ProcessorArchitecture::Other}) {
        EXPECT_EQ(HelpPanelModel::UpdaterPath("/opt/v", architecture), "/opt/v/Update/X86/FwUpdate.exe");
    }

    MakePanel(Language::SimplifiedChinese).StartUpdater();
    EXPECT_TRUE(shell.startedPrograms.empty());
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message,
                                                   "找不到更新程序：\n" + (dir / "Update/X64/FwUpdate.exe").string(),
                                                   "Tessaly VELDRANE"}}));

    messages.shown.clear();
    shell.architecture = ProcessorArchitecture::X86;
    std::filesystem::create_directories(dir / "Update/X86");
    test::WriteFileBytes(dir / "Update/X86/FwUpdate.exe", "#!/bin/sh\n");
    MakePanel().StartUpdater();
    EXPECT_EQ(shell.startedPrograms, std::vector<std::filesystem::path>{dir / "Update/X86/FwUpdate.exe"});
    EXPECT_TRUE(messages.shown.empty());
}

// The web line opens the maker's site and the update line asks for the updater; the gap between
// them and the version line do nothing.
TEST_F(HelpPanelModelTest, ClicksInTheirOrder)
{
    HelpPanelModel panel = MakePanel();
    panel.Open();
    EXPECT_EQ(panel.Press({165, 24}), HelpPanelModel::PressResult::None);
    EXPECT_EQ(shell.openedUrls, std::vector<std::string>{"http://www.tessaly.example"});
    EXPECT_EQ(panel.Press({0, 25}), HelpPanelModel::PressResult::None);
    EXPECT_EQ(panel.Press({0, 26}), HelpPanelModel::PressResult::UpdateRequested);
    EXPECT_EQ(panel.Press({50, 60}), HelpPanelModel::PressResult::None);
    EXPECT_EQ(shell.openedUrls.size(), 1u);
    EXPECT_TRUE(panel.IsOpen());
}

// Without its picture the panel is still seen where it takes clicks, with its lines readable, and
// the missing picture is reported once however often the panel opens.
TEST_F(HelpPanelModelTest, WithoutItsPictureThePanelIsPlainAndReportedOnce)
{
    images.sizes.clear();
    HelpPanelModel panel = MakePanel();
    panel.Open();
    panel.Close();
    panel.Open();
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, "error", "Help Dialog Load background image failed!!!"}}));
    test::RecordingCanvas canvas;
    panel.Draw(canvas, {786, 25});
    ASSERT_FALSE(canvas.fills.empty());
    EXPECT_EQ(canvas.fills.front().area, (Rect{786, 25, 952, 102}));
    ASSERT_TRUE(canvas.FindText("http://www.tessaly.example"));
    EXPECT_EQ(canvas.FindText("http://www.tessaly.example")->area, (Rect{786, 25, 952, 50}));
}

// The lines are light on the dark panel; the web address, which a maker may make long, is the one
// line that ends in "…" when it does not fit (the window shows it whole as a tooltip).
TEST_F(HelpPanelModelTest, LightLinesAndOnlyTheWebAddressElided)
{
    HelpPanelModel panel = MakePanel(Language::SimplifiedChinese);
    panel.Open();
    test::RecordingCanvas canvas;
    panel.Draw(canvas, {0, 0});
    ASSERT_EQ(canvas.texts.size(), 3u);
    for (const auto& text : canvas.texts) {
        EXPECT_EQ(text.colour, (Colour{230, 230, 230, 255})) << text.text;
        EXPECT_EQ(text.align, text.text == "http://www.tessaly.example" ? TextAlign::CentreElided : TextAlign::Centre)
            << text.text;
    }
}

} // namespace
} // namespace veldrane
