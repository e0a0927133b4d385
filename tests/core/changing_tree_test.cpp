// Walks of a tree that other threads keep changing: files and folders created, deleted and
// renamed, and folders swapped for a link to their parent and back, while the walk runs.
#include "posix_directory_source.h"
#include "stamp_store.h"
#include "test_tree.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t kStableTime = 1000;
constexpr std::int64_t kChangingTime = 2000;

// Remembers which folders were listed, to catch a folder listed twice.
class CListingRecorder final : public CForwardingDirectorySource {
public:
    explicit CListingRecorder(IDirectorySource& disk) : CForwardingDirectorySource(disk) {}
    OpenResult OpenRoot(const std::string& path) override { return Remember(m_inner.OpenRoot(path)); }
    OpenResult OpenChild(Handle parent, const char* name) override {
        return Remember(m_inner.OpenChild(parent, name));
    }
    int List(Handle folder, CFolderListing& listing) override {
        {
            const std::lock_guard lock(m_mutex);
            if (!m_listed.insert(m_ids[folder]).second)
                ++m_listedTwice;
        }
        return m_inner.List(folder, listing);
    }

    int ListedTwice() const { return m_listedTwice; }

private:
    OpenResult Remember(const OpenResult& opened) {
        if (opened.handle >= 0) {
            const std::lock_guard lock(m_mutex);
            m_ids[opened.handle] = {opened.id.device, opened.id.inode};
        }
        return opened;
    }

    std::mutex m_mutex;
    std::map<int, std::pair<std::uint64_t, std::uint64_t>> m_ids;
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_listed;
    int m_listedTwice = 0;
};

// Keeps changing one area of the tree. Everything appears by a rename from a staging folder
// outside the walked tree, its time already set, so that a walk can only ever see the time
// that was meant; every name that ever held a file or link is counted.
class CTreeChanger {
public:
    CTreeChanger(std::string area, std::string staging, unsigned seed)
        : m_area(std::move(area)), m_staging(std::move(staging)), m_random(seed) {
        ::mkdir(m_area.c_str(), 0755);
        ::mkdir(m_staging.c_str(), 0755);
    }

    void Run(const std::atomic<bool>& finished) {
        while (!finished)
            Step();
    }

    std::int64_t NamesEverUsed() const { return m_namesEverUsed; }

private:
    std::string Staged(const std::string& name) const { return m_staging + "/" + name; }
    std::string Placed(const std::string& name) const { return m_area + "/" + name; }
    std::string NewName(const char* prefix) { return prefix + std::to_string(m_next++); }

    void MakeFile(const std::string& path) const {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        const struct timespec times[2] = {{kChangingTime, 0}, {kChangingTime, 0}};
        ::futimens(fd, times);
        ::close(fd);
    }

    void Step() {
        switch (m_random() % 6) {
        case 0: { // a new file
            const std::string name = NewName("f");
            MakeFile(Staged(name));
            ++m_namesEverUsed;
            ::rename(Staged(name).c_str(), Placed(name).c_str());
            m_files.push_back(name);
            break;
        }
        case 1: // a file deleted
            if (!m_files.empty()) {
                ::unlink(Placed(m_files.back()).c_str());
                m_files.pop_back();
            }
            break;
        case 2: // a file renamed
            if (!m_files.empty()) {
                const std::string name = NewName("f");
                ++m_namesEverUsed;
                ::rename(Placed(m_files.front()).c_str(), Placed(name).c_str());
                m_files.front() = name;
            }
            break;
        case 3: { // a new folder with three files
            const std::string name = NewName("d");
            ::mkdir(Staged(name).c_str(), 0755);
            for (const char* file : {"/a", "/b", "/c"})
                MakeFile(Staged(name) + file);
            m_namesEverUsed += 3;
            ::rename(Staged(name).c_str(), Placed(name).c_str());
            m_folders.push_back(name);
            break;
        }
        case 4: // a folder taken out of the tree; it stays in staging, so that its inode cannot
                // come back as a new folder's during a walk and look like a folder listed twice
            if (!m_folders.empty()) {
                const std::string name = m_folders.back();
                m_folders.pop_back();
                ::rename(Placed(name).c_str(), Staged(name).c_str());
            }
            break;
        case 5: // a folder swapped for a link to its parent, and back
            if (!m_folders.empty()) {
                const std::string name = m_folders.front();
                const std::string link = NewName("l");
                ::symlink("..", Staged(link).c_str());
                const struct timespec times[2] = {{kChangingTime, 0}, {kChangingTime, 0}};
                ::utimensat(AT_FDCWD, Staged(link).c_str(), times, AT_SYMLINK_NOFOLLOW);
                ++m_namesEverUsed;
                ::rename(Placed(name).c_str(), Staged(name + ".away").c_str());
                ::rename(Staged(link).c_str(), Placed(name).c_str());
                std::this_thread::yield();
                ::unlink(Placed(name).c_str());
                ::rename(Staged(name + ".away").c_str(), Placed(name).c_str());
            }
            break;
        }
    }

    const std::string m_area;
    const std::string m_staging;
    std::mt19937 m_random;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
    int m_next = 0;
    std::atomic<std::int64_t> m_namesEverUsed{0};
};

TEST(ChangingTree, EveryWalkEndsReadsOnlyWhatItCouldAndCountsWithinBounds) {
    CTestTree tree;
    constexpr int kStableFiles = 1500;
    for (int i = 0; i < kStableFiles; ++i)
        tree.AddFile("walked/stable" + std::to_string(i % 15) + "/f" + std::to_string(i), kStableTime);
    tree.AddFolder("walked/changing");

    std::atomic<bool> finished{false};
    std::vector<std::unique_ptr<CTreeChanger>> changers;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < 2; ++i)
        changers.push_back(std::make_unique<CTreeChanger>(tree.Path("walked/changing/" + std::to_string(i)),
                                                          tree.Path("staging" + std::to_string(i)), 100 + i));
    for (const auto& changer : changers)
        threads.emplace_back([&finished, changer = changer.get()] { changer->Run(finished); });

    constexpr int kJobs[] = {1, 3, 16};
    for (int round = 0; round < 150; ++round) {
        CPosixDirectorySource disk;
        CListingRecorder source(disk);
        CStampStore store;
        ASSERT_TRUE(store.Scan(tree.Path("walked"), source, kJobs[round % 3]));
        std::int64_t namesEverUsed = 0;
        for (const auto& changer : changers)
            namesEverUsed += changer->NamesEverUsed(); // read after the walk, so it covers it
        const std::span<const FileStamp> stamps = store.span();
        EXPECT_EQ(std::count_if(stamps.begin(), stamps.end(),
                                [](const FileStamp& stamp) { return stamp.m_lastWrite == kStableTime; }),
                  kStableFiles)
            << "round " << round;
        EXPECT_TRUE(std::all_of(stamps.begin(), stamps.end(),
                                [](const FileStamp& stamp) {
                                    return stamp.m_lastWrite == kStableTime ||
                                           stamp.m_lastWrite == kChangingTime;
                                }))
            << "round " << round << ": a time that was never set";
        EXPECT_LE(store.m_nFiles, kStableFiles + namesEverUsed) << "round " << round;
        EXPECT_EQ(source.ListedTwice(), 0) << "round " << round;
        EXPECT_EQ(store.GetProblems().rootError, 0);
    }
    finished = true;
    for (std::thread& thread : threads)
        thread.join();
}

} // namespace
