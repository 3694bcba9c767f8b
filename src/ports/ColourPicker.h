#pragma once

#include <optional>

#include "ports/SkinCanvas.h"

namespace veldrane {

// The system's standard colour dialog, run modally.
class ColourPicker
{
public:
    virtual ~ColourPicker() = default;

    // Opens the dialog with its default settings and no colour of the caller's preselected; the
    // chosen colour (alpha 255) when the user confirms with OK, nothing on Cancel.
    virtual std::optional<Colour> PickColour() = 0;
};

} // namespace veldrane
