// Property test of the number texts: formatFixed and parseReal against exact decimal arithmetic.
//
// A run checks over a million random doubles and a million random floats. It is deterministic;
// NUMTEXT_PROPERTY_SEED (decimal or 0x-hex) picks another sample.
#include "numtext/number_text.h"
#include "property_exact.h"
#include "support/real_bits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>

namespace {

using prop::Decimal;

constexpr uint64_t kDefaultSeed = 0x5eed2024;
constexpr uint64_t kHidden = uint64_t(1) << 52;
constexpr uint64_t kInfinityBits = 0x7ff0000000000000;
constexpr uint64_t kSignBit = uint64_t(1) << 63;
constexpr double kLauncherLimit = 1e10;

// ---- Texts for the diagnostics (the runtime's own conversions are what is under suspicion) ----

std::string decimalText(uint64_t value) {
    std::string text;
    do {
        text.insert(text.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

std::string hexText(uint64_t value) {
    std::string text = "0x";
    for (int shift = 60; shift >= 0; shift -= 4)
        text += "0123456789abcdef"[(value >> shift) & 15];
    return text;
}

// "0.d1d2...e<point>", shortened: enough to recognise a value in a failure message.
std::string describe(const Decimal& value) {
    if (value.digits.empty())
        return "0";
    std::string text = "0." + value.digits.substr(0, 40);
    if (value.digits.size() > 40)
        text += "...(" + decimalText(value.digits.size()) + " digits)";
    text += "e";
    text += value.point < 0 ? "-" + decimalText(uint64_t(-int64_t(value.point)))
                            : decimalText(uint64_t(value.point));
    return text;
}

std::string describe(double value) {
    return hexText(bitsOf(value)) + " (" + (std::signbit(value) ? "-" : "") +
           describe(prop::exactDouble(value)) + ")";
}

// ---- Seed, counts and failure reports ----

bool parseSeed(const char* text, uint64_t& seed) {
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0')
        return false;
    uint64_t value = 0;
    for (; *text != '\0'; ++text) {
        const char lower = static_cast<char>(*text | 0x20);
        const int digit = *text >= '0' && *text <= '9'   ? *text - '0'
                          : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                         : base;
        if (digit >= base)
            return false;
        value = value * uint64_t(base) + uint64_t(digit);
    }
    seed = value;
    return true;
}

uint64_t gSeed = kDefaultSeed;

struct Totals {
    uint64_t doubles = 0;
    uint64_t floats = 0;
    uint64_t texts = 0;
    uint64_t formatted = 0;
    uint64_t parsed = 0;
};
Totals gTotals;

class SeedEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        const char* text = std::getenv("NUMTEXT_PROPERTY_SEED");
        if (text != nullptr && !parseSeed(text, gSeed))
            FAIL() << "NUMTEXT_PROPERTY_SEED is not a decimal or 0x-hex number: " << text;
        std::string line = "numtext property seed: " + decimalText(gSeed) +
                           " (set NUMTEXT_PROPERTY_SEED to vary it)\n";
        std::fputs(line.c_str(), stdout);
    }
    void TearDown() override {
        std::string line = "numtext property: " + decimalText(gTotals.doubles) + " doubles, " +
                           decimalText(gTotals.floats) + " floats, " + decimalText(gTotals.texts) +
                           " decimal texts; " + decimalText(gTotals.formatted) +
                           " formatFixed and " + decimalText(gTotals.parsed) +
                           " parseReal results checked\n";
        std::fputs(line.c_str(), stdout);
    }
};

testing::Environment* const gEnvironment = testing::AddGlobalTestEnvironment(new SeedEnvironment);

// The first few mismatches in full, then only their number: a broken rule breaks thousands.
class Mismatches {
  public:
    explicit Mismatches(std::string sweep) : sweep_(std::move(sweep)) {}
    void add(const std::string& what) {
        if (++count_ <= kShown)
            ADD_FAILURE() << sweep_ << ": " << what;
    }
    void report() const {
        if (count_ > kShown)
            ADD_FAILURE() << sweep_ << ": " << decimalText(count_) << " mismatches in all";
    }

  private:
    static constexpr uint64_t kShown = 12;
    std::string sweep_;
    uint64_t count_ = 0;
};

// ---- Deterministic randomness (splitmix64: the same sample on every platform) ----

class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }
    uint64_t below(uint64_t n) { return next() % n; }
    int range(int lo, int hi) { return lo + static_cast<int>(below(uint64_t(hi - lo) + 1)); }
    bool oneIn(uint64_t n) { return below(n) == 0; }

