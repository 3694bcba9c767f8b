#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
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

    std::size_t FailedNotificationReads() const
    {
        std::size_t failed = 0;
        for (const LoggedReport& report : mouse.Log()) {
            failed += report.interface == SimulatedInterface::Notification && !report.delivered ? 1 : 0;
        }
        return failed;
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

TEST_F(DeviceListenerTest, ReportsThatAreNotNoticesAreDropped)
{
    StartReading();
    const std::uint8_t foreign[] = {0x05, 0x07, 0x01, 0x01};
    const std::uint8_t wrongMarker[] = {0x06, 0x08, 0x01, 0x01};
    const std::uint8_t tooShort[] = {0x06, 0x07, 0x01};
    mouse.SendNotificationReport(foreign);
    mouse.SendNotificationReport(wrongMarker);
    mouse.SendNotificationReport(tooShort);
    mouse.PressButton(0x09, 0x05);
    const auto handled = NextNotice();
    ASSERT_TRUE(handled);
    EXPECT_EQ(handled->notice, (DeviceNotice{9, 5}));
}

class ListenerStartOrderTest : public DeviceListenerTest,
                               public ::testing::WithParamInterface<std::vector<SimulatedInterface>>
{
};

TEST_P(ListenerStartOrderTest, ListenerStartedWithoutTheMouseReadsAfterTheFirstSuccessfulSearch)
{
    mouse.SetInterfaceOrder(GetParam());
    mouse.Unplug();
    listener.Start();
    ASSERT_FALSE(FindMouse(link));
    link.SetConnected(false);
    mouse.Plug();
    ASSERT_TRUE(FindMouse(link));
    ASSERT_TRUE(mouse.WaitForNotificationReader(kBound));
    mouse.PressCpiButton(4);
    const auto handled = NextNotice();
    ASSERT_TRUE(handled);
    EXPECT_EQ(handled->notice, (DeviceNotice{1, 4}));
}

using I = SimulatedInterface;
INSTANTIATE_TEST_SUITE_P(Orders, ListenerStartOrderTest,
                         ::testing::Values(std::vector{I::Notification, I::Command, I::Pointer},
                                           std::vector{I::Command, I::Notification, I::Pointer}));

TEST_F(DeviceListenerTest, UnplugWhileAReadWaitsDropsItAndWaitsForTheNextSearch)
{
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
    EXPECT_EQ(FailedNotificationReads(), 1u); // the one read the unplug ended, never retried
}

// A notification interface that plays queued reports, each after an action of its own, taken on
// the listener thread just before the read returns; with nothing queued a read waits, without a
// time-out, until Wake.
class QueuedListenerDevice : public HidDevice
{
public:
    bool SetFeature(std::span<const std::uint8_t>) override { return false; }
    bool GetFeature(std::span<std::uint8_t>) override { return false; }
    bool WriteOutput(std::span<const std::uint8_t>) override { return false; }
    HidReadResult ReadInput(std::span<std::uint8_t>, std::chrono::milliseconds) override
    {
        ADD_FAILURE() << "the listener polled with a time-out";
        return {0, true};
    }
    HidReadResult WaitInput(std::span<std::uint8_t> report) override
    {
        std::unique_lock lock(m_mutex);
        m_sizes.push_back(report.size());
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released || m_woken || !m_reports.empty(); });
        --m_waiting;
        m_woken = false;
        if (m_reports.empty()) {
            return {0, m_released};
        }
        auto [bytes, before] = std::move(m_reports.front());
        m_reports.pop_front();
        if (before) {
            lock.unlock();
            before();
            lock.lock();
        }
        std::fill(report.begin(), report.end(), 0xEE);
        std::copy_n(bytes.begin(), std::min(bytes.size(), report.size()), report.begin());
        return {report.size(), false};
    }
    void Wake() override
    {
        const std::lock_guard lock(m_mutex);
        m_woken = true;
        ++m_wakes;
        m_changed.notify_all();
    }

    void Push(std::vector<std::uint8_t> bytes, std::function<void()> before = {})
    {
        const std::lock_guard lock(m_mutex);
        m_reports.emplace_back(std::move(bytes), std::move(before));
        m_changed.notify_all();
    }
    void Release()
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    std::vector<std::size_t> Sizes()
    {
        const std::lock_guard lock(m_mutex);
        return m_sizes;
    }
    // Waits at most `timeout` until a read waits here.
    bool WaitForReader(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_waiting > 0; });
    }
    std::size_t Wakes()
    {
        const std::lock_guard lock(m_mutex);
        return m_wakes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<std::vector<std::uint8_t>, std::function<void()>>> m_reports;
    bool m_released = false;
    bool m_woken = false;
    std::size_t m_waiting = 0;
    std::size_t m_wakes = 0;
    std::vector<std::size_t> m_sizes;
};

