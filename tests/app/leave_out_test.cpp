// File > Leave Out...: the dialog's rules, refused fields, remembered rules, and the window and
// the report agreeing on the same rules and tree.
#include "analysis_period.h"
#include "app_fixture.h"
#include "app_settings.h"
#include "averaging_bar.h"
#include "command_ids.h"
#include "files_window.h"
#include "graph_panel.h"
#include "leave_out_dialog.h"
#include "leave_out_rules.h"
#include "report_options.h"
#include "stamp_store.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <cstdio>
#include <regex>

namespace {

// The rules the dialog takes when OK is pressed with its fields as they stand, or its message.
std::variant<EntryFilter, std::string> Accept(CLeaveOutDialog& dialog) {
    std::string complaint;
    dialog.m_complain = [&](QWidget*, const QString& text) { complaint = text.toStdString(); };
    dialog.accept();
    if (dialog.result() != QDialog::Accepted)
        return complaint;
    return dialog.Rules();
}

// Every rule goes through the window's Leave Out dialog and the report's options alike: both
// accept the same texts as the same rules and refuse the same texts with the same message.
TEST(LeaveOutRules, TheWindowAndTheReportAcceptAndRefuseEveryRuleAlike) {
    CScopedTimeZone zone("Europe/Berlin");
    const std::string noEntry = "\" names no entry.";
    const std::string unclosed = "\" opens a '[' that it never closes.";
    const std::string notADate = "\" is not a date such as 2024-03-31 or 2024-03-31T14:30.";
    const std::string emptyRange = "The time range is empty: its end must come after its start.";
    const struct {
        std::vector<std::string> patterns;
        std::string since;
        std::string until;
        std::string problem; // empty: accepted
    } cases[] = {
        {{"/"}, {}, {}, "The pattern \"/" + noEntry},
        {{"//"}, {}, {}, "The pattern \"//" + noEntry},
        {{"./"}, {}, {}, "The pattern \"./" + noEntry},
        {{"ok", "a["}, {}, {}, "The pattern \"a[" + unclosed},
        {{"[a"}, {}, {}, "The pattern \"[a" + unclosed},
        {{"[]"}, {}, {}, "The pattern \"[]" + unclosed},
        {{"[!]"}, {}, {}, "The pattern \"[!]" + unclosed},
        {{" build", "  src/*.o  ", "/gen/", "[]]", "[!]]", "\\[x", "**/cache"},
         " 2024-03-31",
         "2024-07-01T12:00 ",
         {}},
        {{}, "yesterday", {}, "\"yesterday" + notADate},
        {{}, {}, "2024-02-30", "\"2024-02-30" + notADate},
        {{}, "2024-05-01", "2024-05-01", emptyRange},
        {{}, "2024-03-31T12:00:01", "2024-03-31T12:00", emptyRange},
        {{}, "2024-03-31T12:00", "2024-03-31T12:00:01", {}},
    };
    for (const auto& c : cases) {
        CLeaveOutDialog dialog({}, {});
        dialog.m_versionControl->setChecked(true);
        dialog.m_oneFileSystem->setChecked(true);
        std::vector<std::string> arguments{"--exclude-vcs", "-x"};
        for (const std::string& pattern : c.patterns) {
            // Each with a blank line after it, which the dialog passes over.
            dialog.m_patterns->appendPlainText(QString::fromStdString(pattern) + "\n");
            arguments.insert(arguments.end(), {"--exclude", pattern});
        }
        dialog.m_since->setText(QString::fromStdString(c.since));
        dialog.m_until->setText(QString::fromStdString(c.until));
        for (const auto& [option, value] : {std::pair{"--since", c.since}, std::pair{"--until", c.until}})
            if (!value.empty())
                arguments.insert(arguments.end(), {option, value});
        arguments.push_back("folder");
        const auto window = Accept(dialog);
        const ParsedReportOptions report = ParseReportOptions(arguments);
        if (!c.problem.empty()) {
            EXPECT_EQ(std::get<std::string>(window), c.problem);
            EXPECT_EQ(report.error, c.problem);
            continue;
        }
        ASSERT_EQ(report.error, "") << c.since << c.until;
        const EntryFilter& accepted = std::get<EntryFilter>(window);
        EXPECT_EQ(accepted, report.options.filter);
        // Shown again and accepted again, the rules stay the same; so do they through the settings.
        CLeaveOutDialog again(accepted, {});
        EXPECT_EQ(std::get<EntryFilter>(Accept(again)), accepted);
        QSettings settings;
        SaveLeaveOutRules(settings, accepted);
        EXPECT_EQ(LoadLeaveOutRules(settings), accepted);
    }
}

TEST(LeaveOutRules, NonsenseInTheSettingsReadsAsNoRules) {
    const std::pair<QString, QVariant> nonsense[] = {
        {"leaveOut/versionControl", "maybe"}, {"leaveOut/since", "soon"}, {"leaveOut/patterns", QStringList{"/"}},
        {"leaveOut/patterns", 42},           {"leaveOut/until", "-5"},
    };
    for (const auto& [key, value] : nonsense) {
        QSettings settings;
        settings.clear();
        SaveLeaveOutRules(settings, EntryFilter{{"a"}, {}, true, false, 1704067200, {}});
        settings.setValue(key, value);
        EXPECT_EQ(LoadLeaveOutRules(settings), EntryFilter()) << key.toStdString();
    }
}

// The report's JSON field as a number.
std::int64_t JsonNumber(const std::string& json, const std::string& field) {
    std::smatch match;
    if (!std::regex_search(json, match, std::regex("\"" + field + "\": ([0-9]+)")))
        return -1;
    return std::stoll(match[1]);
}

std::string ReportJson(const std::string& arguments) {
    const std::string command = "TZ=UTC " + std::string(BUSYSCOPE_REPORT_EXE) + " --format json " + arguments;
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, got);
        ::pclose(pipe);
    }
    return out;
}

class LeaveOutTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        DismissStartupAboutBox();
    }
};

TEST_F(LeaveOutTest, TheDialogsRulesAreRememberedAndCountAsTheReportsOptionsDo) {
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    for (const char* file : {"a.txt", "build/x", "build/y", "src/m.c", "src/m.o", "src/deep/n.o", ".git/HEAD", "old.txt"})
        tree.AddFile(file, std::string(file) == "old.txt" ? 3600 : 1719844200);
    Analyse(tree.Root());
    ASSERT_EQ(theStampStore.m_nFiles, 8);

    // A wrong date is refused with a message, and nothing is stored.
    QString complaint;
    m_frame->m_dialogs.editLeaveOut = [&](QWidget* owner, const EntryFilter& rules,
                                          const std::string& folder) -> std::optional<EntryFilter> {
        CLeaveOutDialog dialog(rules, folder, owner);
        dialog.m_complain = [&](QWidget*, const QString& text) { complaint = text; };
        dialog.m_patterns->setPlainText("build\nsrc/*.o");
        dialog.m_versionControl->setChecked(true);
        dialog.m_since->setText(complaint.isEmpty() ? "1970-13-01" : "1970-01-02");
        dialog.accept();
        if (dialog.result() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Rules();
    };
    int asked = 0;
    m_frame->m_dialogs.askYesNo = [&](QWidget*, const QString&) { return ++asked > 0; };
    m_frame->CommandAction(ID_FILE_LEAVEOUT)->trigger();
    EXPECT_FALSE(complaint.isEmpty());
    EXPECT_EQ(m_frame->m_leaveOut, EntryFilter());
    EXPECT_FALSE(QSettings().contains("leaveOut/patterns"));
    EXPECT_EQ(asked, 0);

    // Accepted, the rules apply at once to the folder analysed last.
    m_frame->CommandAction(ID_FILE_LEAVEOUT)->trigger();
    EXPECT_EQ(asked, 1);
    const std::string json = ReportJson("--exclude build --exclude 'src/*.o' --exclude-vcs --since 1970-01-02 " +
                                        tree.Root());
    EXPECT_EQ(theStampStore.m_nFiles, JsonNumber(json, "files")) << json;
    EXPECT_EQ(theStampStore.m_nFiles, 3) << "a.txt, src/m.c and src/deep/n.o, deeper than src/*.o reaches";
    EXPECT_EQ(m_frame->m_leftOut.excludedEntries, JsonNumber(json, "excludedEntries"));
    EXPECT_EQ(m_frame->m_leftOut.filesOutsideRange, JsonNumber(json, "filesOutsideRange"));
    EXPECT_EQ(m_frame->MessageText(), "3 entries and 1 file outside the time range left out.");

    // A window started afresh has the same rules.
    const EntryFilter rules = m_frame->m_leaveOut;
    EXPECT_EQ(CMainFrame().m_leaveOut, rules);
}

// Leave Out This Folder in the Files window: the analysis that follows at once counts none of the
// folder's files, and the rule, remembered as the dialog reads it, names that folder alone however
// odd its name. The analysed folder itself is refused.
TEST_F(LeaveOutTest, TheFilesWindowLeavesOutTheChosenFolderAndAnalysesAgain) {
    CScopedTimeZone utc("UTC");
    CTestTree tree;
    for (const char* file : {"top", "gen/b", "gen/deep/c", "odd*[1] /d", "odd1 /e", "odd*1 /f"})
        tree.AddFile(file, 1719844200); // 2024-07-01 14:30
    Analyse(tree.Root());
    const auto leaveOut = [&](const QString& relative) { // on the folder's row of the files at 14:30
        m_frame->ShowFiles(14 * 60 + 30);
        CFilesWindow& window = *m_frame->FilesWindow();
        for (int i = 0; i < window.Model().rowCount(); ++i)
            if (window.Model().RelativeFolder(window.Model().index(i, 0)) == relative)
                window.Tree().setCurrentIndex(window.Model().index(i, 0));
        for (QAction* action : window.findChildren<QAction*>())
            if (action->text() == QStringLiteral("Leave Out This Folder"))
                action->trigger();
    };
    leaveOut("gen");
    EXPECT_EQ(theStampStore.m_nFiles, 4);
    leaveOut("odd*[1] ");
    EXPECT_EQ(theStampStore.m_nFiles, 3) << "odd1 and odd*1 are other folders";
    EXPECT_EQ(QSettings().value("leaveOut/folderPatterns").toStringList(),
              QStringList({"/gen", "/odd\\*\\[1][ ]"}));
    CLeaveOutDialog dialog(m_frame->m_leaveOut, tree.Root());
    EXPECT_EQ(std::get<EntryFilter>(Accept(dialog)), m_frame->m_leaveOut);
    EXPECT_EQ(CMainFrame().m_leaveOut, m_frame->m_leaveOut) << "remembered between runs";
    leaveOut("");
    EXPECT_EQ(m_frame->MessageText(), "The analysed folder itself cannot be left out.");
    EXPECT_EQ(m_frame->m_leaveOut.folderRules.size(), 2u);
}

// A rule made in the Files window of one folder leaves nothing out of another with the same
// subfolder; the rules pane shows only while rules are in force, says what they left out, and
// opens the dialog, which marks the rules of the folder analysed apart from the others.
TEST_F(LeaveOutTest, ARuleMadeForOneFolderLeavesNothingOutOfAnother) {
    CScopedTimeZone utc("UTC");
    CTestTree a;
    CTestTree b;
    for (CTestTree* tree : {&a, &b})
        for (const char* file : {"top", "gen/x", "gen/y"})
            tree->AddFile(file, 1719844200);
    const QLabel* pane = nullptr;
    for (QLabel* label : m_frame->statusBar()->findChildren<QLabel*>())
        if (label->accessibleName() == QStringLiteral("Leave-out rules"))
            pane = label;
    ASSERT_NE(pane, nullptr);
    Analyse(a.Root());
    EXPECT_TRUE(pane->isHidden());
    m_frame->LeaveOutFolder("gen");
    EXPECT_EQ(theStampStore.m_nFiles, 1);
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(pane->text(), "1 rule");
    EXPECT_TRUE(pane->toolTip().contains("1 rule in force for " + QString::fromStdString(a.Root()) +
                                         ".\n1 entry left out."))
        << pane->toolTip().toStdString();

    Analyse(b.Root());
    EXPECT_EQ(theStampStore.m_nFiles, 3) << "b's gen is not a's";
    EXPECT_TRUE(pane->isHidden());

    // The pane opens the dialog, which shows a's rule as a's; in b's it is another folder's.
    std::vector<std::string> shownFolders;
    EntryFilter edited;
    m_frame->m_dialogs.editLeaveOut = [&](QWidget* owner, const EntryFilter& rules,
                                          const std::string& folder) -> std::optional<EntryFilter> {
        shownFolders.push_back(folder);
        CLeaveOutDialog dialog(rules, folder, owner);
        const bool inA = folder == a.Root();
        EXPECT_EQ(dialog.m_folderPatterns->toPlainText(), inA ? "/gen" : "");
        EXPECT_EQ(dialog.m_otherFolders->isHidden(), inA);
        if (!inA) {
            EXPECT_EQ(dialog.m_otherFolders->text(),
                      "1 rule of other folders: in force only when their folder is analysed.");
        }
        dialog.m_folderPatterns->setPlainText("top");
        dialog.accept();
        edited = dialog.Rules();
        return std::nullopt;
    };
    Analyse(a.Root());
    QTest::mouseClick(const_cast<QLabel*>(pane), Qt::LeftButton);
    Analyse(b.Root());
    m_frame->OnCommand(ID_FILE_LEAVEOUT);
    EXPECT_EQ(shownFolders, (std::vector<std::string>{a.Root(), b.Root()}));
    EXPECT_EQ(edited.folderRules, (std::vector<FolderRule>{{b.Root(), "top"}, {a.Root(), "/gen"}}));
}

// The rules remembered before they could be tied to a folder apply everywhere, as they did; rules
// tied to folders come back tied to the same ones, and a list of folders that does not match its
// list of patterns reads as no rules.
TEST(LeaveOutRules, RememberedRulesOfOldAndNewFormsComeBack) {
    QSettings settings;
    settings.clear();
    settings.setValue("leaveOut/patterns", QStringList{"build", "/gen"});
    EntryFilter old;
    old.excludedNames = {"build", "/gen"};
    EXPECT_EQ(LoadLeaveOutRules(settings), old);

    EntryFilter scoped = old;
    ASSERT_TRUE(AddFolderRule(scoped, "/home/ann/src", "gen/deep"));
    ASSERT_TRUE(AddFolderRule(scoped, "/home/ann/other folder", "x"));
    SaveLeaveOutRules(settings, scoped);
    EXPECT_EQ(LoadLeaveOutRules(settings), scoped);
    EXPECT_EQ(
        RulesInForce(LoadLeaveOutRules(settings), std::vector<std::string>{"/home/ann/src/"}).excludedNames,
        (std::vector<std::string>{"build", "/gen", "/gen/deep"}));

    CLeaveOutDialog dialog(scoped, "/home/ann/src");
    EXPECT_EQ(dialog.m_folderPatterns->toPlainText(), "/gen/deep");
    EXPECT_EQ(std::get<EntryFilter>(Accept(dialog)), scoped) << "the other folder's rule kept";

    settings.setValue("leaveOut/ruleFolders", QStringList{"/home/ann/src"});
    EXPECT_EQ(LoadLeaveOutRules(settings), EntryFilter());
    settings.setValue("leaveOut/ruleFolders", QStringList{"relative", "/x"});
    EXPECT_EQ(LoadLeaveOutRules(settings), EntryFilter()) << "a folder that is not a whole path";
}

// The view, the averaging position and the count mode the window was closed with come back;
// nonsense in their place leaves the described defaults.
TEST_F(LeaveOutTest, TheWindowComesBackAsItWasClosed) {
    const WindowSettings closedWith{VIEW_MONTH, 17, CountRule::ActiveMinutes};
    m_frame->SetViewMode(closedWith.view);
    m_frame->m_wndAvgBar->m_slider.setValue(closedWith.averagingPosition);
    m_frame->SetCountRule(closedWith.countRule);
    m_frame->close();
    EXPECT_EQ(CAppSettings().Window(), closedWith);

    for (const auto& [key, value] : {std::pair<QString, QVariant>{"window/view", 4},
                                     {"window/averagingPosition", "half"}, {"window/count", "hours"}}) {
        CMainFrame fresh;
        fresh.RestoreWindowSettings();
        EXPECT_EQ(fresh.m_viewMode, VIEW_MONTH);
        EXPECT_EQ(fresh.AveragingPosition(), 17);
        EXPECT_EQ(fresh.m_wndPanel->m_plot.GetCountRule(), CountRule::ActiveMinutes);
        EXPECT_TRUE(fresh.CommandAction(ID_VIEW_COUNT_MINUTES)->isChecked());
        QSettings settings;
        const QVariant good = settings.value(key);
        settings.setValue(key, value);
        CMainFrame defaults;
        defaults.RestoreWindowSettings();
        EXPECT_EQ(defaults.m_viewMode, VIEW_DAY) << key.toStdString();
        EXPECT_EQ(defaults.AveragingPosition(), 50) << key.toStdString();
        settings.setValue(key, good);
    }
}

} // namespace
