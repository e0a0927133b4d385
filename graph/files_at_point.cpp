#include "files_at_point.h"

#include "analysis_period.h"
#include "curve_geometry.h"
#include "files_at.h"
#include "scan_progress.h"

FilesAtPoint SelectFilesAtPoint(const CStampStore& store, int view, int bin, int trackbarPosition,
                                CountRule rule) {
    FilesAtPoint files;
    files.view = view;
    files.bin = bin;
    files.trackbarPosition = trackbarPosition;
    files.kind = store.Kind();
    files.range = CurveWindowAt(bin, BinsForView(view), trackbarPosition);
    files.records = RecordsInBins(store, view, files.range);
    if (rule == CountRule::ActiveMinutes) {
        std::vector<FileStamp> stamps;
        stamps.reserve(files.records.size());
        for (const CStampStore::Index record : files.records)
            stamps.push_back(store[record]);
        files.activeMinutes = static_cast<std::int64_t>(ActiveMinuteStarts(stamps).size());
    }
    return files;
}

std::string FilesAtPointTitle(const FilesAtPoint& files) {
    std::string title = FormatBinTime(files.view, files.bin);
    const int half = AveragingWindow(files.trackbarPosition) / 2;
    if (half > 0)
        title += " \u00b1 " + FormatBinSpan(files.view, half);
    const auto count = static_cast<std::int64_t>(files.records.size());
    title += ": " + GroupThousands(count) + " " + RecordNoun(files.kind, count);
    if (files.activeMinutes)
        title += " in " + GroupThousands(*files.activeMinutes) +
                 (*files.activeMinutes == 1 ? " active minute" : " active minutes");
    return title;
}
