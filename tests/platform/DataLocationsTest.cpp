// Where the program finds its installed data and the user's files.

#include "platform/linux/DataLocations.h"

#include <gtest/gtest.h>

#include <map>

namespace veldrane {
namespace {

struct LocationCase
{
    const char* name;
    std::map<std::string, std::string> environment;
    std::string dataDirOption;
    bool simulate;
    std::string user;
};

class DataLocationsTest : public ::testing::TestWithParam<LocationCase>
{
};

TEST_P(DataLocationsTest, UserFolder)
{
    const auto& environment = GetParam().environment;
    const auto lookup = [&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };
    const DataLocations locations =
        DataLocations::Resolve("/opt/v/bin", GetParam().dataDirOption, GetParam().simulate, lookup);
    EXPECT_EQ(locations.installed, "/opt/v/share/veldrane");
    EXPECT_EQ(locations.user.string(), GetParam().user);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataLocationsTest,
    ::testing::Values(
        LocationCase{"XdgDataHome", {{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "", false, "/x/veldrane"},
        LocationCase{"HomeWhenXdgUnset", {{"HOME", "/h"}}, "", false, "/h/.local/share/veldrane"},
        // A relative XDG_DATA_HOME is invalid and ignored.
        LocationCase{
            "RelativeXdgIgnored", {{"XDG_DATA_HOME", "rel"}, {"HOME", "/h"}}, "", false, "/h/.local/share/veldrane"},
        LocationCase{"SimulatedMouseApart", {{"HOME", "/h"}}, "", true, "/h/.local/share/veldrane/simulated"},
        LocationCase{"DataDirAsGiven", {{"HOME", "/h"}}, "/d/", true, "/d/"},
        LocationCase{"NoHomeNoFolder", {}, "", false, ""}),
    [](const ::testing::TestParamInfo<LocationCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
