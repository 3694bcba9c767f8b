#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

// The longest recording the manager keeps: 127 lines, each event followed by its wait.
constexpr std::size_t kFullMacroItems = 127;

// Macro `n` filled to kFullMacroItems lines. The two variants differ in every line, so that each
// save of the other variant really changes the whole section, as a new recording does.
MacroRecord FullMacro(std::size_t n, int variant)
{
    MacroRecord record;
    record.name = "Macro_" + std::to_string(n);
    record.DelayTimeSelStatus = 1;
    record.LoopTimeSelStatus = 1;
    record.MacroLoopTimes = std::to_string(n + 1);
    const std::string key(1, static_cast<char>((variant == 0 ? 'A' : 'N') + static_cast<char>(n)));
    for (std::size_t i = 0; i < kFullMacroItems; ++i) {
        if (i % 2 == 1) {
            record.items.push_back(MacroItem::Delay(static_cast<long>(10 * (i + 1) + variant * 5)));
        } else if (i % 4 == 0) {
            record.items.push_back(MacroItem::Press(key));
        } else {
            record.items.push_back(MacroItem::Release(key));
        }
    }
    return record;
}

// record.ini holding twelve full macros in a fresh directory.
class TwelveMacroFile
{
public:
    TwelveMacroFile()
    {
        test::WriteFileBytes(m_file.Path(), "");
        Save(0);
    }

    IniFile& File() { return m_file; }

    void Save(int variant)
    {
        for (std::size_t n = 0; n < kMacroCount; ++n) {
            if (SaveMacro(m_file, FullMacro(n, variant)) != MacroSaveResult::Saved) {
                std::abort(); // a benchmark of writes that fail measures nothing
            }
        }
    }

private:
    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
};

void BM_RebuildMacroData(benchmark::State& state)
{
    TwelveMacroFile macros;
    for (auto _ : state) {
        MacroData data = RebuildMacroData(macros.File(), kMacroCount);
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_RebuildMacroData)->Unit(benchmark::kMillisecond);

// One save of a full macro among twelve, as the manager does after every change of its list.
void BM_SaveMacro(benchmark::State& state)
{
    TwelveMacroFile macros;
    const MacroRecord variants[] = {FullMacro(5, 1), FullMacro(5, 0)};
    std::size_t iteration = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveMacro(macros.File(), variants[iteration++ % 2]));
    }
}
BENCHMARK(BM_SaveMacro)->Unit(benchmark::kMillisecond);

void BM_SaveTwelveMacros(benchmark::State& state)
{
    TwelveMacroFile macros;
    int variant = 0;
    for (auto _ : state) {
        variant = 1 - variant;
        macros.Save(variant);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kMacroCount));
}
BENCHMARK(BM_SaveTwelveMacros)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace veldrane
