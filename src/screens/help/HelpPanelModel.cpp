#include "screens/help/HelpPanelModel.h"

#include <system_error>

#include "core/text/HelpDialogTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/SkinCanvas.h"

namespace veldrane {
namespace {

constexpr std::string_view kBackground = "/Help/HelpWindow.png";
// The lines are light on the skin's dark panel.
constexpr Colour kLineColour{230, 230, 230, 255};
// Without its picture the panel is a plain dark card with a lighter edge, so that its lines stay
// readable and the area it takes from the main window can be seen.
constexpr Colour kBarePanel{24, 24, 28, 255};
constexpr Colour kBareEdge{96, 96, 104, 255};

constexpr std::string_view kUpdater64 = "Update/X64/FwUpdate.exe";
constexpr std::string_view kUpdater32 = "Update/X86/FwUpdate.exe";

// The updater lies outside this program, so a user who runs it without the updater installed
// is told where it was looked for.
struct UpdaterMessages
{
    std::string_view missing;
    std::string_view notStarted;
};
constexpr UpdaterMessages kUpdaterMessagesEnglish{"The update program was not found:\n",
                                                  "The update program could not be started:\n"};
constexpr UpdaterMessages kUpdaterMessagesSimplified{"找不到更新程序：\n", "无法启动更新程序：\n"};
constexpr UpdaterMessages kUpdaterMessagesTraditional{"找不到更新程式：\n", "無法啟動更新程式：\n"};

Rect Offset(Rect area, Point origin)
{
    return area.Offset(origin.x, origin.y);
}

} // namespace

HelpPanelModel::HelpPanelModel(Language language, Shell& shell, MessageSink& messages, SkinImageSizes& images,
                               std::filesystem::path executableDirectory)
    : m_language(language), m_texts(HelpDialogTextsFor(language)), m_shell(shell), m_messages(messages),
      m_images(images), m_executableDirectory(std::move(executableDirectory))
{}

void HelpPanelModel::Open()
{
    m_open = true;
    auto size = m_images.ImageSize(kBackground);
    m_hasPicture = size.has_value();
    m_size = size.value_or(kFallbackSize);
    // A missing picture stays missing for the run: it is reported the first time only.
    if (!m_hasPicture && !m_missingReported) {
        m_missingReported = true;
        m_messages.ShowMessage(kImageError, kHelpDialogImageFailed);
    }
}

void HelpPanelModel::Close()
{
    m_open = false;
}

HelpPanelModel::PressResult HelpPanelModel::Press(Point p)
{
    if (!m_open) {
        return PressResult::None;
    }
    if (kWebLine.Contains(p)) {
        m_shell.OpenUrl(m_texts.webAddress);
        return PressResult::None;
    }
    if (kUpdateLine.Contains(p)) {
        return PressResult::UpdateRequested;
    }
    return PressResult::None;
}

void HelpPanelModel::Draw(SkinCanvas& canvas, Point origin) const
{
    if (!m_hasPicture || !canvas.DrawImage(kBackground, origin)) {
        const Rect area = Rect::At(origin, m_size);
        canvas.FillRect(area, kBareEdge);
        canvas.FillRect({area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, kBarePanel);
    }
    // A web address longer than its line ends in "…", the whole address in its tooltip.
    canvas.DrawText(Offset(kWebLine, origin), m_texts.webAddress, FontRole::Dialog, kLineColour,
                    TextAlign::CentreElided);
    canvas.DrawText(Offset(kUpdateLine, origin), m_texts.update, FontRole::Dialog, kLineColour, TextAlign::Centre);
    canvas.DrawText(Offset(kVersionLine, origin), m_texts.version, FontRole::Dialog, kLineColour, TextAlign::Centre);
}

std::filesystem::path HelpPanelModel::UpdaterPath(const std::filesystem::path& executableDirectory,
                                                  ProcessorArchitecture architecture)
{
    bool wide = architecture == ProcessorArchitecture::X86_64 || architecture == ProcessorArchitecture::Arm64;
    return executableDirectory / std::filesystem::path(wide ? kUpdater64 : kUpdater32);
}

void HelpPanelModel::StartUpdater()
{
    std::filesystem::path updater = UpdaterPath(m_executableDirectory, m_shell.Architecture());
    const UpdaterMessages& texts =
        ByLanguage(m_language, kUpdaterMessagesEnglish, kUpdaterMessagesSimplified, kUpdaterMessagesTraditional);
    std::error_code error;
    if (!std::filesystem::is_regular_file(updater, error)) {
        m_messages.ShowMessage(std::string(texts.missing) + updater.string(), kApplicationTitle);
        return;
    }
    if (!m_shell.StartDetached(updater)) {
        m_messages.ShowMessage(std::string(texts.notStarted) + updater.string(), kApplicationTitle);
    }
}

} // namespace veldrane
