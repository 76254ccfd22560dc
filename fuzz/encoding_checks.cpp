// Properties of the settings file's encoding rules on any bytes, under three stand-in code pages:
// the rules convert exactly the files they name and leave every other one alone, and a converted
// file holds the characters the rules read in the input, in the form the code page calls for.
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "ini/ini_encoding.h"

namespace {

// ---- The rules' reading of the input, derived independently of the product -----------------

// The well-formed UTF-8 byte sequences, as the Unicode standard tables them: each row's lead
// bytes and the range of the byte after the lead (every further byte is 80..BF).
struct Utf8Row {
    unsigned char leadFrom, leadTo, secondFrom, secondTo;
    size_t length;
};
const Utf8Row kUtf8Rows[] = {
    {0x00, 0x7F, 0, 0, 1},       {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
    {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3},
    {0xF0, 0xF0, 0x90, 0xBF, 4}, {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
};

const Utf8Row* rowOf(unsigned char lead) {
    for (const Utf8Row& row : kUtf8Rows) {
        if (lead >= row.leadFrom && lead <= row.leadTo)
            return &row;
    }
    return nullptr;
}

// The code points of well-formed UTF-8; false for any other bytes.
bool decodeUtf8(std::string_view bytes, std::u32string& out) {
    out.clear();
    for (size_t at = 0; at < bytes.size();) {
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
        const Utf8Row* row = rowOf(byte(0));
        if (row == nullptr || bytes.size() - at < row->length)
            return false;
        char32_t point = row->length == 1 ? byte(0) : byte(0) & (0xFF >> (row->length + 1));
        for (size_t i = 1; i < row->length; ++i) {
            const unsigned char from = i == 1 ? row->secondFrom : 0x80;
            const unsigned char to = i == 1 ? row->secondTo : 0xBF;
            if (byte(i) < from || byte(i) > to)
                return false;
            point = point << 6 | (byte(i) & 0x3F);
        }
        out += point;
        at += row->length;
    }
    return true;
}

std::u16string utf16Of(const std::u32string& text) {
    std::u16string units;
    for (const char32_t point : text) {
        if (point < 0x10000) {
            units += static_cast<char16_t>(point);
        } else {
            units += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return units;
}

enum class Form { Untouched, BigEndianSwapped, FromUtf8 };

bool startsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

// What the rules make of `bytes`, and for UTF-8 the characters they read in it.
Form expectedForm(std::string_view bytes, bool singleByte, std::u32string& text) {
    if (startsWith(bytes, "\xFF\xFE"))
        return Form::Untouched;
    if (startsWith(bytes, "\xFE\xFF"))
        return bytes.size() % 2 == 0 ? Form::BigEndianSwapped : Form::Untouched;
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return decodeUtf8(bytes.substr(3), text) ? Form::FromUtf8 : Form::Untouched;
    if (!singleByte || !decodeUtf8(bytes, text))
        return Form::Untouched;
    for (const char32_t point : text) {
        if (point >= 0x80)
            return Form::FromUtf8;
    }
    return Form::Untouched;
}

// ---- Stand-in code pages ---------------------------------------------------------------------

// Latin-1: one byte per character up to U+00FF, none above.
bool latin1FromUtf16(const char16_t* text, size_t length, char* out, size_t size, size_t* written) {
    if (length > size)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] > 0xFF)
            return false;
        out[i] = static_cast<char>(text[i]);
    }
    *written = length;
    return true;
}

bool latin1Reads(std::string_view bytes, std::u32string& out) {
    out.clear();
    for (const char c : bytes)
        out += static_cast<unsigned char>(c);
    return true;
}

// UTF-8 as the code page (not single-byte): every character has its form.
bool utf8FromUtf16(const char16_t* text, size_t length, char* out, size_t size, size_t* written) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) {
        char32_t point = text[i];
        if (point >= 0xD800 && point <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (point >= 0xD800 && point <= 0xDFFF)
            return false;
        if (point < 0x80) {
            bytes += static_cast<char>(point);
            continue;
        }
        static const unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
        const int trail = point < 0x800 ? 1 : point < 0x10000 ? 2 : 3;
        bytes += static_cast<char>(kLeads[trail] | (point >> (6 * trail)));
        for (int k = trail - 1; k >= 0; --k)
            bytes += static_cast<char>(0x80 | ((point >> (6 * k)) & 0x3F));
    }
    if (bytes.size() > size)
        return false;
    std::memcpy(out, bytes.data(), bytes.size());
    *written = bytes.size();
    return true;
}

bool noAnsiReads(std::string_view bytes, std::u32string& out) {
    out.clear();
    return bytes.empty();
}

struct StandIn {
    const char* name;
    AnsiCodePage codePage;
    bool (*reads)(std::string_view ansi, std::u32string& text); // the code page's bytes read back
    char32_t formsBelow; // the characters it has a form for: every one below this
};

const StandIn kStandIns[] = {
    {"Latin-1", {true, latin1FromUtf16}, latin1Reads, 0x100},
    {"UTF-8", {false, utf8FromUtf16}, decodeUtf8, 0x110000},
    {"no conversion", {true, nullptr}, noAnsiReads, 0},
};

// ---- Checks ---------------------------------------------------------------------------------

std::string checkConverted(std::string_view in, Form form, const std::u32string& text,
                           const StandIn& page, std::string_view out) {
    if (form == Form::BigEndianSwapped) {
        bool swapped = out.size() == in.size();
        for (size_t i = 0; swapped && i < in.size(); ++i)
            swapped = out[i] == in[i ^ 1];
        return swapped ? "" : "UTF-16 BE is not the same units in little-endian order";
    }
    bool everyCharacterHasAForm = true;
    for (const char32_t point : text)
        everyCharacterHasAForm = everyCharacterHasAForm && point < page.formsBelow;
    if (text.empty() || everyCharacterHasAForm) {
        std::u32string read;
        if (!page.reads(out, read) || read != text)
            return "the ANSI text does not hold the characters read in the input";
        return "";
    }
    const std::u16string units = utf16Of(text);
    std::string expected = "\xFF\xFE";
    for (const char16_t unit : units) {
        expected += static_cast<char>(unit & 0xFF);
        expected += static_cast<char>(unit >> 8);
    }
    return out == expected ? "" : "the UTF-16 text does not hold the characters read in the input";
}

std::string checkUnder(std::string_view in, const StandIn& page) {
    std::u32string text;
    const Form form = expectedForm(in, page.codePage.singleByte, text);
    ByteText out;
    const bool changed = iniTextInReadableEncoding(in.data(), in.size(), page.codePage, out);
    std::string failure;
    if (changed != (form != Form::Untouched))
        failure = changed ? "a file the rules leave alone was converted"
                          : "a file the rules convert was left as it is";
    else if (!changed && (out.bytes != nullptr || out.size != 0))
        failure = "a file left alone came with new bytes";
    else if (changed && out.bytes == nullptr)
        failure = "a converted file came without its bytes";
    else if (changed)
        failure = checkConverted(in, form, text, page, std::string_view(out.bytes.get(), out.size));
    return failure.empty() ? "" : std::string("encoding (") + page.name + "): " + failure;
}

} // namespace

std::string checkIniEncoding(const uint8_t* data, size_t size) {
    // A block of exactly the input's size, so that a read past its end trips AddressSanitizer.
    const std::unique_ptr<char[]> bytes(new char[size]);
    if (size > 0)
        std::memcpy(bytes.get(), data, size);
    const std::string_view in(bytes.get(), size);
    for (const StandIn& page : kStandIns) {
        std::string failure = checkUnder(in, page);
        if (!failure.empty())
            return failure;
    }
    if (std::memcmp(bytes.get(), data, size) != 0)
        return "encoding: the input's bytes were changed";
    return "";
}
