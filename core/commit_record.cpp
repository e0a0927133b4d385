#include "commit_record.h"

namespace {

constexpr char kSeparator = '\n';
constexpr std::size_t kShortId = 12;

} // namespace

std::string CommitRecordName(const CommitFacts& commit) {
    std::string name;
    name.reserve(commit.id.size() + commit.author.size() + commit.subject.size() + 2);
    name.append(commit.id)
        .append(1, kSeparator)
        .append(commit.author)
        .append(1, kSeparator)
        .append(commit.subject);
    return name;
}

CommitFacts CommitFactsOf(std::string_view recordName) {
    const std::size_t first = recordName.find(kSeparator);
    const std::size_t second =
        first == std::string_view::npos ? first : recordName.find(kSeparator, first + 1);
    if (second == std::string_view::npos)
        return {{}, {}, recordName};
    return {recordName.substr(0, first), recordName.substr(first + 1, second - first - 1),
            recordName.substr(second + 1)};
}

std::string CommitListName(std::string_view recordName) {
    const CommitFacts commit = CommitFactsOf(recordName);
    std::string name(commit.id.substr(0, kShortId));
    name += ' ';
    name += commit.subject;
    return name;
}
