#include "screens/profiles/ConfigDialogModel.h"

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/ProfileManagerTexts.h"
#include "ports/MessageSink.h"
#include "screens/common/ButtonPicture.h"

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

ConfigDialogOutcome EditOutcome(std::optional<std::size_t> line)
{
    ConfigDialogOutcome outcome;
    outcome.editLine = line;
    return outcome;
}

ConfigDialogOutcome PostOutcome(ProfileManagerNotice notice)
{
    ConfigDialogOutcome outcome;
    outcome.post = notice;
    return outcome;
}

} // namespace

ConfigDialogModel::ConfigDialogModel(ConfigDialogContext context)
    : m_context(std::move(context)),
      m_manager({m_context.files, m_context.codec, m_context.messages, m_context.language}),
      m_transfer(m_context.files, m_context.codec, m_context.messages, m_context.language),
      m_background(kBackgroundPicture, kConfigDialogImageFailed, kWindowSize)
{}

Size ConfigDialogModel::Open(SkinImageSizes& images)
{
    m_background.Open(images, m_context.messages);
    m_manager.LoadProfileList();
    return m_background.WindowSize();
}

ConfigDialogOutcome ConfigDialogModel::Press(Point p)
{
    if (kCloseButton.Contains(p)) {
        return Close();
    }
    if (kNewRow.Contains(p)) {
        m_manager.NewProfile();
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
        m_manager.DeleteProfile();
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

void ConfigDialogModel::RunTransfer(ProfileManagerNotice notice)
{
    if (m_closed) {
        return;
    }
    const bool current = m_manager.LoadedPosition() == m_transferPosition;
    ProfileFileSource source = m_manager.FilesOf(m_transferPosition);
    switch (notice) {
    case ProfileManagerNotice::Import:
        if (current) {
            // Into memory, as every edit of the current profile: "Save" stores it.
            m_transfer.ImportProfile(m_context.fileDialog, m_context.records.Current);
            break;
        }
        // Another profile is changed in its own files; a name without files gets them first.
        if (!source) {
            if (!m_manager.StoreKeepingCurrent()) {
                return;
            }
            source = m_manager.FilesOf(m_transferPosition);
        }
        m_transfer.ImportInto(m_context.fileDialog, m_context.files.PathOf(ProfileConfigName(source.value_or(0))),
                              m_context.files.PathOf(ProfileLabelName(source.value_or(0))));
        break;
    case ProfileManagerNotice::Export:
        // The profile as stored; a name without files yet has the factory ones.
        m_transfer.ExportStored(
            m_context.fileDialog,
            m_context.files.PathOf(source ? ProfileConfigName(*source) : std::string(kFactoryConfigName)),
            m_context.files.PathOf(source ? ProfileLabelName(*source) : std::string(kListName)), m_transferName);
        break;
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
    if (!m_manager.CloseManager()) {
        return {};
    }
    m_closed = true;
    if (switching) {
        const std::error_code unreadable = m_context.files.LoadConfig(records.Current);
        m_context.files.LoadLabels(m_context.language);
        records.Snapshot();
        if (unreadable) {
            m_context.messages.ShowMessage(
                UnreadableProfileMessage(m_context.files.configPath, unreadable, m_context.language),
                MessageCaptionsFor(m_context.language).warning);
        }
    }
    if (m_context.notifyMainWindow) {
        m_context.notifyMainWindow(ProfileManagerNotice::Closed);
    }
    ConfigDialogOutcome outcome;
    outcome.close = true;
    return outcome;
}

void ConfigDialogModel::Draw(SkinCanvas& canvas) const
{
    const ProfileManagerTexts& texts = Texts();
    m_background.Draw(canvas);
    canvas.DrawText(kTitleText, texts.title, FontRole::Dialog, m_context.textColour, TextAlign::Left);
    DrawButtonPicture(canvas, CloseOver() ? kCloseOverPicture : kCloseNormalPicture, kCloseButton, kCloseMark);
    canvas.DrawImage(kNewRowPicture, kNewRow.TopLeft());
    canvas.DrawText(kNewRow, texts.newRow, FontRole::Dialog, m_context.textColour, TextAlign::Centre);
}

} // namespace veldrane
