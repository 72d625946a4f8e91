// Speed of normalise and of decoding a "ScanCode Map" value, at 100 to 1,000,000 rows.
#include "MappingList.h"
#include "ScancodeMapValue.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// Sources and targets from the catalogue codes plus a few unknown ones.
std::vector<std::pair<ScanCode, ScanCode>> randomRows(int n)
{
    std::mt19937 rng(12345);
    std::vector<ScanCode> codes;
    for (int i = 0; i < KeyCatalogue::size; ++i)
        codes.push_back(KeyCatalogue::entryAt(i).code);
    codes.insert(codes.end(), {0x0056, 0x0070, 0x0073, 0xE037});
    std::vector<std::pair<ScanCode, ScanCode>> rows(n);
    for (auto& row : rows)
        row = {codes[1 + rng() % (codes.size() - 1)], codes[rng() % codes.size()]};
    return rows;
}

void BM_Normalise(benchmark::State& state)
{
    auto rows = randomRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        MappingList list;
        for (auto& row : rows)
            list.append(row.first, row.second);
        state.ResumeTiming();
        list.normalise();
        benchmark::DoNotOptimize(list.rows());
    }
}
BENCHMARK(BM_Normalise)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DecodeValue(benchmark::State& state)
{
    MappingList source;
    for (auto& row : randomRows(static_cast<int>(state.range(0))))
        source.append(row.first, row.second);
    std::vector<unsigned char> value(ScancodeMapValue::encodedSize(source.count()));
    ScancodeMapValue::encode(source, value.data());
    for (auto _ : state) {
        MappingList list;
        ScancodeMapValue::decode(value.data(), value.size(), list);
        benchmark::DoNotOptimize(list.rows());
    }
}
BENCHMARK(BM_DecodeValue)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
