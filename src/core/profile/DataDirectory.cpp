#include "core/profile/DataDirectory.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {

namespace {

// Writes `bytes` whole to a fresh temporary file in `directory`; its path, empty on failure.
std::filesystem::path WriteTemporary(const std::filesystem::path& directory, const std::string& name,
                                     const std::string& bytes)
{
    std::random_device random;
    std::filesystem::path path = directory / ("." + name + ".seed-" + std::to_string(random()));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return {};
    }
    return path;
}

} // namespace

std::vector<std::string> DataDirectory::SeedFileNames()
{
    std::vector<std::string> names{std::string(kFactoryConfigName), std::string(kListName)};
    for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
        names.push_back(ProfileConfigName(index));
        names.push_back(ProfileLabelName(index));
    }
    names.emplace_back(kMacroFileName);
    return names;
}

FileOutcome DataDirectory::Seed(const std::filesystem::path& installed, const std::filesystem::path& directory)
{
    std::error_code error;
    // The folders that do not exist yet, outermost first. They hold the user's own business, so
    // each one made here is the user's alone.
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path folder = directory.lexically_normal(); !folder.empty(); folder = folder.parent_path()) {
        if (std::filesystem::exists(folder, error) || folder == folder.parent_path()) {
            break;
        }
        missing.insert(missing.begin(), folder);
    }
    for (const std::filesystem::path& folder : missing) {
        std::filesystem::create_directory(folder, error);
        if (!error) {
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
        }
        if (error) {
            return {error, folder};
        }
    }
    if (!std::filesystem::is_directory(directory, error)) {
        return {std::make_error_code(std::errc::not_a_directory), directory};
    }
    for (const std::string& name : SeedFileNames()) {
        const std::filesystem::path target = directory / name;
        if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
            continue;
        }
        std::ifstream in(installed / name, std::ios::binary);
        if (!in) {
            continue; // not installed ("record.ini" usually is not)
        }
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad()) {
            return {std::make_error_code(std::errc::io_error), installed / name};
        }
        // Written afresh rather than copied: the installed file is read-only, the user's copy is not.
        const std::filesystem::path temporary = WriteTemporary(directory, name, bytes);
        if (temporary.empty()) {
            return {std::make_error_code(std::errc::io_error), target};
        }
        std::filesystem::create_hard_link(temporary, target, error);
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        if (error && error != std::errc::file_exists) {
            return {error, target};
        }
        error.clear();
    }
    return {};
}

} // namespace veldrane
