#include "screens/profiles/ConfigDialogModel.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "core/exchange/ProfileJsonTransfer.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileDialog.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/ControlCaptionTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/ProfileManagerTexts.h"
#include "ports/MessageSink.h"
#include "screens/common/ButtonPicture.h"
#include "screens/common/FileMessages.h"
#include "screens/common/FocusRing.h"
#include "screens/profiles/ProfileFileMessages.h"

namespace veldrane {

namespace {

// "The imported profile held values ..." and one line for each section of the window whose
// settings changed, the buttons' with their numbers.
std::string ImportRepairsMessage(const ImportRepairs& repairs, Language language)
{
    const MainWindowTexts& texts = MainWindowTextsFor(language);
    const auto title = [&texts](SettingGroup group) {
        switch (group) {
        case SettingGroup::ReportRate:
            return texts.usbReportRate;
        case SettingGroup::CpiStages:
            return texts.cpiSetting;
        case SettingGroup::Lighting:
            return texts.lighting;
        case SettingGroup::AngleSnap:
            return texts.angleSnap;
        case SettingGroup::Sensitivity:
            return texts.xySensitivitySetting;
        case SettingGroup::SideButtonLight:
            return texts.m1M5LightButton;
        case SettingGroup::MouseSpeed:
            return texts.mouseSpeed;
        case SettingGroup::ScrollSpeed:
            return texts.scrollSpeed;
        case SettingGroup::DoubleClickSpeed:
            break;
        }
        return texts.doubleClickSpeed;
    };
    std::string text(ProfileManagerTextsFor(language).importChanged);
    if (!repairs.buttons.empty()) {
        text += "\n";
        text += texts.buttonAssignment;
        text += ": ";
        for (std::size_t i = 0; i < repairs.buttons.size(); ++i) {
            text += (i == 0 ? "" : ", ") + std::to_string(repairs.buttons[i] + 1);
        }
    }
    for (const SettingGroup group : repairs.settings) {
        text += "\n";
        text += title(group);
    }
    return text;
}

// The title text starts a little way in from the window's left edge and ends at the close button.
constexpr Rect kTitleText{10, 0, 240, 31};

// The ring of the "New" row lies inside the row, which spans the window's width.
constexpr Rect kNewRowFocus{
    ConfigDialogModel::kNewRow.left + kFocusRingWidth, ConfigDialogModel::kNewRow.top + kFocusRingWidth,
    ConfigDialogModel::kNewRow.right - kFocusRingWidth, ConfigDialogModel::kNewRow.bottom - kFocusRingWidth};

// Page Up and Page Down move the selection by about the names the list shows.
constexpr int kListPageLines = 20;

ConfigDialogOutcome EditOutcome(std::optional<std::size_t> line)
{
    ConfigDialogOutcome outcome;
    outcome.editLine = line;
    return outcome;
}

// "New": with six names the warning "Profile numbers up to 6."
void AddProfile(ProfileManager& manager, MessageSink& messages)
{
    if (!manager.NewProfile()) {
        messages.ShowMessage(manager.Texts().limitMessage, manager.Texts().warningTitle);
    }
}

ConfigDialogOutcome PostOutcome(ProfileManagerNotice notice)
{
    ConfigDialogOutcome outcome;
    outcome.post = notice;
    return outcome;
}

} // namespace

ConfigDialogModel::ConfigDialogModel(ConfigDialogContext context)
    : m_context(std::move(context)), m_manager({m_context.files, m_context.codec, m_context.language}),
      m_transfer(m_context.files, m_context.codec, m_context.language),
      m_background(kBackgroundPicture, kConfigDialogImageFailed, kWindowSize)
{}

Size ConfigDialogModel::Open(SkinImageSizes& images)
{
    m_background.Open(images, m_context.messages);
    ShowMessages(m_context.messages,
                 RecoveryMessagesOf(m_manager.LoadProfileList(), m_context.files.PathOf(ProfileSlotMover::kJournalName),
                                    m_context.language));
    return m_background.WindowSize();
}

ConfigDialogOutcome ConfigDialogModel::Press(Point p)
{
    if (kCloseButton.Contains(p)) {
        return Close();
    }
    if (kNewRow.Contains(p)) {
        AddProfile(m_manager, m_context.messages);
        return {};
    }
    ConfigDialogOutcome outcome;
    outcome.startMove = true;
    return outcome;
}

bool ConfigDialogModel::Hover(std::optional<Point> p)
{
    const std::optional<std::size_t> hit =
        p && kCloseButton.Contains(*p) ? std::optional<std::size_t>(0) : std::nullopt;
    return !m_hover.Update(hit).empty();
}

ConfigDialogOutcome ConfigDialogModel::SelectionChanged(std::size_t line)
{
    return EditOutcome(m_manager.OnListClick(line));
}

ConfigDialogOutcome ConfigDialogModel::DoubleClicked(std::size_t line)
{
    return EditOutcome(m_manager.OnListClick(line));
}

void ConfigDialogModel::CommitRename(std::size_t line, std::string_view text)
{
    m_manager.CommitRename(line, text);
}

std::vector<ConfigDialogModel::MenuEntry> ConfigDialogModel::ListMenu() const
{
    const ProfileManagerTexts& texts = Texts();
    return {{ProfileMenuCommand::Delete, texts.deleteEntry},
            {ProfileMenuCommand::Edit, texts.editEntry},
            {ProfileMenuCommand::Copy, texts.copyEntry},
            {ProfileMenuCommand::Load, texts.loadEntry},
            {ProfileMenuCommand::Save, texts.saveEntry}};
}

ConfigDialogOutcome ConfigDialogModel::RunMenuCommand(ProfileMenuCommand command)
{
    const auto transfer = [this](bool asked, ProfileManagerNotice notice) -> ConfigDialogOutcome {
        if (!asked) {
            return {};
        }
        const std::vector<std::string> names = m_manager.Names();
        m_transferPosition = *m_manager.Selected();
        m_transferName = names[m_transferPosition];
        return PostOutcome(notice);
    };
    switch (command) {
    case ProfileMenuCommand::Delete:
        if (!m_manager.DeleteProfile()) {
            m_context.messages.ShowMessage(Texts().lastProfile, Texts().warningTitle);
        }
        return {};
    case ProfileMenuCommand::Edit:
        return EditOutcome(m_manager.RenameProfile());
    case ProfileMenuCommand::Copy:
        m_manager.CopyProfile();
        return {};
    case ProfileMenuCommand::Load:
        return transfer(m_manager.LoadSelected(), ProfileManagerNotice::Import);
    case ProfileMenuCommand::Save:
        return transfer(m_manager.SaveSelected(), ProfileManagerNotice::Export);
    }
    return {};
}

namespace {

// A readable profile file is larger than a binary one, but twelve long macros stay far below this.
constexpr std::uintmax_t kMaxReadableProfileBytes = std::uintmax_t{4} * 1024 * 1024;

bool IsReadableProfileName(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == kReadableProfileExtension;
}

// The binary transfer asks its own dialog; a name of the readable form is kept here for the
// model instead, and the binary transfer sees a cancelled dialog.
class FormChoosingDialog : public ProfileFileDialog
{
public:
    explicit FormChoosingDialog(ProfileFileDialog& dialog) : m_dialog(dialog) {}

