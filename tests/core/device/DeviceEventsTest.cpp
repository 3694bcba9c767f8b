// What the mouse's coming and going and its own notices make the window do, and how the notices
// reach the GUI thread.

#include <array>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "core/device/DeviceChangeHandler.h"
#include "core/device/DeviceListener.h"
#include "core/device/DeviceNotice.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/MouseSearch.h"
#include "core/device/NoticeQueue.h"
#include "core/profile/ProfileRecord.h"
#include "ports/HotplugSource.h"
#include "support/RecordingMessageSink.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

// Records what the main window was asked to do, with how many reports the mouse had seen then.
class RecordingHooks : public DeviceChangeHooks
{
public:
    explicit RecordingHooks(const SimulatedMouse& mouse) : m_mouse(mouse) {}

    void SendDeviceNotice(const DeviceNotice& notice) override
    {
        calls.push_back("notice " + std::to_string(notice.code) + " after " + ReportCount());
    }
    void ReloadProfile() override { calls.push_back("reload after " + ReportCount()); }

    std::vector<std::string> calls;

private:
    std::string ReportCount() const { return std::to_string(CommandReports(m_mouse).size()); }

    const SimulatedMouse& m_mouse;
};

HotplugEvent MouseEvent(HotplugEvent::Kind kind)
{
    return {kind, SimulatedMouse::PathOf(SimulatedInterface::Command), kMouseVendorId, kMouseProductId};
}

class DeviceChangeHandlerTest : public MouseTest
{
protected:
    // The sequence that brings a found mouse into the system's state: 0x82 and its answer, 0x01 FC.
    void ExpectPreparation(const std::vector<LoggedReport>& reports)
    {
        ASSERT_EQ(reports.size(), 3u);
        EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7D}));
        EXPECT_EQ(reports[1].kind, ReportKind::GetFeature);
        EXPECT_EQ(reports[2].bytes, (Bytes{0x00, 0x01, 0xFC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}));
    }

    // Every event the mouse raised since the last call, handled in order.
    void HandleEvents()
    {
        for (const HotplugEvent& event : mouse.TakeEvents()) {
            EXPECT_TRUE(handler.HandleDeviceChange(event).Done());
        }
    }

    ProfileRecords records{};
    ProfileRecord& record = records.Current;
    RecordingHooks hooks{mouse};
    DeviceChangeHandler handler{link, image, records, hooks};
};

// An arrival prepares the mouse and reloads the profile when it is unedited, whatever profile the
// mouse is on.
TEST_F(DeviceChangeHandlerTest, InterfacesArrivingOneByOneMakeOneArrivalOnceTheMouseIsComplete)
{
    mouse.SetProfileNumber(3);
    mouse.Unplug();
    ASSERT_EQ(handler.ConnectAtStartUp().error, DeviceError::NoMouse);
    mouse.TakeEvents();
    mouse.SetInterfaceOrder({SimulatedInterface::Pointer});
    mouse.Plug();
    HandleEvents();
    mouse.SetInterfaceOrder({SimulatedInterface::Pointer, SimulatedInterface::Command});
    EXPECT_TRUE(handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Arrival)).Done());
    EXPECT_TRUE(hooks.calls.empty()); // no false warning while the mouse is still arriving
    EXPECT_FALSE(link.IsConnected());

    mouse.SetInterfaceOrder(
        {SimulatedInterface::Pointer, SimulatedInterface::Command, SimulatedInterface::Notification});
    for (int event = 0; event < 3; ++event) {
        EXPECT_TRUE(handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Arrival)).Done());
    }
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 14 after 0", "reload after 3"}));
    ExpectPreparation(CommandReports(mouse));
}

