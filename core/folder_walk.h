#pragma once

#include "defaults.h"
#include "directory_source.h"
#include "scan_problems.h"
#include "stamp_sink.h"

#include <string>

struct WalkControl;

// How much of the machine a walk may use.
struct WalkLimits {
    // Threads reading the file system, the calling one included. More threads than cores pay
    // off where listing a folder waits on a disk or a server: each waiting listing is one thread.
    int jobs = kDefaultJobs;
    // Folders kept open below the chosen one only because subfolders of theirs are still to be
    // opened; beyond this the shallowest are closed and opened again by name when needed. Fewer
    // threads and fewer kept folders when the source has fewer descriptors left (see
    // ShareDescriptors).
    int maxOpen = 64;
    // Folders listed ahead of the one whose records are being appended.
    int foldersAhead = 256;
};

// Depth-first walk of a folder tree that appends each folder and one record per file to the
// sink, in the order the source lists each folder, a subfolder's files where the subfolder was met.
//
// Folders are listed and their entries' times read by `jobs` threads, one task per folder
// (a folder with very many entries has its times read in chunks by several threads), taken
// in walk order as far as `foldersAhead` allows; the calling thread appends each folder's
// records once they are all read, so the order never depends on the number of threads.
// Links are never followed, and a folder that is its own ancestor is not entered again.
class CFolderWalk {
public:
    CFolderWalk(IDirectorySource& source, IStampSink& sink, ScanProblems& problems, WalkLimits limits = {},
                WalkControl* control = nullptr);

    // Walks the tree below path, the sink's top folder called topName: "" when the tree is the
    // only one, so that paths are given below it. Returns false when a stop was requested
    // before the end (the sink then holds part of the tree). Throws std::bad_alloc when memory
    // runs out; every folder it opened is closed again and every thread ended in any case.
    bool Run(const std::string& path, const std::string& topName = {});

private:
    IDirectorySource& m_source;
    IStampSink& m_sink;
    ScanProblems& m_problems;
    WalkLimits m_limits;
    WalkControl* m_control;
};
