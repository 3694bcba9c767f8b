#include "core/ini/AtomicFile.h"

#include <array>
#include <chrono>
#include <ctime>
#include <random>
#include <string>

#include "core/ini/FileError.h"
#include "ports/FileSync.h"

namespace veldrane {

namespace {

constexpr int kNameAttempts = 16;

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& target, std::random_device& random)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string name(kTemporaryFilePrefix);
    name += target.filename().string();
    name += '.';
    for (unsigned bits = random(), digit = 0; digit < 8; ++digit, bits >>= 4) {
        name += kHexDigits[bits & 0xF];
    }
    return target.parent_path() / name;
}

std::string LocalTimeStamp()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::array<char, 32> text{};
    const std::tm* local = std::localtime(&now);
    if (local == nullptr || std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", local) == 0) {
        return "00000000-000000";
    }
    return text.data();
}

constexpr int kAsideAttempts = 100;

} // namespace

std::filesystem::path MoveAside(const std::filesystem::path& path, std::error_code& error)
{
    const std::string base = path.filename().string() + std::string(kBrokenFileInfix) + LocalTimeStamp();
    for (int attempt = 1; attempt <= kAsideAttempts; ++attempt) {
        std::filesystem::path aside = path.parent_path() / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
        // rename() replaces an existing target: a kept file is never the target of another.
        std::error_code probe;
        if (std::filesystem::symlink_status(aside, probe).type() != std::filesystem::file_type::not_found) {
            continue;
        }
        std::filesystem::rename(path, aside, error);
        if (error) {
            return {};
        }
        SyncDirectory(path.parent_path());
        return aside;
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    std::error_code ignored;
    const std::filesystem::file_status old = std::filesystem::status(path, ignored);
    if (std::filesystem::exists(old) && !std::filesystem::is_regular_file(old)) {
        return std::filesystem::is_directory(old) ? std::make_error_code(std::errc::is_a_directory)
                                                  : make_error_code(FileError::NotRegularFile);
    }

    std::random_device random;
    std::filesystem::path temporary;
    std::error_code error;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = TemporaryPathBeside(path, random);
        error = CreateFileExclusively(temporary, bytes);
        if (error != std::errc::file_exists) {
            break;
        }
    }
    if (error) {
        // Only a file this write created is removed: a name that was taken is someone else's.
        if (error != std::errc::file_exists) {
            std::filesystem::remove(temporary, ignored);
        }
        return error;
    }
    if (std::filesystem::is_regular_file(old)) {
        std::filesystem::permissions(temporary, old.permissions(), ignored); // best effort
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, ignored);
        return error;
    }
    // The new file is in place; a directory that cannot be flushed (some file systems refuse it)
    // does not undo that.
    SyncDirectory(path.parent_path());
    return {};
}

std::size_t RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory)
{
    std::size_t removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().filename().string().starts_with(kTemporaryFilePrefix) &&
            entry->symlink_status(error).type() == std::filesystem::file_type::regular) {
            std::error_code ignored;
            removed += std::filesystem::remove(entry->path(), ignored) ? 1 : 0;
        }
    }
    return removed;
}

} // namespace veldrane
