#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// The colours a list box is painted in: the highlighted row and the scroll thumb in the skin's
// red accent.
struct ListColours
{
    Colour text;
    Colour background;
    Colour border{0, 0, 0};
    Colour highlightText{255, 255, 255};
    Colour highlightBackground{176, 24, 24};
    Colour scrollThumb{232, 51, 43};
};

// A list box the program paints itself: a one-pixel border around rows of one height, the rows
// that fit shown from the first visible one, and one row highlighted under the pointer. The
// menus, the modifier list and the macro list of the dialogs are all of this kind. Coordinates
// are those of the window the list lies in. A list with more entries than rows shows a thin
// scroll thumb at its right edge, beside the rows.
class PaintedList
{
public:
    static constexpr int kBorder = 1;
    // Room left of a row's text, as the system's list boxes leave it.
    static constexpr int kTextIndent = 2;
    static constexpr int kScrollThumbWidth = 4;
    // The submenu arrow of a marked row: a triangle this wide, pointing right, at the row's right
    // end inside its padding; a marked row's text stops this far short of the padding.
    static constexpr int kArrowWidth = 4;
    static constexpr int kArrowRoom = 12;

    PaintedList(Rect area, int rowHeight, std::vector<std::string> entries);

    Rect Area() const { return m_area; }
    // Puts the list at `area`, its rows as they were.
    void Move(Rect area) { m_area = area; }
    std::size_t Count() const { return m_entries.size(); }
    const std::string& Entry(std::size_t index) const { return m_entries.at(index); }

    // How many rows fit inside the border.
    std::size_t VisibleRows() const;
    std::size_t FirstVisible() const { return m_firstVisible; }
    // Whether the entries need more rows than fit, so that the scroll thumb shows.
    bool Scrolls() const { return m_entries.size() > VisibleRows(); }
    // The scroll thumb: its height the shown share of the entries, its place the first shown row.
    Rect ScrollThumb() const;
    // The rectangle of a shown row (left of the scroll thumb); empty for a row that is scrolled out or does not exist.
    Rect RowRect(std::size_t index) const;
    // The row under the point; nothing on the border, below the last row or outside the list.
    std::optional<std::size_t> RowAt(Point p) const;

    std::optional<std::size_t> Highlighted() const { return m_highlighted; }
    // Highlights the row under the point, if there is one; true when the highlight moved.
    bool HighlightAt(Point p);
    // Highlights row `index` as the keyboard walks the list; true when the highlight moved.
    bool Highlight(std::size_t index);
    // Scrolls by whole rows (negative: up), kept within the entries; true when it moved.
    bool ScrollBy(int rows);

    // Menus leave `padding` pixels either side of a row's text (other lists kTextIndent at the
    // left only), mark the rows that open a submenu with an arrow, and cut a text too wide for
    // its row with "…" when told that the window had no room for the list's full width.
    void SetTextPadding(int padding) { m_padding = padding; }
    void SetSubmenuRows(std::vector<bool> opensSubmenu) { m_opensSubmenu = std::move(opensSubmenu); }
    bool OpensSubmenu(std::size_t index) const { return index < m_opensSubmenu.size() && m_opensSubmenu[index]; }
    void SetElided(bool elided) { m_elided = elided; }
    bool Elided() const { return m_elided; }
    // Where row `index` draws its text.
    Rect TextArea(std::size_t index) const;

    void Draw(SkinCanvas& canvas, FontRole font, const ListColours& colours) const;

private:
    Rect m_area;
    int m_rowHeight;
    std::vector<std::string> m_entries;
    std::size_t m_firstVisible = 0;
    std::optional<std::size_t> m_highlighted;
    std::optional<int> m_padding;
    std::vector<bool> m_opensSubmenu;
    bool m_elided = false;
};

} // namespace veldrane
