#include "stamp_store.h"

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
    m_pathRoot.clear();
    m_problems = {};
    m_places.Clear();
    m_basis = TimeBasis::Utc;
    m_kind = RecordKind::Files;
}

void CStampStore::Begin(std::string folder, RecordKind kind, TimeBasis basis) {
    Reset();
    m_strFolder = std::move(folder);
    m_kind = kind;
    m_basis = basis;
}

CStampStore::CStampStore(CStampStore&& other) noexcept
    : CGrowableArray(std::move(other)), m_nFiles(std::exchange(other.m_nFiles, 0)),
      m_strFolder(std::exchange(other.m_strFolder, {})), m_pathRoot(std::exchange(other.m_pathRoot, {})),
      m_problems(std::exchange(other.m_problems, {})), m_keepPlaces(other.m_keepPlaces),
      m_places(std::exchange(other.m_places, {})), m_basis(std::exchange(other.m_basis, TimeBasis::Utc)),
      m_kind(std::exchange(other.m_kind, RecordKind::Files)) {}

CStampStore& CStampStore::operator=(CStampStore&& other) noexcept {
    CGrowableArray::operator=(std::move(other));
    m_nFiles = std::exchange(other.m_nFiles, 0);
    m_strFolder = std::exchange(other.m_strFolder, {});
    m_pathRoot = std::exchange(other.m_pathRoot, {});
    m_problems = std::exchange(other.m_problems, {});
    m_keepPlaces = other.m_keepPlaces;
    m_places = std::exchange(other.m_places, {});
    m_basis = std::exchange(other.m_basis, TimeBasis::Utc);
    m_kind = std::exchange(other.m_kind, RecordKind::Files);
    return *this;
}

bool CStampStore::Scan(const std::string& path, IDirectorySource& source, int jobs, WalkControl* control) {
    return Scan(std::span<const std::string>(&path, 1), source, jobs, control);
}

bool CStampStore::Scan(std::span<const std::string> paths, IDirectorySource& source, int jobs,
                       WalkControl* control) {
    Reset();
    bool complete = true;
    try {
        m_strFolder = FolderListName(paths);
        m_pathRoot = paths.size() == 1 ? paths.front() : std::string();
        WalkLimits limits;
        limits.jobs = jobs;
        for (std::size_t i = 0; i < paths.size() && complete && m_problems.rootError == 0; ++i) {
            m_problems.rootIndex = i;
            // Below several trees a path starts with its tree's, so that it says which.
            complete = WalkFolderTree(source, *this, m_problems, paths[i],
                                      paths.size() > 1 ? paths[i] : std::string(), limits, control);
        }
    } catch (const std::bad_alloc&) {
        // Whatever was read is dropped so that a new analysis starts from a clean store.
        const std::size_t rootIndex = m_problems.rootIndex;
        Reset();
        m_problems.rootError = ENOMEM;
        m_problems.rootIndex = rootIndex;
        return true;
    }
    if (!complete)
        Reset(); // a stopped walk shows nothing rather than part of the tree
    return complete;
}

std::string FolderListName(std::span<const std::string> paths) {
    if (paths.empty())
        return {};
    if (paths.size() == 1)
        return paths.front();
    const std::size_t more = paths.size() - 1;
    return paths.front() + " and " + std::to_string(more) + (more == 1 ? " more folder" : " more folders");
}

std::string FormatFilesTitle(std::int64_t files, const std::string& folder, RecordKind kind) {
    return std::to_string(files) + " " + RecordNoun(kind) + " in " + folder;
}

std::int64_t CStampStore::KeepWrittenIn(std::int64_t since, std::int64_t until) {
    const auto kept = [&](Index record) {
        const std::int64_t t = (*this)[record].m_lastWrite;
        return t >= since && t < until;
    };
    if (m_keepPlaces)
        m_places.KeepFiles(kept);
    Index next = 0;
    for (Index record = 0; record < GetSize(); ++record)
        if (kept(record))
            (*this)[next++] = (*this)[record];
    const std::int64_t dropped = GetSize() - next;
    SetSize(next);
    m_nFiles = next;
    return dropped;
}
