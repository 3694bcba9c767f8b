#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/ini/FileError.h"

namespace veldrane {

// The user's data directory: the profile, label and macro files the program reads and writes,
// with the names and formats of the installed factory files they start from.
class DataDirectory
{
public:
    // The files a data directory starts with, copied from the installed data where they exist
    // there: "config.bin", "config0.bin" to "config5.bin", "str.ini", "str0.ini" to "str5.ini",
    // "record.ini".
    static std::vector<std::string> SeedFileNames();

    // Creates `directory` (each folder made on the way with mode 0700) and copies into it each seed file of
    // `installed` that it lacks. A file that exists in `directory` is never replaced, not even
    // by a second program seeding at the same moment: each copy is written whole under a
    // temporary name and linked in only where the name is still free. The outcome names the
    // folder or file that could not be made, and why.
    static FileOutcome Seed(const std::filesystem::path& installed, const std::filesystem::path& directory);
};

} // namespace veldrane
