#include "core/macro/MacroRecorder.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeClock.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// Drives a started recorder the way the manager does and keeps the lines it appends. The limit
// of 64 events is the manager's test: there the recording also stops and is saved.
class MacroRecorderTest : public testing::Test
{
protected:
    MacroRecorderTest() { m_recorder.Start(); }

    void Press(std::string_view key, bool alreadyDown = false) { Feed({key, false, alreadyDown}); }
    void Release(std::string_view key) { Feed({key, true, true}); }
    void Feed(const RecorderKeyEvent& event)
    {
        const RecorderStep step = m_recorder.KeyEvent(event, true);
        ASSERT_LE(step.retract, lines.size());
        lines.resize(lines.size() - step.retract);
        for (const MacroItem& item : step.lines) {
            lines.push_back(item.Text());
        }
    }

    test::FakeClock m_clock;
    MacroRecorder m_recorder{m_clock};
    Lines lines;
};

// A held key repeats as presses flagged as repeats, or (X11) as release and press pairs at one
// instant that are not always flagged: either way it is one press and one release.
TEST_F(MacroRecorderTest, HoldingAKeyForASecondRecordsOnePressADelayAndTheRelease)
{
    Press("B");
    m_clock.Advance(20ms);
    Release("B");
    m_clock.Advance(100ms);
    Press("A");
    for (int repeat = 0; repeat < 30; ++repeat) {
        m_clock.Advance(33ms);
        if (repeat < 15) {
            Press("A", true);
        } else {
            Release("A");
            Press("A");
            Press("A"); // a key that is down is not pressed again
        }
    }
    m_clock.Advance(10ms);
    Release("A");
    m_clock.Advance(60ms);
    Press("A"); // a new stroke of the key after a real release
    m_clock.Advance(40ms);
    Release("A");
    EXPECT_EQ(lines, (Lines{"B   Dn", "20 ms", "B   Up", "100 ms", "A   Dn", "1000 ms", "A   Up", "60 ms", "A   Dn",
                            "40 ms", "A   Up"}));
    EXPECT_EQ(m_recorder.RecordedEventCount(), 6u);
}

// A key held when the recording starts is released before anything was pressed: there is no
// earlier event of this recording to measure a wait from, even when an older recording left one.
// Key names are cut to the 31 characters of their buffer.
TEST_F(MacroRecorderTest, AReleaseBeforeTheFirstPressCarriesNoDelay)
{
    Press("X");
    m_recorder.Stop();
    m_clock.Advance(5000ms);
    lines.clear();

    m_recorder.Start();
    m_clock.Advance(700ms);
    Release("Ctrl");
    m_clock.Advance(300ms);
    const std::string longName(40, 'K');
    Press(longName);
    m_clock.Advance(40ms);
    Release(longName);
    const std::string cut(31, 'K');
    EXPECT_EQ(lines, (Lines{"Ctrl   Up", cut + "   Dn", "40 ms", cut + "   Up"}));
}

} // namespace
} // namespace veldrane
