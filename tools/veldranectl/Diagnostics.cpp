#include "Diagnostics.h"

#include <ostream>

#include "adapters/linux/DataLocations.h"
#include "core/profile/DataDirectory.h"
#include "core/text/FileErrorTexts.h"

namespace veldrane::ctl {

std::ostream& Error(std::ostream& err, std::string_view subject)
{
    return err << kToolName << ": " << subject << ": ";
}

std::string FileReason(int errorCode)
{
    return FileErrorReason(errorCode, Language::English);
}

std::string InDataDirectory(const std::string& name, const std::optional<std::string>& dataDir)
{
    const std::filesystem::path path(name);
    if (!dataDir || path.is_absolute()) {
        return name;
    }
    const DataLocations locations = DataLocations::Resolve(DataLocations::ExecutableDirectory(), *dataDir, false);
    // A folder that cannot be seeded still names the file; reading it tells what is wrong.
    (void)DataDirectory::Seed(locations.installed, locations.user).Done();
    return (locations.user / path).string();
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
        Error(err, path) << "cannot read: " << FileReason(file.error.value()) << '\n';
        break;
    case ConfigFileStatus::WrongSize:
        Error(err, path) << "size " << file.size << " bytes, a profile file has " << kConfigFileSize << '\n';
        break;
    }
    return std::nullopt;
}

} // namespace veldrane::ctl
