#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <array>

#include "gui/GuiFixture.h"
#include "gui/skin/DrawSkinImage.h"
#include "gui/skin/FontBook.h"
#include "gui/skin/QtSkinCanvas.h"
#include "gui/skin/SkinImageCache.h"
#include "gui/skin/TextFitting.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

// A picture is premultiplied once when loaded and painted source-over: one pixel of each case,
// straight ARGB as the file holds it, over an opaque background.
TEST(DrawSkinImage, PaintsThePremultipliedPictureSourceOver)
{
    test::TestApplication();
    // The source, the background and the painted pixel; 200 * 200 / 255 is 156.
    for (const auto& [source, background, expected] : {std::array<QRgb, 3>{0x00ff0000, 0xffffffff, 0xffffffff},
                                                       {0x80ff0000, 0xff000000, 0xff800000},
                                                       {0xffff8040, 0xff00ff00, 0xffff8040},
                                                       {0xc8c80000, 0xff000000, 0xff9c0000}}) {
        QImage picture(1, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, source);
        QImage target(4, 4, QImage::Format_RGB32);
        target.fill(QColor::fromRgba(background));
        {
            QPainter painter(&target);
            DrawSkinImage(painter, SkinImageCache::Premultiplied(picture), {1, 1});
        }
        EXPECT_EQ(target.pixel(1, 1), expected) << std::hex << source;
        EXPECT_EQ(target.pixel(0, 0), background);
    }
}

TEST(FontBook, ChineseFacesMapToAnInstalledCjkFamilyThatHasTheGlyphs)
{
    test::TestApplication();
    const QString family = FontBook::InstalledFamily("宋体", Language::SimplifiedChinese);
    ASSERT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
    const FontBook simplified(Language::SimplifiedChinese);
    const QFont& title = simplified.FontFor(FontRole::Title);
    EXPECT_EQ(QFontInfo(title).family(), family);
    for (char32_t glyph : {U'按', U'钮', U'宏', U'鼠', U'滑'}) {
        EXPECT_TRUE(QFontMetrics(title).inFontUcs4(glyph)) << static_cast<unsigned>(glyph);
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
    EXPECT_TRUE(cut.elided && cut.text.endsWith(QChar(0x2026)));
    EXPECT_LE(QFontMetrics(cut.font).horizontalAdvance(cut.text), 60);
}

} // namespace
} // namespace veldrane
