#include "screens/common/PaintedList.h"

#include <algorithm>
#include <utility>

namespace veldrane {

PaintedList::PaintedList(Rect area, int rowHeight, std::vector<std::string> entries)
    : m_area(area), m_rowHeight(std::max(rowHeight, 1)), m_entries(std::move(entries))
{}

std::size_t PaintedList::VisibleRows() const
{
    const int inside = m_area.Height() - 2 * kBorder;
    return inside > 0 ? static_cast<std::size_t>(inside / m_rowHeight) : 0;
}

Rect PaintedList::RowRect(std::size_t index) const
{
    if (index >= m_entries.size() || index < m_firstVisible || index - m_firstVisible >= VisibleRows()) {
        return {};
    }
    const int top = m_area.top + kBorder + static_cast<int>(index - m_firstVisible) * m_rowHeight;
    const int right = m_area.right - kBorder - (Scrolls() ? kScrollThumbWidth : 0);
    return {m_area.left + kBorder, top, right, top + m_rowHeight};
}

Rect PaintedList::ScrollThumb() const
{
    if (!Scrolls()) {
        return {};
    }
    const int inside = m_area.Height() - 2 * kBorder;
    const auto count = static_cast<long>(m_entries.size());
    const int height = std::max(kScrollThumbWidth, static_cast<int>(inside * static_cast<long>(VisibleRows()) / count));
    const int top = m_area.top + kBorder + static_cast<int>(inside * static_cast<long>(m_firstVisible) / count);
    const int bottom = std::min(top + height, m_area.bottom - kBorder);
    return {m_area.right - kBorder - kScrollThumbWidth, top, m_area.right - kBorder, bottom};
}

std::optional<std::size_t> PaintedList::RowAt(Point p) const
{
    const Rect inside{m_area.left + kBorder, m_area.top + kBorder, m_area.right - kBorder, m_area.bottom - kBorder};
    if (!inside.Contains(p)) {
        return std::nullopt;
    }
    const std::size_t index = m_firstVisible + static_cast<std::size_t>((p.y - inside.top) / m_rowHeight);
    if (RowRect(index).IsEmpty()) {
        return std::nullopt;
    }
    return index;
}

bool PaintedList::HighlightAt(Point p)
{
    const std::optional<std::size_t> row = RowAt(p);
    if (!row || row == m_highlighted) {
        return false;
    }
    m_highlighted = row;
    return true;
}

bool PaintedList::Highlight(std::size_t index)
{
    if (index >= m_entries.size() || m_highlighted == index) {
        return false;
    }
    m_highlighted = index;
    const std::size_t visible = VisibleRows();
    if (index < m_firstVisible) {
        m_firstVisible = index;
    } else if (visible > 0 && index >= m_firstVisible + visible) {
        m_firstVisible = index + 1 - visible;
    }
    return true;
}

Rect PaintedList::TextArea(std::size_t index) const
{
    const Rect row = RowRect(index);
    if (!m_padding) {
        return {row.left + kTextIndent, row.top, row.right, row.bottom};
    }
    const int right = row.right - *m_padding - (OpensSubmenu(index) ? kArrowRoom : 0);
    return {row.left + *m_padding, row.top, right, row.bottom};
}

bool PaintedList::ScrollBy(int rows)
{
    const std::size_t visible = VisibleRows();
    const std::size_t last = m_entries.size() > visible ? m_entries.size() - visible : 0;
    const long wanted = static_cast<long>(m_firstVisible) + rows;
    const std::size_t first = static_cast<std::size_t>(std::clamp(wanted, 0L, static_cast<long>(last)));
    if (first == m_firstVisible) {
        return false;
    }
    m_firstVisible = first;
    return true;
}

void PaintedList::Draw(SkinCanvas& canvas, FontRole font, const ListColours& colours) const
{
    canvas.FillRect(m_area, colours.border);
    canvas.FillRect({m_area.left + kBorder, m_area.top + kBorder, m_area.right - kBorder, m_area.bottom - kBorder},
                    colours.background);
    for (std::size_t index = m_firstVisible; index < m_entries.size(); ++index) {
        const Rect row = RowRect(index);
        if (row.IsEmpty()) {
            break;
        }
        const bool highlighted = m_highlighted == index;
        if (highlighted) {
            canvas.FillRect(row, colours.highlightBackground);
        }
        const Colour text = highlighted ? colours.highlightText : colours.text;
        canvas.DrawText(TextArea(index), m_entries[index], font, text,
                        m_elided ? TextAlign::LeftElided : TextAlign::Left);
        if (OpensSubmenu(index)) {
            // A triangle pointing right, one column at a time, as tall as the text's x-height.
            const int right = row.right - m_padding.value_or(kTextIndent);
            const int middle = row.top + row.Height() / 2;
            for (int column = 0; column < kArrowWidth; ++column) {
                const int half = kArrowWidth - 1 - column;
                const int x = right - kArrowWidth + column;
                canvas.FillRect({x, middle - half - 1, x + 1, middle + half}, text);
            }
        }
    }
    if (Scrolls()) {
        canvas.FillRect(ScrollThumb(), colours.scrollThumb);
    }
}

} // namespace veldrane
