// Number texts of the launcher: how reals and integers become text and text becomes numbers.
// "." is the decimal point in every locale, and no C runtime's printf, strtod or atoi is used:
// every platform produces the same digits.
#pragma once

#include <cstddef>
#include <cstdint>

// Room for the fixed-notation text of any double with up to six decimals: a sign, 309 integer
// digits, the point, six decimals and the terminator.
constexpr size_t kFixedTextSize = 320;

// Largest number of decimals formatFixed accepts.
constexpr int kMaxFixedDecimals = 40;

// Writes `value` in fixed notation with `decimals` decimals (0 to kMaxFixedDecimals; 6 is "%f",
// 1 is "%1.1f") into `out`, a buffer of `size` characters, and returns the text's length.
//
// The digits are those of the classic Windows runtime: the exact binary value is rounded half-up
// to 17 significant digits, that digit string is rounded half-up (away from zero) to `decimals`
// decimals, and positions past the 17th significant digit print as 0. So 1.25 with one decimal
// gives "1.3", 0.15 gives "0.1", 1.45 gives "1.5", 1e23 gives "99999999999999992000000.000000";
// a negative zero prints without its sign, a negative value that rounds to zero keeps it.
// Infinities print as "inf" and "-inf", NaN as "nan" (the settings never hold them).
//
// Bounded: when the text and its terminator do not fit `size`, nothing but an empty text is
// written (when size > 0) and 0 is returned; a cut number would be a wrong number.
size_t formatFixed(double value, int decimals, char* out, size_t size);

// Reads a real from the start of `text`: leading blanks (space, \t \n \v \f \r), an optional
// sign, digits with an optional ".", an optional exponent introduced by e, E, d or D with at
// least one digit (a marker without digits is not part of the number); the number ends at the
// first other character. A text with no leading number gives 0.0; inf, nan and hexadecimal
// forms are not numbers. The result is the correctly rounded double (ties to even); too large
// a magnitude gives an infinity of the number's sign, too small a zero of its sign.
// When `consumed` is given it receives the number of characters that made up the number
// (0 when there was none).
double parseReal(const char* text, size_t* consumed = nullptr);

// Reads an integer from the start of `text`: leading blanks, an optional sign, decimal digits
// up to the first other character, accumulated modulo 2^32 with no limit check and read as a
// signed 32-bit value (4294967295 gives -1, 2^32 + 1 gives 1). No leading number gives 0.
int32_t parseInt32(const char* text);

// Writes `value` as a signed decimal ("%d") into `out`; returns the length, or 0 with an empty
// text when `size` is too small. kIntTextSize always suffices.
constexpr size_t kIntTextSize = 12;
size_t formatInt32(int32_t value, char* out, size_t size);
