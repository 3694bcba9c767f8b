#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>

#include <cstdint>
#include <filesystem>
#include <memory>

#include "gui/CHidMouseDlg.h"
#include "gui/skin/SkinImageCache.h"
#include "screens/MainWindowFixture.h"

namespace veldrane::test {

// The one QApplication of the test process, on the offscreen platform unless told otherwise.
QApplication& TestApplication();

// Writes a picture of one colour.
void WritePicture(const std::filesystem::path& file, QSize size, QColor colour);

// Sends a pointer event to `widget` at `local` (its own pixels); Click presses and releases there.
void SendMouse(QWidget& widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held);
void Click(QWidget& widget, QPoint local);

// Presses and releases a key as X11 or Wayland delivers it, with the keycode (the evdev code + 8)
// as native scan code, sent to the window the way the window system's events arrive.
void TapKey(QWidget& widget, int qtKey, std::uint32_t evdevCode);

// A main window over a temporary installation and a small skin of plain-coloured pictures.
class GuiFixture : public MainWindowFixture
{
protected:
    static constexpr QRgb kBackground = 0xff141414;
    static constexpr QRgb kSaveOverColour = 0xffff0000;
    static constexpr QRgb kHeaderColour = 0xff808080;
    static constexpr QRgb kOpenHeaderColour = 0xffffff00;
    static constexpr QRgb kLightingColour = 0xffff00ff;

    GuiFixture() { TestApplication(); }

    void WriteSkin();
    CHidMouseDlg& Window();
    QRgb PixelAt(QWidget& widget, QPoint p) { return widget.grab().toImage().pixel(p); }
    // The fixture's context for a window in `interfaceLanguage`, over the skin's pictures.
    AppContext ContextFor(Language interfaceLanguage)
    {
        const MainWindowTexts& texts = MainWindowTextsFor(interfaceLanguage);
        return {records, files,           mouse,   messages,          clock, shell,
                cache,   pointerSettings, notices, interfaceLanguage, texts, skinDir};
    }

    std::filesystem::path skinDir = dir.Path() / "Skins" / "Default";
    SkinImageCache cache{skinDir};
    AppContext guiContext = ContextFor(language);
    std::unique_ptr<CHidMouseDlg> window;
};

} // namespace veldrane::test
