#pragma once

#include "analysis_source.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class CMainFrame;

// Whether a network socket can be made: the platform check the program starts with.
bool SocketsAvailable();

// The application: starts the program, owns the main window, and carries out the commands
// the main window passes on (the about box and Exit).
class CBusyscopeApp : public QObject {
    Q_OBJECT

public:
    CBusyscopeApp();
    ~CBusyscopeApp() override;

    // Builds and shows the main window; false ends the program before any window is shown.
    // Given a source, the window analyses it at once instead of opening the about box.
    bool InitInstance(const std::optional<AnalysisSource>& source = std::nullopt);

    // Runs the about box modally over the main window.
    void OnAppAbout();

    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }

    // Replaceable so that tests can make the start-up check fail and see its message.
    std::function<bool()> m_socketsAvailable = SocketsAvailable;
    std::function<void(const QString& message)> m_showStartupError;

private:
    void OnAppCommand(int id);

    std::unique_ptr<CMainFrame> m_pMainWnd;
};
