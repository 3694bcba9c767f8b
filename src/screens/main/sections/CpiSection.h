#pragma once

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

class ColourPicker;

// "CPI Setting": for stages 1 to 4 a vertical track that sets cpiValue, the value box with the
// stage's CPI, an enable switch and a colour swatch that runs the colour dialog. Open at the top
// of the right panel (content origin 734, 52) the tracks are (775 + 50 (k - 1), 58, 7 x 170), the
// switches (772 + 50 (k - 1), 251, 10 x 9) and the swatches (772 + 50 (k - 1), 265, 10 x 10).
// Stages 5 and 6 are neither shown nor changed.
class CpiSection : public SettingsSection
{
public:
    CpiSection(const SettingsSectionContext& context, ColourPicker& colours);

private:
    enum Part : std::size_t
    {
        kTracks,
        kSwitches,
        kSwatches,
        kPartCount
    };

    std::size_t ControlCount() const override;
    Rect ControlArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    bool DragControl(std::size_t control, Point at) override;
    FocusControl DescribeControl(std::size_t control) const override;
    bool ActOnControl(std::size_t control, ControlAction action) override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;

    ColourPicker& m_colours;
};

} // namespace veldrane
