#include "core/text/ButtonLabelTranslation.h"

#include <optional>
#include <span>

#include "core/text/AssignmentTexts.h"

namespace veldrane {

namespace {

// Labels of functions with a detail: the function's text, this separator, the detail.
constexpr std::string_view kDetailSeparator = "-";

std::optional<std::size_t> IndexOf(std::span<const std::string_view> texts, std::string_view label)
{
    for (std::size_t index = 0; index < texts.size(); ++index) {
        if (texts[index] == label) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace

std::string TranslateButtonLabel(std::string_view label, Language from, Language to)
{
    const AssignmentTexts& source = AssignmentTextsFor(from);
    const AssignmentTexts& target = AssignmentTextsFor(to);
    const std::span<const std::string_view> lists[][2] = {
        {source.functions, target.functions},
        {source.cpiActions, target.cpiActions},
        {source.media, target.media},
        {source.hotKeys, target.hotKeys},
        {source.systemCommands, target.systemCommands},
    };
    for (const auto& [sourceTexts, targetTexts] : lists) {
        if (const auto index = IndexOf(sourceTexts, label)) {
            return std::string(targetTexts[*index]);
        }
    }
    // The longest function text that begins the label, so that one text that begins another
    // does not take its place.
    std::optional<std::size_t> entry;
    for (std::size_t index = 0; index < source.functions.size(); ++index) {
        const std::string_view function = source.functions[index];
        if (!function.empty() && label.starts_with(function) &&
            label.substr(function.size()).starts_with(kDetailSeparator) &&
            (!entry || function.size() > source.functions[*entry].size())) {
            entry = index;
        }
    }
    if (!entry) {
        return std::string(label);
    }
    std::string translated(target.functions[*entry]);
    translated += label.substr(source.functions[*entry].size());
    return translated;
}

} // namespace veldrane
