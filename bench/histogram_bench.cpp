// Recounting the four histograms over 1,000,000 file times: the cached local-time path
// against one localtime_r and two mktime calls per record, and the recount of active minutes
// against the recount of files (the target: at most 3 times as long), in the same run.
#include "period_bins.h"
#include "period_histograms.h"
#include "stamp_store.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <random>

namespace {

constexpr int kRecords = 1'000'000;

// File times spread over 2000 to 2026 in random order, as a large tree gives them.
const CStampStore& Records() {
    static const CStampStore store = [] {
        CStampStore records;
        std::mt19937_64 random(42);
        std::uniform_int_distribution<std::int64_t> anyTime(946684800, 1798761600);
        for (int i = 0; i < kRecords; ++i)
            records.AddStamp(anyTime(random));
        return records;
    }();
    return store;
}

void UseZone(const benchmark::State& state) {
    setenv("TZ", state.range(0) == 0 ? "Europe/Berlin" : "UTC", 1);
    tzset();
}

void BM_RebuildHistograms(benchmark::State& state) {
    UseZone(state);
    const CStampStore& store = Records();
    CPeriodHistograms histograms;
    for (auto _ : state) {
        histograms.RebuildHistograms(store);
        benchmark::DoNotOptimize(histograms.m_dayBins.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// Each minute with a file in it counted once: the minutes are found first, then binned.
void BM_RebuildActiveMinutes(benchmark::State& state) {
    UseZone(state);
    const CStampStore& store = Records();
    CPeriodHistograms histograms;
    for (auto _ : state) {
        histograms.RebuildHistograms(store, CountRule::ActiveMinutes);
        benchmark::DoNotOptimize(histograms.m_dayBins.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

std::int64_t YearStartByMktime(int tmYear) {
    std::tm fields{};
    fields.tm_year = tmYear;
    fields.tm_mday = 1;
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

// The plain way: localtime_r, then mktime for the start of the year and of the next.
void BM_PlainLocaltimeAndMktime(benchmark::State& state) {
    UseZone(state);
    const CStampStore& store = Records();
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(CStampStore()); // sizes the arrays
    for (auto _ : state) {
        histograms.m_dayBins.Zero();
        histograms.m_weekBins.Zero();
        histograms.m_monthBins.Zero();
        histograms.m_yearBins.Zero();
        for (const FileStamp& stamp : store.span()) {
            const std::time_t t = stamp.m_lastWrite;
            std::tm fields{};
            localtime_r(&t, &fields);
            const YearBounds year{YearStartByMktime(fields.tm_year), YearStartByMktime(fields.tm_year + 1)};
            LocalBreakdown local;
            local.monthDay = fields.tm_mday;
            local.weekDay = fields.tm_wday;
            local.hour = fields.tm_hour;
            local.minute = fields.tm_min;
            local.second = fields.tm_sec;
            const PeriodBins bins = BinsFromLocal(local, t, year);
            ++histograms.m_dayBins[bins.day];
            ++histograms.m_weekBins[bins.week];
            ++histograms.m_monthBins[bins.month];
            ++histograms.m_yearBins[bins.year];
        }
        benchmark::DoNotOptimize(histograms.m_dayBins.data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

} // namespace

// Argument 0: Europe/Berlin, 1: UTC.
BENCHMARK(BM_RebuildHistograms)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildActiveMinutes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLocaltimeAndMktime)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
