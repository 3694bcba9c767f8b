// What every settings section shares: hovering, the texts of the three languages, presses only
// while open.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/SectionsFixture.h"
#include "app/sections/AngleSnapSection.h"
#include "app/sections/CpiSection.h"
#include "app/sections/LightingSection.h"
#include "app/sections/ReportRateSection.h"
#include "app/sections/ScrollSpeedSection.h"
#include "app/sections/SensitivitySection.h"
#include "app/sections/SideLightSection.h"
#include "app/sections/SpeedDialSection.h"
#include "profile/ConfigFiles.h"

namespace veldrane {
namespace {

class SectionHoverTest : public test::SectionsFixture
{
protected:
    SectionHoverTest()
    {
        images.sizes["/Enable-over.png"] = {10, 9};
        Current().cpiEnabled = {1, 0, 1, 1, 1, 1};
        ToggleRight(RightPanel::kCpiSetting);
        view.Clear();
    }

    bool PanelRedrawn()
    {
        const bool redrawn =
            std::find(view.redraws.begin(), view.redraws.end(), RightPanel::kViewport) != view.redraws.end();
        view.Clear();
        return redrawn;
    }
};

TEST_F(SectionHoverTest, AControlShowsItsOverPictureWhereTheSkinHasOne)
{
    Model().Move({775, 255}, false); // the switch of stage 1, enabled
    EXPECT_TRUE(PanelRedrawn());
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/Enable-over.png").at(0).at, (Point{772, 251}));
    for (const auto& image : drawn.ImagesAt("/Enable.png")) {
        EXPECT_NE(image.at, (Point{772, 251}));
    }
    Model().Move({776, 256}, false); // within the same switch: nothing to change
    EXPECT_FALSE(PanelRedrawn());
}

TEST_F(SectionHoverTest, LeavingTheControlGivesTheNormalPictureBack)
{
    Model().Move({775, 255}, false);
    ASSERT_TRUE(PanelRedrawn());
    Model().Move({825, 255}, false); // stage 2's switch shows "/Disable.png", which has no "-over"
    EXPECT_TRUE(PanelRedrawn());
    EXPECT_TRUE(Drawn().ImagesAt("/Enable-over.png").empty());
    Model().Move({825, 150}, false); // from one picture without "-over" to no control
    EXPECT_FALSE(PanelRedrawn());
    Model().Move({875, 255}, false);
    ASSERT_TRUE(PanelRedrawn());
    Model().Move({500, 300}, false); // out of the panel altogether
    EXPECT_TRUE(PanelRedrawn());
    EXPECT_TRUE(Drawn().ImagesAt("/Enable-over.png").empty());
}

TEST_F(SectionHoverTest, WithoutOverPicturesHoveringRedrawsNothing)
{
    images.sizes.erase("/Enable-over.png");
    for (Point p : {Point{775, 255}, Point{775, 100}, Point{825, 255}, Point{775, 270}, Point{500, 300}}) {
        Model().Move(p, false);
        EXPECT_FALSE(PanelRedrawn()) << p.x << "," << p.y;
    }
}

TEST_F(SectionHoverTest, ShuttingTheSectionEndsItsHover)
{
    Model().Move({775, 255}, false);
    ToggleRight(RightPanel::kCpiSetting);
    ToggleRight(RightPanel::kCpiSetting);
    EXPECT_TRUE(Drawn().ImagesAt("/Enable-over.png").empty());
}

class SectionsShutTest : public test::SectionsFixture
{
};

// Every press of every section, made while all of them are shut, changes nothing.
TEST_F(SectionsShutTest, NoSectionActsWhileShut)
{
    const auto before = records.Current;
    // The absolute places of the controls of each section as it opens alone, none of them on a
    // shut header.
    for (Point p : {Point{775, 230}, Point{772, 251}, Point{772, 265}, Point{825, 202}, Point{895, 212},
                    Point{760, 230}, Point{751, 299}, Point{850, 299}, Point{37, 225}, Point{100, 279}, Point{50, 234},
                    Point{150, 234}, Point{834, 250}}) {
        Model().Press(p);
    }
    EXPECT_EQ(records.Current, before);
    EXPECT_EQ(colours.runs, 0);
}

class SectionTextsTest : public testing::TestWithParam<Language>
{
protected:
    std::vector<std::string> DrawnTexts(PanelSection& section)
    {
        canvas.Clear();
        section.Draw(canvas, {0, 0});
        std::vector<std::string> texts;
        for (const auto& text : canvas.texts) {
            texts.push_back(text.text);
        }
        return texts;
    }

