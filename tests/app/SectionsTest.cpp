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

} // namespace
} // namespace veldrane
