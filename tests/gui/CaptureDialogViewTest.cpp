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
using test::TapKey;
using Shown = RecordingMessageSink::Shown;

// evdev codes of <linux/input-event-codes.h>
constexpr std::uint32_t kKeyEsc = 1;
constexpr std::uint32_t kKeyTab = 15;
constexpr std::uint32_t kKeyEnter = 28;
constexpr std::uint32_t kKeyLeftMeta = 125;

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

    test::TempDir m_dir;
    std::filesystem::path m_skinDir = m_dir / "Skins";
    SkinImageCache m_images{m_skinDir};
    RecordingMessageSink m_messages;
    QtKeyNameSource m_keyNames;
    IconvTextCodec m_codec;
    IniFile m_macroFile{m_dir / kMacroFileName, m_codec};
};

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
    // The dialog holds the keyboard, so the desktop does not take Super, Print or Alt+Tab first.
    EXPECT_EQ(QWidget::keyboardGrabber(), &single);
    TapKey(single, GetParam().qtKey, GetParam().evdev);
    EXPECT_EQ(single.Model().KeyName(), GetParam().name);
    EXPECT_TRUE(single.isVisible());
    EXPECT_EQ(single.result(), 0);

    CComboDialog combo(m_images, m_messages, m_keyNames, Language::English);
    Show(combo);
    TapKey(combo, GetParam().qtKey, GetParam().evdev); // the first key field has the focus at once
    EXPECT_EQ(combo.Model().Result().key1Name, GetParam().name);
    EXPECT_TRUE(combo.isVisible());
    single.hide();
    EXPECT_EQ(QWidget::keyboardGrabber(), &combo);
    combo.hide();
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
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

} // namespace
} // namespace veldrane
