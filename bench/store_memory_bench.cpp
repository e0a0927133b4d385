// Heap used by the store per file, at each detail of places, measured against a small store
// filled the same way in the same run: 1,000,000 files of 7-character names in 1,000 folders
// (the shape of compare_scan.sh's tree) against 1,000 files in 10 folders.
#include "stamp_store.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>
#include <string>

namespace {

// Bytes handed out by malloc, from its arenas and as blocks of their own (large arrays).
std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap that a store holding files spread over folders keeps, once filled.
std::size_t StoreBytes(PlaceDetail detail, int folders, int filesPerFolder) {
    const std::size_t before = HeapInUse();
    std::size_t after = before;
    {
        CStampStore store;
        store.KeepPlaces(detail);
        const auto top = store.AddFolder(IStampSink::kNoFolder, "");
        char name[8];
        for (int folder = 0; folder < folders; ++folder) {
            const auto group = store.AddFolder(top, "top" + std::to_string(folder % 10));
            const auto index = store.AddFolder(group, "folder" + std::to_string(folder));
            for (int file = 0; file < filesPerFolder; ++file) {
                std::snprintf(name, sizeof name, "f%06d", file);
                store.AddFile(index, name, 946684800 + folder * 630720);
            }
        }
        after = HeapInUse();
        benchmark::DoNotOptimize(store.data());
    }
    return after - before;
}

void BM_StoreBytesPerFile(benchmark::State& state) {
    const auto detail = static_cast<PlaceDetail>(state.range(0));
    double perFile = 0;
    for (auto _ : state) {
        const std::size_t small = StoreBytes(detail, 10, 100);
        const std::size_t big = StoreBytes(detail, 1000, 1000);
        perFile = static_cast<double>(big - small) / (1000000.0 - 1000.0);
    }
    state.counters["bytes_per_file"] = perFile;
    // The times alone are the baseline: what each detail adds is a ratio of that.
    state.counters["ratio_to_times_only"] = perFile / static_cast<double>(sizeof(FileStamp));
}

BENCHMARK(BM_StoreBytesPerFile)
    ->Arg(static_cast<int>(PlaceDetail::None))
    ->Arg(static_cast<int>(PlaceDetail::Folders))
    ->Arg(static_cast<int>(PlaceDetail::Names))
    ->ArgName("detail")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
