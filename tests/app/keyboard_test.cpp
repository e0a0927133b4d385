// The window without a mouse and through a screen reader's eyes.
#include "accessible_roles.h"
#include "app_fixture.h"
#include "averaging_bar.h"
#include "graph_panel.h"
#include "stamp_store.h"
#include "view_bar.h"

#include <QAccessible>
#include <QToolBar>

namespace {

using KeyboardTest = OpenWindowTest;

// What a screen reader is told: the graph's title and cursor readout, the slider's width in time,
// the view buttons as radio buttons with the current one checked. (The end-to-end run lists the
// whole tree over AT-SPI and drives the Files window by keys.)
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
    for (QToolBar* band : m_frame->findChildren<QToolBar*>()) {
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(band);
        for (int i = 0; i < bar->childCount(); ++i)
            EXPECT_NE(bar->child(i)->role(), QAccessible::CheckBox) << "a hidden overflow button is listed";
    }

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
    EXPECT_TRUE(ProcessEventsUntil([&] {
        return graph->text(QAccessible::Description) == QStringLiteral("Day 01, 12:00 AM - 0 file(s).");
    })) << "the month's own cursor is read out: "
        << graph->text(QAccessible::Description).toStdString();
}

} // namespace
