#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <optional>
#include <string>

#include "gui/AssignmentViewSupport.h"
#include "gui/GuiFixture.h"
#include "gui/buttons/CComboDialog.h"
#include "gui/buttons/CMacroDialog.h"
#include "gui/buttons/CSingleDialog.h"
#include "gui/buttons/QtKeyNameSource.h"
#include "gui/skin/SkinImageCache.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::RecordingMessageSink;
using test::SendKey;
using test::SendMouse;
using test::TapKey;
using Shown = RecordingMessageSink::Shown;

// evdev codes of <linux/input-event-codes.h>
constexpr std::uint32_t kKeyEsc = 1;
constexpr std::uint32_t kKeyA = 30;
constexpr std::uint32_t kKeyB = 48;
constexpr std::uint32_t kKeyTab = 15;
constexpr std::uint32_t kKeyEnter = 28;
constexpr std::uint32_t kKeyLeftCtrl = 29;
constexpr std::uint32_t kKeyF5 = 63;
constexpr std::uint32_t kKeyRightCtrl = 97;
constexpr std::uint32_t kKeyLeftMeta = 125;

constexpr QPoint kOk{279, 262};
constexpr QPoint kCancel{343, 262};
constexpr QPoint kClose{361, 15};

void Click(QWidget& widget, QPoint at)
{
    SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// Runs `steps` on the modal dialog once its event loop runs.
void WhenModal(std::function<void(QWidget&)> steps)
{
    QTimer::singleShot(0, [steps = std::move(steps)] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        steps(*dialog);
    });
}

class CaptureDialogView : public test::InputDevicesFirst, public testing::Test
{
protected:
    CaptureDialogView()
    {
        test::TestApplication();
        test::WritePicture(m_skinDir / "single-key.png", {384, 286}, QColor(10, 20, 30));
        test::WritePicture(m_skinDir / "combo-key.png", {384, 286}, QColor(10, 20, 30));
        test::WritePicture(m_skinDir / "macro-key.png", {400, 286}, QColor(10, 20, 30));
    }
    template <typename Dialog> void Show(Dialog& dialog)
    {
        dialog.show();
        dialog.activateWindow();
        dialog.setFocus();
        QApplication::processEvents();
    }
    void WriteMacros(int count)
    {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            text += "[Macro_" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
        }
        test::WriteFileBytes(m_macroFile.Path(), text);
    }

    test::TempDir m_dir;
    std::filesystem::path m_skinDir = m_dir / "Skins";
    SkinImageCache m_images{m_skinDir};
    RecordingMessageSink m_messages;
    QtKeyNameSource m_keyNames;
    IconvTextCodec m_codec;
    IniFile m_macroFile{m_dir / kMacroFileName, m_codec};
};

TEST_F(CaptureDialogView, SingleDialogIsFramelessModalAndSizedToItsBackground)
{
    CSingleDialog dialog(m_images, m_messages, m_keyNames, Language::English);
    EXPECT_TRUE(dialog.isModal());
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog.size(), QSize(384, 286));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(CaptureDialogView, RightCtrlPressedAndReleasedIsCaptured)
{
    CSingleDialog dialog(m_images, m_messages, m_keyNames, Language::English);
    Show(dialog);
    TapKey(dialog, Qt::Key_Control, kKeyRightCtrl);
    EXPECT_EQ(dialog.Model().KeyName(), "Right Ctrl");
}

TEST_F(CaptureDialogView, LastEventCountsWithAutoRepeatAndReleases)
{
    CSingleDialog dialog(m_images, m_messages, m_keyNames, Language::English);
    Show(dialog);
    SendKey(dialog, QEvent::KeyPress, Qt::Key_Control, kKeyLeftCtrl);
    SendKey(dialog, QEvent::KeyPress, Qt::Key_A, kKeyA);
    SendKey(dialog, QEvent::KeyPress, Qt::Key_A, kKeyA, true);
    EXPECT_EQ(dialog.Model().KeyName(), "A");
    SendKey(dialog, QEvent::KeyRelease, Qt::Key_A, kKeyA);
    SendKey(dialog, QEvent::KeyRelease, Qt::Key_Control, kKeyLeftCtrl);
    EXPECT_EQ(dialog.Model().KeyName(), "Ctrl");
}

struct ClosingKey
{
    const char* name;
    int qtKey;
    std::uint32_t evdev;
};

class KeyThatWouldClose : public CaptureDialogView, public testing::WithParamInterface<ClosingKey>
{
};

TEST_P(KeyThatWouldClose, IsCapturedAndLeavesTheDialogOpen)
{
    CSingleDialog single(m_images, m_messages, m_keyNames, Language::English);
    Show(single);
    TapKey(single, GetParam().qtKey, GetParam().evdev);
    EXPECT_EQ(single.Model().KeyName(), GetParam().name);
    EXPECT_TRUE(single.isVisible());
    EXPECT_EQ(single.result(), 0);

    CComboDialog combo(m_images, m_messages, m_keyNames, Language::English);
    Show(combo);
    Click(combo, {90, 127});
    TapKey(combo, GetParam().qtKey, GetParam().evdev);
    EXPECT_EQ(combo.Model().Result().key1Name, GetParam().name);
    EXPECT_TRUE(combo.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyThatWouldClose,
                         testing::Values(ClosingKey{"Enter", Qt::Key_Return, kKeyEnter},
                                         ClosingKey{"Esc", Qt::Key_Escape, kKeyEsc},
                                         ClosingKey{"Left Windows", Qt::Key_Super_L, kKeyLeftMeta},
                                         ClosingKey{"Tab", Qt::Key_Tab, kKeyTab}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, ' ');
                             return name;
                         });

