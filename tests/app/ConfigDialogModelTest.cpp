#include "app/ConfigDialogModel.h"

#include <gtest/gtest.h>

#include "app/MainWindowFixture.h"
#include "profile/InstalledProfiles.h"
#include "profile/ScriptedFileDialog.h"
#include "support/RecordingCanvas.h"

namespace veldrane {
namespace {

using test::InstalledProfiles;
using test::Patterned;
using test::RecordingCanvas;
using test::ScriptedFileDialog;
using test::WriteFileBytes;
using Shown = test::RecordingMessageSink::Shown;
using Names = std::vector<std::string>;

constexpr Colour kText{230, 230, 230, 255};

class ConfigDialogModelTest : public InstalledProfiles
{
protected:
    ConfigDialogModelTest()
    {
        canvas.sizes = {{"/Config/Config.png", {263, 598}},
                        {"/Config/New-Config.png", {263, 23}},
                        {"/button-close-normal.png", {15, 15}},
                        {"/button-close-over.png", {15, 15}}};
    }

    ConfigDialogModel& Model()
    {
        if (!m_model) {
            m_model = std::make_unique<ConfigDialogModel>(
                ConfigDialogContext{files, current, codec, messages, dialog, language, kText,
                                    [this](ProfileManagerNotice notice) { notices.push_back(notice); }});
            size = m_model->Open(canvas);
        }
        return *m_model;
    }

    Language language = Language::English;
    ProfileRecord current = Patterned(1);
    ScriptedFileDialog dialog;
    RecordingCanvas canvas;
    std::vector<ProfileManagerNotice> notices;
    Size size;

private:
    std::unique_ptr<ConfigDialogModel> m_model;
};

// ---- Drawing ------------------------------------------------------------------------------------

TEST_F(ConfigDialogModelTest, DrawsTheWindowFromItsPictures)
{
    Model().Draw(canvas);
    EXPECT_EQ(size, (Size{263, 598}));
    EXPECT_EQ(canvas.images,
              (std::vector<RecordingCanvas::Image>{{"/Config/Config.png", {0, 0}, true, std::nullopt},
                                                   {"/button-close-normal.png", {240, 8}, true, std::nullopt},
                                                   {"/Config/New-Config.png", {0, 575}, true, std::nullopt}}));
    const auto title = canvas.FindText("Configuration");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->area.top, 0);
    EXPECT_EQ(title->area.bottom, 31);
    EXPECT_EQ(title->colour, kText);
    const auto newRow = canvas.FindText("New");
    ASSERT_TRUE(newRow);
    EXPECT_EQ(newRow->area, (Rect{0, 575, 263, 598}));
    EXPECT_EQ(newRow->align, TextAlign::Centre);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ConfigDialogModelTest, MissingBackgroundIsReportedAndTheWindowKeepsItsSize)
{
    canvas.sizes.erase("/Config/Config.png");
    Model();
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, "error", "Config Dialog Load background image failed!!!"}}));
    EXPECT_EQ(size, (Size{263, 598}));
    EXPECT_TRUE(Model().Press({245, 12}).close);
}

TEST_F(ConfigDialogModelTest, HoverSwapsTheClosePictureOnceEachWay)
{
    EXPECT_TRUE(Model().Hover(Point{245, 12}));
    EXPECT_FALSE(Model().Hover(Point{246, 13}));
    Model().Draw(canvas);
    EXPECT_EQ(canvas.ImagesAt("/button-close-over.png").size(), 1u);
    EXPECT_TRUE(Model().Hover(Point{100, 12}));
    EXPECT_FALSE(Model().Hover(std::nullopt));
    canvas.Clear();
    Model().Draw(canvas);
    EXPECT_EQ(canvas.ImagesAt("/button-close-normal.png").size(), 1u);
}

// ---- Presses ------------------------------------------------------------------------------------

struct PressCase
{
    const char* label;
    Point at;
    std::size_t names; // after the press
    bool close;
    bool move;
};

class ConfigDialogPressTest : public ConfigDialogModelTest, public ::testing::WithParamInterface<PressCase>
{
};

TEST_P(ConfigDialogPressTest, HitsTheAreasAtTheirEdges)
{
    const ConfigDialogOutcome outcome = Model().Press(GetParam().at);
    EXPECT_EQ(Model().Names().size(), GetParam().names);
    EXPECT_EQ(outcome.close, GetParam().close);
    EXPECT_EQ(outcome.startMove, GetParam().move);
}

