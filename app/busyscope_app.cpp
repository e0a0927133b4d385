#include "busyscope_app.h"

#include "about_dlg.h"
#include "app_icons.h"
#include "busyscope_version.h"
#include "command_ids.h"
#include "main_frame.h"
#include "string_table.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <sys/socket.h>
#include <unistd.h>

bool SocketsAvailable() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

CBusyscopeApp::CBusyscopeApp()
    : m_showStartupError([](const QString& message) {
          QMessageBox::warning(nullptr, LoadResString(AFX_IDS_APP_TITLE), message, QMessageBox::Ok);
      }) {
    QCoreApplication::setApplicationName(LoadResString(AFX_IDS_APP_TITLE));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kBusyscopeVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral(BUSYSCOPE_APP_ID));
}

CBusyscopeApp::~CBusyscopeApp() = default;

bool CBusyscopeApp::InitInstance(const std::optional<AnalysisSource>& source) {
    if (!m_socketsAvailable()) {
        m_showStartupError(LoadResString(IDS_SOCKETS_INIT_FAILED));
        return false;
    }

    m_pMainWnd = std::make_unique<CMainFrame>();
    connect(m_pMainWnd.get(), &CMainFrame::AppCommand, this, &CBusyscopeApp::OnAppCommand);
    m_pMainWnd->setWindowIcon(ProgramIcon());

    m_pMainWnd->InitMainFrame(source);

    m_pMainWnd->show();
    m_pMainWnd->repaint();
    return true;
}

void CBusyscopeApp::OnAppAbout() {
    CAboutDlg dlg(m_pMainWnd.get());
    dlg.exec();
}

void CBusyscopeApp::OnAppCommand(int id) {
    switch (id) {
    case ID_APP_ABOUT:
        OnAppAbout();
        break;
    case ID_APP_EXIT:
        m_pMainWnd->close();
        break;
    default:
        break;
    }
}
