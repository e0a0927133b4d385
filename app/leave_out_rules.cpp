#include "leave_out_rules.h"

#include <QFile>
#include <QSettings>
#include <QVariant>
#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("leaveOut/");

} // namespace

QStringList PatternList(const std::vector<std::string>& patterns) {
    QStringList list;
    for (const std::string& pattern : patterns)
        list << QString::fromStdString(pattern);
    return list;
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
        else if (QStringLiteral("*?[\\").contains(c))
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

EntryFilter LoadLeaveOutRules(const QSettings& settings) {
    bool good = true;
    // QSettings gives a list of one entry back as a plain string.
    const auto list = [&](const char* key) {
        const QVariant value = settings.value(kGroup + QLatin1String(key));
        good = good && (!value.isValid() || value.typeId() == QMetaType::QStringList ||
                        value.typeId() == QMetaType::QString);
        return value.toStringList();
    };
    const auto flag = [&](const char* key) {
        const QString text = settings.value(kGroup + QLatin1String(key), false).toString();
        good = good && (text == QLatin1String("true") || text == QLatin1String("false"));
        return text == QLatin1String("true");
    };
    const auto time = [&](const char* key) -> std::optional<std::int64_t> {
        const QVariant value = settings.value(kGroup + QLatin1String(key));
        bool number = false;
        const qlonglong t = value.toString().toLongLong(&number);
        good = good && (!value.isValid() || number);
        return value.isValid() ? std::optional<std::int64_t>(t) : std::nullopt;
    };
    EntryFilter rules;
    for (const QString& pattern : list("patterns"))
        rules.excludedNames.push_back(pattern.toStdString());
    const QStringList folders = list("ruleFolders");
    const QStringList folderPatterns = list("folderPatterns");
    for (qsizetype i = 0; i < std::min(folders.size(), folderPatterns.size()); ++i)
        rules.folderRules.push_back(
            {QFile::encodeName(folders[i]).toStdString(), folderPatterns[i].toStdString()});
    rules.excludeVersionControl = flag("versionControl");
    rules.oneFileSystem = flag("oneFileSystem");
    rules.since = time("since");
    rules.until = time("until");
    good = good && folders.size() == folderPatterns.size();
    return good && RulesProblem(rules).empty() ? rules : EntryFilter();
}

void SaveLeaveOutRules(QSettings& settings, const EntryFilter& rules) {
    settings.setValue(kGroup + QStringLiteral("patterns"), PatternList(rules.excludedNames));
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
    for (const auto& [key, time] :
         {std::pair{QStringLiteral("since"), rules.since}, {QStringLiteral("until"), rules.until}}) {
        if (time)
            settings.setValue(kGroup + key, QString::number(*time));
        else
            settings.remove(kGroup + key);
    }
}
