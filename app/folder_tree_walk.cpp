#include "folder_tree_walk.h"

#include "posix_directory_source.h"
#include "stamp_store.h"

void WalkFolderTree(CStampStore& store, const std::string& path, WalkControl& control,
                    const EntryFilter& filter, LeftOutCounts* leftOut) {
    CPosixDirectorySource posixSource;
    CFilteredDirectorySource source(posixSource, filter);
    store.Scan(path, source, kDefaultJobs, &control);
    if (leftOut)
        *leftOut = source.Counts();
}
