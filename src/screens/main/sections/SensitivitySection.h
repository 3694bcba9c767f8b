#pragma once

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

// "X/Y Sensitivity Setting" (left panel): two 208-pixel strips that set sensitivityX and
// sensitivityY (positions 1 to 11), each with its knob picture "/StageSlider/%d.png", its
// caption ("X axis", "Y axis") above and the scale labels "1" to "10" under it. The strips' tops
// are keys "SensitivityX_Y" and "SensitivityY_Y" of section "Point" of the label file.
class SensitivitySection : public SettingsSection
{
public:
    explicit SensitivitySection(const SettingsSectionContext& context);

private:
    enum Strip : std::size_t
    {
        kX,
        kY,
        kStripCount
    };

    std::size_t ControlCount() const override { return kStripCount; }
    Rect ControlArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    bool DragControl(std::size_t control, Point at) override { return PressControl(control, at); }
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;
    std::optional<PositionSlider> SliderOf(std::size_t control) const override;

    std::uint8_t& Field(std::size_t strip) const;
};

} // namespace veldrane
