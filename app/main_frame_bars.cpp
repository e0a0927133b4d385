// The main window's menus, bands and the state of their commands.
#include "analysis_period.h"
#include "app_icons.h"
#include "averaging_bar.h"
#include "band_flow.h"
#include "calendar_panel.h"
#include "command_ids.h"
#include "date_range_controller.h"
#include "graph_panel.h"
#include "indicator_panes.h"
#include "main_frame.h"
#include "rules_pane.h"
#include "stamp_store.h"
#include "string_table.h"
#include "view_bar.h"
#include "window_text.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <utility>

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text, std::function<void()> handler) {
    auto* action = new QAction(text, this);
    action->setStatusTip(CommandPrompt(id));
    if (const QString tip = CommandTip(id); !tip.isEmpty())
        action->setToolTip(tip);
    action->setIconVisibleInMenu(false); // only the toolbar shows the images
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    if (menu)
        menu->addAction(action);
    else
        addAction(action); // keyboard only
    m_actions[id] = action;
    if (handler)
        m_handlers[id] = std::move(handler);
    return action;
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* newFolder = AddCommand(file, ID_FILE_NEWFOLDER, QStringLiteral("&New folder..."), [this] {
        const QString path = m_dialogs.browseForFolder(this, QStringLiteral("Select Folder to Analyze:"));
        if (!path.isEmpty())
            Analyse(FolderSource{{QFile::encodeName(path).toStdString()}, {}});
    });
    newFolder->setIcon(CommandIcon(ID_FILE_NEWFOLDER));
    newFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(file, ID_FILE_ANALYZEAGAIN, QStringLiteral("&Analyze Again"), [this] {
        if (m_source)
            Analyse(*m_source);
    })->setShortcut(QKeySequence(Qt::Key_F5));
    m_recentMenu = file->addMenu(QStringLiteral("&Recent"));
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);
    AddCommand(file, ID_FILE_LEAVEOUT, QStringLiteral("&Leave Out..."), [this] { OnFileLeaveOut(); });
    AddCommand(file, ID_FILE_GITHISTORY, QStringLiteral("Analyze &Git History..."),
               [this] { OnFileGitHistory(); });
    file->addSeparator();
    AddCommand(file, ID_FILE_OPENTIMELIST, QStringLiteral("&Open Time List..."),
               [this] { OnFileOpenTimeList(); });
    AddCommand(file, ID_FILE_SAVETIMELIST, QStringLiteral("&Save Time List..."),
               [this] { OnFileSaveTimeList(); });
    file->addSeparator();
    AddCommand(file, ID_FILE_SAVEPICTURE, QStringLiteral("Save &Picture..."), [this] {
        OnFileSavePicture();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    AddCommand(file, ID_APP_EXIT, QStringLiteral("E&xit"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (std::size_t mode = 0; mode < kViews.size(); ++mode)
        AddCommand(view, kViews[mode].command, QLatin1Char('&') + QString::fromUtf8(kViews[mode].label),
                   [this, mode] { SetViewMode(static_cast<int>(mode)); })
            ->setCheckable(true);
    AddCommand(view, ID_VIEW_DATES, QStringLiteral("Da&tes"), [this] { ShowDates(); })->setCheckable(true);
    view->addSeparator();
    auto* counting = new QActionGroup(this); // radio check marks
    for (const CountRuleFacts& facts : kCountRules) {
        QAction* action = AddCommand(view, facts.command, QString::fromUtf8(facts.label),
                                     [this, rule = facts.rule] { SetCountRule(rule); });
        action->setCheckable(true);
        counting->addAction(action);
    }
    view->addSeparator();
    AddCommand(view, ID_VIEW_SHOWFILES, QStringLiteral("Show Files at &Cursor"), [this] {
        if (m_datesShown)
            m_wndCalendar->RequestCursorDayFiles();
        else if (theStampStore.m_nFiles > 0)
            ShowFiles(m_wndPanel->m_plot.CursorBin());
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    AddCommand(view, ID_VIEW_BURSTS, QStringLiteral("&Bursts..."), [this] { ShowBursts(); });
    view->addSeparator();
    // The range commands; a range they replace is no longer highlighted on the calendar.
    const auto onRanges = [this](void (*command)(CDateRangeController&)) {
        return [this, command] {
            command(*m_dateRanges);
            FollowRangeOnCalendar();
        };
    };
    AddCommand(view, ID_VIEW_DATERANGE, QStringLiteral("Date &Range..."),
               onRanges([](CDateRangeController& ranges) { ranges.OnDateRange(); }));
    AddCommand(view, ID_VIEW_ALLDATES, QStringLiteral("A&ll Dates"),
               onRanges([](CDateRangeController& ranges) { ranges.OnAllDates(); }))
        ->setShortcut(QKeySequence(Qt::Key_Escape));
    AddCommand(view, ID_VIEW_COMPARE, QStringLiteral("C&ompare With..."),
               onRanges([](CDateRangeController& ranges) { ranges.OnCompare(); }));
    AddCommand(view, ID_VIEW_KEEPRANGE, QStringLiteral("&Keep as Rule"),
               onRanges([](CDateRangeController& ranges) { ranges.OnKeepAsRule(); }));
    view->addSeparator();
    AddCommand(view, ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"), [this] {
        m_wndStatusBar->setHidden(!m_wndStatusBar->isHidden());
    })->setCheckable(true);
    connect(view, &QMenu::aboutToShow, this, &CMainFrame::OnUpdateCommandUI);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddCommand(help, ID_HELP_FINDER, QStringLiteral("&Help Topics"), [this] { OnHelpFinder(); });
    help->addSeparator();
    AddCommand(help, ID_APP_ABOUT, QStringLiteral("&About Busyscope..."))->setIcon(CommandIcon(ID_APP_ABOUT));

    // The accelerators that are not menu items.
    AddCommand(nullptr, ID_HELP, QString(), [this] {
        OnHelpFinder();
    })->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(nullptr, ID_CONTEXT_HELP, QString(), [this] {
        OnContextHelp();
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

QToolBar* CMainFrame::AddBand(const QString& name, QWidget* content) {
    auto* band = new QToolBar(name, this);
    band->setObjectName(name);
    band->setAllowedAreas(Qt::TopToolBarArea);
    band->setFloatable(false);
    band->setMovable(true);
    if (content)
        band->addWidget(content);
    addToolBar(Qt::TopToolBarArea, band);
    m_bands.push_back(band);
    return band;
}

void CMainFrame::CreateBars() {
    m_wndToolBar = AddBand(QStringLiteral("Toolbar"), nullptr);
    m_wndToolBar->setIconSize(QSize(16, 16));
    m_wndToolBar->addAction(m_actions.at(ID_FILE_NEWFOLDER));
    m_wndToolBar->addAction(m_actions.at(ID_APP_ABOUT));

    m_wndViewBar = new CViewBar(this);
    connect(m_wndViewBar, &CViewBar::ViewChosen, this, &CMainFrame::SetViewMode);
    connect(m_wndViewBar, &CViewBar::DatesChosen, this, &CMainFrame::ShowDates);
    m_wndViewBar->setWhatsThis(QStringLiteral("Choose the period the graph folds the file times into."));
    AddBand(QStringLiteral("View"), m_wndViewBar);

    m_wndAvgBar = new CAveragingBar(this);
    connect(m_wndAvgBar, &CAveragingBar::AveragingRead, m_wndPanel, qOverload<>(&QWidget::update));
    m_wndAvgBar->setWhatsThis(QStringLiteral("How wide a window the curve is averaged over."));
    AddBand(QStringLiteral("Averaging"), m_wndAvgBar);

    m_wndStatusBar = statusBar();
    new CIndicatorPanes(*m_wndStatusBar); // owned by the status bar
    m_rulesPane = new CRulesPane(*m_wndStatusBar);
    connect(m_rulesPane, &CRulesPane::Clicked, this, [this] { OnCommand(ID_FILE_LEAVEOUT); });
    m_wndStatusBar->installEventFilter(this); // a click on the unreadable folders' message lists them
    SetMessageText(LoadResString(AFX_IDS_IDLEMESSAGE));

    // Every band fits on a row of its own, so none is ever cut behind an overflow arrow.
    int widest = 0;
    for (const QToolBar* band : m_bands)
        widest = std::max(widest, band->sizeHint().width());
    setMinimumWidth(widest);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FlowBands();
}

void CMainFrame::FlowBands() {
    // The bands in the order they stand in, row by row, as the user may have moved them.
    std::vector<QToolBar*> bands = m_bands;
    std::stable_sort(bands.begin(), bands.end(), [](const QToolBar* a, const QToolBar* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    std::vector<int> widths;
    for (const QToolBar* band : bands)
        widths.push_back(band->sizeHint().width());
    const std::vector<bool> rowStarts = BandRowStarts(widths, width());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        // A break before a band puts it at the start of a new row; the first band needs none.
        const bool wanted = rowStarts[i] && i > 0;
        if (wanted && !toolBarBreak(bands[i]))
            insertToolBarBreak(bands[i]);
        else if (!wanted && toolBarBreak(bands[i]))
            removeToolBarBreak(bands[i]);
    }
}

void CMainFrame::FillRecentMenu() {
    m_recentMenu->clear();
    const std::vector<AnalysisSource> sources = m_settings.RecentSources();
    for (const AnalysisSource& source : sources) {
        const QString label = TextForWindow(SourceLabel(source));
        QAction* item =
            m_recentMenu->addAction(QString(label).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(item, &QAction::triggered, this, [this, source] {
            if (!IsAnalysing())
                Analyse(source);
        });
    }
    m_recentMenu->menuAction()->setEnabled(!sources.empty());
}

QList<QAction*> CMainFrame::RecentActions() {
    FillRecentMenu();
    return m_recentMenu->actions();
}

void CMainFrame::ShowBusy(bool busy) {
    menuBar()->setEnabled(!busy);
    for (const auto& [id, action] : m_actions)
        action->setEnabled(!busy);
    m_wndViewBar->setEnabled(!busy);
    m_wndAvgBar->setEnabled(!busy);
    if (!busy)
        OnUpdateCommandUI();
}

void CMainFrame::OnUpdateCommandUI() {
    for (std::size_t view = 0; view < kViews.size(); ++view)
        m_actions.at(kViews[view].command)->setChecked(!m_datesShown && m_viewMode == static_cast<int>(view));
    m_actions.at(ID_VIEW_DATES)->setChecked(m_datesShown);
    for (const CountRuleFacts& facts : kCountRules)
        m_actions.at(facts.command)->setChecked(m_wndPanel->m_plot.GetCountRule() == facts.rule);
    m_actions.at(ID_VIEW_STATUS_BAR)->setChecked(!m_wndStatusBar->isHidden());
    m_actions.at(ID_FILE_ANALYZEAGAIN)->setEnabled(!IsAnalysing() && m_source.has_value());
    if (m_dateRanges)
        m_dateRanges->UpdateCommands();
}
