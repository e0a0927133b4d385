// Opening the Files window's list on a selection of 1,000,000 files: the tree of folders with
// subtotals against the flat list of folders it replaced (count the files of each folder, then
// group the records by folder), built in the same run from the same store and selection. Two
// shapes: 100,000 folders of 10 files three levels down, and 1,000 folders of 1,000 files.
// Reports both times, their ratio (the target: the tree opens in under a second) and the heap
// each holds per file beside the store and the selection (the target: under 40 bytes with the
// selection's 8).
#include "folder_tree.h"
#include "stamp_store.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The flat list as it was: each folder with its count, largest first, and the records grouped
// by folder in that order.
struct FlatList {
    std::vector<std::pair<CStampPlaces::FolderIndex, std::int64_t>> folders;
    std::vector<std::size_t> firstOfFolder;
    std::vector<CStampStore::Index> grouped;
};

FlatList BuildFlatList(const CStampPlaces& places, const std::vector<CStampStore::Index>& records) {
    FlatList list;
    std::unordered_map<CStampPlaces::FolderIndex, std::size_t> position;
    for (const CStampStore::Index record : records) {
        const auto [found, added] = position.try_emplace(places.FolderOf(record), list.folders.size());
        if (added)
            list.folders.emplace_back(places.FolderOf(record), 0);
        ++list.folders[found->second].second;
    }
    std::stable_sort(list.folders.begin(), list.folders.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::unordered_map<CStampPlaces::FolderIndex, std::size_t> next;
    std::size_t start = 0;
    for (const auto& [folder, files] : list.folders) {
        list.firstOfFolder.push_back(start);
        next.emplace(folder, start);
        start += static_cast<std::size_t>(files);
    }
    list.grouped.resize(start);
    for (const CStampStore::Index record : records)
        list.grouped[next.at(places.FolderOf(record))++] = record;
    return list;
}

// 1,000,000 files of filesPerFolder each, in folders three levels down (10 x 100 x the rest).
CStampStore Store(int filesPerFolder) {
    CStampStore store;
    store.KeepPlaces(PlaceDetail::Names);
    const auto top = store.AddFolder(IStampSink::kNoFolder, "");
    const int leaves = 1000000 / filesPerFolder / 1000; // below each middle folder
    char name[16];
    for (int group = 0; group < 10; ++group) {
        const auto first = store.AddFolder(top, "group" + std::to_string(group));
        for (int middle = 0; middle < 100; ++middle) {
            const auto second = store.AddFolder(first, "middle" + std::to_string(middle));
            for (int leaf = 0; leaf < leaves; ++leaf) {
                const auto third = store.AddFolder(second, "leaf" + std::to_string(leaf));
                for (int file = 0; file < filesPerFolder; ++file) {
                    std::snprintf(name, sizeof name, "f%06d", file);
                    store.AddFile(third, name, 946684800 + file);
                }
            }
        }
    }
    return store;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_OpenFilesList(benchmark::State& state) {
    const CStampStore store = Store(static_cast<int>(state.range(0)));
    std::vector<CStampStore::Index> records(static_cast<std::size_t>(store.GetSize()));
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i] = static_cast<CStampStore::Index>(i);
    double flatSeconds = 0;
    double treeSeconds = 0;
    std::size_t flatBytes = 0;
    std::size_t treeBytes = 0;
    for (auto _ : state) {
        {
            const std::size_t before = HeapInUse();
            const auto start = std::chrono::steady_clock::now();
            const FlatList flat = BuildFlatList(store.Places(), records);
            flatSeconds += Seconds(start);
            // Its model kept a copy of the selection too.
            flatBytes = HeapInUse() - before + records.size() * sizeof(CStampStore::Index);
            benchmark::DoNotOptimize(flat.grouped.data());
        }
        {
            const std::size_t before = HeapInUse();
            const auto start = std::chrono::steady_clock::now();
            const CFolderTree tree(store, records);
            treeSeconds += Seconds(start);
            // The model adds each node's row among its siblings.
            treeBytes = HeapInUse() - before + tree.NodeCount() * sizeof(int);
            benchmark::DoNotOptimize(tree.TotalFiles());
        }
    }
    const auto files = static_cast<double>(records.size());
    const auto runs = static_cast<double>(state.iterations());
    state.counters["folders"] = static_cast<double>(store.Places().FolderCount());
    state.counters["flat_ms"] = 1000 * flatSeconds / runs;
    state.counters["tree_ms"] = 1000 * treeSeconds / runs;
    state.counters["tree_to_flat_time"] = treeSeconds / flatSeconds;
    // What the window holds beside the store: the list's model and the selection it keeps for a refill.
    const double selection = sizeof(CStampStore::Index);
    state.counters["flat_window_bytes_per_file"] = static_cast<double>(flatBytes) / files + selection;
    state.counters["tree_window_bytes_per_file"] = static_cast<double>(treeBytes) / files + selection;
    state.counters["tree_to_flat_bytes"] = static_cast<double>(treeBytes) / static_cast<double>(flatBytes);
}

BENCHMARK(BM_OpenFilesList)
    ->Arg(10)
    ->Arg(1000)
    ->ArgName("files_per_folder")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
