#pragma once

#include <QSize>

#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

class SkinCanvas;

// Draws one picture; number is the family member (a CPI track's value ÷ 2, a dial's position) or,
// for a single picture, its variant (kNormal, kOver, a highlighted row).
using SkinPainter = void (*)(SkinCanvas& canvas, int number);

inline constexpr int kNormal = 0;
inline constexpr int kOver = 1;

// One row of the skin: a picture, or a family of pictures whose path holds "%d" and is drawn for
// every number from first to last.
struct SkinPictureRow
{
    std::string_view path;
    int width;
    int height;
    SkinPainter paint;
    int first;
    int last;
    // The row also gets lit "-over" pictures ("/Enable-over.png" beside "/Enable.png"), which a
    // control shows while the pointer is over it.
    bool lit = false;
};

// One picture to write, with its path relative to the skin folder ("/main.png").
struct SkinPicture
{
    std::string path;
    QSize size;
    SkinPainter paint;
    int number;
    bool over = false; // drawn as the picture, then lit
};

// Every picture of the default skin, row by row, in the order of the windows that use them.
const std::vector<SkinPictureRow>& SkinTable();

// The rows with each family spelled out into its members.
std::vector<SkinPicture> ExpandSkinTable(const std::vector<SkinPictureRow>& rows);

} // namespace veldrane
