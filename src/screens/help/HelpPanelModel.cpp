#include "screens/help/HelpPanelModel.h"

#include <array>
#include <system_error>

#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/HelpDialogTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/SkinCanvas.h"
#include "screens/common/FocusRing.h"

namespace veldrane {
namespace {

constexpr std::string_view kBackground = "/Help/HelpWindow.png";
// The lines are light on the skin's dark panel.
constexpr Colour kLineColour{230, 230, 230, 255};
// Without its picture the panel is a plain dark card with a lighter edge, so that its lines stay
// readable and the area it takes from the main window can be seen.
constexpr Colour kBarePanel{24, 24, 28, 255};
constexpr Colour kBareEdge{96, 96, 104, 255};

// The chosen language's mark, in the skin's red.
constexpr Colour kChosenMark{0xe8, 0x33, 0x2b, 255};
constexpr int kMarkSize = 8;
constexpr int kMarkLeft = 14;

constexpr std::array<Language, HelpPanelModel::kLanguageCount> kLanguages{
    Language::English, Language::SimplifiedChinese, Language::TraditionalChinese};

// "Lan" as the program reads it: "CHS", "CHT", and for English "EN".
std::string_view LanguageCode(Language language)
{
    return ByLanguage<std::string_view>(language, "EN", "CHS", "CHT");
}

std::string_view LanguageName(const HelpDialogTexts& texts, Language language)
{
    return ByLanguage(language, texts.english, texts.simplifiedChinese, texts.traditionalChinese);
}

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
    : m_language(language), m_texts(&HelpDialogTextsFor(language)), m_shell(shell), m_messages(messages),
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
        m_shell.OpenUrl(m_texts->webAddress);
        return PressResult::None;
    }
    if (kUpdateLine.Contains(p)) {
        return PressResult::UpdateRequested;
    }
    for (const Language language : kLanguages) {
        if (LanguageRow(language).Contains(p)) {
            (void)ChooseLanguage(language);
        }
    }
    return PressResult::None;
}

Rect HelpPanelModel::LanguageRow(Language language) const
{
    const int top = m_size.height + static_cast<int>(language) * kLanguageRowHeight;
    return {0, top, m_size.width, top + kLanguageRowHeight};
}

void HelpPanelModel::KeepLanguageIn(const std::filesystem::path& labelFile, const TextCodec& codec,
                                    std::function<void(Language)> changed)
{
    m_labelFile = &labelFile;
    m_codec = &codec;
    m_languageChanged = std::move(changed);
}

bool HelpPanelModel::ChooseLanguage(Language language)
{
    if (language == m_language || !m_labelFile || !m_codec) {
        return false;
    }
    // The file is decoded as the program reads it in the language it has now, and keeps its
    // encoding and every other line.
    IniFile labels(*m_labelFile, *m_codec, ConfigFiles::CodePageOf(m_language));
    if (labels.WriteString(kSkinsSection, kLanguageKey, LanguageCode(language)) != IniWriteResult::Written) {
        std::string text(m_texts->languageNotSaved);
        text += '\n';
        text += m_labelFile->string();
        if (labels.LastError()) {
            text += ": ";
            text += FileErrorReason(labels.LastError().value(), m_language);
        }
        m_messages.ShowMessage(text, kApplicationTitle);
        return false;
    }
    m_language = language;
    m_texts = &HelpDialogTextsFor(language);
    if (m_languageChanged) {
        m_languageChanged(language);
    }
    return true;
}

std::vector<FocusControl> HelpPanelModel::Controls() const
{
    const auto control = [](Rect row, ControlRole role, std::string_view name) {
        // The ring lies inside the panel, whose rows span its width.
        return ControlAt({row.left + kFocusRingWidth, row.top + kFocusRingWidth, row.right - kFocusRingWidth,
                          row.bottom - kFocusRingWidth},
                         role, name);
    };
    std::vector<FocusControl> controls{control(kWebLine, ControlRole::Button, m_texts->webAddress),
                                       control(kUpdateLine, ControlRole::Button, m_texts->update)};
    for (const Language language : kLanguages) {
        controls.push_back(control(LanguageRow(language), ControlRole::RadioButton, LanguageName(*m_texts, language)));
        controls.back().checked = language == m_language;
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        controls[i].key = i;
    }
    return controls;
}

std::optional<std::size_t> HelpPanelModel::FocusIndex() const
{
    return m_open && m_keyboardFocus ? std::optional<std::size_t>(m_focus) : std::nullopt;
}

void HelpPanelModel::SetFocus(std::size_t index)
{
    if (index < kLanguageCount + 2) {
        m_focus = index;
    }
}

Point HelpPanelModel::CentreOf(std::size_t index) const
{
    const Rect area = Controls()[index].area;
    return {area.left + area.Width() / 2, area.top + area.Height() / 2};
}

HelpPanelModel::KeyResult HelpPanelModel::KeyPressed(WindowKey key)
{
    constexpr std::size_t kControls = kLanguageCount + 2;
    KeyResult result;
    result.handled = true;
    switch (key) {
    case WindowKey::Tab:
    case WindowKey::Down:
    case WindowKey::Right:
        m_focus = (m_focus + 1) % kControls;
        break;
    case WindowKey::BackTab:
    case WindowKey::Up:
    case WindowKey::Left:
        m_focus = (m_focus + kControls - 1) % kControls;
        break;
    case WindowKey::Home:
        m_focus = 0;
        break;
    case WindowKey::End:
        m_focus = kControls - 1;
        break;
    case WindowKey::Return:
    case WindowKey::Space:
        result.press = CentreOf(m_focus);
        break;
    default:
        result.handled = false;
        break;
    }
    return result;
}

void HelpPanelModel::Draw(SkinCanvas& canvas, Point origin) const
{
    if (!m_hasPicture || !canvas.DrawImage(kBackground, origin)) {
        const Rect area = Rect::At(origin, m_size);
        canvas.FillRect(area, kBareEdge);
        canvas.FillRect({area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, kBarePanel);
    }
    // A web address longer than its line ends in "…", the whole address in its tooltip.
    canvas.DrawText(Offset(kWebLine, origin), m_texts->webAddress, FontRole::Dialog, kLineColour,
                    TextAlign::CentreElided);
    canvas.DrawText(Offset(kUpdateLine, origin), m_texts->update, FontRole::Dialog, kLineColour, TextAlign::Centre);
    canvas.DrawText(Offset(kVersionLine, origin), m_texts->version, FontRole::Dialog, kLineColour, TextAlign::Centre);

    // The languages on a card of their own under the picture, the chosen one marked.
    const Rect band = Offset({0, m_size.height, m_size.width, PanelSize().height}, origin);
    canvas.FillRect(band, kBareEdge);
    canvas.FillRect({band.left + 1, band.top, band.right - 1, band.bottom - 1}, kBarePanel);
    for (const Language language : kLanguages) {
        const Rect row = Offset(LanguageRow(language), origin);
        const int markTop = row.top + (row.Height() - kMarkSize) / 2;
        const Rect mark{row.left + kMarkLeft, markTop, row.left + kMarkLeft + kMarkSize, markTop + kMarkSize};
        canvas.FillRect(mark, language == m_language ? kChosenMark : kBareEdge);
        canvas.DrawText(row, LanguageName(*m_texts, language), FontRole::Dialog, kLineColour, TextAlign::Centre);
    }
    if (const auto focus = FocusIndex()) {
        DrawFocusRing(canvas, Offset(Controls()[*focus].area, origin));
    }
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
