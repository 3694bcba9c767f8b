#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

class DeviceLink;
class MessageSink;
struct DeviceImage;
struct DeviceNotice;

// How long the balloons stay: the mouse's own events, and its arrival and removal.
inline constexpr std::chrono::milliseconds kMouseEventBalloon{5000};
inline constexpr std::chrono::milliseconds kDeviceChangeBalloon{100};

// Who follows the mouse's own switches besides the user: the desktop's bus interface.
class MouseEventObserver
{
public:
    virtual ~MouseEventObserver() = default;

    // The mouse switched to `stage` (1 to 6), whose CPI it holds as `cpi` (0 when it did not say).
    virtual void CpiStageReported(std::uint8_t stage, unsigned cpi) = 0;
    // The mouse switched to macro key `key` (not 0).
    virtual void MacroKeyReported(std::uint8_t key) = 0;
};

// The main window's side of a device notice, on the GUI thread: turns it into a balloon in the
// interface language.
//
//   code 1-3, stage 1-6   "Info": the stage's notice and its CPI, read from the mouse (0x82, 0x8C):
//                         the block the mouse answers 0x8C with is that of its current profile;
//                         the notice alone when the mouse does not answer both
//   code 9, value not 0   "Info": the macro-key notice and the value, without asking the mouse
//   code 14               "Info": the mouse was found
//   code 15               "Warning": the mouse was not found
//
// Anything else shows nothing.
class DeviceNoticeHandler
{
public:
    DeviceNoticeHandler(DeviceLink& link, DeviceImage& image, MessageSink& messages, Language language);

    void HandleDeviceNotice(const DeviceNotice& notice);

    // Told of every CPI-stage and macro-key notice after the user; none when null.
    void SetObserver(MouseEventObserver* observer) { m_observer = observer; }

private:
    void ShowCpiStage(std::uint8_t stage);

    DeviceLink& m_link;
    DeviceImage& m_image;
    MessageSink& m_messages;
    Language m_language;
    MouseEventObserver* m_observer = nullptr;
};

} // namespace veldrane
