#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QListWidget>
#include <QScrollBar>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "adapters/qt/QtKeyNameSource.h"
#include "core/buttons/KeyTables.h"
#include "core/buttons/RecordingAssignmentDialogs.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroItem.h"
#include "core/profile/ScriptedFileDialog.h"
#include "core/text/MacroManagerTexts.h"
#include "core/text/ProfileManagerTexts.h"
#include "gui/CConfigDialog.h"
#include "gui/GuiFixture.h"
#include "gui/buttons/AssignmentListsView.h"
#include "gui/buttons/CMacroDialog.h"
#include "gui/macro/CMacroProgramDialog.h"
#include "gui/skin/FittedItemDelegate.h"
#include "gui/skin/FontBook.h"
#include "gui/skin/TextFitting.h"
#include "screens/buttons/AssignmentMenuModel.h"
#include "screens/buttons/ComboKeyCaptureModel.h"
#include "screens/buttons/SingleKeyCaptureModel.h"
#include "screens/macro/MacroKeyBindingModel.h"
#include "screens/macro/MacroManagerLayout.h"
#include "screens/macro/MacroManagerModel.h"
#include "screens/profiles/ConfigDialogModel.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

constexpr Colour kTextColour{230, 230, 230, 255};

// Every text the windows draw, in each language, measured with the program's own fonts on this
// system and narrowed as the windows narrow it: none may be wider than its area. Texts that the
// windows end with "…" on purpose (the dropdown labels) are left out.
class TextFitTest : public test::GuiFixture, public ::testing::WithParamInterface<Language>
{
protected:
    // Measures what `canvas` recorded for one window and forgets it. The texts of an open section
    // (all but the headers' titles) that lie in the rows of `frame` also stay within its sides,
    // inside the frame its picture draws.
    void Measure(std::string_view window, test::RecordingCanvas& canvas, std::optional<Rect> frame = {})
    {
        constexpr int kFrameWidth = 4;
        for (const auto& text : canvas.texts) {
            if (text.align != TextAlign::CentreElided) {
                Check(window, text.text, fonts.FontFor(text.font), text.area.Width());
            }
            if (frame && text.font != FontRole::Title && text.area.top >= frame->top &&
                text.area.bottom <= frame->bottom &&
                (text.area.left < frame->left || text.area.right > frame->right - kFrameWidth)) {
                overflows.push_back(std::string(window) + ": \"" + text.text + "\" leaves its frame");
            }
        }
        canvas.Clear();
    }

    void Check(std::string_view window, std::string_view utf8, const QFont& font, int width)
    {
        const FittedText fitted = FitText(font, QString::fromUtf8(utf8), width, false);
        const int needed = QFontMetrics(fitted.font).horizontalAdvance(fitted.text);
        if (needed > width) {
            overflows.push_back(std::string(window) + ": \"" + std::string(utf8) + "\" needs " +
                                std::to_string(needed) + " of " + std::to_string(width));
        }
    }

    // Whether `text` laid out in `box` with `flags` stays inside it.
    void CheckBox(std::string_view window, const QString& text, const QFont& font, const QRect& box, int flags)
    {
        const QRect needed = QFontMetrics(font).boundingRect(box, flags, text);
        if (needed.height() > box.height() || needed.width() > box.width()) {
            overflows.push_back(std::string(window) + ": " + text.toStdString());
        }
    }
    // The width a list gives the text of its rows.
    static int RowTextWidth(const QListWidget& list)
    {
        return list.width() - list.verticalScrollBar()->sizeHint().width() - 2 * FittedItemDelegate::kTextIndent;
    }

    FontBook fonts{GetParam()};
    std::vector<std::string> overflows;
};

// The default skin as the build drew it; empty when it has not been drawn.
std::filesystem::path DefaultSkin()
{
    const char* bin = std::getenv("VELDRANE_BIN_DIR");
    const std::filesystem::path skin = std::filesystem::path(bin ? bin : ".") / "../share/veldrane/Skins/Default";
    return std::filesystem::exists(skin / "main.png") ? skin : std::filesystem::path();
}