    const MainWindowTexts& texts = MainWindowTextsFor(GetParam());
    ProfileRecord record{};
    test::RecordingCanvas canvas;
    PointSettings point{24, 84, 97, 8};
    SettingsSectionContext context{record, texts, canvas, point, [] { return Colour{230, 230, 230, 255}; }};
    test::RecordingColourPicker colours;
    test::RecordingEditBox box;
};

bool Has(const std::vector<std::string>& texts, std::string_view text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_P(SectionTextsTest, TitlesAndCaptionsAreTheLanguages)
{
    CpiSection cpi(context, colours);
    ReportRateSection reportRate(context);
    AngleSnapSection angleSnap(context);
    EXPECT_EQ(cpi.Title(), texts.cpiSetting);
    EXPECT_EQ(reportRate.Title(), texts.usbReportRate);
    EXPECT_EQ(angleSnap.Title(), texts.angleSnap);

    LightingSection lighting(context);
    EXPECT_EQ(lighting.Title(), texts.lighting);
    const auto lightingTexts = DrawnTexts(lighting);
    for (std::string_view name : {texts.singleColor, texts.pulsating, texts.multiColor}) {
        EXPECT_TRUE(Has(lightingTexts, name)) << name;
    }
    for (const auto& labels : texts.lightLevelLabels) {
        for (std::string_view label : labels) {
            EXPECT_TRUE(Has(lightingTexts, label)) << label;
        }
    }

    SpeedDialSection mouseSpeed(context, texts.mouseSpeed, &ProfileRecord::mouseSpeed);
    SpeedDialSection doubleClick(context, texts.doubleClickSpeed, &ProfileRecord::doubleClickSpeed);
    EXPECT_EQ(mouseSpeed.Title(), texts.mouseSpeed);
    EXPECT_EQ(doubleClick.Title(), texts.doubleClickSpeed);
    EXPECT_EQ(DrawnTexts(doubleClick), (std::vector<std::string>{std::string(texts.slow), std::string(texts.fast)}));

    ScrollSpeedSection scroll(context, box, Rect{0, 0, 1000, 1000});
    EXPECT_EQ(scroll.Title(), texts.scrollSpeed);
    const auto scrollTexts = DrawnTexts(scroll);
    EXPECT_TRUE(Has(scrollTexts, texts.numberOfRows));
    EXPECT_TRUE(Has(scrollTexts, texts.scrollOneScreen));

    SensitivitySection sensitivity(context);
    EXPECT_EQ(sensitivity.Title(), texts.xySensitivitySetting);
    const auto sensitivityTexts = DrawnTexts(sensitivity);
    EXPECT_TRUE(Has(sensitivityTexts, texts.xAxis));
    EXPECT_TRUE(Has(sensitivityTexts, texts.yAxis));
    EXPECT_TRUE(Has(sensitivityTexts, "10"));

    SideLightSection sideLight(context);
    EXPECT_EQ(sideLight.Title(), texts.m1M5LightButton);
    EXPECT_EQ(DrawnTexts(sideLight), (std::vector<std::string>{std::string(texts.on), std::string(texts.off)}));
    for (const auto& text : canvas.texts) {
        EXPECT_EQ(text.colour, (Colour{230, 230, 230, 255}));
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, SectionTextsTest,
                         testing::Values(Language::English, Language::SimplifiedChinese, Language::TraditionalChinese));

} // namespace
} // namespace veldrane
