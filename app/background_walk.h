#pragma once

#include "stamp_store.h"
#include "walk_control.h"

#include <cstdint>
#include <functional>

// Runs one folder walk on a thread of its own into a store of its own, while the GUI thread
// keeps turning its event loop: the window goes on painting, and the caller hears how far
// the walk has got at most ten times a second. Nothing outside sees the store until the
// walk has ended.
class CBackgroundWalk {
public:
    using WalkFunction = std::function<void(CStampStore& store, WalkControl& control)>;
    using ProgressFunction = std::function<void(std::int64_t files, std::int64_t folders)>;

    static constexpr int kProgressIntervalMs = 100;

    enum class Outcome {
        Complete, // ran to its end; the result is ready
        Stopped,  // asked to stop, or the application quit; the result is empty
        NoThread  // the system could not give it a thread (out of memory or threads)
    };

    explicit CBackgroundWalk(WalkFunction walk);

    // Runs the walk, turning the event loop, until it ends, is stopped, or the application
    // quits (which stops it too).
    Outcome Run(const ProgressFunction& progress);

    // Asks the walk to end early; its store is then left empty. Any thread, any time.
    void RequestStop() { m_control.stopRequested = true; }

    // The walk's store, to be taken once Run has returned Complete.
    CStampStore& Result() { return m_result; }

private:
    WalkFunction m_walk;
    WalkControl m_control;
    CStampStore m_result;
};
