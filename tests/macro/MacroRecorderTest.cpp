#include "macro/MacroRecorder.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeClock.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;

// Drives a recorder the way the manager does and keeps the lines it appends.
class MacroRecorderTest : public testing::Test
{
protected:
    void Press(std::string_view key, bool alreadyDown = false) { Feed({key, false, alreadyDown}); }
    void Release(std::string_view key, bool wasDown = true) { Feed({key, true, wasDown}); }
    void Feed(const RecorderKeyEvent& event)
    {
        const RecorderStep step = m_recorder.KeyEvent(event, m_recordDelays);
        limitReached = limitReached || step.limitReached;
        ASSERT_LE(step.retract, lines.size());
        lines.resize(lines.size() - step.retract);
        for (const MacroItem& item : step.lines) {
            lines.push_back(item.Text());
        }
    }

    test::FakeClock m_clock;
    MacroRecorder m_recorder{m_clock};
    bool m_recordDelays = true;
    std::vector<std::string> lines;
    bool limitReached = false;
};

TEST_F(MacroRecorderTest, HoldingAKeyForASecondRecordsOnePressADelayAndTheRelease)
{
    m_recorder.Start();
    Press("A");
    for (int repeat = 0; repeat < 30; ++repeat) {
        m_clock.Advance(33ms);
        Press("A", true);
    }
    m_clock.Advance(10ms);
    Release("A");
    EXPECT_EQ(lines, (std::vector<std::string>{"A   Dn", "1000 ms", "A   Up"}));
}

// X11 repeats a held key as release and press pairs at one instant, not always flagged.
TEST_F(MacroRecorderTest, UnflaggedRepeatPairsOfAHeldKeyRecordOnePressAndOneRelease)
{
    m_recorder.Start();
    Press("B");
    m_clock.Advance(20ms);
    Release("B");
    m_clock.Advance(100ms);
    Press("A");
    for (int repeat = 0; repeat < 30; ++repeat) {
        m_clock.Advance(33ms);
        Release("A");
        Press("A");
        Press("A"); // a key that is down is not pressed again
    }
    m_clock.Advance(10ms);
    Release("A");
    m_clock.Advance(60ms);
    Press("A"); // a new stroke of the key after a real release
    m_clock.Advance(40ms);
    Release("A");
    EXPECT_EQ(lines, (std::vector<std::string>{"B   Dn", "20 ms", "B   Up", "100 ms", "A   Dn", "1000 ms", "A   Up",
                                               "60 ms", "A   Dn", "40 ms", "A   Up"}));
    EXPECT_EQ(m_recorder.RecordedEventCount(), 6u);
}

TEST_F(MacroRecorderTest, OverlappingKeysWithDelaysGiveSevenLines)
{
    m_recorder.Start();
    Press("A");
    m_clock.Advance(120ms);
    Press("B");
    m_clock.Advance(35ms);
    Release("A");
    m_clock.Advance(1550ms);
    Release("B");
    EXPECT_EQ(lines, (std::vector<std::string>{"A   Dn", "120 ms", "B   Dn", "35 ms", "A   Up", "1550 ms", "B   Up"}));
}

TEST_F(MacroRecorderTest, OverlappingKeysWithoutDelaysGiveFourLines)
{
    m_recordDelays = false;
    m_recorder.Start();
    Press("A");
    m_clock.Advance(120ms);
    Press("B");
    m_clock.Advance(35ms);
    Release("A");
    Release("B");
    EXPECT_EQ(lines, (std::vector<std::string>{"A   Dn", "B   Dn", "A   Up", "B   Up"}));
}

TEST_F(MacroRecorderTest, TheSixtyFifthEventEndsTheRecordingUnrecorded)
{
    m_recorder.Start();
    for (int i = 0; i < 32; ++i) {
        Press("A");
        m_clock.Advance(10ms);
        Release("A");
        m_clock.Advance(10ms);
    }
    EXPECT_FALSE(limitReached);
    EXPECT_EQ(lines.size(), 64u + 63u);
    Press("B");
    EXPECT_TRUE(limitReached);
    EXPECT_EQ(lines.size(), 64u + 63u);
    EXPECT_EQ(lines.back(), "A   Up");
}

// A key held when the recording starts is released before anything was pressed: there is no
// earlier event of this recording to measure a wait from, even when an older recording left one.
TEST_F(MacroRecorderTest, AReleaseBeforeTheFirstPressCarriesNoDelay)
{
    m_recorder.Start();
    Press("X");
    m_recorder.Stop();
    m_clock.Advance(5000ms);
    lines.clear();

    m_recorder.Start();
    m_clock.Advance(700ms);
    Release("Ctrl");
    m_clock.Advance(300ms);
    Press("A");
    m_clock.Advance(40ms);
    Release("A");
    EXPECT_EQ(lines, (std::vector<std::string>{"Ctrl   Up", "A   Dn", "40 ms", "A   Up"}));
}

TEST_F(MacroRecorderTest, KeyNamesAreCutTo31Characters)
{
    m_recorder.Start();
    Press(std::string(40, 'K'));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(31, 'K') + "   Dn");
}

} // namespace
} // namespace veldrane
