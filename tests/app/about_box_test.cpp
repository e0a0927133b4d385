// The about box: its texts, focus and keys, and the analysis its button starts.
#include "about_dlg.h"
#include "app_fixture.h"
#include "command_ids.h"
#include "stamp_store.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

// The texts of the box's labels and buttons in creation order, which is the tab order.
QStringList ControlTexts(const CAboutDlg& box) {
    QStringList texts;
    for (QObject* child : box.children()) {
        if (auto* label = qobject_cast<QLabel*>(child); label && label->pixmap().isNull())
            texts << label->text();
        else if (auto* button = qobject_cast<QPushButton*>(child))
            texts << button->text();
    }
    return texts;
}

} // namespace

TEST_F(AppTest, AboutBoxShowsItsTextsInTemplateOrderWithCancelFocused) {
    WhileAboutBoxOpen([&](CAboutDlg& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("About Busyscope"));
        const QStringList expected = {
            "Busyscope ALPHA Version 0.8.0",
            "&Cancel",
            "Busyscope lets you analyze the write timestamps of files, so you can see patterns of when "
            "you've "
            "been busy with your comptuer or projects. ",
            "Interesting places to look include:",
            "/My Documents  (or wherever you keep files that you work on and modify yourself)",
            "/Windows/Temporary Internet Files  (see when you've been browsing the Web)",
            "Tips on using Busyscope:",
            "You can analyze drives or folders anywhere on your network, but not whole machines.",
            "Try dragging the X and Y axes of the graph with your mouse!",
            "&Analyze New Folder...",
            "ALPHA TEST VERSION - PLEASE DO NOT DISTRIBUTE",
        };
        EXPECT_EQ(ControlTexts(box), expected);

        EXPECT_EQ(QApplication::focusWidget(), box.CancelButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), box.AnalyzeButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), box.CancelButton());

        // Every text fits inside the box, and the two buttons sit where the template puts
        // them: Analyze at the left, Cancel at the right, on one row.
        for (QWidget* child : box.findChildren<QWidget*>())
            EXPECT_TRUE(box.rect().contains(child->geometry())) << child->metaObject()->className();
        for (QLabel* label : box.findChildren<QLabel*>()) {
            if (label->wordWrap() || !label->pixmap().isNull())
                continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
        }
        EXPECT_EQ(box.AnalyzeButton()->y(), box.CancelButton()->y());
        EXPECT_LT(box.AnalyzeButton()->x(), box.CancelButton()->x());
        box.reject();
    });
}

// Enter at the opening acts on the focused Cancel; Escape closes the box: neither starts anything.
class AboutBoxKeyTest : public AppTest, public testing::WithParamInterface<Qt::Key> {};

TEST_P(AboutBoxKeyTest, TheKeyCancelsTheBoxAndStartsNothing) {
    int result = -1;
    EXPECT_TRUE(WhileAboutBoxOpen([&](CAboutDlg& box) {
        QObject::connect(&box, &QDialog::finished, [&](int r) { result = r; });
        QTest::keyClick(QApplication::focusWidget(), GetParam());
    }));
    EXPECT_EQ(result, QDialog::Rejected);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_chooserPrompts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EnterAndEscape, AboutBoxKeyTest, testing::Values(Qt::Key_Return, Qt::Key_Escape));

TEST_F(AppTest, AnalyzeButtonClosesTheBoxThenAnalysesTheChosenFolder) {
    CTestTree tree;
    tree.AddFile("a.txt", LocalTime(2021, 3, 10, 8, 30));
    tree.AddFile("sub/b.txt", LocalTime(2021, 3, 11, 8, 30));
    tree.AddFile("sub/deeper/c.txt", LocalTime(2021, 3, 12, 23, 59));
    m_chooserAnswer = QString::fromStdString(tree.Root());

    bool chooserRanOverBox = false;
    m_frame->m_dialogs.browseForFolder = [&](QWidget* owner, const QString& prompt) {
        m_chooserPrompts << prompt;
        chooserRanOverBox = QApplication::activeModalWidget() != nullptr;
        EXPECT_EQ(owner, m_frame);
        return m_chooserAnswer;
    };

    EXPECT_TRUE(WhileAboutBoxOpen([&](CAboutDlg& box) {
        // Tab to the analyze button; Enter acts on the focused button.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), box.AnalyzeButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(box.result(), ID_FILE_NEWFOLDER);
        // The command waits for the box to be gone.
        EXPECT_TRUE(m_chooserPrompts.isEmpty());
    }));
    ASSERT_TRUE(ProcessEventsUntil([&] { return theStampStore.m_nFiles > 0; }));

    EXPECT_EQ(m_chooserPrompts, QStringList{QStringLiteral("Select Folder to Analyze:")});
    EXPECT_FALSE(chooserRanOverBox);
    EXPECT_EQ(theStampStore.m_nFiles, 3);
    EXPECT_EQ(QString::fromStdString(theStampStore.GetFolder()), QString::fromStdString(tree.Root()));
}

TEST_F(AppTest, AboutBoxOpensAgainFromTheToolbarAndItsAnalysisReplacesTheFirst) {
    CTestTree first;
    first.AddFile("one", LocalTime(2022, 1, 1, 10, 0));
    first.AddFile("two", LocalTime(2022, 1, 1, 11, 0));
    CTestTree second;
    second.AddFile("only", LocalTime(2022, 1, 1, 12, 0));

    DismissStartupAboutBox();
    Analyse(first.Root());
    ASSERT_EQ(theStampStore.m_nFiles, 2);

    m_chooserAnswer = QString::fromStdString(second.Root());
    QWidget* aboutButton = m_frame->m_wndToolBar->widgetForAction(m_frame->CommandAction(ID_APP_ABOUT));
    ASSERT_NE(aboutButton, nullptr);
    QTimer::singleShot(0, aboutButton, [aboutButton] { QTest::mouseClick(aboutButton, Qt::LeftButton); });
    EXPECT_TRUE(WhileAboutBoxOpen([](CAboutDlg& box) { box.AnalyzeButton()->click(); }));
    ASSERT_TRUE(ProcessEventsUntil([] { return theStampStore.m_nFiles == 1; }));
    EXPECT_EQ(QString::fromStdString(theStampStore.GetFolder()), QString::fromStdString(second.Root()));
}
