// Our INI reader/writer set against the platform's own profile functions on the same files:
// reads must give the same return value and text, writes the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "ini/ini_text.h"
#include "support/files.h"
#include "support/temp_dir.h"

using namespace std::string_literals;

namespace {

// Each comparison gets a file name of its own in a folder new to this run: Wine keeps parsed
// profile files cached and only re-checks their modification time, which a quick rewrite may
// not change; and a file left by a killed run must not be taken for a file that is not there.
std::string nextFile() {
    static const TempDir folder;
    static unsigned count = 0;
    return folder.pathOf("f" + std::to_string(++count) + ".ini");
}

void writeBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(writeFile(path, bytes)) << path;
}

std::vector<std::string> split(const char* list) {
    std::vector<std::string> parts(1);
    for (const char* c = list; *c; ++c) {
        if (*c == '|')
            parts.emplace_back();
        else
            parts.back() += *c;
    }
    return parts;
}

struct ReadResult {
    size_t length;
    std::string text;
    bool operator==(const ReadResult& other) const {
        return length == other.length && text == other.text;
    }
};

void PrintTo(const ReadResult& result, std::ostream* os) {
    *os << result.length << " " << testing::PrintToString(result.text);
}

// Section and key go to the platform as writable copies: some Windows releases write into them.
ReadResult platformRead(const std::string& path, std::string section, std::string key,
                        const char* fallback, DWORD n) {
    std::vector<char> out(n + 1, '#');
    const DWORD length =
        GetPrivateProfileStringA(&section[0], &key[0], fallback, out.data(), n, path.c_str());
    return {length, n == 0 ? std::string() : std::string(out.data())};
}

ReadResult ourRead(const std::string& bytes, const std::string& section, const std::string& key,
                   const char* fallback, size_t n) {
    std::vector<char> out(n + 1, '#');
    const size_t length = iniReadValue(bytes.data(), bytes.size(), section.c_str(), key.c_str(),
                                       fallback, out.data(), n);
    return {length, n == 0 ? std::string() : std::string(out.data())};
}

const std::string kF1 = "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n"
                        "[section2]\r\n";

// Files on which Wine and Windows agree, with the sections and keys to look up ('|' between
// names). Quoted values are read with a roomy buffer only: see kDifferences.
struct ReadFile {
    std::string bytes;
    const char* sections;
    const char* keys;
    bool cutToo;
};

const ReadFile kAgreedReads[] = {
    {kF1, "section1|SECTION1|  section1 |section2|nosuch", "name1|NaMe1|name3|name4|nosuch|", true},
    {kF1, "section1", "name2", false},
    {"[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r", "section1|section2",
     "name1|name2|name3|name4", false},
    {"[section1]\nname1=val1\nname2=\"val2\"\nname3\nname4=a\n[section2]\n", "section1|section2",
     "name1|name2|name3|name4", false},
    {"[ x ]\r\n k =  v \r\n\tk2\t=\tv2\t\r\n\vk3\v=\vv3\v\r\n", "x| x |X", "k|k2|k3| k |nosuch",
     true},
    {" [s]\r\nk=v\r\n\t[t]\r\nk=w\r\n", "s|t", "k", true},
    {"[s]\r\na=  \"   abc   \"  \r\nb='x'\r\nc=\"'abc'\"\r\nd=\"\"abc\"\"\r\ne=\"abc'\r\n"
     "f=\"abc\r\ng=\"\r\nh=\"\"\r\n",
     "s", "a|b|c|d|e|f|g|h", false},
    {"[s]\r\n;k=v\r\nk=;x\r\n#k=v\r\nj\r\nm=\r\nd=v1\r\nd=v2\r\n", "s", "k|#k|j|m|d", true},
    {"[s]\r\na=1\r\n[t]\r\nb=2\r\n[s]\r\nc=3\r\n", "s|t", "a|b|c", true},
    {"[s]\r\n=w\r\nk=\r\n", "s", "|k", true},
    {"", "s", "k", true},
};

TEST(IniDifferential, ReadsAgreeWithThePlatform) {
    for (const ReadFile& file : kAgreedReads) {
        const std::string path = nextFile();
        writeBytes(path, file.bytes);
        for (const std::string& section : split(file.sections)) {
            for (const std::string& key : split(file.keys)) {
                for (DWORD n : {256u, 4u, 1u, 0u}) {
                    if (!file.cutToo && n == 4)
                        continue;
                    SCOPED_TRACE(testing::Message() << testing::PrintToString(file.bytes) << " ["
                                                    << section << "] " << key << " n=" << n);
                    EXPECT_EQ(ourRead(file.bytes, section, key, "dflt", n),
                              platformRead(path, section, key, "dflt", n));
                }
            }
        }
    }
}

