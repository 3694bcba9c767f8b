#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QListWidget>
#include <QPainter>
#include <QToolTip>

#include <array>
#include <cmath>

#include "gui/GuiFixture.h"
#include "gui/WindowPlacement.h"
#include "gui/skin/DrawSkinImage.h"
#include "gui/skin/FittedItemDelegate.h"
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
    EXPECT_EQ(canvas.Elided()[0].text.toStdString(), label); // how it is cut is the delegate's test
}

// A skin may carry "NAME@2x.png" beside "NAME.png". A screen above ratio 1 gets the 2x picture
// where there is one (between 1 and 2 too, scaled down), else the scale-1 one, as skins without
// 2x pictures always had it; ratio 1 never reads a 2x file. Sizes stay those of the scale-1 file.
TEST(SkinImageCache, PicksThePictureOfTheScreensScale)
{
    test::TestApplication();
    test::TempDir dir;
    test::WritePicture(dir.Path() / "both.png", QSize(3, 2), Qt::red);
    test::WritePicture(dir.Path() / "both@2x.png", QSize(6, 4), Qt::green);
    test::WritePicture(dir.Path() / "Sub" / "single.png", QSize(3, 2), Qt::blue);
    struct Case
    {
        const char* path;
        qreal screenRatio;
        QRgb colour;
        qreal pictureRatio;
    };
    for (const Case& c : {Case{"/both.png", 1.0, 0xffff0000, 1.0}, Case{"/both.png", 1.5, 0xff00ff00, 2.0},
                          Case{"/both.png", 2.0, 0xff00ff00, 2.0}, Case{"/both.png", 3.0, 0xff00ff00, 2.0},
                          Case{"/Sub/single.png", 2.0, 0xff0000ff, 1.0}}) {
        SkinImageCache cache(dir.Path());
        const QImage* picture = cache.Find(c.path, c.screenRatio);
        ASSERT_NE(picture, nullptr) << c.path << ' ' << c.screenRatio;
        EXPECT_EQ(picture->pixel(0, 0), c.colour) << c.path << ' ' << c.screenRatio;
        EXPECT_EQ(picture->devicePixelRatio(), c.pictureRatio) << c.path << ' ' << c.screenRatio;
        EXPECT_EQ(picture->deviceIndependentSize(), QSizeF(3, 2)) << c.path << ' ' << c.screenRatio;
        EXPECT_EQ(cache.ImageSize(c.path), (Size{3, 2})) << c.path << ' ' << c.screenRatio;
        EXPECT_EQ(cache.DecodedFiles().size(), 1u);
    }
    SkinImageCache cache(dir.Path());
    EXPECT_EQ(cache.Find("/missing.png", 2.0), nullptr);
    EXPECT_EQ(SkinImageCache::DoubleScalePath("/Lighting/3.png"), "/Lighting/3@2x.png");
}

// On a ratio-2 surface a 2x picture fills its own size in the painter's units with all its pixels,
// and a scale-1 picture the same area doubled.
TEST(DrawSkinImage, ATwiceAsLargePictureFillsItsAreaPixelForPixelAtRatio2)
{
    test::TestApplication();
    QImage fine(4, 4, QImage::Format_ARGB32);
    for (int i = 0; i < 16; ++i) {
        fine.setPixel(i % 4, i / 4, (i % 4 + i / 4) % 2 ? 0xffffffff : 0xff000000);
    }
    fine.setDevicePixelRatio(2.0);
    QImage target(8, 8, QImage::Format_RGB32);
    target.setDevicePixelRatio(2.0);
    target.fill(Qt::blue);
    {
        QPainter painter(&target);
        DrawSkinImage(painter, SkinImageCache::Premultiplied(fine), {1, 1});
    }
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(target.pixel(2 + i % 4, 2 + i / 4), fine.pixel(i % 4, i / 4)) << i;
    }
    EXPECT_EQ(target.pixel(1, 1), 0xff0000ffu);
    EXPECT_EQ(target.pixel(6, 6), 0xff0000ffu);
}

