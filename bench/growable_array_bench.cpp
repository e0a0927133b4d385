// Appending records one at a time: the array's realloc growth against an allocate-and-copy
// growth that uses the same capacities (the way a container without realloc grows).
#include "growable_array.h"
#include "stamp_store.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Same capacity rule, but every growth allocates a new block and copies the records over.
class CCopyingArray {
public:
    void Add(const FileStamp& stamp) {
        if (m_size == m_capacity) {
            const std::int64_t capacity =
                m_capacity == 0 ? 1 : m_capacity + CGrowableArray<FileStamp>::GrowthStep(m_size);
            auto grown = std::make_unique_for_overwrite<FileStamp[]>(static_cast<std::size_t>(capacity));
            std::copy(m_data.get(), m_data.get() + m_size, grown.get());
            m_data = std::move(grown);
            m_capacity = capacity;
        }
        m_data[static_cast<std::size_t>(m_size++)] = stamp;
    }
    std::int64_t GetSize() const { return m_size; }

private:
    std::unique_ptr<FileStamp[]> m_data;
    std::int64_t m_size = 0;
    std::int64_t m_capacity = 0;
};

template <typename Array> void AppendOneAtATime(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    for (auto _ : state) {
        Array array;
        for (std::int64_t i = 0; i < count; ++i)
            array.Add(FileStamp{i});
        benchmark::DoNotOptimize(array.GetSize());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_AppendRealloc(benchmark::State& state) {
    AppendOneAtATime<CGrowableArray<FileStamp>>(state);
}

// The store's records grow geometrically: no copy per step of 1,024 even where realloc must copy.
void BM_AppendGeometric(benchmark::State& state) {
    AppendOneAtATime<CGrowableArray<FileStamp, Growth::Geometric>>(state);
}

void BM_AppendCopying(benchmark::State& state) {
    AppendOneAtATime<CCopyingArray>(state);
}

} // namespace

BENCHMARK(BM_AppendRealloc)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendGeometric)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);
// The copying baseline at 10,000,000 takes minutes; it is measured at a tenth of that.
BENCHMARK(BM_AppendCopying)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