// Start-up reads the profile number, then sends the mode byte; it shows nothing and downloads nothing.
// Plugged in again, the mouse is prepared again, and an edited profile is not reloaded: the edits
// stay, with the mouse's profile number.
TEST_F(DeviceChangeHandlerTest, StartUpThenPlugOutAndInAreOneRemovalAndOneArrivalThatKeepsAnEditedProfile)
{
    image.bytes.fill(0x5A);
    mouse.SetProfileNumber(4);
    ASSERT_TRUE(handler.ConnectAtStartUp().Done());
    ExpectPreparation(CommandReports(mouse));
    EXPECT_EQ(record.deviceProfile, 4);
    DeviceImage expected;
    expected.bytes[kImageProfileNumber] = 4;
    expected.bytes[kImageModeByte] = 0xFC;
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_TRUE(clock.pauses.empty());
    // The window loads the profile after start-up.
    records.Snapshot();
    EXPECT_TRUE(handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Removal)).Done()); // an interface it keeps
    EXPECT_TRUE(link.IsConnected());
    EXPECT_TRUE(hooks.calls.empty());
    mouse.ClearLog();
    mouse.Unplug();
    HandleEvents(); // one removal event per interface
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 15 after 0"}));
    EXPECT_TRUE(mouse.Log().empty());

    hooks.calls.clear();
    record.cpiValue[0] = 77;
    ProfileRecord edited = record;
    edited.deviceProfile = 2;
    mouse.SetProfileNumber(2);
    mouse.Plug();
    HandleEvents(); // one arrival event per interface
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 14 after 0"}));
    ExpectPreparation(CommandReports(mouse));
    EXPECT_EQ(image.bytes[kImageProfileNumber], 2);
    EXPECT_EQ(record, edited);
}

// A mouse that is there but does not answer stays connected, and the outcome names the exchange
// that failed; the record keeps its profile number rather than a made-up 0.
TEST_F(DeviceChangeHandlerTest, SilentMouseIsConnectedButItsPreparationFailsAndKeepsTheProfileNumber)
{
    record.deviceProfile = 3;
    records.Snapshot();
    mouse.SetFault({SimulatedFault::Kind::Silent});
    const DeviceOutcome started = handler.ConnectAtStartUp();
    EXPECT_EQ(std::tuple(started.error, started.command), std::tuple(make_error_code(DeviceError::NoAnswer), 0x82));
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(record.deviceProfile, 3);
    // The mode byte still goes out: a mouse that lost one answer may take it.
    EXPECT_EQ(CommandReports(mouse).back().bytes, (Bytes{0x00, 0x01, 0xFC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}));
    mouse.Unplug();
    HandleEvents();
    mouse.Plug();
    const std::vector<HotplugEvent> arrivals = mouse.TakeEvents();
    DeviceOutcome arrived;
    for (const HotplugEvent& event : arrivals) {
        if (const DeviceOutcome outcome = handler.HandleDeviceChange(event); !outcome.Done()) {
            arrived = outcome;
        }
    }
    EXPECT_EQ(arrived.error, DeviceError::NoAnswer);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 15 after 2", "notice 14 after 2", "reload after 4"}));
}

using Shown = RecordingMessageSink::Shown;

// The mouse's own events stay 5 s, its arrival and removal 100 ms.
Shown Balloon(std::string text, std::string title, std::chrono::milliseconds shown = std::chrono::milliseconds(5000))
{
    return {Shown::Kind::Balloon, std::move(text), std::move(title), shown};
}
constexpr std::chrono::milliseconds kBrief{100};

class DeviceNoticeHandlerTest : public MouseTest
{
protected:
    void SetUp() override { ASSERT_TRUE(FindMouse(link).Done()); }

    std::vector<Shown> Handle(DeviceNotice notice, Language language = Language::English)
    {
        DeviceNoticeHandler handler(link, image, messages, language);
        handler.HandleDeviceNotice(notice);
        return messages.shown;
    }

    RecordingMessageSink messages;
};

