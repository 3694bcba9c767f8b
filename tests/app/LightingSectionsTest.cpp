// "Lighting" and "M1-M5 Light Button ".
#include <gtest/gtest.h>

#include "app/SectionsFixture.h"

namespace veldrane {
namespace {

// "Lighting" open alone: content from (734, 77); the rows at 97, 126 and 155, each with its box
// at x 744 and its strip from 834 to 962.
class LightingSectionTest : public test::SectionsFixture
{
protected:
    static constexpr int kRowTops[3] = {97, 126, 155};

    LightingSectionTest()
    {
        Current().lightMode = 1;
        Current().lightLevel = {3, 3, 3};
        ToggleRight(RightPanel::kLighting);
    }
};

TEST_F(LightingSectionTest, TheBoxesSelectTheirMode)
{
    Model().Press({744, 126});
    EXPECT_EQ(Current().lightMode, 2);
    auto& drawn = Drawn();
    const auto selected = drawn.ImagesAt("/Enable.png");
    const auto others = drawn.ImagesAt("/Disable.png");
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].at, (Point{744, 126}));
    ASSERT_EQ(others.size(), 2u);
    EXPECT_EQ(others[0].at, (Point{744, 97}));
    EXPECT_EQ(others[1].at, (Point{744, 155}));
    Model().Press({753, 163}); // the last pixel of the third box
    EXPECT_EQ(Current().lightMode, 3);
    EXPECT_EQ(Current().lightLevel, (std::array<std::uint8_t, 3>{3, 3, 3}));
}

TEST_F(LightingSectionTest, StripEdgesToThePixel)
{
    const std::pair<int, std::uint8_t> cases[] = {{3, 1},   {4, 2},   {33, 2},  {34, 3},
                                                  {123, 5}, {124, 6}, {127, 6}, {0, 1}};
    for (const auto& [offset, level] : cases) {
        Model().Press({834 + offset, 97});
        EXPECT_EQ(Current().lightLevel[0], level) << offset;
    }
    Model().Press({834 + 128, 97});    // right of the strip
    Model().Press({834 + 50, 97 + 8}); // under it
    EXPECT_EQ(Current().lightLevel[0], 1);
}

TEST_F(LightingSectionTest, AModeOutsideOneToThreeShowsNoBox)
{
    for (std::uint8_t mode : {std::uint8_t{0}, std::uint8_t{4}}) {
        Current().lightMode = mode;
        auto& drawn = Drawn();
        EXPECT_TRUE(drawn.ImagesAt("/Enable.png").empty());
        EXPECT_TRUE(drawn.ImagesAt("/Disable.png").empty());
        EXPECT_EQ(Current().lightMode, mode);
    }
}

// "M1-M5 Light Button " is row 4 of the left panel: open alone, its content starts at (20, 220);
// the "ON" box is at (50, 234) and the "OFF" box at (150, 234).
class SideLightSectionTest : public test::SectionsFixture
{
protected:
    SideLightSectionTest()
    {
        Current().sideButtonLight = 1;
        ToggleLeft(LeftPanel::kLightButton);
    }
};

TEST_F(SideLightSectionTest, OnAndOffSetTheLight)
{
    ASSERT_EQ(LeftOrigin(LeftPanel::kLightButton), (Point{20, 220}));
    Model().Press({150, 234});
    EXPECT_EQ(Current().sideButtonLight, 0);
    EXPECT_EQ(Drawn().ImagesAt("/Enable.png").at(0).at, (Point{150, 234}));
    Model().Press({59, 242});
    EXPECT_EQ(Current().sideButtonLight, 1);
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/Enable.png").at(0).at, (Point{50, 234}));
    EXPECT_EQ(drawn.ImagesAt("/Disable.png").at(0).at, (Point{150, 234}));
    EXPECT_EQ(drawn.FindText("ON")->area, (Rect{64, 230, 144, 247}));
    EXPECT_EQ(drawn.FindText("OFF")->area, (Rect{164, 230, 244, 247}));
}

TEST_F(SideLightSectionTest, ALightOfTwoShowsAsOffAndIsKept)
{
    Current().sideButtonLight = 2;
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/Enable.png").at(0).at, (Point{150, 234}));
    EXPECT_EQ(drawn.ImagesAt("/Disable.png").at(0).at, (Point{50, 234}));
    Model().Press({30, 238}); // left of the "ON" box
    EXPECT_EQ(Current().sideButtonLight, 2);
}

} // namespace
} // namespace veldrane
