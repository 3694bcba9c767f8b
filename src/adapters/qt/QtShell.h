#pragma once

#include "ports/Shell.h"

namespace veldrane {

// The desktop's shell through Qt: the default browser, detached processes, the processor the
// system runs on.
class QtShell : public Shell
{
public:
    void OpenUrl(std::string_view url) override;
    bool StartDetached(const std::filesystem::path& program) override;
    ProcessorArchitecture Architecture() const override;

    // The architecture named the way QSysInfo::currentCpuArchitecture() names it.
    static ProcessorArchitecture ArchitectureFromName(std::string_view name);
};

} // namespace veldrane