struct WriteCall {
    const char* section;
    const char* key;
    const char* value;
};

// The bytes after the calls: ours from the bytes before, the platform's from the file.
std::string ourWrites(std::string bytes, const std::vector<WriteCall>& calls) {
    for (const WriteCall& call : calls)
        bytes = iniWriteValue(bytes, call.section, call.key, call.value);
    return bytes;
}

std::string platformWrites(const std::string* before, const std::vector<WriteCall>& calls) {
    const std::string path = nextFile();
    if (before)
        writeBytes(path, *before);
    for (const WriteCall& call : calls) {
        std::string section = call.section;
        std::string key = call.key;
        EXPECT_TRUE(WritePrivateProfileStringA(&section[0], &key[0], call.value, path.c_str()));
    }
    return readFile(path);
}

// Wine rewrites the whole file from what it parsed, so these files are already in that shape:
// CRLF, no blanks around '=', no blank or comment lines.
struct WriteRow {
    const char* before; // nullptr: no file yet
    std::vector<WriteCall> calls;
};

const WriteRow kAgreedWrites[] = {
    {nullptr, {{"App", "key", "string"}}},
    {nullptr,
     {{"App1", "key1", "string1"},
      {"App1", "key2", "string2"},
      {"App1", "key3", "string3"},
      {"App2", "key4", "string4"},
      {"App3", "key5", "string5"}}},
    {"", {{"s", "z", ""}, {"s", "a", ""}, {"s", "y", ""}, {"s", "b", ""}}},
    {"[s]\r\nb=value\r\na=value\r\n",
     {{"s", "z", ""}, {"s", "b", ""}, {"s", "y", ""}, {"s", "a", ""}}},
    {"[s]\r\nKey=old\r\n[t]\r\nk=1\r\n", {{"s", "KEY", "new"}, {"T", "k", "2"}, {"s", "n", "3"}}},
    {"[Main]\r\nk=old\r\n", {{"MAIN", "k", "new"}, {"main", "j", "x"}}},
    {"[s]\r\nk=1\r\nk=2\r\n", {{"s", "k", "3"}}},
    {"k=1\r\n", {{"main", "k", "2"}}},
    {"[s]\r\na=1\r\n", {{"s", "k", ";x"}, {"s", "#c", "v"}, {"s", "q", "\"x\""}}},
    {"[s]\r\na=1\r\n", {{"s", "p", "C:\\dir\\file.exe"}, {"s", "k", "1.500000"}}},
    {nullptr, {{"sec]x", "k", "v"}}},
};

TEST(IniDifferential, WritesAgreeWithThePlatform) {
    for (const WriteRow& row : kAgreedWrites) {
        const std::string before = row.before ? row.before : "";
        const std::string* file = row.before ? &before : nullptr;
        EXPECT_EQ(ourWrites(before, row.calls), platformWrites(file, row.calls))
            << "before: " << testing::PrintToString(before);
    }
}

// Where Wine and Windows part ways, our code follows Windows:
//
//   what                          | Windows                          | Wine
//   ------------------------------+----------------------------------+---------------------------
//   section "" on a file with []  | the [] section                   | lines before the first
//                                 |                                  | header
//   header without ']'            | a header, name to end of line    | not a header
//   "[a]b]"                       | name "a" (first ']')             | name "a]b" (last ']')
//   TAB/VT/CR/LF in arguments     | kept, so "k\t" misses "k"        | trimmed
//   ";k=v"                        | a comment, never found           | a key named ";k"
//   UTF-8 BOM                     | bytes of line 1, hiding a header | understood and kept
//   quoted value cut short        | n - 1 characters of the unquoted | one character fewer
//   a write                       | edits the one line in place      | rewrites the file: blank
//                                 |                                  | lines go, "k = v" becomes
//                                 |                                  | "k=v", every line ends in
//                                 |                                  | CRLF
//   bytes before the 1st section  | kept, CRLF before the new header | not kept as they were
//   new key after comments        | after the last key line          | after the comments
//   value " v "                   | written as given                 | leading blanks dropped
//   section " s " on a new write  | "[s]"                            | "[s ]"
//
// Not listed because what Windows does is not known: quotes around the default, an all-space
// default. NULL-key or NULL-value writes are not part of our writer.
//
// Each row holds Windows' result; the platform must give it or the Wine one, and ours must give
// the Windows one.
struct ReadDifference {
    const char* what;
    std::string bytes;
    const char* section;
    const char* key;
    size_t n;
    ReadResult windows;
    ReadResult wine;
};

