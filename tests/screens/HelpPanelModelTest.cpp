#include "screens/help/HelpPanelModel.h"

#include <gtest/gtest.h>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/UnicodeText.h"
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
    EXPECT_EQ(HelpPanelModel::UpdaterPath("/opt/v", ProcessorArchitecture::Arm64), "/opt/v/Update/X64/FwUpdate.exe");
    EXPECT_EQ(HelpPanelModel::UpdaterPath("/opt/v", ProcessorArchitecture::Other), "/opt/v/Update/X86/FwUpdate.exe");

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

// The language walked to with the keys and pressed with Return replaces only "Lan" of the label
// file, which keeps its encoding and every other line; a file that cannot be written is reported
// and the language stays.
TEST_F(HelpPanelModelTest, ALanguageChosenByKeysReplacesOnlyLanInTheLabelFile)
{
    const auto file = [](std::string_view lan) {
        return "\xFF\xFE" + Utf8ToUtf16Le("[Skins]\r\nPath=Default\r\nLan=" + std::string(lan) +
                                          "\r\nColor=255,255,255\r\n[Setting-CHS]\r\nItem1=左键\r\n");
    };
    const std::filesystem::path labels = dir / "str0.ini";
    test::WriteFileBytes(labels, file("CHS"));
    IconvTextCodec codec;
    std::vector<Language> heard;
    HelpPanelModel panel = MakePanel(Language::SimplifiedChinese);
    panel.KeepLanguageIn(labels, codec, [&heard](Language language) { heard.push_back(language); });
    panel.Open();
    panel.SetKeyboardFocus(true);
    const auto names = [&panel] {
        std::vector<std::pair<std::string, bool>> shown;
        for (const FocusControl& control : panel.Controls()) {
            shown.emplace_back(control.name, control.checked);
        }
        return shown;
    };
    EXPECT_EQ(names(), (std::vector<std::pair<std::string, bool>>{{"http://www.tessaly.example", false},
                                                                  {"Update 驱动更新", false},
                                                                  {"English", false},
                                                                  {"简体中文", true},
                                                                  {"繁體中文", false}}));
    EXPECT_FALSE(panel.KeyPressed(WindowKey::Escape).handled) << "Escape is the main window's";
    panel.KeyPressed(WindowKey::Up);
    const auto press = panel.KeyPressed(WindowKey::Return).press;
    ASSERT_TRUE(press);
    EXPECT_EQ(panel.Press(*press), HelpPanelModel::PressResult::None);
    EXPECT_EQ(test::ReadFileBytes(labels), file("CHT"));
    EXPECT_EQ(heard, std::vector<Language>{Language::TraditionalChinese});
    EXPECT_EQ(panel.Controls()[4].checked, true);

    const std::filesystem::path unwritable = dir / "plain" / "str0.ini";
    test::WriteFileBytes(dir / "plain", "not a folder");
    panel.KeepLanguageIn(unwritable, codec, [&heard](Language language) { heard.push_back(language); });
    const Rect english = panel.LanguageRow(Language::English);
    panel.Press({english.left + 1, english.top + 1});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("無法變更語言，語言保持不變。\n" + unwritable.string() + ": ", 0), 0u)
        << messages.shown[0].text;
    EXPECT_EQ(panel.InterfaceLanguage(), Language::TraditionalChinese);
    EXPECT_EQ(heard.size(), 1u);
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
    // The web address, which a maker may make long, is the one line that may end in "…" (the
    // window shows it whole as a tooltip).
    ASSERT_TRUE(canvas.FindText("http://www.tessaly.example"));
    EXPECT_EQ(canvas.FindText("http://www.tessaly.example")->area, (Rect{786, 25, 952, 50}));
    for (const auto& text : canvas.texts) {
        EXPECT_EQ(text.align, text.text == "http://www.tessaly.example" ? TextAlign::CentreElided : TextAlign::Centre);
    }
}

} // namespace
} // namespace veldrane
