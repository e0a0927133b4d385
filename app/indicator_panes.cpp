#include "indicator_panes.h"

#include "command_ids.h"
#include "lock_indicators.h"
#include "string_table.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

// Room on either side of a pane's text together, in pixels, beside the frame.
constexpr int kPaneTextMargins = 8;

// A sunken pane wide enough for its text, empty until its lock is on.
QLabel* MakePane(QStatusBar& statusBar, int id) {
    auto* pane = new QLabel(&statusBar);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(LoadResString(id)) + kPaneTextMargins);
    statusBar.addPermanentWidget(pane);
    return pane;
}

void ShowPane(QLabel* pane, int id, bool on) {
    const QString text = on ? LoadResString(id) : QString();
    if (pane->text() != text)
        pane->setText(text);
}

} // namespace

CIndicatorPanes::CIndicatorPanes(QStatusBar& statusBar)
    : QObject(&statusBar), m_caps(MakePane(statusBar, ID_INDICATOR_CAPS)),
      m_num(MakePane(statusBar, ID_INDICATOR_NUM)), m_scroll(MakePane(statusBar, ID_INDICATOR_SCRL)) {
    qApp->installEventFilter(this);
    Refresh();
}

void CIndicatorPanes::Refresh() {
    const LockStates states = ReadLockIndicators().value_or(LockStates{});
    ShowPane(m_caps, ID_INDICATOR_CAPS, states.caps);
    ShowPane(m_num, ID_INDICATOR_NUM, states.num);
    ShowPane(m_scroll, ID_INDICATOR_SCRL, states.scroll);
}

bool CIndicatorPanes::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ApplicationActivate:
        if (watched->isWidgetType() || watched == qApp)
            Refresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
