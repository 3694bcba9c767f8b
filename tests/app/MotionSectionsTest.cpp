// "USB Report Rate", "X/Y Sensitivity Setting" and "Angle Snap".
#include <gtest/gtest.h>

#include <optional>

#include "app/SectionsFixture.h"

namespace veldrane {
namespace {

constexpr std::string_view kStateImages[] = {"/USBReportRate/125HZ.png", "/USBReportRate/250HZ.png",
                                             "/USBReportRate/500HZ.png", "/USBReportRate/1000HZ.png"};

// "USB Report Rate" open alone: its content starts at (734, 102) and the dial's square at
// (791, 108), so its centre is (855, 172).
class ReportRateSectionTest : public test::SectionsFixture
{
protected:
    static constexpr Point kCentre{855, 172};

    ReportRateSectionTest()
    {
        Current().reportRate = 1;
        ToggleRight(RightPanel::kUsbReportRate);
    }
};

struct DialCase
{
    const char* name;
    int dx;
    int dy;
    std::uint8_t rate; // 1, the rate before, when nothing happens
};

class ReportRateDialTest : public ReportRateSectionTest, public testing::WithParamInterface<DialCase>
{
};

TEST_P(ReportRateDialTest, PressOnTheRingSetsTheQuadrantsRate)
{
    Model().Press({kCentre.x + GetParam().dx, kCentre.y + GetParam().dy});
    EXPECT_EQ(Current().reportRate, GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(Points, ReportRateDialTest,
                         testing::Values(DialCase{"UpperLeft", -30, -30, 8}, DialCase{"LowerLeft", -30, 30, 4},
                                         DialCase{"LowerRight", 30, 30, 2}, DialCase{"Radius35", -21, 28, 4},
                                         DialCase{"Radius34", -16, 30, 1}, DialCase{"Radius65", -39, 52, 1},
                                         DialCase{"OnTheVerticalAxis", 0, 50, 1},
                                         DialCase{"OnTheHorizontalAxis", -50, 0, 1},
                                         DialCase{"TopRowOfTheSquare", -30, -64, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportRateSectionTest, ARateOutsideTheFourDrawsNoStateAndIsKept)
{
    for (std::uint8_t rate : {std::uint8_t{0}, std::uint8_t{3}, std::uint8_t{255}}) {
        Current().reportRate = rate;
        auto& drawn = Drawn();
        EXPECT_EQ(drawn.ImagesAt("/USBReportRate/BK_USBReportRate.png").size(), 1u);
        for (std::string_view picture : kStateImages) {
            EXPECT_TRUE(drawn.ImagesAt(picture).empty()) << picture;
        }
        Model().Press({kCentre.x, kCentre.y - 50}); // an axis: nothing
        EXPECT_EQ(Current().reportRate, rate);
    }
}

// "X/Y Sensitivity Setting" is row 3 of the left panel: open alone, its content starts at
// (20, 195) and the strips at 24 and 84 below that, from x 37.
class SensitivitySectionTest : public test::SectionsFixture
{
protected:
    SensitivitySectionTest()
    {
        Current().sensitivityX = 6;
        Current().sensitivityY = 6;
        ToggleLeft(LeftPanel::kXySensitivity);
    }
};

struct StripCase
{
    int offset;
    std::uint8_t position;
};

class SensitivityStripTest : public SensitivitySectionTest, public testing::WithParamInterface<StripCase>
{
};

TEST_P(SensitivityStripTest, EachStripSetsItsOwnAxis)
{
    Model().Press({37 + GetParam().offset, 219 + 4});
    EXPECT_EQ(Current().sensitivityX, GetParam().position);
    EXPECT_EQ(Current().sensitivityY, 6);
    Model().Press({37 + GetParam().offset, 279 + 8});
    EXPECT_EQ(Current().sensitivityY, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Edges, SensitivityStripTest,
                         testing::Values(StripCase{0, 1}, StripCase{8, 1}, StripCase{9, 2}, StripCase{197, 10},
                                         StripCase{198, 11}, StripCase{207, 11}));

TEST_F(SensitivitySectionTest, StripsSitWhereTheLabelFileSaysAndStayInside)
{
    files.point.sensitivityX_Y = 40;
    files.point.sensitivityY_Y = 1000; // nonsense from a file: the strip stays inside its section
    Model().Press({37 + 198, 235});
    EXPECT_EQ(Current().sensitivityX, 11);
    // The section is 118 high: the lowest the strip goes leaves room for its labels.
    Model().Press({37, 195 + 118 - 15 - 9});
    EXPECT_EQ(Current().sensitivityY, 1);
    files.point.sensitivityX_Y = -4;
    EXPECT_EQ(Drawn().ImagesAt("/StageSlider/11.png").at(0).at, (Point{37, 195 + 18}));
}

// "Angle Snap" open alone: content from (734, 202), its strip at 97 below that from x 751 and the
// illustration above it at (751, 210).
class AngleSnapSectionTest : public test::SectionsFixture
{
protected:
    AngleSnapSectionTest()
    {
        Current().angleSnap = 1;
        ToggleRight(RightPanel::kAngleSnap);
    }
};

TEST_F(AngleSnapSectionTest, APositionAboveElevenIsDrawnAsItIs)
{
    Current().angleSnap = 12;
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/StageSlider/12.png").size(), 1u);
    EXPECT_EQ(drawn.ImagesAt("/AngleSnap/12.png").size(), 1u);
    EXPECT_EQ(Current().angleSnap, 12);
}

} // namespace
} // namespace veldrane
