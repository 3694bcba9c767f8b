#include "ini/AtomicFile.h"

#include <fstream>
#include <random>
#include <string>

namespace veldrane {

namespace {

constexpr int kNameAttempts = 16;

std::filesystem::path FreeTemporaryPath(const std::filesystem::path& target)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string suffix = ".tmp-";
        for (unsigned bits = random(), digit = 0; digit < 8; ++digit, bits >>= 4) {
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

} // namespace veldrane
