#pragma once

#include "analysis_source.h"
#include "background_walk.h"
#include "filtered_directory_source.h"

#include <optional>
#include <string>

struct ScanProblems;

// What the status bar says after a walk that could not see everything: memory ran out ("Not
// enough memory to analyze /path."), the chosen folder itself unreadable ("Cannot read /path:
// Permission denied."), or how many folders below it could not be listed. Nothing when the
// whole tree was read.
std::optional<std::string> ScanProblemMessage(const ScanProblems& problems, const std::string& folder);

// What the status bar says of what the leave-out rules kept out of a walk: "12 entries, 3 files
// outside the time range and 2 mount points left out." Nothing when nothing was left out.
std::optional<std::string> LeftOutMessage(const LeftOutCounts& leftOut);

// What the status bar says when an analysis of what is named label has ended: "Analysis
// stopped." after a stop, the source's own problem as a sentence when it could not be read,
// its notice (a shallow clone cut short, commits skipped) as one when it has one, else the
// walk's problems and then what was left out, and nothing (the idle prompt) when it
// read everything and left nothing out.
std::optional<std::string> AnalysisOutcomeMessage(CBackgroundWalk::Outcome outcome, const SourceLoad& load,
                                                  const ScanProblems& problems, const std::string& label);

// A one-line problem from the core ("cannot read 'x': ...") as a sentence for the status bar.
std::string StatusSentence(std::string problem);
