#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>

#include <algorithm>
#include <cctype>
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
#include "core/text/WindowStateTexts.h"
#include "gui/CConfigDialog.h"
#include "gui/GuiFixture.h"
#include "gui/buttons/AssignmentListsView.h"
#include "gui/buttons/CMacroDialog.h"
#include "gui/macro/CMacroProgramDialog.h"
#include "gui/skin/FittedItemDelegate.h"
#include "gui/skin/FontBook.h"
#include "gui/skin/QtTextMeasure.h"
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

// A main window's fixture over the default skin as the build drew it (beside VELDRANE_BIN_DIR),
// with the English labels; the test is skipped when the skin has not been drawn.
class DefaultSkinTest : public test::GuiFixture
{
protected:
    void SetUp() override
    {
        const char* bin = std::getenv("VELDRANE_BIN_DIR");
        const std::filesystem::path skin = std::filesystem::path(bin ? bin : ".") / "../share/veldrane/Skins/Default";
        if (!std::filesystem::exists(skin / "main.png")) {
            GTEST_SKIP() << "the default skin has not been drawn beside VELDRANE_BIN_DIR";
        }
        std::filesystem::create_directories(skinDir);
        std::filesystem::copy(skin, skinDir, std::filesystem::copy_options::recursive);
        files.LoadLabels(Language::English);
    }
    // Gives `canvas` the sizes of the skin's pictures, those of the 2x pictures after them.
    void TakeSizes(test::RecordingCanvas& canvas)
    {
        for (const auto& file : std::filesystem::recursive_directory_iterator(skinDir)) {
            const std::string path = "/" + file.path().lexically_relative(skinDir).generic_string();
            if (const auto size = cache.ImageSize(path)) {
                canvas.sizes[path] = *size;
            }
        }
    }
};

