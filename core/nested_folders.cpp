#include "nested_folders.h"

#include "folder_ancestry.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

using FolderKey = std::pair<std::uint64_t, std::uint64_t>;

FolderKey KeyOf(const FolderId& id) {
    return {id.device, id.inode};
}

// Whether a walk from the folder at chain[above] reaches chain[0]: always, unless it stays on
// one file system and a mount point lies between them.
bool WalkReaches(std::span<const FolderId> chain, std::size_t above, bool oneFileSystem) {
    return !oneFileSystem ||
           std::all_of(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(above),
                       [&](const FolderId& id) { return id.device == chain[above].device; });
}

} // namespace

NestedFolderChoice ChooseOutermostFolders(std::span<const std::string> folders,
                                          std::span<const std::vector<FolderId>> chains, bool oneFileSystem) {
    std::map<FolderKey, std::size_t> firstGiven;
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (!chains[i].empty())
            firstGiven.emplace(KeyOf(chains[i].front()), i);

    NestedFolderChoice choice;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::vector<FolderId>& chain = chains[i];
        // The outermost given folder whose walk reaches this one is walked itself.
        std::size_t above = chain.size();
        std::size_t container = i;
        while (container == i && above-- > 0) {
            const auto given = firstGiven.find(KeyOf(chain[above]));
            if (given != firstGiven.end() && given->second != i && WalkReaches(chain, above, oneFileSystem))
                container = given->second;
        }
        if (container == i) {
            choice.kept.push_back(i);
            continue;
        }
        const std::string relation = above == 0 ? "' is the same folder as '" : "' is inside '";
        choice.notes.push_back("'" + folders[i] + relation + folders[container] + "': analysed once");
    }
    return choice;
}

std::vector<std::string> DropNestedFolders(std::span<const std::string> folders, bool oneFileSystem,
                                           std::vector<std::string>* notes) {
    std::vector<std::vector<FolderId>> chains;
    chains.reserve(folders.size());
    for (const std::string& folder : folders)
        chains.push_back(folders.size() > 1 ? FolderAndAncestorIds(folder) : std::vector<FolderId>());
    NestedFolderChoice choice = ChooseOutermostFolders(folders, chains, oneFileSystem);
    std::vector<std::string> kept;
    kept.reserve(choice.kept.size());
    for (const std::size_t i : choice.kept)
        kept.push_back(folders[i]);
    if (notes != nullptr)
        notes->insert(notes->end(), std::make_move_iterator(choice.notes.begin()),
                      std::make_move_iterator(choice.notes.end()));
    return kept;
}
