// Where the program finds its installed data and the user's files.

#include "platform/linux/DataLocations.h"

#include <gtest/gtest.h>

#include <map>

namespace veldrane {
namespace {

TEST(DataLocations, UserFolder)
{
    const struct
    {
        std::map<std::string, std::string> environment;
        std::string dataDirOption;
        bool simulate;
        std::string user;
    } cases[] = {{{{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "", false, "/x/veldrane"},
                 {{{"HOME", "/h"}}, "", false, "/h/.local/share/veldrane"},
                 // A relative XDG_DATA_HOME is invalid and ignored.
                 {{{"XDG_DATA_HOME", "rel"}, {"HOME", "/h"}}, "", false, "/h/.local/share/veldrane"},
                 {{{"HOME", "/h"}}, "", true, "/h/.local/share/veldrane/simulated"},
                 {{{"HOME", "/h"}}, "/d/", true, "/d/"},
                 {{}, "", false, ""}};
    for (const auto& c : cases) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        const DataLocations locations = DataLocations::Resolve("/opt/v/bin", c.dataDirOption, c.simulate, lookup);
        EXPECT_EQ(locations.installed, "/opt/v/share/veldrane");
        EXPECT_EQ(locations.user.string(), c.user);
    }
}

} // namespace
} // namespace veldrane
