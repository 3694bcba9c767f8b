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

} // namespace
} // namespace veldrane
