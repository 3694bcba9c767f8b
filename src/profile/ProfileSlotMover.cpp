#include "profile/ProfileSlotMover.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "ini/AtomicFile.h"
#include "ini/IniFile.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileFileNames.h"

namespace veldrane {

namespace {

struct FileRead
{
    int errorCode = 0;                // 0 when the file was read or is missing
    std::optional<std::string> bytes; // nothing for a missing file
};

FileRead ReadWhole(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {};
    }
    if (error) {
        return {error.value(), std::nullopt};
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return {EISDIR, std::nullopt};
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {errno != 0 ? errno : EIO, std::nullopt};
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return {EIO, std::nullopt};
    }
    return {0, std::move(bytes)};
}

// What one file of a position is to hold.
struct Wanted
{
    std::optional<std::string> bytes; // nothing: the file is not to exist
    bool withoutList = false;         // a copy of "str.ini" that must lose its section "Profile"
};

struct Slot
{
    FileRead config;
    FileRead labels;
};

} // namespace

ProfileSlotMover::ProfileSlotMover(std::filesystem::path directory, const TextCodec& codec)
    : m_directory(std::move(directory)), m_codec(codec)
{}

int ProfileSlotMover::Move(std::span<const ProfileFileSource> sources, std::size_t storedCount)
{
    m_replaced.clear();

    // Everything is read before anything is written, so that names that swap places, and copies
    // of a name that moves, take the files as they were.
    std::array<Slot, kProfileSlotCount> slots;
    for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
        slots[index].config = ReadWhole(m_directory / ProfileConfigName(index));
        slots[index].labels = ReadWhole(m_directory / ProfileLabelName(index));
        if (slots[index].config.errorCode != 0) {
            return slots[index].config.errorCode;
        }
        if (slots[index].labels.errorCode != 0) {
            return slots[index].labels.errorCode;
        }
    }
    // Without a readable factory file a freed position keeps what it has.
    const FileRead factoryConfig = ReadWhole(m_directory / kFactoryConfigName);
    const FileRead factoryLabels = ReadWhole(m_directory / kListName);
    const std::optional<Wanted> factoryConfigWanted =
        factoryConfig.bytes ? std::optional<Wanted>(Wanted{factoryConfig.bytes, false}) : std::nullopt;
    const std::optional<Wanted> factoryLabelsWanted =
        factoryLabels.bytes ? std::optional<Wanted>(Wanted{factoryLabels.bytes, true}) : std::nullopt;

    const auto replace = [this](const std::filesystem::path& path, const FileRead& now,
                                const std::optional<Wanted>& wanted) {
        if (!wanted || (!wanted->withoutList && wanted->bytes == now.bytes)) {
            return 0;
        }
        errno = 0;
        bool done = false;
        if (wanted->bytes) {
            done = WriteFileAtomically(path, *wanted->bytes);
        } else {
            std::error_code error;
            done = std::filesystem::remove(path, error) && !error;
            if (error) {
                errno = error.value();
            }
        }
        if (!done) {
            return errno != 0 ? errno : EIO;
        }
        m_replaced.push_back({path, now.bytes});
        if (wanted->withoutList) {
            // The list belongs to "str.ini" alone; a label file that kept a copy would still work.
            IniFile(path, m_codec).DeleteSection(kProfileSection);
        }
        return 0;
    };

    for (std::size_t position = 0; position < kProfileSlotCount; ++position) {
        std::optional<Wanted> config;
        std::optional<Wanted> labels;
        if (position < sources.size()) {
            const ProfileFileSource source = sources[position];
            if (source && *source < kProfileSlotCount) {
                config = Wanted{slots[*source].config.bytes, false};
                labels = Wanted{slots[*source].labels.bytes, false};
            } else {
                config = factoryConfigWanted;
                labels = factoryLabelsWanted;
            }
        } else if (position < storedCount) {
            config = factoryConfigWanted;
            labels = factoryLabelsWanted;
        }
        int errorCode = replace(m_directory / ProfileConfigName(position), slots[position].config, config);
        if (errorCode == 0) {
            errorCode = replace(m_directory / ProfileLabelName(position), slots[position].labels, labels);
        }
        if (errorCode != 0) {
            Undo();
            return errorCode;
        }
    }
    return 0;
}

void ProfileSlotMover::Undo()
{
    for (auto file = m_replaced.rbegin(); file != m_replaced.rend(); ++file) {
        if (file->before) {
            WriteFileAtomically(file->path, *file->before);
        } else {
            std::error_code error;
            std::filesystem::remove(file->path, error);
        }
    }
    m_replaced.clear();
}

} // namespace veldrane
