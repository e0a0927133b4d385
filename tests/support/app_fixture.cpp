#include "app_fixture.h"

#include "about_dlg.h"
#include "command_ids.h"
#include "stamp_store.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTimer>

bool ProcessEventsUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}

bool WhileAboutBoxOpen(const std::function<void(CAboutDlg& box)>& act) {
    bool seen = false;
    CAboutDlg* armed = nullptr;
    QElapsedTimer sinceOpened;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!box || seen)
            return;
        if (armed != box) {
            armed = box;
            sinceOpened.start();
            QTimer::singleShot(8000, box, [box] { box->reject(); });
        }
        // Keys go to the box only once the window system has made it active.
        if (!box->isActiveWindow() && sinceOpened.elapsed() < 2000)
            return;
        seen = true;
        act(*box);
    });
    poll.start();
    ProcessEventsUntil([&] { return seen && !QApplication::activeModalWidget(); });
    return seen;
}

void AppTest::SetUp() {
    QSettings().clear(); // every test starts as a first run
    theStampStore.Reset();
    m_app.m_socketsAvailable = [] { return true; };
    ASSERT_TRUE(m_app.InitInstance());
    m_frame = m_app.MainFrame();
    ASSERT_NE(m_frame, nullptr);
    m_frame->m_dialogs.browseForFolder = [this](QWidget*, const QString& prompt) {
        m_chooserPrompts << prompt;
        return m_chooserAnswer;
    };
}

void AppTest::TearDown() {
    theStampStore.Reset();
}

void AppTest::DismissStartupAboutBox() {
    ASSERT_TRUE(WhileAboutBoxOpen([](CAboutDlg& box) { box.reject(); }));
}

void AppTest::Analyse(const std::string& folder) {
    m_chooserAnswer = QString::fromStdString(folder);
    m_frame->CommandAction(ID_FILE_NEWFOLDER)->trigger();
}

void OpenWindowTest::SetUp() {
    AppTest::SetUp();
    DismissStartupAboutBox();
}