INSTANTIATE_TEST_SUITE_P(Areas, ConfigDialogPressTest,
                         ::testing::Values(PressCase{"NewRowTopLeft", {0, 575}, 2, false, false},
                                           PressCase{"NewRowBottomRight", {262, 597}, 2, false, false},
                                           PressCase{"CloseTopLeft", {240, 8}, 1, true, false},
                                           PressCase{"CloseBottomRight", {254, 22}, 1, true, false},
                                           PressCase{"LeftOfClose", {239, 8}, 1, false, true},
                                           PressCase{"BelowClose", {254, 23}, 1, false, true},
                                           PressCase{"AboveNewRow", {100, 574}, 1, false, true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ConfigDialogModelTest, CloseStoresTheListAndTellsTheMainWindowOnce)
{
    Model().Press({10, 580});
    EXPECT_TRUE(Model().Press({245, 12}).close);
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(ListValue("ItemCount"), "2");
    EXPECT_EQ(ListValue("CurProfileName"), "PROFILE_1");
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_FALSE(Model().Close().close);
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
}

// ---- The list and its menu ------------------------------------------------------------------------

struct MenuTextsCase
{
    Language language;
    std::vector<std::string> texts;
};

class ConfigDialogMenuTest : public ConfigDialogModelTest, public ::testing::WithParamInterface<MenuTextsCase>
{
};

TEST_P(ConfigDialogMenuTest, EntriesInOrderInTheInterfaceLanguage)
{
    language = GetParam().language;
    std::vector<std::string> texts;
    std::vector<ProfileMenuCommand> commands;
    for (const auto& entry : Model().ListMenu()) {
        texts.emplace_back(entry.text);
        commands.push_back(entry.command);
    }
    EXPECT_EQ(texts, GetParam().texts);
    EXPECT_EQ(commands, (std::vector<ProfileMenuCommand>{ProfileMenuCommand::Delete, ProfileMenuCommand::Edit,
                                                         ProfileMenuCommand::Copy, ProfileMenuCommand::Load,
                                                         ProfileMenuCommand::Save}));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ConfigDialogMenuTest,
    ::testing::Values(MenuTextsCase{Language::English, {"Delete", "Edit", "Copy", "Load", "Save"}},
                      MenuTextsCase{Language::SimplifiedChinese, {"刪除", "Edit", "复制", "Load", "保存"}},
                      MenuTextsCase{Language::TraditionalChinese, {"刪除", "Edit", "複製", "Load", "保存"}}));

TEST_F(ConfigDialogModelTest, SimplifiedChineseNewRow)
{
    language = Language::SimplifiedChinese;
    Model().Draw(canvas);
    EXPECT_TRUE(canvas.FindText("新建"));
}

TEST_F(ConfigDialogModelTest, TheSecondGestureOnALineAsksForTheEditor)
{
    InstallThree();
    EXPECT_EQ(Model().SelectionChanged(2).editLine, std::nullopt);
    EXPECT_EQ(Model().DoubleClicked(2).editLine, 2u);
    Model().CommitRename(2, "Racing");
    EXPECT_EQ(Model().Names(), (Names{"A", "B", "Racing"}));
    EXPECT_EQ(Model().RunMenuCommand(ProfileMenuCommand::Edit).editLine, 2u);
}

TEST_F(ConfigDialogModelTest, MenuWithoutASelectionPostsNothing)
{
    InstallThree();
    StoreList({"A", "B", "C"}, "none of them");
    for (const auto command : {ProfileMenuCommand::Delete, ProfileMenuCommand::Edit, ProfileMenuCommand::Copy,
                               ProfileMenuCommand::Load, ProfileMenuCommand::Save}) {
        const ConfigDialogOutcome outcome = Model().RunMenuCommand(command);
        EXPECT_FALSE(outcome.post);
        EXPECT_FALSE(outcome.editLine);
    }
    EXPECT_EQ(Model().Names(), (Names{"A", "B", "C"}));
}

// ---- Import and export ------------------------------------------------------------------------------

TEST_F(ConfigDialogModelTest, LoadImportsIntoTheSelectedProfileThenTellsTheMainWindow)
{
    InstallThree();
    WriteFileBytes(dir / "mine.bin", ConfigFile::Encode(0, Patterned(40)));
    dialog.answer = dir / "mine.bin";
    Model().SelectionChanged(2);
    const ConfigDialogOutcome outcome = Model().RunMenuCommand(ProfileMenuCommand::Load);
    ASSERT_EQ(outcome.post, ProfileManagerNotice::Import);
    EXPECT_EQ(files.currentProfileIndex, 2);
    EXPECT_TRUE(dialog.asked.empty()); // only when the posted request runs
    Model().RunTransfer(*outcome.post);
    EXPECT_EQ(dialog.asked.size(), 1u);
    EXPECT_EQ(current, Patterned(40));
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Import}));
}

TEST_F(ConfigDialogModelTest, SaveExportsProposingTheSelectedName)
{
    InstallThree();
    Model().SelectionChanged(1);
    const ConfigDialogOutcome outcome = Model().RunMenuCommand(ProfileMenuCommand::Save);
    ASSERT_EQ(outcome.post, ProfileManagerNotice::Export);
    dialog.answer = dir / "B-export";
    Model().RunTransfer(*outcome.post);
    EXPECT_EQ(dialog.asked, (std::vector<std::string>{"save " + (dir / "B.bin").string()}));
    EXPECT_EQ(ConfigFile::Read(dir / "B-export.bin").contents.record, Patterned(1));
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Export}));
}

TEST_F(ConfigDialogModelTest, TransferPostedBeforeTheCloseDoesNotRun)
{
    InstallThree();
    Model().SelectionChanged(1);
    const ConfigDialogOutcome outcome = Model().RunMenuCommand(ProfileMenuCommand::Load);
    Model().Close();
    Model().RunTransfer(*outcome.post);
    EXPECT_TRUE(dialog.asked.empty());
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
}

// ---- The main window's side of message 0xB03 --------------------------------------------------------

class MainWindowProfileNoticeTest : public test::MainWindowFixture
{
};

TEST_F(MainWindowProfileNoticeTest, ImportRedrawsTheWholeWindowAndExportDoesNot)
{
    Model();
    view.Clear();
    Model().OnProfileManagerNotice(static_cast<int>(ProfileManagerNotice::Export));
    EXPECT_TRUE(view.redraws.empty());
    Model().OnProfileManagerNotice(static_cast<int>(ProfileManagerNotice::Import));
    EXPECT_EQ(view.redraws, (std::vector<std::optional<Rect>>{std::nullopt}));
}

} // namespace
} // namespace veldrane
