#include "core/profile/ConfigFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"

namespace veldrane {

ConfigFileReadResult ConfigFile::Read(const std::filesystem::path& path)
{
    ConfigFileReadResult result;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        result.status = ConfigFileStatus::Missing;
        return result;
    }
    if (error) {
        result.status = ConfigFileStatus::Unreadable;
        result.error = error;
        return result;
    }
    // A FIFO would block the open until someone writes into it; nothing but a file is opened.
    if (!std::filesystem::is_regular_file(status)) {
        result.status = ConfigFileStatus::Unreadable;
        result.error = std::filesystem::is_directory(status) ? std::make_error_code(std::errc::is_a_directory)
                                                             : make_error_code(FileError::NotRegularFile);
        return result;
    }

    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.status = ConfigFileStatus::Unreadable;
        result.error = StreamError();
        return result;
    }
    result.size = std::filesystem::file_size(path, error);
    if (error) {
        result.status = ConfigFileStatus::Unreadable;
        result.error = error;
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
        result.error = StreamError();
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

std::error_code ConfigFile::Write(const std::filesystem::path& path, std::uint8_t firstRunFlag,
                                  const ProfileRecord& record)
{
    return WriteFileAtomically(path, Encode(firstRunFlag, record));
}

} // namespace veldrane
