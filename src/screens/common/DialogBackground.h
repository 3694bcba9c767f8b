#pragma once

#include <string_view>

#include "ports/Geometry.h"

namespace veldrane {

class MessageSink;
class SkinCanvas;
class SkinImageSizes;

// The background picture of a skinned dialog, which gives the dialog its size. A missing picture
// is reported as "error" under a title naming the dialog; the dialog then keeps a size that still
// holds its OK, Cancel and close areas, so it can always be closed.
class DialogBackground
{
public:
    DialogBackground(std::string_view path, std::string_view failureTitle, Size fallbackSize);

    // Looks the picture up; shows the failure message and returns false when it is missing.
    bool Open(SkinImageSizes& sizes, MessageSink& messages);

    bool Loaded() const { return m_loaded; }
    Size WindowSize() const { return m_size; }
    void Draw(SkinCanvas& canvas) const;

private:
    std::string_view m_path;
    std::string_view m_failureTitle;
    Size m_size;
    bool m_loaded = false;
};

} // namespace veldrane
