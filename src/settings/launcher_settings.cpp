// The one settings record and the rules shared by everything that stores into it.
#include "settings/launcher_settings.h"

#include <limits>

// Zero-initialised before any code runs: the paths are unset until load gives them values.
LauncherSettings settings;

float storedReal(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    // Anything at or beyond the largest float (infinities included) is clamped before the
    // narrowing, which would otherwise give an infinity (or be undefined out of range).
    if (value >= kLargest) {
        return std::numeric_limits<float>::max();
    }
    if (value <= -kLargest) {
        return -std::numeric_limits<float>::max();
    }
    if (value != value) {
        return 0.0f; // no text reads as NaN; should one arrive, it is treated as no number
    }
    return static_cast<float>(value);
}

void chooseThreedMode(LauncherSettings& s, int32_t mode) {
    s.threedMode = mode;
    s.pallet = 0;
}

int32_t storedCheck(bool checked) {
    return checked ? 1 : 0;
}

bool showsTicked(int32_t value) {
    return value != 0;
}
