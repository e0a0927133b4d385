#include "stamp_places.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

void CStampPlaces::Clear() {
    m_folders.SetSize(0);
    m_fileFolders.SetSize(0);
    m_fileNames.SetSize(0);
    m_names.SetSize(0);
}

std::uint64_t CStampPlaces::AddName(std::string_view name) {
    const auto offset = static_cast<std::uint64_t>(m_names.GetSize());
    m_names.SetSize(m_names.GetSize() + static_cast<Index>(name.size()) + 1);
    if (!name.empty())
        std::memcpy(m_names.data() + offset, name.data(), name.size());
    return offset;
}

CStampPlaces::FolderIndex CStampPlaces::AddFolder(FolderIndex parent, std::string_view name) {
    if (m_folders.GetSize() >= kNoFolder)
        throw std::bad_alloc(); // more folders than an index can name
    m_folders.Add({AddName(name), parent});
    return static_cast<FolderIndex>(m_folders.GetSize() - 1);
}

void CStampPlaces::AddFile(FolderIndex folder, std::string_view name) {
    if (HasNames()) {
        m_fileNames.Add(AddName(name));
        try {
            m_fileFolders.Add(folder);
        } catch (...) {
            m_fileNames.SetSize(m_fileNames.GetSize() - 1); // the two arrays stay in step
            throw;
        }
    } else {
        m_fileFolders.Add(folder);
    }
}

std::string CStampPlaces::FolderPath(FolderIndex folder) const {
    std::vector<std::string_view> names;
    for (; folder != kNoFolder && !FolderName(folder).empty(); folder = ParentOf(folder))
        names.push_back(FolderName(folder));
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (!path.empty() && !path.ends_with('/'))
            path += '/';
        path += *name;
    }
    return path;
}

std::string CStampPlaces::RelativePath(Index record) const {
    std::string path = FolderPath(FolderOf(record));
    if (!HasNames())
        return path;
    if (!path.empty() && !path.ends_with('/'))
        path += '/';
    path += NameOf(record);
    return path;
}

std::string JoinPath(const std::string& folder, const std::string& relative) {
    if (relative.empty())
        return folder;
    if (folder.empty() || folder.back() == '/')
        return folder + relative;
    return folder + '/' + relative;
}