  private:
    uint64_t state_;
};

// Every sweep draws from its own stream, so a filtered run sees the same values.
uint64_t seedFor(const char* name) {
    uint64_t hash = 0xcbf29ce484222325;
    for (; *name != '\0'; ++name)
        hash = (hash ^ uint8_t(*name)) * 0x100000001b3;
    return Rng(gSeed ^ hash).next();
}

uint64_t pow10u(int n) {
    uint64_t value = 1;
    while (n-- > 0)
        value *= 10;
    return value;
}

double withSign(double magnitude, Rng& rng) {
    return rng.oneIn(2) ? -magnitude : magnitude;
}

// ---- Values to format ----

struct Sample {
    double value;
    int extraDecimals; // checked besides 6 and 1
};

// 0, 2, 3, or 17..40 where the zero fill past the 17th digit shows.
int extraDecimals(Rng& rng) {
    const int pick = rng.range(0, 26);
    return pick == 0 ? 0 : pick < 3 ? pick + 1 : pick + 14;
}

double finiteBitPattern(Rng& rng) {
    for (;;) {
        const uint64_t bits = rng.next();
        if ((bits & kInfinityBits) != kInfinityBits)
            return fromBits(bits);
    }
}

Sample drawBitPattern(Rng& rng) {
    return {finiteBitPattern(rng), extraDecimals(rng)};
}

// `kinds` 4 keeps to the values a user types or the launcher computes; 5 adds any magnitude down
// to the subnormals, whose long expansions are costly to parse.
double launcherMagnitude(Rng& rng, uint64_t kinds) {
    for (;;) {
        double magnitude = 0;
        switch (rng.below(kinds)) {
        case 0: { // any binade from 2^-30 up
            const uint64_t field = uint64_t(rng.range(1023 - 30, 1023 + 33));
            magnitude = fromBits(field << 52 | rng.below(kHidden));
            break;
        }
        case 1: { // decimals as typed: k / 10^n
            const int n = rng.range(0, 9);
            const uint64_t k = rng.below(std::min(uint64_t(1) << 53, pow10u(10 + n)));
            magnitude = static_cast<double>(k) / static_cast<double>(pow10u(n));
            break;
        }
        case 2: { // short values as settings hold them: up to five digits and three decimals
            const int n = rng.range(0, 3);
            magnitude =
                static_cast<double>(rng.below(pow10u(5 + n))) / static_cast<double>(pow10u(n));
            break;
        }
        case 3: { // exact binary fractions, ties at some precision
            const int n = rng.range(1, 40);
            const uint64_t limit = n <= 19 ? pow10u(10) << n : uint64_t(1) << 53;
            magnitude = std::ldexp(static_cast<double>(rng.below(limit) | 1), -n);
            break;
        }
        default: // any magnitude below the limit, subnormals too
            magnitude = fromBits(uint64_t(rng.range(0, 1023 + 33)) << 52 | rng.below(kHidden));
            break;
        }
        if (magnitude < kLauncherLimit)
            return withSign(magnitude, rng);
    }
}

Sample drawLauncherRange(Rng& rng) {
    return {launcherMagnitude(rng, 5), extraDecimals(rng)};
}

double typicalMagnitude(Rng& rng) {
    return launcherMagnitude(rng, 4);
}

