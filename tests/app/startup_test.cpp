// Start-up: the sockets check, the main window's first state and the about box over it.
#include "about_dlg.h"
#include "analysis_period.h"
#include "app_fixture.h"
#include "averaging_bar.h"
#include "command_ids.h"
#include "graph_panel.h"
#include "image_pixels.h"
#include "stamp_store.h"
#include "view_bar.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

TEST(Startup, FailedSocketsCheckShowsTheMessageAndNoWindow) {
    CBusyscopeApp app;
    QStringList messages;
    app.m_socketsAvailable = [] { return false; };
    app.m_showStartupError = [&](const QString& message) { messages << message; };

    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Windows sockets initialization failed.")});
    EXPECT_EQ(app.MainFrame(), nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
}

// The settings are kept under the application's name.
TEST(Startup, ApplicationIsNamed) {
    CBusyscopeApp app;
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Busyscope"));
}

TEST_F(AppTest, OpensWithTheAboutBoxOverTheDayViewAndAnEmptyGraph) {
    // Set before the window is shown; nothing queued has run yet.
    EXPECT_EQ(g_pMainFrame, m_frame);
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Busyscope"));
    EXPECT_FALSE(m_frame->windowIcon().isNull());

    bool checked = false;
    const bool opened = WhileAboutBoxOpen([&](CAboutDlg& box) {
        EXPECT_EQ(box.parentWidget(), m_frame);
        EXPECT_TRUE(box.isModal());
        EXPECT_TRUE(m_frame->isVisible());

        EXPECT_EQ(m_frame->m_viewMode, VIEW_DAY);
        const CViewBar& bar = *m_frame->m_wndViewBar;
        for (const auto& [id, button] : {std::pair{ID_VIEW_DAY, &bar.m_btnDay},
                                         {ID_VIEW_WEEK, &bar.m_btnWeek},
                                         {ID_VIEW_MONTH, &bar.m_btnMonth},
                                         {ID_VIEW_YEAR, &bar.m_btnYear}}) {
            EXPECT_EQ(m_frame->CommandAction(id)->isChecked(), id == ID_VIEW_DAY) << id;
            EXPECT_EQ(button->isChecked(), id == ID_VIEW_DAY) << id;
        }
        EXPECT_TRUE(m_frame->CommandAction(ID_VIEW_STATUS_BAR)->isChecked());

        EXPECT_EQ(m_frame->m_wndAvgBar->m_slider.value(), 50);
        EXPECT_EQ(m_frame->m_wndAvgBar->m_nAverage, 50);
        EXPECT_EQ(m_frame->m_wndAvgBar->m_label.text(), QStringLiteral("100 minutes"));
        EXPECT_EQ(m_frame->MessageText(), QStringLiteral("For Help, press F1"));

        EXPECT_EQ(theStampStore.m_nFiles, 0);
        checked = true;
        box.reject();
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(m_chooserPrompts.isEmpty());
}

TEST_F(AppTest, LockPanesStayEmptyWithoutX11) {
    DismissStartupAboutBox();
    auto panes = m_frame->m_wndStatusBar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    panes.removeIf([](const QLabel* pane) { return pane->objectName() == QStringLiteral("DateRangePane"); });
    ASSERT_EQ(panes.size(), 4) << "CAP, NUM, SCRL and the rules pane, empty before an analysis";
    // The offscreen platform has no lock lights to read, even after a lock key.
    QTest::keyClick(m_frame, Qt::Key_CapsLock);
    for (QLabel* pane : panes)
        EXPECT_EQ(pane->text(), QString());
}

// `busyscope FOLDER`: the folder is analysed at once, the curve is drawn, and no about box opens.
TEST(Startup, AFolderGivenAtStartIsAnalysedWithoutTheAboutBox) {
    CTestTree tree;
    for (int i = 0; i < 50; ++i)
        tree.AddFile("f" + std::to_string(i), 1719844200 + 600 * i);
    theStampStore.Reset();
    CBusyscopeApp app;
    app.m_socketsAvailable = [] { return true; };
    ASSERT_TRUE(app.InitInstance(FolderSource{{tree.Root()}, {}}));
    CMainFrame& frame = *app.MainFrame();
    // A box that opens runs a loop of its own: a timer notes it and closes it again.
    bool boxSeen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxSeen = true;
            box->close();
        }
    });
    watch.start(10);
    EXPECT_TRUE(ProcessEventsUntil([&] { return theStampStore.m_nFiles == 50 && !frame.IsAnalysing(); }));
    ProcessEventsUntil([&] { return boxSeen; }, 300);
    EXPECT_FALSE(boxSeen) << "no about box";
    EXPECT_EQ(theStampStore.GetFolder(), tree.Root());
    const QImage plot = frame.m_wndPanel->m_plot.grab().toImage();
    EXPECT_GT(CountPixels(plot, IsColour(qRgb(85, 85, 255))), 100) << "the curve is drawn";
    theStampStore.Reset();
}
