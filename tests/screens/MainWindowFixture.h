#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/FactoryFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/text/MainWindowTexts.h"
#include "screens/AppFakes.h"
#include "screens/main/AppContext.h"
#include "screens/main/MainWindowModel.h"
#include "support/FakeClock.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

namespace veldrane::test {

// A main window over a fresh installation in a temporary directory: the factory files, the
// current profile loaded and taken as the backup, every picture of the window present.
class MainWindowFixture : public ::testing::Test
{
protected:
    MainWindowFixture()
    {
        // The factory files are written once and copied for each test: writing them key by key is slow.
        static const TempDir installed;
        static const std::string failure = WriteFactoryFiles(installed.Path(), IconvTextCodec());
        EXPECT_EQ(failure, "");
        std::filesystem::copy(installed.Path(), dir.Path(), std::filesystem::copy_options::recursive);
        EXPECT_TRUE(files.LoadConfig(records.Current).Done());
        files.LoadLabels(language);
        records.Snapshot();
        images.sizes = {{"/main.png", {1000, 640}},
                        {"/Help/HelpWindow.png", {166, 78}},
                        {"/ScrollThumb.png", {10, 60}},
                        {"/DPISetting/BK_DPISetting.png", {242, 232}},
                        {"/Lighting/BK_Lighting.png", {242, 110}},
                        {"/USBReportRate/BK_USBReportRate.png", {242, 140}},
                        {"/MouseAttribute/BK_MouseAttribute.png", {242, 110}},
                        {"/MouseAttribute/BK_ScrollSpeed.png", {242, 80}},
                        {"/AngleSnap/BK_AngleSnap.png", {242, 130}},
                        {"/ButtonAssignment/BK_ButtonAssignment-Side.png", {242, 130}},
                        {"/XYSensitivity/BK_XYSensSetting.png", {242, 118}},
                        {"/MacroManagementBK.png", {242, 40}}};
    }

    // The "Point" positions of the loaded profile's label file, read again as a load reads them.
    void UsePoint(const PointSettings& point)
    {
        IniBatch batch;
        batch.WriteString(kPointSection, kSensitivityXKey, std::to_string(point.sensitivityX_Y));
        batch.WriteString(kPointSection, kSensitivityYKey, std::to_string(point.sensitivityY_Y));
        batch.WriteString(kPointSection, kSensitivityKey, std::to_string(point.sensitivity_Y));
        batch.WriteString(kPointSection, kMouseSpeedKey, std::to_string(point.mouseSpeed_Y));
        EXPECT_EQ(IniFile(files.LabelPath(), codec).Apply(batch), IniWriteResult::Written);
        files.LoadLabels(language);
    }

    MainWindowModel& Model()
    {
        if (!model) {
            model = std::make_unique<MainWindowModel>(context, view);
        }
        return *model;
    }

    TempDir dir;
    IconvTextCodec codec;
    RecordingMessageSink messages;
    Language language = Language::English;
    ConfigFiles files{dir.Path(), codec};
    ProfileRecords records;
    FakeMouse mouse;
    FakeClock clock;
    RecordingShell shell;
    RecordingCanvas images;
    RecordingPointerSettings pointerSettings;
    RecordingNotices notices;
    RecordingView view;
    // The fixture's context with `connection` as the mouse.
    AppContext ContextWith(MouseConnection& connection)
    {
        const MainWindowTexts& texts = MainWindowTextsFor(language);
        const std::filesystem::path skin = dir.Path() / "Skins" / "Default";
        return {records, files,           connection, messages, clock, shell,
                images,  pointerSettings, notices,    language, texts, skin};
    }
    AppContext context = ContextWith(mouse);
    std::unique_ptr<MainWindowModel> model;
};

} // namespace veldrane::test
