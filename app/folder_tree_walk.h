#pragma once

#include <string>

class CStampStore;
struct WalkControl;

// Walks the real folder tree below path into store, reporting progress to control and
// stopping when it asks. The one place the window starts a walk.
void WalkFolderTree(CStampStore& store, const std::string& path, WalkControl& control);
