// Properties of the number texts on any bytes and any bit pattern: the reals' fixed texts are
// well formed, fit their buffers or are refused whole, round as the 17-digit rule says and read
// back exactly; text-to-number agrees with itself on the part it consumed.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "numtext/number_text.h"
#include "settings/launcher_settings.h"
#include "support/real_bits.h"

namespace {

constexpr uint64_t kSignBit = uint64_t{1} << 63;
// Holds the 40-decimal text of any double: sign, 309 digits, point, 40 decimals, terminator.
constexpr size_t kWideTextSize = 352;
// Beneath this magnitude some of the 17 significant digits lie past the 40th decimal.
constexpr double kAllDigitsShown = 1e-22;
// The "%f" text of any float: sign, 39 integer digits, point, six decimals.
constexpr size_t kLongestFloatText = 47;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// An optional '-', integer digits without a superfluous leading zero, and with decimals a '.'
// and exactly that many digits.
bool wellFormedFixed(const std::string& text, int decimals) {
    size_t pos = text.compare(0, 1, "-") == 0 ? 1 : 0;
    const size_t intStart = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    const size_t intDigits = pos - intStart;
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == '0'))
        return false;
    if (decimals == 0)
        return pos == text.size();
    if (pos == text.size() || text[pos] != '.')
        return false;
    ++pos;
    const size_t fracStart = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos == text.size() && pos - fracStart == static_cast<size_t>(decimals);
}

bool wellFormedInt(const std::string& text) {
    const size_t start = text.compare(0, 1, "-") == 0 ? 1 : 0;
    if (start == text.size() || text.size() - start > 10)
        return false;
    for (size_t i = start; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return false;
    }
    return (text[start] != '0' || text.size() == start + 1) && text != "-0";
}

// A well formed fixed text rounded half-up (away from zero) to fewer decimals, on its digits.
std::string roundFixedText(const std::string& text, int decimals) {
    const bool negative = text[0] == '-';
    const std::string body = text.substr(negative ? 1 : 0);
    const size_t point = body.find('.');
    const std::string fraction = body.substr(point + 1);
    std::string digits = body.substr(0, point) + fraction.substr(0, static_cast<size_t>(decimals));
    if (fraction[static_cast<size_t>(decimals)] >= '5') {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(0, "1");
        else
            ++digits[i - 1];
    }
    const size_t intDigits = digits.size() - static_cast<size_t>(decimals);
    std::string out = negative ? "-" : "";
    out += digits.substr(0, intDigits);
    if (decimals > 0)
        out += "." + digits.substr(intDigits);
    return out;
}

// Formats into a block of `size` bytes and checks the contract's bookkeeping; "" on success.
std::string formatInto(double value, int decimals, size_t size, std::string& text) {
    fuzz::GuardedBuffer out(size);
    const size_t length = formatFixed(value, decimals, out.data(), size);
    if (size == 0)
        return length == 0 ? "" : "number: formatFixed claimed a text in no buffer";
    if (!out.terminated() || std::strlen(out.data()) != length)
        return "number: formatFixed's length is not that of its terminated text";
    if (length == 0 && !out.untouchedFrom(1))
        return "number: a refused formatFixed wrote more than the empty text";
    text = out.data();
    return "";
}

// The text at 40 decimals: for |value| >= 1e-22 it shows all 17 significant digits, so it is
// the 17-digit rounding itself and must read back as the very same double.
std::string checkWideText(double value, std::string& wide) {
    std::string failure = formatInto(value, kMaxFixedDecimals, kWideTextSize, wide);
    if (!failure.empty())
        return failure;
    if (!wellFormedFixed(wide, kMaxFixedDecimals))
        return "number: malformed 40-decimal text " + wide;
    if ((wide[0] == '-') != (value < 0))
        return "number: the sign of " + wide + " is wrong";
    if (std::fabs(value) < kAllDigitsShown)
        return "";
    const size_t first = wide.find_first_of("123456789");
    int significant = 0;
    for (size_t i = first; i < wide.size(); ++i) {
        if (wide[i] == '.')
            continue;
        if (++significant > 17 && wide[i] != '0')
            return "number: more than 17 significant digits in " + wide;
    }
    if (bitsOf(parseReal(wide.c_str())) != bitsOf(value))
        return "number: " + wide + " does not read back as the double it was made from";
    return "";
}

std::string checkFixed(double value, int decimals, const std::string& wide, bool isFloat,
                       bool boundaries) {
    std::string text;
    std::string failure = formatInto(value, decimals, kWideTextSize, text);
    if (!failure.empty())
        return failure;
    if (std::isnan(value))
        return text == "nan" ? "" : "number: NaN printed as " + text;
    if (std::isinf(value))
        return text == (value < 0 ? "-inf" : "inf") ? "" : "number: infinity printed as " + text;
    if (!wellFormedFixed(text, decimals))
        return "number: malformed text " + text;
    if ((text[0] == '-') != (value < 0))
        return "number: the sign of " + text + " is wrong";
    if (decimals <= 6 && text.size() + 1 > kFixedTextSize)
        return "number: " + text + " does not fit kFixedTextSize";
    if (isFloat && decimals == 6 && text.size() > kLongestFloatText)
        return "number: the \"%f\" text of a float is longer than 47: " + text;
    if (std::fabs(value) >= kAllDigitsShown) {
        if (text != roundFixedText(wide, decimals))
            return "number: " + text + " is not " + wide + " rounded half-up";
    } else if (decimals <= 21) {
        std::string zero = value < 0 ? "-0" : "0";
        if (decimals > 0)
            zero += "." + std::string(static_cast<size_t>(decimals), '0');
        if (text != zero)
            return "number: a value below 1e-22 printed as " + text;
    }
    if (!boundaries)
        return "";
    // Exactly the needed size fits; one byte less is refused whole; no buffer, no write.
    std::string again;
    failure = formatInto(value, decimals, 0, again);
    if (!failure.empty())
        return failure;
    failure = formatInto(value, decimals, text.size() + 1, again);
    if (!failure.empty())
        return failure;
    if (again != text)
        return "number: " + text + " changed in a buffer of exactly its size";
    failure = formatInto(value, decimals, text.size(), again);
    if (!failure.empty())
        return failure;
    if (!again.empty())
        return "number: " + text + " was written into a buffer too small for it";
    return "";
}

