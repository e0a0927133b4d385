#include "files_at_point.h"

#include "analysis_period.h"
#include "curve_geometry.h"
#include "files_at.h"
#include "scan_progress.h"

FilesAtPoint SelectFilesAtPoint(const CStampStore& store, int view, int bin, int trackbarPosition) {
    FilesAtPoint files;
    files.view = view;
    files.bin = bin;
    files.trackbarPosition = trackbarPosition;
    files.kind = store.Kind();
    files.range = CurveWindowAt(bin, BinsForView(view), trackbarPosition);
    files.records = RecordsInBins(store, view, files.range);
    return files;
}

std::string FilesAtPointTitle(const FilesAtPoint& files) {
    std::string title = FormatBinTime(files.view, files.bin);
    const int half = AveragingWindow(files.trackbarPosition) / 2;
    if (half > 0)
        title += " \u00b1 " + FormatBinSpan(files.view, half);
    const auto count = static_cast<std::int64_t>(files.records.size());
    return title + ": " + GroupThousands(count) + " " + RecordNoun(files.kind, count);
}
