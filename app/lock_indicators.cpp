#include "lock_indicators.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace {

bool NamedIndicatorOn(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
}

} // namespace

std::optional<LockStates> ReadLockIndicators() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    return LockStates{NamedIndicatorOn(display, "Caps Lock"), NamedIndicatorOn(display, "Num Lock"),
                      NamedIndicatorOn(display, "Scroll Lock")};
}
