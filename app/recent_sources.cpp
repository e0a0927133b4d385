#include "recent_sources.h"

#include "overloaded.h"

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace {

const QString kRecentSourcesKey = QStringLiteral("recentSources");
const QString kRecentFoldersKey = QStringLiteral("recentFolders"); // earlier versions' folders only

// A line is its kind and its fields, each field's bytes percent-encoded, separated by spaces.
const QByteArray kFolders = "folders";
const QByteArray kGit = "git";
const QByteArray kGitAll = "git-all";
const QByteArray kLists = "lists";

QByteArray Field(const std::string& text) {
    return QByteArray::fromStdString(text).toPercentEncoding();
}

std::string Text(const QByteArray& field) {
    return QByteArray::fromPercentEncoding(field).toStdString();
}


// What is remembered of a source: a folder without its rules (those in force apply when it is
// opened again), a list with its record ends told from its first bytes.
AnalysisSource AsRemembered(AnalysisSource source) {
    if (auto* folders = std::get_if<FolderSource>(&source))
        folders->rules = {};
    if (auto* lists = std::get_if<TimeListSource>(&source))
        lists->recordEnd = RecordEnd::Detect;
    return source;
}

// QSettings gives a list of one entry back as a plain string.
std::optional<QStringList> StringList(const QVariant& value) {
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toStringList();
}

} // namespace

std::vector<AnalysisSource> WithRecentSource(std::vector<AnalysisSource> sources, AnalysisSource source) {
    source = AsRemembered(std::move(source));
    std::erase(sources, source);
    sources.insert(sources.begin(), std::move(source));
    if (sources.size() > kMostRecentSources)
        sources.resize(kMostRecentSources);
    return sources;
}

QString EncodeRecentSource(const AnalysisSource& source) {
    QByteArrayList fields;
    std::visit(Overloaded{[&](const FolderSource& folders) {
                              fields << kFolders;
                              for (const std::string& folder : folders.folders)
                                  fields << Field(folder);
                          },
                          [&](const GitSource& git) {
                              fields << (git.options.allRefs ? kGitAll : kGit) << Field(git.repository);
                              for (const std::string& author : git.options.authors)
                                  fields << Field(author);
                          },
                          [&](const TimeListSource& lists) {
                              fields << kLists;
                              for (const std::string& list : lists.lists)
                                  fields << Field(list);
                          }},
               source);
    return QString::fromLatin1(fields.join(' '));
}

std::optional<AnalysisSource> DecodeRecentSource(const QString& line) {
    const QByteArrayList fields = line.toLatin1().split(' ');
    if (fields.size() < 2 || line.contains(QChar(0)) || line.toLatin1() != line.toUtf8())
        return std::nullopt;
    std::vector<std::string> values;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        values.push_back(Text(fields[i]));
        if (values.back().empty() || values.back().find('\0') != std::string::npos)
            return std::nullopt;
    }
    const QByteArray& kind = fields.front();
    if (kind == kFolders)
        return FolderSource{std::move(values), {}};
    if (kind == kLists)
        return TimeListSource{std::move(values), RecordEnd::Detect};
    if (kind == kGit || kind == kGitAll) {
        GitSource git;
        git.repository = values.front();
        git.options.allRefs = kind == kGitAll;
        git.options.authors.assign(values.begin() + 1, values.end());
        return git;
    }
    return std::nullopt;
}

std::vector<AnalysisSource> LoadRecentSources(const QSettings& settings) {
    std::vector<AnalysisSource> sources;
    const auto add = [&sources](AnalysisSource source) {
        if (std::find(sources.begin(), sources.end(), source) == sources.end() &&
            sources.size() < kMostRecentSources)
            sources.push_back(std::move(source));
    };
    if (settings.contains(kRecentSourcesKey)) {
        const std::optional<QStringList> lines = StringList(settings.value(kRecentSourcesKey));
        if (!lines)
            return {};
        for (const QString& line : *lines) {
            std::optional<AnalysisSource> source = DecodeRecentSource(line);
            if (!source)
                return {};
            add(std::move(*source));
        }
        return sources;
    }
    const std::optional<QStringList> folders = StringList(settings.value(kRecentFoldersKey));
    for (const QString& folder : folders.value_or(QStringList())) {
        if (folder.isEmpty() || folder.contains(QChar(0)))
            return {};
        add(FolderSource{{QFile::encodeName(folder).toStdString()}, {}});
    }
    return sources;
}

void SaveRecentSources(QSettings& settings, const std::vector<AnalysisSource>& sources) {
    QStringList lines;
    for (const AnalysisSource& source : sources)
        lines << EncodeRecentSource(source);
    settings.setValue(kRecentSourcesKey, lines);
    settings.remove(kRecentFoldersKey);
}
