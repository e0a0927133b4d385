#pragma once

#include <optional>
#include <string>

struct ScanProblems;

// What the status bar says after a walk that could not see everything: the chosen folder
// itself unreadable ("Cannot read /path: Permission denied."), or how many folders below it
// could not be listed. Nothing when the whole tree was read.
std::optional<std::string> ScanProblemMessage(const ScanProblems& problems, const std::string& folder);
