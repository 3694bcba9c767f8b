#pragma once

#include <filesystem>
#include <string_view>

namespace veldrane {

enum class ProcessorArchitecture
{
    X86_64,
    Arm64,
    X86,
    Other
};

// The desktop's shell: web pages in the user's browser, programs started on their own.
class Shell
{
public:
    virtual ~Shell() = default;

    virtual void OpenUrl(std::string_view url) = 0;
    // Starts the program as a process of its own that this one does not wait for; false when it
    // could not be started.
    virtual bool StartDetached(const std::filesystem::path& program) = 0;
    // The processor the system runs on (not the one this program was built for).
    virtual ProcessorArchitecture Architecture() const = 0;
};

} // namespace veldrane
