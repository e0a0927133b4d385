#include "files_at_report.h"

#include "commit_record.h"
#include "files_at.h"
#include "files_at_point.h"
#include "stamp_store.h"
#include "text_escape.h"

#include <ostream>

void WriteFilesAtList(std::ostream& out, const CStampStore& store, const FilesAtPoint& files) {
    for (const CStampStore::Index record : files.records) {
        out << FormatRecordTime(store[record].m_lastWrite, store.Basis());
        // A time read from a list may come without its path.
        if (store.Kind() == RecordKind::Commits)
            out << '\t' << DisplayText(CommitListName(store.Places().NameOf(record)));
        else if (store.Places().FolderOf(record) != CStampPlaces::kNoFolder)
            out << '\t' << DisplayText(store.Places().RelativePath(record));
        out << '\n';
    }
}

void WriteFilesAtSummary(std::ostream& out, const CStampStore& store, const FilesAtPoint& files) {
    out << FilesAtPointTitle(files) << '\n';
    const auto total = static_cast<std::int64_t>(files.records.size());
    for (const FolderCount& folder : CountByFolder(store.Places(), files.records))
        out << folder.files << '\t' << FormatShare(folder.files, total) << '\t'
            << DisplayText(FolderListPath(store.Places(), folder.folder)) << '\n';
}
