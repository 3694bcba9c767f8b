// The default skin as the windows load it: every picture they name, at the size their hot areas
// and the press maths give, with state pictures that show what a press at that spot selects.

#include <gtest/gtest.h>

#include <QColor>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QString>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace {

QString SkinFolder()
{
    const char* bin = std::getenv("VELDRANE_BIN_DIR");
    return QString::fromUtf8(bin ? bin : ".") + "/Skins/Default";
}

QImage Picture(const std::string& path)
{
    return QImage(SkinFolder() + QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
}

std::string Numbered(const std::string& pattern, int number)
{
    std::string path = pattern;
    path.replace(path.find("%d"), 2, std::to_string(number));
    return path;
}

std::vector<std::string> Family(const std::string& pattern, int first, int last)
{
    std::vector<std::string> paths;
    for (int number = first; number <= last; ++number) {
        paths.push_back(Numbered(pattern, number));
    }
    return paths;
}

bool IsLit(const QColor& colour)
{
    return colour.alpha() == 255 && colour.red() > 150 && colour.red() > colour.green() + 70;
}

double MeanLuma(const QImage& image)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            sum += (0.30 * c.red() + 0.59 * c.green() + 0.11 * c.blue()) * c.alphaF();
        }
    }
    return sum / (image.width() * image.height());
}

QImage AlphaOf(const QImage& image)
{
    return image.convertToFormat(QImage::Format_Alpha8);
}

bool FullyOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() != 255) {
                return false;
            }
        }
    }
    return true;
}

// A point at radius r and angle degrees (counter-clockwise from the right-hand horizontal, y down).
QColor AtPolar(const QImage& image, double cx, double cy, double r, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return image.pixelColor(static_cast<int>(std::floor(cx + r * std::cos(radians))),
                            static_cast<int>(std::floor(cy - r * std::sin(radians))));
}

struct ExpectedPicture
{
    std::string path;
    int width;
    int height; // 0 where the windows fix only the width
};

