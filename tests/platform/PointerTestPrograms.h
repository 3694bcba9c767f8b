#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace veldrane::test {

// An executable shell script standing in for a desktop tool: it appends each of its arguments on
// a line of its own to `log`, then a line "--", and exits with `status`.
inline std::filesystem::path WriteRecordingProgram(const std::filesystem::path& directory, const std::string& name,
                                                   const std::filesystem::path& log, int status = 0)
{
    const std::filesystem::path program = directory / name;
    WriteFileBytes(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + log.string() +
                                "'; done\necho -- >> '" + log.string() + "'\nexit " + std::to_string(status) + "\n");
    ::chmod(program.c_str(), 0755);
    return program;
}

} // namespace veldrane::test