TEST_P(TextFitTest, EveryTextOfEveryWindowFitsItsArea)
{
    const std::filesystem::path skin = DefaultSkin();
    if (skin.empty()) {
        GTEST_SKIP() << "the default skin has not been drawn beside VELDRANE_BIN_DIR";
    }
    std::filesystem::create_directories(skinDir);
    std::filesystem::copy(skin, skinDir, std::filesystem::copy_options::recursive);
    const Language language = GetParam();
    // A recording canvas that knows the sizes of the default skin's pictures.
    test::RecordingCanvas canvas;
    for (const auto& file : std::filesystem::recursive_directory_iterator(skinDir)) {
        const std::string path = "/" + file.path().lexically_relative(skinDir).generic_string();
        if (const auto size = cache.ImageSize(path)) {
            canvas.sizes[path] = *size;
        }
    }

    // The main window with each folding row open in turn, and its help panel.
    files.LoadLabels(language);
    AppContext context = ContextFor(language);
    CHidMouseDlg main(context, cache);
    MainWindowModel& model = main.Model();
    for (SectionStack* stack : {&model.Right().Stack(), &model.Left().Stack()}) {
        for (std::size_t row = 0; row < stack->RowCount(); ++row) {
            stack->ShutAll();
            stack->Toggle(row);
            model.Draw(canvas);
            const Rect content = stack->ContentArea(row);
            Measure("main window", canvas,
                    Rect{content.left, content.top, stack->HeaderArea(row).right, content.bottom});
        }
        stack->ShutAll();
    }
    model.HelpPanel().Open();
    model.HelpPanel().Draw(canvas, HelpPanelModel::kPanelOrigin);
    Measure("help panel", canvas);

    // The assignment lists: each button's list and every submenu.
    test::RecordingAssignmentDialogs dialogs;
    AssignmentMenuModel menus(records.Current, files.EditedLabels(), language, dialogs, messages);
    menus.ClickDropdown(0, AssignmentMenuModel::DropdownBox(1, {20, 130}));
    menus.ClickDropdown(1, AssignmentMenuModel::DropdownBox(2, {20, 130}));
    ASSERT_TRUE(menus.MainList());
    for (std::size_t entry = 0; entry < menus.MainList()->Count(); ++entry) {
        const Rect row = menus.MainList()->RowRect(entry);
        menus.HoverList({row.left + 2, row.top + 2});
        AssignmentListsView::DrawList(canvas, *menus.MainList());
        if (menus.Submenu()) {
            AssignmentListsView::DrawList(canvas, *menus.Submenu());
        }
        Measure("assignment lists", canvas);
    }

    // The profile manager with the longest names it makes.
    test::ScriptedFileDialog fileDialog;
    const ConfigDialogContext profileContext{files, records, codec, messages, fileDialog, language, kTextColour, {}};
    ConfigDialogModel profiles(profileContext);
    profiles.Open(canvas);
    profiles.Draw(canvas);
    Measure("profile manager", canvas);
    CConfigDialog profileWindow(profileContext, cache);
    const std::string copied = std::string(profiles.Texts().copyEntry) + " " + "PROFILE_5";
    Check("profile list", copied, profileWindow.List()->font(), RowTextWidth(*profileWindow.List()));
    // The profile manager's rows are those of the macro manager's lists, inside the picture's well.
    EXPECT_EQ(QFontInfo(profileWindow.List()->font()).pixelSize(), QFontInfo(fonts.ListFont()).pixelSize());
    EXPECT_TRUE(QRect(5, 36, 253, 539).contains(profileWindow.List()->geometry()));

    // The macro manager idle and recording, its event lines for every key, its recording hint.
    IniFile macroFile(dir.Path() / "record.ini", codec);
    MacroManagerState state{clock};
    const MacroManagerContext macroContext{macroFile, state, messages, language, kTextColour};
    MacroManagerModel macros(macroContext);
    macros.Open(canvas);
    macros.Draw(canvas);
    Measure("macro manager", canvas);
    const MacroManagerTexts& macroTexts = MacroManagerTextsFor(language);
    Check("macro manager", macroTexts.stopRecording, fonts.FontFor(FontRole::MacroManager), kMacroRecordArea.Width());
    const QtKeyNameSource keyNames;
    CMacroProgramDialog manager(macroContext, cache, keyNames);
    // The lists paint their rows through the fitting delegate, the event list with its markers.
    const auto* delegate = dynamic_cast<const FittedItemDelegate*>(manager.EventList()->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    for (const std::string_view key : KeyNames()) {
        for (const MacroItem& item : {MacroItem::Press(key), MacroItem::Release(key)}) {
            const QString shown = delegate->Shown(QString::fromStdString(item.Text()));
            Check("event list", shown.toStdString(), manager.EventList()->font(), RowTextWidth(*manager.EventList()));
        }
    }
    const QString hint = QString::fromUtf8(macroTexts.recordingWindowText);
    const Rect& area = kRecordingHintRect;
    CheckBox("recording hint", hint, manager.HintFont(hint), QRect(area.left, area.top, area.Width(), area.Height()),
             CMacroProgramDialog::kHintFlags);

    // The macro key dialog with its list open, and its three mode texts in their one size.
    test::WriteFileBytes(macroFile.Path(), "[Macro_10]\r\nItemCount=0\r\n[Macro_11]\r\nItemCount=0\r\n");
    CMacroDialog binding(cache, messages, macroFile, language);
    binding.Model().Press(MacroKeyBindingModel::kMacroBox.TopLeft());
    binding.Model().Draw(canvas);
    Measure("macro key dialog", canvas);
    const auto modeTexts = binding.ModeTexts();
    const QFont modeFont = binding.ModeFont();
    for (std::size_t mode = 0; mode < CMacroDialog::kModes; ++mode) {
        CheckBox("macro key dialog", modeTexts[mode], modeFont, CMacroDialog::ModeTextBox(mode),
                 CMacroDialog::kModeTextFlags);
    }

    // The capture dialogs with every key name they can show.
    SingleKeyCaptureModel single(language);
    ComboKeyCaptureModel combo(language);
    single.Open(canvas, messages);
    combo.Open(canvas, messages);
    for (const std::string_view key : KeyNames()) {
        single.OnKeyName(key);
        single.Draw(canvas);
        combo.OnKeyName(key);
        combo.Draw(canvas);
    }
    Measure("capture dialogs", canvas);

    EXPECT_EQ(overflows, std::vector<std::string>{});
}

using HighDensityTest = test::GuiFixture;

// Every picture of the default skin has its 2x picture, exactly twice as wide and as high.
TEST_F(HighDensityTest, EveryPictureOfTheDefaultSkinHasATwiceAsLarge2xPicture)
{
    const std::filesystem::path skin = DefaultSkin();
    if (skin.empty()) {
        GTEST_SKIP() << "the default skin has not been drawn beside VELDRANE_BIN_DIR";
    }
    std::size_t pictures = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(skin)) {
        const std::string name = file.path().filename().string();
        if (file.path().extension() != ".png" || name.ends_with("@2x.png")) {
            continue;
        }
        ++pictures;
        const std::string path = "/" + file.path().lexically_relative(skin).generic_string();
        const QSize single = QImageReader(QString::fromStdString(file.path().string())).size();
        const QSize doubled =
            QImageReader(QString::fromStdString((skin / SkinImageCache::DoubleScalePath(path).substr(1)).string()))
                .size();
        EXPECT_EQ(doubled, single * 2) << path;
    }
    EXPECT_GT(pictures, 100u);
}

