#include "core/profile/FactoryFiles.h"

#include <system_error>

#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {

namespace {

// Installed files have never been written by the program, so the first showing of a profile
// fills its labels in the interface language.
constexpr std::uint8_t kNeverWrittenFlag = 0;

constexpr Language kLanguages[] = {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese};

class FactoryWriter
{
public:
    FactoryWriter(const std::filesystem::path& directory, const TextCodec& codec)
        : m_directory(directory), m_codec(codec)
    {}

    void WriteConfig(std::string_view name, const ProfileRecord& record)
    {
        if (const std::error_code error = ConfigFile::Write(m_directory / name, kNeverWrittenFlag, record)) {
            Fail(name, error.message());
        }
    }

    // The labels of every language, "Skins" and "Point", into a fresh file.
    void WriteLabelFile(std::string_view name, bool withList)
    {
        const std::filesystem::path path = m_directory / name;
        std::error_code error;
        std::filesystem::remove(path, error); // the factory content replaces a file from an older build
        IniFile file(path, m_codec);
        if (withList) {
            Write(file, kProfileSection, kCurrentProfileKey, kFactoryProfileName);
            Write(file, kProfileSection, kItemCountKey, "1");
            Write(file, kProfileSection, ProfileItemKey(0), kFactoryProfileName);
        }
        for (const Language language : kLanguages) {
            const auto labels = FactoryLabels(language);
            for (std::size_t button = 0; button < kButtonCount; ++button) {
                Write(file, LanguageSectionName(language), LabelKey(button), labels[button]);
            }
        }
        const SkinSettings skin = FactorySkin();
        Write(file, kSkinsSection, kLanguageKey, kFactoryLanguageCode);
        Write(file, kSkinsSection, kSkinPathKey, skin.path);
        WriteNumber(file, kSkinsSection, kRedKey, skin.red);
        WriteNumber(file, kSkinsSection, kGreenKey, skin.green);
        WriteNumber(file, kSkinsSection, kBlueKey, skin.blue);
        const PointSettings point = FactoryPoint();
        WriteNumber(file, kPointSection, kSensitivityXKey, point.sensitivityX_Y);
        WriteNumber(file, kPointSection, kSensitivityYKey, point.sensitivityY_Y);
        WriteNumber(file, kPointSection, kSensitivityKey, point.sensitivity_Y);
        WriteNumber(file, kPointSection, kMouseSpeedKey, point.mouseSpeed_Y);
    }

    const std::string& Failure() const { return m_failure; }

private:
    void Write(IniFile& file, std::string_view section, std::string_view key, std::string_view value)
    {
        if (file.WriteString(section, key, value) != IniWriteResult::Written) {
            Fail(file.Path().filename().string(), "cannot write [" + std::string(section) + "] " + std::string(key));
        }
    }

    void WriteNumber(IniFile& file, std::string_view section, std::string_view key, int value)
    {
        Write(file, section, key, std::to_string(value));
    }

    void Fail(std::string_view name, std::string_view what)
    {
        if (m_failure.empty()) {
            m_failure = std::string(name) + ": " + std::string(what);
        }
    }

    std::filesystem::path m_directory;
    const TextCodec& m_codec;
    std::string m_failure;
};

} // namespace

std::string WriteFactoryFiles(const std::filesystem::path& directory, const TextCodec& codec)
{
    FactoryWriter writer(directory, codec);
    const ProfileRecord factory = FactoryProfile();
    writer.WriteConfig(kFactoryConfigName, factory);
    writer.WriteLabelFile(kListName, true);
    for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
        writer.WriteConfig(ProfileConfigName(index), factory);
        writer.WriteLabelFile(ProfileLabelName(index), false);
    }
    return writer.Failure();
}

} // namespace veldrane
