// Number texts: reals to fixed notation as the classic Windows C runtime prints them, text to the
// correctly rounded real, and 32-bit integer texts. Integer arithmetic only: no C runtime
// conversion, no std::to_chars (it would pull much of libstdc++ into the 32-bit exe) and no
// floating-point operation whose precision could differ between x87 and SSE builds.
#include "numtext/number_text.h"

#include <cstring>

namespace {

// ---- A small unsigned big integer -------------------------------------------------------------

// 88 limbs (2816 bits) hold the largest number either direction needs: m * 5^1074 with m < 2^53
// (2547 bits) when formatting; when reading, 801 decimal digits (2661 bits) and 5^1124 * 2^63
// (2673 bits), the most the quick range checks of parseReal let through.
constexpr int kLimbs = 88;

struct BigUint {
    uint32_t limb[kLimbs]; // least significant first; only limb[0..used) are meaningful
    int used = 0;          // limb[used - 1] != 0 unless the number is zero
};

void trim(BigUint& a) {
    while (a.used > 0 && a.limb[a.used - 1] == 0)
        --a.used;
}

BigUint bigFrom(uint64_t value) {
    BigUint a;
    a.limb[0] = static_cast<uint32_t>(value);
    a.limb[1] = static_cast<uint32_t>(value >> 32);
    a.used = 2;
    trim(a);
    return a;
}

// a = a * factor + addend.
void mulAdd(BigUint& a, uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (int i = 0; i < a.used; ++i) {
        uint64_t t = uint64_t{a.limb[i]} * factor + carry;
        a.limb[i] = static_cast<uint32_t>(t);
        carry = t >> 32;
    }
    if (carry != 0 && a.used < kLimbs) // the bounds above keep the guard from ever cutting
        a.limb[a.used++] = static_cast<uint32_t>(carry);
}

void mulPow5(BigUint& a, int64_t exponent) {
    for (; exponent >= 13; exponent -= 13)
        mulAdd(a, 1220703125u, 0); // 5^13, the largest power of 5 below 2^32
    uint32_t rest = 1;
    for (; exponent > 0; --exponent)
        rest *= 5;
    mulAdd(a, rest, 0);
}

void shiftLeft(BigUint& a, int64_t bitCount) {
    if (a.used == 0)
        return;
    int words = static_cast<int>(bitCount / 32), bits = static_cast<int>(bitCount % 32);
    int newUsed = a.used + words + 1;
    if (newUsed > kLimbs)
        newUsed = kLimbs;
    for (int i = newUsed - 1; i >= words; --i) { // from the top, so no source is overwritten early
        int from = i - words;
        uint32_t high = from < a.used ? a.limb[from] : 0;
        uint32_t low = from > 0 ? a.limb[from - 1] : 0;
        a.limb[i] = bits == 0 ? high : (high << bits) | (low >> (32 - bits));
    }
    for (int i = 0; i < words && i < newUsed; ++i)
        a.limb[i] = 0;
    a.used = newUsed;
    trim(a);
}

void shiftRightOne(BigUint& a) {
    for (int i = 0; i < a.used; ++i)
        a.limb[i] = (a.limb[i] >> 1) | (i + 1 < a.used ? a.limb[i + 1] << 31 : 0);
    trim(a);
}

int compare(const BigUint& a, const BigUint& b) {
    if (a.used != b.used)
        return a.used < b.used ? -1 : 1;
    for (int i = a.used - 1; i >= 0; --i)
        if (a.limb[i] != b.limb[i])
            return a.limb[i] < b.limb[i] ? -1 : 1;
    return 0;
}

// a = a - b, with a >= b.
void subtract(BigUint& a, const BigUint& b) {
    uint32_t borrow = 0;
    for (int i = 0; i < a.used; ++i) {
        uint64_t sub = uint64_t{i < b.used ? b.limb[i] : 0u} + borrow;
        borrow = a.limb[i] < sub ? 1 : 0;
        a.limb[i] = static_cast<uint32_t>(a.limb[i] - sub);
    }
    trim(a);
}

// a = a / divisor; returns the remainder.
uint32_t divSmall(BigUint& a, uint32_t divisor) {
    uint64_t rest = 0;
    for (int i = a.used - 1; i >= 0; --i) {
        uint64_t t = (rest << 32) | a.limb[i];
        a.limb[i] = static_cast<uint32_t>(t / divisor);
        rest = t % divisor;
    }
    trim(a);
    return static_cast<uint32_t>(rest);
}

bool bitAt(const BigUint& a, int bit) {
    return (a.limb[bit / 32] >> (bit % 32)) & 1u;
}

int bitLength(const BigUint& a) {
    if (a.used == 0)
        return 0;
    int length = (a.used - 1) * 32;
    for (uint32_t top = a.limb[a.used - 1]; top != 0; top >>= 1)
        ++length;
    return length;
}

// ---- Binary to decimal: the digits of the classic Windows runtime -----------------------------

constexpr uint64_t kSignBit = uint64_t{1} << 63;
constexpr uint64_t kFractionMask = (uint64_t{1} << 52) - 1;

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double doubleFrom(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Writes `value` as exactly `width` digits (zero-padded on the left).
void putDigits(uint32_t value, int width, char* out) {
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = static_cast<char>('0' + value % 10);
}

int digitCount(uint32_t value) {
    int count = 1;
    for (; value >= 10; value /= 10)
        ++count;
    return count;
}

// The first 18 significant digits of the exact value m * 2^exponent (zero-filled) and the
// position of the decimal point: value = 0.d1d2d3... * 10^return.
int leadingDigits(uint64_t m, int exponent, char digits[18]) {
    std::memset(digits, '0', 18);
    if (m == 0)
        return 0;
    for (; (m & 1) == 0; m >>= 1) // fewer bits, smaller powers of 5
        ++exponent;
    BigUint exact = bigFrom(m); // value = exact * 10^exponent for exponent < 0
    if (exponent >= 0)
        shiftLeft(exact, exponent);
    else
        mulPow5(exact, -exponent);
    uint32_t chunk[kLimbs + 8]; // base 10^9, least significant first
    int chunks = 0;
    while (exact.used != 0)
        chunk[chunks++] = divSmall(exact, 1000000000u);
    char text[27];
    int topWidth = digitCount(chunk[chunks - 1]), length = 0;
    for (int i = chunks - 1; i >= 0 && length < 18; --i) {
        int width = i == chunks - 1 ? topWidth : 9;
        putDigits(chunk[i], width, text + length);
        length += width;
    }
    std::memcpy(digits, text, static_cast<size_t>(length < 18 ? length : 18));
    int totalDigits = topWidth + 9 * (chunks - 1);
    return exponent >= 0 ? totalDigits : totalDigits + exponent;
}

// Adds one unit in the last of the first `count` digits (count may be 0). A carry out of the
// first digit turns the string into 1000... and returns true (the point moves one place right).
bool incrementDigits(char digits[18], int count) {
    int i = count - 1;
    while (i >= 0 && digits[i] == '9')
        digits[i--] = '0';
    if (i >= 0) {
        ++digits[i];
        return false;
    }
    std::memset(digits, '0', 18);
    digits[0] = '1';
    return true;
}

size_t writeText(const char* text, char* out, size_t size) {
    size_t length = std::strlen(text);
    if (length + 1 > size) {
        if (size > 0)
            out[0] = '\0';
        return 0;
    }
    std::memcpy(out, text, length + 1);
    return length;
}

// ---- Decimal to binary -------------------------------------------------------------------------

// Digits past this many significant ones only matter as "something nonzero follows": a
// midpoint between two doubles has at most 767 significant digits, so 800 digits and one
// nonzero sticky digit always land strictly on the same side of every midpoint.
constexpr int kKeptDigits = 800;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The significant digits of a decimal text as an integer: value = digits * 10^exponent.
struct DecimalNumber {
    BigUint digits;
    int64_t exponent = 0;
    int count = 0;        // significant digits in `digits`
    uint32_t pending = 0; // digits not yet moved into `digits` (at most 9)
    int pendingCount = 0;
    bool droppedNonzero = false;

    void flush() {
        static const uint32_t kPow10[10] = {1,      10,      100,      1000,      10000,
                                            100000, 1000000, 10000000, 100000000, 1000000000};
        mulAdd(digits, kPow10[pendingCount], pending);
        pending = 0;
        pendingCount = 0;
    }

    void append(uint32_t digit) {
        pending = pending * 10 + digit;
        if (++pendingCount == 9)
            flush();
        ++count;
    }

    void addDigit(int digit, bool afterPoint) {
        if (count == 0 && digit == 0) { // a leading zero only moves the point
            exponent -= afterPoint ? 1 : 0;
        } else if (count < kKeptDigits) {
            append(static_cast<uint32_t>(digit));
            exponent -= afterPoint ? 1 : 0;
        } else {
            droppedNonzero |= digit != 0;
            exponent += afterPoint ? 0 : 1;
        }
    }

    void finish() {
        if (droppedNonzero) { // one more digit: value = digits * 10^exponent still
            append(1);
            --exponent;
        }
        flush();
    }
};

// The double nearest to m * 2^exponent (+ a little more when `inexact`), ties to even; m != 0.
double roundToDouble(uint64_t m, int64_t exponent, bool inexact, bool negative) {
    for (; (m & kSignBit) == 0; m <<= 1)
        --exponent;
    // Keep 53 bits, or fewer where the result is subnormal (its unit is 2^-1074).
    int64_t drop = -1074 - exponent > 11 ? -1074 - exponent : 11;
    uint64_t sign = negative ? kSignBit : 0;
    if (drop > 64)
        return doubleFrom(sign); // below half the smallest subnormal
    uint64_t kept = drop == 64 ? 0 : m >> drop;
    uint64_t rest = drop == 64 ? m : m << (64 - drop); // dropped bits, top-aligned
    if (rest > kSignBit || (rest == kSignBit && (inexact || (kept & 1) != 0)))
        ++kept;
    int64_t unitExponent = exponent + drop;
    if (kept == uint64_t{1} << 53) {
        kept >>= 1;
        ++unitExponent;
    }
    if (kept < uint64_t{1} << 52) // subnormal (or zero): exponent field 0
        return doubleFrom(sign | kept);
    int64_t biased = unitExponent + 52 + 1023;
    if (biased >= 2047)
        return doubleFrom(sign | uint64_t{2047} << 52);
    return doubleFrom(sign | static_cast<uint64_t>(biased) << 52 | (kept & kFractionMask));
}

double toDouble(DecimalNumber& number, bool negative) {
    if (number.count == 0)
        return doubleFrom(negative ? kSignBit : 0);
    // With count digits, 10^(magnitude-1) <= value < 10^magnitude.
    int64_t magnitude = number.count + number.exponent;
    if (magnitude > 309) // value >= 10^309 > DBL_MAX
        return doubleFrom((negative ? kSignBit : 0) | uint64_t{2047} << 52);
    if (magnitude < -323) // value < 10^-324, below half the smallest subnormal
        return doubleFrom(negative ? kSignBit : 0);
    BigUint& digits = number.digits;
    if (number.exponent >= 0) { // an integer: its 64 highest bits and whether more follow
        mulPow5(digits, number.exponent);
        int length = bitLength(digits), low = length > 64 ? length - 64 : 0;
        uint64_t m = 0;
        for (int bit = length - 1; bit >= low; --bit)
            m = m << 1 | (bitAt(digits, bit) ? 1 : 0);
        bool inexact = false;
        for (int bit = 0; bit < low && !inexact; ++bit)
            inexact = bitAt(digits, bit);
        return roundToDouble(m, number.exponent + low, inexact, negative);
    }
    // value = digits / 5^q * 2^-q: scale so that the quotient has 63 or 64 bits.
    int64_t q = -number.exponent;
    BigUint divisor = bigFrom(1);
    mulPow5(divisor, q);
    int64_t scale = bitLength(divisor) - bitLength(digits) + 63;
    if (scale >= 0)
        shiftLeft(digits, scale);
    else
        shiftLeft(divisor, -scale);
    shiftLeft(divisor, 63);
    uint64_t quotient = 0;
    for (int bit = 63; bit >= 0; --bit, shiftRightOne(divisor)) {
        if (compare(digits, divisor) >= 0) {
            subtract(digits, divisor);
            quotient |= uint64_t{1} << bit;
        }
    }
    return roundToDouble(quotient, -scale - q, digits.used != 0, negative);
}

// Reads an exponent's digits, saturating far beyond any exponent that still matters.
int64_t readExponentDigits(const char*& p) {
    int64_t value = 0;
    for (; isDigit(*p); ++p)
        if (value < 1000000000)
            value = value * 10 + (*p - '0');
    return value;
}

size_t writeDecimal(uint32_t magnitude, bool negative, char* out, size_t size) {
    char text[kIntTextSize];
    size_t length = 0;
    if (negative)
        text[length++] = '-';
    int width = digitCount(magnitude);
    putDigits(magnitude, width, text + length);
    text[length + static_cast<size_t>(width)] = '\0';
    return writeText(text, out, size);
}

} // namespace

size_t formatFixed(double value, int decimals, char* out, size_t size) {
    if (decimals < 0 || decimals > kMaxFixedDecimals)
        return writeText("", out, size);
    uint64_t bits = bitsOf(value);
    bool negative = (bits & kSignBit) != 0 && (bits & ~kSignBit) != 0; // -0.0 prints unsigned
    int biased = static_cast<int>((bits >> 52) & 2047);
    uint64_t fraction = bits & kFractionMask;
    if (biased == 2047)
        return writeText(fraction != 0 ? "nan" : negative ? "-inf" : "inf", out, size);

    uint64_t m = biased == 0 ? fraction : fraction | uint64_t{1} << 52;
    char digits[18];
    int point = leadingDigits(m, (biased == 0 ? 1 : biased) - 1075, digits);
    // First rounding: 17 significant digits, half-up on the 18th alone.
    if (digits[17] >= '5' && incrementDigits(digits, 17))
        ++point;
    digits[17] = '0';
    // Second rounding: `decimals` decimals, half-up; nothing to round when no digit is kept.
    int kept = point + decimals;
    if (kept >= 0 && kept < 17) {
        bool up = digits[kept] >= '5';
        std::memset(digits + kept, '0', static_cast<size_t>(17 - kept));
        if (up && incrementDigits(digits, kept))
            ++point;
    }

    size_t length = (negative ? 1u : 0u) + static_cast<size_t>(point > 0 ? point : 1) +
                    static_cast<size_t>(decimals > 0 ? decimals + 1 : 0);
    if (length + 1 > size)
        return writeText("", out, size);
    auto digitAt = [&](int position) {
        return position >= 0 && position < 17 ? digits[position] : '0';
    };
    char* p = out;
    if (negative)
        *p++ = '-';
    for (int i = 0; i < (point > 0 ? point : 1); ++i)
        *p++ = point > 0 ? digitAt(i) : '0';
    if (decimals > 0)
        *p++ = '.';
    for (int i = 0; i < decimals; ++i)
        *p++ = digitAt(point + i);
    *p = '\0';
    return length;
}

double parseReal(const char* text, size_t* consumed) {
    const char* p = text;
    while (isBlank(*p))
        ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    DecimalNumber number;
    bool anyDigit = false;
    for (; isDigit(*p); ++p, anyDigit = true)
        number.addDigit(*p - '0', false);
    if (*p == '.')
        for (++p; isDigit(*p); ++p, anyDigit = true)
            number.addDigit(*p - '0', true);
    if (!anyDigit) {
        if (consumed)
            *consumed = 0;
        return 0.0;
    }
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        bool negativeExponent = *q == '-';
        if (*q == '+' || *q == '-')
            ++q;
        if (isDigit(*q)) {
            int64_t exponent = readExponentDigits(q);
            number.exponent += negativeExponent ? -exponent : exponent;
            p = q;
        }
    }
    if (consumed)
        *consumed = static_cast<size_t>(p - text);
    number.finish();
    return toDouble(number, negative);
}

int32_t parseInt32(const char* text) {
    const char* p = text;
    while (isBlank(*p))
        ++p;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    uint32_t value = 0;
    for (; isDigit(*p); ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (negative)
        value = 0u - value;
    int32_t result;
    std::memcpy(&result, &value, sizeof result); // two's complement reinterpretation
    return result;
}

size_t formatInt32(int32_t value, char* out, size_t size) {
    uint32_t magnitude = static_cast<uint32_t>(value);
    return writeDecimal(value < 0 ? 0u - magnitude : magnitude, value < 0, out, size);
}
