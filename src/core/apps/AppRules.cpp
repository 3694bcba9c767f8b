#include "core/apps/AppRules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <iterator>

#include "core/ini/AtomicFile.h"
#include "core/ini/IniDocument.h"

namespace veldrane {

namespace {

constexpr std::string_view kEnabledKey = "Enabled";
constexpr std::string_view kDefaultKey = "Default";
constexpr std::string_view kSwitchesKey = "Switches";
constexpr std::string_view kAppKeyPrefix = "App";
constexpr std::string_view kDesktopSuffix = ".desktop";

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view WithoutDesktopSuffix(std::string_view id)
{
    if (id.size() > kDesktopSuffix.size() &&
        std::equal(kDesktopSuffix.begin(), kDesktopSuffix.end(), id.end() - kDesktopSuffix.size(),
                   [](char a, char b) { return a == FoldAscii(b); })) {
        id.remove_suffix(kDesktopSuffix.size());
    }
    return id;
}

bool SameAppId(std::string_view a, std::string_view b)
{
    a = WithoutDesktopSuffix(a);
    b = WithoutDesktopSuffix(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool UsableProfileName(std::string_view profile)
{
    return !profile.empty() && IniDocument::IsValidSectionName(profile) &&
           !IniNamesEqual(profile, AppRules::kSettingsSection);
}

bool UsableAppId(std::string_view appId)
{
    return !appId.empty() && IniDocument::IsValidValue(appId) && appId.find_first_of("\"'") == std::string_view::npos;
}

} // namespace

AppRules AppRules::Parse(std::string_view text)
{
    const IniDocument document = IniDocument::Parse(text);
    AppRules rules;
    rules.m_enabled = document.Value(kSettingsSection, kEnabledKey) == "1";
    if (std::optional<std::string> profile = document.Value(kSettingsSection, kDefaultKey);
        profile && UsableProfileName(*profile)) {
        rules.m_default = std::move(*profile);
    }
    if (const std::optional<std::string> switches = document.Value(kSettingsSection, kSwitchesKey)) {
        std::uint64_t count = 0;
        const auto [end, error] = std::from_chars(switches->data(), switches->data() + switches->size(), count);
        if (error == std::errc() && end == switches->data() + switches->size()) {
            rules.m_switches = count;
        }
    }
    for (const std::string& section : document.SectionNames()) {
        if (!UsableProfileName(section)) {
            continue;
        }
        // App0, App1, ... up to the first gap, as the profile list's Item keys are read.
        for (std::size_t index = 0;; ++index) {
            const std::optional<std::string> appId =
                document.Value(section, std::string(kAppKeyPrefix) + std::to_string(index));
            if (!appId) {
                break;
            }
            if (UsableAppId(*appId)) {
                (void)rules.AddApp(section, *appId);
            }
        }
    }
    return rules;
}

std::string AppRules::Serialise() const
{
    IniDocument document;
    document.SetValue(kSettingsSection, kEnabledKey, m_enabled ? "1" : "0");
    if (m_default) {
        document.SetValue(kSettingsSection, kDefaultKey, *m_default);
    }
    document.SetValue(kSettingsSection, kSwitchesKey, std::to_string(m_switches));
    for (const Rule& rule : m_rules) {
        for (std::size_t index = 0; index < rule.apps.size(); ++index) {
            document.SetValue(rule.profile, std::string(kAppKeyPrefix) + std::to_string(index), rule.apps[index]);
        }
    }
    return document.Serialise();
}

bool AppRules::SetDefaultProfile(std::optional<std::string> profile)
{
    if (profile && !UsableProfileName(*profile)) {
        return false;
    }
    m_default = std::move(profile);
    return true;
}

std::vector<std::string> AppRules::AppsOf(std::string_view profile) const
{
    for (const Rule& rule : m_rules) {
        if (IniNamesEqual(rule.profile, profile)) {
            return rule.apps;
        }
    }
    return {};
}

bool AppRules::AddApp(std::string_view profile, std::string_view appId)
{
    if (!UsableProfileName(profile) || !UsableAppId(appId)) {
        return false;
    }
    for (const Rule& rule : m_rules) {
        if (!IniNamesEqual(rule.profile, profile)) {
            RemoveApp(rule.profile, appId);
        }
    }
    auto rule = std::find_if(m_rules.begin(), m_rules.end(),
                             [profile](const Rule& each) { return IniNamesEqual(each.profile, profile); });
    if (rule == m_rules.end()) {
        rule = m_rules.insert(m_rules.end(), Rule{std::string(profile), {}});
    }
    if (std::none_of(rule->apps.begin(), rule->apps.end(),
                     [appId](const std::string& each) { return SameAppId(each, appId); })) {
        rule->apps.emplace_back(appId);
    }
    return true;
}

void AppRules::RemoveApp(std::string_view profile, std::string_view appId)
{
    for (auto rule = m_rules.begin(); rule != m_rules.end(); ++rule) {
        if (IniNamesEqual(rule->profile, profile)) {
            std::erase_if(rule->apps, [appId](const std::string& each) { return SameAppId(each, appId); });
            if (rule->apps.empty()) {
                m_rules.erase(rule);
            }
            return;
        }
    }
}

std::vector<std::string> AppRules::Profiles() const
{
    std::vector<std::string> profiles;
    for (const Rule& rule : m_rules) {
        profiles.push_back(rule.profile);
    }
    return profiles;
}

std::optional<std::string> AppRules::Match(const FocusedWindow& window) const
{
    const std::array<const std::string*, 4> fields = {&window.appId, &window.windowClass, &window.instance,
                                                      &window.executable};
    for (const std::string* field : fields) {
        if (field->empty()) {
            continue;
        }
        for (const Rule& rule : m_rules) {
            for (const std::string& appId : rule.apps) {
                if (SameAppId(appId, *field)) {
                    return rule.profile;
                }
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> AppRules::FollowProfiles(const std::vector<std::pair<std::string, std::string>>& renames,
                                                  const std::vector<std::string>& names)
{
    const auto renamed = [&renames](const std::string& profile) {
        for (const auto& [from, to] : renames) {
            if (IniNamesEqual(from, profile)) {
                return to;
            }
        }
        return profile;
    };
    const auto exists = [&names](const std::string& profile) {
        return std::any_of(names.begin(), names.end(),
                           [&profile](const std::string& name) { return IniNamesEqual(name, profile); });
    };
    std::vector<std::string> dropped;
    std::vector<Rule> kept;
    for (Rule& rule : m_rules) {
        std::string profile = renamed(rule.profile);
        if (!exists(profile) || !UsableProfileName(profile)) {
            dropped.push_back(rule.profile);
            continue;
        }
        // Two old names that end on one new name share its rule.
        const auto same = std::find_if(kept.begin(), kept.end(),
                                       [&profile](const Rule& each) { return IniNamesEqual(each.profile, profile); });
        if (same != kept.end()) {
            same->apps.insert(same->apps.end(), rule.apps.begin(), rule.apps.end());
        } else {
            kept.push_back({std::move(profile), std::move(rule.apps)});
        }
    }
    m_rules = std::move(kept);
    if (m_default) {
        std::string profile = renamed(*m_default);
        if (exists(profile) && UsableProfileName(profile)) {
            m_default = std::move(profile);
        } else {
            if (std::none_of(dropped.begin(), dropped.end(),
                             [this](const std::string& name) { return IniNamesEqual(name, *m_default); })) {
                dropped.push_back(*m_default);
            }
            m_default.reset();
        }
    }
    return dropped;
}

AppRulesRead ReadAppRules(const std::filesystem::path& directory)
{
    const std::filesystem::path path = directory / kAppRulesName;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {error, {}};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {std::make_error_code(std::errc::permission_denied), {}};
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return {std::make_error_code(std::errc::io_error), {}};
    }
    return {{}, AppRules::Parse(text)};
}

std::error_code WriteAppRules(const std::filesystem::path& directory, const AppRules& rules)
{
    return WriteFileAtomically(directory / kAppRulesName, rules.Serialise());
}

} // namespace veldrane
