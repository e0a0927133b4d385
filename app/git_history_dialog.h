#pragma once

#include "git_history.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;

// File > Analyze Git History..., once the repository is chosen: which commits count. It lists the
// history's authors, most commits first, to be ticked (none ticked keeps every commit), and
// offers every branch and tag instead of HEAD's history alone.
class CGitHistoryDialog : public QDialog {
    Q_OBJECT

public:
    CGitHistoryDialog(const std::string& repository, QWidget* parent = nullptr);

    // The commits the choices keep: the ticked authors, each as "NAME <E-MAIL>".
    GitHistoryOptions Options() const;

    QCheckBox* m_allRefs = nullptr;
    QListWidget* m_authors = nullptr;
    QLabel* m_problem = nullptr; // why the authors cannot be listed, when they cannot

private:
    // Lists the authors of the history the check box names, keeping the ticks of those still there.
    void ListAuthors();

    std::string m_repository;
};
