#pragma once

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

// "USB Report Rate": the ring dial (a 128 x 128 square) whose quadrants set reportRate, with the
// state picture "/USBReportRate/%dHZ.png" of the record's rate over it. A record holding 0 or any
// byte other than 1, 2, 4 and 8 shows no state picture; the byte is kept and sent as it is. Beside
// each quadrant stands its frequency, the others dimmed beside the chosen one.
class ReportRateSection : public SettingsSection
{
public:
    explicit ReportRateSection(const SettingsSectionContext& context);

private:
    std::size_t ControlCount() const override { return 1; }
    Rect ControlArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    bool DragControl(std::size_t control, Point at) override;
    // A slider from 125 Hz (its first value) to 1000 Hz.
    FocusControl DescribeControl(std::size_t control) const override;
    bool ActOnControl(std::size_t control, ControlAction action) override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;
};

} // namespace veldrane
