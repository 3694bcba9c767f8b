#include "profile/ConfigFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "ini/AtomicFile.h"

namespace veldrane {

namespace {

int LastErrorOr(int fallback)
{
    return errno != 0 ? errno : fallback;
}

} // namespace

ConfigFileReadResult ConfigFile::Read(const std::filesystem::path& path)
{
    ConfigFileReadResult result;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        result.status = error ? ConfigFileStatus::Unreadable : ConfigFileStatus::Missing;
        result.errorCode = error.value();
        return result;
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.status = ConfigFileStatus::Unreadable;
        result.errorCode = LastErrorOr(EIO);
        return result;
    }
    // A directory opens on some systems but has no file size; it is as unreadable as a locked file.
    result.size = std::filesystem::file_size(path, error);
    if (error) {
        result.status = ConfigFileStatus::Unreadable;
        result.errorCode = error.value();
        return result;
    }
    if (result.size != kConfigFileSize) {
        result.status = ConfigFileStatus::WrongSize;
        return result;
    }

    std::string bytes(kConfigFileSize, '\0');
    errno = 0;
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        result.status = ConfigFileStatus::Unreadable;
        result.errorCode = LastErrorOr(EIO);
        return result;
    }
    result.contents.firstRunFlag = static_cast<std::uint8_t>(bytes[kConfigFlagOffset]);
    const auto record = result.contents.record.Bytes();
    std::transform(bytes.begin() + kConfigRecordOffset, bytes.end(), record.begin(),
                   [](char byte) { return static_cast<std::uint8_t>(byte); });
    result.status = ConfigFileStatus::Read;
    return result;
}

std::string ConfigFile::Encode(std::uint8_t firstRunFlag, const ProfileRecord& record)
{
    std::string bytes;
    bytes.reserve(kConfigFileSize);
    bytes.push_back(static_cast<char>(firstRunFlag));
    for (const std::uint8_t byte : record.Bytes()) {
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

int ConfigFile::Write(const std::filesystem::path& path, std::uint8_t firstRunFlag, const ProfileRecord& record)
{
    errno = 0;
    if (WriteFileAtomically(path, Encode(firstRunFlag, record))) {
        return 0;
    }
    return LastErrorOr(EIO);
}

} // namespace veldrane
