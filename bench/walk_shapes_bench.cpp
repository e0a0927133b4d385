// Walks of trees held in memory whose shape, not the disk, sets the cost: many empty folders
// (how the threads are woken, and what a folder costs in memory until it is appended) and one
// deep chain (how the walk order and the loop guard scale with depth). Compare the per-folder
// figures across the arguments of one run: they should not depend on the threads or the depth.
#include "folder_walk.h"
#include "memory_directory_source.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <string>

namespace {

// Counts folders and samples the heap in use now and then, for its peak during a walk.
class CCountingSink final : public IStampSink {
public:
    FolderIndex AddFolder(FolderIndex, std::string_view) override {
        if (m_folders % 64 == 0)
            m_peakHeap = std::max(m_peakHeap, HeapInUse());
        return m_folders++;
    }
    void AddFile(FolderIndex, std::string_view, std::int64_t) override {}

    FolderIndex Folders() const { return m_folders; }
    std::size_t PeakHeap() const { return m_peakHeap; }
    static std::size_t HeapInUse() { return mallinfo2().uordblks; }

private:
    FolderIndex m_folders = 0;
    std::size_t m_peakHeap = 0;
};

// Walks the source once per iteration and reports time and peak heap above the start per folder.
void WalkEach(benchmark::State& state, CMemoryDirectorySource& source, int jobs) {
    double heapPerFolder = 0;
    double folders = 0;
    for (auto _ : state) {
        const std::size_t before = CCountingSink::HeapInUse();
        CCountingSink sink;
        ScanProblems problems;
        WalkLimits limits;
        limits.jobs = jobs;
        WalkFolderTree(source, sink, problems, "root", {}, limits);
        folders = sink.Folders();
        heapPerFolder = (static_cast<double>(std::max(sink.PeakHeap(), before)) - static_cast<double>(before)) / folders;
    }
    state.counters["heap_bytes_per_folder"] = heapPerFolder;
    state.counters["folders"] = folders;
    state.counters["ns_per_folder"] =
        benchmark::Counter(folders, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// 3,000 folders of 100 empty folders each: 303,001 listings and no file.
CMemoryDirectorySource& EmptyFolderTree() {
    static CMemoryDirectorySource tree;
    static const bool built = [] {
        for (int top = 0; top < 3000; ++top) {
            const int folder = tree.AddFolder(CMemoryDirectorySource::kRoot, "t" + std::to_string(top));
            for (int sub = 0; sub < 100; ++sub)
                tree.AddFolder(folder, "s" + std::to_string(sub));
        }
        return true;
    }();
    static_cast<void>(built);
    return tree;
}

void BM_EmptyFolders(benchmark::State& state) {
    WalkEach(state, EmptyFolderTree(), static_cast<int>(state.range(0)));
}
BENCHMARK(BM_EmptyFolders)->Arg(1)->Arg(2)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A chain of folders, each holding the next and one file.
void BM_DeepChain(benchmark::State& state) {
    CMemoryDirectorySource source;
    int folder = CMemoryDirectorySource::kRoot;
    for (int level = 0; level < state.range(0); ++level) {
        source.AddFile(folder, "f", level);
        folder = source.AddFolder(folder, "d");
    }
    WalkEach(state, source, static_cast<int>(state.range(1)));
}
BENCHMARK(BM_DeepChain)
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({1000, 16})
    ->Args({10000, 16})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
