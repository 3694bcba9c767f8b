#include "macro/MacroRecorder.h"

#include "ini/UnicodeText.h"
#include "platform/Clock.h"

namespace veldrane {

MacroRecorder::MacroRecorder(const Clock& clock) : m_clock(clock) {}

void MacroRecorder::Start()
{
    m_recordedEventCount = 0;
    m_lastEventTime.reset();
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

    // A release of a key that was not down, or a press of a key that was, repeats the last event.
    const bool sameKey = m_currentKeyName == m_lastKeyName;
    if (sameKey && (stroke.release ? !stroke.alreadyDown : stroke.alreadyDown)) {
        return step;
    }
    ++m_recordedEventCount;
    if (m_recordedEventCount > kMaxRecordedEvents) {
        step.limitReached = true;
        return step;
    }

    const std::chrono::milliseconds now = m_clock.Now();
    const bool firstPress = !stroke.release && m_recordPhase == RecordPhase::Started;
    if (!firstPress && recordDelays && m_lastEventTime) {
        step.lines.push_back(MacroItem::Delay(static_cast<long>((now - *m_lastEventTime).count())));
    }
    step.lines.push_back(stroke.release ? MacroItem::Release(m_currentKeyName) : MacroItem::Press(m_currentKeyName));
    if (firstPress) {
        m_recordPhase = RecordPhase::Pressed;
    }
    m_lastEventTime = now;
    m_lastKeyName = m_currentKeyName;
    return step;
}

} // namespace veldrane
