#include "leave_out_rules.h"

#include "local_time.h"

#include <QFile>
#include <QSettings>
#include <QVariant>
#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("leaveOut/");

QString LocalDateText(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    return local ? QString::fromStdString(IsoDateTimeText(*local, 'T')) : QString();
}

} // namespace

std::variant<EntryFilter, QString> RulesFromFields(const LeaveOutFields& fields) {
    EntryFilter rules;
    std::string problem;
    for (const QString& line : fields.patterns)
        if (!line.trimmed().isEmpty() && problem.empty())
            problem = AddPattern(rules, line.toStdString());
    for (const QString& line : fields.folderPatterns)
        if (!line.trimmed().isEmpty() && problem.empty())
            problem = AddFolderPattern(rules, fields.folder, line.toStdString());
    rules.folderRules.insert(rules.folderRules.end(), fields.otherFolders.begin(), fields.otherFolders.end());
    rules.excludeVersionControl = fields.versionControl;
    rules.oneFileSystem = fields.oneFileSystem;
    if (!fields.since.trimmed().isEmpty() && problem.empty())
        problem = SetRangeEnd(rules.since, fields.since.toStdString());
    if (!fields.until.trimmed().isEmpty() && problem.empty())
        problem = SetRangeEnd(rules.until, fields.until.toStdString());
    if (problem.empty())
        problem = RulesProblem(rules);
    if (!problem.empty())
        return QString::fromStdString(problem);
    return rules;
}

std::string RuleFolderOf(const std::optional<AnalysisSource>& source) {
    const auto* folders = source ? std::get_if<FolderSource>(&*source) : nullptr;
    return folders && folders->folders.size() == 1 ? RuleFolder(folders->folders.front()) : std::string();
}

bool AddFolderRule(EntryFilter& rules, const std::string& analysedFolder, const QString& relativeFolder) {
    if (relativeFolder.isEmpty())
        return false;
    QString pattern = QStringLiteral("/");
    for (qsizetype i = 0; i < relativeFolder.size(); ++i) {
        const QChar c = relativeFolder[i];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            pattern += QLatin1Char('?'); // the dialog holds one pattern a line
        else if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[') ||
                 c == QLatin1Char('\\'))
            pattern.append(QLatin1Char('\\')).append(c);
        else if (c.isSpace() && i == relativeFolder.size() - 1) // the dialog trims the ends of a line
            pattern.append(QLatin1Char('[')).append(c).append(QLatin1Char(']'));
        else
            pattern += c;
    }
    const FolderRule rule{analysedFolder, pattern.toStdString()};
    if (std::find(rules.folderRules.begin(), rules.folderRules.end(), rule) == rules.folderRules.end())
        rules.folderRules.push_back(rule);
    return true;
}

LeaveOutFields FieldsFromRules(const EntryFilter& rules, const std::string& folder) {
    LeaveOutFields fields;
    for (const std::string& pattern : rules.excludedNames)
        fields.patterns << QString::fromStdString(pattern);
    fields.folder = folder;
    for (const FolderRule& rule : rules.folderRules) {
        if (!folder.empty() && rule.folder == folder)
            fields.folderPatterns << QString::fromStdString(rule.pattern);
        else
            fields.otherFolders.push_back(rule);
    }
    fields.versionControl = rules.excludeVersionControl;
    fields.oneFileSystem = rules.oneFileSystem;
    if (rules.since)
        fields.since = LocalDateText(*rules.since);
    if (rules.until)
        fields.until = LocalDateText(*rules.until);
    return fields;
}

EntryFilter LoadLeaveOutRules(const QSettings& settings) {
    const QVariant patterns = settings.value(kGroup + QStringLiteral("patterns"));
    const QVariant versionControl = settings.value(kGroup + QStringLiteral("versionControl"), false);
    const QVariant oneFileSystem = settings.value(kGroup + QStringLiteral("oneFileSystem"), false);
    const QVariant since = settings.value(kGroup + QStringLiteral("since"));
    const QVariant until = settings.value(kGroup + QStringLiteral("until"));
    const QVariant ruleFolders = settings.value(kGroup + QStringLiteral("ruleFolders"));
    const QVariant folderPatterns = settings.value(kGroup + QStringLiteral("folderPatterns"));
    const auto isFlag = [](const QVariant& value) {
        const QString text = value.toString();
        return text == QLatin1String("true") || text == QLatin1String("false");
    };
    const auto isTime = [](const QVariant& value) {
        bool number = false;
        value.toString().toLongLong(&number);
        return !value.isValid() || number;
    };
    // QSettings gives a list of one entry back as a plain string.
    const auto isList = [](const QVariant& value) {
        return !value.isValid() || value.typeId() == QMetaType::QStringList ||
               value.typeId() == QMetaType::QString;
    };
    const QStringList folders = ruleFolders.toStringList();
    const QStringList folderRules = folderPatterns.toStringList();
    if (!isList(patterns) || !isList(ruleFolders) || !isList(folderPatterns) ||
        folders.size() != folderRules.size() || !isFlag(versionControl) || !isFlag(oneFileSystem) ||
        !isTime(since) || !isTime(until))
        return {};
    EntryFilter rules;
    for (const QString& pattern : patterns.toStringList())
        rules.excludedNames.push_back(pattern.toStdString());
    for (qsizetype i = 0; i < folders.size(); ++i)
        rules.folderRules.push_back(
            {QFile::encodeName(folders[i]).toStdString(), folderRules[i].toStdString()});
    rules.excludeVersionControl = versionControl.toString() == QLatin1String("true");
    rules.oneFileSystem = oneFileSystem.toString() == QLatin1String("true");
    if (since.isValid())
        rules.since = since.toString().toLongLong();
    if (until.isValid())
        rules.until = until.toString().toLongLong();
    return RulesProblem(rules).empty() ? rules : EntryFilter();
}

void SaveLeaveOutRules(QSettings& settings, const EntryFilter& rules) {
    QStringList patterns;
    for (const std::string& pattern : rules.excludedNames)
        patterns << QString::fromStdString(pattern);
    settings.setValue(kGroup + QStringLiteral("patterns"), patterns);
    QStringList folders;
    QStringList folderPatterns;
    for (const FolderRule& rule : rules.folderRules) {
        folders << QFile::decodeName(rule.folder.c_str());
        folderPatterns << QString::fromStdString(rule.pattern);
    }
    settings.setValue(kGroup + QStringLiteral("ruleFolders"), folders);
    settings.setValue(kGroup + QStringLiteral("folderPatterns"), folderPatterns);
    settings.setValue(kGroup + QStringLiteral("versionControl"), rules.excludeVersionControl);
    settings.setValue(kGroup + QStringLiteral("oneFileSystem"), rules.oneFileSystem);
    const auto setTime = [&](const QString& key, const std::optional<std::int64_t>& time) {
        if (time)
            settings.setValue(kGroup + key, QString::number(*time));
        else
            settings.remove(kGroup + key);
    };
    setTime(QStringLiteral("since"), rules.since);
    setTime(QStringLiteral("until"), rules.until);
}
