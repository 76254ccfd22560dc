// Tests of our INI reader/writer against the profile functions' known results, and of the
// profile-file seam on a real temporary directory.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "ini/ini_text.h"
#include "ini/profile_file.h"
#include "support/temp_dir.h"

using namespace std::string_literals;

namespace {

std::string readValue(const std::string& data, const char* section, const char* key,
                      const char* fallback, size_t n, size_t* length = nullptr) {
    std::vector<char> out(n + 1, '#');
    const size_t got =
        iniReadValue(data.data(), data.size(), section, key, fallback, out.data(), n);
    if (length)
        *length = got;
    return n == 0 ? std::string(out.data(), 1) : std::string(out.data());
}

const std::string kF1 = "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n"
                        "[section2]\r\n";
const std::string kTrailingNul = "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n\0"s;
const std::string kEmptySection =
    "\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n=val_no_key\r\n[t]\r\n";

struct ReadRow {
    std::string file;
    const char* section;
    const char* key;
    const char* fallback;
    size_t n;
    size_t length;
    const char* text; // n == 0: the one byte of the untouched buffer
};

const ReadRow kReadRows[] = {
    {kF1, "section1", "name1", "default", 260, 4, "val1"},
    {kF1, "section1", "NaMe1", "default", 260, 4, "val1"},
    {kF1, "SECTION1", "name2", "default", 260, 4, "val2"},
    {kF1, "section1", "name4", "default", 260, 1, "a"},
    {kF1, "section1", "notakey", "default", 260, 7, "default"},
    {kF1, "notasection", "name1", "default", 260, 7, "default"},
    {kF1, "section2", "DoesntExist", "", 260, 0, ""},
    {kF1, "section1", "name1", "default", 4, 3, "val"},
    {kF1, "section1", "name1", "default", 5, 4, "val1"},
    {kF1, "section1", "name4", "default", 1, 0, ""},
    {kF1, "section1", "name1", "default", 0, 0, "#"},
    {kF1, "", "name1", "default", 260, 7, "default"},
    {kF1, "section1", "", "default", 260, 7, "default"},
    {kF1, "", "name1", nullptr, 260, 0, ""},
    {kF1, "", "name1", "default  ", 260, 7, "default"},
    {kF1, "", "name1", "one two  ", 260, 7, "one two"},
    {kF1, "section1", "name3", "default", 260, 7, "default"},
    {kF1, "section1", "name1", "default", 3, 2, "va"},
    {"", "section1", "name1", "default", 260, 7, "default"},
    {"[Test]\nProfileInt=123\n", "Test", "ProfileInt", "", 260, 3, "123"},
    {kTrailingNul, "s", "name2", "d", 260, 0, ""},
    {kTrailingNul, "s", "name3", "d", 260, 1, "d"},
    {kTrailingNul, "s", "name4", "d", 260, 4, "val4"},
    {kEmptySection, "", "key", "d", 260, 13, "val_e_section"},
    {kEmptySection, "s", "", "d", 260, 10, "val_no_key"},
    // Blanks: the file side loses space/TAB/VT, the arguments only spaces.
    {"[s]\r\nk= v \r\n", "s", "k", "d", 260, 1, "v"},
    {"[s]\r\nk=\tv\t\r\n", "s", "k", "d", 260, 1, "v"},
    {"[s]\r\nk=\vv\v\r\n", "s", "k", "d", 260, 1, "v"},
    {"[s]\r\n k =v\r\n", "s", "k", "d", 260, 1, "v"},
    {"[s]\r\n\tk\t=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"[s]\r\n\vk\v=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"[ x ]\r\nk=v\r\n", "x", "k", "d", 260, 1, "v"},
    {"[\tx\v]\r\nk=v\r\n", "x", "k", "d", 260, 1, "v"},
    {" [s]\r\nk=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"\t[s]\r\nk=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"\v[s]\r\nk=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"\r\n\n\r[s]\r\nk=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"[s]\r\nk=v\r\n", "  s  ", "  k  ", "d", 260, 1, "v"},
    {"[s]\r\nk=v\r\n", "\ts", "k", "d", 260, 1, "d"},
    {"[s]\r\nk=v\r\n", "s", "k\t", "d", 260, 1, "d"},
    {"[s]\r\nk=v\r\n", "s", "k\v", "d", 260, 1, "d"},
    {"[s]\r\nk=v\r\n", "s", "k\r", "d", 260, 1, "d"},
    {"[s]\r\nk=v\r\n", "s", "\nk", "d", 260, 1, "d"},
    {"", "s", "k", "   def   ", 260, 6, "   def"},
    {"", "s", "k", "\tdef\t", 260, 5, "\tdef\t"},
    // Quotes: one outer pair of the same kind, after the blanks are gone.
    {"[s]\r\nk=  \"   abc   \"  \r\n", "s", "k", "d", 260, 9, "   abc   "},
    {"[s]\r\nk=  '   abc   '  \r\n", "s", "k", "d", 260, 9, "   abc   "},
    {"[s]\r\nk=\"'abc'\"\r\n", "s", "k", "d", 260, 5, "'abc'"},
    {"[s]\r\nk='\"abc\"'\r\n", "s", "k", "d", 260, 5, "\"abc\""},
    {"[s]\r\nk=\"\"abc\"\"\r\n", "s", "k", "d", 260, 5, "\"abc\""},
    {"[s]\r\nk=  \"   abc   '  \r\n", "s", "k", "d", 260, 11, "\"   abc   '"},
    {"[s]\r\nk='\"abc'\"\r\n", "s", "k", "d", 260, 7, "'\"abc'\""},
    {"[s]\r\nk=\"abc\r\n", "s", "k", "d", 260, 4, "\"abc"},
    {"[s]\r\nk=\"\r\n", "s", "k", "d", 260, 1, "\""},
    {"[s]\r\nk=\"\"\r\n", "s", "k", "d", 260, 0, ""},
    {"[s]\r\n\"k\"=v", "s", "\"k\"", "d", 260, 1, "v"},
    {"[s]\r\n\"k\"=v", "s", "k", "d", 260, 1, "d"},
    {"[\"s\"]\r\nk=v", "s", "k", "d", 260, 1, "d"},
    {"[\"s\"]\r\nk=v", "\"s\"", "k", "d", 260, 1, "v"},
    // Comments, odd lines, duplicates and headers.
    {"[s]\r\n;k=v\r\n", "s", "k", "d", 260, 1, "d"},
    {"[s]\r\n;k=v\r\n", "s", ";k", "d", 260, 1, "d"},
    {"[s]\r\n ;k=v\r\n", "s", ";k", "d", 260, 1, "d"},
    {"[s]\r\n\t;k=v\r\n", "s", "k", "d", 260, 1, "d"},
    {"[s]\r\nk=;x\r\n", "s", "k", "d", 260, 2, ";x"},
    {"[s]\r\n#k=v\r\n", "s", "#k", "d", 260, 1, "v"},
    {"[s]\r\nk=v1\r\nk=v2", "s", "k", "d", 260, 2, "v1"},
    {"[s]\r\n[s]\r\nk=v", "s", "k", "d", 260, 1, "d"},
    {"k=v\r\n[s]\r\nk2=v2\r\n", "", "k", "d", 260, 1, "d"},
    {"k=v\r\n[s]\r\nk2=v2\r\n", " ", "k", "d", 260, 1, "d"},
    {"[]\r\nk=v\r\n", "", "k", "d", 260, 1, "v"},
    {"[s]k=v\r\n", "s", "k", "d", 260, 1, "d"},
    {"s]\r\nk=v\r\n", "s", "k", "d", 260, 1, "d"},
    {"[s   \r\nk=v\r\n", "s", "k", "d", 260, 1, "v"},
    {"[sec]whoops]\r\nk=v\r\n", "sec", "k", "d", 260, 1, "v"},
    {"[sec]whoops]\r\nk=v\r\n", "sec]whoops", "k", "d", 260, 1, "d"},
    {"[sec]x]\r\nk=v\r\n", "sec]x", "k", "d", 260, 1, "d"},
    {"[s]\r\nk=\r\n", "s", "k", "def", 260, 0, ""},
    {"[s]\r\nk\r\n", "s", "k", "def", 260, 3, "def"},
    {"[s]\r\n=v\r\n", "s", "  ", "def", 260, 1, "v"},
    {"\xEF\xBB\xBF[s]\r\nk=v\r\n[s2]\r\nk2=v2\r\n", "s", "k", "d", 260, 1, "d"},
    {"\xEF\xBB\xBF[s]\r\nk=v\r\n[s2]\r\nk2=v2\r\n", "s2", "k2", "d", 260, 2, "v2"},
    // Bytes a hand edit can leave behind.
    {"[s]\r\nk=a\0b\r\n"s, "s", "k", "d", 260, 1, "a"},
    {"\0\xff[s]\r\nk=0\r\n\0=\r\n[s]\r\nk=v"s, "s", "k", "d", 260, 1, "v"},
    {"[main]", "main", "k", "d", 260, 1, "d"},
    {"[main]\r\nk", "main", "k", "d", 260, 1, "d"},
    {"[main]\r\nk=", "main", "k", "d", 260, 0, ""},
    {"[", "", "k", "d", 260, 1, "d"},
};

// CRLF, LF and a lone CR are the same line break to the reader.
std::string withLineBreak(const std::string& text, const char* lineBreak) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            out += lineBreak;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(IniRead, GivesThePlatformResults) {
    for (const char* lineBreak : {"\r\n", "\n", "\r"}) {
        for (const ReadRow& row : kReadRows) {
            const std::string file = withLineBreak(row.file, lineBreak);
            size_t length = 99;
            const std::string text =
                readValue(file, row.section, row.key, row.fallback, row.n, &length);
            SCOPED_TRACE(testing::Message()
                         << "file \"" << testing::PrintToString(file) << "\" section \""
                         << row.section << "\" key \"" << row.key << "\" n " << row.n);
            EXPECT_EQ(length, row.length);
            EXPECT_EQ(text, row.text);
        }
    }
}

struct WriteCall {
    const char* section;
    const char* key;
    const char* value;
};

struct WriteRow {
    std::string before;
    std::vector<WriteCall> calls;
    std::string after;
};

const WriteRow kWriteRows[] = {
    {"", {{"App", "key", "string"}}, "[App]\r\nkey=string\r\n"},
    {"", {{"App", "key", ""}}, "[App]\r\nkey=\r\n"},
    {"",
     {{"App1", "key1", "string1"},
      {"App1", "key2", "string2"},
      {"App1", "key3", "string3"},
      {"App2", "key4", "string4"},
      {"App3", "key5", "string5"}},
     "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
     "[App3]\r\nkey5=string5\r\n"},
    {"",
     {{"s", "z", ""}, {"s", "a", ""}, {"s", "y", ""}, {"s", "b", ""}},
     "[s]\r\nz=\r\na=\r\ny=\r\nb=\r\n"},
    {"[s]\r\nb=value\r\na=value\r\n",
     {{"s", "z", ""}, {"s", "b", ""}, {"s", "y", ""}, {"s", "a", ""}},
     "[s]\r\nb=\r\na=\r\nz=\r\ny=\r\n"},
    {"Data \0 before \0 first \0 section"s,
     {{"section1", "key1", "string1"}},
     "Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"s},
    {"\xEF\xBB\xBF", {{"s", "k", "v"}}, "\xEF\xBB\xBF\r\n[s]\r\nk=v\r\n"},
    {"k=1\r\n", {{"main", "k", "2"}}, "k=1\r\n[main]\r\nk=2\r\n"},
    {"[s]\r\nKey=old", {{"s", "KEY", "new"}}, "[s]\r\nKey=new\r\n"},
    {"[Main]\r\nk=old", {{"MAIN", "k", "new"}}, "[Main]\r\nk=new\r\n"},
    {"[s]\r\nk=abc", {{"s", "k", "ABC"}}, "[s]\r\nk=ABC\r\n"},
    {";comment0\r\n[s]\r\n;comment1\r\nb=value\r\n;comment2\r\na=value\r\n",
     {{"s", "z", ""}, {"s", ";x", ""}, {"s", "y", ""}, {"s", "a", ""}, {"s", "b", ""}},
     ";comment0\r\n[s]\r\n;comment1\r\nb=\r\n;comment2\r\na=\r\nz=\r\ny=\r\n;x=\r\n"},
    {"[s]\r\nk=1\r\nk=2\r\n", {{"s", "k", "3"}}, "[s]\r\nk=3\r\nk=2\r\n"},
    {"",
     {{"s", "z", ""}, {"s", ";y", ""}, {"s", "a", ""}, {"s", ";b", ""}, {"s", ";c", ""}},
     "[s]\r\nz=\r\na=\r\n;c=\r\n;b=\r\n;y=\r\n"},
    {"[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n",
     {{"s", "c", "3"}},
     "[s]\r\na=1\r\nc=3\r\n\r\n[t]\r\nb=2\r\n"},
    {"", {{"s", "k", " v "}}, "[s]\r\nk= v \r\n"},
    {"", {{"s", "k", "\tv\v"}}, "[s]\r\nk=\tv\v\r\n"},
    {"", {{" sec ", "k", "v"}, {"sec", " k ", "w"}}, "[sec]\r\nk=w\r\n"},
    {"", {{"s", " key ", "v"}}, "[s]\r\nkey=v\r\n"},
    {"", {{"s", "k", ";x"}, {"s", "#c", "v"}}, "[s]\r\nk=;x\r\n#c=v\r\n"},
    {"", {{"s", ";k", "v"}, {"s", ";k", "v"}}, "[s]\r\n;k=v\r\n;k=v\r\n"},
    {"", {{"sec]x", "k", "v"}}, "[sec]x]\r\nk=v\r\n"},
    {"", {{"s", "k", "\"x\""}}, "[s]\r\nk=\"x\"\r\n"},
    // The old line goes with whatever line break it had; the new one ends in CRLF.
    {"[s]\nk=old\nj=1\n", {{"s", "k", "new"}}, "[s]\nk=new\r\nj=1\n"},
    {"[s]\rk=old\rj=1\r", {{"s", "k", "new"}}, "[s]\rk=new\r\nj=1\r"},
    {"[s]\r\n\t k = old \r\n", {{"s", "k", "new"}}, "[s]\r\nk=new\r\n"},
    {"[main]", {{"main", "k", "v"}}, "[main]\r\nk=v\r\n"},
    {"[s]\r\na=1", {{"s", "b", "2"}}, "[s]\r\na=1\r\nb=2\r\n"},
    {"[s]\na=1\n;c\n[t]\n", {{"s", "b", "2"}}, "[s]\na=1\nb=2\r\n;c\n[t]\n"},
    {"x\r", {{"s", "k", "v"}}, "x\r[s]\r\nk=v\r\n"},
    {"[s]\r\n[s]\r\nk=1\r\n", {{"s", "k", "2"}}, "[s]\r\nk=2\r\n[s]\r\nk=1\r\n"},
};

TEST(IniWrite, EditsInPlaceAsThePlatformDoes) {
    for (const WriteRow& row : kWriteRows) {
        std::string data = row.before;
        for (const WriteCall& call : row.calls)
            data = iniWriteValue(data, call.section, call.key, call.value);
        EXPECT_EQ(data, row.after) << "before: " << testing::PrintToString(row.before);
    }
}

// The settings file holds one section "main"; the launcher writes its keys in a fixed order.
struct SettingsKey {
    const char* key;
    const char* value;
};

std::vector<SettingsKey> settingsKeys() {
    static const char* const kValues[] = {
        "640", "1.500000", "-3", "C:\\Games\\emu.exe", "D:\\roms\\demo.vb", "0.000000"};
    static char names[24][8];
    std::vector<SettingsKey> keys;
    for (int i = 0; i < 24; ++i) {
        std::memcpy(names[i], "key", 3);
        names[i][3] = static_cast<char>('0' + i / 10);
        names[i][4] = static_cast<char>('0' + i % 10);
        names[i][5] = '\0';
        keys.push_back({names[i], kValues[i % 6]});
    }
    return keys;
}

std::string keyLines(const std::vector<SettingsKey>& keys, size_t from) {
    std::string lines;
    for (size_t i = from; i < keys.size(); ++i)
        lines += std::string(keys[i].key) + "=" + keys[i].value + "\r\n";
    return lines;
}

TEST(IniSettingsFile, TwentyFourKeysIntoNothing) {
    const std::vector<SettingsKey> keys = settingsKeys();
    std::string data;
    for (const SettingsKey& k : keys)
        data = iniWriteValue(data, "main", k.key, k.value);
    EXPECT_EQ(data, "[main]\r\n" + keyLines(keys, 0));
}

TEST(IniSettingsFile, HandEditedFileKeepsEveryForeignByte) {
    const std::vector<SettingsKey> keys = settingsKeys();
    const std::string head = "junk\0\xff\r\n; launcher settings\r\n\r\n[Other]\r\nkey00=theirs\r\n"
                             "[Main]\n; window\n"s;
    const std::string tail = "unknown=keep me\n\n; trailing comment\n[main]\r\nkey01=dup\r\n"
                             "[tail]\r\nx=y"s;
    std::string data = head + " KEY00 = 1\n" + tail;
    for (const SettingsKey& k : keys)
        data = iniWriteValue(data, "main", k.key, k.value);
    const size_t unknownEnd = std::strlen("unknown=keep me\n");
    const std::string expected = head + "KEY00=" + keys[0].value + "\r\n" +
                                 tail.substr(0, unknownEnd) + keyLines(keys, 1) +
                                 tail.substr(unknownEnd);
    EXPECT_EQ(data, expected);
    for (const SettingsKey& k : keys)
        EXPECT_EQ(readValue(data, "main", k.key, "?", 256), k.value);
}

// Whatever bytes the file holds, a write lands where the next read finds it, and neither call
// strays outside the data (the sanitizers watch).
TEST(IniSettingsFile, GarbageFilesStayReadableAndWritable) {
    std::mt19937 random(20240611);
    const char alphabet[] = "[]=;\"' \t\v\r\n\0mainkey0Ab\xff";
    const std::vector<SettingsKey> keys = settingsKeys();
    for (int round = 0; round < 300; ++round) {
        std::string data(random() % 200, ' ');
        for (char& c : data)
            c = alphabet[random() % (sizeof alphabet - 1)];
        for (size_t i = 0; i < keys.size(); i += 5) {
            data = iniWriteValue(data, "main", keys[i].key, keys[i].value);
            ASSERT_EQ(readValue(data, "main", keys[i].key, "?", 256), keys[i].value)
                << testing::PrintToString(data);
        }
        for (size_t n = 0; n < 8; ++n)
            readValue(data, "MAIN", "key05", nullptr, n);
    }
}

TEST(IniSettingsFile, TenMegabytesAreFine) {
    std::string data = "[main]\n";
    while (data.size() < 10 * 1024 * 1024)
        data += "filler=0123456789abcdef\n";
    data = iniWriteValue(data, "main", "key00", "1");
    data = iniWriteValue(data, "main", "filler", "2");
    EXPECT_EQ(readValue(data, "main", "key00", "?", 256), "1");
    EXPECT_EQ(data.compare(0, 17, "[main]\nfiller=2\r\n"), 0);
}

// The seam on real files: the launcher's paths use '\' separators.
class ProfileFile : public testing::Test {
  protected:
    std::string backslashPath(const char* name) const {
        std::string path = folder_.pathOf(name);
        for (char& c : path) {
            if (c == '/')
                c = '\\';
        }
        return path;
    }

