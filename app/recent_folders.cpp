#include "recent_folders.h"

#include <QSettings>
#include <QVariant>

namespace {

const QString kRecentFoldersKey = QStringLiteral("recentFolders");

} // namespace

QStringList WithRecentFolder(QStringList folders, const QString& folder) {
    folders.removeAll(folder);
    folders.prepend(folder);
    while (folders.size() > kMostRecentFolders)
        folders.removeLast();
    return folders;
}

QStringList LoadRecentFolders(const QSettings& settings) {
    const QVariant value = settings.value(kRecentFoldersKey);
    // QSettings gives a list of one entry back as a plain string.
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QString)
        return {};
    QStringList folders;
    for (const QString& folder : value.toStringList()) {
        if (folder.isEmpty() || folder.contains(QChar(0)))
            return {};
        if (!folders.contains(folder) && folders.size() < kMostRecentFolders)
            folders << folder;
    }
    return folders;
}

void SaveRecentFolders(QSettings& settings, const QStringList& folders) {
    settings.setValue(kRecentFoldersKey, folders);
}
