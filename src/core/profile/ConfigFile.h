#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/profile/ProfileRecord.h"

namespace veldrane {

// One binary configuration file ("config.bin", "config%d.bin", an exported profile), exactly
// 1825 bytes, no header, no checksum:
//
//   0     firstRunFlag   0 = never written by the program, 1 = written by a save or an export
//   1     the 1824 bytes of the ProfileRecord, byte for byte
inline constexpr std::size_t kConfigFlagOffset = 0;
inline constexpr std::size_t kConfigRecordOffset = 1;
inline constexpr std::size_t kConfigFileSize = kConfigRecordOffset + kProfileRecordSize;

// The flag byte that every save and export writes.
inline constexpr std::uint8_t kConfigWrittenFlag = 1;

struct ConfigFileContents
{
    std::uint8_t firstRunFlag = 0;
    ProfileRecord record{};
};

enum class ConfigFileStatus
{
    Read,
    Missing,    // nothing at the path
    Unreadable, // there is something, but it cannot be opened or read whole (error says why)
    WrongSize,  // not 1825 bytes (size says how many)
};

struct [[nodiscard]] ConfigFileReadResult
{
    ConfigFileStatus status = ConfigFileStatus::Missing;
    ConfigFileContents contents;
    std::uintmax_t size = 0;
    std::error_code error; // for Unreadable: the system's error of the failed step, or a FileError
};

// Reading and writing the file form. A read either delivers the whole file or nothing, so a
// failed read never leaves half a record behind.
class ConfigFile
{
public:
    static ConfigFileReadResult Read(const std::filesystem::path& path);

    // The 1825 bytes of a file with that flag and record.
    static std::string Encode(std::uint8_t firstRunFlag, const ProfileRecord& record);

    // Replaces the file atomically (the old file stays whole when the write fails). No error, or
    // the errno of the step that failed (a FileError for a target that is no file).
    [[nodiscard]] static std::error_code Write(const std::filesystem::path& path, std::uint8_t firstRunFlag,
                                               const ProfileRecord& record);
};

} // namespace veldrane
