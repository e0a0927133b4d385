#include "busy_input_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

CBusyInputFilter::CBusyInputFilter(QWidget& window, std::function<void()> onEscape, std::function<void()> onQuit)
    : m_window(window), m_onEscape(std::move(onEscape)), m_onQuit(std::move(onQuit)) {
    QCoreApplication::instance()->installEventFilter(this);
}

CBusyInputFilter::~CBusyInputFilter() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool CBusyInputFilter::BelongsToWindow(const QObject* object) const {
    for (; object != nullptr; object = object->parent())
        if (object == &m_window)
            return true;
    return false;
}

bool CBusyInputFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken here, the key reaches no shortcut and comes back below as a key press.
        if (!BelongsToWindow(watched))
            return false;
        event->accept();
        return true;
    case QEvent::KeyPress: {
        if (!BelongsToWindow(watched))
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape)
            m_onEscape();
        else if (key->matches(QKeySequence::Quit) || key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Q))
            m_onQuit();
        return true;
    }
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return BelongsToWindow(watched);
    default:
        return false;
    }
}
