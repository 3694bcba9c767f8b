#include "gui/sections/QtColourPicker.h"

#include <QColorDialog>

namespace veldrane {

std::optional<Colour> QtColourPicker::PickColour()
{
    // The dialog's own default start colour: the caller's colour is not preselected.
    const QColor chosen = QColorDialog::getColor(QColor(Qt::white), &m_parent);
    if (!chosen.isValid()) {
        return std::nullopt; // Cancel
    }
    const QColor rgb = chosen.toRgb();
    return Colour{static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                  static_cast<std::uint8_t>(rgb.blue()), 255};
}

} // namespace veldrane
