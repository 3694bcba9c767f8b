#include "core/macro/MacroRecorder.h"

#include <utility>

#include "core/ini/UnicodeText.h"
#include "ports/Clock.h"

namespace veldrane {

MacroRecorder::MacroRecorder(const Clock& clock) : m_clock(clock) {}

void MacroRecorder::Start()
{
    m_recordedEventCount = 0;
    m_lastEventTime.reset();
    m_down.clear();
    m_lastRelease.reset();
    m_recordPhase = RecordPhase::Started;
    m_recordingActive = true;
}

void MacroRecorder::Stop()
{
    m_recordedEventCount = 0;
    if (!m_recordingActive) {
        return;
    }
    m_recordPhase = RecordPhase::Stopped;
    m_recordingActive = false;
}

void MacroRecorder::Abandon()
{
    m_recordedEventCount = 0;
    m_recordingActive = false;
}

RecorderStep MacroRecorder::KeyEvent(const RecorderKeyEvent& stroke, bool recordDelays)
{
    RecorderStep step;
    if (!m_recordingActive) {
        return step;
    }
    m_currentKeyName = std::string(Utf8Prefix(stroke.keyName, kMaxKeyNameChars));
    const std::chrono::milliseconds now = m_clock.Now();
    const std::optional<RecordedRelease> lastRelease = std::exchange(m_lastRelease, std::nullopt);

    if (!stroke.release) {
        if (lastRelease && lastRelease->keyName == m_currentKeyName && now - lastRelease->time <= kRepeatPairGap) {
            // The release was the first half of a repeat pair: the key never went up.
            step.retract = lastRelease->lines;
            --m_recordedEventCount;
            m_lastEventTime = lastRelease->previousEventTime;
            m_lastKeyName = lastRelease->previousKeyName;
            m_down.insert(m_currentKeyName);
            return step;
        }
        if (stroke.alreadyDown || m_down.contains(m_currentKeyName)) {
            return step;
        }
    } else if (m_currentKeyName == m_lastKeyName && !stroke.alreadyDown) {
        // A release of a key that was not down repeats the last event.
        return step;
    }
    ++m_recordedEventCount;
    if (m_recordedEventCount > kMaxRecordedEvents) {
        step.limitReached = true;
        return step;
    }

    const bool firstPress = !stroke.release && m_recordPhase == RecordPhase::Started;
    if (!firstPress && recordDelays && m_lastEventTime) {
        step.lines.push_back(MacroItem::Delay(static_cast<long>((now - *m_lastEventTime).count())));
    }
    step.lines.push_back(stroke.release ? MacroItem::Release(m_currentKeyName) : MacroItem::Press(m_currentKeyName));
    if (stroke.release) {
        m_lastRelease = RecordedRelease{m_currentKeyName, now, step.lines.size(), m_lastEventTime, m_lastKeyName};
        m_down.erase(m_currentKeyName);
    } else {
        m_down.insert(m_currentKeyName);
    }
    if (firstPress) {
        m_recordPhase = RecordPhase::Pressed;
    }
    m_lastEventTime = now;
    m_lastKeyName = m_currentKeyName;
    return step;
}

} // namespace veldrane