// A profile or macro name too long for its row even narrowed ends in "…" and shows whole as the
// row's tooltip; a name that fits has no tooltip.
TEST(FittedItemDelegate, ANameTooLongEndsInAnEllipsisAndShowsWholeAsTooltip)
{
    test::TestApplication();
    QListWidget list;
    list.setGeometry(0, 0, 90, 60);
    auto* delegate = new FittedItemDelegate(&list);
    list.setItemDelegate(delegate);
    const QString whole = QStringLiteral("A profile name far too long for its row");
    list.addItem(whole);
    list.addItem(QStringLiteral("Short"));
    list.show();
    QCoreApplication::processEvents();
    const int rowWidth = list.viewport()->width();
    const FittedText fitted = delegate->Fitted(whole, list.font(), rowWidth);
    EXPECT_TRUE(fitted.elided);
    EXPECT_TRUE(fitted.text.endsWith(QChar(0x2026))) << fitted.text.toStdString();
    EXPECT_LE(QFontMetrics(fitted.font).horizontalAdvance(fitted.text), rowWidth - 2 * FittedItemDelegate::kTextIndent);

    // The list lays the long row out wider than itself; its tooltip still knows it is cut.
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.widget = &list;
    for (const auto& [row, tip] : {std::pair{0, whole}, std::pair{1, QString()}}) {
        option.rect = list.visualItemRect(list.item(row));
        QHelpEvent event(QEvent::ToolTip, option.rect.center(), list.viewport()->mapToGlobal(option.rect.center()));
        const bool shown = delegate->helpEvent(&event, &list, option, list.model()->index(row, 0));
        EXPECT_EQ(shown, !tip.isEmpty()) << row;
        EXPECT_EQ(shown ? QToolTip::text() : QString(), tip) << row;
    }
}

// A window goes in the middle of the area no panel covers; one larger than that area starts at
// its top-left corner so its title bar stays on the screen.
TEST(PlaceWithin, CentresInTheAvailableAreaAndKeepsTheCornerOnIt)
{
    struct Case
    {
        QRect available;
        QSize window;
        QPoint expected;
    };
    for (const Case& c : {Case{QRect(0, 0, 1920, 1080), QSize(1000, 640), QPoint(460, 220)},
                          Case{QRect(1920, 0, 1280, 1024), QSize(1000, 640), QPoint(2060, 192)},
                          Case{QRect(0, 28, 640, 484), QSize(1000, 640), QPoint(0, 28)},
                          Case{QRect(64, 0, 960, 1080), QSize(1000, 640), QPoint(64, 220)}}) {
        EXPECT_EQ(PlaceWithin(c.available, c.window), c.expected) << c.available.x() << ',' << c.available.y();
    }
}

// A screen smaller than the window shrinks the window by the tighter side, never to a size that
// is a pixel too large for it; a screen large enough leaves it as it is.
TEST(FitScale, ShrinksByTheTighterSideRoundedDown)
{
    struct Case
    {
        QSize available;
        QSize window;
        qreal expected;
    };
    for (const Case& c : {Case{QSize(1920, 1080), QSize(1000, 640), 1.0}, Case{QSize(1000, 640), QSize(1000, 640), 1.0},
                          Case{QSize(640, 484), QSize(1000, 640), 0.64}, Case{QSize(1280, 480), QSize(1000, 640), 0.75},
                          Case{QSize(999, 700), QSize(1000, 640), 0.99}, Case{QSize(0, 0), QSize(1000, 640), 1.0}}) {
        const qreal fit = FitScale(c.available, c.window);
        EXPECT_DOUBLE_EQ(fit, c.expected) << c.available.width() << 'x' << c.available.height();
        EXPECT_LE(std::ceil(c.window.width() * fit), std::max(c.available.width(), c.window.width()));
    }
}

} // namespace
} // namespace veldrane
