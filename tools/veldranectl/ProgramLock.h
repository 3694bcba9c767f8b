#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace veldrane::ctl {

// The configurator's single-instance lock, held while the tool works on the data folder and the
// mouse itself: the program does not start meanwhile, and the tool does not start while the
// program runs. A lock whose process has gone is taken over, as the program takes it over.
class ProgramLock
{
public:
    ProgramLock();
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // True when this process now holds the lock; false when a live process holds it.
    [[nodiscard]] bool TryAcquire();
    std::string Path() const;

private:
    std::string m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace veldrane::ctl
