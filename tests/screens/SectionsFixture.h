#pragma once

#include "screens/MainWindowFixture.h"
#include "screens/SectionFakes.h"
#include "screens/main/sections/SettingsSections.h"

namespace veldrane::test {

// A main window with the settings sections in its panels, over the fixture's installation. The
// label file's "Point" positions are those the default skin is drawn for: the sensitivity strips
// at 24 and 84, the angle-snap strip at 97 and the speed dials at 8 under their sections' tops.
class SectionsFixture : public MainWindowFixture
{
protected:
    SectionsFixture()
    {
        UsePoint({24, 84, 97, 8});
        InstallSettingsSections(Model(), context, colours, scrollLinesBox);
        images.sizes.insert({{"/Enable.png", {10, 9}},
                             {"/Disable.png", {10, 9}},
                             {"/DPISetting/BK-DPIValue.png", {44, 18}},
                             {"/MouseAttribute/ScrollSpeed/ScrollLines.png", {48, 20}}});
        view.Clear();
    }

    // Clicks the header of a section of the left or the right panel where it is now.
    void Toggle(bool left, std::size_t index)
    {
        const Rect header = left ? Model().Left().Stack().HeaderArea(index) : Model().Right().Stack().HeaderArea(index);
        Model().Press({header.left + 5, header.top + 5});
    }
    void ToggleRight(RightPanel::SectionIndex section) { Toggle(false, section); }

    // Draws the whole window into a fresh recording.
    RecordingCanvas& Drawn()
    {
        canvas.Clear();
        canvas.sizes = images.sizes;
        Model().Draw(canvas);
        return canvas;
    }

    ProfileRecord& Current() { return records.Current; }

    RecordingColourPicker colours;
    RecordingEditBox scrollLinesBox;
    RecordingCanvas canvas;
};

} // namespace veldrane::test
