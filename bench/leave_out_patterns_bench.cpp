// The cost of many leave-out patterns: an in-memory walk of 1,000,000 files (1,000 folders of
// 1,000) through the leave-out rules with no pattern, 10,000 name patterns and 10,000 path
// patterns. Compare ns_per_file across the three in one run: the patterns should cost at most
// as much again as the walk without them.
#include "filtered_directory_source.h"
#include "folder_walk.h"
#include "memory_directory_source.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 1000;
constexpr int kPatterns = 10000;

class CCountingSink final : public IStampSink {
public:
    FolderIndex AddFolder(FolderIndex, std::string_view) override { return kNoFolder; }
    void AddFile(FolderIndex, std::string_view, std::int64_t) override { ++m_files; }
    std::int64_t Files() const { return m_files; }

private:
    std::int64_t m_files = 0;
};

CMemoryDirectorySource& MillionFileTree() {
    static CMemoryDirectorySource tree;
    static const bool built = [] {
        for (int f = 0; f < kFolders; ++f) {
            const int folder = tree.AddFolder(CMemoryDirectorySource::kRoot, "dir" + std::to_string(f));
            for (int i = 0; i < kFilesPerFolder; ++i)
                tree.AddFile(folder, "file" + std::to_string(i) + (i % 2 == 0 ? ".c" : ".txt"), i);
        }
        return true;
    }();
    static_cast<void>(built);
    return tree;
}

// Names as they are given with -e: whole names, a start, an extension; one in a hundred matches.
EntryFilter NamePatterns() {
    EntryFilter filter;
    for (int i = 0; i < kPatterns; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 3) {
        case 0:
            filter.excludedNames.push_back(i % 100 == 0 ? "file" + n + ".c" : "cache" + n);
            break;
        case 1:
            filter.excludedNames.push_back("tmp" + n + "*");
            break;
        default:
            filter.excludedNames.push_back("*.bak" + n);
        }
    }
    return filter;
}

// Paths below the analysed folder: files of a kind in one folder, folders at any depth below
// one, folders at the top.
EntryFilter PathPatterns() {
    EntryFilter filter;
    for (int i = 0; i < kPatterns; ++i) {
        const std::string n = std::to_string(i);
        const std::string folder = "dir" + std::to_string(i % kFolders);
        switch (i % 3) {
        case 0:
            filter.excludedNames.push_back(folder + "/*.o" + n);
            break;
        case 1:
            filter.excludedNames.push_back(folder + "/**/gen" + n + "/");
            break;
        default:
            filter.excludedNames.push_back("/top" + n);
        }
    }
    return filter;
}

void WalkThrough(benchmark::State& state, const EntryFilter& filter) {
    CMemoryDirectorySource& tree = MillionFileTree();
    std::int64_t files = 0;
    for (auto _ : state) {
        CFilteredDirectorySource source(tree, filter);
        CCountingSink sink;
        ScanProblems problems;
        WalkLimits limits;
        limits.jobs = 1;
        WalkFolderTree(source, sink, problems, "root", {}, limits);
        files = sink.Files();
    }
    state.counters["files"] = static_cast<double>(files);
    state.counters["ns_per_file"] =
        benchmark::Counter(static_cast<double>(kFolders) * kFilesPerFolder,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_NoPattern(benchmark::State& state) {
    WalkThrough(state, {});
}
void BM_NamePatterns(benchmark::State& state) {
    WalkThrough(state, NamePatterns());
}
void BM_PathPatterns(benchmark::State& state) {
    WalkThrough(state, PathPatterns());
}
BENCHMARK(BM_NoPattern)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_NamePatterns)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PathPatterns)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
