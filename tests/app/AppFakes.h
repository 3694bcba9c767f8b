#pragma once

#include <algorithm>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/DeviceNoticeTarget.h"
#include "app/MainWindowView.h"
#include "app/MouseConnection.h"
#include "device/DeviceNotice.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileRecord.h"
#include "settings/PointerSettingsApplier.h"

namespace veldrane::test {

// The window side of MainWindowModel: records every request in order.
class RecordingView : public MainWindowView
{
public:
    void Redraw(std::optional<Rect> area) override { redraws.push_back(area); }
    void Hide() override
    {
        visible = false;
        calls.push_back("Hide");
    }
    void ShowAndRaise() override
    {
        visible = true;
        calls.push_back("ShowAndRaise");
    }
    void ExitProcess() override { calls.push_back("ExitProcess"); }
    void ShowHelp() override { calls.push_back("ShowHelp"); }
    void CloseHelp() override { calls.push_back("CloseHelp"); }
    void RedrawHelp() override { calls.push_back("RedrawHelp"); }
    void OpenProfileManager() override { calls.push_back("OpenProfileManager"); }
    std::optional<std::array<std::uint8_t, kMacroPartSize>> RunMacroManager() override
    {
        calls.push_back("RunMacroManager");
        return macroManagerResult;
    }
    void StartWindowDrag(Point p) override { drags.push_back(p); }
    void SetWaitCursor(bool wait) override { waitCursor.push_back(wait); }
    void TimersChanged() override { ++timerChanges; }
    void ScrollThumbMoved() override { ++thumbMoves; }

    void Clear()
    {
        redraws.clear();
        calls.clear();
        drags.clear();
        waitCursor.clear();
        thumbMoves = 0;
    }

    bool visible = false;
    std::vector<std::optional<Rect>> redraws;
    std::vector<std::string> calls;
    std::vector<Point> drags;
    std::vector<bool> waitCursor;
    int timerChanges = 0;
    int thumbMoves = 0;
    std::optional<std::array<std::uint8_t, kMacroPartSize>> macroManagerResult;
};

// The mouse: connected or not, taking downloads or not; a download is recorded and, as the real
// one does, ends with the save of the profile's configuration and label files.
class FakeMouse : public MouseConnection
{
public:
    FakeMouse(ConfigFiles& files, Language language) : m_files(files), m_language(language) {}

    bool IsConnected() const override { return connected; }
    bool DownloadProfile(ProfileRecord& record) override
    {
        downloads.push_back(record);
        m_files.SaveConfig(record);
        m_files.SaveLabels(m_language);
        return takes;
    }

    bool connected = true;
    bool takes = true;
    std::vector<ProfileRecord> downloads;

private:
    ConfigFiles& m_files;
    Language m_language;
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
    void ApplyPointerSettings(const ProfileRecord& record) override { applied.push_back(record); }
    bool DesktopHas(PointerSetting setting) const override
    {
        return std::find(lacking.begin(), lacking.end(), setting) == lacking.end();
    }

    std::vector<ProfileRecord> applied;
    std::vector<PointerSetting> lacking; // settings the desktop does not have
};

} // namespace veldrane::test