    std::optional<std::filesystem::path> AskOpenFile(const std::filesystem::path& proposed) override
    {
        return Keep(m_dialog.AskOpenFile(proposed));
    }
    std::optional<std::filesystem::path> AskSaveFile(const std::filesystem::path& proposed) override
    {
        return Keep(m_dialog.AskSaveFile(proposed));
    }
    const std::optional<std::filesystem::path>& Readable() const { return m_readable; }

private:
    std::optional<std::filesystem::path> Keep(std::optional<std::filesystem::path> chosen)
    {
        if (chosen && IsReadableProfileName(*chosen)) {
            m_readable = std::move(chosen);
            return std::nullopt;
        }
        return chosen;
    }

    ProfileFileDialog& m_dialog;
    std::optional<std::filesystem::path> m_readable;
};

} // namespace

void ConfigDialogModel::ExportReadable(const std::filesystem::path& chosen, const std::filesystem::path& configFile,
                                       const std::filesystem::path& labelFile)
{
    const ConfigFileReadResult stored = ConfigFile::Read(configFile);
    if (stored.status != ConfigFileStatus::Read) {
        m_context.messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return;
    }
    const IniFile labelIni(labelFile, m_context.codec, ConfigFiles::CodePageOf(m_context.language));
    std::array<std::string, kButtonCount> labels;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        labels[button] = labelIni.GetString(LanguageSectionName(m_context.language), LabelKey(button));
    }
    IniFile ownMacroFile(m_context.files.PathOf(kMacroFileName), m_context.codec);
    const ProfileJsonTransfer transfer(m_context.files, m_context.macroFile ? *m_context.macroFile : ownMacroFile,
                                       m_context.codec);
    if (const std::error_code error =
            WriteFileAtomically(chosen, transfer.Export(stored.contents.record, labels, m_transferName))) {
        m_context.messages.ShowMessage(std::string(Texts().readableNotExported) + '\n' + chosen.filename().string() +
                                           ": " + error.message(),
                                       kApplicationTitle);
    }
}

