#include "analysis_source.h"

#include "nested_folders.h"
#include "overloaded.h"
#include "stamp_store.h"
#include "time_list.h"
#include "walk_control.h"

#include <new>

namespace {


SourceLoad LoadFolders(const FolderSource& source, CStampStore& store, IDirectorySource& directories,
                       int jobs, WalkControl* control) {
    SourceLoad load;
    load.foldersWalked = DropNestedFolders(source.folders, source.rules.oneFileSystem, &load.notices);
    CFilteredDirectorySource filtered(directories, RulesInForce(source.rules, load.foldersWalked));
    load.stopped = !store.Scan(load.foldersWalked, filtered, jobs, control);
    load.leftOut = filtered.Counts();
    return load;
}

SourceLoad LoadGit(const GitSource& source, CStampStore& store, WalkControl* control) {
    GitHistoryLoad history = LoadGitHistory(source.repository, source.options, store, control);
    SourceLoad load;
    load.message = std::move(history.error);
    if (!history.notice.empty())
        load.notices.push_back(std::move(history.notice));
    if (!load.message.empty())
        load.failure = SourceLoad::Failure::Unreadable;
    return load;
}

SourceLoad LoadLists(const TimeListSource& source, CStampStore& store, WalkControl* control) {
    const TimeListsLoad lists = LoadTimeLists(source.lists, store, control, source.recordEnd);
    SourceLoad load;
    load.message = lists.message;
    switch (lists.failure) {
    case TimeListsLoad::Failure::None:
        break;
    case TimeListsLoad::Failure::Unreadable:
        load.failure = SourceLoad::Failure::Unreadable;
        break;
    case TimeListsLoad::Failure::BadLine:
        load.failure = SourceLoad::Failure::BadInput;
        break;
    }
    return load;
}

} // namespace

std::string SourceRequestProblem(const SourceRequest& request) {
    if (!request.git && (request.allRefs || !request.authors.empty()))
        return std::string(request.allRefs ? "--all" : "--author") + " needs --git";
    if (!request.timeLists.empty() && !request.folders.empty())
        return "--times-from reads lists instead of a FOLDER: '" + request.folders.front() + "'";
    if (!request.timeLists.empty() && request.git)
        return "--times-from and --git cannot be used together";
    if (request.git && request.folders.size() > 1)
        return "--git reads one repository: more than one FOLDER given";
    return {};
}

AnalysisSource SourceFromRequest(const SourceRequest& request, const EntryFilter& rules) {
    if (!request.timeLists.empty())
        return TimeListSource{request.timeLists, request.recordEnd};
    std::vector<std::string> folders = request.folders;
    if (folders.empty())
        folders.emplace_back(".");
    if (request.git)
        return GitSource{folders.front(), {request.allRefs, request.authors}};
    return FolderSource{std::move(folders), rules};
}

SourceLoad LoadSource(const AnalysisSource& source, CStampStore& store, IDirectorySource& directories,
                      int jobs, WalkControl* control) {
    SourceLoad load =
        std::visit(Overloaded{[&](const FolderSource& folders) {
                                  return LoadFolders(folders, store, directories, jobs, control);
                              },
                              [&](const GitSource& git) { return LoadGit(git, store, control); },
                              [&](const TimeListSource& lists) { return LoadLists(lists, store, control); }},
                   source);
    if (control && control->stopRequested.load()) {
        // What was read before the stop is no analysis.
        store.Reset();
        load = {};
        load.stopped = true;
    }
    return load;
}

std::string SourceLabel(const AnalysisSource& source) {
    return std::visit(Overloaded{[](const FolderSource& folders) { return FolderListName(folders.folders); },
                                 [](const GitSource& git) {
                                     std::string label = "Git history of " + git.repository;
                                     if (git.options.allRefs)
                                         label += " (all branches and tags)";
                                     for (std::size_t i = 0; i < git.options.authors.size(); ++i)
                                         label += (i == 0 ? " by " : ", ") + git.options.authors[i];
                                     return label;
                                 },
                                 [](const TimeListSource& lists) {
                                     if (lists.lists.empty())
                                         return std::string("Time list");
                                     if (lists.lists.size() == 1)
                                         return "Time list " + TimeListName(lists.lists.front());
                                     return "Time lists " + TimeListName(lists.lists.front()) + " and " +
                                            std::to_string(lists.lists.size() - 1) + " more";
                                 }},
                      source);
}

const char* SourceRecordNoun(const AnalysisSource& source) {
    return std::visit(Overloaded{[](const FolderSource&) { return "files"; },
                                 [](const GitSource&) { return "commits"; },
                                 [](const TimeListSource&) { return "times"; }},
                      source);
}
