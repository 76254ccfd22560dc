// Exact decimal values of binary doubles by schoolbook arithmetic in base 10^9.
#include "property_exact.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace prop {
namespace {

constexpr uint32_t kBase = 1000000000;
constexpr int kLimbDigits = 9;
using Big = std::vector<uint32_t>; // little-endian limbs of kBase

void multiplySmall(Big& n, uint32_t factor) {
    uint64_t carry = 0;
    for (uint32_t& limb : n) {
        uint64_t x = uint64_t(limb) * factor + carry;
        limb = static_cast<uint32_t>(x % kBase);
        carry = x / kBase;
    }
    for (; carry != 0; carry /= kBase)
        n.push_back(static_cast<uint32_t>(carry % kBase));
}

// Every m * 2^e the test meets needs one power of two (e >= 0) or of five (e < 0, the value
// being m * 5^-e / 10^-e); tabulating them turns each expansion into one short multiplication.
constexpr int kMaxPower = 1100;

struct PowerTables {
    std::vector<Big> two;
    std::vector<Big> five;
};

const PowerTables& powers() {
    static const PowerTables tables = [] {
        PowerTables t;
        Big two{1};
        Big five{1};
        for (int k = 0; k <= kMaxPower; ++k) {
            t.two.push_back(two);
            t.five.push_back(five);
            multiplySmall(two, 2);
            multiplySmall(five, 5);
        }
        return t;
    }();
    return tables;
}

std::string digitsOf(const Big& n) {
    std::string text;
    size_t top = n.size();
    while (top > 0 && n[top - 1] == 0)
        --top;
    if (top == 0)
        return text;
    text.reserve(top * kLimbDigits);
    for (size_t i = top; i-- > 0;) {
        char limb[kLimbDigits];
        uint32_t value = n[i];
        for (int k = kLimbDigits - 1; k >= 0; --k, value /= 10)
            limb[k] = static_cast<char>('0' + value % 10);
        size_t skip = 0;
        if (i == top - 1)
            while (limb[skip] == '0')
                ++skip;
        text.append(limb + skip, limb + kLimbDigits);
    }
    return text;
}

// Adds one unit in the last place; false when the carry runs out of the front (all nines).
bool increment(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

} // namespace

void normalize(Decimal& value) {
    size_t lead = value.digits.find_first_not_of('0');
    if (lead == std::string::npos) {
        value.digits.clear();
        value.point = 0;
        return;
    }
    value.digits.erase(0, lead);
    value.point -= static_cast<int>(lead);
    value.digits.erase(value.digits.find_last_not_of('0') + 1);
}

Decimal exactValue(uint64_t m, int e) {
    if (e > kMaxPower || e < -kMaxPower)
        throw std::out_of_range("binary exponent beyond the power tables");
    Decimal result;
    if (m == 0)
        return result;
    const Big& power = e >= 0 ? powers().two[e] : powers().five[-e];
    const uint32_t factor[3] = {static_cast<uint32_t>(m % kBase),
                                static_cast<uint32_t>(m / kBase % kBase),
                                static_cast<uint32_t>(m / kBase / kBase)};
    Big product(power.size() + 4, 0);
    for (size_t j = 0; j < 3; ++j) {
        if (factor[j] == 0)
            continue;
        uint64_t carry = 0;
        size_t i = 0;
        for (; i < power.size(); ++i) {
            uint64_t x = uint64_t(power[i]) * factor[j] + product[i + j] + carry;
            product[i + j] = static_cast<uint32_t>(x % kBase);
            carry = x / kBase;
        }
        for (i += j; carry != 0; ++i) {
            uint64_t x = product[i] + carry;
            product[i] = static_cast<uint32_t>(x % kBase);
            carry = x / kBase;
        }
    }
    result.digits = digitsOf(product);
    result.point = static_cast<int>(result.digits.size()) + (e < 0 ? e : 0);
    normalize(result);
    return result;
}

namespace {

void split(uint64_t bits, uint64_t& m, int& e) {
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    const int field = static_cast<int>((bits >> 52) & 0x7ff);
    m = field == 0 ? fraction : fraction | (uint64_t(1) << 52);
    e = field == 0 ? -1074 : field - 1075;
}

} // namespace

Decimal exactDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint64_t m;
    int e;
    split(bits & ~(uint64_t(1) << 63), m, e);
    return exactValue(m, e);
}

Decimal midpointAbove(uint64_t bits) {
    uint64_t m;
    int e;
    split(bits, m, e);
    return exactValue(2 * m + 1, e - 1);
}

int compare(const Decimal& a, const Decimal& b) {
    if (a.digits.empty() || b.digits.empty())
        return int(!a.digits.empty()) - int(!b.digits.empty());
    if (a.point != b.point)
        return a.point < b.point ? -1 : 1;
    int order = a.digits.compare(b.digits);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::string expectedFixed(const Decimal& magnitude, bool negative, int decimals) {
    std::string digits = magnitude.digits;
    int point = magnitude.point;
    // Only the 18th significant digit decides the first rounding.
    if (digits.size() > 17) {
        const bool up = digits[17] >= '5';
        digits.resize(17);
        if (up && !increment(digits)) {
            digits = "1";
            ++point;
        }
    }
    // The second rounding keeps `keep` digits of that string, zeros standing in past its end.
    const int keep = decimals + point;
    if (digits.empty() || keep < 0) {
        digits.clear();
        point = 0;
    } else {
        const char next = size_t(keep) < digits.size() ? digits[keep] : '0';
        digits.resize(size_t(keep), '0');
        if (next >= '5' && !increment(digits)) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }
    auto digitAt = [&](int index) {
        return index >= 0 && size_t(index) < digits.size() ? digits[index] : '0';
    };
    std::string text;
    if (negative && !magnitude.digits.empty())
        text += '-';
    if (point <= 0)
        text += '0';
    for (int i = 0; i < point; ++i)
        text += digitAt(i);
    if (decimals > 0)
        text += '.';
    for (int j = 0; j < decimals; ++j)
        text += digitAt(point + j);
    return text;
}

} // namespace prop
