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

// A sunken pane wide enough for its text, empty until its lock is on; a screen reader names its lock.
QLabel* MakePane(QStatusBar& statusBar, int id, const char* lock) {
    auto* pane = new QLabel(&statusBar);
    pane->setAccessibleName(QString::fromLatin1(lock));
    pane->setAccessibleDescription(
        QStringLiteral("Shows %1 while %2 is on").arg(LoadResString(id), QString::fromLatin1(lock)));
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
    : QObject(&statusBar), m_caps(MakePane(statusBar, ID_INDICATOR_CAPS, "Caps Lock")),
      m_num(MakePane(statusBar, ID_INDICATOR_NUM, "Num Lock")),
      m_scroll(MakePane(statusBar, ID_INDICATOR_SCRL, "Scroll Lock")) {
    // Pane 0, the bar's own message, is what the bar is named for.
    statusBar.setAccessibleName(QStringLiteral("Status"));
    statusBar.setAccessibleDescription(
        QStringLiteral("Messages, and the time and count of the graph's bin at the cursor or the pointer"));
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
