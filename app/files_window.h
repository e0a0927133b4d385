#pragma once

#include "commits_model.h"
#include "files_model.h"

#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMimeData;
class QPushButton;
class QTreeView;

// What the clipboard holds of paths: text/uri-list with every byte of each path kept
// (percent-encoded; a relative path taken below the current folder), and plain text, one path
// a line, escaped as the report prints them.
std::unique_ptr<QMimeData> PathsForClipboard(const std::vector<std::string>& paths);

// The "Files" window: what one point of the curve is made of, as a tree of folders and their
// files, or the commits of a history. Not modal; it keeps the last point shown until a new
// analysis refills or closes it.
class CFilesWindow : public QWidget {
    Q_OBJECT

public:
    explicit CFilesWindow(QWidget* parent = nullptr);

    // Lists the files (or commits) and brings the window up; Leave Out This Folder is offered
    // when folderRulesApply. The store must keep its names and stay unchanged until the next
    // ShowFiles or Clear.
    void ShowFiles(const CStampStore& store, FilesAtPoint files, bool folderRulesApply);
    // Empties the list and the title line.
    void Clear();

    QString HeaderText() const;
    CFilesModel& Model() { return m_model; }
    CCommitsModel& Commits() { return m_commits; }
    QTreeView& Tree() { return *m_tree; }
    // The point shown, while one is.
    const FilesAtPoint* ShownPoint() const;

    // Copies the full paths of the selected rows (the full ids of commits), one a line.
    void CopySelection();
    // Opens the current row's folder in the file manager.
    void OpenFolder();

    // Replaceable so that tests can watch it: how a folder is opened in the file manager.
    std::function<bool(const QUrl& url)> m_openUrl;

signals:
    // Leave Out This Folder (Delete) on the current row's folder, given by its path below the
    // analysed one.
    void LeaveOutRequested(const QString& relativeFolder);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ShowContextMenu(const QPoint& at);
    bool ListsCommits() const;
    // Open Folder where the current row's folder exists, the folder actions where rules apply.
    void UpdateActions();

    CFilesModel m_model;
    CCommitsModel m_commits;
    std::optional<FilesAtPoint> m_shown; // the point listed, for a refill after a new analysis
    bool m_folderRulesApply = false;
    QLabel* m_header = nullptr;
    QTreeView* m_tree = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_openFolder = nullptr;
    QPushButton* m_openButton = nullptr;
    QAction* m_leaveOut = nullptr; // offered where rules apply
};
