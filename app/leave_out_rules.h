#pragma once

#include "analysis_source.h"
#include "entry_filter.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

class QSettings;

// The patterns as the window shows them, one text each.
QStringList PatternList(const std::vector<std::string>& patterns);

// The folder rules are tied to in an analysis of the source: its folder when it is one folder,
// else none (empty).
std::string RuleFolderOf(const std::optional<AnalysisSource>& source);

// Adds the rule, tied to the analysed folder, that leaves out one folder below it, given its
// path below it: a path pattern ("/src/gen") in which every character a pattern would read as
// special stands for itself, so that it names that folder alone and reads back through the
// dialog unchanged. False, and nothing added, for the analysed folder itself (an empty path); a
// rule already there is not added twice.
bool AddFolderRule(EntryFilter& rules, const std::string& analysedFolder, const QString& relativeFolder);

// The remembered rules, checked: a value of the wrong kind, a pattern the dialog would refuse or
// an empty time range makes the whole set read as no rules at all. Rules remembered before they
// could be tied to a folder apply everywhere, as they did.
EntryFilter LoadLeaveOutRules(const QSettings& settings);
void SaveLeaveOutRules(QSettings& settings, const EntryFilter& rules);