// Every picture the windows name, with the size their rectangles give: a button is as large as its
// hot area, a state picture as large as the control it is drawn over, a section as wide as a row.
std::vector<ExpectedPicture> ExpectedPictures()
{
    std::vector<ExpectedPicture> pictures = {
        {"/button-help-normal.png", 15, 15},
        {"/button-help-over.png", 15, 15}, // 937, 5 - 952, 20
        {"/button-min-normal.png", 15, 15},
        {"/button-min-over.png", 15, 15}, // 958, 5 - 973, 20
        {"/button-close-normal.png", 15, 15},
        {"/button-close-over.png", 15, 15}, // 979, 5 - 994, 20
        {"/button-config-normal.png", 72, 30},
        {"/button-config-over.png", 72, 30}, // 18, 604 - 90, 634
        {"/button-cancel-normal.png", 57, 30},
        {"/button-cancel-over.png", 57, 30}, // 860, 604 - 917, 634
        {"/button-save-normal.png", 57, 30},
        {"/button-save-over.png", 57, 30}, // 923, 604 - 980, 634
        {"/Menu/Section-normal.png", 242, 20},
        {"/Menu/Section-over.png", 242, 20}, // 734, 32 - 976, 52
        {"/Menu/SectionOpen-normal.png", 242, 20},
        {"/Menu/SectionOpen-over.png", 242, 20},
        {"/Mouse/ViewButton-normal.png", 62, 29},
        {"/Mouse/ViewButton-over.png", 62, 29}, // 500, 527 - 562, 556
        {"/ScrollThumb.png", 10, 0},
        {"/ButtonAssignment/BK_ButtonAssignment.png", 242, 0},
        {"/ButtonAssignment/BK_ButtonAssignment-Side.png", 242, 0},
        {"/ButtonAssignment/DropdownBox-normal.png", 130, 16}, // 120, 154 - 250, 170
        {"/ButtonAssignment/DropdownBox-over.png", 130, 16},
        {"/ButtonAssignment/DropdownBox-leave.png", 130, 16},
        {"/DPISetting/BK_DPISetting.png", 242, 0},
        {"/DPISetting/BK-DPIValue.png", 0, 0},
        {"/Enable.png", 10, 9},
        {"/Disable.png", 10, 9}, // 772 + 50 (k - 1), 251, 10 x 9
        {"/USBReportRate/BK_USBReportRate.png", 242, 0},
        {"/XYSensitivity/BK_XYSensSetting.png", 242, 0},
        {"/AngleSnap/BK_AngleSnap.png", 242, 0},
        {"/Lighting/BK_Lighting.png", 242, 0},
        {"/MacroManagementBK.png", 242, 0},
        {"/MouseAttribute/BK_MouseAttribute.png", 242, 0},
        {"/MouseAttribute/BK_ScrollSpeed.png", 242, 0},
        {"/MouseAttribute/ScrollSpeed/Enable.png", 12, 12},
        {"/MouseAttribute/ScrollSpeed/Disable.png", 12, 12},
        {"/MouseAttribute/ScrollSpeed/ScrollLines.png", 0, 0},
        {"/MouseAttribute/ScrollSpeed/Up.png", 10, 6},
        {"/MouseAttribute/ScrollSpeed/Down.png", 10, 6},
        {"/Help/HelpWindow.png", 166, 0},
        {"/Config/Config.png", 263, 0},
        {"/Config/New-Config.png", 263, 598 - 575},
        {"/single-key.png", 0, 0},
        {"/combo-key.png", 0, 0},
        {"/macro-key.png", 0, 0},
        {"/Pane.png", 16, 16},
        {"/PaneMakingTick.png", 16, 16}, // 220, 78 - 236, 94
        {"/MacroManagement/MacroManagement.png", 0, 0},
        {"/MacroManagement/button-new-normal.png", 58, 25},
        {"/MacroManagement/button-new-over.png", 58, 25},
        {"/MacroManagement/button-cancel-normal.png", 54, 28},
        {"/MacroManagement/button-cancel-over.png", 54, 28},
        {"/MacroManagement/Record-normal.png", 89, 24},
        {"/MacroManagement/Record-over.png", 89, 24},
        {"/MacroManagement/Pane.png", 14, 14},
        {"/MacroManagement/PaneMakingTick.png", 14, 14}, // 370, 144 - 384, 158
        {"/macro-button-close-normal.png", 51, 24},
        {"/macro-button-close-over.png", 51, 24}, // 427, 17 - 478, 41
        {"/main.png", 0, 0},
        {"/Mouse/Front/MouseFront.png", 0, 0},
        {"/Mouse/Side/MouseSide.png", 0, 0},
    };
    const auto add = [&pictures](const std::vector<std::string>& paths, int width, int height) {
        for (const std::string& path : paths) {
            pictures.push_back({path, width, height});
        }
    };
    add(Family("/DPISetting/DPIStage/%d.png", 0, 82), 7, 170); // tracks 7 wide, 58 to 228
    add({"/USBReportRate/125HZ.png", "/USBReportRate/250HZ.png", "/USBReportRate/500HZ.png",
         "/USBReportRate/1000HZ.png"},
        128, 128);
    add(Family("/StageSlider/%d.png", 1, 11), 208, 9);
    add(Family("/AngleSnap/%d.png", 1, 11), 207, 85);
    add(Family("/Lighting/%d.png", 1, 6), 128, 8);
    add(Family("/MouseAttribute/Speed/%d.png", 1, 12), 142, 83);
    const QSize front = Picture("/Mouse/Front/MouseFront.png").size();
    const QSize side = Picture("/Mouse/Side/MouseSide.png").size();
    add(Family("/Mouse/Front/F-%d-over.png", 1, 7), front.width(), front.height());
    add(Family("/Mouse/Side/S-%d-over.png", 1, 5), side.width(), side.height());
    return pictures;
}

