#pragma once

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/SkinCanvas.h"

namespace veldrane::test {

// Records every drawing call in order, with what the tests look at. Pictures exist when given a
// size in `sizes`; a picture without one is missing, so DrawImage records the attempt and reports
// false. Clipping is not recorded.
class RecordingCanvas : public SkinCanvas
{
public:
    struct Image
    {
        std::string path;
        Point at;
        // A part of the picture: its rows from `fromRow` to `toRow`, drawn `height` pixels high.
        int fromRow = 0;
        int toRow = -1;
        int height = -1;
    };
    struct Text
    {
        Rect area;
        std::string text;
        FontRole font;
        Colour colour;
        TextAlign align;
    };
    struct Fill
    {
        Rect area;
        Colour colour;
    };

    std::optional<Size> ImageSize(std::string_view path) override
    {
        const auto found = sizes.find(path);
        return found == sizes.end() ? std::nullopt : std::optional(found->second);
    }
    bool DrawImage(std::string_view path, Point at) override
    {
        images.push_back({std::string(path), at, 0, -1, -1});
        return sizes.contains(path);
    }
    // Recorded as the picture drawn at `at`, with the rows it took.
    bool DrawImageRows(std::string_view path, Point at, int fromRow, int toRow, int height) override
    {
        images.push_back({std::string(path), at, fromRow, toRow, height});
        return sizes.contains(path);
    }
    void DrawText(Rect area, std::string_view utf8, FontRole font, Colour colour, TextAlign align) override
    {
        texts.push_back({area, std::string(utf8), font, colour, align});
    }
    void FillRect(Rect area, Colour colour) override { fills.push_back({area, colour}); }
    void SetClip(std::optional<Rect>) override {}

    // The drawn pictures with this path, in drawing order.
    std::vector<Image> ImagesAt(std::string_view path) const
    {
        std::vector<Image> found;
        std::ranges::copy_if(images, std::back_inserter(found), [&](const Image& image) { return image.path == path; });
        return found;
    }
    // The first drawn text equal to `text`, if any.
    std::optional<Text> FindText(std::string_view text) const
    {
        const auto found = std::ranges::find(texts, text, &Text::text);
        return found == texts.end() ? std::nullopt : std::optional(*found);
    }
    void Clear()
    {
        images.clear();
        texts.clear();
        fills.clear();
    }

    std::map<std::string, Size, std::less<>> sizes;
    std::vector<Image> images;
    std::vector<Text> texts;
    std::vector<Fill> fills;
};

} // namespace veldrane::test
