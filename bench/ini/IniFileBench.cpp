#include <benchmark/benchmark.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

enum Shape : int
{
    kManySections = 0, // state.range(1) sections of one key each, as a huge macro file
    kManyKeys = 1,     // one section of state.range(1) keys
};

std::string BuildText(int shape, std::size_t count)
{
    std::string text;
    if (shape == kManyKeys) {
        text += "[Macro_0]\r\n";
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (shape == kManySections) {
            text += "[Macro_" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
        } else {
            text += "Item" + std::to_string(i) + "=   A   Dn\r\n";
        }
    }
    return text;
}

// A file of the benchmark's shape and size in a fresh directory.
class LargeIniFile
{
public:
    explicit LargeIniFile(const benchmark::State& state)
        : m_bytes(BuildText(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1))))
    {
        test::WriteFileBytes(m_file.Path(), m_bytes);
    }

    IniFile& File() { return m_file; }
    std::size_t Size() const { return m_bytes.size(); }

    // Seconds per megabyte of the file, shown beside each timing.
    void Report(benchmark::State& state) const
    {
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Size()));
        state.counters["time_per_MB"] =
            benchmark::Counter(static_cast<double>(Size()) / 1e6,
                               benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
        state.counters["MB"] = static_cast<double>(Size()) / 1e6;
    }

private:
    std::string m_bytes;
    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / "record.ini", m_codec};
};

// The floor: the same bytes read into memory and nothing else.
void BM_PlainRead(benchmark::State& state)
{
    LargeIniFile file(state);
    for (auto _ : state) {
        std::ifstream in(file.File().Path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes);
    }
    file.Report(state);
}

// One read of the file and a lookup of its last key, as a load does.
void BM_ReadAndLookUp(benchmark::State& state)
{
    LargeIniFile file(state);
    const std::string last = std::to_string(state.range(1) - 1);
    for (auto _ : state) {
        const IniSnapshot snapshot = file.File().Read();
        benchmark::DoNotOptimize(state.range(0) == kManyKeys ? snapshot.GetString("Macro_0", "Item" + last)
                                                             : snapshot.GetString("Macro_" + last, "MacroLoopTimes"));
    }
    file.Report(state);
}

// Every section name, or every key of the one section, with their duplicate checks.
void BM_Listing(benchmark::State& state)
{
    LargeIniFile file(state);
    for (auto _ : state) {
        const IniSnapshot snapshot = file.File().Read();
        if (state.range(0) == kManyKeys) {
            benchmark::DoNotOptimize(snapshot.Section("Macro_0"));
        } else {
            benchmark::DoNotOptimize(snapshot.SectionNames());
        }
    }
    file.Report(state);
}

// A section rewritten whole, as a macro save does: the old one removed and every key written anew.
void BM_RewriteSection(benchmark::State& state)
{
    LargeIniFile file(state);
    const std::size_t keys = state.range(0) == kManyKeys ? static_cast<std::size_t>(state.range(1)) : 5;
    int variant = 0;
    for (auto _ : state) {
        IniBatch batch;
        batch.DeleteSection("Macro_0");
        for (std::size_t i = 0; i < keys; ++i) {
            batch.WriteString("Macro_0", "Item" + std::to_string(i), variant == 0 ? "10 ms" : "20 ms");
        }
        variant = 1 - variant;
        benchmark::DoNotOptimize(file.File().Apply(batch));
    }
    file.Report(state);
}

void Shapes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"shape", "count"});
    for (const int count : {10'000, 40'000, 100'000}) {
        benchmark->Args({kManySections, count});
        benchmark->Args({kManyKeys, count});
    }
    benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PlainRead)->Apply(Shapes);
BENCHMARK(BM_ReadAndLookUp)->Apply(Shapes);
BENCHMARK(BM_Listing)->Apply(Shapes);
BENCHMARK(BM_RewriteSection)->Apply(Shapes);

} // namespace
} // namespace veldrane
