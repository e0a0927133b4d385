#pragma once

#include "files_model.h"

#include <QUrl>
#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QTreeView;

// The "Files" window: what one point of the curve is made of, as a tree of folders and their
// files. Not modal; it keeps the last point shown until a new analysis empties it.
class CFilesWindow : public QWidget {
    Q_OBJECT

public:
    explicit CFilesWindow(QWidget* parent = nullptr);

    // Lists the files and brings the window up. The store must keep its names and stay
    // unchanged until the next ShowFiles or Clear.
    void ShowFiles(const CStampStore& store, FilesAtPoint files);
    // Empties the list and the title line.
    void Clear();

    // An action on the folder of the current row, offered beside Open Folder in the window's
    // menu and its context menu, with its shortcut; triggering it emits FolderActionTriggered
    // with the folder's path below the analysed one.
    QAction* AddFolderAction(const QString& text, const QKeySequence& shortcut = {});

    QString HeaderText() const;
    CFilesModel& Model() { return m_model; }
    QTreeView& Tree() { return *m_tree; }

    // Copies the full paths of the selected rows, one a line.
    void CopySelectedPaths();
    // Opens the current row's folder in the file manager.
    void OpenFolder();

    // Replaceable so that tests can watch it: how a folder is opened in the file manager.
    std::function<bool(const QUrl& url)> m_openUrl;

signals:
    void FolderActionTriggered(QAction* action, const QString& relativeFolder);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ShowContextMenu(const QPoint& at);

    CFilesModel m_model;
    QLabel* m_header = nullptr;
    QTreeView* m_tree = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_openFolder = nullptr;
    QMenu* m_menu = nullptr;               // the menu bar's one menu: every command of the window
    QAction* m_folderActionsEnd = nullptr; // the folder actions go before it in the menu
    QList<QAction*> m_folderActions;
};
