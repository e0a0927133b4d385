#include "app_fixture.h"

#include "about_dlg.h"
#include "stamp_store.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

std::time_t LocalTime(int year, int month, int day, int hour, int minute) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_isdst = -1;
    return std::mktime(&fields);
}

CTempTree::CTempTree() {
    EXPECT_TRUE(m_dir.isValid());
}

void CTempTree::AddFile(const QString& relativePath, std::time_t lastWrite) {
    const QString path = QDir(m_dir.path()).filePath(relativePath);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write("x"), 1);
    ASSERT_TRUE(file.flush()); // before the time is set, so that closing writes nothing more
    ASSERT_TRUE(
        file.setFileTime(QDateTime::fromSecsSinceEpoch(lastWrite), QFileDevice::FileModificationTime));
}

void AppTest::SetUp() {
    theStampStore.Reset();
    m_app.m_socketsAvailable = [] { return true; };
    ASSERT_TRUE(m_app.InitInstance());
    m_frame = m_app.MainFrame();
    ASSERT_NE(m_frame, nullptr);
    m_frame->m_browseForFolder = [this](QWidget*, const QString& prompt) {
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
