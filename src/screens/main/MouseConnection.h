#pragma once

namespace veldrane {

struct ProfileRecord;

// The mouse as the shell's commands see it: whether it is connected, and the download of a whole
// profile into it (the reports only: the commands store the files first); true only when the
// mouse took all of them. The download may change the record as it goes (it clears
// `deviceProfile`).
class MouseConnection
{
public:
    virtual ~MouseConnection() = default;

    virtual bool IsConnected() const = 0;
    virtual bool DownloadProfile(ProfileRecord& record) = 0;
};

} // namespace veldrane
