#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "ports/Shell.h"
#include "screens/common/FocusControl.h"

namespace veldrane {

class MessageSink;
class SkinCanvas;
class SkinImageSizes;
class TextCodec;
struct HelpDialogTexts;

// The help panel (CHelpDialog) under the help button: the maker's web address, the update line
// and the version line on "/Help/HelpWindow.png", placed at (786, 25) of the main window, and
// under the picture a choice of the interface language. Points given to Press are panel pixels;
// the panel closes from the main window (the help button, or a click elsewhere).
class HelpPanelModel
{
public:
    static constexpr Point kPanelOrigin{786, 25};
    static constexpr Size kFallbackSize{166, 77};
    static constexpr Rect kWebLine{0, 0, 166, 25};
    static constexpr Rect kUpdateLine{0, 26, 166, 49};
    static constexpr Rect kVersionLine{0, 50, 166, 77};
    // The language rows follow the picture, one for each language, English first.
    static constexpr int kLanguageRowHeight = 22;
    static constexpr std::size_t kLanguageCount = 3;

    enum class PressResult
    {
        None,
        UpdateRequested, // the update line: the main window starts the updater (message 0xB13)
    };

    HelpPanelModel(Language language, Shell& shell, MessageSink& messages, SkinImageSizes& images,
                   std::filesystem::path executableDirectory);

    bool IsOpen() const { return m_open; }
    // Opens the panel; a missing background picture is reported with "error" (once a run) and the
    // panel is then drawn plain, with its texts.
    void Open();
    void Close();

    // The picture and the language rows under it.
    Size PanelSize() const
    {
        return {m_size.width, m_size.height + static_cast<int>(kLanguageCount) * kLanguageRowHeight};
    }
    Rect PanelArea() const { return Rect::At(kPanelOrigin, PanelSize()); }

    PressResult Press(Point p);

    Language InterfaceLanguage() const { return m_language; }
    // The row of `language` under the picture, in panel pixels.
    Rect LanguageRow(Language language) const;
    // Where the choice of language is kept: "Lan" of section "Skins" in the current profile's
    // label file (`labelFile` is read afresh at each choice), which `codec` reads and writes in
    // the encoding it has; `changed` hears of a language written, for every open window to take.
    void KeepLanguageIn(const std::filesystem::path& labelFile, const TextCodec& codec,
                        std::function<void(Language)> changed);
    // A language chosen on the panel: "EN", "CHS" or "CHT" written to the label file, then
    // `changed`. A file that cannot be written is reported and the language stays as it was:
    // false then, and when the language was already the one chosen.
    bool ChooseLanguage(Language language);

    // The keyboard, once the panel has it: Tab, Shift+Tab and the arrows walk the web line, the
    // update line and the languages; Return and Space act as a click. The controls in that order.
    std::vector<FocusControl> Controls() const;
    std::optional<std::size_t> FocusIndex() const;
    void SetKeyboardFocus(bool focused) { m_keyboardFocus = focused; }
    void SetFocus(std::size_t index);
    struct KeyResult
    {
        bool handled = false; // a key the panel does not know goes on to the main window
        // Return or Space: a click here, in panel pixels, which the main window takes as a press
        // on the panel (HelpPanelPress).
        std::optional<Point> press;
    };
    KeyResult KeyPressed(WindowKey key);
    // Where a click presses control `index` of Controls(), for the keyboard and a screen reader.
    Point CentreOf(std::size_t index) const;

    // Draws the panel with its top-left corner at `origin`.
    void Draw(SkinCanvas& canvas, Point origin) const;

    // The updater that fits the processor, beside the executable: "Update/X64/FwUpdate.exe" for
    // 64-bit processors (x86-64 and ARM), "Update/X86/FwUpdate.exe" for every other.
    static std::filesystem::path UpdaterPath(const std::filesystem::path& executableDirectory,
                                             ProcessorArchitecture architecture);
    // Starts the updater detached. A missing updater, or one that does not start, is reported
    // with a message that names its path.
    void StartUpdater();

private:
    Language m_language;
    const HelpDialogTexts* m_texts;
    Shell& m_shell;
    MessageSink& m_messages;
    SkinImageSizes& m_images;
    std::filesystem::path m_executableDirectory;
    bool m_open = false;
    bool m_hasPicture = false;
    bool m_missingReported = false;
    Size m_size = kFallbackSize; // the picture's
    const std::filesystem::path* m_labelFile = nullptr;
    const TextCodec* m_codec = nullptr;
    std::function<void(Language)> m_languageChanged;
    bool m_keyboardFocus = false;
    std::size_t m_focus = 0;
};

} // namespace veldrane
