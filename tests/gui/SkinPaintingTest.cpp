#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "gui/GuiFixture.h"
#include "gui/skin/CGdipButton.h"
#include "gui/skin/DrawSkinImage.h"
#include "gui/skin/FontBook.h"
#include "gui/skin/QtSkinCanvas.h"
#include "gui/skin/SkinImageCache.h"

namespace veldrane {
namespace {

QImage OnePixel(QRgb argb)
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, argb);
    return image;
}

QImage Target(QColor colour)
{
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(colour);
    return target;
}

struct AlphaCase
{
    const char* name;
    QRgb source;     // straight ARGB as the file holds it
    QRgb background; // opaque target
    QRgb expected;   // the painted pixel
};

class AlphaRuleTest : public ::testing::TestWithParam<AlphaCase>
{
protected:
    AlphaRuleTest() { test::TestApplication(); }
};

TEST_P(AlphaRuleTest, PaintsThePremultipliedPictureSourceOver)
{
    QImage target = Target(QColor::fromRgba(GetParam().background));
    {
        QPainter painter(&target);
        DrawSkinImage(painter, SkinImageCache::Premultiplied(OnePixel(GetParam().source)), {1, 1});
    }
    EXPECT_EQ(target.pixel(1, 1), GetParam().expected);
    EXPECT_EQ(target.pixel(0, 0), GetParam().background | 0xff000000u);
}

INSTANTIATE_TEST_SUITE_P(Pixels, AlphaRuleTest,
                         ::testing::Values(AlphaCase{"TransparentPaintsNothing", 0x00ff0000, 0xffffffff, 0xffffffff},
                                           AlphaCase{"HalfRedOverBlackIs128", 0x80ff0000, 0xff000000, 0xff800000},
                                           AlphaCase{"OpaqueIsACopy", 0xffff8040, 0xff00ff00, 0xffff8040},
                                           AlphaCase{"IntegerDivision", 0xc8c80000, 0xff000000,
                                                     0xff9c0000}), // 200 * 200 / 255 = 156
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SkinImageCache, PremultipliesWithIntegerDivision)
{
    test::TestApplication();
    const QImage prepared = SkinImageCache::Premultiplied(OnePixel(qRgba(255, 200, 1, 128)));
    EXPECT_EQ(prepared.format(), QImage::Format_ARGB32_Premultiplied);
    // QImage::pixel would un-premultiply; the stored bits are what painting uses
    const QRgb raw = reinterpret_cast<const QRgb*>(prepared.constScanLine(0))[0];
    EXPECT_EQ(qRed(raw), 128);
    EXPECT_EQ(qGreen(raw), 100); // 200 * 128 / 255 = 100.39
    EXPECT_EQ(qBlue(raw), 0);    // 1 * 128 / 255 = 0.5
    EXPECT_EQ(qAlpha(raw), 128);
}

TEST(SkinImageCache, AMissingPictureIsNullAndDrawsNothing)
{
    test::TestApplication();
    test::TempDir dir;
    SkinImageCache cache(dir.Path());
    EXPECT_EQ(cache.Find("/nothing.png"), nullptr);
    EXPECT_EQ(cache.ImageSize("/nothing.png"), std::nullopt);
    test::WriteFileBytes(dir / "broken.png", "not a picture");
    EXPECT_EQ(cache.ImageSize("/broken.png"), std::nullopt);
    EXPECT_EQ(cache.Find("/broken.png"), nullptr);

    QImage target = Target(Qt::white);
    QPainter painter(&target);
    EXPECT_FALSE(DrawSkinImage(painter, cache, "/nothing.png", {0, 0}));
    painter.end();
    EXPECT_EQ(target.pixel(0, 0), 0xffffffffu);
}

