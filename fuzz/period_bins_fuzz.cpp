// The bins of any 64-bit times in several zones: always in range, and the cached path gives
// exactly what the plain localtime/mktime path gives.
#include "analysis_period.h"
#include "fuzz_check.h"
#include "local_time_cache.h"
#include "period_bins.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

const char* const kZones[] = {
    "UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kathmandu", "right/UTC"};

void CheckInRange(const PeriodBins& bins) {
    Require(bins.day >= 0 && bins.day < kViews[VIEW_DAY].bins, "day bin in range");
    Require(bins.week >= 0 && bins.week < kViews[VIEW_WEEK].bins, "week bin in range");
    Require(bins.month >= 0 && bins.month < kViews[VIEW_MONTH].bins, "month bin in range");
    Require(bins.year >= 0 && bins.year < kViews[VIEW_YEAR].bins, "year bin in range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    ::setenv("TZ", input.PickValueInArray(kZones), 1);
    ::tzset();
    CLocalTimeCache cache; // one batch: later times reuse what earlier ones found
    while (input.remaining_bytes() > 0) {
        // Either any time at all or one near the present (where the zones' rules change most).
        const std::int64_t t =
            input.ConsumeBool()
                ? input.ConsumeIntegral<std::int64_t>()
                : input.ConsumeIntegralInRange<std::int64_t>(-5'000'000'000LL, 10'000'000'000LL);
        const std::optional<PeriodBins> plain = ReferencePeriodBins(t);
        const std::optional<PeriodBins> cached = cache.Bins(t);
        Require(plain.has_value() == cached.has_value() && (!plain || *plain == *cached),
                "the cached bins equal the plain ones");
        if (plain)
            CheckInRange(*plain);
    }
    return 0;
}
