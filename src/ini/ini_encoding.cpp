// The settings file's encodings: UTF-8 and big-endian UTF-16 turned, without loss, into a form
// the profile functions read.
#include "ini/ini_encoding.h"

#include <cstring>
#include <utility>

namespace {

unsigned char byteAt(const char* data, size_t at) {
    return static_cast<unsigned char>(data[at]);
}

bool startsWithMark(const char* data, size_t size, const char* mark, size_t markSize) {
    return size >= markSize && std::memcmp(data, mark, markSize) == 0;
}

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16LeMark[] = "\xFF\xFE";
const char kUtf16BeMark[] = "\xFE\xFF";

// The length of the UTF-8 sequence at `data`, its code point in `codePoint`; 0 when it is not
// the shortest form of a code point outside the surrogates (such bytes are no one's UTF-8).
size_t utf8Sequence(const char* data, size_t size, char32_t* codePoint) {
    const unsigned char lead = byteAt(data, 0);
    size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (length > size) {
        return 0;
    }
    char32_t value = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(data, i);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *codePoint = value;
    return length;
}

// The UTF-16 units of UTF-8 text into `out` (room for `size` units, never more than the text
// needs); false when the text is not valid UTF-8.
bool utf16FromUtf8(const char* data, size_t size, char16_t* out, size_t* units, bool* multiByte) {
    *units = 0;
    *multiByte = false;
    for (size_t at = 0; at < size;) {
        char32_t codePoint = 0;
        const size_t length = utf8Sequence(data + at, size - at, &codePoint);
        if (length == 0) {
            return false;
        }
        at += length;
        if (length > 1) {
            *multiByte = true;
        }
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            out[(*units)++] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
            out[(*units)++] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            out[(*units)++] = static_cast<char16_t>(codePoint);
        }
    }
    return true;
}

bool utf16LittleEndian(const char16_t* units, size_t count, ByteText& out) {
    out.bytes = newText(2 + 2 * count);
    if (out.bytes == nullptr) {
        return false;
    }
    std::memcpy(out.bytes.get(), kUtf16LeMark, 2);
    for (size_t i = 0; i < count; ++i) {
        out.bytes[2 + 2 * i] = static_cast<char>(units[i] & 0xFF);
        out.bytes[3 + 2 * i] = static_cast<char>(units[i] >> 8);
    }
    out.size = 2 + 2 * count;
    return true;
}

// Each pair of bytes swapped, the mark included: FE FF becomes FF FE.
bool swappedToLittleEndian(const char* data, size_t size, ByteText& out) {
    if (size % 2 != 0) {
        return false; // half a character at the end: not a whole UTF-16 text
    }
    out.bytes = newText(size);
    if (out.bytes == nullptr) {
        return false;
    }
    for (size_t i = 0; i < size; i += 2) {
        out.bytes[i] = data[i + 1];
        out.bytes[i + 1] = data[i];
    }
    out.size = size;
    return true;
}

bool fromUtf8(const char* data, size_t size, bool marked, const AnsiCodePage& codePage,
              ByteText& out) {
    // A UTF-8 text never needs more UTF-16 units than it has bytes.
    OwnedText unitSpace = newText(2 * size + 2);
    if (unitSpace == nullptr) {
        return false;
    }
    char16_t* units = reinterpret_cast<char16_t*>(unitSpace.get());
    size_t count = 0;
    bool multiByte = false;
    if (!utf16FromUtf8(data, size, units, &count, &multiByte) || (!marked && !multiByte)) {
        return false;
    }
    // The longest ANSI form is UTF-8 as the code page: at most 3 bytes for each unit.
    const size_t ansiSize = 3 * count + 1;
    OwnedText ansi = newText(ansiSize);
    size_t written = 0;
    if (count == 0) {
        out.bytes = std::move(ansi);
        out.size = 0;
        return out.bytes != nullptr;
    }
    if (ansi != nullptr && codePage.fromUtf16 != nullptr &&
        codePage.fromUtf16(units, count, ansi.get(), ansiSize, &written) && written <= ansiSize) {
        out.bytes = std::move(ansi);
        out.size = written;
        return true;
    }
    // A character the code page lacks: UTF-16 keeps it, and the profile functions read and
    // write that file in UTF-16 from then on.
    return utf16LittleEndian(units, count, out);
}

} // namespace

bool iniTextInReadableEncoding(const char* data, size_t size, const AnsiCodePage& codePage,
                               ByteText& out) {
    out.bytes = nullptr;
    out.size = 0;
    if (data == nullptr || size > kLargestConvertedFile ||
        startsWithMark(data, size, kUtf16LeMark, 2)) {
        return false;
    }
    if (startsWithMark(data, size, kUtf16BeMark, 2)) {
        return swappedToLittleEndian(data, size, out);
    }
    if (startsWithMark(data, size, kUtf8Mark, 3)) {
        return fromUtf8(data + 3, size - 3, true, codePage, out);
    }
    // Without a mark, UTF-8 is only a guess; under a double-byte code page the file's bytes are
    // as likely that code page's own characters.
    return codePage.singleByte && fromUtf8(data, size, false, codePage, out);
}
