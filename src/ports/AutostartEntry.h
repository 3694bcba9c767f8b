#pragma once

#include <string>
#include <vector>

namespace veldrane {

// The desktop's entry that starts the program with the user's session.
class AutostartEntry
{
public:
    virtual ~AutostartEntry() = default;

    // Whether the desktop has a place for the entry at all.
    virtual bool Available() const = 0;
    virtual bool IsEnabled() const = 0;
    // Writes the entry that starts `command` (the program's absolute path and its arguments).
    // False when it could not be written.
    [[nodiscard]] virtual bool Enable(const std::vector<std::string>& command) const = 0;
    // Removes the entry. False when it is still there.
    [[nodiscard]] virtual bool Disable() const = 0;
};

} // namespace veldrane
