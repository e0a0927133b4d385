// How long the GUI thread goes without turning its event loop while the main window analyses a
// big folder: a 1 ms timer ticks on the GUI thread and the window is resized every 50 ms, and
// the longest gap between ticks during the walk is reported. The baselines, in the same run:
// the same walk run on the GUI thread (how long the window was frozen when it walked there)
// and the longest gap of the idle event loop.
//
//   gui_latency_bench [FOLDER]
//
// Without a folder it builds 400,000 empty files in 400 folders in a temporary folder and
// removes them afterwards. Exits 1 when the longest gap during the walk is 50 ms or more.
#include "analysis_runner.h"
#include "command_ids.h"
#include "graph_panel.h"
#include "main_frame.h"
#include "stamp_store.h"
#include "walk_control.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFolders = 400;
constexpr int kFilesPerFolder = 1000;
constexpr double kTargetMs = 50.0;

bool BuildTree(const std::string& root) {
    for (int d = 0; d < kFolders; ++d) {
        const std::string folder = root + "/folder" + std::to_string(d);
        if (::mkdir(folder.c_str(), 0755) != 0)
            return false;
        for (int f = 0; f < kFilesPerFolder; ++f) {
            const int fd = ::open((folder + "/file" + std::to_string(f)).c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd < 0)
                return false;
            ::close(fd);
        }
    }
    return true;
}

// Ticks every millisecond and keeps the longest gap between ticks while counting is on.
class GapMeter {
public:
    GapMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
        m_timer.start();
        m_clock.start();
    }
    void Count(bool on) {
        m_counting = on;
        m_last = -1;
    }
    double LongestMs() const { return static_cast<double>(m_longestNs) / 1e6; }
    void Reset() { m_longestNs = 0; }

private:
    void Tick() {
        const qint64 now = m_clock.nsecsElapsed();
        if (m_counting && m_last >= 0)
            m_longestNs = std::max(m_longestNs, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = -1;
    qint64 m_longestNs = 0;
    bool m_counting = false;
};

double MillisecondsOf(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);

    QTemporaryDir made;
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
    } else {
        folder = made.path().toStdString();
        std::printf("building %d files in %d folders under %s ...\n", kFolders * kFilesPerFolder, kFolders,
                    folder.c_str());
        if (!made.isValid() || !BuildTree(folder)) {
            std::fprintf(stderr, "cannot build the tree under %s\n", folder.c_str());
            return 2;
        }
    }

    // Warm the cache, then time the walk as the GUI thread used to run it.
    CStampStore store;
    const AnalysisSource source = FolderSource{{folder}, {}};
    WalkControl warm;
    LoadRealSource(source, store, warm);
    WalkControl onGuiThread;
    QElapsedTimer timer;
    timer.start();
    LoadRealSource(source, store, onGuiThread);
    const double blockingMs = MillisecondsOf(timer);
    const std::int64_t files = store.m_nFiles;
    store.Reset();

    CMainFrame frame;
    frame.m_dialogs.browseForFolder = [&](QWidget*, const QString&) { return QString::fromStdString(folder); };
    frame.resize(900, 600);
    frame.show();
    GapMeter meter;
    QTimer resizer; // keeps the window painting
    bool wide = false;
    QObject::connect(&resizer, &QTimer::timeout, [&] {
        wide = !wide;
        frame.resize(wide ? 1000 : 900, wide ? 700 : 600);
    });
    resizer.start(50);

    // The idle loop over about the same time, for the noise floor of this machine.
    meter.Count(true);
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < std::max<qint64>(200, static_cast<qint64>(blockingMs)))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    const double idleGapMs = meter.LongestMs();

    // The analysis, started from the event loop as a command would be.
    meter.Reset();
    double walkMs = 0;
    double rebuildMs = 0;
    QTimer::singleShot(0, &frame, [&] {
        QElapsedTimer during;
        during.start();
        meter.Count(true);
        QTimer watch; // stops counting when the walk hands over to the rebuild
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (frame.IsAnalysing())
                walkMs = MillisecondsOf(during);
        });
        watch.setTimerType(Qt::PreciseTimer);
        watch.start(1);
        frame.OnCommand(ID_FILE_NEWFOLDER);
        meter.Count(false);
        rebuildMs = MillisecondsOf(during) - walkMs;
        QCoreApplication::quit();
    });
    QApplication::exec();
    const double walkGapMs = meter.LongestMs();

    std::printf("walk of %lld files (%lld in the window's store)\n", static_cast<long long>(files),
                static_cast<long long>(theStampStore.m_nFiles));
    std::printf("baseline: the same walk on the GUI thread blocks it for %.1f ms\n", blockingMs);
    std::printf("idle event loop: longest gap %.2f ms\n", idleGapMs);
    std::printf(
        "background walk (%.0f ms): longest gap between event-loop turns %.2f ms = %.3f of the baseline "
        "(target under %.0f ms)\n",
        walkMs, walkGapMs, walkGapMs / blockingMs, kTargetMs);
    std::printf("after the walk: store hand-over, histogram rebuild and repaint on the GUI thread %.1f ms\n",
                rebuildMs);
    return walkGapMs < kTargetMs && theStampStore.m_nFiles == files ? 0 : 1;
}
