#pragma once

#include <QObject>
#include <functional>

class QWidget;

// While it lives, input meant for one window and what it owns (its menus and commands) is
// dropped: mouse buttons, moves and wheel, keys, shortcuts and context menus. The window
// still paints, resizes and closes. Escape is handed to onEscape, and the quit keys (Ctrl+Q)
// to onQuit.
class CBusyInputFilter : public QObject {
public:
    CBusyInputFilter(QWidget& window, std::function<void()> onEscape, std::function<void()> onQuit);
    ~CBusyInputFilter() override;
    CBusyInputFilter(const CBusyInputFilter&) = delete;
    CBusyInputFilter& operator=(const CBusyInputFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool BelongsToWindow(const QObject* object) const;

    QWidget& m_window;
    std::function<void()> m_onEscape;
    std::function<void()> m_onQuit;
};
