#pragma once

#include "filtered_directory_source.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// File > Leave Out...: the same rules as the report's options. OK checks every field first; a
// field that is wrong is named in a message and nothing is taken.
class CLeaveOutDialog : public QDialog {
    Q_OBJECT

public:
    CLeaveOutDialog(const EntryFilter& rules, QWidget* parent = nullptr);

    // The rules as they stood when OK was accepted.
    const EntryFilter& Rules() const { return m_rules; }

    void accept() override;

    // Replaceable so that tests can read the message instead of a box.
    std::function<void(QWidget* owner, const QString& text)> m_complain;

    QPlainTextEdit* m_patterns = nullptr;
    QCheckBox* m_versionControl = nullptr;
    QCheckBox* m_oneFileSystem = nullptr;
    QLineEdit* m_since = nullptr;
    QLineEdit* m_until = nullptr;

private:
    EntryFilter m_rules;
};
