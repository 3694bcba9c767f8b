#pragma once

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"
#include "screens/main/MainWindowLayout.h"

namespace veldrane {

// The keyboard focus of a painted dialog, in the skin's red as in the main window: a ring just
// outside `area`.
inline void DrawFocusRing(SkinCanvas& canvas, Rect area)
{
    const int w = kFocusRingWidth;
    const Rect r{area.left - w, area.top - w, area.right + w, area.bottom + w};
    for (const Rect side : {Rect{r.left, r.top, r.right, r.top + w}, Rect{r.left, r.bottom - w, r.right, r.bottom},
                            Rect{r.left, r.top, r.left + w, r.bottom}, Rect{r.right - w, r.top, r.right, r.bottom}}) {
        canvas.FillRect(side, kFocusRingColour);
    }
}

} // namespace veldrane
