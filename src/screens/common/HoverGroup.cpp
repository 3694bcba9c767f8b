#include "screens/common/HoverGroup.h"

namespace veldrane {

HoverGroup::HoverGroup(std::size_t count) : m_over(count, false) {}

std::vector<std::size_t> HoverGroup::Update(std::optional<std::size_t> hit)
{
    if (hit && *hit >= m_over.size()) {
        hit.reset();
    }
    std::vector<std::size_t> changed;
    if (hit) {
        if (m_over[*hit]) {
            return changed; // already showing its "-over" picture: nothing to swap
        }
        m_over[*hit] = true;
        changed.push_back(*hit);
    }
    for (std::size_t area = 0; area < m_over.size(); ++area) {
        if (m_over[area] && (!hit || area != *hit)) {
            m_over[area] = false;
            changed.push_back(area);
        }
    }
    return changed;
}

bool HoverGroup::IsOver(std::size_t area) const
{
    return area < m_over.size() && m_over[area];
}

} // namespace veldrane
