// Tests of the number texts against researched vectors of the classic Windows C runtime's output
// (what its printf printed and its strtod and atoi read, value by value) and exactly derived
// boundary cases. Expected texts and bit patterns are literals: never computed with printf,
// strtod or any other runtime conversion.
#include "numtext/number_text.h"
#include "support/real_bits.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <string>

namespace {

std::string fixed(double value, int decimals) {
    char text[400];
    size_t length = formatFixed(value, decimals, text, sizeof text);
    EXPECT_EQ(length, std::strlen(text));
    return text;
}

// ---- formatFixed -------------------------------------------------------------------------------

struct FixedCase {
    double value;
    int decimals;
    const char* expected;
};

void expectFixed(const FixedCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(fixed(cases[i].value, cases[i].decimals), cases[i].expected) << "row " << i + 1;
}

template <size_t N> void expectFixed(const FixedCase (&cases)[N]) {
    expectFixed(cases, N);
}

// Only 17 significant digits exist; every further position prints as 0.
TEST(FormatFixed, DigitLimitAndZeroFill) {
    const FixedCase cases[] = {
        {double(3.4e38f), 6, "339999995214436420000000000000000000000.000000"},
        {1e15 + 0.125, 6, "1000000000000000.100000"},
        {123456789012345678.0, 6, "123456789012345680.000000"},
        {0x1p60, 6, "1152921504606847000.000000"},
        {1e22, 6, "10000000000000000000000.000000"},
        {1e23, 6, "99999999999999992000000.000000"},
        {1e23, 1, "99999999999999992000000.0"},
        {0x1p80, 6, "1208925819614629200000000.000000"},
        {0x1p80, 0, "1208925819614629200000000"},
        {1.0 / 3.0, 30, "0.333333333333333310000000000000"},
        {1.4142135623730951, 30, "1.414213562373095100000000000000"},
        {123456789012345678901.0, 30, "123456789012345680000.000000000000000000000000000000"},
    };
    expectFixed(cases);
    const std::string dblMaxDigits = "17976931348623157" + std::string(292, '0');
    EXPECT_EQ(fixed(DBL_MAX, 6), dblMaxDigits + ".000000") << "DBL_MAX";
    EXPECT_EQ(fixed(DBL_MAX, 1), dblMaxDigits + ".0") << "DBL_MAX";
}

// A value exactly halfway between two outputs is rounded away from zero.
TEST(FormatFixed, TiesAwayFromZero) {
    const FixedCase cases[] = {
        {0.25, 1, "0.3"},
        {1.25, 1, "1.3"},
        {-1.25, 1, "-1.3"},
        {0.0078125, 6, "0.007813"},
        {0.5078125, 6, "0.507813"},
        {0.5, 0, "1"},
        {1.5, 0, "2"},
        {-0.5, 0, "-1"},
        {-1.5, 0, "-2"},
        {0.25, 1, "0.3"},
        {0.05, 1, "0.1"},
        {0.15, 1, "0.1"},
        {-0.05, 1, "-0.1"},
        {-0.15, 1, "-0.1"},
        {-0.25, 1, "-0.3"},
        {2.5, 0, "3"},
    };
    expectFixed(cases);
}

// Below a tie, but the 17-digit text is the tie: the second rounding goes up.
TEST(FormatFixed, DoubleRounding) {
    const FixedCase cases[] = {
        {1.45, 1, "1.5"},           {1.95, 1, "2.0"},           {10.35, 1, "10.4"},
        {3.5971685, 6, "3.597169"}, {1.5448795, 6, "1.544880"}, {6.06975, 4, "6.0698"},
        {1.02345, 4, "1.0235"},
    };
    expectFixed(cases);
}

// Below a tie far enough that 17 digits keep it below: rounded down.
TEST(FormatFixed, NearTiesStayDown) {
    const FixedCase cases[] = {
        {0.15, 1, "0.1"},      {0.35, 1, "0.3"},     {0.95, 1, "0.9"},     {1.15, 1, "1.1"},
        {5e-7, 6, "0.000000"}, {6.6975, 3, "6.697"}, {1.2345, 3, "1.234"},
    };
    expectFixed(cases);
}

TEST(FormatFixed, CarriesAndSign) {
    const FixedCase cases[] = {
        {99.95, 1, "100.0"},
        {0.9999995, 6, "1.000000"},
        {-0.0, 6, "0.000000"},
        {-0.0, 1, "0.0"},
        {-0.0, 6, "0.000000"},
        {-0.04, 1, "-0.0"},
        {-0.04, 6, "-0.040000"},
        {0.6, 0, "1"},
        {-1e-300, 6, "-0.000000"}, // tiny negative
        // 17 nines and an 18th digit 8: the carry runs through them.
        {1e-14, 32, "0.00000000000001000000000000000000"},
    };
    expectFixed(cases);
    EXPECT_EQ(fixed(1e98, 0), "1" + std::string(98, '0')) << "17 nines and an 18th 7 carry";
}

// What printf("%f", someFloat) receives: the float's exact value widened to double.
TEST(FormatFixed, WidenedFloats) {
    const FixedCase cases[] = {
        {double(0.8f), 6, "0.800000"},
        {double(0.8f), 1, "0.8"},
        {double(0.87f), 1, "0.9"},
        {double(0.15f), 1, "0.2"},
        {double(1e10f), 6, "10000000000.000000"},
        {double(3.4e38f), 1, "339999995214436420000000000000000000000.0"},
        {double(16777217.0f), 6, "16777216.000000"},
    };
    expectFixed(cases);
}

// Many decimals, where the 17 significant digits end and zeros follow.
TEST(FormatFixed, ManyDecimalsAsTheClassicRuntimePrintsThem) {
    const FixedCase cases[] = {
        {3.14159265359, 6, "3.141593"},
        {3.14159265359, 10, "3.1415926536"},
        {3.14159265359, 11, "3.14159265359"},
        {3.14159265359, 15, "3.141592653590000"},
        {3.14159265358979323846, 15, "3.141592653589793"},
        {37.86626157453708, 13, "37.8662615745371"},
        {37.86626157453708, 14, "37.86626157453708"},
        {37.86626157453708, 15, "37.866261574537077"},
        {0.6, 6, "0.600000"},
        {8.6, 4, "8.6000"},
        {6.006975, 5, "6.00697"},
        {1.002345, 5, "1.00235"},
        {6.06975, 7, "6.0697500"},
        {6.006975, 7, "6.0069750"},
    };
    expectFixed(cases);
}

// The launcher's two formats: "%f" for the settings file and the parameter text, "%1.1f" for
// the dialog (DBL_MAX is above).
TEST(FormatFixed, SixDecimalsForFileAndParametersOneForTheDialog) {
    struct Row {
        double value;
        const char* six;
        const char* one;
    };
    const Row rows[] = {
        {0.0, "0.000000", "0.0"},
        {-0.0, "0.000000", "0.0"},
        {1.0, "1.000000", "1.0"},
        {0.1, "0.100000", "0.1"},
        {double(0.8f), "0.800000", "0.8"},
        {double(0.87f), "0.870000", "0.9"},
        {double(0.15f), "0.150000", "0.2"},
        {double(1e10f), "10000000000.000000", "10000000000.0"},
        {double(3.4e38f), "339999995214436420000000000000000000000.000000",
         "339999995214436420000000000000000000000.0"},
        {double(16777217.0f), "16777216.000000", "16777216.0"},
        {0.15, "0.150000", "0.1"},
        {0.25, "0.250000", "0.3"},
        {1.25, "1.250000", "1.3"},
        {-1.25, "-1.250000", "-1.3"},
        {2.5, "2.500000", "2.5"},
        {0.05, "0.050000", "0.1"},
        {0.35, "0.350000", "0.3"},
        {0.95, "0.950000", "0.9"},
        {1.15, "1.150000", "1.1"},
        {1.45, "1.450000", "1.5"},
        {1.95, "1.950000", "2.0"},
        {10.35, "10.350000", "10.4"},
        {99.95, "99.950000", "100.0"},
        {2.675, "2.675000", "2.7"},
        {-0.04, "-0.040000", "-0.0"},
        {1.0 / 3.0, "0.333333", "0.3"},
        {2.0 / 3.0, "0.666667", "0.7"},
        {0.0078125, "0.007813", "0.0"},
        {0.5078125, "0.507813", "0.5"},
        {3.5971685, "3.597169", "3.6"},
        {1.5448795, "1.544880", "1.5"},
        {0.9999995, "1.000000", "1.0"},
        {1e-7, "0.000000", "0.0"},
        {5e-7, "0.000000", "0.0"},
        {5.000000000000001e-7, "0.000001", "0.0"},
        {1.5e-6, "0.000002", "0.0"},
        {1234567.891, "1234567.891000", "1234567.9"},
        {4294967296.5, "4294967296.500000", "4294967296.5"},
        {9007199254740993.0, "9007199254740992.000000", "9007199254740992.0"},
        {1e15 + 0.125, "1000000000000000.100000", "1000000000000000.1"},
        {123456789012345678.0, "123456789012345680.000000", "123456789012345680.0"},
        {0x1p60, "1152921504606847000.000000", "1152921504606847000.0"},
        {1e22, "10000000000000000000000.000000", "10000000000000000000000.0"},
        {1e23, "99999999999999992000000.000000", "99999999999999992000000.0"},
        {0x1p80, "1208925819614629200000000.000000", "1208925819614629200000000.0"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fixed(row.value, 6), row.six);
        EXPECT_EQ(fixed(row.value, 1), row.one);
    }
}

TEST(FormatFixed, SpecialValues) {
    EXPECT_EQ(fixed(fromBits(0x7ff0000000000000), 6), "inf");
    EXPECT_EQ(fixed(fromBits(0xfff0000000000000), 1), "-inf");
    EXPECT_EQ(fixed(fromBits(0x7ff8000000000000), 6), "nan");
    EXPECT_EQ(fixed(fromBits(0xfff8000000000000), 6), "nan");
    EXPECT_EQ(fixed(fromBits(1), 40), "0.0000000000000000000000000000000000000000"); // 5e-324
}

// The text is never cut: it fits with its terminator, or the result is "" and 0.
TEST(FormatFixed, Bounds) {
    char text[kFixedTextSize];
    const size_t maxLength = 309 + 1 + 6; // DBL_MAX: 309 integer digits, the point, 6 decimals
    EXPECT_EQ(formatFixed(DBL_MAX, 6, text, sizeof text), maxLength);
    EXPECT_EQ(formatFixed(-DBL_MAX, 6, text, sizeof text), maxLength + 1);
    EXPECT_EQ(text[0], '-');
    EXPECT_EQ(formatFixed(-DBL_MAX, 6, text, maxLength + 2), maxLength + 1);
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(formatFixed(-DBL_MAX, 6, text, maxLength + 1), 0u);
    EXPECT_STREQ(text, "");

    char small[6];
    EXPECT_EQ(formatFixed(1.25, 1, small, 4), 3u);
    EXPECT_STREQ(small, "1.3");
    EXPECT_EQ(formatFixed(1.25, 1, small, 3), 0u);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(formatFixed(fromBits(0xfff0000000000000), 6, small, 5), 4u);
    EXPECT_STREQ(small, "-inf");
    EXPECT_EQ(formatFixed(fromBits(0xfff0000000000000), 6, small, 4), 0u);
    EXPECT_STREQ(small, "");

    char untouched[2] = {'x', 'y'};
    EXPECT_EQ(formatFixed(1.0, 6, untouched, 0), 0u);
    EXPECT_EQ(untouched[0], 'x');
    EXPECT_EQ(formatFixed(1.0, 6, nullptr, 0), 0u);
}

TEST(FormatFixed, DecimalsOutsideTheRangeGiveEmptyText) {
    char text[kFixedTextSize] = "x";
    EXPECT_EQ(formatFixed(1.0, -1, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");
    text[0] = 'x';
    EXPECT_EQ(formatFixed(1.0, kMaxFixedDecimals + 1, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(fixed(0.5, kMaxFixedDecimals), "0.5000000000000000000000000000000000000000");
}

// ---- parseReal ---------------------------------------------------------------------------------

struct ParseCase {
    const char* text;
    uint64_t bits;
    size_t consumed;
};

void expectParsed(const ParseCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        size_t consumed = 12345;
        double value = parseReal(cases[i].text, &consumed);
        EXPECT_EQ(bitsOf(value), cases[i].bits) << cases[i].text;
        EXPECT_EQ(consumed, cases[i].consumed) << cases[i].text;
    }
}

template <size_t N> void expectParsed(const ParseCase (&cases)[N]) {
    expectParsed(cases, N);
}

// Blanks, sign, digits, point and an exponent of e, E, d or D; the number ends at the first
// other character, and a text without one reads as 0.
TEST(ParseReal, GrammarAndWhereTheNumberEnds) {
    const ParseCase cases[] = {
        {"1d2", 0x4059000000000000, 3},
        {"1D2", 0x4059000000000000, 3},
        {"12.1d2", 0x4092e80000000000, 6},
        {"1.5E+3", 0x4097700000000000, 6},
        {"  -1.5e3x", 0xc097700000000000, 8},
        {"\t+3.25", 0x400a000000000000, 6},
        {"\n\v\f\r7", 0x401c000000000000, 5},
        {".5", 0x3fe0000000000000, 2},
        {"5.", 0x4014000000000000, 2},
        {"-.5", 0xbfe0000000000000, 3},
        {".21e12", 0x4248727cda000000, 6},
        {"214353e-3", 0x406acb4bc6a7ef9e, 9},
        {"1e", 0x3ff0000000000000, 1},
        {"1e+", 0x3ff0000000000000, 1},
        {"1d-", 0x3ff0000000000000, 1},
        {".", 0x0000000000000000, 0},
        {"-", 0x0000000000000000, 0},
        {"-.e1", 0x0000000000000000, 0},
        {"", 0x0000000000000000, 0},
        {"abc", 0x0000000000000000, 0},
        {"  d10", 0x0000000000000000, 0},
        {"INF", 0x0000000000000000, 0},
        {"inf", 0x0000000000000000, 0},
        {"nan", 0x0000000000000000, 0},
        {"1.#INF", 0x3ff0000000000000, 2},
        {"0x10", 0x0000000000000000, 1},
        {"1,5", 0x3ff0000000000000, 1},
        {"0.1", 0x3fb999999999999a, 3},
        {"0.30000000000000004", 0x3fd3333333333334, 19},
        {"9007199254740993", 0x4340000000000000, 16},
        {"123456789012345678901234567890", 0x45f8ee90ff6c373e, 30},
        {"1e308", 0x7fe1ccf385ebc8a0, 5},
        {"-0", 0x8000000000000000, 2},
        {"+-5", 0x0000000000000000, 0},   // second sign
        {"1.5.5", 0x3ff8000000000000, 3}, // second point
        {"- 5", 0x0000000000000000, 0},   // blank in number
    };
    expectParsed(cases);
    EXPECT_EQ(bitsOf(parseReal("2.5")), 0x4004000000000000u) << "consumed may be left out";
}

TEST(ParseReal, OverflowAndUnderflow) {
    const ParseCase cases[] = {
        {"1d309", 0x7ff0000000000000, 5},
        {"-1d309", 0xfff0000000000000, 6},
        {"0.1D-4736", 0x0000000000000000, 9},
        {"1e-400", 0x0000000000000000, 6},
        {"-1e-400", 0x8000000000000000, 7},                   // negative underflow
        {"1e99999999999999999999", 0x7ff0000000000000, 22},   // huge exponent
        {"-1e-99999999999999999999", 0x8000000000000000, 24}, // huge negative exponent
        {"0e99999999999999999999", 0x0000000000000000, 22},   // zero with huge exponent
        {"1.7976931348623157e308", 0x7fefffffffffffff, 22},   // DBL_MAX
        {"1.7976931348623158e308", 0x7fefffffffffffff, 22},   // below DBL_MAX midpoint
        {"1.797693134862315807e308", 0x7fefffffffffffff, 24}, // below DBL_MAX midpoint
        {"1.797693134862315808e308", 0x7ff0000000000000, 24}, // above DBL_MAX midpoint
        {"4.9406564584124654e-324", 0x0000000000000001, 23},  // smallest subnormal
        {"2.4703282292062327e-324", 0x0000000000000000, 23},  // below half of it
        {"2.4703282292062328e-324", 0x0000000000000001, 23},  // above half of it
        {"1e-320", 0x00000000000007e8, 6},                    // subnormal
        {"2.2250738585072009e-308", 0x000fffffffffffff, 23},  // largest subnormal
        {"2.2250738585072011e-308", 0x000fffffffffffff, 23},  // below smallest normal
        {"2.2250738585072014e-308", 0x0010000000000000, 23},  // smallest normal
    };
    expectParsed(cases);
}

// Exact midpoints between neighbouring doubles go to the even one; any digit above them,
// however far out, goes up.
TEST(ParseReal, HalfwayCasesRoundToEven) {
    const std::string dblMaxMidpoint = // (2^1024 + DBL_MAX) / 2 = 2^1024 - 2^970
        "1797693134862315807937289714053034150799341327100378269361737789804449682927647509466490"
        "1797758720709633028641669288791094655554785194040263065748867150582068190890200070838367"
        "6273854845817711531764475730270069855571366959622842914819860834936475292719074168444365"
        "510704342711559699508093042880177904174497792";
    const std::string belowDblMaxMidpoint = // the same minus one
        dblMaxMidpoint.substr(0, dblMaxMidpoint.size() - 1) + "1";
    const std::string halfSmallestSubnormal = // 2^-1075, 751 significant digits
        "2.47032822920623272088284396434110686182529901307162382212792841250337753635104375932649"
        "9181808179961898982823477228588654633283551779698981993873980053909390631503565951557022"
        "6392290858392449105184435931802849936536152500319370457678249219365623669863658480757001"
        "5857692699037063119282795585513329278343384093519780155312465972635795746227664652728272"
        "2005637400648549997709659947045402082816622623785739345073633900796776193057750674017632"
        "4673600968951340535537458516661134223766678604162159680461914467291840300530057530849048"
        "7653917113865916462395249126236538818796362393732804238910186723484976682350898633885879"
        "2562830275599565752445550725518931369083625477918694866799496832404970582102851318545139"
        "6213837722826145437693412532098591327667236328125";
    const std::string halfAboveOne = "1.00000000000000011102230246251565404236316680908203125";
    const std::string zeros(1000, '0');
    struct Row {
        const char* id;
        std::string text;
        uint64_t bits;
    };
    const Row rows[] = {
        {"2^53 + 1, to even", "9007199254740993", 0x4340000000000000},
        {"2^53 + 3, to even", "9007199254740995", 0x4340000000000002},
        {"1 + 2^-53, to even", halfAboveOne, 0x3ff0000000000000},
        {"1 + 2^-53 and far zeros", halfAboveOne + zeros, 0x3ff0000000000000},
        {"1 + 2^-53 and a far 1", halfAboveOne + zeros + "1", 0x3ff0000000000001},
        {"1 + 2^-53 less a hair", "1.000000000000000111022302462515654042363166809082031249999",
         0x3ff0000000000000},
        {"DBL_MAX midpoint to infinity", dblMaxMidpoint, 0x7ff0000000000000},
        {"below DBL_MAX midpoint", belowDblMaxMidpoint, 0x7fefffffffffffff},
        {"below DBL_MAX midpoint, point moved", belowDblMaxMidpoint + ".999999999e0",
         0x7fefffffffffffff},
        {"negative DBL_MAX midpoint", "-" + dblMaxMidpoint, 0xfff0000000000000},
        {"2^-1075 to zero", halfSmallestSubnormal + "e-324", 0x0000000000000000},
        {"2^-1075 and far zeros", halfSmallestSubnormal + zeros + "e-324", 0x0000000000000000},
        {"2^-1075 and a far 1", halfSmallestSubnormal + zeros + "1e-324", 0x0000000000000001},
        {"-2^-1075 to negative zero", "-" + halfSmallestSubnormal + "e-324", 0x8000000000000000},
    };
    for (const Row& row : rows) {
        size_t consumed = 0;
        EXPECT_EQ(bitsOf(parseReal(row.text.c_str(), &consumed)), row.bits) << row.id;
        EXPECT_EQ(consumed, row.text.size()) << row.id;
    }
}

// Digits are all read, however many; the value depends on all of them.
TEST(ParseReal, LongMantissas) {
    const std::string ones(1000, '1');
    struct Row {
        const char* id;
        std::string text;
        uint64_t bits;
    };
    const Row rows[] = {
        {"1000 ones, point first", "0." + ones, 0x3fbc71c71c71c71c},     // 0.111...
        {"1000 ones, 1e-999 scale", ones + "e-999", 0x3ff1c71c71c71c72}, // 1.111...
        {"1 and 999 zeros, 1e-999 scale", "1" + std::string(999, '0') + "e-999",
         0x3ff0000000000000},
        {"leading zeros", std::string(1000, '0') + "1.5", 0x3ff8000000000000},
        {"leading fraction zeros", "0." + std::string(1000, '0') + "15e1001", 0x3ff8000000000000},
    };
    for (const Row& row : rows) {
        size_t consumed = 0;
        EXPECT_EQ(bitsOf(parseReal(row.text.c_str(), &consumed)), row.bits) << row.id;
        EXPECT_EQ(consumed, row.text.size()) << row.id;
    }
}

// 17 significant digits identify a double, so the text formatFixed gives reads back exactly.
TEST(ParseReal, ReadsBackWhatFormatFixedWrites) {
    const double values[] = {0.1,  1.0 / 3.0, 2.0 / 3.0, 1.45, 123.456,       1e-5,  4294967296.5,
                             1e23, 0x1p80,    DBL_MAX,   5e-7, double(0.87f), -1.25, -1234567.891};
    for (double value : values) {
        std::string text = fixed(value, kMaxFixedDecimals);
        EXPECT_EQ(bitsOf(parseReal(text.c_str())), bitsOf(value)) << text;
    }
    // Pseudo-random doubles from 2^-19 (above 1e-6: 40 decimals show 17 digits) to DBL_MAX.
    uint64_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        uint64_t bits = state >> 1;
        uint64_t exponent = 1004 + (bits >> 52) % (2047 - 1004);
        double value = fromBits((state & uint64_t{1} << 63) | exponent << 52 |
                                (bits & ((uint64_t{1} << 52) - 1)));
        std::string text = fixed(value, kMaxFixedDecimals);
        ASSERT_EQ(bitsOf(parseReal(text.c_str())), bitsOf(value)) << text;
    }
}

// ---- Integers ----------------------------------------------------------------------------------

// Blanks, sign and decimal digits up to the first other character, accumulated modulo 2^32.
TEST(ParseInt32, DigitsUpToTheFirstOtherCharacterWrapModulo2To32) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"0", 0},
        {"-1", -1},
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"-2147483648", INT32_MIN},
        {"-2147483649", 2147483647},
        {"4294967295", -1},
        {"4294967296", 0},
        {"4294967297", 1},
        {"12345678901234567890", -350287150},
        {"-12345678901234567890", 350287150},
        {" \t\n\v\f\r42", 42},
        {"+7", 7},
        {"-0", 0},
        {"+-5", 0},
        {"-+5", 0},
        {"- 5", 0},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"0012", 12},
        {"1e3", 1},
        {"0x1A", 0},
        {"   -99999999999", -1215752191},
        {"3.99", 3},
        {"2147483648000", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInt32(c.text), c.expected) << c.text;
}

TEST(FormatInt, SignedDecimals) {
    char text[kIntTextSize];
    const struct {
        int32_t value;
        const char* expected;
    } signedCases[] = {{0, "0"},
                       {7, "7"},
                       {-1, "-1"},
                       {2147483647, "2147483647"},
                       {INT32_MIN, "-2147483648"},
                       {-350287150, "-350287150"}};
    for (const auto& c : signedCases) {
        EXPECT_EQ(formatInt32(c.value, text, sizeof text), std::strlen(c.expected));
        EXPECT_STREQ(text, c.expected);
    }
}

TEST(FormatInt, Bounds) {
    char text[kIntTextSize];
    EXPECT_EQ(formatInt32(INT32_MIN, text, 12), 11u);
    EXPECT_EQ(formatInt32(INT32_MIN, text, 11), 0u);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(formatInt32(5, text, 1), 0u);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(formatInt32(5, nullptr, 0), 0u);
}

} // namespace