const ReadDifference kReadDifferences[] = {
    {"empty section name",
     "\r\nkey=orphan\r\n[]\r\nkey=val_e\r\n[s]\r\n",
     "",
     "key",
     256,
     {5, "val_e"},
     {6, "orphan"}},
    {"no ']'", "[s   \r\nk=v\r\n", "s", "k", 256, {1, "v"}, {4, "dflt"}},
    {"first ']'", "[sec]whoops]\r\nk=v\r\n", "sec", "k", 256, {1, "v"}, {4, "dflt"}},
    {"first ']'", "[sec]whoops]\r\nk=v\r\n", "sec]whoops", "k", 256, {4, "dflt"}, {1, "v"}},
    {"TAB in argument", "[s]\r\nk=v\r\n", "s", "k\t", 256, {4, "dflt"}, {1, "v"}},
    {"comment", "[s]\r\n;k=v\r\n", "s", ";k", 256, {4, "dflt"}, {1, "v"}},
    {"UTF-8 BOM", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", 256, {4, "dflt"}, {1, "v"}},
    {"quoted cut", "[s]\r\nk=\"abcd\"\r\n", "s", "k", 5, {4, "abcd"}, {3, "abc"}},
};

TEST(IniDifferential, OursFollowsWindowsWhereWineDiffers) {
    for (const ReadDifference& row : kReadDifferences) {
        SCOPED_TRACE(row.what);
        const std::string path = nextFile();
        writeBytes(path, row.bytes);
        const ReadResult platform =
            platformRead(path, row.section, row.key, "dflt", static_cast<DWORD>(row.n));
        EXPECT_TRUE(platform == row.windows || platform == row.wine)
            << testing::PrintToString(platform);
        EXPECT_EQ(ourRead(row.bytes, row.section, row.key, "dflt", row.n), row.windows);
    }
}

struct WriteDifference {
    const char* what;
    std::string before;
    WriteCall call;
    std::string windows;
    std::string wine;
};

const WriteDifference kWriteDifferences[] = {
    {"in-place edit",
     "[s]\n\nk = v\n[t]x\nx=1\n",
     {"t", "x", "2"},
     "[s]\n\nk = v\n[t]x\nx=2\r\n",
     "[s]\r\nk=v\r\n[t]\r\nx=2\r\n"},
    {"bytes before the first section",
     "Data \0 before \0 section"s,
     {"s", "k", "v"},
     "Data \0 before \0 section\r\n[s]\r\nk=v\r\n"s,
     "Data \r\n[s]\r\nk=v\r\n"},
    {"new key after comments",
     "[s]\r\na=1\r\n;c\r\n",
     {"s", "b", "2"},
     "[s]\r\na=1\r\nb=2\r\n;c\r\n",
     "[s]\r\na=1\r\n;c\r\nb=2\r\n"},
    {"blanks around the value",
     "[s]\r\n",
     {"s", "k", " v "},
     "[s]\r\nk= v \r\n",
     "[s]\r\nk=v \r\n"},
    {"spaces around a new section", "", {" s ", "k", "v"}, "[s]\r\nk=v\r\n", "[s ]\r\nk=v\r\n"},
    {"UTF-8 BOM",
     "\xEF\xBB\xBF",
     {"s", "k", "v"},
     "\xEF\xBB\xBF\r\n[s]\r\nk=v\r\n",
     "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
};

TEST(IniDifferential, OursWritesAsWindowsWhereWineDiffers) {
    for (const WriteDifference& row : kWriteDifferences) {
        SCOPED_TRACE(row.what);
        const std::string platform = platformWrites(&row.before, {row.call});
        EXPECT_TRUE(platform == row.windows || platform == row.wine)
            << testing::PrintToString(platform);
        EXPECT_EQ(ourWrites(row.before, {row.call}), row.windows);
    }
}

} // namespace