TEST(SkinImageCache, LoadsEachPictureOnce)
{
    test::TestApplication();
    test::TempDir dir;
    test::WritePicture(dir / "a.png", {3, 2}, Qt::red);
    SkinImageCache cache(dir.Path());
    EXPECT_EQ(cache.ImageSize("/a.png"), (Size{3, 2})); // from the header, before any paint
    const QImage* first = cache.Find("/a.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.ImageSize("/a.png"), (Size{3, 2}));
    std::filesystem::remove(dir / "a.png");
    EXPECT_EQ(cache.Find("/a.png"), first);
}

TEST(QtSkinCanvas, ClipsTheModelsClipToTheRepaintedArea)
{
    test::TestApplication();
    test::TempDir dir;
    test::WritePicture(dir / "red.png", {10, 10}, Qt::red);
    SkinImageCache cache(dir.Path());
    FontBook fonts(Language::English);
    QImage target = Target(Qt::black).scaled(20, 20);
    {
        QPainter painter(&target);
        QtSkinCanvas canvas(painter, cache, fonts, QRect(0, 0, 20, 20));
        canvas.SetClip(Rect{5, 5, 20, 20});
        EXPECT_TRUE(canvas.DrawImage("/red.png", {0, 0}));
        canvas.SetClip(std::nullopt);
        canvas.FillRect(Rect{15, 15, 20, 20}, Colour{0, 0, 255, 255});
    }
    EXPECT_EQ(target.pixel(4, 4), 0xff000000u);
    EXPECT_EQ(target.pixel(5, 5), 0xffff0000u);
    EXPECT_EQ(target.pixel(9, 9), 0xffff0000u);
    EXPECT_EQ(target.pixel(10, 10), 0xff000000u);
    EXPECT_EQ(target.pixel(16, 16), 0xff0000ffu);
}

TEST(FontBook, TakesPixelSizesAndWeightsOfTheLanguage)
{
    test::TestApplication();
    FontBook english(Language::English);
    EXPECT_EQ(english.FontFor(FontRole::Text).pixelSize(), 15);
    EXPECT_EQ(english.FontFor(FontRole::Text).weight(), QFont::Light);
    EXPECT_EQ(english.FontFor(FontRole::Title).pixelSize(), 18);
    EXPECT_EQ(english.FontFor(FontRole::Title).weight(), QFont::Bold);
    EXPECT_EQ(english.FontFor(FontRole::Small).pixelSize(), 13);
    EXPECT_EQ(english.FontFor(FontRole::Small).weight(), QFont::Normal);
    EXPECT_EQ(english.FontFor(FontRole::SingleDialog).pixelSize(), 15);
    EXPECT_EQ(english.FontFor(FontRole::MacroManager).pixelSize(), 15); // "Segoe UI", 15, bold
    EXPECT_EQ(english.FontFor(FontRole::MacroManager).weight(), QFont::Bold);
    FontBook traditional(Language::TraditionalChinese);
    EXPECT_EQ(traditional.FontFor(FontRole::Text).pixelSize(), 14);
}

TEST(FontBook, ChineseFacesMapToAnInstalledCjkFamilyThatHasTheGlyphs)
{
    test::TestApplication();
    const QString family = FontBook::InstalledFamily("宋体", Language::SimplifiedChinese);
    ASSERT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
    FontBook simplified(Language::SimplifiedChinese);
    const QFont& title = simplified.FontFor(FontRole::Title);
    EXPECT_EQ(QFontInfo(title).family(), family);
    const QFontMetrics metrics(title);
    for (char32_t glyph : {U'按', U'钮', U'宏', U'鼠', U'滑'}) {
        EXPECT_TRUE(metrics.inFontUcs4(glyph)) << static_cast<unsigned>(glyph);
    }
    // Latin faces that are not installed become the one with Arial's metrics, which the setup
    // installs, or else the desktop's sans-serif.
    if (!QFontDatabase::families().contains("Segoe UI")) {
        const QString expected = QFontDatabase::families().contains("Liberation Sans")
                                     ? QStringLiteral("Liberation Sans")
                                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        EXPECT_EQ(FontBook::InstalledFamily("Segoe UI", Language::English), expected);
    }
}

TEST(CGdipButton, HotAndGreyedRenderingsFollowTheColourMatrices)
{
    test::TestApplication();
    const QImage picture = SkinImageCache::Premultiplied(OnePixel(qRgba(100, 200, 250, 255)));
    const QRgb hot = CGdipButton::HotRendering(picture).pixel(0, 0);
    EXPECT_EQ(qRed(hot), 118);   // 100 * 1.05 + 12.75
    EXPECT_EQ(qGreen(hot), 223); // 200 * 1.05 + 12.75
    EXPECT_EQ(qBlue(hot), 255);  // capped
    const QRgb grey = CGdipButton::GreyedRendering(picture).pixel(0, 0);
    EXPECT_EQ(qRed(grey), 176); // 30 + 118 + 27.5, rounded
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qAlpha(grey), 255);
}

} // namespace
} // namespace veldrane
