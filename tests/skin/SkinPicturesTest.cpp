// The default skin as the build lays it out beside the executables: every picture the windows
// name, at the size their hot areas and the press maths give, listed in the skin's manifest.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

namespace {

QString SkinFolder()
{
    const char* bin = std::getenv("VELDRANE_BIN_DIR");
    return QString::fromUtf8(bin ? bin : ".") + "/../share/veldrane/Skins/Default";
}

QSize PictureSize(const std::string& path)
{
    return QImage(SkinFolder() + QString::fromStdString(path)).size();
}

// Every picture the windows name and its size; a width or height of 0 is not fixed by a window.
std::map<std::string, QSize> ExpectedPictures()
{
    std::map<std::string, QSize> pictures;
    // A button is as large as its hot area, in a "-normal" and an "-over" picture.
    const auto button = [&](const std::string& base, int width, int height) {
        pictures[base + "-normal.png"] = pictures[base + "-over.png"] = {width, height};
    };
    // The title bar's buttons at 937, 958 and 979, 5 - 20; Config, Cancel and Save at 18 - 90, 860 - 917 and
    // 923 - 980, 604 - 634; a section's title at 734, 32 - 976, 52; the view button at 500, 527 - 562, 556; an
    // assignment box at 120, 154 - 250, 170; the macro manager's close area at 427, 17 - 478, 41.
    // clang-format off
    for (const auto& [base, width, height] : {std::tuple{"/button-help", 15, 15}, {"/button-min", 15, 15},
            {"/button-close", 15, 15}, {"/button-config", 72, 30}, {"/button-cancel", 57, 30}, {"/button-save", 57, 30},
            {"/Menu/Section", 242, 20}, {"/Menu/SectionOpen", 242, 20}, {"/Mouse/ViewButton", 62, 29},
            {"/ButtonAssignment/DropdownBox", 130, 16}, {"/MacroManagement/button-new", 58, 25},
            {"/MacroManagement/button-cancel", 54, 28}, {"/MacroManagement/Record", 89, 24},
            {"/macro-button-close", 51, 24}}) {
        button(base, width, height);
    }
    // clang-format on
    pictures["/Mouse/ViewButton-down.png"] = {62, 29}; // the view that shows
    pictures["/ButtonAssignment/DropdownBox-leave.png"] = {130, 16};
    // A control of a settings section is as large as its place and lights up under the pointer.
    const auto control = [&](const std::string& base, int width, int height) {
        pictures[base + ".png"] = pictures[base + "-over.png"] = {width, height};
    };
    // The stage boxes at 772 + 50 (k - 1), 251, and the scroll-speed box and arrows.
    // clang-format off
    for (const auto& [base, width, height] : {std::tuple{"/Enable", 10, 9}, {"/Disable", 10, 9},
            {"/MouseAttribute/ScrollSpeed/Enable", 12, 12}, {"/MouseAttribute/ScrollSpeed/Disable", 12, 12},
            {"/MouseAttribute/ScrollSpeed/Up", 10, 6}, {"/MouseAttribute/ScrollSpeed/Down", 10, 6}}) {
        control(base, width, height);
    }
    // clang-format on
    for (const char* rate : {"125", "250", "500", "1000"}) {
        control(std::string("/USBReportRate/") + rate + "HZ", 128, 128);
    }
    for (int n = 0; n <= 82; ++n) {
        control("/DPISetting/DPIStage/" + std::to_string(n), 7, 170); // tracks 7 wide, 58 to 228
    }
    for (int n = 1; n <= 12; ++n) {
        control("/MouseAttribute/Speed/" + std::to_string(n), 142, 83);
        if (n <= 11) {
            control("/StageSlider/" + std::to_string(n), 208, 9);
            pictures["/AngleSnap/" + std::to_string(n) + ".png"] = {207, 85};
        }
        if (n <= 6) {
            control("/Lighting/" + std::to_string(n), 128, 8);
        }
    }
    for (int n = 1; n <= 7; ++n) {
        pictures["/Mouse/Front/F-" + std::to_string(n) + "-over.png"] = PictureSize("/Mouse/Front/MouseFront.png");
        if (n <= 5) {
            pictures["/Mouse/Side/S-" + std::to_string(n) + "-over.png"] = PictureSize("/Mouse/Side/MouseSide.png");
        }
    }
    // A section's background is as wide as its row.
    for (const char* section :
         {"/ButtonAssignment/BK_ButtonAssignment.png", "/ButtonAssignment/BK_ButtonAssignment-Side.png",
          "/DPISetting/BK_DPISetting.png", "/USBReportRate/BK_USBReportRate.png", "/XYSensitivity/BK_XYSensSetting.png",
          "/AngleSnap/BK_AngleSnap.png", "/Lighting/BK_Lighting.png", "/MacroManagementBK.png",
          "/MouseAttribute/BK_MouseAttribute.png", "/MouseAttribute/BK_ScrollSpeed.png"}) {
        pictures[section] = {242, 0};
    }
    pictures["/ScrollThumb.png"] = {10, 0};
    // A window takes its background's size: each background reaches the far corner of every area its
    // window draws or hit-tests (noted after it).
    pictures["/main.png"] = {1000, 640};                                   // 994, 634
    pictures["/Help/HelpWindow.png"] = {166, 78};                          // 166, 77
    pictures["/Config/Config.png"] = {263, 598};                           // 263, 598
    pictures["/single-key.png"] = pictures["/combo-key.png"] = {384, 286}; // 372, 275
    pictures["/macro-key.png"] = {400, 286};                               // 390, 286
    pictures["/MacroManagement/MacroManagement.png"] = {500, 440};         // 478, 422
    pictures["/Config/New-Config.png"] = {263, 598 - 575};
    pictures["/Pane.png"] = pictures["/PaneMakingTick.png"] = {16, 16}; // 220, 78 - 236, 94
    pictures["/MacroManagement/Pane.png"] = pictures["/MacroManagement/PaneMakingTick.png"] = {14, 14};
    for (const char* free : {"/DPISetting/BK-DPIValue.png", "/MouseAttribute/ScrollSpeed/ScrollLines.png",
                             "/Mouse/Front/MouseFront.png", "/Mouse/Side/MouseSide.png"}) {
        pictures[free] = {0, 0};
    }
    return pictures;
}

TEST(DefaultSkin, HoldsExactlyTheNamedPicturesAtTheirSizesAndListsThemInItsManifest)
{
    // Each picture is drawn at scale 1 and at scale 2 ("NAME@2x.png", twice as wide and high); the
    // manifest lists the scale-1 pictures.
    std::map<std::string, QSize> onDisk;
    std::map<std::string, QSize> doubled;
    QDirIterator files(SkinFolder(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        std::string path = files.next().mid(SkinFolder().size()).toStdString();
        const QSize size = PictureSize(path);
        if (const std::size_t mark = path.rfind("@2x.png"); mark != std::string::npos && mark + 7 == path.size()) {
            doubled[path.erase(mark, 3)] = size / 2;
        } else {
            onDisk[path] = size;
        }
    }
    EXPECT_TRUE(doubled == onDisk);
    const std::map<std::string, QSize> expected = ExpectedPictures();
    for (const auto& [path, size] : expected) {
        const QSize real = onDisk.contains(path) ? onDisk[path] : QSize();
        EXPECT_TRUE(real.isValid()) << path << " is missing from " << SkinFolder().toStdString();
        EXPECT_TRUE(size.width() == 0 || real.width() == size.width()) << path;
        EXPECT_TRUE(size.height() == 0 || real.height() == size.height()) << path;
    }
    EXPECT_EQ(onDisk.size(), expected.size()) << "the skin holds pictures that no window names";

    QFile manifest(SkinFolder() + "/skin-manifest.txt");
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    std::map<std::string, QSize> listed;
    for (const QByteArray& line : manifest.readAll().split('\n')) {
        if (const QList<QByteArray> fields = line.split(' '); fields.size() == 3) {
            listed[fields[0].toStdString()] = QSize(fields[1].toInt(), fields[2].toInt());
        }
    }
    EXPECT_TRUE(listed == onDisk);
}

} // namespace
