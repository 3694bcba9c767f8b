// The default skin as the windows load it: every picture they name, at the size their hot areas
// and the press maths give.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QString>

#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

QString SkinFolder()
{
    const char* bin = std::getenv("VELDRANE_BIN_DIR");
    return QString::fromUtf8(bin ? bin : ".") + "/../share/veldrane/Skins/Default";
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
    // The controls of the settings sections light up under the pointer: a "-over" twin each.
    const auto isControl = [](const std::string& path) {
        for (std::string_view family : {"/DPISetting/DPIStage/", "/StageSlider/", "/MouseAttribute/Speed/"}) {
            if (path.starts_with(family)) {
                return true;
            }
        }
        for (std::string_view single :
             {"/Enable.png", "/Disable.png", "/USBReportRate/125HZ.png", "/USBReportRate/250HZ.png",
              "/USBReportRate/500HZ.png", "/USBReportRate/1000HZ.png", "/MouseAttribute/ScrollSpeed/Enable.png",
              "/MouseAttribute/ScrollSpeed/Disable.png", "/MouseAttribute/ScrollSpeed/Up.png",
              "/MouseAttribute/ScrollSpeed/Down.png"}) {
            if (path == single) {
                return true;
            }
        }
        return path.starts_with("/Lighting/") && path != "/Lighting/BK_Lighting.png";
    };
    const std::size_t named = pictures.size();
    for (std::size_t i = 0; i < named; ++i) {
        if (isControl(pictures[i].path)) {
            const std::string& path = pictures[i].path;
            pictures.push_back({path.substr(0, path.size() - 4) + "-over.png", pictures[i].width, pictures[i].height});
        }
    }
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

} // namespace