class QueuedListenerTest : public DeviceListenerTest
{
protected:
    void TearDown() override
    {
        device->Release();
        DeviceListenerTest::TearDown();
    }

    std::shared_ptr<QueuedListenerDevice> device = std::make_shared<QueuedListenerDevice>();
};

TEST_F(QueuedListenerTest, ReportArrivingAfterTheConnectedFlagWasClearedIsDropped)
{
    link.SetListenerInterface(device, 8);
    link.SetConnected(true);
    // The mouse goes away while the read waits: its report comes in after connected became 0.
    device->Push({0x06, 0x07, 0x01, 0x01}, [&] { link.SetConnected(false); });
    device->Push({0x06, 0x07, 0x09, 0x07});
    listener.Start();
    ASSERT_TRUE(link.WaitUntilListenerWaits(kBound));
    EXPECT_EQ(device->Sizes().size(), 1u); // no read while the flag is 0
    link.SetConnected(true);
    const auto handled = NextNotice();
    ASSERT_TRUE(handled);
    EXPECT_EQ(handled->notice, (DeviceNotice{9, 7}));
}

TEST_F(QueuedListenerTest, ListenerNeverReadsMoreThanItsBuffer)
{
    link.SetListenerInterface(device, 64);
    link.SetConnected(true);
    device->Push({0x06, 0x07, 0x09, 0x01});
    listener.Start();
    const auto handled = NextNotice();
    ASSERT_TRUE(handled);
    EXPECT_EQ(handled->notice, (DeviceNotice{9, 1}));
    ASSERT_FALSE(device->Sizes().empty());
    EXPECT_EQ(device->Sizes().front(), kListenerBufferSize);
}

// A quiet mouse: the listener sleeps in one read, which a stop ends at once and a new search
// turns to the new interface.
TEST_F(QueuedListenerTest, OneReadWaitsUntilAStopOrANewInterfaceWakesIt)
{
    link.SetListenerInterface(device, 8);
    link.SetConnected(true);
    listener.Start();
    ASSERT_TRUE(device->WaitForReader(kBound));

    auto next = std::make_shared<QueuedListenerDevice>();
    next->Push({0x06, 0x07, 0x09, 0x02});
    link.SetListenerInterface(next, 8);
    const auto handled = NextNotice();
    ASSERT_TRUE(handled);
    EXPECT_EQ(handled->notice, (DeviceNotice{9, 2}));
    ASSERT_TRUE(next->WaitForReader(kBound));

    listener.Stop();                       // would hang here if the waiting read were not woken
    EXPECT_EQ(device->Sizes().size(), 1u); // the old interface was read once, never polled again
    EXPECT_EQ(next->Sizes().size(), 2u);   // the report, then the wait that the stop ended
    EXPECT_EQ(next->Wakes(), 1u);
    next->Release();
}

TEST_F(DeviceListenerTest, StopEndsAListenerThatWaitsForTheMouse)
{
    mouse.Unplug();
    listener.Start();
    listener.Stop(); // would hang here if the waiting thread were not woken
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
