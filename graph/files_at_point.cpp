#include "files_at_point.h"

#include "analysis_period.h"
#include "curve_geometry.h"
#include "files_at.h"
#include "scan_progress.h"

namespace {

void CountActiveMinutes(const CStampStore& store, FilesAtPoint& files, CountRule rule) {
    if (rule != CountRule::ActiveMinutes)
        return;
    std::vector<FileStamp> stamps;
    stamps.reserve(files.records.size());
    for (const CStampStore::Index record : files.records)
        stamps.push_back(store[record]);
    files.activeMinutes = static_cast<std::int64_t>(ActiveMinuteStarts(stamps).size());
}

} // namespace

FilesAtPoint SelectFilesAtPoint(const CStampStore& store, int view, int bin, int trackbarPosition,
                                CountRule rule, const std::optional<DateRange>& dateRange) {
    FilesAtPoint files;
    files.view = view;
    files.bin = bin;
    files.trackbarPosition = trackbarPosition;
    files.kind = store.Kind();
    files.range = CurveWindowAt(bin, BinsForView(view), trackbarPosition);
    files.records = RecordsInBins(store, view, files.range);
    if (dateRange) {
        const DateRange read = RangeInBasis(*dateRange, store.Basis());
        std::erase_if(files.records,
                      [&](CStampStore::Index record) { return !read.Holds(store[record].m_lastWrite); });
        files.dateRange = dateRange;
    }
    CountActiveMinutes(store, files, rule);
    return files;
}

FilesAtPoint SelectFilesWrittenIn(const CStampStore& store, FilesAtPoint::WrittenSpan span, CountRule rule) {
    FilesAtPoint files;
    files.kind = store.Kind();
    const std::span<const FileStamp> stamps = store.span();
    for (std::size_t i = 0; i < stamps.size(); ++i)
        if (stamps[i].m_lastWrite >= span.since && stamps[i].m_lastWrite < span.until)
            files.records.push_back(static_cast<CStampStore::Index>(i));
    files.span = std::move(span);
    CountActiveMinutes(store, files, rule);
    return files;
}

FilesAtPoint SelectFilesAgain(const CStampStore& store, const FilesAtPoint& shown, CountRule rule) {
    if (shown.span)
        return SelectFilesWrittenIn(store, *shown.span, rule);
    return SelectFilesAtPoint(store, shown.view, shown.bin, shown.trackbarPosition, rule, shown.dateRange);
}

std::string FilesAtPointTitle(const FilesAtPoint& files) {
    std::string title;
    if (files.span) {
        title = files.span->name;
    } else {
        title = FormatBinTime(files.view, files.bin);
        const int half = AveragingWindow(files.trackbarPosition) / 2;
        if (half > 0)
            title += " \u00b1 " + FormatBinSpan(files.view, half);
        if (files.dateRange)
            title += ", " + DateRangeName(*files.dateRange);
    }
    const auto count = static_cast<std::int64_t>(files.records.size());
    title += ": " + GroupThousands(count) + " " + RecordNoun(files.kind, count);
    if (files.activeMinutes)
        title += " in " + GroupThousands(*files.activeMinutes) +
                 (*files.activeMinutes == 1 ? " active minute" : " active minutes");
    return title;
}
