#pragma once

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

// "M1-M5 Light Button " (left panel): the "ON" and "OFF" boxes that set sideButtonLight to 1 and
// 0. The box of the record's state shows "/Enable.png", the other "/Disable.png"; any value other
// than 1 shows as "OFF" (and is sent as it is).
class SideLightSection : public SettingsSection
{
public:
    explicit SideLightSection(const SettingsSectionContext& context);

private:
    enum Box : std::size_t
    {
        kOn,
        kOff,
        kBoxCount
    };

    std::size_t ControlCount() const override { return kBoxCount; }
    Rect ControlArea(std::size_t control) const override;
    Rect HitArea(std::size_t control) const override;
    // The box's text, right of it.
    Rect TextArea(std::size_t box) const;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    // "ON" and "OFF" as radio buttons.
    FocusControl DescribeControl(std::size_t control) const override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;
};

} // namespace veldrane
