#pragma once

namespace veldrane {

// The ring of a round dial: the points from `inner` to `outer` pixels from its centre, both edges
// included. Only a press on the ring chooses; a drag that started there chooses by direction alone.
struct DialRing
{
    int inner;
    int outer;

    // Whether the point (dx, dy) pixels from the centre lies on the ring, for any int offsets.
    bool Contains(int dx, int dy) const;
};

} // namespace veldrane
