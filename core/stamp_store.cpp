#include "stamp_store.h"

#include "folder_walk.h"
#include "posix_directory_source.h"
#include "walk_control.h"

#include <cerrno>
#include <new>
#include <utility>

CStampStore theStampStore;

CStampStore::CStampStore() {
    Reset();
}

void CStampStore::Reset() {
    SetSize(0);
    m_nFiles = 0;
    m_strFolder.clear();
    m_problems = {};
}

void CStampStore::Scan(const std::string& path) {
    try {
        CPosixDirectorySource source;
        Scan(path, source);
    } catch (const std::bad_alloc&) {
        Reset();
        m_problems.rootError = ENOMEM;
    }
}

void CStampStore::Scan(const std::string& path, IDirectorySource& source, WalkControl* control) {
    Reset();
    try {
        m_strFolder = path;
        ScanFolder(path, source, control);
        if (control && control->stopRequested.load())
            Reset();
    } catch (const std::bad_alloc&) {
        // Whatever was read is dropped so that a new analysis starts from a clean store.
        Reset();
        m_problems.rootError = ENOMEM;
    }
}

void CStampStore::ScanFolder(const std::string& path, IDirectorySource& source, WalkControl* control) {
    CFolderWalk walk(source, *this, m_problems, CFolderWalk::kDefaultMaxOpen, control);
    walk.Run(path);
}

void CStampStore::Swap(CStampStore& other) noexcept {
    CGrowableArray<FileStamp>::swap(other);
    std::swap(m_nFiles, other.m_nFiles);
    m_strFolder.swap(other.m_strFolder);
    std::swap(m_problems, other.m_problems);
}

std::string FormatFilesTitle(std::int64_t files, const std::string& folder) {
    return std::to_string(files) + " files in " + folder;
}
