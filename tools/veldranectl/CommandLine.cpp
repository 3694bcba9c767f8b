#include "CommandLine.h"

#include <algorithm>
#include <ostream>

#include "Diagnostics.h"

namespace veldrane::ctl {

namespace {

constexpr std::string_view kEndOfOptions = "--";

bool IsOption(std::string_view argument)
{
    return argument.size() > 1 && argument.front() == '-';
}

bool IsHelp(std::string_view argument)
{
    return argument == "--help" || argument == "-h";
}

// An argument as a refusal quotes it: its control characters (a line break among them) as '?', so
// that the refusal stays one line.
std::string Shown(std::string_view argument)
{
    std::string shown(argument);
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return shown;
}

} // namespace

std::optional<CommandLine> CommandLine::Parse(std::string_view command, CommandArgs args,
                                              std::span<const OptionSpec> options, std::string_view operand,
                                              std::size_t minOperands, std::size_t maxOperands, std::ostream& err)
{
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& argument = args[i];
        if (!optionsEnded && argument == kEndOfOptions) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !IsOption(argument)) {
            if (line.m_operands.size() == maxOperands) {
                Error(err, command) << "unexpected argument '" << Shown(argument) << "'\n";
                return std::nullopt;
            }
            line.m_operands.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const auto known =
            std::find_if(options.begin(), options.end(), [&](const OptionSpec& option) { return option.name == name; });
        if (known == options.end()) {
            Error(err, command) << "unknown option '" << Shown(argument) << "'\n";
            return std::nullopt;
        }
        if (!known->TakesValue()) {
            if (equals != std::string::npos) {
                Error(err, name) << "takes no value\n";
                return std::nullopt;
            }
            line.m_options.emplace_back(name, std::string());
            continue;
        }
        std::optional<std::string> value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (!value || (known->accepts != nullptr && !known->accepts(*value))) {
            Error(err, name) << "needs " << known->needs << '\n';
            return std::nullopt;
        }
        line.m_options.emplace_back(name, std::move(*value));
    }
    if (line.m_operands.size() < minOperands) {
        Error(err, command) << "needs " << operand << '\n';
        return std::nullopt;
    }
    return line;
}

bool CommandLine::AsksForHelp(CommandArgs args)
{
    for (const std::string& argument : args) {
        if (argument == kEndOfOptions) {
            return false;
        }
        if (IsHelp(argument)) {
            return true;
        }
    }
    return false;
}

bool CommandLine::Has(std::string_view name) const
{
    return std::any_of(m_options.begin(), m_options.end(), [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> CommandLine::Value(std::string_view name) const
{
    std::optional<std::string> value;
    for (const auto& [given, text] : m_options) {
        if (given == name) {
            value = text;
        }
    }
    return value;
}

std::vector<std::string> CommandLine::Values(std::string_view name) const
{
    std::vector<std::string> values;
    for (const auto& [given, text] : m_options) {
        if (given == name) {
            values.push_back(text);
        }
    }
    return values;
}

} // namespace veldrane::ctl
