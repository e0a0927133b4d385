#pragma once

#include "entry_filter.h"

#include <QString>
#include <QStringList>
#include <variant>

class QSettings;

// The Leave Out dialog's fields as the user typed them.
struct LeaveOutFields {
    QStringList patterns; // one per line; blank lines are ignored
    bool versionControl = false;
    bool oneFileSystem = false;
    QString since; // a local ISO 8601 date or date and time, or empty
    QString until;
};

// The rules the fields give, or the message of the first that is refused, as the report refuses
// it: a pattern that names nothing ("/") or has an unclosed '[', a date that is not one, an
// empty time range. Blank lines are passed over and blanks at the ends of a field dropped.
std::variant<EntryFilter, QString> RulesFromFields(const LeaveOutFields& fields);

// The fields that show the rules again (the dates in local time).
LeaveOutFields FieldsFromRules(const EntryFilter& rules);

// Adds the rule that leaves out one folder below the analysed one, given its path below it: a
// path pattern ("/src/gen") in which every character a pattern would read as special stands for
// itself, so that it names that folder alone and reads back through the dialog unchanged. False,
// and nothing added, for the analysed folder itself (an empty path); a rule already there is
// not added twice.
bool AddFolderRule(EntryFilter& rules, const QString& relativeFolder);

// The remembered rules, checked: a value of the wrong kind, a pattern the dialog would refuse or
// an empty time range makes the whole set read as no rules at all.
EntryFilter LoadLeaveOutRules(const QSettings& settings);
void SaveLeaveOutRules(QSettings& settings, const EntryFilter& rules);
