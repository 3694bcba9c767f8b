#include "Diagnostics.h"

#include <cstring>
#include <ostream>

namespace veldrane::ctl {

std::ostream& Error(std::ostream& err, std::string_view subject)
{
    return err << kToolName << ": " << subject << ": ";
}

std::optional<ConfigFileContents> ReadProfileFile(const std::string& path, std::ostream& err)
{
    const ConfigFileReadResult file = ConfigFile::Read(path);
    switch (file.status) {
    case ConfigFileStatus::Read:
        return file.contents;
    case ConfigFileStatus::Missing:
        Error(err, path) << "no such file\n";
        break;
    case ConfigFileStatus::Unreadable:
        Error(err, path) << "cannot read: " << std::strerror(file.errorCode) << '\n';
        break;
    case ConfigFileStatus::WrongSize:
        Error(err, path) << "size " << file.size << " bytes, a profile file has " << kConfigFileSize << '\n';
        break;
    }
    return std::nullopt;
}

} // namespace veldrane::ctl
