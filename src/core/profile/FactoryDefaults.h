#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/Language.h"

namespace veldrane {

// What the installed files hold on a new installation: "config.bin" (the factory profile that
// "Reset" brings back), the six profile files, the list and the label files. The program never
// creates these files; the build writes them beside the executable from these defaults.

// The one named profile of a new installation, selected.
inline constexpr std::string_view kFactoryProfileName = "PROFILE_0";
// The interface language of a new installation.
inline constexpr std::string_view kFactoryLanguageCode = "EN";

// The factory settings, macros all zero.
ProfileRecord FactoryProfile();

// The label of each button's factory function in `language`, as the assignment menu names it.
std::array<std::string, kButtonCount> FactoryLabels(Language language);

// Sections "Skins" and "Point" of the installed label files.
SkinSettings FactorySkin();
PointSettings FactoryPoint();

} // namespace veldrane