class SkinPictureSize : public testing::TestWithParam<ExpectedPicture>
{
};

TEST_P(SkinPictureSize, ExistsAtTheSizeItsWindowGives)
{
    const ExpectedPicture& expected = GetParam();
    const QImage image = Picture(expected.path);
    ASSERT_FALSE(image.isNull()) << expected.path << " is missing from " << SkinFolder().toStdString();
    if (expected.width != 0) {
        EXPECT_EQ(image.width(), expected.width) << expected.path;
    }
    if (expected.height != 0) {
        EXPECT_EQ(image.height(), expected.height) << expected.path;
    }
}

std::string TestName(const testing::TestParamInfo<ExpectedPicture>& info)
{
    std::string name;
    for (const char c : info.param.path) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryNamedPicture, SkinPictureSize, testing::ValuesIn(ExpectedPictures()), TestName);

TEST(SkinFolder, HoldsExactlyTheNamedPicturesAndListsThemInItsManifest)
{
    std::set<std::string> expected;
    for (const ExpectedPicture& picture : ExpectedPictures()) {
        expected.insert(picture.path);
    }
    std::set<std::string> onDisk;
    QDirIterator files(SkinFolder(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        onDisk.insert(files.next().mid(SkinFolder().size()).toStdString());
    }
    EXPECT_EQ(onDisk, expected);

    QFile manifest(SkinFolder() + "/skin-manifest.txt");
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    std::set<std::string> listed;
    for (const QByteArray& line : manifest.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 3) {
            listed.insert(fields[0].toStdString());
            const QImage image = Picture(fields[0].toStdString());
            EXPECT_EQ(image.size(), QSize(fields[1].toInt(), fields[2].toInt())) << line.toStdString();
        }
    }
    EXPECT_EQ(listed, expected);
}

struct Background
{
    std::string path;
    std::vector<QRect> areas; // left, top, right, bottom of what the window draws or hit-tests
};

// A window takes its background's size, so the background must hold every area of the window.
class SkinBackground : public testing::TestWithParam<Background>
{
};

TEST_P(SkinBackground, HoldsEveryAreaOfItsWindow)
{
    const QImage image = Picture(GetParam().path);
    ASSERT_FALSE(image.isNull());
    for (const QRect& area : GetParam().areas) {
        EXPECT_LE(area.right(), image.width()) << GetParam().path;
        EXPECT_LE(area.bottom(), image.height()) << GetParam().path;
    }
}

QRect Area(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SkinBackground,
    testing::Values(
        Background{"/main.png",
                   {Area(937, 5, 952, 20), Area(979, 5, 994, 20), Area(798, 604, 855, 634), Area(923, 604, 980, 634),
                    Area(734, 182, 976, 202), Area(984, 32, 994, 596)}},
        Background{"/Help/HelpWindow.png", {Area(0, 50, 166, 77)}},
        Background{"/Config/Config.png", {Area(240, 8, 255, 23), Area(0, 575, 263, 598)}},
        Background{"/single-key.png", {Area(314, 250, 372, 275), Area(352, 6, 370, 24), Area(34, 103, 180, 123)}},
        Background{"/combo-key.png", {Area(314, 250, 372, 275), Area(352, 6, 370, 24), Area(50, 87, 132, 227)}},
        Background{"/macro-key.png", {Area(314, 250, 372, 275), Area(237, 170, 390, 202), Area(42, 146, 151, 286)}},
        Background{"/MacroManagement/MacroManagement.png", {Area(427, 17, 478, 41), Area(354, 394, 408, 422)}}));

TEST(SkinBackground, MainWindowIsOpaque)
{
    EXPECT_TRUE(FullyOpaque(Picture("/main.png")));
}