// Ties of the second rounding at `decimals`: the double nearest to a typed tie (often a hair
// below it, sometimes pushed over by the 17-digit rounding) or an exact binary tie.
Sample drawSecondRoundingTie(Rng& rng) {
    const uint64_t pick = rng.below(10);
    const int decimals = pick < 4 ? 1 : pick < 8 ? 6 : rng.range(0, 5);
    double magnitude;
    if (rng.oneIn(4)) {
        const uint64_t odd = 2 * rng.below(pow10u(10) << decimals) + 1;
        magnitude = std::ldexp(static_cast<double>(odd), -(decimals + 1));
    } else {
        const uint64_t limit = std::min(uint64_t(1) << 53, pow10u(11 + decimals));
        const uint64_t numerator = 10 * rng.below(limit / 10) + 5;
        magnitude = static_cast<double>(numerator) / static_cast<double>(pow10u(decimals + 1));
    }
    return {withSign(magnitude, rng), decimals};
}

uint64_t mulMod(uint64_t a, uint64_t b, uint64_t m) {
    uint64_t result = 0;
    for (a %= m; b != 0; b >>= 1) {
        if (b & 1)
            result = (result + a) % m;
        a = (a + a) % m;
    }
    return result;
}

uint64_t powMod(uint64_t base, int exponent, uint64_t m) {
    uint64_t result = 1 % m;
    for (; exponent > 0; --exponent)
        result = mulMod(result, base, m);
    return result;
}

uint64_t inverseMod(uint64_t a, uint64_t m) {
    int64_t t = 0, nextT = 1;
    int64_t r = int64_t(m), nextR = int64_t(a % m);
    while (nextR != 0) {
        const int64_t q = r / nextR;
        t = std::exchange(nextT, t - q * nextT);
        r = std::exchange(nextR, r - q * nextR);
    }
    return uint64_t(t < 0 ? t + int64_t(m) : t);
}

// Doubles at or a hair away from a 17-digit half-way point. For m * 2^e and the 17th digit's
// unit 10^q, value / 10^q = m * A / B with A = 2^(e-q) 5^-q and B = 2^(q-e) 5^q (negative
// exponents moved across). Its fraction is (m * A mod B) / B, so solving m * A = B/2 + k
// (mod B) for a small k gives an exact tie (k = 0, B even: 18th digit 5 and nothing after) or
// an expansion continuing 4999... or 5000... for as many digits as B is large.
Sample drawHalfway(Rng& rng) {
    for (;;) {
        const int e = rng.range(-76, 20);
        const int point = prop::exactValue(kHidden | rng.below(kHidden), e).point;
        const int q = point - 17;
        uint64_t b = 1;
        bool fits = true;
        for (int i = 0; i < std::max(q - e, 0) && fits; ++i)
            fits = (b *= 2) <= kHidden;
        for (int i = 0; i < std::max(q, 0) && fits; ++i)
            fits = (b *= 5) <= kHidden;
        if (!fits || b < 2)
            continue;
        const uint64_t a =
            mulMod(powMod(2, std::max(e - q, 0), b), powMod(5, std::max(-q, 0), b), b);
        const uint64_t target = ((b + 1) / 2 + b - 2 + uint64_t(rng.range(0, 4))) % b;
        const uint64_t residue = mulMod(target, inverseMod(a, b), b);
        const uint64_t first = residue >= kHidden ? 0 : (kHidden - residue + b - 1) / b;
        const uint64_t last = (2 * kHidden - 1 - residue) / b;
        if (first > last)
            continue;
        const uint64_t m = residue + (first + rng.below(last - first + 1)) * b;
        const double magnitude = std::ldexp(static_cast<double>(m), e);
        // Where exactly 17 significant digits print, the first rounding is visible in full.
        return {withSign(magnitude, rng), std::clamp(17 - point, 0, kMaxFixedDecimals)};
    }
}

// Past the 17th significant digit the expansion is 5 alone, 4999... or 5000...
bool nearHalfway(const Decimal& exact) {
    const std::string& digits = exact.digits;
    if (digits.size() <= 17)
        return false;
    const std::string tail = digits.substr(17, 4);
    return tail == "5" || tail == "4999" || tail == "5000";
}

Sample drawFloatBits(Rng& rng) {
    for (;;) {
        const uint32_t bits = static_cast<uint32_t>(rng.next());
        if ((bits & 0x7f800000) == 0x7f800000)
            continue;
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return {static_cast<double>(value), extraDecimals(rng)};
    }
}

