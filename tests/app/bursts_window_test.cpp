// View > Bursts...: the bursts of a planted tree, the files of one, and leaving its folder out.
#include "app_fixture.h"
#include "bursts_window.h"
#include "command_ids.h"
#include "files_window.h"
#include "stamp_store.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

namespace {

using BurstsWindowTest = OpenWindowTest;

constexpr std::int64_t kInstall = 1719844200; // 2024-07-01 14:30:00 UTC

QStringList Row(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int column = 0; column < item->columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

TEST_F(BurstsWindowTest, AnInstallOfSeveralSecondsIsOneBurstWhoseFilesAndFolderTheWindowGives) {
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    // An install over five seconds into lib/sdk and then lib, a second burst into docs a minute
    // later, and a file written on its own the day before.
    QStringList install;
    for (int i = 0; i < 8; ++i) {
        const std::string path = "lib/sdk/" + std::string(i % 2 ? "a/" : "b/") + "f" + std::to_string(i);
        tree.AddFile(path, kInstall + i / 2 + (i == 7 ? 1 : 0)); // seconds 0, 1, 2, 4
        install << QString::fromStdString(path);
    }
    for (const char* file : {"docs/x", "docs/y", "docs/z"})
        tree.AddFile(file, kInstall + 60);
    tree.AddFile("lib/other", kInstall + 5);
    install << "lib/other";
    tree.AddFile("notes", kInstall - 86400);
    Analyse(tree.Root());
    EXPECT_EQ(
        m_frame->MessageText(),
        "92% of these files were written in 2 bursts: see View > Count Active Minutes and View > Bursts...");

    m_frame->CommandAction(ID_VIEW_BURSTS)->trigger();
    CBurstsWindow* window = m_frame->BurstsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->List().topLevelItemCount(), 2);
    EXPECT_EQ(Row(window->List().topLevelItem(0)),
              QStringList({"2024-07-01 14:30:00", "2024-07-01 14:30:05", "9", "lib/sdk", "88.9%"}));
    EXPECT_EQ(Row(window->List().topLevelItem(1)),
              QStringList({"2024-07-01 14:31:00", "2024-07-01 14:31:00", "3", "docs", "100.0%"}));
    EXPECT_EQ(window->focusWidget(), &window->List()) << "the keyboard starts in the list";

    // Enter on the install lists exactly its files.
    QTest::keyClick(&window->List(), Qt::Key_Return);
    ASSERT_NE(m_frame->FilesWindow(), nullptr);
    const FilesAtPoint* shown = m_frame->FilesWindow()->ShownPoint();
    ASSERT_NE(shown, nullptr);
    QStringList listed;
    for (const CStampStore::Index record : shown->records)
        listed << QString::fromStdString(theStampStore.Places().RelativePath(record));
    listed.sort();
    install.sort();
    EXPECT_EQ(listed, install);
    EXPECT_TRUE(m_frame->FilesWindow()->HeaderText().startsWith("Burst 2024-07-01 14:30:00 to 14:30:05"))
        << m_frame->FilesWindow()->HeaderText().toStdString();

    // Its folder left out, the analysis runs again and the window lists what is left.
    window->List().setCurrentItem(window->List().topLevelItem(0));
    const auto buttons = window->findChildren<QPushButton*>();
    const auto leaveOut = std::ranges::find(buttons, "&Leave Out This Folder", &QPushButton::text);
    ASSERT_NE(leaveOut, buttons.end());
    (*leaveOut)->click();
    EXPECT_EQ(theStampStore.m_nFiles, 5) << "lib/sdk left out";
    ASSERT_EQ(window->List().topLevelItemCount(), 1);
    EXPECT_EQ(window->List().topLevelItem(0)->text(3), "docs");
}

} // namespace
