#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/device/DeviceNotice.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/PointerSettingsApplier.h"
#include "screens/main/DeviceNoticeTarget.h"
#include "screens/main/MainWindowView.h"
#include "screens/main/MouseConnection.h"

namespace veldrane::test {

// The window side of MainWindowModel: what the tests look at.
class RecordingView : public MainWindowView
{
public:
    void Redraw(std::optional<Rect> area) override { redraws.push_back(area); }
    void Hide() override { visible = false; }
    void ShowAndRaise() override { visible = true; }
    void ExitProcess() override {}
    void ShowHelp() override {}
    void CloseHelp() override {}
    void OpenProfileManager() override {}
    std::optional<std::array<std::uint8_t, kMacroPartSize>> RunMacroManager() override { return macroManagerResult; }
    void StartWindowDrag(Point) override { ++drags; }
    void SetWaitCursor(bool wait) override { waitCursor.push_back(wait); }
    void TimersChanged() override {}
    void ScrollThumbMoved() override { ++thumbMoves; }

    void Clear()
    {
        redraws.clear();
        drags = 0;
        waitCursor.clear();
        thumbMoves = 0;
    }

    bool visible = false;
    std::vector<std::optional<Rect>> redraws;
    int drags = 0; // window drags started
    std::vector<bool> waitCursor;
    int thumbMoves = 0;
    std::optional<std::array<std::uint8_t, kMacroPartSize>> macroManagerResult;
};

// The mouse: connected or not, taking downloads or not; a download is recorded.
class FakeMouse : public MouseConnection
{
public:
    bool IsConnected() const override { return connected; }
    bool DownloadProfile(ProfileRecord& record) override
    {
        downloads.push_back(record);
        return takes;
    }

    bool connected = true;
    bool takes = true;
    std::vector<ProfileRecord> downloads;
};

class RecordingNotices : public DeviceNoticeTarget
{
public:
    void SendDeviceNotice(const DeviceNotice& notice) override { notices.emplace_back(notice.code, notice.value); }

    std::vector<std::pair<int, int>> notices;
};

class RecordingPointerSettings : public PointerSettingsApplier
{
public:
    PointerSettingsOutcome ApplyPointerSettings(const ProfileRecord& record) override
    {
        applied.push_back(record);
        return {refused};
    }
    bool DesktopHas(PointerSetting setting) const override
    {
        return std::find(lacking.begin(), lacking.end(), setting) == lacking.end();
    }

    std::vector<ProfileRecord> applied;
    std::vector<PointerSetting> lacking; // settings the desktop does not have
    std::vector<PointerSetting> refused; // settings the desktop refuses each time
};

} // namespace veldrane::test