Sample drawTypicalFloat(Rng& rng) {
    for (;;) {
        float magnitude = 0;
        switch (rng.below(5)) {
        case 0: { // typed decimals read into a float: k / 10^n in float arithmetic
            const int n = rng.range(0, 7);
            magnitude =
                static_cast<float>(rng.below(uint64_t(1) << 24)) / static_cast<float>(pow10u(n));
            break;
        }
        case 1: { // a double's decimal narrowed to float
            const int n = rng.range(0, 6);
            magnitude = static_cast<float>(static_cast<double>(rng.below(pow10u(n + 7))) /
                                           static_cast<double>(pow10u(n)));
            break;
        }
        case 2: { // any binade from 2^-30 up
            const uint32_t field = static_cast<uint32_t>(rng.range(127 - 30, 127 + 33));
            const uint32_t bits = field << 23 | static_cast<uint32_t>(rng.below(1 << 23));
            std::memcpy(&magnitude, &bits, sizeof magnitude);
            break;
        }
        case 3: { // x.x5 and x.xxxxxx5 as floats
            const int decimals = rng.oneIn(2) ? 1 : 6;
            const uint64_t numerator = 10 * rng.below(uint64_t(1) << 20) + 5;
            magnitude = static_cast<float>(numerator) / static_cast<float>(pow10u(decimals + 1));
            break;
        }
        default: // exact binary fractions
            magnitude =
                std::ldexp(static_cast<float>(rng.below(uint64_t(1) << 24)), -rng.range(0, 30));
            break;
        }
        if (magnitude < static_cast<float>(kLauncherLimit))
            return {withSign(static_cast<double>(magnitude), rng), extraDecimals(rng)};
    }
}

// ---- formatFixed against exact arithmetic ----

void checkFixed(double value, const Decimal& exact, int decimals, bool checkBound,
                Mismatches& bad) {
    const std::string expected = prop::expectedFixed(exact, std::signbit(value), decimals);
    char out[400];
    std::memset(out, '#', sizeof out);
    const size_t length = formatFixed(value, decimals, out, sizeof out);
    const bool terminated = length < sizeof out && out[length] == '\0';
    const std::string actual(out, terminated ? length : 0);
    ++gTotals.formatted;
    if (!terminated || actual != expected) {
        bad.add("formatFixed(" + describe(value) + ", " + decimalText(uint64_t(decimals)) +
                ")\n  expected \"" + expected + "\"\n    actual \"" + actual + "\"" +
                (terminated ? "" : " (length or terminator wrong)"));
        return;
    }
    if (checkBound) { // no room for the terminator: an empty text, never a cut number
        char small[400];
        std::memset(small, '#', sizeof small);
        const size_t cut = formatFixed(value, decimals, small, expected.size());
        ++gTotals.formatted;
        if (cut != 0 || small[0] != '\0')
            bad.add("formatFixed(" + describe(value) + ", " + decimalText(uint64_t(decimals)) +
                    ") into " + decimalText(expected.size()) + " chars wrote a cut text");
    }
}

struct FormatSweep {
    const char* name;
    int count;
    bool floats;
    Sample (*draw)(Rng&);
    int minNearHalfwayPercent; // guards the generator of near-halfway values
};

constexpr FormatSweep kFormatSweeps[] = {
    {"BitPatterns", 150000, false, drawBitPattern, 0},
    {"LauncherRange", 300000, false, drawLauncherRange, 0},
    {"SeventeenDigitHalfway", 250000, false, drawHalfway, 40},
    {"SecondRoundingTies", 300000, false, drawSecondRoundingTie, 0},
    {"FloatBitPatterns", 500000, true, drawFloatBits, 0},
    {"TypicalFloats", 500000, true, drawTypicalFloat, 0},
};

void PrintTo(const FormatSweep& sweep, std::ostream* out) {
    *out << sweep.name;
}

class FormatFixedProperty : public testing::TestWithParam<FormatSweep> {};

