// A walk of a tree whose every folder listing waits 1 ms first, as on a network file system:
// the number of threads, not the number of cores, decides how much of that wait is hidden.
#include "folder_walk.h"
#include "posix_directory_source.h"
#include "stamp_store.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The real source with a fixed delay before each listing.
class CSlowListingSource final : public CForwardingDirectorySource {
public:
    explicit CSlowListingSource(IDirectorySource& disk) : CForwardingDirectorySource(disk) {}
    int List(Handle folder, CFolderListing& listing) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return m_inner.List(folder, listing);
    }
};

// 20 top folders of 20 folders with 10 files each: 421 listings, 4,000 files.
class CBenchTree {
public:
    CBenchTree() {
        std::string pattern =
            std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/busyscope-slow-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort(); // nowhere to build the tree
        m_root = pattern;
        for (int top = 0; top < 20; ++top) {
            const std::string topPath = m_root + "/t" + std::to_string(top);
            ::mkdir(topPath.c_str(), 0755);
            for (int sub = 0; sub < 20; ++sub) {
                const std::string subPath = topPath + "/s" + std::to_string(sub);
                ::mkdir(subPath.c_str(), 0755);
                for (int file = 0; file < 10; ++file)
                    ::close(
                        ::open((subPath + "/f" + std::to_string(file)).c_str(), O_CREAT | O_WRONLY, 0644));
            }
        }
    }
    ~CBenchTree() { std::system(("rm -rf '" + m_root + "'").c_str()); }
    const std::string& Root() const { return m_root; }

private:
    std::string m_root;
};

void BM_SlowListings(benchmark::State& state) {
    static const CBenchTree tree;
    CPosixDirectorySource disk;
    CSlowListingSource source(disk);
    CStampStore store;
    for (auto _ : state) {
        store.Scan(tree.Root(), source, static_cast<int>(state.range(0)));
        if (store.m_nFiles != 4000)
            state.SkipWithError("the walk missed files");
    }
    state.counters["files"] = static_cast<double>(store.m_nFiles);
}
BENCHMARK(BM_SlowListings)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(kDefaultJobs)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