TEST(SkinBackground, HelpPanelIsLightForItsBlackText)
{
    EXPECT_GT(MeanLuma(Picture("/Help/HelpWindow.png")), 170.0);
}

std::vector<std::string> HoverPairs()
{
    return {"/button-help",
            "/button-min",
            "/button-close",
            "/button-config",
            "/button-cancel",
            "/button-save",
            "/Menu/Section",
            "/Menu/SectionOpen",
            "/Mouse/ViewButton",
            "/ButtonAssignment/DropdownBox",
            "/MacroManagement/button-new",
            "/MacroManagement/button-cancel",
            "/MacroManagement/Record",
            "/macro-button-close"};
}

class SkinHover : public testing::TestWithParam<std::string>
{
};

// The over picture replaces the normal one in place: clearly brighter, same outline, so that
// swapping them leaves nothing of the other behind.
TEST_P(SkinHover, OverIsBrighterThanNormalWithTheSameOutline)
{
    const QImage normal = Picture(GetParam() + "-normal.png");
    const QImage over = Picture(GetParam() + "-over.png");
    ASSERT_FALSE(normal.isNull());
    ASSERT_FALSE(over.isNull());
    EXPECT_NE(normal, over);
    EXPECT_GT(MeanLuma(over), MeanLuma(normal) + 6.0) << GetParam();
    EXPECT_EQ(AlphaOf(over), AlphaOf(normal)) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(EveryHoverPair, SkinHover, testing::ValuesIn(HoverPairs()));

struct StateFamily
{
    std::string name;
    std::vector<std::string> members;
    bool opaque;
};

class SkinStates : public testing::TestWithParam<StateFamily>
{
};

// A state picture is drawn over the previous state of the same control: each one is distinct and
// covers exactly the pixels of the others; strips and tracks cover their whole rectangle.
TEST_P(SkinStates, EachStateIsDistinctAndCoversTheSamePixels)
{
    const std::vector<std::string>& members = GetParam().members;
    const QImage first = Picture(members.front());
    ASSERT_FALSE(first.isNull());
    std::set<QByteArray> seen;
    for (const std::string& path : members) {
        const QImage image = Picture(path);
        ASSERT_FALSE(image.isNull()) << path;
        EXPECT_EQ(AlphaOf(image), AlphaOf(first)) << path;
        EXPECT_TRUE(
            seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())).second)
            << path << " looks like another state";
        if (GetParam().opaque) {
            EXPECT_TRUE(FullyOpaque(image)) << path;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, SkinStates,
    testing::Values(StateFamily{"CpiTracks", Family("/DPISetting/DPIStage/%d.png", 0, 82), true},
                    StateFamily{"StageSliders", Family("/StageSlider/%d.png", 1, 11), true},
                    StateFamily{"LightingSliders", Family("/Lighting/%d.png", 1, 6), true},
                    StateFamily{"AngleSnap", Family("/AngleSnap/%d.png", 1, 10), false},
                    StateFamily{"SpeedDials", Family("/MouseAttribute/Speed/%d.png", 1, 12), false},
                    StateFamily{"ReportRate",
                                {"/USBReportRate/125HZ.png", "/USBReportRate/250HZ.png", "/USBReportRate/500HZ.png",
                                 "/USBReportRate/1000HZ.png"},
                                false},
                    StateFamily{"Switches", {"/Enable.png", "/Disable.png"}, true},
                    StateFamily{"ScrollOptions",
                                {"/MouseAttribute/ScrollSpeed/Enable.png", "/MouseAttribute/ScrollSpeed/Disable.png"},
                                false},
                    StateFamily{"TickBoxes", {"/Pane.png", "/PaneMakingTick.png"}, false},
                    StateFamily{
                        "MacroTickBoxes", {"/MacroManagement/Pane.png", "/MacroManagement/PaneMakingTick.png"}, false}),
    [](const testing::TestParamInfo<StateFamily>& info) { return info.param.name; });

struct MouseView
{
    std::string name;
    std::string plain;
    std::string rowPattern;
    int rows;
};

class SkinMouse : public testing::TestWithParam<MouseView>
{
};

// The row pictures replace the plain view while a button's list is open: the light stays inside
// the shell, and each row lights a different, red part of it.
TEST_P(SkinMouse, EachRowLightsItsOwnButtonInsideTheShell)
{
    const QImage plain = Picture(GetParam().plain);
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(plain.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(plain.pixelColor(plain.width() - 1, 0).alpha(), 0);
    std::set<std::pair<int, int>> centres;
    for (int row = 1; row <= GetParam().rows; ++row) {
        const std::string path = Numbered(GetParam().rowPattern, row);
        const QImage lit = Picture(path);
        ASSERT_EQ(lit.size(), plain.size()) << path;
        long changed = 0;
        long redder = 0;
        long sumX = 0;
        long sumY = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QColor before = plain.pixelColor(x, y);
                const QColor after = lit.pixelColor(x, y);
                if (before.alpha() == 0) {
                    ASSERT_EQ(after.alpha(), 0) << path << " paints outside the shell at " << x << ", " << y;
                }
                if (before != after) {
                    ++changed;
                    sumX += x;
                    sumY += y;
                    redder += after.red() - after.green() > before.red() - before.green() ? 1 : 0;
                }
            }
        }
        ASSERT_GT(changed, 50) << path;
        EXPECT_GT(redder * 10, changed * 9) << path;
        EXPECT_TRUE(centres.insert({static_cast<int>(sumX / changed), static_cast<int>(sumY / changed)}).second)
            << path << " lights the same part as another row";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, SkinMouse,
    testing::Values(MouseView{"Front", "/Mouse/Front/MouseFront.png", "/Mouse/Front/F-%d-over.png", 7},
                    MouseView{"Side", "/Mouse/Side/MouseSide.png", "/Mouse/Side/S-%d-over.png", 5}),
    [](const testing::TestParamInfo<MouseView>& info) { return info.param.name; });

// Positions 1 and 11 both send 0x00: snapping is off at either end, and the picture says so.
TEST(SkinAngleSnap, BothEndsShowSnappingOff)
{
    const QImage first = Picture("/AngleSnap/1.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(Picture("/AngleSnap/11.png"), first);
}

// A press at track row 169 - v sets the value v, so the picture of value ÷ 2 = n is filled
// from the bottom up to row 169 - 2n and no further.
TEST(SkinCpiTrack, FillReachesTheRowOfItsValue)
{
    for (int n = 0; n <= 82; ++n) {
        const QImage track = Picture(Numbered("/DPISetting/DPIStage/%d.png", n));
        ASSERT_FALSE(track.isNull());
        const int top = 169 - 2 * n;
        EXPECT_TRUE(IsLit(track.pixelColor(3, 169))) << n;
        EXPECT_TRUE(IsLit(track.pixelColor(3, top))) << n;
        if (top > 0) {
            EXPECT_FALSE(IsLit(track.pixelColor(3, top - 1))) << n;
        }
    }
}

struct Quadrant
{
    int frequency;
    double degrees; // middle of the quadrant a press selects it in
};

class SkinReportRate : public testing::TestWithParam<Quadrant>
{
};

TEST_P(SkinReportRate, LightsOnlyTheQuadrantThatSelectsItsFrequency)
{
    const QImage dial = Picture("/USBReportRate/" + std::to_string(GetParam().frequency) + "HZ.png");
    ASSERT_FALSE(dial.isNull());
    EXPECT_EQ(dial.pixelColor(1, 1).alpha(), 0);
    for (const double degrees : {45.0, 135.0, 225.0, 315.0}) {
        // The ring that a press hits runs from 35 to 64 pixels around the centre (64, 64).
        const QColor ring = AtPolar(dial, 64, 64, 50, degrees);
        EXPECT_EQ(IsLit(ring), degrees == GetParam().degrees) << GetParam().frequency << " Hz at " << degrees;
    }
}

// Upper right 1000 Hz, upper left 125, lower left 250, lower right 500.
INSTANTIATE_TEST_SUITE_P(Frequencies, SkinReportRate,
                         testing::Values(Quadrant{1000, 45}, Quadrant{125, 135}, Quadrant{250, 225},
                                         Quadrant{500, 315}),
                         [](const testing::TestParamInfo<Quadrant>& info) {
                             return std::to_string(info.param.frequency) + "Hz";
                         });

struct KnobCase
{
    std::string path;
    int low; // the hot range of the position, in strip pixels
    int high;
    int tolerance; // an 8-pixel knob cannot sit inside a 4-pixel range at a strip's end
};

class SkinSliderKnob : public testing::TestWithParam<KnobCase>
{
};

TEST_P(SkinSliderKnob, SitsInTheHotRangeOfItsPosition)
{
    const QImage strip = Picture(GetParam().path);
    ASSERT_FALSE(strip.isNull());
    // The knob is the one light thing on the strip's upper rows, above the slot and its dots.
    double sum = 0;
    int count = 0;
    for (int x = 0; x < strip.width(); ++x) {
        if (strip.pixelColor(x, 1).lightness() > 90) {
            sum += x + 0.5;
            ++count;
        }
    }
    ASSERT_GT(count, 0) << GetParam().path;
    const double centre = sum / count;
    EXPECT_GE(centre, GetParam().low - GetParam().tolerance) << GetParam().path;
    EXPECT_LE(centre, GetParam().high + 1 + GetParam().tolerance) << GetParam().path;
}

std::vector<KnobCase> KnobCases()
{
    // Sensitivity and angle snap: 1 for pixels 0 to 8, then 21 pixels a step, 11 for 198 to 207.
    std::vector<KnobCase> cases = {{"/StageSlider/1.png", 0, 8, 0}, {"/StageSlider/11.png", 198, 207, 0}};
    for (int position = 2; position <= 10; ++position) {
        const int low = 9 + 21 * (position - 2);
        cases.push_back({Numbered("/StageSlider/%d.png", position), low, low + 20, 0});
    }
    // Lighting: 1 for pixels 0 to 3, then 30 pixels a step, 6 for 124 to 127.
    cases.push_back({"/Lighting/1.png", 0, 3, 1});
    cases.push_back({"/Lighting/6.png", 124, 127, 1});
    for (int level = 2; level <= 5; ++level) {
        const int low = 4 + 30 * (level - 2);
        cases.push_back({Numbered("/Lighting/%d.png", level), low, low + 29, 0});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryPosition, SkinSliderKnob, testing::ValuesIn(KnobCases()),
                         [](const testing::TestParamInfo<KnobCase>& info) {
                             std::string name;
                             for (const char c : info.param.path) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// A press at angle θ on the dial's ring (43 to 71 pixels around 71, 71) gives position
// 12 - θ ÷ 18, so the 18-degree segment s from the left end belongs to position s + 2. Each
// position lights the segments up to and including its own.
TEST(SkinSpeedDial, LightsTheSegmentsUpToItsPosition)
{
    for (int position = 1; position <= 12; ++position) {
        const QImage dial = Picture(Numbered("/MouseAttribute/Speed/%d.png", position));
        ASSERT_FALSE(dial.isNull());
        EXPECT_EQ(dial.pixelColor(0, 0).alpha(), 0) << position;
        for (int segment = 0; segment < 10; ++segment) {
            const double degrees = 180 - 18 * segment - 9;
            const bool expected = segment + 2 <= position;
            EXPECT_EQ(IsLit(AtPolar(dial, 71, 71, 57, degrees)), expected)
                << "position " << position << ", segment of position " << segment + 2;
        }
    }
}

} // namespace
