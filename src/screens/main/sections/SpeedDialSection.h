#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

// "Mouse Speed" and "Double Click Speed": a half-disc dial (142 x 83) that sets its dial position
// (mouseSpeed or doubleClickSpeed, 1 to 12), drawn with "/MouseAttribute/Speed/%d.png" of the
// position, "Slow" and "Fast" centred under its left and right ends and, between them, what the
// position stands for on the desktop. The dial's top is key "MouseSpeed_Y" of section
// "Point" of the label file.
class SpeedDialSection : public SettingsSection
{
public:
    // `field` is the record's byte the dial sets, `setting` the desktop's setting it stands for and
    // `valueText` what a position means there.
    SpeedDialSection(const SettingsSectionContext& context, std::string_view title, std::uint8_t ProfileRecord::*field,
                     PointerSetting setting, std::function<std::string(std::uint8_t)> valueText);

private:
    std::size_t ControlCount() const override { return 1; }
    Rect ControlArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    bool DragControl(std::size_t control, Point at) override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;
    std::optional<PositionSlider> SliderOf(std::size_t control) const override;

    std::uint8_t ProfileRecord::*m_field;
    std::function<std::string(std::uint8_t)> m_valueText;
};

} // namespace veldrane
