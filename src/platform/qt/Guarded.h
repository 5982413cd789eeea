#pragma once

#include <cstdio>
#include <exception>
#include <utility>

// Runs a handler called from Qt's event loop so that no exception reaches the loop: a
// failing step is reported on stderr and the program goes on.
template <typename F> void guarded(const char* what, F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavrin: %s failed: %s\n", what, e.what());
    } catch (...) {
        std::fprintf(stderr, "tavrin: %s failed\n", what);
    }
}
