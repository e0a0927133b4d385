#pragma once

#include <iosfwd>

class CStampStore;
struct FilesAtPoint;

// --files-at: one "local-time<TAB>path" line per file, in walk order, paths below the chosen
// folder (a commit's path is its id and subject; a time listed without a path has the time
// alone). Needs the store's names.
void WriteFilesAtList(std::ostream& out, const CStampStore& store, const FilesAtPoint& files);

// --files-at with --format summary: the list's title, then the tree of folders the Files window
// shows, one "COUNT<TAB>SHARE<TAB>FOLDER" line a node, each before its children, largest first,
// FOLDER indented two spaces a level. Needs the store's folders.
void WriteFilesAtSummary(std::ostream& out, const CStampStore& store, const FilesAtPoint& files);
