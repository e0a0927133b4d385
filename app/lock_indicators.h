#pragma once

#include <optional>

// The keyboard's lock lights.
struct LockStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The lock lights as the X server reports them; nothing when the session is not X11.
std::optional<LockStates> ReadLockIndicators();
