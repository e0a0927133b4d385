// Heap used by the store per file, at each detail of places, measured against a small store
// filled the same way in the same run: 1,000,000 files of 7-character names in 1,000 folders
// (the shape of compare_scan.sh's tree) against 1,000 files in 10 folders. The same tree read
// from a time list (the store with its names and the reader's folder table, at their peak) is
// measured against the store the walk fills, and one path 20,000 folders deep gives the bytes
// a listed folder costs.
#include "stamp_store.h"
#include "time_list.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
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

// The lines of a time list naming the files of StoreBytes's tree, in the same order.
std::string TreeList(int folders, int filesPerFolder) {
    std::string list;
    char line[64];
    for (int folder = 0; folder < folders; ++folder)
        for (int file = 0; file < filesPerFolder; ++file) {
            std::snprintf(line, sizeof line, "%d top%d/folder%d/f%06d\n", 946684800 + folder * 630720,
                          folder % 10, folder, file);
            list += line;
        }
    return list;
}

// Heap that reading the list takes at its peak: the store with names, and the reader.
std::size_t ListBytes(std::string& list) {
    std::FILE* file = fmemopen(list.data(), list.size(), "r");
    const std::size_t before = HeapInUse();
    std::size_t after = before;
    {
        CStampStore store;
        store.KeepPlaces(PlaceDetail::Names);
        CTimeListReader reader(store);
        if (!reader.Read(file).Good())
            std::abort();
        after = HeapInUse();
        benchmark::DoNotOptimize(store.data());
    }
    std::fclose(file);
    return after - before;
}

void BM_TimeListBytesPerPath(benchmark::State& state) {
    double perPath = 0;
    double walkPerFile = 0;
    double perDeepFolder = 0;
    for (auto _ : state) {
        std::string small = TreeList(10, 100);
        std::string big = TreeList(1000, 1000);
        perPath = static_cast<double>(ListBytes(big) - ListBytes(small)) / (1000000.0 - 1000.0);
        walkPerFile = static_cast<double>(StoreBytes(PlaceDetail::Names, 1000, 1000) -
                                          StoreBytes(PlaceDetail::Names, 10, 100)) /
                      (1000000.0 - 1000.0);
        constexpr int kDepth = 20000;
        std::string deep = "0 ";
        for (int level = 0; level < kDepth; ++level)
            deep += "a/";
        deep += "f\n";
        perDeepFolder = static_cast<double>(ListBytes(deep)) / kDepth;
    }
    state.counters["bytes_per_path"] = perPath;
    state.counters["walk_bytes_per_file"] = walkPerFile;
    // The target: at most 2.
    state.counters["ratio_to_walk"] = perPath / walkPerFile;
    state.counters["bytes_per_deep_folder"] = perDeepFolder;
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

BENCHMARK(BM_TimeListBytesPerPath)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
