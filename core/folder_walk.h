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
};

// Depth-first walk of the folder tree below path that appends each folder and one record per
// file to the sink, in the order the source lists each folder, a subfolder's files where the
// subfolder was met; the sink's top folder is called topName: "" when the tree is the only one,
// so that paths are given below it.
//
// Folders are listed and their entries' times read by `jobs` threads, one task per folder
// (a folder with very many entries has its times read in chunks by several threads), taken
// in walk order, up to 256 ahead of the one being appended; the calling thread appends each
// folder's records once they are all read, so the order never depends on the number of threads.
// Links are never followed, and a folder that is its own ancestor is not entered again.
//
// Returns false when a stop was requested before the end (the sink then holds part of the
// tree). Throws std::bad_alloc when memory runs out; every folder it opened is closed again and
// every thread ended in any case.
bool WalkFolderTree(IDirectorySource& source, IStampSink& sink, ScanProblems& problems,
                    const std::string& path, const std::string& topName = {}, WalkLimits limits = {},
                    WalkControl* control = nullptr);
