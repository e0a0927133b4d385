#pragma once

#include <QDialog>

class QPushButton;

// The welcome box that opens at every start: what the program is for, where to look, and
// the button that starts an analysis.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);

    QPushButton* CancelButton() const { return m_btnCancel; }
    QPushButton* AnalyzeButton() const { return m_btnAnalyze; }

    // Ends the box, then has the owner run the new-folder command once the box has gone.
    void OnAnalyzeNewFolder();

private:
    QPushButton* m_btnCancel = nullptr;
    QPushButton* m_btnAnalyze = nullptr;
};
