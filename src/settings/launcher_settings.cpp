// The one settings record and the rules shared by everything that stores into it.
#include "settings/launcher_settings.h"

#include <cstdlib>
#include <cstring>
#include <limits>

// Zero-initialised before any code runs: the paths are unset until load gives them values.
LauncherSettings settings;

void TextRelease::operator()(char* text) const {
    std::free(text);
}

OwnedText newText(size_t size) {
    OwnedText text(static_cast<char*>(std::malloc(size)));
    if (text != nullptr && size > 0) {
        text[0] = '\0';
    }
    return text;
}

OwnedText copyText(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const size_t length = std::strlen(text);
    OwnedText copy = newText(length + 1);
    if (copy != nullptr) {
        std::memcpy(copy.get(), text, length + 1);
    }
    return copy;
}

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
