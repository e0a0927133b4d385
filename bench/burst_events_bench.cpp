// Finding the bursts of 1,000,000 records in 1,111 folders, three levels deep, against sorting
// their times alone (the least any search for close seconds costs), in the same run: compare
// the times per record. Two shapes: times spread over 26 years, and a tree where a third of the
// files came in installs of 30,000 files over a dozen seconds.
#include "burst_events.h"
#include "stamp_store.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

constexpr int kRecords = 1'000'000;

const CStampStore& Records(bool installs) {
    static const auto make = [](bool withInstalls) {
        CStampStore store;
        store.KeepPlaces(PlaceDetail::Folders);
        const auto top = store.AddFolder(IStampSink::kNoFolder, "");
        std::vector<IStampSink::FolderIndex> leaves;
        for (int a = 0; a < 10; ++a) {
            const auto first = store.AddFolder(top, "a" + std::to_string(a));
            for (int b = 0; b < 10; ++b) {
                const auto second = store.AddFolder(first, "b" + std::to_string(b));
                for (int c = 0; c < 10; ++c)
                    leaves.push_back(store.AddFolder(second, "c" + std::to_string(c)));
            }
        }
        std::mt19937_64 random(42);
        std::uniform_int_distribution<std::int64_t> anyTime(946684800, 1766880000);
        std::uniform_int_distribution<std::size_t> anyLeaf(0, leaves.size() - 1);
        for (int i = 0; i < kRecords; ++i) {
            if (withInstalls && i % 3 == 0) { // installs of 30,000 files, each into one first-level folder
                const int install = i / 90'000;
                const std::size_t leaf = static_cast<std::size_t>(install % 10) * 100 + anyLeaf(random) % 100;
                store.AddFile(leaves[leaf], "f", 1'600'000'000 + install * 100'000 + (i / 3 % 30'000) / 2500);
            } else {
                store.AddFile(leaves[anyLeaf(random)], "f", anyTime(random));
            }
        }
        return store;
    };
    static const CStampStore spread = make(false);
    static const CStampStore withInstalls = make(true);
    return installs ? withInstalls : spread;
}

void BM_SortTimesAlone(benchmark::State& state) {
    const CStampStore& store = Records(state.range(0) != 0);
    for (auto _ : state) {
        std::vector<std::int64_t> times;
        times.reserve(store.span().size());
        for (const FileStamp& stamp : store.span())
            times.push_back(stamp.m_lastWrite);
        std::sort(times.begin(), times.end());
        benchmark::DoNotOptimize(times.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_FindBurstEvents(benchmark::State& state) {
    const CStampStore& store = Records(state.range(0) != 0);
    for (auto _ : state) {
        const BurstEvents bursts = FindBurstEvents(store, 1000);
        benchmark::DoNotOptimize(bursts.count);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

} // namespace

BENCHMARK(BM_SortTimesAlone)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindBurstEvents)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