// Every text the windows draw, in each language, measured with the program's own fonts on this
// system and narrowed as the windows narrow it: none may be wider than its area. Texts that the
// windows end with "…" on purpose (the dropdown labels) are left out.
class TextFitTest : public DefaultSkinTest, public ::testing::WithParamInterface<Language>
{
protected:
    // Measures what `canvas` recorded for one window and forgets it. The texts of an open section
    // (all but the headers' titles) that lie in the rows of `frame` also stay within its sides,
    // inside the frame its picture draws.
    void Measure(std::string_view window, test::RecordingCanvas& canvas, std::optional<Rect> frame = {})
    {
        constexpr int kFrameWidth = 4;
        for (const auto& text : canvas.texts) {
            if (text.align != TextAlign::CentreElided && text.align != TextAlign::LeftElided) {
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

TEST_P(TextFitTest, EveryTextOfEveryWindowFitsItsArea)
{
    const Language language = GetParam();
    test::RecordingCanvas canvas;

    // The main window with each folding row open in turn, on the pictures of either density, and
    // its help panel; the desktop lacks every pointer setting, so the sections that set one show
    // their note inside their frame.
    pointerSettings.lacking = {PointerSetting::Acceleration, PointerSetting::Speed, PointerSetting::WheelScrollLines,
                               PointerSetting::DoubleClickTime};
    const std::string_view note = WindowStateTextsFor(language).pointerSettingNotTaken;
    files.LoadLabels(language);
    AppContext context = ContextFor(language);
    for (const qreal ratio : {2.0, 1.0}) {
        cache.SetDevicePixelRatio(ratio);
        TakeSizes(canvas);
        CHidMouseDlg main(context, cache);
        MainWindowModel& model = main.Model();
        int notes = 0;
        for (SectionStack* stack : {&model.Right().Stack(), &model.Left().Stack()}) {
            for (std::size_t row = 0; row < stack->RowCount(); ++row) {
                stack->ShutAll();
                stack->Toggle(row);
                model.Draw(canvas);
                const Rect content = stack->ContentArea(row);
                constexpr int kFrameBottom = 4;
                if (const auto shown = canvas.FindText(note)) {
                    ++notes;
                    EXPECT_LE(shown->area.bottom, content.bottom - kFrameBottom) << stack->Title(row);
                    EXPECT_GE(shown->area.top, content.top) << stack->Title(row);
                }
                Measure("main window", canvas,
                        Rect{content.left, content.top, stack->HeaderArea(row).right, content.bottom});
            }
            stack->ShutAll();
        }
        EXPECT_EQ(notes, 3) << ratio; // "Mouse Speed", "Double Click Speed", "Scroll Speed"
    }
    CHidMouseDlg main(context, cache);
    MainWindowModel& model = main.Model();
    model.HelpPanel().Open();
    model.HelpPanel().Draw(canvas, HelpPanelModel::kPanelOrigin);
    Measure("help panel", canvas);

    // The assignment lists: each button's list and every submenu, laid out in the window's fonts
    // as the window lays them out, none cut.
    test::RecordingAssignmentDialogs dialogs;
    AssignmentMenuModel menus(records.Current, files.EditedLabels(), language, dialogs, messages);
    const QtTextMeasure measure(fonts);
    menus.SetLayout(&measure, {0, 0, 1000, 640});
    menus.ClickDropdown(0, AssignmentMenuModel::DropdownBox(1, {20, 130}));
    menus.ClickDropdown(1, AssignmentMenuModel::DropdownBox(2, {20, 130}));
    ASSERT_TRUE(menus.MainList());
    for (std::size_t entry = 0; entry < menus.MainList()->Count(); ++entry) {
        const Rect row = menus.MainList()->RowRect(entry);
        menus.HoverList({row.left + 2, row.top + 2});
        AssignmentListsView::DrawList(canvas, *menus.MainList());
        EXPECT_FALSE(menus.MainList()->Elided());
        if (menus.Submenu()) {
            AssignmentListsView::DrawList(canvas, *menus.Submenu());
            EXPECT_FALSE(menus.Submenu()->Elided());
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

// The main window painted for a screen of pixel ratio 2 takes every picture from its 2x file, so
// its rounded corners are drawn at that density (how a 2x picture is painted, pixel for pixel, is
// the skin painting test's).
TEST_F(DefaultSkinTest, TheMainWindowAtRatio2PaintsEveryPictureFromIts2xFile)
{
    cache.SetDevicePixelRatio(2.0);
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
}

// The middle of a knob in a strip's picture, in its own pixels: of the columns whose second row
// (where only the knob's disc reaches) differs from the strip's last column, which no knob of
// these positions covers.
double KnobColumn(const QImage& picture)
{
    const int row = static_cast<int>(picture.devicePixelRatio());
    const QColor plain = picture.pixelColor(picture.width() - 1, row);
    int first = -1;
    int last = -1;
    for (int x = 0; x < picture.width(); ++x) {
        const QColor c = picture.pixelColor(x, row);
        if (std::abs(c.red() - plain.red()) + std::abs(c.green() - plain.green()) + std::abs(c.blue() - plain.blue()) >
            40) {
            first = first < 0 ? x : first;
            last = x;
        }
    }
    return (first + last + 1) / 2.0 / picture.devicePixelRatio();
}

// The scale numbers stand centred under the knob of their position, to a pixel, in the pictures
// of either density: "1" to "10" under angle snap's strip, "0%" to "100%" under the first
// lighting strip.
TEST_F(DefaultSkinTest, ScaleNumbersStandUnderTheKnobsOfTheirPositions)
{
    AppContext context = ContextFor(Language::English);
    CHidMouseDlg main(context, cache);
    SectionStack& right = main.Model().Right().Stack();
    struct Scale
    {
        RightPanel::SectionIndex section;
        std::string knob; // the knob picture of a position, before its number
        std::vector<std::string> labels;
    };
    const MainWindowTexts& texts = MainWindowTextsFor(Language::English);
    for (const Scale& scale : {Scale{RightPanel::kAngleSnap,
                                     "/StageSlider/",
                                     {texts.sliderScaleLabels.begin(), texts.sliderScaleLabels.end()}},
                               Scale{RightPanel::kLighting,
                                     "/Lighting/",
                                     {texts.lightLevelLabels[0].begin(), texts.lightLevelLabels[0].end()}}}) {
        test::RecordingCanvas canvas;
        TakeSizes(canvas);
        right.ShutAll();
        right.Toggle(scale.section);
        main.Model().Draw(canvas);
        const auto knob = std::ranges::find_if(canvas.images, [&](const auto& image) {
            return image.path.starts_with(scale.knob) && image.path.size() > scale.knob.size() &&
                   std::isdigit(static_cast<unsigned char>(image.path[scale.knob.size()]));
        });
        ASSERT_NE(knob, canvas.images.end()) << scale.knob;
        const int stripLeft = knob->at.x;
        for (std::size_t i = 0; i < scale.labels.size(); ++i) {
            const auto label = std::find_if(canvas.texts.begin(), canvas.texts.end(), [&](const auto& text) {
                return text.text == scale.labels[i] && text.font == FontRole::Small;
            });
            ASSERT_NE(label, canvas.texts.end()) << scale.labels[i];
            EXPECT_EQ(label->align, TextAlign::Centre);
            const double labelCentre = (label->area.left + label->area.right) / 2.0;
            const std::string knob = scale.knob + std::to_string(i + 1) + ".png";
            for (const std::string& picture : {knob, SkinImageCache::DoubleScalePath(knob)}) {
                QImage image(QString::fromStdString((skinDir / picture.substr(1)).string()));
                ASSERT_FALSE(image.isNull()) << picture;
                image.setDevicePixelRatio(picture == knob ? 1.0 : 2.0);
                EXPECT_NEAR(stripLeft + KnobColumn(image), labelCentre, 1.0) << picture;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFitTest,
                         ::testing::Values(Language::English, Language::SimplifiedChinese,
                                           Language::TraditionalChinese));

} // namespace
} // namespace veldrane
