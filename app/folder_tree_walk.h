#pragma once

#include "filtered_directory_source.h"

#include <string>

class CStampStore;
struct WalkControl;

// Walks the real folder tree below path into store, reporting progress to control and
// stopping when it asks, leaving out what filter says (and the mount points of made-up file
// systems); what was left out is counted into leftOut when given. The one place the window
// starts a walk.
void WalkFolderTree(CStampStore& store, const std::string& path, WalkControl& control,
                    const EntryFilter& filter = {}, LeftOutCounts* leftOut = nullptr);