TEST_P(FormatFixedProperty, MatchesExactArithmetic) {
    const FormatSweep& sweep = GetParam();
    Rng rng(seedFor(sweep.name));
    Mismatches bad(sweep.name);
    int nearHalfwayCount = 0;
    for (int i = 0; i < sweep.count; ++i) {
        const Sample sample = sweep.draw(rng);
        const Decimal exact = prop::exactDouble(sample.value);
        const int decimals[] = {6, 1, sample.extraDecimals};
        for (int k = 0; k < 3; ++k) // the cut-text check on every 8th value is plenty
            checkFixed(sample.value, exact, decimals[k], i % 8 == k, bad);
        if (sweep.minNearHalfwayPercent > 0 && nearHalfway(exact))
            ++nearHalfwayCount;
    }
    (sweep.floats ? gTotals.floats : gTotals.doubles) += uint64_t(sweep.count);
    bad.report();
    EXPECT_GE(100 * int64_t(nearHalfwayCount), int64_t(sweep.minNearHalfwayPercent) * sweep.count)
        << "the generator no longer lands near 17-digit half-way points: "
        << decimalText(uint64_t(nearHalfwayCount)) << " of " << decimalText(uint64_t(sweep.count));
}

INSTANTIATE_TEST_SUITE_P(Sweeps, FormatFixedProperty, testing::ValuesIn(kFormatSweeps),
                         [](const testing::TestParamInfo<FormatSweep>& sweep) {
                             return std::string(sweep.param.name);
                         });

// ---- parseReal against exact arithmetic ----

std::string zeros(int count) {
    return std::string(size_t(std::max(count, 0)), '0');
}

std::string exponentText(int exponent, Rng& rng) {
    std::string text(1, "eEdD"[rng.below(4)]);
    if (exponent < 0)
        text += '-';
    else if (rng.oneIn(3))
        text += '+';
    text += zeros(rng.oneIn(4) ? rng.range(1, 3) : 0);
    return text + decimalText(uint64_t(std::abs(exponent)));
}

struct NumberText {
    std::string text;
    size_t numberEnd; // what parseReal must report as consumed
};

// `value` with its sign in one of the forms the grammar allows, with leading blanks and a
// character after it that must end the number.
NumberText numberText(const Decimal& value, bool negative, Rng& rng) {
    std::string text;
    for (int i = rng.range(0, 2); i > 0; --i)
        text += " \t\n\v\f\r"[rng.below(6)];
    text += negative ? "-" : rng.oneIn(4) ? "+" : "";
    const std::string& d = value.digits;
    const int n = static_cast<int>(d.size());
    if (n == 0) {
        static const char* const kZeros[] = {"0", "0.0", ".0", "0.", "000", "0e5", "0.00D-400"};
        text += kZeros[rng.below(7)];
    } else if (rng.oneIn(2)) { // plain
        const int point = value.point;
        std::string whole =
            point <= 0 ? "" : d.substr(0, size_t(std::min(point, n))) + zeros(point - n);
        const std::string fraction =
            point >= n ? "" : zeros(-point) + d.substr(size_t(std::max(point, 0)));
        if (whole.empty() && rng.oneIn(2))
            whole = "0";
        text += whole;
        if (!fraction.empty())
            text += "." + fraction + zeros(rng.oneIn(4) ? 2 : 0);
        else if (rng.oneIn(4))
            text += rng.oneIn(2) ? "." : ".0";
    } else { // the point after `lead` digits, the exponent making up the rest
        const int lead = rng.range(0, n);
        text += zeros(rng.oneIn(6) ? 2 : 0);
        if (lead == 0)
            text += (rng.oneIn(2) ? "0." : ".") + d;
        else
            text += d.substr(0, size_t(lead)) + (lead < n       ? "." + d.substr(size_t(lead))
                                                 : rng.oneIn(3) ? "."
                                                                : "");
        text += exponentText(value.point - lead, rng);
    }
    const size_t end = text.size();
    static const char* const kEnds[] = {"", "x", "e", "E+", "d-", ",5", " 7", ";"};
    return {text + kEnds[rng.below(8)], end};
}

