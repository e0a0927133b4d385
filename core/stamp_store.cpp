#include "stamp_store.h"

#include "folder_walk.h"
#include "posix_directory_source.h"

#include <cerrno>
#include <new>

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

void CStampStore::Scan(const std::string& path, IDirectorySource& source) {
    Reset();
    try {
        m_strFolder = path;
        ScanFolder(path, source);
    } catch (const std::bad_alloc&) {
        // Whatever was read is dropped so that a new analysis starts from a clean store.
        Reset();
        m_problems.rootError = ENOMEM;
    }
}

void CStampStore::ScanFolder(const std::string& path, IDirectorySource& source) {
    CFolderWalk walk(source, *this, m_problems);
    walk.Run(path);
}

std::string FormatFilesTitle(std::int64_t files, const std::string& folder) {
    return std::to_string(files) + " files in " + folder;
}
