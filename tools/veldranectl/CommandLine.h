#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veldrane::ctl {

// The arguments after the command's name.
using CommandArgs = std::span<const std::string>;

// An option a command takes: a flag ("--json") when it names no value, otherwise one that takes
// a value as "--name VALUE" or "--name=VALUE". `needs` completes "needs ..." when the value is
// missing or, where `accepts` is given, a value it does not accept.
struct OptionSpec
{
    std::string_view name;
    std::string_view needs = {};
    bool (*accepts)(std::string_view value) = nullptr;
    bool TakesValue() const { return !needs.empty(); }
};

// The one argument parser of the tool: every command reads its options and file names with it.
// "--" ends the options, so that a file name may begin with a dash.
class CommandLine
{
public:
    // `operand` names the file arguments in messages ("FILE.bin"); between `minOperands` and
    // `maxOperands` of them are taken. Nothing, after one line on `err`, for anything else.
    static std::optional<CommandLine> Parse(std::string_view command, CommandArgs args,
                                            std::span<const OptionSpec> options, std::string_view operand,
                                            std::size_t minOperands, std::size_t maxOperands, std::ostream& err);

    // True when `args` asks for the command's help ("--help" or "-h" before any "--").
    static bool AsksForHelp(CommandArgs args);

    bool Has(std::string_view name) const;
    // The value of the last `name` given.
    std::optional<std::string> Value(std::string_view name) const;
    // The values of every `name` given, in order.
    std::vector<std::string> Values(std::string_view name) const;
    const std::vector<std::string>& Operands() const { return m_operands; }

private:
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_operands;
};

} // namespace veldrane::ctl
