#pragma once

#include "scan_problems.h"
#include "stamp_sink.h"
#include "walk_folder.h"

#include <cstdint>

struct WalkControl;

// Where the appending thread gets its folders from.
class IReadyFolders {
public:
    // Waits until every time of the folder is read; false when the walk is stopping.
    virtual bool AwaitReady(const FolderPtr& folder) = 0;
    // The folder's records and those of all its subfolders are in the sink.
    virtual void Appended(WalkFolder& folder) = 0;

protected:
    ~IReadyFolders() = default;
};

// Appends a walked tree to the sink folder by folder in walk order (depth first, each folder
// in listing order, a subfolder's records where the subfolder was listed), counting what could
// not be read and publishing progress as it goes.
class COrderedAppender {
public:
    COrderedAppender(IStampSink& sink, ScanProblems& problems, WalkControl* control)
        : m_sink(sink), m_problems(problems), m_control(control) {}

    // False when the walk stopped before the end.
    bool Append(const FolderPtr& root, IReadyFolders& folders);

private:
    void Enter(WalkFolder& folder);
    void Account(const WalkFolder& folder);
    void PublishProgress();

    IStampSink& m_sink;
    ScanProblems& m_problems;
    WalkControl* const m_control;
    std::int64_t m_foldersListed = 0;
    std::int64_t m_filesAppended = 0;
};
