// A keystroke's search of the instrument directory, at the size of both real markets (about
// 5,600 stocks, with the indices and funds offered besides), against a plain scan of the same
// listings for the typed text in their codes and names. Also the directory's build, which runs
// once, on a thread of its own. Names are two to four characters of GB2312's first level, the
// everyday characters, so that the build reads about as many characters as the real lists hold.
#include "base/c_format.h"
#include "lookup/directory_listings.h"
#include "lookup/instrument_directory.h"
#include "protocol/wire_format.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kStocksEach = 2800;

// What a user types on the way to a stock, key by key.
const std::vector<std::string> kKeystrokes {
    "p",      "pa", "pay", "payh", "6",    "60",    "600", "6000", "60006",
    "600061", "z",  "zh",  "zho",  "zhon", "zhong", "0",   "00",   "000",
    "0001",   "1a", "1a0", "1a00", "平",   "平安",  "hs3", "etf"};

// GB2312's first level: rows 0xB0 to 0xD7 of 94 characters, the last row 89.
std::string everydayName(std::mt19937_64 &random)
{
    std::string gbk;
    for (int n = 2 + int(random() % 3); n > 0; --n) {
        const int row = 0xB0 + int(random() % 40);
        const int cell = 0xA1 + int(random() % (row == 0xD7 ? 89 : 94));
        gbk += {char(row), char(cell)};
    }
    return gbk;
}

lark::StockList market(bool shanghai)
{
    std::mt19937_64 random(shanghai ? 1 : 2);
    std::string bytes;
    for (int k = 0; k < kStocksEach; ++k) {
        std::string record(lark::wire::kStockRecordSize, '\0');
        const std::string code = lark::cformat("%06d", (shanghai ? 600000 : 1) + k);
        const std::string name = everydayName(random);
        record.replace(lark::wire::kStockCodeOffset, code.size(), code);
        record.replace(lark::wire::kStockNameOffset, name.size(), name);
        bytes += record;
    }
    const char marker
        = shanghai ? lark::wire::kShanghaiSkipMarker : lark::wire::kShenzhenSkipMarker;
    return lark::StockList::fromReply(bytes, marker);
}

const std::vector<lark::Listing> &listings()
{
    static const std::vector<lark::Listing> all
        = lark::directoryListings({market(true), market(false), true, true});
    return all;
}

void search(benchmark::State &state)
{
    static const lark::InstrumentDirectory directory(listings());
    size_t key = 0, found = 0;
    for (auto _ : state) {
        found += directory.find(kKeystrokes[key], 10).size();
        key = (key + 1) % kKeystrokes.size();
    }
    benchmark::DoNotOptimize(found);
    state.counters["listings"] = double(directory.size());
}

void plainScan(benchmark::State &state)
{
    size_t key = 0, found = 0;
    for (auto _ : state) {
        const std::string &typed = kKeystrokes[key];
        for (const lark::Listing &l : listings())
            found += l.code.starts_with(typed) || l.name.find(typed) != std::string::npos;
        key = (key + 1) % kKeystrokes.size();
    }
    benchmark::DoNotOptimize(found);
    state.counters["listings"] = double(listings().size());
}

void build(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lark::InstrumentDirectory(listings()).size());
    state.counters["listings"] = double(listings().size());
}

} // namespace

BENCHMARK(plainScan)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(search)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(build)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();
