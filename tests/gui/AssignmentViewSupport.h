#pragma once

#include <QCoreApplication>
#include <QInputDevice>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <cstdint>

namespace veldrane::test {

// Qt's list of input devices must outlive the test process's QApplication, whose children include
// the devices of synthetic events: taken before the application, it is destroyed after it. A
// fixture names this as its first base.
struct InputDevicesFirst
{
    InputDevicesFirst() { QInputDevice::devices(); }
};

// A key event as X11 or Wayland delivers it, with the keycode (the evdev code + 8) as native scan
// code, sent to the window the way the window system's events arrive.
inline void SendKey(QWidget& widget, QEvent::Type type, int qtKey, std::uint32_t evdevCode, bool autoRepeat = false)
{
    QKeyEvent event(type, qtKey, Qt::NoModifier, evdevCode == 0 ? 0 : evdevCode + 8, 0, 0, QString(), autoRepeat);
    QObject* target = widget.windowHandle() ? static_cast<QObject*>(widget.windowHandle()) : &widget;
    QCoreApplication::sendEvent(target, &event);
}

inline void TapKey(QWidget& widget, int qtKey, std::uint32_t evdevCode)
{
    SendKey(widget, QEvent::KeyPress, qtKey, evdevCode);
    SendKey(widget, QEvent::KeyRelease, qtKey, evdevCode);
}

} // namespace veldrane::test
