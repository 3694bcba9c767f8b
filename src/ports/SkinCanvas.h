#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "ports/Geometry.h"

namespace veldrane {

// 8-bit red, green, blue and alpha; alpha 255 is opaque.
struct Colour
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

// The fonts a window draws with; which face and size each is comes from the language's font table.
enum class FontRole
{
    Text,         // the main window's text font
    Title,        // the main window's title font (section headers)
    Small,        // the main window's small font
    Dialog,       // the help panel and the capture dialogs
    SingleDialog, // the single-key dialog
    MacroManager  // the macro manager
};

// Text is drawn on one line, centred vertically in its rectangle and aligned horizontally as told.
enum class TextAlign
{
    Left,
    Centre,
    Right,
    // Centred; a text too wide for its area is cut and ends with "…", and the window shows the
    // whole text as the area's tooltip.
    CentreElided,
    // The same, aligned left.
    LeftElided
};

// Answers the size of a skin picture; nothing when the picture is missing or does not load.
// Paths are relative to the skin directory and spelled as the windows name them ("/main.png").
class SkinImageSizes
{
public:
    virtual ~SkinImageSizes() = default;

    virtual std::optional<Size> ImageSize(std::string_view skinRelativePath) = 0;
};

// What the models draw with. Coordinates are window pixels; texts are UTF-8.
class SkinCanvas : public SkinImageSizes
{
public:
    // Paints the picture at `at` in its own size with its transparency; false, and nothing
    // painted, when the picture is missing.
    virtual bool DrawImage(std::string_view skinRelativePath, Point at) = 0;
    // Paints the picture's rows `fromRow` to `toRow` (exclusive, in its own pixels) at `at`,
    // stretched or shrunk to `height` pixels: a frame grows by repeating a row of its sides.
    // False, and nothing painted, when the picture is missing.
    virtual bool DrawImageRows(std::string_view skinRelativePath, Point at, int fromRow, int toRow, int height) = 0;
    virtual void DrawText(Rect area, std::string_view utf8, FontRole font, Colour colour, TextAlign align) = 0;
    virtual void FillRect(Rect area, Colour colour) = 0;
    // Limits everything drawn afterwards to `clip` (window pixels); std::nullopt lifts the limit.
    virtual void SetClip(std::optional<Rect> clip) = 0;
};

} // namespace veldrane
