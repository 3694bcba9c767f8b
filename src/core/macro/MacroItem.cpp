#include "core/macro/MacroItem.h"

#include <algorithm>

#include "core/ini/IniFile.h"

namespace veldrane {

namespace {

std::string RemoveAll(std::string text, std::string_view part)
{
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
    return text;
}

bool Holds(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

MacroItem MacroItem::Press(std::string_view keyName)
{
    return MacroItem(std::string(keyName) + std::string(kPressMarker));
}

MacroItem MacroItem::Release(std::string_view keyName)
{
    return MacroItem(std::string(keyName) + std::string(kReleaseMarker));
}

MacroItem MacroItem::Delay(long milliseconds)
{
    return MacroItem(std::to_string(milliseconds) + std::string(kDelaySuffix));
}

MacroItemKind MacroItem::Kind() const
{
    if (Holds(m_text, kPressMarker)) {
        return MacroItemKind::Press;
    }
    if (Holds(m_text, kReleaseMarker)) {
        return MacroItemKind::Release;
    }
    if (IsDelay()) {
        return MacroItemKind::Delay;
    }
    return MacroItemKind::Other;
}

bool MacroItem::IsEvent() const
{
    const MacroItemKind kind = Kind();
    return kind == MacroItemKind::Press || kind == MacroItemKind::Release;
}

std::string MacroItem::KeyName() const
{
    switch (Kind()) {
    case MacroItemKind::Press:
        return RemoveAll(m_text, kPressMarker);
    case MacroItemKind::Release:
        return RemoveAll(m_text, kReleaseMarker);
    default:
        return m_text;
    }
}

long MacroItem::DelayMilliseconds() const
{
    // A negative wait would reach the release bit of the event byte; the mouse cannot wait less
    // than nothing.
    return std::max(0, ParseDecimal(RemoveAll(m_text, kDelaySuffix)));
}

} // namespace veldrane
