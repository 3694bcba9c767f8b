#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "screens/main/sections/SettingsSection.h"

namespace veldrane {

class EditBox;

// "Scroll Speed": the option boxes "The number of rows" (scrollOneScreen 0) and "Scroll one
// screen" (1), the line count in an edit box of the system over
// "/MouseAttribute/ScrollSpeed/ScrollLines.png", and the up and down buttons beside it that step
// scrollLines within 1 to 100. The box is disabled while one screen is chosen (the buttons still
// act); a text that is not a number from 1 to 100 turns into "1" and sets the count to 1.
// Any scrollOneScreen other than 1 shows as rows.
class ScrollSpeedSection : public SettingsSection
{
public:
    // `panel` is the window area the box may be seen in: the right panel's.
    ScrollSpeedSection(const SettingsSectionContext& context, EditBox& lines, Rect panel);

    // The user changed the box's text.
    void OnScrollLinesEdited(std::string_view text);

private:
    enum Control : std::size_t
    {
        kRows,
        kOneScreen,
        kUp,
        kDown,
        kControlCount
    };

    std::size_t ControlCount() const override { return kControlCount; }
    Rect ControlArea(std::size_t control) const override;
    Rect HitArea(std::size_t control) const override;
    std::string ControlPicture(std::size_t control) const override;
    bool PressControl(std::size_t control, Point at) override;
    // The two modes as radio buttons; the arrows as buttons that tell the number of rows.
    FocusControl DescribeControl(std::size_t control) const override;
    void DrawDetails(SkinCanvas& canvas, Point contentOrigin) override;

    void ShowLines(std::uint8_t lines);

    EditBox& m_lines;
    Rect m_panel;
    // The count the box shows, so that it is refilled only when the record holds another.
    std::optional<std::uint8_t> m_shownLines;
};

} // namespace veldrane
