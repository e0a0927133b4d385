#pragma once

#include "entry_filter.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// File > Leave Out...: the same rules as the report's options. OK checks every field first; a
// field that is wrong is named in a message and nothing is taken. The patterns that apply
// everywhere and those tied to the analysed folder (given as rules name it, or empty when rules
// cannot be tied to one) are in two boxes; the rules of other folders are named and kept.
class CLeaveOutDialog : public QDialog {
    Q_OBJECT

public:
    CLeaveOutDialog(const EntryFilter& rules, const std::string& folder, QWidget* parent = nullptr);

    // The rules as they stood when OK was accepted.
    const EntryFilter& Rules() const { return m_rules; }

    void accept() override;

    // Replaceable so that tests can read the message instead of a box.
    std::function<void(QWidget* owner, const QString& text)> m_complain;

    QPlainTextEdit* m_patterns = nullptr;
    QPlainTextEdit* m_folderPatterns = nullptr; // hidden without a folder
    QLabel* m_otherFolders = nullptr;           // hidden when no other folder has rules
    QCheckBox* m_versionControl = nullptr;
    QCheckBox* m_oneFileSystem = nullptr;
    QLineEdit* m_since = nullptr;
    QLineEdit* m_until = nullptr;

private:
    EntryFilter m_rules;
    std::string m_folder;
    std::vector<FolderRule> m_otherFolderRules;
};
