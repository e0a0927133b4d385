#include "folder_tree_walk.h"

#include "posix_directory_source.h"
#include "stamp_store.h"

void WalkFolderTree(CStampStore& store, const std::string& path, WalkControl& control) {
    CPosixDirectorySource source;
    store.Scan(path, source, kDefaultJobs, &control);
}
