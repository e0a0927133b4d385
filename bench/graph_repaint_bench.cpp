// A full repaint of a large graph panel (both axes, the curve, the title) with a million
// files and the widest averaging window, on the offscreen platform; and a spike, a folder
// whose files were all written in one minute, drawn with no averaging at the smallest scale,
// so that its slopes run far beyond the plot. The baseline is the cheapest paint of the same
// panel: its background alone, with an empty store.
#include "analysis_period.h"
#include "axis_drag.h"
#include "curve_geometry.h"
#include "graph_host.h"
#include "graph_panel.h"
#include "stamp_store.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <random>

namespace {

class BenchHost : public IGraphHost {
public:
    int CurrentViewMode() const override { return view; }
    int AveragingPosition() const override { return averaging; }
    void ShowReadout(const QString&) override {}
    int view = VIEW_DAY;
    int averaging = 100;
};

const CStampStore& MillionFiles() {
    static CStampStore store = [] {
        CStampStore filled;
        std::mt19937_64 random(7);
        std::uniform_int_distribution<std::int64_t> times(946684800, 1893456000); // 2000 to 2030
        for (int i = 0; i < 1'000'000; ++i)
            filled.Add({times(random)});
        filled.m_nFiles = filled.GetSize();
        return filled;
    }();
    return store;
}

const CStampStore& OneMinuteSpike() {
    static CStampStore store = [] {
        CStampStore filled;
        for (int i = 0; i < 1000; ++i)
            filled.Add({1614600000 + i % 60}); // 2021-03-01 12:00 UTC, within one minute
        filled.m_nFiles = filled.GetSize();
        return filled;
    }();
    return store;
}

void Repaint(benchmark::State& state, const CStampStore& store, int averaging, QSize size = {1920, 1000},
             double yScale = 6.5) {
    BenchHost host;
    host.view = static_cast<int>(state.range(0));
    host.averaging = averaging;
    CGraphPanel panel(host, store);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.resize(size);
    panel.LayOut();
    panel.m_plot.m_yScale = yScale;
    panel.m_plot.RebuildHistograms();
    QImage image(panel.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        panel.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RepaintEmptyPanel(benchmark::State& state) {
    const CStampStore empty;
    Repaint(state, empty, 100);
}

void BM_RepaintMillionFiles(benchmark::State& state) {
    Repaint(state, MillionFiles(), 100);
}

void BM_RepaintMillionFilesNoAveraging(benchmark::State& state) {
    Repaint(state, MillionFiles(), 0);
}

// Trackbar 0 and the smallest full scale: the spike reaches hundreds of thousands of rows above the plot.
void BM_RepaintOneMinuteSpike(benchmark::State& state) {
    const QSize size(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    Repaint(state, OneMinuteSpike(), 0, size, kSmallestFullScale);
}

// The curve's arithmetic alone: its cost must not grow with the averaging window.
void BM_ComputeCurve(benchmark::State& state) {
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(MillionFiles());
    CurveInputs inputs;
    inputs.histogram = histograms.m_dayBins.span();
    inputs.bins = 1440;
    inputs.width = 1800;
    inputs.height = 950;
    inputs.trackbarPosition = static_cast<int>(state.range(0));
    inputs.fileCount = MillionFiles().m_nFiles;
    std::vector<PathPoint> path;
    for (auto _ : state) {
        ComputeCurve(inputs, path);
        benchmark::DoNotOptimize(path.data());
    }
}

} // namespace

BENCHMARK(BM_ComputeCurve)->Arg(0)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintEmptyPanel)->Arg(VIEW_DAY)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintMillionFiles)->DenseRange(VIEW_DAY, VIEW_YEAR)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintMillionFilesNoAveraging)->Arg(VIEW_DAY)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintOneMinuteSpike)
    ->Args({VIEW_DAY, 1920, 1000})
    ->Args({VIEW_DAY, 3840, 2100})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
