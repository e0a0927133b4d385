#pragma once

#include "directory_source.h"

#include <string>
#include <vector>

// The identity of the folder at path and of each folder above it, up to the root, found along
// the path with its links resolved, so that a link to a folder gives that folder's own chain.
// Empty when path is no folder that can be examined; shorter when a folder above cannot be.
std::vector<FolderId> FolderAndAncestorIds(const std::string& path);