// Parses the text of `value` and compares the result, bit for bit, with `expectedBits`
// (a magnitude; the sign is the text's).
void expectParsed(const Decimal& value, bool negative, uint64_t expectedBits, const char* what,
                  Rng& rng, Mismatches& bad) {
    const NumberText text = numberText(value, negative, rng);
    size_t consumed = 0;
    const double result = parseReal(text.text.c_str(), &consumed);
    ++gTotals.parsed;
    const uint64_t expected = expectedBits | (negative ? kSignBit : 0);
    if (bitsOf(result) != expected || consumed != text.numberEnd)
        bad.add(std::string(what) + ": parseReal(\"" + text.text.substr(0, 120) +
                (text.text.size() > 120 ? "...\"" : "\"") + ", length " +
                decimalText(text.text.size()) + ")\n  expected " + hexText(expected) +
                " consumed " + decimalText(text.numberEnd) + "\n    actual " +
                hexText(bitsOf(result)) + " consumed " + decimalText(consumed));
}

// Past the 20th significant digit a change stays far inside half an ulp (2^-54 relative).
constexpr int kFarDigit = 20;

int farDistance(const Decimal& value, Rng& rng) {
    return std::max(kFarDigit - static_cast<int>(value.digits.size()), 1) +
           (rng.oneIn(16) ? rng.range(60, 300) : rng.range(0, 40));
}

Decimal withFarOne(Decimal value, Rng& rng) {
    value.digits += zeros(farDistance(value, rng) - 1) + "1";
    return value;
}

Decimal withFarUnitOff(Decimal value, Rng& rng) {
    const int distance = farDistance(value, rng);
    --value.digits.back(); // never below '0': the last digit is not zero
    value.digits += std::string(size_t(distance), '9');
    prop::normalize(value);
    return value;
}

// d's exact expansion reads back as d; the midpoint above d as the even neighbour; a hair
// above it as the successor, a hair below as d.
void checkAround(double value, Rng& rng, Mismatches& bad) {
    const bool negative = rng.oneIn(2);
    const uint64_t bits = bitsOf(value) & ~kSignBit;
    expectParsed(prop::exactDouble(value), negative, bits, "exact value", rng, bad);
    const Decimal midpoint = prop::midpointAbove(bits);
    expectParsed(midpoint, negative, bits & 1 ? bits + 1 : bits, "midpoint", rng, bad);
    expectParsed(withFarOne(midpoint, rng), negative, bits + 1, "above midpoint", rng, bad);
    expectParsed(withFarUnitOff(midpoint, rng), negative, bits, "below midpoint", rng, bad);
}

double boundaryMagnitude(Rng& rng) { // subnormals, the smallest normals and the largest doubles
    const uint64_t field =
        rng.oneIn(2) ? uint64_t(rng.range(0, 2)) : uint64_t(rng.range(2044, 2046));
    const uint64_t fraction = rng.oneIn(4) ? uint64_t(rng.range(0, 3)) : rng.below(kHidden);
    return fromBits(field << 52 | fraction);
}

struct ParseSweep {
    const char* name;
    int count;
    double (*draw)(Rng&);
};

constexpr ParseSweep kParseSweeps[] = {
    {"BitPatterns", 15000, finiteBitPattern},
    {"LauncherRange", 50000, typicalMagnitude},
    {"RangeEnds", 8000, boundaryMagnitude},
};

void PrintTo(const ParseSweep& sweep, std::ostream* out) {
    *out << sweep.name;
}

class ParseRealProperty : public testing::TestWithParam<ParseSweep> {};

TEST_P(ParseRealProperty, ExactExpansionsAndMidpointsRoundCorrectly) {
    const ParseSweep& sweep = GetParam();
    Rng rng(seedFor(sweep.name) + 1); // not the stream of the format sweep of the same name
    Mismatches bad(std::string("parse ") + sweep.name);
    for (int i = 0; i < sweep.count; ++i)
        checkAround(sweep.draw(rng), rng, bad);
    gTotals.doubles += uint64_t(sweep.count);
    bad.report();
}

