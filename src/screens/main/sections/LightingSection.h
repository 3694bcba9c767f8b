#pragma once

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

// "Lighting": three rows 29 pixels apart from 20 pixels under the content's top, for the modes
// "Single color", "Pulsating" and "Multi-color " (lightMode 1 to 3). Each row has a selection box
// (10 x 9 at 10) that selects its mode, the mode's name, and a 128-pixel strip (100 to 228) that
// sets the mode's own level (1 to 6) without selecting it, with the knob picture
// "/Lighting/%d.png" and the mode's five scale labels under it. With lightMode 0 or above 3 no
// box shows a picture.
class LightingSection : public SettingsSection
{
public:
    explicit LightingSection(const SettingsSectionContext& context);

private:
    enum Part : std::size_t
    {
        kBoxes,
        kStrips,
        kPartCount
    };

    std::size_t ControlCount() const override;
    Rect ControlArea(std::size_t control) const override;
    Rect HitArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    bool DragControl(std::size_t control, Point at) override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;
    // The boxes are radio buttons, the strips sliders; both named after their mode.
    FocusControl DescribeControl(std::size_t control) const override;
    std::optional<PositionSlider> SliderOf(std::size_t control) const override;
    std::string_view ModeName(std::size_t mode) const;
};

} // namespace veldrane
