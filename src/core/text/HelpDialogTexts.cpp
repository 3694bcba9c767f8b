#include "core/text/HelpDialogTexts.h"

namespace veldrane {
namespace {

constexpr std::string_view kUpdateLine = "Update 驱动更新";
constexpr std::string_view kVersionLine = "Version：1.1";

constexpr HelpDialogTexts kTexts{
    .webAddress = kMakerWebAddress,
    .update = kUpdateLine,
    .version = kVersionLine,
};

} // namespace

const HelpDialogTexts& HelpDialogTextsFor(Language /*language*/)
{
    return kTexts;
}

} // namespace veldrane
