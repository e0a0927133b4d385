#pragma once

#include "burst_events.h"
#include "files_at_point.h"

#include <QWidget>
#include <optional>
#include <vector>

class CStampStore;
class QLabel;
class QPushButton;
class QTreeWidget;

// How many bursts the window lists at most: the largest.
inline constexpr int kListedBursts = 1000;

// The records of a burst as a span of time for the Files window: its first second to the second
// after its last, named "Burst 2024-03-05 16:48:38 to 16:48:51".
FilesAtPoint::WrittenSpan BurstWrittenSpan(const BurstEvent& burst, TimeBasis basis);

// The "Bursts" window: the bursts of the current analysis, largest first, each with its start,
// end, count, main folder and that folder's share. Not modal. Enter or a double-click on a burst
// asks for its files; Leave Out This Folder asks to leave its folder out.
class CBurstsWindow : public QWidget {
    Q_OBJECT

public:
    explicit CBurstsWindow(QWidget* parent = nullptr);

    // Lists the bursts of the store and brings the window up; leaving a folder out is offered
    // when folderRulesApply.
    void ShowBursts(const CStampStore& store, bool folderRulesApply);

    QTreeWidget& List() { return *m_list; }
    QString HeaderText() const;

signals:
    void FilesRequested(const FilesAtPoint::WrittenSpan& span);
    // The folder given by its path below the analysed one.
    void LeaveOutRequested(const QString& relativeFolder);

private:
    struct Listed {
        BurstEvent burst;
        QString relativeFolder; // empty for none, or the analysed folder itself
    };
    // The burst of the current row, when there is one.
    const Listed* CurrentBurst() const;
    void ShowCurrentFiles();
    void LeaveOutCurrentFolder();
    void UpdateButtons();

    std::vector<Listed> m_bursts;
    TimeBasis m_basis = TimeBasis::Utc;
    bool m_folderRulesApply = false;
    QLabel* m_header = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_showFiles = nullptr;
    QPushButton* m_leaveOut = nullptr;
};
