#pragma once

#include <QWidget>
#include <string>

struct ScanProblems;
class QTreeWidget;

// The folders the last analysis could not read, each with the reason, as a window of its own
// that the status bar's message about them opens.
class CUnreadableFoldersWindow : public QWidget {
    Q_OBJECT

public:
    explicit CUnreadableFoldersWindow(QWidget* parent = nullptr);

    // Lists the folders below folder that could not be read, in walk order, and brings the
    // window up.
    void ShowProblems(const std::string& folder, const ScanProblems& problems);

    QTreeWidget& List() { return *m_list; }

private:
    QTreeWidget* m_list = nullptr;
};
