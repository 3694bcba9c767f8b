#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace veldrane {

// The hover flags of one group of hot areas (the title-bar buttons, the bottom row, the menus):
// a flag is set while its area shows its "-over" picture. Entering an area sets its flag and
// clears the others; leaving every area of the group clears them all. Each change of a flag is
// one picture to repaint, so a picture is swapped exactly once per change.
class HoverGroup
{
public:
    explicit HoverGroup(std::size_t count);

    // The pointer is over area `hit` of this group, or over none of them. Returns the areas whose
    // flag changed, the newly entered one first.
    std::vector<std::size_t> Update(std::optional<std::size_t> hit);

    bool IsOver(std::size_t area) const;
    std::size_t Count() const { return m_over.size(); }

private:
    std::vector<bool> m_over;
};

} // namespace veldrane