// A stage notice (codes 1 to 3) shows the stage's label and the CPI the mouse holds for it, from
// the block just read whatever profile the mouse is on (0xC3: out of range, as a garbage answer to
// 0x82 gives it); a silent mouse is asked once, and its stage shown without a CPI from an older block.
TEST_F(DeviceNoticeHandlerTest, StageNoticeShowsTheLabelAndTheCpiOfTheBlockJustReadOrOfTheArea)
{
    for (std::size_t area = 0; area < kSettingsAreaCount; ++area) {
        image.SettingsArea(area)[85] = 40; // stale while the mouse answers
    }
    const struct
    {
        SimulatedFault::Kind fault;
        std::uint8_t profile;
        DeviceNotice notice;
        const char* text;
        std::size_t reports; // 0x82 and its answer, 0x8C, its answer and two chunks
    } cases[] = {{SimulatedFault::Kind::Silent, 0, {1, 2}, "second stage", 1},
                 {SimulatedFault::Kind::None, 0, {1, 1}, "first stage 800", 6},
                 {SimulatedFault::Kind::None, 5, {2, 2}, "second stage 1600", 6},
                 {SimulatedFault::Kind::None, 0xC3, {3, 3}, "third stage 2400", 6},
                 {SimulatedFault::Kind::None, 0, {3, 6}, "sixth stage 4800", 6}};
    for (const auto& c : cases) {
        mouse.SetFault({c.fault});
        mouse.SetProfileNumber(c.profile);
        mouse.ClearLog();
        messages.shown.clear();
        EXPECT_EQ(Handle(c.notice),
                  (std::vector<Shown>{Balloon(std::string("Switch CPI into the ") + c.text, "Info")}));
        EXPECT_EQ(CommandReports(mouse).size(), c.reports) << c.text;
        if (c.fault == SimulatedFault::Kind::None) {
            EXPECT_EQ(image.bytes[kImageProfileNumber], c.profile);
        }
    }
}

TEST_F(DeviceNoticeHandlerTest, TextsAndCaptionsComeInTheInterfaceLanguage)
{
    // The stage, macro, detected and not-detected texts, then the Info and Warning captions.
    const std::pair<Language, std::array<std::string, 6>> cases[] = {
        {Language::English,
         {"Switch CPI into the third stage 2400", "Switch to macro key12", "The system detect the gaming mouse.",
          "The system did not detect the gaming mouse!", "Info", "Warning"}},
        {Language::SimplifiedChinese,
         {"CPI切换到第三段 2400", "切换到宏12", "系统检测到游戏鼠标。", "系统没有检测到游戏鼠标！", "信息", "警告"}},
        {Language::TraditionalChinese,
         {"CPI切換到第三段 2400", "切換到巨集12", "系統檢測到遊戲滑鼠。", "系統沒有檢測到遊戲滑鼠！", "資訊", "警告"}}};
    for (const auto& [language, t] : cases) {
        messages.shown.clear();
        Handle({0x01, 0x03}, language);
        Handle({0x09, 0x0C}, language);
        Handle({14, 0}, language);
        Handle({15, 0}, language);
        EXPECT_EQ(messages.shown, (std::vector<Shown>{Balloon(t[0], t[4]), Balloon(t[1], t[4]),
                                                      Balloon(t[2], t[4], kBrief), Balloon(t[3], t[5], kBrief)}));
    }
}

