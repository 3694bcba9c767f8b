#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "device/DeviceLink.h"
#include "device/DeviceListener.h"
#include "device/MouseSearch.h"
#include "device/NoticeQueue.h"
#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

// Upper bound of every wait on the other thread; the tests never wait this long when they pass.
constexpr auto kBound = 10s;

struct HandledNotice
{
    DeviceNotice notice;
    std::thread::id thread;
};

class DeviceListenerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        queue.Close();
        mouse.Unplug();
        listener.Stop();
    }

    // The next notice, handled here on the test thread as the GUI thread would.
    std::optional<HandledNotice> NextNotice(const std::function<void()>& whileHandling = {})
    {
        std::optional<HandledNotice> handled;
        queue.HandleNext(
            [&](const DeviceNotice& notice) {
                handled = HandledNotice{notice, std::this_thread::get_id()};
                if (whileHandling) {
                    whileHandling();
                }
            },
            kBound);
        return handled;
    }

    void StartReading()
    {
        ASSERT_TRUE(FindMouse(link));
        listener.Start();
        ASSERT_TRUE(mouse.WaitForNotificationReader(kBound));
    }

    // The simulated mouse logs with its own clock, which nobody moves, so the two threads share
    // nothing through it; the GUI side's pauses go to the other.
    FakeClock mouseClock;
    FakeClock pacing;
    SimulatedMouse mouse{mouseClock};
    DeviceLink link{mouse, pacing};
    NoticeQueue queue;
    DeviceListener listener{link, queue};
};

TEST_F(DeviceListenerTest, NotificationReportLeadsToExactlyOneNoticeHandledOnTheReceivingThread)
{
    StartReading();
    mouse.PressCpiButton(2);
    bool listenerWasReading = true;
    const auto first = NextNotice([&] { listenerWasReading = mouse.WaitForNotificationReader(0ms); });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->notice, (DeviceNotice{1, 2}));
    EXPECT_EQ(first->thread, std::this_thread::get_id());
    EXPECT_FALSE(listenerWasReading); // it waits for the handler before it reads again

    // The next notice handled is the next report's, not a second copy of the first.
    mouse.PressMacroKey(3);
    const auto second = NextNotice();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->notice, (DeviceNotice{9, 3}));
}

TEST_F(DeviceListenerTest, ReadsAfterTheFirstSearchThatFindsTheMouseAndAfterAnUnplugWaitsForTheNext)
{
    // Started without the mouse, the listener reads after the first search that finds it.
    mouse.Unplug();
    listener.Start();
    ASSERT_FALSE(FindMouse(link));
    mouse.Plug();
    StartReading();
    mouse.Unplug();
    // The removal's search fails, as the GUI thread runs it.
    ASSERT_FALSE(FindMouse(link));
    link.SetConnected(false);
    mouse.Plug();
    // The failed read is dropped and the listener waits, without reading, for the next search.
    ASSERT_TRUE(link.WaitUntilListenerWaits(kBound));
    ASSERT_TRUE(FindMouse(link));
    ASSERT_TRUE(mouse.WaitForNotificationReader(kBound));
    mouse.PressMacroKey(4);
    const auto handled = NextNotice();
    ASSERT_TRUE(handled);
    EXPECT_EQ(handled->notice, (DeviceNotice{9, 4}));
    // The one read the unplug ended, never retried.
    const auto log = mouse.Log();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const LoggedReport& r) {
                                return r.interface == SimulatedInterface::Notification && !r.delivered;
                            }),
              1);
}

// A notification interface whose one report comes in just after the mouse was found gone (the
// connected flag cleared), and whose input reports are longer than the listener's buffer.
class GoneWhileReadingDevice : public HidDevice
{
public:
    explicit GoneWhileReadingDevice(DeviceLink& link) : m_link(link) {}
    bool SetFeature(std::span<const std::uint8_t>) override { return false; }
    bool GetFeature(std::span<std::uint8_t>) override { return false; }
    bool WriteOutput(std::span<const std::uint8_t>) override { return false; }
    HidReadResult ReadInput(std::span<std::uint8_t>, std::chrono::milliseconds) override { return {0, true}; }
    HidReadResult WaitInput(std::span<std::uint8_t> report) override
    {
        size = report.size();
        m_link.SetConnected(false);
        const std::uint8_t notice[] = {0x06, 0x07, 0x01, 0x01};
        std::copy(std::begin(notice), std::end(notice), report.begin());
        return {sizeof notice, false};
    }
    void Wake() override {}

    std::atomic<std::size_t> size{0};

private:
    DeviceLink& m_link;
};

TEST_F(DeviceListenerTest, ReportArrivingAfterTheMouseWentAwayIsDroppedAndNoReadExceedsTheBuffer)
{
    const auto device = std::make_shared<GoneWhileReadingDevice>(link);
    link.SetListenerInterface(device, 64);
    link.SetConnected(true);
    listener.Start();
    // A delivered notice would hold the listener until handled: it waits for the mouse instead.
    ASSERT_TRUE(link.WaitUntilListenerWaits(kBound));
    EXPECT_EQ(device->size.load(), kListenerBufferSize);
    EXPECT_FALSE(queue.HandleNext([](const DeviceNotice&) {}, std::chrono::milliseconds(0)));
}

// A quiet mouse: the listener sleeps in one read, which a stop ends at once.
TEST_F(DeviceListenerTest, StopEndsTheWaitingReadAndTheWaitForTheMouse)
{
    StartReading();
    listener.Stop(); // would hang here if the waiting read were not woken
    mouse.Unplug();
    listener.Start();
    listener.Stop(); // the same while it waits for the mouse
    SUCCEED();
}

TEST(NoticeQueue, CloseReleasesAListenerWaitingForItsNoticeToBeHandled)
{
    NoticeQueue queue;
    std::thread poster([&] { queue.DeliverNotice({1, 1}); });
    // Take nothing: closing alone must let the poster go.
    queue.Close();
    poster.join();
    EXPECT_FALSE(queue.HandleNext([](const DeviceNotice&) { FAIL() << "nothing to handle after Close"; }, 0ms));
}

} // namespace
} // namespace veldrane::test
