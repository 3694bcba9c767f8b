#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace veldrane {

enum class MacroItemKind
{
    Press,   // key name, three blanks, "Dn"
    Release, // key name, three blanks, "Up"
    Delay,   // decimal milliseconds, one blank, "ms"
    Other,   // any other text: shown and kept, but sends nothing
};

// The markers by which every part of the macro code tells the lines of an event list apart.
inline constexpr std::string_view kPressMarker = "   Dn";
inline constexpr std::string_view kReleaseMarker = "   Up";
inline constexpr std::string_view kDelayMarker = "ms";
inline constexpr std::string_view kDelaySuffix = " ms";

// The names with which the mouse's own buttons stand in an event list.
inline constexpr std::string_view kLeftButtonName = "L-Button";
inline constexpr std::string_view kRightButtonName = "R-Button";
inline constexpr std::string_view kMiddleButtonName = "M-Button";

// One line of a macro's event list, held as the text the user sees and the macro file stores.
class MacroItem
{
public:
    MacroItem() = default;
    explicit MacroItem(std::string text) : m_text(std::move(text)) {}

    static MacroItem Press(std::string_view keyName);
    static MacroItem Release(std::string_view keyName);
    static MacroItem Delay(long milliseconds);

    const std::string& Text() const { return m_text; }

    // A press if the text holds the press marker, else a release if it holds the release
    // marker, else a delay if it holds "ms".
    MacroItemKind Kind() const;
    bool IsEvent() const;
    // Whether the text holds "ms", which is all the manager and the encoder ask of a delay line.
    bool IsDelay() const { return m_text.find(kDelayMarker) != std::string::npos; }

    // The text with the marker of its kind removed: the key name of a press or release.
    std::string KeyName() const;
    // The wait the text stands for: " ms" removed, then the decimal number at its start; 0 when
    // there is none or it is negative.
    long DelayMilliseconds() const;

    friend bool operator==(const MacroItem&, const MacroItem&) = default;

private:
    std::string m_text;
};

} // namespace veldrane
