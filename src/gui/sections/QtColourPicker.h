#pragma once

#include "ports/ColourPicker.h"

class QWidget;

namespace veldrane {

// The colour dialog of the desktop (QColorDialog), modal over `parent`.
class QtColourPicker : public ColourPicker
{
public:
    explicit QtColourPicker(QWidget& parent) : m_parent(parent) {}

    std::optional<Colour> PickColour() override;

private:
    QWidget& m_parent;
};

} // namespace veldrane
