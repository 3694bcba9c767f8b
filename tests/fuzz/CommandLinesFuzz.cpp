// Both programs' command lines as any arguments: the input is split at NUL bytes into words.
// veldranectl's parser either takes them (every operand within the counts asked for, every value
// of an option that checks its values accepted) or refuses with exactly one line; the
// configurator's either gives options to run with and says nothing, or ends at once with its
// status and a text, a usage error always explained on standard error.

#include <QStringList>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "FuzzSupport.h"
#include "gui/AppOptions.h"
#include "ports/ExitStatus.h"

namespace {

using namespace veldrane;

bool IsDigits(std::string_view value)
{
    return !value.empty() && value.find_first_not_of("0123456789") == std::string_view::npos;
}

constexpr std::array<ctl::OptionSpec, 3> kOptions = {
    {{"--json"}, {"--seconds", "a number of seconds", IsDigits}, {"--data-dir", "a folder"}}};

void CheckToolParser(const std::vector<std::string>& words, std::size_t minOperands, std::size_t maxOperands)
{
    std::ostringstream err;
    const auto parsed = ctl::CommandLine::Parse("listen", words, kOptions, "FILE", minOperands, maxOperands, err);
    if (!parsed) {
        const std::string text = err.str();
        fuzz::Require(!text.empty() && text.back() == '\n', "a refusal without its line");
        fuzz::Require(text.find('\n') == text.size() - 1, "a refusal of more than one line");
        return;
    }
    fuzz::Require(err.str().empty(), "a taken command line printed an error");
    const std::size_t operands = parsed->Operands().size();
    fuzz::Require(operands >= minOperands && operands <= maxOperands, "operands outside the counts asked for");
    for (const std::string& seconds : parsed->Values("--seconds")) {
        fuzz::Require(IsDigits(seconds), "a value the option refuses was taken");
    }
}

void CheckProgramParser(const std::vector<std::string>& words)
{
    QStringList arguments{QStringLiteral("veldrane")};
    for (const std::string& word : words) {
        arguments << QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
    }
    const AppCommandLine line = ParseAppCommandLine(arguments);
    if (line.options) {
        fuzz::Require(line.exitStatus == kExitDone && line.out.isEmpty() && line.err.isEmpty(),
                      "options to run with came with a status or a text");
        return;
    }
    fuzz::Require(line.exitStatus == kExitDone || line.exitStatus == kExitUsage, "an unexpected exit status");
    fuzz::Require(line.exitStatus != kExitUsage || !line.err.isEmpty(), "a usage error without its explanation");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputReader input(data, size);
    const std::size_t minOperands = input.Byte() % 3;
    const std::size_t maxOperands = minOperands + input.Byte() % 3;
    std::vector<std::string> words;
    const std::string_view rest = input.Rest();
    std::size_t start = 0;
    while (start <= rest.size() && words.size() < 32) {
        const std::size_t end = std::min(rest.find('\0', start), rest.size());
        words.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    CheckToolParser(words, minOperands, maxOperands);
    CheckProgramParser(words);
    return 0;
}
