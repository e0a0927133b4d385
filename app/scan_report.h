#pragma once

#include "background_walk.h"

#include <optional>
#include <string>

struct ScanProblems;

// What the status bar says after a walk that could not see everything: memory ran out ("Not
// enough memory to analyze /path."), the chosen folder itself unreadable ("Cannot read /path:
// Permission denied."), or how many folders below it could not be listed. Nothing when the
// whole tree was read.
std::optional<std::string> ScanProblemMessage(const ScanProblems& problems, const std::string& folder);

// What the status bar says when an analysis of folder has ended: "Analysis stopped." after a
// stop, the walk's problems after a complete walk, and nothing (the idle prompt) when it read
// everything.
std::optional<std::string> AnalysisOutcomeMessage(CBackgroundWalk::Outcome outcome,
                                                  const ScanProblems& problems, const std::string& folder);
