#pragma once

#include <string>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The names a screen reader gives to the controls of the painted windows that show no text of
// their own. A "%d" stands for a stage number.
struct ControlCaptionTexts
{
    std::string_view help;           // the title bar's "?"
    std::string_view minimise;       // the title bar's "_"
    std::string_view close;          // the title bar's cross
    std::string_view cpiStage;       // the track of a CPI stage: "CPI stage %d"
    std::string_view cpiStageSwitch; // its enable switch
    std::string_view cpiStageColour; // its colour swatch
    std::string_view cpiUnit;        // " CPI" after a CPI value
};

const ControlCaptionTexts& ControlCaptionTextsFor(Language language);

// `caption` with its "%d" replaced by `number`.
std::string NumberedCaption(std::string_view caption, int number);

} // namespace veldrane
