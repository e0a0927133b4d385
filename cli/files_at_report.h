#pragma once

#include <iosfwd>

class CStampStore;
struct FilesAtPoint;

// --files-at: one "local-time<TAB>path" line per file, in walk order, paths below the chosen
// folder (a commit's path is its id and subject; a time listed without a path has the time
// alone). Needs the store's names.
void WriteFilesAtList(std::ostream& out, const CStampStore& store, const FilesAtPoint& files);

// --files-at with --format summary: the list's title, then "COUNT<TAB>SHARE<TAB>FOLDER" for each
// folder, largest first. Needs the store's folders.
void WriteFilesAtSummary(std::ostream& out, const CStampStore& store, const FilesAtPoint& files);