// The main window painted for a screen of pixel ratio 2 takes every picture from its 2x file, so
// its rounded corners are drawn at that density: the window's corner is the 2x picture's, pixel
// for pixel, and not the scale-1 picture's pixels doubled.
TEST_F(HighDensityTest, TheMainWindowAtRatio2PaintsEveryPictureFromIts2xFile)
{
    const std::filesystem::path skin = DefaultSkin();
    if (skin.empty()) {
        GTEST_SKIP() << "the default skin has not been drawn beside VELDRANE_BIN_DIR";
    }
    std::filesystem::create_directories(skinDir);
    std::filesystem::copy(skin, skinDir, std::filesystem::copy_options::recursive);
    cache.SetDevicePixelRatio(2.0);
    files.LoadLabels(Language::English);
    AppContext context = ContextFor(Language::English);
    CHidMouseDlg main(context, cache);
    QImage shot(main.size() * 2, QImage::Format_ARGB32_Premultiplied);
    shot.setDevicePixelRatio(2.0);
    shot.fill(Qt::transparent);
    main.render(&shot);

    const std::vector<std::string> decoded = cache.DecodedFiles();
    EXPECT_GT(decoded.size(), 10u);
    for (const std::string& file : decoded) {
        EXPECT_TRUE(file.ends_with("@2x.png")) << file;
    }
    const QImage fine = SkinImageCache::Premultiplied(QImage(QString::fromStdString((skin / "main@2x.png").string())));
    const QImage coarse = QImage(QString::fromStdString((skin / "main.png").string()))
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(fine.size());
    constexpr int kCorner = 12;
    int differFromCoarse = 0;
    for (int y = 0; y < kCorner; ++y) {
        for (int x = 0; x < kCorner; ++x) {
            EXPECT_EQ(shot.pixel(x, y), fine.pixel(x, y)) << x << ',' << y;
            differFromCoarse += shot.pixel(x, y) != coarse.pixel(x, y);
        }
    }
    EXPECT_GT(differFromCoarse, 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFitTest,
                         ::testing::Values(Language::English, Language::SimplifiedChinese,
                                           Language::TraditionalChinese));

} // namespace
} // namespace veldrane
