// The settings file's encodings: what is turned into a form the profile functions read, under a
// Western (1252) and a Japanese (932) code page, and what is never touched.
#include <gtest/gtest.h>

#include <string>

#include "ini/ini_encoding.h"

using namespace std::string_literals;

namespace {

// Stand-ins for the platform's conversion: 1252 as Latin-1 with the euro sign at 0x80; 932 as
// ASCII and two characters whose second byte is a backslash (0x5C). "" for no exact form.
std::string in1252(char16_t c) {
    if (c == u'€')
        return "\x80";
    return c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? std::string(1, char(c)) : "";
}
std::string in932(char16_t c) {
    return c < 0x80     ? std::string(1, char(c))
           : c == u'表' ? "\x95\x5C"
           : c == u'ソ' ? "\x83\x5C"
                        : "";
}
template <std::string (*Form)(char16_t)>
bool standIn(const char16_t* text, size_t length, char* out, size_t size, size_t* written) {
    std::string bytes;
    for (size_t i = 0; i < length; ++i) {
        const std::string one = Form(text[i]);
        if (one.empty())
            return false;
        bytes += one;
    }
    *written = bytes.copy(out, size);
    return bytes.size() <= size;
}
const AnsiCodePage kWestern{true, standIn<in1252>};
const AnsiCodePage kJapanese{false, standIn<in932>};

struct EncodingRow {
    const char* what;
    const AnsiCodePage& codePage;
    std::string before;
    std::string after; // "" when the file is left as it is (or left empty)
    bool changed = !after.empty();
};

const EncodingRow kEncodingRows[] = {
    {"UTF-8 without a mark", kWestern, "[main]\r\nromPath=C:\\Café\r\n",
     "[main]\r\nromPath=C:\\Caf\xE9\r\n"},
    {"UTF-8 with its mark", kWestern, "\xEF\xBB\xBF[main]\r\nscale=4\r\n", "[main]\r\nscale=4\r\n"},
    {"the euro sign", kWestern, "k=5 €", "k=5 \x80"},
    {"outside the code page", kWestern, "k=Ж😀", "\xFF\xFEk\0=\0\x16\x04\x3D\xD8\x00\xDE"s},
    {"UTF-8 with its mark, double-byte", kJapanese, "\xEF\xBB\xBFk=表ソ", "k=\x95\x5C\x83\x5C"},
    {"UTF-8 with its mark, outside 932", kJapanese, "\xEF\xBB\xBFk=é", "\xFF\xFEk\0=\0\xE9\0"s},
    {"a mark alone", kWestern, "\xEF\xBB\xBF", "", true},
    {"UTF-16 BE", kWestern, "\xFE\xFF\0k\0=\x04\x16"s, "\xFF\xFEk\0=\0\x16\x04"s},
    // Never touched:
    {"UTF-8 without a mark, double-byte", kJapanese, "k=表", ""},
    {"ANSI (the launcher's own file)", kWestern, "[main]\r\nromPath=C:\\Caf\xE9\r\n", ""},
    {"pure ASCII", kWestern, "[main]\r\nscale=4\r\n", ""},
    {"UTF-16 LE", kWestern, "\xFF\xFEk\0=\0\x16\x04"s, ""},
    {"UTF-16 BE cut in a character", kWestern, "\xFE\xFF\0k\0"s, ""},
    {"invalid UTF-8 after a mark", kWestern, "\xEF\xBB\xBFk=\xE9", ""},
    {"overlong UTF-8", kWestern, "k=\xC0\xAF", ""},
    {"a surrogate in UTF-8", kWestern, "k=\xED\xA0\x80", ""},
    {"UTF-8 cut in a character", kWestern, "k=\xC3", ""},
};

TEST(IniEncoding, ConvertsWhatTheProfileFunctionsCannotReadAndNothingElse) {
    for (const EncodingRow& row : kEncodingRows) {
        SCOPED_TRACE(row.what);
        ByteText out;
        const bool changed =
            iniTextInReadableEncoding(row.before.data(), row.before.size(), row.codePage, out);
        EXPECT_EQ(row.changed, changed);
        EXPECT_EQ(row.after, changed ? std::string(out.bytes.get(), out.size) : "");
    }
}

} // namespace
