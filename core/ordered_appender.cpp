#include "ordered_appender.h"

#include "walk_control.h"

#include <string>
#include <vector>

bool COrderedAppender::Append(const FolderPtr& root, IReadyFolders& folders) {
    struct Frame {
        FolderPtr folder;
        std::size_t entry = 0;
        std::size_t child = 0;
    };
    std::vector<Frame> path;
    path.push_back({root});
    bool entering = true;
    while (!path.empty()) {
        if (entering) {
            if (!folders.AwaitReady(path.back().folder))
                return false;
            Enter(*path.back().folder);
            entering = false;
        }
        Frame& frame = path.back();
        WalkFolder& folder = *frame.folder;
        const std::size_t count = folder.outcomes.size();
        while (frame.entry < count) {
            const std::size_t entry = frame.entry++;
            if (folder.outcomes[entry] == Outcome::Record) {
                m_sink.AddFile(folder.sinkIndex, folder.listing.Name(entry), folder.times[entry]);
                ++m_filesAppended;
            } else if (folder.outcomes[entry] == Outcome::Descend) {
                FolderPtr child = folder.children[frame.child++];
                path.push_back({std::move(child)});
                entering = true;
                break;
            }
        }
        if (!entering) {
            folders.Appended(folder);
            path.pop_back();
        }
    }
    PublishProgress();
    return true;
}

void COrderedAppender::Enter(WalkFolder& folder) {
    folder.sinkIndex = m_sink.AddFolder(folder.parent ? folder.parent->sinkIndex : IStampSink::kNoFolder, folder.name);
    Account(folder);
}

namespace {

// "a/b" for a folder two levels below the chosen one, from its ancestor chain; the top's name,
// when it has one, comes first.
std::string RelativeFolderPath(const WalkFolder& folder) {
    std::string path = folder.name;
    for (const WalkFolder* up = folder.parent.get(); up != nullptr && !up->name.empty();
         up = up->parent.get())
        path = up->name + (up->name.ends_with('/') ? "" : "/") + path;
    return path;
}

} // namespace

void COrderedAppender::Account(const WalkFolder& folder) {
    const bool root = folder.depth == 0;
    if (folder.openError != 0) {
        m_problems.AddUnreadable(RelativeFolderPath(folder), folder.openError);
    } else if (folder.loop) {
        ++m_problems.skippedLoops;
    } else {
        const int error = folder.listError != 0 ? folder.listError : folder.timeError.load();
        if (error != 0 && root)
            m_problems.rootError = error;
        else if (error != 0)
            m_problems.AddUnreadable(RelativeFolderPath(folder), error);
        ++m_foldersListed;
    }
    PublishProgress();
}

void COrderedAppender::PublishProgress() {
    if (m_control != nullptr) {
        m_control->filesFound.store(m_filesAppended, std::memory_order_relaxed);
        m_control->foldersListed.store(m_foldersListed, std::memory_order_relaxed);
    }
}
