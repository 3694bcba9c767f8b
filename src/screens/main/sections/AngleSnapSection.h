#pragma once

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

// "Angle Snap": a 208-pixel strip that sets angleSnap (positions 1 to 11) with its knob picture
// "/StageSlider/%d.png" and the scale labels "1" to "10", and above it the illustration
// "/AngleSnap/%d.png" (207 x 85) of the position. The strip's top is key "Sensitivity_Y" of
// section "Point" of the label file.
class AngleSnapSection : public SettingsSection
{
public:
    explicit AngleSnapSection(const SettingsSectionContext& context);

private:
    std::size_t ControlCount() const override { return 1; }
    Rect ControlArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    bool DragControl(std::size_t control, Point at) override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;
    std::optional<PositionSlider> SliderOf(std::size_t control) const override;
};

} // namespace veldrane