TEST_F(CaptureDialogView, SingleRunReturnsTheKeyOnOkAndNothingOnCancel)
{
    WhenModal([](QWidget& dialog) {
        TapKey(dialog, Qt::Key_F5, kKeyF5);
        Click(dialog, kOk);
    });
    EXPECT_EQ(CSingleDialog::Run(m_images, m_messages, m_keyNames, Language::English, nullptr), "F5");

    WhenModal([](QWidget& dialog) {
        TapKey(dialog, Qt::Key_F5, kKeyF5);
        Click(dialog, kClose);
    });
    EXPECT_FALSE(CSingleDialog::Run(m_images, m_messages, m_keyNames, Language::English, nullptr).has_value());

    WhenModal([](QWidget& dialog) { Click(dialog, kOk); });
    EXPECT_EQ(CSingleDialog::Run(m_images, m_messages, m_keyNames, Language::English, nullptr), "");
}

TEST_F(CaptureDialogView, SingleDialogPaintsTheKeyNameFieldWhiteOnItsBackground)
{
    CSingleDialog dialog(m_images, m_messages, m_keyNames, Language::English);
    Show(dialog);
    const QImage picture = dialog.grab().toImage();
    EXPECT_EQ(picture.pixel(10, 60), qRgb(10, 20, 30));
    EXPECT_EQ(picture.pixel(75, 130), qRgb(255, 255, 255));
}

TEST_F(CaptureDialogView, ComboRunReturnsModifierAndKeysAsCaptured)
{
    WhenModal([](QWidget& dialog) {
        Click(dialog, {120, 77});             // the modifier box opens its list
        Click(dialog, {90, 88 + 17 * 4 + 8}); // "Right Ctrl"
        Click(dialog, {90, 177});             // second key field
        TapKey(dialog, Qt::Key_B, kKeyB);
        Click(dialog, kOk);
    });
    EXPECT_EQ(CComboDialog::Run(m_images, m_messages, m_keyNames, Language::English, nullptr),
              (ComboKeyChoice{"Right Ctrl", "", "B"}));

    WhenModal([](QWidget& dialog) { Click(dialog, kCancel); });
    EXPECT_FALSE(CComboDialog::Run(m_images, m_messages, m_keyNames, Language::English, nullptr).has_value());
}

TEST_F(CaptureDialogView, ComboKeysAreIgnoredWhileTheModifierListIsOpen)
{
    CComboDialog dialog(m_images, m_messages, m_keyNames, Language::English);
    Show(dialog);
    TapKey(dialog, Qt::Key_A, kKeyA); // no field has the focus yet
    Click(dialog, {90, 127});
    Click(dialog, {120, 77});
    TapKey(dialog, Qt::Key_A, kKeyA);
    EXPECT_EQ(dialog.Model().Result(), ComboKeyChoice{});
    // The open list is painted over the first key field, white on dark grey.
    EXPECT_EQ(dialog.grab().toImage().pixel(128, 100), qRgb(0x28, 0x28, 0x28));
}

TEST_F(CaptureDialogView, MacroRunBindsThePickedMacroWithItsMode)
{
    WriteMacros(3);
    WhenModal([](QWidget& dialog) {
        Click(dialog, {90, 136});              // the macro box
        Click(dialog, {90, 147 + 16 * 2 + 8}); // "Macro_3"
        Click(dialog, {228, 186});             // mode 2
        Click(dialog, kOk);
    });
    EXPECT_EQ(CMacroDialog::Run(m_images, m_messages, m_macroFile, Language::English, nullptr),
              (MacroBindingChoice{2, 2, "Macro_3"}));

    WhenModal([](QWidget& dialog) { Click(dialog, kOk); });
    EXPECT_FALSE(CMacroDialog::Run(m_images, m_messages, m_macroFile, Language::English, nullptr).has_value());
}

TEST_F(CaptureDialogView, MacroDropdownScrollsWithTheWheel)
{
    WriteMacros(12);
    CMacroDialog dialog(m_images, m_messages, m_macroFile, Language::English);
    Show(dialog);
    Click(dialog, {90, 136});
    QWheelEvent wheel(QPointF(90, 200), dialog.mapToGlobal(QPointF(90, 200)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&dialog, &wheel);
    ASSERT_TRUE(dialog.Model().Dropdown().has_value());
    EXPECT_EQ(dialog.Model().Dropdown()->FirstVisible(), 3u);
    Click(dialog, {90, 147 + 8});
    EXPECT_EQ(dialog.Model().ChosenName(), "Macro_4");
}

TEST_F(CaptureDialogView, MissingBackgroundsAreReportedWithTheDialogsTitles)
{
    SkinImageCache bare(m_dir / "NoSkin");
    CSingleDialog single(bare, m_messages, m_keyNames, Language::English);
    CComboDialog combo(bare, m_messages, m_keyNames, Language::English);
    CMacroDialog macro(bare, m_messages, m_macroFile, Language::English);
    EXPECT_EQ(
        m_messages.shown,
        (std::vector<Shown>{{Shown::Kind::Message, "error", "Single Key Dialog Load background image failed!!!"},
                            {Shown::Kind::Message, "error", "Combo Dialog Load background image failed!!!"},
                            {Shown::Kind::Message, "error", "Macro Key Dialog Load background image failed!!!"}}));
    Show(single);
    Click(single, kCancel);
    EXPECT_EQ(single.result(), QDialog::Rejected);
}

} // namespace
} // namespace veldrane
