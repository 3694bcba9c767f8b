#include "ini/AtomicFile.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <string>

namespace veldrane {

namespace {

constexpr int kNameAttempts = 16;
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr std::size_t kTemporaryDigits = 8;

bool IsTemporaryName(std::string_view name)
{
    const std::size_t marker = name.rfind(kTemporaryMarker);
    if (marker == std::string_view::npos || marker == 0 ||
        name.size() != marker + kTemporaryMarker.size() + kTemporaryDigits) {
        return false;
    }
    const std::string_view digits = name.substr(marker + kTemporaryMarker.size());
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::filesystem::path FreeTemporaryPath(const std::filesystem::path& target)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string suffix(kTemporaryMarker);
        for (unsigned bits = random(), digit = 0; digit < kTemporaryDigits; ++digit, bits >>= 4) {
            suffix += kHexDigits[bits & 0xF];
        }
        std::filesystem::path candidate = target;
        candidate += suffix;
        std::error_code error;
        if (std::filesystem::symlink_status(candidate, error).type() == std::filesystem::file_type::not_found) {
            return candidate;
        }
    }
    return {};
}

bool WriteWhole(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    return !out.fail();
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    const std::filesystem::path temporary = FreeTemporaryPath(path);
    if (temporary.empty()) {
        return false;
    }
    std::error_code error;
    if (!WriteWhole(temporary, bytes)) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    const std::filesystem::file_status old = std::filesystem::status(path, error);
    if (!error && std::filesystem::is_regular_file(old)) {
        std::filesystem::permissions(temporary, old.permissions(), error); // best effort
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

void RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored) && IsTemporaryName(entry.path().filename().string())) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
}

} // namespace veldrane