    TempDir folder_;
    const std::filesystem::path& dir_ = folder_.path();
};

TEST_F(ProfileFile, RoundTripThroughBackslashPath) {
    const std::string path = backslashPath("settings.ini");
    char out[256];
    EXPECT_EQ(profileReadString("main", "key00", "none  ", out, sizeof out, path.c_str()), 4u);
    EXPECT_STREQ(out, "none");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "settings.ini"));

    const std::vector<SettingsKey> keys = settingsKeys();
    for (const SettingsKey& k : keys)
        ASSERT_TRUE(profileWriteString("main", k.key, k.value, path.c_str()));
    ASSERT_TRUE(profileWriteString("main", "key00", "320", path.c_str()));
    for (const SettingsKey& k : keys) {
        profileReadString("main", k.key, "?", out, sizeof out, path.c_str());
        EXPECT_STREQ(out, k.key == keys[0].key ? "320" : k.value);
    }
    EXPECT_EQ(profileReadString("main", "key05", "?", out, 4, path.c_str()), 3u);
    EXPECT_STREQ(out, "0.0");

    EXPECT_EQ(folder_.read("settings.ini"), "[main]\r\nkey00=320\r\n" + keyLines(keys, 1));
    // Nothing but the settings file is left in the directory.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(ProfileFile, MissingDirectoryFailsAndCreatesNothing) {
    const std::string path = backslashPath("absent\\settings.ini");
    EXPECT_FALSE(profileWriteString("main", "key00", "1", path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "absent"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 0);
    char out[8];
    EXPECT_EQ(profileReadString("main", "key00", "d", out, sizeof out, path.c_str()), 1u);
    EXPECT_STREQ(out, "d");
}

} // namespace