INSTANTIATE_TEST_SUITE_P(Sweeps, ParseRealProperty, testing::ValuesIn(kParseSweeps),
                         [](const testing::TestParamInfo<ParseSweep>& sweep) {
                             return std::string(sweep.param.name);
                         });

// Whether `value` lies in the rounding interval of the non-negative double with `bits`: between
// the midpoints to its neighbours, a midpoint itself belonging to the even side; +0 takes
// everything up to half the smallest subnormal, infinity everything from half-way between the
// largest double and 2^1024.
bool roundsTo(const Decimal& value, uint64_t bits) {
    if (bits > kInfinityBits)
        return false;
    const bool even = (bits & 1) == 0;
    if (bits > 0) {
        const int order = prop::compare(value, prop::midpointAbove(bits - 1));
        if (order < 0 || (order == 0 && !even))
            return false;
    }
    if (bits < kInfinityBits) {
        const int order = prop::compare(value, prop::midpointAbove(bits));
        if (order > 0 || (order == 0 && !even))
            return false;
    }
    return true;
}

constexpr int kDecimalTexts = 120000;

TEST(ParseRealTexts, RandomDecimalTextsRoundCorrectly) {
    Rng rng(seedFor("DecimalTexts"));
    Mismatches bad("decimal texts");
    for (int i = 0; i < kDecimalTexts; ++i) {
        Decimal value;
        if (!rng.oneIn(64)) {
            const int count = rng.range(1, 25);
            value.digits.push_back(static_cast<char>('1' + rng.below(9)));
            for (int k = 1; k < count; ++k)
                value.digits.push_back(static_cast<char>('0' + rng.below(10)));
            value.point = rng.range(-330, 310) + 1; // 10^-330 .. 10^310 in scientific terms
            prop::normalize(value);
        }
        const bool negative = rng.oneIn(2);
        const NumberText text = numberText(value, negative, rng);
        size_t consumed = 0;
        const double result = parseReal(text.text.c_str(), &consumed);
        ++gTotals.parsed;
        const uint64_t bits = bitsOf(result);
        if (!roundsTo(value, bits & ~kSignBit) || (bits >> 63) != uint64_t(negative) ||
            consumed != text.numberEnd)
            bad.add("parseReal(\"" + text.text + "\") gave " + hexText(bits) + " consumed " +
                    decimalText(consumed) + ", wanted the double nearest " + describe(value) +
                    (negative ? " negated" : "") + " consumed " + decimalText(text.numberEnd));
    }
    gTotals.texts += kDecimalTexts;
    bad.report();
}

// ---- Both conversions at the ends of the range and at the values everybody tries ----

TEST(NumberTextProperty, EdgeValues) {
    const struct {
        const char* name;
        uint64_t bits;
    } cases[] = {
        {"zero", 0x0000000000000000},
        {"smallest subnormal", 0x0000000000000001},
        {"largest subnormal", 0x000fffffffffffff},
        {"smallest normal", 0x0010000000000000},
        {"below one", 0x3fefffffffffffff},
        {"one", 0x3ff0000000000000},
        {"0.1", 0x3fb999999999999a},
        {"2^53", 0x4340000000000000},
        {"1e23", 0x44b52d02c7e14af6},
        {"float max", 0x47efffffe0000000},
        {"largest below 2^1023", 0x7fdfffffffffffff},
        {"largest double", 0x7fefffffffffffff},
    };
    Rng rng(seedFor("EdgeValues"));
    for (const auto& row : cases) {
        Mismatches bad(std::string("edge value ") + row.name);
        for (uint64_t sign : {uint64_t(0), kSignBit}) {
            const double value = fromBits(row.bits | sign);
            const Decimal exact = prop::exactDouble(value);
            for (int decimals : {0, 1, 6, 17, 25, kMaxFixedDecimals})
                checkFixed(value, exact, decimals, true, bad);
            for (int repeat = 0; repeat < 8; ++repeat)
                checkAround(value, rng, bad);
        }
        bad.report();
    }
}

} // namespace
