#include "background_walk.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

CBackgroundWalk::CBackgroundWalk(WalkFunction walk) : m_walk(std::move(walk)) {
    m_result.KeepPlaces(PlaceDetail::Names); // the Files window lists each file by name
}

CBackgroundWalk::Outcome CBackgroundWalk::Run(const ProgressFunction& progress) {
    QEventLoop loop;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer); // a coarse timer may come early, and more often than asked
    ticker.setInterval(kProgressIntervalMs);
    const auto report = [&] {
        progress(m_control.filesFound.load(std::memory_order_relaxed),
                 m_control.foldersListed.load(std::memory_order_relaxed));
    };
    QObject::connect(&ticker, &QTimer::timeout, &loop, report);
    report();
    ticker.start();

    std::atomic<bool> ended{false};
    std::thread worker;
    try {
        worker = std::thread([&] {
            m_walk(m_result, m_control);
            ended = true;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        return Outcome::NoThread;
    }
    loop.exec();
    if (!ended)
        RequestStop(); // the application is quitting
    worker.join();
    return m_control.stopRequested ? Outcome::Stopped : Outcome::Complete;
}
