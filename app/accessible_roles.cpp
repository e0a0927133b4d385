#include "accessible_roles.h"

#include <QAccessibleWidget>
#include <QToolBar>

namespace {

// A band of the bar area, with its children less the overflow button that Qt keeps hidden in
// every tool bar: the bands are wrapped so that each fits its row, so the button never shows,
// and a screen reader would list it as an unnamed check box.
class CBandAccessible : public QAccessibleWidget {
public:
    explicit CBandAccessible(QToolBar* band)
        : QAccessibleWidget(band, QAccessible::ToolBar, band->windowTitle()) {}

    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = Children();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index])
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Children().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> Children() const {
        QList<QWidget*> children;
        for (QObject* object : widget()->children())
            if (auto* child = qobject_cast<QWidget*>(object);
                child && !child->isWindow() && child->objectName() != QLatin1String("qt_toolbar_ext_button"))
                children.append(child);
        return children;
    }
};

QAccessibleInterface* ProgramRoles(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (className == QLatin1String("CPlotWnd") || className == QLatin1String("CCalendarPanel"))
        return new QAccessibleWidget(widget, QAccessible::Chart);
    if (className == QLatin1String("CViewBar"))
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    if (className == QLatin1String("QToolBar"))
        return new CBandAccessible(static_cast<QToolBar*>(widget));
    // A window of the program's own (the Files window, the unreadable folders) is a frame, as the
    // main window is, not a filler.
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void InstallAccessibleRoles() {
    static const bool installed = (QAccessible::installFactory(ProgramRoles), true);
    (void)installed;
}
