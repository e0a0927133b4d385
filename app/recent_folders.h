#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The folders analysed last, newest first, remembered between runs for File > Recent Folders.
inline constexpr int kMostRecentFolders = 8;

// The list with folder put first: taken out from further down if it was there, the oldest
// dropped beyond kMostRecentFolders.
QStringList WithRecentFolder(QStringList folders, const QString& folder);

// The remembered list, checked: anything but a list of folder paths reads as no list at all;
// repeats and entries beyond kMostRecentFolders are dropped.
QStringList LoadRecentFolders(const QSettings& settings);
void SaveRecentFolders(QSettings& settings, const QStringList& folders);
