#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Shell.h"

namespace veldrane::test {

// Records the pages opened and the programs started, which always start; reports the architecture
// it is given.
class RecordingShell : public Shell
{
public:
    void OpenUrl(std::string_view url) override { openedUrls.emplace_back(url); }
    bool StartDetached(const std::filesystem::path& program) override
    {
        startedPrograms.push_back(program);
        return true;
    }
    ProcessorArchitecture Architecture() const override { return architecture; }

    ProcessorArchitecture architecture = ProcessorArchitecture::X86_64;
    std::vector<std::string> openedUrls;
    std::vector<std::filesystem::path> startedPrograms;
};

} // namespace veldrane::test
