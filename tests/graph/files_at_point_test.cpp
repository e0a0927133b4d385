#include "analysis_period.h"
#include "curve_geometry.h"
#include "files_at_point.h"
#include "time_zone.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The curve rises above its floor at point j exactly where CurveWindowAt(j) holds the one full
// bin: the window function is the curve's own, wrap round the period included.
TEST(FilesAtPoint, TheWindowHoldsExactlyTheBinsTheCurveSums) {
    constexpr int kBins = 1440;
    for (const int full : {0, 5, 600, 1435})
        for (const int position : {0, 1, 50, 100}) {
            std::vector<std::int32_t> histogram(kBins, 0);
            histogram[static_cast<std::size_t>(full)] = 3;
            CurveInputs in{.histogram = histogram,
                           .bins = kBins,
                           .width = kBins,
                           .height = 100000,
                           .trackbarPosition = position,
                           .fileCount = 3};
            std::vector<PathPoint> path;
            ComputeCurve(in, path);
            ASSERT_EQ(path.size(), static_cast<std::size_t>(kBins));
            for (int j = 0; j < kBins; ++j)
                ASSERT_EQ(path[static_cast<std::size_t>(j)].y < in.height,
                          CurveWindowAt(j, kBins, position).Contains(full))
                    << "bin " << full << ", trackbar " << position << ", point " << j;
        }
    EXPECT_EQ(CurveWindowAt(0, kBins, 50), (BinRange{1390, 100, kBins})) << "bins 1390..1439 and 0..49";
    EXPECT_EQ(CurveWindowAt(50, kBins, 50), (BinRange{0, 100, kBins}));
    EXPECT_EQ(CurveWindowAt(1439, kBins, 50), (BinRange{1389, 100, kBins})) << "bins 1389..1439 and 0..48";
    EXPECT_EQ(CurveWindowAt(7, kBins, 0), (BinRange{7, 1, kBins})) << "the bin alone";
    EXPECT_EQ(CurveWindowAt(7, 0, 50), BinRange{});
}

// One file in the middle of every bin of each view, so that the selection is checked against
// the bins it must hold, in each view's own calendar.
TEST(FilesAtPoint, SelectsTheFilesOfEveryBinInTheWindowAndTitlesThem) {
    CScopedTimeZone utc("UTC");
    for (int view = VIEW_DAY; view <= VIEW_YEAR; ++view) {
        const int bins = BinsForView(view);
        const std::int64_t halfBin = (BinTime(view, 1) - BinTime(view, 0)) / 2;
        CStampStore store;
        for (int bin = 0; bin < bins; ++bin)
            for (int copy = 0; copy <= bin % 3; ++copy)
                store.AddStamp(BinTime(view, bin) + halfBin);
        for (const int point : {0, bins - 1, 700}) {
            const FilesAtPoint files = SelectFilesAtPoint(store, view, point, 30);
            std::int64_t expected = 0;
            for (int bin = point - 30; bin < point + 30; ++bin)
                expected += (bin + bins) % bins % 3 + 1;
            EXPECT_EQ(static_cast<std::int64_t>(files.records.size()), expected) << view << " at " << point;
            EXPECT_EQ(SelectFilesAtPoint(store, view, point, 30, CountRule::ActiveMinutes).activeMinutes, 60)
                << "the copies in each bin share one minute";
            for (const CStampStore::Index record : files.records) {
                const int bin =
                    static_cast<int>((store[record].m_lastWrite - BinTime(view, 0)) / (2 * halfBin));
                ASSERT_TRUE(files.range.Contains(bin)) << view << " at " << point;
            }
        }
    }

    FilesAtPoint files;
    files.view = VIEW_WEEK;
    files.bin = 2 * 240 + 105; // Tuesday 10:30 AM
    files.trackbarPosition = 50;
    files.records.resize(1234);
    EXPECT_EQ(FilesAtPointTitle(files), "Tuesday 10:30 AM \u00b1 5.0 hours: 1,234 files");
    files.view = VIEW_DAY;
    files.bin = 630;
    EXPECT_EQ(FilesAtPointTitle(files), "10:30 AM \u00b1 50 minutes: 1,234 files");
    files.trackbarPosition = 0;
    files.records.resize(1);
    EXPECT_EQ(FilesAtPointTitle(files), "10:30 AM: 1 file");
    files.activeMinutes = 1;
    EXPECT_EQ(FilesAtPointTitle(files), "10:30 AM: 1 file in 1 active minute");
}

} // namespace
