#pragma once

#include "analysis_source.h"
#include "entry_filter.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class QSettings;

// The Leave Out dialog's fields as the user typed them.
struct LeaveOutFields {
    QStringList patterns; // one per line, applying everywhere; blank lines are ignored
    bool versionControl = false;
    bool oneFileSystem = false;
    QString since; // a local ISO 8601 date or date and time, or empty
    QString until;
    std::string folder;                   // the analysed folder as rules name it; empty when there is none
    QStringList folderPatterns;           // one per line, applying below folder only
    std::vector<FolderRule> otherFolders; // the rules of other folders, kept as they are
};

// The rules the fields give, or the message of the first that is refused, as the report refuses
// it: a pattern that names nothing ("/") or has an unclosed '[', a date that is not one, an
// empty time range. Blank lines are passed over and blanks at the ends of a field dropped.
std::variant<EntryFilter, QString> RulesFromFields(const LeaveOutFields& fields);

// The fields that show the rules again (the dates in local time), those tied to folder apart.
LeaveOutFields FieldsFromRules(const EntryFilter& rules, const std::string& folder = {});

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
