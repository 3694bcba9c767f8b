#include "core/profile/ProfileManager.h"

#include <cerrno>
#include <cstdint>

#include "core/apps/AppRules.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileList.h"
#include "core/text/ProfileManagerTexts.h"

namespace veldrane {

namespace {

constexpr std::string_view kNumberSeparator = "_";

} // namespace

ProfileManager::ProfileManager(ProfileManagerContext context)
    : m_context(context), m_texts(ProfileManagerTextsFor(context.language))
{}

ProfileSlotMover::Recovery ProfileManager::LoadProfileList()
{
    m_entries.clear();
    m_selected.reset();
    m_remembered.reset();
    // A move of the files that was cut off is taken back before the list is read.
    ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(m_context.files.ModulePath());
    const IniFile list(m_context.files.PathOf(kListName), m_context.codec, ConfigFiles::CodePageOf(m_context.language));
    const StoredProfileList stored = ProfileList::Read(list.Read());
    for (std::size_t position = 0; position < stored.names.size(); ++position) {
        m_entries.push_back({stored.names[position], position});
    }
    m_storedCount = m_entries.size();
    m_storedNames = stored.names;
    m_selected = ProfileList::PositionOf(stored.names, stored.currentName);
    if (m_entries.empty()) {
        m_entries.push_back({NewProfileName({}, m_texts.baseName), ProfileFileSource(0)});
        m_storedCount = 1;
        m_storedNames = Names();
        m_selected = 0;
    }
    if (m_context.files.CurrentProfileIndex() < m_entries.size()) {
        m_loaded = m_context.files.CurrentProfileIndex();
    } else {
        m_loaded.reset();
    }
    return recovery;
}

ProfileFileSource ProfileManager::FilesOf(std::size_t position) const
{
    return position < m_entries.size() ? m_entries[position].files : std::nullopt;
}

std::vector<std::string> ProfileManager::Names() const
{
    std::vector<std::string> names;
    names.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        names.push_back(entry.name);
    }
    return names;
}

bool ProfileManager::Full() const
{
    return m_entries.size() >= kProfileSlotCount;
}

std::optional<std::size_t> ProfileManager::OnListClick(std::size_t position)
{
    if (position >= m_entries.size()) {
        return std::nullopt;
    }
    m_selected = position;
    if (m_remembered != position) {
        m_remembered = position;
        return std::nullopt;
    }
    return position;
}

std::optional<std::size_t> ProfileManager::RenameProfile()
{
    if (!m_selected) {
        return std::nullopt;
    }
    return OnListClick(*m_selected);
}

void ProfileManager::CommitRename(std::size_t line, std::string_view text)
{
    if (line >= m_entries.size()) {
        return;
    }
    if (const std::optional<std::string> name = ProfileList::StorableName(text)) {
        m_entries[line].name = *name;
    }
    m_selected = line;
}

std::string ProfileManager::NewProfileName(const std::vector<std::string>& names, std::string_view baseName)
{
    if (names.empty()) {
        return std::string(baseName) + std::string(kNumberSeparator) + "0";
    }
    const std::string& last = names.back();
    const std::size_t separator = last.find(kNumberSeparator);
    if (separator == std::string::npos) {
        return last + std::string(kNumberSeparator) + std::to_string(names.size());
    }
    // Wide enough that the number after the largest one the text can hold still counts on.
    const std::int64_t number = ParseDecimal(std::string_view(last).substr(separator + kNumberSeparator.size()));
    return std::string(baseName) + std::string(kNumberSeparator) + std::to_string(number + 1);
}

bool ProfileManager::NewProfile()
{
    if (Full()) {
        return false;
    }
    m_entries.push_back({NewProfileName(Names(), m_texts.baseName), std::nullopt});
    m_selected = m_entries.size() - 1;
    return true;
}

bool ProfileManager::DeleteProfile()
{
    if (!m_selected) {
        return true;
    }
    if (m_entries.size() <= 1) {
        return false;
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*m_selected));
    if (m_loaded == m_selected) {
        m_loaded.reset();
    } else if (m_loaded && *m_loaded > *m_selected) {
        m_loaded = *m_loaded - 1;
    }
    m_selected.reset();
    // The remembered position now holds another name: a click on it is a first click.
    m_remembered.reset();
    return true;
}

