#pragma once

#include <string>
#include <string_view>

// What the store keeps as the name of a commit's record: its full id, its author and the first
// line of its message, one a line (none of them holds a line end).
struct CommitFacts {
    std::string_view id;     // 40 (or 64) hex digits
    std::string_view author; // "Name <e-mail>"
    std::string_view subject;
    bool operator==(const CommitFacts&) const = default;
};
std::string CommitRecordName(const CommitFacts& commit);
// The facts of a record's name; a name that is not a commit's reads as a subject alone.
CommitFacts CommitFactsOf(std::string_view recordName);

// How lists name a commit: "0123456789ab subject" (the first 12 hex digits of its id).
std::string CommitListName(std::string_view recordName);
