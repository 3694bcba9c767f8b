#include "screens/common/DialogBackground.h"

#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/SkinCanvas.h"

namespace veldrane {
namespace {

// What a dialog without its picture shows: the grey its fields are drawn on.
constexpr Colour kBareDialog{0x28, 0x28, 0x28};

} // namespace

DialogBackground::DialogBackground(std::string_view path, std::string_view failureTitle, Size fallbackSize)
    : m_path(path), m_failureTitle(failureTitle), m_size(fallbackSize)
{}

bool DialogBackground::Open(SkinImageSizes& sizes, MessageSink& messages)
{
    if (const auto size = sizes.ImageSize(m_path)) {
        m_size = *size;
        m_loaded = true;
        return true;
    }
    m_loaded = false;
    messages.ShowMessage(kImageError, m_failureTitle);
    return false;
}

void DialogBackground::Draw(SkinCanvas& canvas) const
{
    if (!m_loaded || !canvas.DrawImage(m_path, {0, 0})) {
        canvas.FillRect(Rect::At({0, 0}, m_size), kBareDialog);
    }
}

} // namespace veldrane
