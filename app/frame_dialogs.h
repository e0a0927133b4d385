#pragma once

#include "date_range.h"
#include "filtered_directory_source.h"
#include "git_history.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <string>

class QWidget;

// The questions the main window asks through dialogs and the outside programs it starts, in one
// place: the real ones by default, replaceable so that tests can answer them. An empty path
// means the user cancelled.
struct CFrameDialogs {
    CFrameDialogs();

    std::function<QString(QWidget* owner, const QString& prompt)> browseForFolder;
    // The viewer the user guide is opened in.
    std::function<bool(const QUrl& url)> openUrl;
    // The file choosers of the time lists.
    std::function<QString(QWidget* owner, const QString& caption)> chooseOpenFile;
    std::function<QString(QWidget* owner, const QString& caption)> chooseSaveFile;
    // Which commits of the history of the repository chosen count (nothing when cancelled).
    std::function<std::optional<GitHistoryOptions>(QWidget* owner, const QString& repository)> askGitHistory;
    // Where File > Save Picture... saves.
    std::function<QString(QWidget* owner, const QString& suggested)> choosePictureFile;
    std::function<void(QWidget* owner, const QString& text)> showMessage;
    // The Leave Out dialog for the rules and the folder they may be tied to (nothing when
    // cancelled), and a yes-or-no question.
    std::function<std::optional<EntryFilter>(QWidget* owner, const EntryFilter& rules,
                                             const std::string& folder)>
        editLeaveOut;
    std::function<bool(QWidget* owner, const QString& question)> askYesNo;
    // A date range, offered first as the one given, with a title and a line saying what it is
    // for (nothing when cancelled).
    std::function<std::optional<DateRange>(QWidget* owner, const QString& title, const QString& prompt,
                                           const DateRange& initial)>
        askDateRange;
};
