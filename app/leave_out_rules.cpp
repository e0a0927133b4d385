#include "leave_out_rules.h"

#include "wall_clock_time.h"

#include <QSettings>
#include <QVariant>
#include <algorithm>
#include <ctime>

namespace {

const QString kGroup = QStringLiteral("leaveOut/");

// Why a pattern is refused, or an empty text when it is good.
QString PatternProblem(const QString& pattern) {
    const std::string bytes = pattern.toStdString();
    if (NormalisedPattern(bytes).empty())
        return QStringLiteral("The pattern \"%1\" names no entry.").arg(pattern);
    int open = -1;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == QLatin1Char('\\'))
            ++i;
        else if (pattern[i] == QLatin1Char('[') && open < 0)
            open = i;
        else if (pattern[i] == QLatin1Char(']') && open >= 0 && i > open + 1)
            open = -1;
    }
    if (open >= 0)
        return QStringLiteral("The pattern \"%1\" opens a '[' that it never closes.").arg(pattern);
    return {};
}

// The first second of a local date or date and time; nothing for an empty text; a message when
// it is no date.
std::variant<std::optional<std::int64_t>, QString> LocalDate(const QString& text, const QString& field) {
    if (text.trimmed().isEmpty())
        return std::optional<std::int64_t>();
    const std::optional<WallClockTime> wall = ParseIsoDateTime(text.trimmed().toStdString());
    const std::optional<std::int64_t> first = wall ? FirstSecondShowing(*wall, LocalUtcOffset) : std::nullopt;
    if (!first)
        return QStringLiteral("%1 \"%2\" is not a date such as 2024-03-31 or 2024-03-31T14:30.").arg(field, text);
    return first;
}

QString LocalDateText(std::int64_t t) {
    const std::time_t time = static_cast<std::time_t>(t);
    std::tm fields{};
    if (localtime_r(&time, &fields) == nullptr)
        return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &fields);
    return QString::fromLatin1(text);
}

} // namespace

std::variant<EntryFilter, QString> RulesFromFields(const LeaveOutFields& fields) {
    EntryFilter rules;
    for (const QString& line : fields.patterns) {
        const QString pattern = line.trimmed();
        if (pattern.isEmpty())
            continue;
        if (const QString problem = PatternProblem(pattern); !problem.isEmpty())
            return problem;
        rules.excludedNames.push_back(pattern.toStdString());
    }
    rules.excludeVersionControl = fields.versionControl;
    rules.oneFileSystem = fields.oneFileSystem;
    auto since = LocalDate(fields.since, QStringLiteral("From"));
    if (const QString* problem = std::get_if<QString>(&since))
        return *problem;
    auto until = LocalDate(fields.until, QStringLiteral("Before"));
    if (const QString* problem = std::get_if<QString>(&until))
        return *problem;
    rules.since = std::get<0>(since);
    rules.until = std::get<0>(until);
    if (rules.since && rules.until && *rules.since >= *rules.until)
        return QStringLiteral("The time range is empty: \"Before\" must come after \"From\".");
    return rules;
}

bool AddFolderRule(EntryFilter& rules, const QString& relativeFolder) {
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
    const std::string rule = pattern.toStdString();
    if (std::find(rules.excludedNames.begin(), rules.excludedNames.end(), rule) == rules.excludedNames.end())
        rules.excludedNames.push_back(rule);
    return true;
}

LeaveOutFields FieldsFromRules(const EntryFilter& rules) {
    LeaveOutFields fields;
    for (const std::string& pattern : rules.excludedNames)
        fields.patterns << QString::fromStdString(pattern);
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
    const bool patternsGood = !patterns.isValid() || patterns.typeId() == QMetaType::QStringList ||
                              patterns.typeId() == QMetaType::QString;
    if (!patternsGood || !isFlag(versionControl) || !isFlag(oneFileSystem) || !isTime(since) || !isTime(until))
        return {};
    EntryFilter rules;
    for (const QString& pattern : patterns.toStringList()) {
        if (!PatternProblem(pattern).isEmpty() || pattern != pattern.trimmed())
            return {};
        rules.excludedNames.push_back(pattern.toStdString());
    }
    rules.excludeVersionControl = versionControl.toString() == QLatin1String("true");
    rules.oneFileSystem = oneFileSystem.toString() == QLatin1String("true");
    if (since.isValid())
        rules.since = since.toString().toLongLong();
    if (until.isValid())
        rules.until = until.toString().toLongLong();
    if (rules.since && rules.until && *rules.since >= *rules.until)
        return {};
    return rules;
}

void SaveLeaveOutRules(QSettings& settings, const EntryFilter& rules) {
    QStringList patterns;
    for (const std::string& pattern : rules.excludedNames)
        patterns << QString::fromStdString(pattern);
    settings.setValue(kGroup + QStringLiteral("patterns"), patterns);
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
