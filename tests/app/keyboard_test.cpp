// The window without a mouse and through a screen reader's eyes.
#include "accessible_roles.h"
#include "app_fixture.h"
#include "averaging_bar.h"
#include "files_window.h"
#include "graph_panel.h"
#include "stamp_store.h"
#include "view_bar.h"

#include <QAccessible>
#include <QApplication>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

namespace {

using KeyboardTest = OpenWindowTest;

// The offscreen platform can hand the activation back to the main window once the Files window
// has come up, which no window manager would do.
bool Activate(QWidget* window) {
    return ProcessEventsUntil([window] {
        window->activateWindow();
        return QApplication::activeWindow() == window;
    });
}

// A folder's files at the graph's cursor by keys alone: Ctrl+Return opens them, Delete leaves
// the folder out and analyses again, Escape closes the window and the graph has the focus again.
TEST_F(KeyboardTest, FilesAtTheCursorAreListedAndLeftOutByKeys) {
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    for (const char* file : {"top", "gen/a", "gen/b", "keep/c"})
        tree.AddFile(file, 1719844200);     // 2024-07-01 14:30
    tree.AddFile("keep/early", 1719792000); // 00:00
    Analyse(tree.Root());
    m_frame->activateWindow();
    m_frame->m_wndPanel->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    ASSERT_TRUE(plot.hasFocus());

    QTest::keyClick(&plot, Qt::Key_Home);
    for (int page = 0; page < 2; ++page)
        QTest::keyClick(&plot, Qt::Key_PageDown); // noon
    for (int step = 0; step < 150; ++step)
        QTest::keyClick(&plot, Qt::Key_Right);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("02:30 PM - 4 file(s)."));

    QTest::keyClick(m_frame, Qt::Key_Return, Qt::ControlModifier);
    CFilesWindow* window = m_frame->FilesWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(window->HeaderText().endsWith(QStringLiteral(": 4 files")))
        << window->HeaderText().toStdString();
    ASSERT_TRUE(Activate(window));
    window->Tree().setFocus();
    QTest::keyClick(&window->Tree(), Qt::Key_Home); // the first row, the fullest folder
    ASSERT_EQ(window->Tree().currentIndex().data().toString(), QStringLiteral("gen"));
    QTest::keyClick(&window->Tree(), Qt::Key_Delete);
    EXPECT_EQ(theStampStore.m_nFiles, 3);
    EXPECT_EQ(m_frame->m_leaveOut.excludedNames, std::vector<std::string>{"/gen"});

    ASSERT_TRUE(Activate(m_frame));
    QTest::keyClick(&plot, Qt::Key_Return); // Enter on the graph opens the window again
    ASSERT_TRUE(Activate(window));
    EXPECT_TRUE(window->HeaderText().endsWith(QStringLiteral(": 2 files")))
        << window->HeaderText().toStdString();
    QTest::keyClick(&window->Tree(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    EXPECT_TRUE(plot.hasFocus());
}

// What a screen reader is told: the graph's title and cursor readout, the slider's width in time,
// the view buttons as radio buttons with the current one checked, the panes, and no unnamed control.
TEST_F(KeyboardTest, ControlsAreNamedForAScreenReader) {
    InstallAccessibleRoles();
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    tree.AddFile("a", 1719844200);
    Analyse(tree.Root());
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    QAccessibleInterface* graph = QAccessible::queryAccessibleInterface(&plot);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->role(), QAccessible::Chart);
    EXPECT_EQ(graph->text(QAccessible::Name), plot.TitleText());
    EXPECT_EQ(graph->text(QAccessible::Description), QStringLiteral("12:00 AM - 0 file(s)."));
    plot.SetCursorBin(14 * 60 + 30);
    EXPECT_EQ(graph->text(QAccessible::Description), QStringLiteral("02:30 PM - 1 file(s)."));

    QAccessibleInterface* slider = QAccessible::queryAccessibleInterface(&m_frame->m_wndAvgBar->m_slider);
    EXPECT_EQ(slider->text(QAccessible::Name), QStringLiteral("Averaging period"));
    EXPECT_EQ(slider->text(QAccessible::Description), QStringLiteral("100 minutes"));

    m_frame->SetViewMode(VIEW_MONTH);
    QStringList checked;
    for (QPushButton* button : {&m_frame->m_wndViewBar->m_btnDay, &m_frame->m_wndViewBar->m_btnWeek,
                                &m_frame->m_wndViewBar->m_btnMonth, &m_frame->m_wndViewBar->m_btnYear}) {
        QAccessibleInterface* radio = QAccessible::queryAccessibleInterface(button);
        EXPECT_EQ(radio->role(), QAccessible::RadioButton);
        if (radio->state().checked)
            checked << radio->text(QAccessible::Name);
    }
    EXPECT_EQ(checked, QStringList{QStringLiteral("Month")});

    // Every control in the window has a name; the tool bars list no hidden button.
    QStringList unnamed;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        switch (node->role()) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::Slider:
        case QAccessible::EditableText:
        case QAccessible::ComboBox:
        case QAccessible::Tree:
        case QAccessible::Chart:
        case QAccessible::StatusBar:
        case QAccessible::StaticText:
            if (node->text(QAccessible::Name).isEmpty())
                unnamed << QString::fromLatin1(node->object()->metaObject()->className());
            break;
        default:
            break;
        }
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(m_frame));
    EXPECT_EQ(unnamed, QStringList());
}

} // namespace
