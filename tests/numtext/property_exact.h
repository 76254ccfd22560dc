// Exact decimal values of binary doubles, the yardstick of the number-text property test.
#pragma once

#include <cstdint>
#include <string>

namespace prop {

// A non-negative decimal 0.d1d2...dn * 10^point with d1 and dn non-zero; zero has no digits.
struct Decimal {
    std::string digits;
    int point = 0;
};

// Strips leading and trailing zero digits (moving the point for leading ones).
void normalize(Decimal& value);

// m * 2^e exactly, for |e| <= 1100.
Decimal exactValue(uint64_t m, int e);

// The exact magnitude of a finite double.
Decimal exactDouble(double value);

// The exact point half-way between the non-negative finite double with bit pattern `bits` and
// the next one up (2^1024 above the largest double).
Decimal midpointAbove(uint64_t bits);

// <0, 0 or >0 as a is below, equal to or above b.
int compare(const Decimal& a, const Decimal& b);

// Fixed notation with `decimals` decimals of the double whose exact magnitude is `magnitude`:
// rounded half-up to 17 significant digits, that rounded half-up to `decimals`, a '-' for a
// negative non-zero value even when it rounds to zero.
std::string expectedFixed(const Decimal& magnitude, bool negative, int decimals);

} // namespace prop
