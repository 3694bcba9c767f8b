#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/macro/MacroItem.h"

namespace veldrane {

class Clock;

// Where a recording stands. It keeps Stopped from the end of one recording to the start of the
// next, across openings of the macro manager; the manager's Enter key looks at it.
enum class RecordPhase
{
    Started = 0, // a recording runs and no key has been pressed yet
    Pressed = 1, // at least one press has been recorded
    Stopped = 2, // the last recording was stopped (by the record area or the event limit)
};

// A keystroke as the dialog's key events give it: the key's name text, whether it went down or
// up, and whether the key was already down before (a press that repeats a held key).
struct RecorderKeyEvent
{
    std::string_view keyName;
    bool release = false;
    bool alreadyDown = false;
};

// What one keystroke does to the recording.
struct RecorderStep
{
    // Lines to append to the event list, in order: a delay item when delays are recorded and an
    // earlier event of this recording exists, then the event itself.
    std::vector<MacroItem> lines;
    // Lines to take off the end of the event list first: a release that turned out to belong to
    // the auto-repeat of a held key.
    std::size_t retract = 0;
    // The keystroke was one more than a recording holds: it is dropped and the recording must
    // stop (and be saved) now.
    bool limitReached = false;
};

// The keyboard recorder of the macro manager. One instance lives for the whole run, so that its
// phase and the last key name survive the closing of the manager; the manager drives it.
//
// Auto-repeat: holding a key records one press and one release. A press of a key that is down
// (flagged as a repeat, or still down since its recorded press) is dropped. The window system may
// also repeat a held key as release and press pairs that are not flagged: a press of the key
// released last that comes within kRepeatPairGap of that release takes the release back. Every
// other keystroke counts; the 65th ends the recording unrecorded.
class MacroRecorder
{
public:
    static constexpr std::uint32_t kMaxRecordedEvents = 64;
    // The key-name buffer holds 31 characters and its terminating zero.
    static constexpr std::size_t kMaxKeyNameChars = 31;
    // A repeat pair comes at one instant; no hand releases and presses a key again this fast.
    static constexpr std::chrono::milliseconds kRepeatPairGap{5};

    explicit MacroRecorder(const Clock& clock);

    bool IsRecording() const { return m_recordingActive; }
    RecordPhase Phase() const { return m_recordPhase; }
    // Keystrokes passed on since the start of the recording, the dropped last one included.
    std::uint32_t RecordedEventCount() const { return m_recordedEventCount; }
    const std::string& LastKeyName() const { return m_lastKeyName; }

    // StartRecording: the count and the timing start afresh, the phase is Started.
    void Start();
    // StopRecording through the record area or the event limit: the phase becomes Stopped.
    // Nothing happens when no recording runs.
    void Stop();
    // The manager closes while a recording runs: it ends, the phase stays as it was.
    void Abandon();

    // One keystroke while the manager has the keyboard. Nothing when no recording runs.
    RecorderStep KeyEvent(const RecorderKeyEvent& stroke, bool recordDelays);

private:
    const Clock& m_clock;
    bool m_recordingActive = false;
    RecordPhase m_recordPhase = RecordPhase::Started;
    std::uint32_t m_recordedEventCount = 0;
    std::string m_currentKeyName;
    std::string m_lastKeyName;
    // The time of the previous event of this recording; none before its first event, so that a
    // release of a key held when the recording started carries no wait measured from an older one.
    std::optional<std::chrono::milliseconds> m_lastEventTime;
    // The keys whose press this recording holds without a release yet.
    std::set<std::string> m_down;
    // The last step when it recorded a release: what taking it back restores.
    struct RecordedRelease
    {
        std::string keyName;
        std::chrono::milliseconds time;
        std::size_t lines;
        std::optional<std::chrono::milliseconds> previousEventTime;
        std::string previousKeyName;
    };
    std::optional<RecordedRelease> m_lastRelease;
};

} // namespace veldrane
