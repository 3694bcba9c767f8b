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
#include "gui/skin/TextFitting.h"
#include "support/TempDir.h"

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

// A text that even narrowed is too wide is cut with "…" only where its area allows it, and the
// window learns its whole text for the tooltip; the others are drawn whole.
TEST(QtSkinCanvas, OnlyElidableTextsAreCutAndTheirWholeTextIsKept)
{
    test::TestApplication();
    test::TempDir dir;
    SkinImageCache cache(dir.Path());
    FontBook fonts(Language::English);
    QImage target(200, 40, QImage::Format_RGB32);
    QPainter painter(&target);
    QtSkinCanvas canvas(painter, cache, fonts, target.rect());
    const std::string label = "Macro Key-A very long macro name";
    canvas.DrawText({0, 0, 60, 20}, label, FontRole::Text, {255, 255, 255}, TextAlign::Centre);
    canvas.DrawText({0, 20, 60, 40}, label, FontRole::Text, {255, 255, 255}, TextAlign::CentreElided);
    canvas.DrawText({0, 20, 200, 40}, "Click", FontRole::Text, {255, 255, 255}, TextAlign::CentreElided);
    ASSERT_EQ(canvas.Elided().size(), 1u);
    EXPECT_EQ(canvas.Elided()[0].area, QRect(0, 20, 60, 20));
    EXPECT_EQ(canvas.Elided()[0].text.toStdString(), label);

    const FittedText cut = FitText(fonts.FontFor(FontRole::Text), QString::fromStdString(label), 60, true);
    EXPECT_TRUE(cut.elided);
    EXPECT_TRUE(cut.text.endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(cut.font).horizontalAdvance(cut.text), 60);
}

} // namespace
} // namespace veldrane