std::string checkReal(double value, int inputDecimals, bool isFloat) {
    std::string wide;
    if (std::isfinite(value)) {
        std::string failure = checkWideText(value, wide);
        if (!failure.empty())
            return failure;
    }
    for (const int decimals : {1, 6, inputDecimals}) {
        // The buffer boundaries do not depend on the decimals: once per value is enough.
        std::string failure = checkFixed(value, decimals, wide, isFloat, decimals == inputDecimals);
        if (!failure.empty())
            return failure;
    }
    return "";
}

std::string checkParseReal(const std::string& text) {
    size_t consumed = kWideTextSize;
    const double value = parseReal(text.c_str(), &consumed);
    if (consumed > text.size())
        return "number: parseReal consumed more than the text";
    if (value != value)
        return "number: parseReal gave NaN";
    if (bitsOf(parseReal(text.c_str())) != bitsOf(value))
        return "number: parseReal depends on whether `consumed` is asked for";
    if (consumed == 0)
        return bitsOf(value) == 0 ? "" : "number: no number, yet parseReal is not +0.0";
    const std::string prefix = text.substr(0, consumed);
    size_t again = 0;
    if (bitsOf(parseReal(prefix.c_str(), &again)) != bitsOf(value) || again != consumed)
        return "number: the consumed part alone reads differently: " + prefix;

    // The same number with the other sign is the exact negation.
    size_t signAt = 0;
    while (isBlank(prefix[signAt]))
        ++signAt;
    std::string flipped = prefix;
    if (prefix[signAt] == '-')
        flipped[signAt] = '+';
    else if (prefix[signAt] == '+')
        flipped[signAt] = '-';
    else
        flipped.insert(signAt, "-");
    if (bitsOf(parseReal(flipped.c_str())) != (bitsOf(value) ^ kSignBit))
        return "number: the sign changes the magnitude of " + prefix;

    // A plain integer of up to 15 digits reads exactly as a real, and as an integer it must be
    // that value modulo 2^32.
    const size_t digitsAt = prefix[signAt] == '-' || prefix[signAt] == '+' ? signAt + 1 : signAt;
    const std::string digits = prefix.substr(digitsAt);
    const size_t significant =
        digits.size() - std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.find_first_not_of("0123456789") == std::string::npos && significant <= 15) {
        uint32_t wrapped = static_cast<uint32_t>(static_cast<uint64_t>(std::fabs(value)));
        if (prefix[signAt] == '-')
            wrapped = 0u - wrapped;
        if (static_cast<uint32_t>(parseInt32(text.c_str())) != wrapped)
            return "number: parseInt32 is not the integer parseReal reads, modulo 2^32: " + prefix;
    }
    return "";
}

std::string checkInt(int32_t value) {
    fuzz::GuardedBuffer out(kIntTextSize);
    const size_t length = formatInt32(value, out.data(), out.size());
    if (!out.terminated() || std::strlen(out.data()) != length)
        return "number: an integer text's length is not that of its terminated text";
    const std::string text = out.data();
    if (!wellFormedInt(text))
        return "number: malformed integer text " + text;
    if (parseInt32(text.c_str()) != value)
        return "number: " + text + " does not read back";
    fuzz::GuardedBuffer tight(length);
    const size_t refused = formatInt32(value, tight.data(), tight.size());
    if (refused != 0 || (length > 0 && tight.data()[0] != '\0'))
        return "number: " + text + " was written into a buffer too small for it";
    return "";
}

std::string checkParseInt(const std::string& text) {
    const int32_t value = parseInt32(text.c_str());
    // Digits beyond the last 32 are multiples of 10^32, itself a multiple of 2^32.
    size_t pos = 0;
    while (isBlank(text[pos]))
        ++pos;
    const std::string sign = text[pos] == '-' || text[pos] == '+' ? text.substr(pos++, 1) : "";
    size_t end = pos;
    while (isDigit(text[end]))
        ++end;
    if (end - pos > 32) {
        const std::string shorter = sign + text.substr(end - 32, 32);
        if (parseInt32(shorter.c_str()) != value)
            return "number: parseInt32 is not modulo 2^32 on " + text.substr(0, 60);
    }
    return checkInt(value);
}

} // namespace

std::string checkNumberText(const uint8_t* data, size_t size) {
    fuzz::ByteReader reader(data, size);
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 8 | reader.byte();
    const int decimals = reader.byte() % (kMaxFixedDecimals + 1);
    const double fromInput = fromBits(bits);

    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string text = raw.substr(0, raw.find('\0'));
    std::string failure = checkParseReal(text);
    if (failure.empty())
        failure = checkParseInt(text);
    if (failure.empty())
        failure = checkReal(fromInput, decimals, false);
    if (failure.empty())
        failure = checkReal(static_cast<double>(storedReal(fromInput)), decimals, true);
    if (failure.empty())
        failure = checkReal(parseReal(text.c_str()), decimals, false);
    return failure;
}
