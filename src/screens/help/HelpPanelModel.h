#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "ports/Shell.h"

namespace veldrane {

class MessageSink;
class SkinCanvas;
class SkinImageSizes;
struct HelpDialogTexts;

// The help panel (CHelpDialog) under the help button: the maker's web address, the update line
// and the version line on "/Help/HelpWindow.png", placed at (786, 25) of the main window. Points
// given to Press are panel pixels; the panel closes from the main window (the help button, or a
// click elsewhere).
class HelpPanelModel
{
public:
    static constexpr Point kPanelOrigin{786, 25};
    static constexpr Size kFallbackSize{166, 77};
    static constexpr Rect kWebLine{0, 0, 166, 25};
    static constexpr Rect kUpdateLine{0, 26, 166, 49};
    static constexpr Rect kVersionLine{0, 50, 166, 77};

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

    Size PanelSize() const { return m_size; }
    Rect PanelArea() const { return Rect::At(kPanelOrigin, m_size); }

    PressResult Press(Point p);

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
    const HelpDialogTexts& m_texts;
    Shell& m_shell;
    MessageSink& m_messages;
    SkinImageSizes& m_images;
    std::filesystem::path m_executableDirectory;
    bool m_open = false;
    bool m_hasPicture = false;
    bool m_missingReported = false;
    Size m_size = kFallbackSize;
};

} // namespace veldrane
