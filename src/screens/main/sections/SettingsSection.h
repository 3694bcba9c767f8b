#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ports/Geometry.h"
#include "ports/PointerSettingsBackend.h"
#include "ports/SkinCanvas.h"
#include "screens/main/EmptySection.h"
#include "screens/main/PanelSection.h"

namespace veldrane {

class PointerSettingsApplier;
struct ControlCaptionTexts;
struct MainWindowTexts;
struct PointSettings;
struct WindowStateTexts;
struct ProfileRecord;
struct SliderStrip;

// What the settings sections of the main window work on. The record is the current one: every
// press changes it and every drawing takes its values from it.
struct SettingsSectionContext
{
    ProfileRecord& record;
    const MainWindowTexts& texts;
    const WindowStateTexts& stateTexts;            // the values the controls stand for
    SkinImageSizes& images;                        // to know which "-over" pictures the skin has
    const PointSettings& point;                    // section "Point" of the label file: where some controls sit
    std::function<Colour()> textColour;            // the skin's text colour
    const PointerSettingsApplier& pointerSettings; // which desktop pointer settings exist
    const ControlCaptionTexts& captions;           // the names of controls without a text
};

// A section of the settings pages: its background picture, a set of controls (a rectangle each,
// in content pixels, showing one picture at its top-left corner) and whatever else it draws.
// Presses go to the control under the pointer; hovering a control shows the "-over" variant of
// its picture ("/Enable-over.png" for "/Enable.png") where the skin has one.
class SettingsSection : public PanelSection
{
public:
    std::string_view Title() const override { return m_frame.Title(); }
    // The background's height, and a line more for the note that the desktop lacks the section's
    // pointer setting.
    int ContentHeight() const override;
    void Draw(SkinCanvas& canvas, Point contentOrigin) override;
    bool Press(Point p, Point contentOrigin) override;
    bool Hover(Point p, Point contentOrigin) override;
    bool Unhover() override;
    // A press on any control is the section's: the window starts no window drag from it, and the
    // moves that follow with the button held go to the pressed control (DragControl).
    bool TakesPress(Point p, Point contentOrigin) const override;
    bool Drag(Point p, Point contentOrigin) override;
    bool Release(Point p, Point contentOrigin) override;
    // Every control, described by DescribeControl, where HitArea has it.
    std::vector<FocusControl> FocusControls(Point contentOrigin) const override;
    bool Act(std::size_t control, ControlAction action) override;

    // The picture hovering shows in place of `picture`.
    static std::string OverPictureOf(std::string_view picture);

protected:
    // The height is the background picture's, fallbackHeight when the skin lacks it.
    SettingsSection(const SettingsSectionContext& context, std::string_view title, std::string_view background,
                    int fallbackHeight);

    virtual std::size_t ControlCount() const = 0;
    // Where control `control` lies, in pixels from the content's top-left corner.
    virtual Rect ControlArea(std::size_t control) const = 0;
    // The picture the control shows now; empty when it shows none.
    virtual std::string ControlPicture(std::size_t control) const = 0;
    // A press `at` pixels from the control's top-left corner; true when the record changed.
    virtual bool PressControl(std::size_t control, Point at) = 0;
    // Where a press or hovering finds the control: its picture's area unless the control's label
    // belongs to it too (a click on "ON" acts like one on its box).
    virtual Rect HitArea(std::size_t control) const { return ControlArea(control); }
    // The button is held and the pointer moved after a press on the control, to `at` pixels from
    // its top-left corner, possibly outside it; true when the record changed. Sliders and dials
    // follow the pointer; the others stay as the press left them.
    virtual bool DragControl(std::size_t /*control*/, Point /*at*/) { return false; }
    // A control that sets one byte of the record to a position from `lowest` to `highest` (a strip
    // or a dial): named `name`, its value told by `value` (the position's number where empty).
    struct PositionSlider
    {
        std::uint8_t* field;
        int lowest;
        int highest;
        std::string name;
        std::string value;
    };
    // The control as such a slider, if it is one: the keys then step it and Return leaves it.
    virtual std::optional<PositionSlider> SliderOf(std::size_t /*control*/) const { return std::nullopt; }

    // What the control is for the keyboard and a screen reader (its area is filled in by the
    // caller): a button named after the section unless the section says more.
    virtual FocusControl DescribeControl(std::size_t control) const;
    // A key's action on the control; true when the record changed. A press acts as a click at the
    // middle of the control's area; the sliders and dials step by themselves.
    virtual bool ActOnControl(std::size_t control, ControlAction action);
    // What the section draws over its background besides the controls' pictures.
    virtual void DrawDetails(SkinCanvas& canvas, Point contentOrigin) = 0;

    // The section edits a desktop pointer setting: where the desktop lacks it, the section says so
    // under its background.
    void EditsPointerSetting(PointerSetting setting) { m_pointerSetting = setting; }

    ProfileRecord& Record() const { return m_context.record; }
    const MainWindowTexts& Texts() const { return m_context.texts; }
    const ControlCaptionTexts& Captions() const { return m_context.captions; }
    const WindowStateTexts& StateTexts() const { return m_context.stateTexts; }
    const PointSettings& Positions() const { return m_context.point; }
    Colour TextColour() const { return m_context.textColour(); }

    // A strip top read from the label file, kept so that the strip (`height` pixels) with `above`
    // pixels over it and `below` under it stays inside the section.
    int KeptInside(int top, int above, int height, int below) const;

    // The area of a scale label `width` x `height` pixels, `gap` pixels under a strip of the kind
    // `kind` at `strip`, centred under the knob of `position`.
    static Rect ScaleLabelArea(const SliderStrip& kind, Rect strip, std::uint8_t position, int gap, int width,
                               int height);
    // The ten scale labels "1" to "10" under a 208-pixel strip at `strip` (content pixels), each
    // under the knob of its position.
    void DrawScaleLabels(SkinCanvas& canvas, Point contentOrigin, Rect strip) const;
    // What a 208-pixel strip's knob stands for, right-aligned on the line above the strip.
    void DrawStripValue(SkinCanvas& canvas, Point contentOrigin, Rect strip, std::string_view value) const;

    static Point Within(Point contentOrigin, Point offset);
    static Rect Within(Point contentOrigin, Rect area);
    // The smallest rectangle holding both.
    static Rect Joined(Rect a, Rect b);

private:
    std::optional<std::size_t> ControlAt(Point inContent) const;
    bool ShowsOverPicture(std::optional<std::size_t> control) const;

    SettingsSectionContext m_context;
    EmptySection m_frame; // the title, the background and the height it gives
    std::optional<std::size_t> m_hovered;
    std::optional<std::size_t> m_pressed; // until the button that pressed it is released
    std::optional<PointerSetting> m_pointerSetting;
    bool DesktopLacksSetting() const;
    // Where the note that the desktop lacks the setting stands, in content pixels: inside the
    // frame, under the controls.
    Rect NoteArea() const;
};

} // namespace veldrane