// Each notice says what it is about, so the desktop can replace the previous one of its kind, and
// the mouse's own switches reach the bus interface with the CPI the balloon shows. Other codes and
// values out of range show nothing and ask the mouse nothing.
TEST_F(DeviceNoticeHandlerTest, NoticesCarryTheirKindAndTheObserverHearsTheMousesSwitches)
{
    struct Heard : MouseEventObserver
    {
        void CpiStageReported(std::uint8_t stage, unsigned cpi) override
        {
            events.push_back("stage " + std::to_string(stage) + " " + std::to_string(cpi));
        }
        void MacroKeyReported(std::uint8_t key) override { events.push_back("macro " + std::to_string(key)); }
        std::vector<std::string> events;
    } heard;
    DeviceNoticeHandler handler(link, image, messages, Language::English);
    handler.SetObserver(&heard);
    for (const DeviceNotice notice :
         {DeviceNotice{1, 0}, DeviceNotice{1, 7}, DeviceNotice{9, 0}, DeviceNotice{4, 1}, DeviceNotice{16, 0}}) {
        handler.HandleDeviceNotice(notice);
    }
    EXPECT_TRUE(mouse.Log().empty());
    EXPECT_TRUE(messages.shown.empty());
    for (const DeviceNotice notice :
         {DeviceNotice{2, 2}, DeviceNotice{9, 7}, DeviceNotice{14, 0}, DeviceNotice{15, 0}}) {
        handler.HandleDeviceNotice(notice);
    }
    EXPECT_EQ(heard.events, (std::vector<std::string>{"stage 2 1600", "macro 7"}));
    EXPECT_EQ(messages.noticeKinds, (std::vector<NoticeKind>{NoticeKind::CpiStage, NoticeKind::MacroKey,
                                                             NoticeKind::MousePlugged, NoticeKind::MouseUnplugged}));
}

TEST(NotificationReport, OnlyReportsStarting0607CarryANotice)
{
    EXPECT_EQ(ParseNotificationReport(Bytes{0x06, 0x07, 0x02, 0x03, 0, 0, 0, 0}), (DeviceNotice{2, 3}));
    EXPECT_EQ(ParseNotificationReport(Bytes{0x06, 0x07, 0x09, 0x02}), (DeviceNotice{9, 2}));
    // The last two are too short to carry a value: nothing is made up from stale bytes.
    for (const Bytes& report :
         {Bytes{0x05, 0x07, 0x01, 0x01}, Bytes{0x06, 0x08, 0x01, 0x01}, Bytes{0x06, 0x07, 0x01}, Bytes{}}) {
        EXPECT_EQ(ParseNotificationReport(report), std::nullopt) << report.size();
    }
}

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
        ASSERT_TRUE(FindMouse(link).Done());
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
    ASSERT_EQ(FindMouse(link).error, DeviceError::NoMouse);
    mouse.Plug();
    StartReading();
    mouse.Unplug();
    // The removal's search fails, as the GUI thread runs it.
    ASSERT_FALSE(FindMouse(link).Done());
    link.SetConnected(false);
    mouse.Plug();
    // The failed read is dropped and the listener waits, without reading, for the next search.
    ASSERT_TRUE(link.WaitUntilListenerWaits(kBound));
    ASSERT_TRUE(FindMouse(link).Done());
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
    // A quiet mouse: the listener sleeps in one read, which a stop ends at once.
    ASSERT_TRUE(mouse.WaitForNotificationReader(kBound));
    listener.Stop(); // would hang here if the waiting read were not woken
}

// A notification interface whose one report comes in just after the mouse was found gone (the
// connected flag cleared), and whose input reports are longer than the listener's buffer.
TEST_F(DeviceListenerTest, ReportArrivingAfterTheMouseWentAwayIsDroppedAndNoReadExceedsTheBuffer)
{
    const auto script = std::make_shared<HidScript>();
    script->inputReports.push_back({0x06, 0x07, 0x01, 0x01});
    script->beforeWait = [&] { link.SetConnected(false); };
    link.SetListenerInterface(std::make_shared<ScriptedHidDevice>(script), 64);
    link.SetConnected(true);
    listener.Start();
    // A delivered notice would hold the listener until handled: it waits for the mouse instead.
    ASSERT_TRUE(link.WaitUntilListenerWaits(kBound));
    EXPECT_EQ(script->readSizes, std::vector<std::size_t>{kListenerBufferSize});
    EXPECT_FALSE(queue.HandleNext([](const DeviceNotice&) {}, std::chrono::milliseconds(0)));
    listener.Stop(); // would hang here if the wait for the mouse were not woken
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
