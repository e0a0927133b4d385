#pragma once

#include "busyscope_app.h"
#include "main_frame.h"
#include "test_tree.h"
#include "time_zone.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>
#include <string>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
#include <gtest/gtest.h>

class CAboutDlg;

// Runs the event loop until pred holds or the time runs out; returns pred().
bool ProcessEventsUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

// Runs the event loop until the about box opens, hands it to act while it runs modally, and
// returns once it has closed. act must close the box; a box still open after some seconds is
// closed so that a failing test ends instead of hanging. False when no box opened.
bool WhileAboutBoxOpen(const std::function<void(CAboutDlg& box)>& act);

// A started program: the application and its main window after start-up, with the folder
// chooser answered by the test.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Closes the about box the program opens with.
    void DismissStartupAboutBox();

    // Chooses folder for "New folder..." and returns once its analysis has ended.
    void Analyse(const std::string& folder);

    // The answer the chooser gives next ("" = cancelled); every prompt it was shown is kept.
    QString m_chooserAnswer;
    QStringList m_chooserPrompts;

    CBusyscopeApp m_app;
    CMainFrame* m_frame = nullptr;
};

// The started program with its about box closed: the main window takes commands.
class OpenWindowTest : public AppTest {
protected:
    void SetUp() override;
};