void ProfileManager::CopyProfile()
{
    if (!m_selected || Full()) {
        return;
    }
    const Entry& source = m_entries[*m_selected];
    m_entries.push_back({std::string(m_texts.copyEntry) + " " + source.name, source.files});
}

bool ProfileManager::LoadSelected()
{
    return m_selected.has_value();
}

bool ProfileManager::SaveSelected()
{
    return m_selected.has_value();
}

ProfileListStore ProfileManager::StoreKeepingCurrent()
{
    const IniFile list(m_context.files.PathOf(kListName), m_context.codec);
    if (!list.Exists()) {
        return {};
    }
    // Without the loaded profile's name the selected one stands in; the close loads it.
    return StoreList(m_loaded.value_or(m_selected.value_or(0)));
}

ProfileListStore ProfileManager::CloseManager()
{
    const IniFile list(m_context.files.PathOf(kListName), m_context.codec);
    if (!list.Exists()) {
        return {};
    }
    return StoreList(m_selected.value_or(0));
}

ProfileListStore ProfileManager::StoreList(std::size_t current)
{
    std::vector<ProfileFileSource> sources;
    sources.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        sources.push_back(entry.files);
    }
    ProfileListStore store;
    // The rules follow the names in the same journalled step as the files.
    const AppRulesRead rulesRead = ReadAppRules(m_context.files.ModulePath());
    if (rulesRead.error) {
        store.failure = {rulesRead.error, m_context.files.PathOf(kAppRulesName)};
        return store;
    }
    AppRules rules = rulesRead.rules;
    const std::vector<std::string> dropped = rules.FollowProfiles(Renames(), Names());
    std::vector<ProfileSlotMover::AlongsideFile> alongside;
    if (rules.Serialise() != rulesRead.rules.Serialise()) {
        alongside.push_back({std::string(kAppRulesName), rules.Serialise()});
    }
    ProfileSlotMover mover(m_context.files.ModulePath(), m_context.codec);
    store.failure = mover.Move(sources, m_storedCount, alongside);
    store.undoFailure = mover.UndoFailure();
    if (store.failure.Done()) {
        const std::filesystem::path listPath = m_context.files.PathOf(kListName);
        IniFile list(listPath, m_context.codec, ConfigFiles::CodePageOf(m_context.language));
        // The INI file reports no error number of its own.
        if (list.Apply(ProfileList::Replacement(Names(), current)) != IniWriteResult::Written) {
            store.failure = {std::error_code(EIO, std::generic_category()), listPath};
            store.undoFailure = mover.Undo();
        }
    }
    if (!store.failure.Done()) {
        // When the undo failed too, the journal stays: the next start puts the files back.
        return store;
    }
    // The list and the files agree; the next start would only take the step back whole.
    store.commitFailure = mover.Commit();

    m_context.files.SelectProfileIndex(static_cast<std::uint8_t>(current));
    if (m_loaded) {
        m_loaded = current;
    }
    for (std::size_t position = 0; position < m_entries.size(); ++position) {
        m_entries[position].files = position;
    }
    m_storedCount = m_entries.size();
    m_storedNames = Names();
    if (!alongside.empty()) {
        store.droppedRules = dropped;
    }
    return store;
}

std::vector<std::pair<std::string, std::string>> ProfileManager::Renames() const
{
    std::vector<std::pair<std::string, std::string>> renames;
    for (std::size_t position = 0; position < m_storedNames.size(); ++position) {
        // The name that kept this position's files; of a name and its copies, the one that kept
        // the name, else the first.
        const Entry* follower = nullptr;
        for (const Entry& entry : m_entries) {
            if (entry.files != position) {
                continue;
            }
            if (IniNamesEqual(entry.name, m_storedNames[position])) {
                follower = &entry;
                break;
            }
            if (follower == nullptr) {
                follower = &entry;
            }
        }
        if (follower != nullptr && follower->name != m_storedNames[position]) {
            renames.emplace_back(m_storedNames[position], follower->name);
        }
    }
    return renames;
}

} // namespace veldrane