void ConfigDialogModel::ImportReadable(const std::filesystem::path& chosen, const std::filesystem::path& configFile,
                                       const std::filesystem::path& labelFile, bool current)
{
    ProfileRecords& records = m_context.records;
    // The readable form goes into the profile's files at once: edits of the loaded profile that
    // were not saved give way only when the user agrees.
    if (current && records.Current != records.Backup &&
        !m_context.messages.Ask(Texts().dropChanges, Texts().warningTitle)) {
        return;
    }
    const auto refuse = [&](const std::vector<std::string>& reasons) {
        std::string text(Texts().readableNotImported);
        for (const std::string& reason : reasons) {
            text += '\n' + reason;
        }
        m_context.messages.ShowMessage(text, kApplicationTitle);
    };
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(chosen, error);
    if (!error && size > kMaxReadableProfileBytes) {
        error = std::make_error_code(std::errc::file_too_large);
    }
    std::string json;
    if (!error) {
        std::ifstream file(chosen, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        json = text.str();
        if (!file || json.size() != size) {
            error = std::make_error_code(std::errc::io_error);
        }
    }
    if (error) {
        refuse({chosen.filename().string() + ": " + error.message()});
        return;
    }
    IniFile ownMacroFile(m_context.files.PathOf(kMacroFileName), m_context.codec);
    ProfileJsonTransfer transfer(m_context.files, m_context.macroFile ? *m_context.macroFile : ownMacroFile,
                                 m_context.codec);
    JsonImport imported = transfer.ImportIntoFiles(configFile, labelFile, json);
    if (!imported.Done()) {
        if (!imported.error.empty()) {
            imported.problems.push_back(imported.error);
        }
        refuse(imported.problems);
        return;
    }
    if (current) {
        // Written whole a moment ago: a load that fails now is told as any other.
        const FileOutcome loaded = m_context.files.LoadConfig(records.Current);
        m_context.files.LoadLabels(m_context.language);
        ShowLoadFailure(m_context.messages, loaded, m_context.files.FactoryStandsIn(), m_context.language);
        records.Snapshot();
    }
}

void ConfigDialogModel::RunTransfer(ProfileManagerNotice notice)
{
    if (m_closed) {
        return;
    }
    const bool current = m_manager.LoadedPosition() == m_transferPosition;
    ProfileFileSource source = m_manager.FilesOf(m_transferPosition);
    FormChoosingDialog dialog(m_context.fileDialog);
    switch (notice) {
    case ProfileManagerNotice::Import:
        if (current) {
            // Into memory, as every edit of the current profile: "Save" stores it.
            ShowMessages(
                m_context.messages,
                TransferMessagesOf(m_transfer.ImportProfile(dialog, m_context.records.Current), m_context.language));
            if (dialog.Readable()) {
                const std::size_t files = m_context.files.CurrentProfileIndex();
                ImportReadable(*dialog.Readable(), m_context.files.PathOf(ProfileConfigName(files)),
                               m_context.files.PathOf(ProfileLabelName(files)), true);
            }
            break;
        }
        // Another profile is changed in its own files; a name without files gets them first.
        if (!source) {
            const ProfileListStore stored = m_manager.StoreKeepingCurrent();
            ShowMessages(m_context.messages, ListStoreMessagesOf(stored, m_context.language));
            if (!stored.Stored()) {
                return;
            }
            source = m_manager.FilesOf(m_transferPosition);
        }
        ShowMessages(m_context.messages,
                     TransferMessagesOf(
                         m_transfer.ImportInto(dialog, m_context.files.PathOf(ProfileConfigName(source.value_or(0))),
                                               m_context.files.PathOf(ProfileLabelName(source.value_or(0)))),
                         m_context.language));
        if (dialog.Readable()) {
            ImportReadable(*dialog.Readable(), m_context.files.PathOf(ProfileConfigName(source.value_or(0))),
                           m_context.files.PathOf(ProfileLabelName(source.value_or(0))), false);
        }
        break;
    case ProfileManagerNotice::Export: {
        // The profile as stored; a name without files yet has the factory ones.
        const std::filesystem::path configFile =
            m_context.files.PathOf(source ? ProfileConfigName(*source) : std::string(kFactoryConfigName));
        const std::filesystem::path labelFile =
            m_context.files.PathOf(source ? ProfileLabelName(*source) : std::string(kListName));
        ShowMessages(m_context.messages,
                     TransferMessagesOf(m_transfer.ExportStored(dialog, configFile, labelFile, m_transferName),
                                        m_context.language));
        if (dialog.Readable()) {
            ExportReadable(*dialog.Readable(), configFile, labelFile);
        }
        break;
    }
    case ProfileManagerNotice::Closed:
        return;
    }
    if (const ImportRepairs& repairs = m_transfer.LastImportRepairs();
        notice == ProfileManagerNotice::Import && repairs.Any()) {
        m_context.messages.ShowMessage(ImportRepairsMessage(repairs, m_context.language), kApplicationTitle);
    }
    if (m_context.notifyMainWindow) {
        m_context.notifyMainWindow(notice);
    }
}

ConfigDialogOutcome ConfigDialogModel::Close()
{
    if (m_closed) {
        return {};
    }
    const std::size_t selected = m_manager.Selected().value_or(0);
    const bool switching = m_manager.LoadedPosition() != selected;
    ProfileRecords& records = m_context.records;
    if (switching && records.Current != records.Backup &&
        !m_context.messages.Ask(Texts().dropChanges, Texts().warningTitle)) {
        return {};
    }
    const ProfileListStore stored = m_manager.CloseManager();
    ShowMessages(m_context.messages, ListStoreMessagesOf(stored, m_context.language));
    if (!stored.Stored()) {
        return {};
    }
    m_closed = true;
    if (switching) {
        const FileOutcome loaded = m_context.files.LoadConfig(records.Current);
        m_context.files.LoadLabels(m_context.language);
        records.Snapshot();
        ShowLoadFailure(m_context.messages, loaded, m_context.files.FactoryStandsIn(), m_context.language);
    }
    if (m_context.notifyMainWindow) {
        m_context.notifyMainWindow(ProfileManagerNotice::Closed);
    }
    ConfigDialogOutcome outcome;
    outcome.close = true;
    return outcome;
}

std::vector<FocusControl> ConfigDialogModel::Controls() const
{
    const ProfileManagerTexts& texts = Texts();
    return {ControlAt(ConfigControl::Close, kCloseButton, ControlRole::Button,
                      ControlCaptionTextsFor(m_context.language).close),
            ControlAt(ConfigControl::List, kListControl, ControlRole::List, texts.title),
            ControlAt(ConfigControl::New, kNewRowFocus, ControlRole::Button, texts.newRow)};
}

ConfigDialogOutcome ConfigDialogModel::PressControl(ConfigControl control)
{
    switch (control) {
    case ConfigControl::Close:
        return Close();
    case ConfigControl::New:
        AddProfile(m_manager, m_context.messages);
        return {};
    case ConfigControl::List:
        break;
    }
    // The chosen name becomes the current profile as the manager closes.
    return Close();
}

ConfigDialogOutcome ConfigDialogModel::KeyPressed(WindowKey key)
{
    const std::size_t count = m_manager.Names().size();
    const auto walkTo = [&](long long line) -> ConfigDialogOutcome {
        if (m_focus != ConfigControl::List || count == 0) {
            return {};
        }
        const auto to = static_cast<std::size_t>(std::clamp<long long>(line, 0, static_cast<long long>(count) - 1));
        // Walking selects only: the second gesture on a name, which opens the editor, is F2's.
        if (m_manager.Selected() != to) {
            (void)m_manager.OnListClick(to);
        }
        return {};
    };
    const long long at = m_manager.Selected() ? static_cast<long long>(*m_manager.Selected()) : -1;
    switch (key) {
    case WindowKey::Tab:
    case WindowKey::BackTab: {
        constexpr int kControls = 3;
        const int step = key == WindowKey::Tab ? 1 : kControls - 1;
        m_focus = static_cast<ConfigControl>((static_cast<int>(m_focus) + step) % kControls);
        return {};
    }
    case WindowKey::Escape:
        return Close();
    case WindowKey::Return:
        return PressControl(m_focus);
    case WindowKey::Space:
        return m_focus == ConfigControl::List ? ConfigDialogOutcome{} : PressControl(m_focus);
    case WindowKey::Up:
        return walkTo(at < 0 ? 0 : at - 1);
    case WindowKey::Down:
        return walkTo(at + 1);
    case WindowKey::PageUp:
        return walkTo(at - kListPageLines);
    case WindowKey::PageDown:
        return walkTo(at < 0 ? 0 : at + kListPageLines);
    case WindowKey::Home:
        return walkTo(0);
    case WindowKey::End:
        return walkTo(static_cast<long long>(count) - 1);
    case WindowKey::Rename: {
        // "Edit" opens the editor on the second gesture; F2 is both.
        std::optional<std::size_t> line = m_manager.RenameProfile();
        if (!line) {
            line = m_manager.RenameProfile();
        }
        return EditOutcome(line);
    }
    case WindowKey::Delete:
        return RunMenuCommand(ProfileMenuCommand::Delete);
    case WindowKey::Insert:
        AddProfile(m_manager, m_context.messages);
        return {};
    default:
        return {};
    }
}

void ConfigDialogModel::Draw(SkinCanvas& canvas) const
{
    const ProfileManagerTexts& texts = Texts();
    m_background.Draw(canvas);
    canvas.DrawText(kTitleText, texts.title, FontRole::Dialog, m_context.textColour, TextAlign::Left);
    DrawButtonPicture(canvas, CloseOver() ? kCloseOverPicture : kCloseNormalPicture, kCloseButton, kCloseMark);
    canvas.DrawImage(kNewRowPicture, kNewRow.TopLeft());
    canvas.DrawText(kNewRow, texts.newRow, FontRole::Dialog, m_context.textColour, TextAlign::Centre);

    DrawFocusRing(canvas, Controls()[static_cast<std::size_t>(m_focus)].area);
}

} // namespace veldrane
