#pragma once

// Runs one step of the shutdown, whose steps each go on whatever the one before did (the
// settings must still be written and the program must still end): false when the step
// failed.
template <typename Step> bool shutdownStep(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}
