#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>

#include <filesystem>
#include <memory>

#include "app/MainWindowFixture.h"
#include "gui/CHidMouseDlg.h"
#include "gui/skin/SkinImageCache.h"

namespace veldrane::test {

// The one QApplication of the test process, on the offscreen platform unless told otherwise.
QApplication& TestApplication();

// Writes a picture of one colour.
void WritePicture(const std::filesystem::path& file, QSize size, QColor colour);

// Sends a pointer event to `widget` at `local` (its own pixels).
void SendMouse(QWidget& widget, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held);

// A main window over a temporary installation and a small skin of plain-coloured pictures.
class GuiFixture : public MainWindowFixture
{
protected:
    static constexpr QRgb kBackground = 0xff141414;
    static constexpr QRgb kSaveNormalColour = 0xff0000ff;
    static constexpr QRgb kSaveOverColour = 0xffff0000;
    static constexpr QRgb kHeaderColour = 0xff808080;
    static constexpr QRgb kHeaderOverColour = 0xff00ff00;
    static constexpr QRgb kOpenHeaderColour = 0xffffff00;
    static constexpr QRgb kLightingColour = 0xffff00ff;
    static constexpr QRgb kThumbColour = 0xffffffff;
    static constexpr QRgb kHelpColour = 0xffd0d0d0;

    GuiFixture();

    // Writes the skin's pictures; `leaveOut` names one to leave missing.
    void WriteSkin(std::string_view leaveOut = {});
    CHidMouseDlg& Window();
    QRgb PixelAt(QWidget& widget, QPoint p);

    std::filesystem::path skinDir = dir.Path() / "Skins" / "Default";
    SkinImageCache cache{skinDir};
    AppContext guiContext{records,
                          files,
                          mouse,
                          messages,
                          clock,
                          shell,
                          cache,
                          pointerSettings,
                          notices,
                          language,
                          MainWindowTextsFor(language),
                          skinDir};
    std::unique_ptr<CHidMouseDlg> window;
};

} // namespace veldrane::test
