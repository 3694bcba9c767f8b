#include "ports/FileSync.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace veldrane {

namespace {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

} // namespace

std::error_code CreateFileExclusively(const std::filesystem::path& path, std::string_view bytes)
{
    // The mode is what fopen would give a new file; the umask still applies.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return LastError();
    }
    std::error_code error;
    for (std::size_t done = 0; done < bytes.size() && !error;) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno != EINTR) {
                error = LastError();
            }
            continue;
        }
        done += static_cast<std::size_t>(written);
    }
    if (!error && ::fsync(fd) != 0) {
        error = LastError();
    }
    // A full disk may only show at close on some file systems.
    if (::close(fd) != 0 && !error) {
        error = LastError();
    }
    return error;
}

std::error_code SyncDirectory(const std::filesystem::path& directory)
{
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return LastError();
    }
    std::error_code error;
    if (::fsync(fd) != 0) {
        error = LastError();
    }
    ::close(fd);
    return error;
}

} // namespace veldrane
