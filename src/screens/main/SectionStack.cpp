#include "screens/main/SectionStack.h"

#include "screens/main/MainWindowLayout.h"
#include "screens/main/PanelSection.h"

namespace veldrane {

SectionStack::SectionStack(Rect viewport, Point firstHeader, int headerWidth, int gap)
    : m_viewport(viewport), m_firstHeader(firstHeader), m_headerWidth(headerWidth), m_gap(gap)
{}

void SectionStack::AddRow(int headerHeight, std::string_view title, std::unique_ptr<PanelSection> section)
{
    m_rows.push_back({headerHeight, std::string(title), std::move(section), false});
}

void SectionStack::ReplaceSection(std::size_t row, std::unique_ptr<PanelSection> section)
{
    if (row < m_rows.size() && section) {
        m_rows[row].section = std::move(section);
    }
}

PanelSection* SectionStack::Section(std::size_t row) const
{
    return row < m_rows.size() ? m_rows[row].section.get() : nullptr;
}

std::string_view SectionStack::Title(std::size_t row) const
{
    if (row >= m_rows.size()) {
        return {};
    }
    return m_rows[row].section ? m_rows[row].section->Title() : std::string_view(m_rows[row].title);
}

bool SectionStack::IsOpen(std::size_t row) const
{
    return row < m_rows.size() && m_rows[row].open;
}

bool SectionStack::Toggle(std::size_t row)
{
    if (row >= m_rows.size() || !m_rows[row].section) {
        return false;
    }
    m_rows[row].open = !m_rows[row].open;
    if (!m_rows[row].open) {
        m_rows[row].section->Unhover();
        m_rows[row].section->CloseLists();
    }
    return true;
}

void SectionStack::ShutAll()
{
    for (auto& row : m_rows) {
        if (row.open && row.section) {
            row.section->Unhover();
            row.section->CloseLists();
        }
        row.open = false;
    }
}

int SectionStack::UnscrolledTop(std::size_t row) const
{
    int top = m_firstHeader.y;
    for (std::size_t i = 0; i < row && i < m_rows.size(); ++i) {
        top += m_rows[i].headerHeight + m_gap;
        if (m_rows[i].open && m_rows[i].section) {
            top += m_rows[i].section->ContentHeight();
        }
    }
    return top;
}

Rect SectionStack::HeaderArea(std::size_t row) const
{
    int top = UnscrolledTop(row) - m_scrollOffset;
    int height = row < m_rows.size() ? m_rows[row].headerHeight : 0;
    return {m_firstHeader.x, top, m_firstHeader.x + m_headerWidth, top + height};
}

Point SectionStack::ContentOrigin(std::size_t row) const
{
    Rect header = HeaderArea(row);
    return {header.left, header.bottom};
}

Rect SectionStack::ContentArea(std::size_t row) const
{
    Point origin = ContentOrigin(row);
    int height = (row < m_rows.size() && m_rows[row].section) ? m_rows[row].section->ContentHeight() : 0;
    return {origin.x, origin.y, m_viewport.right, origin.y + height};
}

int SectionStack::TotalHeight() const
{
    if (m_rows.empty()) {
        return 0;
    }
    std::size_t last = m_rows.size() - 1;
    int bottom = UnscrolledTop(last) + m_rows[last].headerHeight;
    if (m_rows[last].open && m_rows[last].section) {
        bottom += m_rows[last].section->ContentHeight();
    }
    return bottom - m_firstHeader.y;
}

std::optional<std::size_t> SectionStack::HeaderAt(Point p) const
{
    if (!m_viewport.Contains(p)) {
        return std::nullopt;
    }
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (HeaderArea(row).Contains(p)) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> SectionStack::OpenContentAt(Point p) const
{
    if (!m_viewport.Contains(p)) {
        return std::nullopt;
    }
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].open && m_rows[row].section && ContentArea(row).Contains(p)) {
            return row;
        }
    }
    return std::nullopt;
}

void SectionStack::Draw(SkinCanvas& canvas, std::optional<std::size_t> hoveredHeader, Colour textColour) const
{
    canvas.SetClip(m_viewport);
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        Rect header = HeaderArea(row);
        Rect wholeRow = header;
        if (m_rows[row].open && m_rows[row].section) {
            wholeRow.bottom = ContentArea(row).bottom;
        }
        if (!wholeRow.Intersects(m_viewport)) {
            continue;
        }
        bool over = hoveredHeader == row;
        std::string_view picture = m_rows[row].open ? (over ? kOpenSectionHeaderOver : kOpenSectionHeaderNormal)
                                                    : (over ? kSectionHeaderOver : kSectionHeaderNormal);
        canvas.DrawImage(picture, header.TopLeft());
        Rect titleArea{header.left + kTitleIndent, header.top, header.right, header.top + kHeaderPictureHeight};
        canvas.DrawText(titleArea, Title(row), FontRole::Title, textColour, TextAlign::Left);
        if (m_rows[row].open && m_rows[row].section) {
            m_rows[row].section->Draw(canvas, ContentOrigin(row));
        }
    }
    canvas.SetClip(std::nullopt);
}

} // namespace veldrane
