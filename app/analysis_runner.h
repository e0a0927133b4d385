#pragma once

#include "analysis_source.h"
#include "background_walk.h"

#include <QString>
#include <functional>

class CStampStore;
class QWidget;

// Runs one analysis at a time: reads a source on a thread of its own into a store of its own
// while the window stays alive, shows its progress, stops at Escape, and stops and closes the
// window once it has ended at the quit keys. Input to the window is ignored meanwhile, and the
// cursor waits.
class CAnalysisRunner {
public:
    // Fills a store from a source; the real folders, histories and lists unless a test says otherwise.
    using Loader =
        std::function<SourceLoad(const AnalysisSource& source, CStampStore& store, WalkControl& control)>;
    using TextFunction = std::function<void(const QString& text)>;

    struct Result {
        CBackgroundWalk::Outcome outcome = CBackgroundWalk::Outcome::Stopped;
        SourceLoad load; // what the loader said, when it ran to its end
    };

    // Progress goes to showProgress.
    CAnalysisRunner(QWidget& window, TextFunction showProgress);

    // Reads the source. The store read is moved into result only when the reading completes;
    // else result is left as it was.
    Result Run(const AnalysisSource& source, CStampStore& result);

    bool IsRunning() const { return m_walk != nullptr; }
    // Asks the reading under way, if any, to end.
    void RequestStop();

    Loader m_load;

private:
    QWidget& m_window;
    TextFunction m_showProgress;
    CBackgroundWalk* m_walk = nullptr;
};

// The loader of the real sources: folders through the file system with the default threads.
SourceLoad LoadRealSource(const AnalysisSource& source, CStampStore& store, WalkControl& control);
