#pragma once

#include "directory_source.h"
#include "open_folder_cache.h"
#include "stamp_sink.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What the walk does with one listed entry.
enum class Outcome : std::uint8_t { Skip, Record, Descend };

// One folder of a walk: its task's results and its place in the walk order. Shared by the
// threads that list it and read its times, the scheduler and the appending thread.
struct WalkFolder {
    WalkFolder(std::shared_ptr<WalkFolder> parentFolder, std::string folderName, std::size_t folderDepth)
        : parent(std::move(parentFolder)), name(std::move(folderName)), depth(folderDepth),
          open(folderDepth) {}
    ~WalkFolder() {
        // Lets go of a long ancestor chain without one nested destructor call per level.
        std::shared_ptr<WalkFolder> ancestor = std::move(parent);
        while (ancestor && ancestor.use_count() == 1)
            ancestor = std::move(ancestor->parent);
    }

    // Set before any other thread sees the folder; fixed afterwards.
    std::shared_ptr<WalkFolder> parent; // for the loop guard and for opening it again
    const std::string name;
    const std::size_t depth;
    IStampSink::FolderIndex sinkIndex = IStampSink::kNoFolder; // the appending thread's

    // Guarded by the walk's mutex.
    enum class State : std::uint8_t { Waiting, Taken, Ready } state = State::Waiting;
    CCachedFolder open;
    std::size_t unopenedChildren = 0; // subfolders that will still need its handle
    // Its place among the folders whose subfolders are still to be taken (see CWalkScheduler).
    std::size_t nextChild = 0;
    WalkFolder* pendingPrevious = nullptr;
    WalkFolder* pendingNext = nullptr;
    std::size_t nextChunk = 0;
    std::size_t chunkCount = 0;
    std::size_t chunksDone = 0;

    // Written by the folder's own tasks, read by others once published under the lock.
    FolderId id;
    int openError = 0;
    bool loop = false;
    bool kindsKnown = true; // the listing told every entry's kind
    int listError = 0;
    std::atomic<int> timeError{0}; // the first failed time read other than a vanished entry
    CFolderListing listing;
    std::vector<Outcome> outcomes; // per listed entry
    std::vector<std::int64_t> times;
    std::vector<std::shared_ptr<WalkFolder>> children; // subfolder slots in listing order
};

using FolderPtr = std::shared_ptr<WalkFolder>;
