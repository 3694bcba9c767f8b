#pragma once

#include <QColor>
#include <QRgb>

namespace veldrane {

// The colours of the default skin. The accent is the red family of the dropdown lists, which the
// program paints 250, 250, 250 on 80, 0, 0, so the pictures and the lists belong together.
inline constexpr QRgb kBackdropTop = 0xff1e1e22;
inline constexpr QRgb kBackdropBottom = 0xff141416;
inline constexpr QRgb kPanelTop = 0xff25252a;
inline constexpr QRgb kPanelBottom = 0xff1a1a1e;
inline constexpr QRgb kWell = 0xff0c0c0e;
inline constexpr QRgb kWellEdge = 0xff050506;
inline constexpr QRgb kSteelTop = 0xff34343b;
inline constexpr QRgb kSteelBottom = 0xff1f1f24;
inline constexpr QRgb kSteelOverTop = 0xff4a4a54;
inline constexpr QRgb kSteelOverBottom = 0xff2e2e35;
inline constexpr QRgb kIcon = 0xffa8a8b0;
inline constexpr QRgb kIconOver = 0xfff4f4f6;
inline constexpr QRgb kAccent = 0xffb01818;
inline constexpr QRgb kAccentBright = 0xffe8332b;
inline constexpr QRgb kAccentGlow = 0xffff6a50;
inline constexpr QRgb kAccentDark = 0xff500000;
inline constexpr QRgb kBorderLight = 0x30ffffff;
inline constexpr QRgb kBorderLightOver = 0x60ffffff;
inline constexpr QRgb kShadow = 0x80000000;
// The help panel carries black text, so it is the one light surface of the skin.

inline QColor Colour(QRgb rgba)
{
    return QColor::fromRgba(rgba);
}

inline QColor WithAlpha(QRgb rgba, int alpha)
{
    QColor colour = QColor::fromRgba(rgba);
    colour.setAlpha(alpha);
    return colour;
}

} // namespace veldrane
