// A double's bit pattern and back: the number tests, the property test and the fuzz checks
// compare reals bit for bit, so +0.0 and -0.0, and every NaN, stay apart.
#pragma once

#include <cstdint>
#include <cstring>

inline uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline double fromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
