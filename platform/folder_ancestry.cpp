#include "folder_ancestry.h"

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace {

bool StatFolder(const std::string& path, FolderId& id) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    id = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return true;
}

} // namespace

std::vector<FolderId> FolderAndAncestorIds(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    std::vector<FolderId> chain;
    if (!resolved)
        return chain;
    std::string folder = resolved.get();
    for (FolderId id; StatFolder(folder, id);) {
        chain.push_back(id);
        if (folder == "/")
            break;
        const std::size_t slash = folder.find_last_of('/');
        folder.resize(slash == 0 ? 1 : slash);
    }
    return chain;
}
