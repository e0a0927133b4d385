#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with the broken property named, so a crash report says what went wrong.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}
