#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

class PanelSection;

// The layout both panels of the main window share: rows of headers stacked from a first
// position with a fixed gap between them, where an open row shows its section's content right
// under its header and pushes the later rows down. The stack may be scrolled up by an offset;
// everything is drawn and hit-tested inside the panel's viewport only.
class SectionStack
{
public:
    static constexpr int kHeaderPictureHeight = 20;
    static constexpr int kTitleIndent = 22; // past the open/shut mark at the header's left

    SectionStack(Rect viewport, Point firstHeader, int headerWidth, int gap);

    // A row with a folding section, or (section null) a row that only acts when clicked.
    void AddRow(int headerHeight, std::string_view title, std::unique_ptr<PanelSection> section);
    // Puts a section with content in place of the one a row had; the open state is kept.
    void ReplaceSection(std::size_t row, std::unique_ptr<PanelSection> section);

    std::size_t RowCount() const { return m_rows.size(); }
    PanelSection* Section(std::size_t row) const;
    std::string_view Title(std::size_t row) const;

    bool IsOpen(std::size_t row) const;
    // Folds a row with a section open or shut; false for a row without one.
    bool Toggle(std::size_t row);
    void ShutAll();

    Rect HeaderArea(std::size_t row) const;
    Point ContentOrigin(std::size_t row) const;
    Rect ContentArea(std::size_t row) const;
    // From the first header's top to the last row's bottom, unscrolled.
    int TotalHeight() const;

    // The row whose header is under p, where p lies in the viewport.
    std::optional<std::size_t> HeaderAt(Point p) const;
    // The open row whose content is under p, where p lies in the viewport.
    std::optional<std::size_t> OpenContentAt(Point p) const;

    int ScrollOffset() const { return m_scrollOffset; }
    void SetScrollOffset(int offset) { m_scrollOffset = offset; }
    const Rect& Viewport() const { return m_viewport; }

    // Headers (the hovered one with its "-over" picture) and open contents, clipped to the
    // viewport.
    void Draw(SkinCanvas& canvas, std::optional<std::size_t> hoveredHeader, Colour textColour) const;

private:
    struct Row
    {
        int headerHeight;
        std::string title;
        std::unique_ptr<PanelSection> section;
        bool open = false;
    };

    int UnscrolledTop(std::size_t row) const;

    Rect m_viewport;
    Point m_firstHeader;
    int m_headerWidth;
    int m_gap;
    int m_scrollOffset = 0;
    std::vector<Row> m_rows;
};

} // namespace veldrane
