#include "period_histograms.h"

#include "analysis_period.h"
#include "local_time_cache.h"
#include "stamp_store.h"

#include <new>

void CPeriodHistograms::RebuildHistograms(const CStampStore& store) {
    m_yearBins.SetSize(BinsForView(VIEW_YEAR));
    m_monthBins.SetSize(BinsForView(VIEW_MONTH));
    m_weekBins.SetSize(BinsForView(VIEW_WEEK));
    m_dayBins.SetSize(BinsForView(VIEW_DAY));
    if (store.Basis() == TimeBasis::WallClock) {
        Recount(store, UtcPeriodBins);
        return;
    }
    try {
        CLocalTimeCache localTime;
        Recount(store, [&](std::int64_t t) { return localTime.Bins(t); });
    } catch (const std::bad_alloc&) {
        // The cache could not grow: the plain breakdown needs no memory.
        Recount(store, ReferencePeriodBins);
    }
}

template <typename BinsOf> void CPeriodHistograms::Recount(const CStampStore& store, BinsOf binsOf) {
    m_yearBins.Zero();
    m_monthBins.Zero();
    m_weekBins.Zero();
    m_dayBins.Zero();
    m_nBinned = 0;
    for (const FileStamp& stamp : store.span()) {
        const std::optional<PeriodBins> bins = binsOf(stamp.m_lastWrite);
        if (!bins)
            continue;
        ++m_dayBins[bins->day];
        ++m_weekBins[bins->week];
        ++m_monthBins[bins->month];
        ++m_yearBins[bins->year];
        ++m_nBinned;
    }
}

const Histogram* CPeriodHistograms::ForView(int view) const {
    switch (view) {
    case VIEW_DAY:
        return &m_dayBins;
    case VIEW_WEEK:
        return &m_weekBins;
    case VIEW_MONTH:
        return &m_monthBins;
    case VIEW_YEAR:
        return &m_yearBins;
    default:
        return nullptr;
    }
}
