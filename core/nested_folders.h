#pragma once

#include "directory_source.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// Which of several folders analysed together are walked, so that no file is counted twice.
struct NestedFolderChoice {
    std::vector<std::size_t> kept;  // indexes of the folders to walk, in the order given
    std::vector<std::string> notes; // one line for each folder left out, naming the folder kept
};

// The folders to walk, given each folder's chain of identities (its own first, then each folder
// above it, as FolderAndAncestorIds gives them): a folder that is the same as one given before
// it, or that lies inside another given folder whose walk reaches it, is left out. With
// oneFileSystem the walk stays on its folder's file system, so a folder reached only across a
// mount point is kept. A folder with an empty chain (one that cannot be read) is always kept,
// so that its walk reports it.
NestedFolderChoice ChooseOutermostFolders(std::span<const std::string> folders,
                                          std::span<const std::vector<FolderId>> chains, bool oneFileSystem);

// The folders to walk, in the order given, as ChooseOutermostFolders decides from the folders
// as they are now on disk; a note for each one left out, such as "'A/sub' is inside 'A':
// analysed once", is added to notes.
std::vector<std::string> DropNestedFolders(std::span<const std::string> folders, bool oneFileSystem,
                                           std::vector<std::string>* notes);
