// The settings file as the launcher keeps it: defaults, the 24-line file, what hand-edited
// values load as and save back as, and the foreign lines a save must keep. Runs natively on
// our own INI reader/writer and under Wine on the platform's profile functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "settings/launcher_settings.h"
#include "support/first_run_file.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include "ini/file_replace_win.h"
#endif

namespace {

// A record that lives in `dir`, with every key read from the file there.
struct Loaded {
    LauncherSettings record{};
    explicit Loaded(const TempDir& dir) {
        record.baseDir = copyText(dir.dir().c_str());
        record.readKeys();
    }
};

std::string fileWith(const std::string& lines) {
    return "[main]\r\n" + lines;
}

// The line of `key` in a settings file's text ("" when missing).
std::string lineOf(const std::string& file, const std::string& key) {
    const std::string start = key + "=";
    for (size_t at = 0; at < file.size();) {
        size_t end = file.find("\r\n", at);
        if (end == std::string::npos) {
            end = file.size();
        }
        const std::string line = file.substr(at, end - at);
        if (line.compare(0, start.size(), start) == 0) {
            return line;
        }
        at = end + 2;
    }
    return "";
}

TEST(SettingsFile, FirstRunDefaultsAndTheTwentyFourLineFile) {
    TempDir dir;
    Loaded loaded(dir);
    const LauncherSettings& s = loaded.record;
    EXPECT_EQ(dir.dir() + "\\quellix.exe", s.emuPath.get());
    EXPECT_EQ(dir.dir() + "\\vb_demo_1.vb", s.romPath.get());
    EXPECT_EQ(1, s.scale);
    EXPECT_EQ(1.0f, s.bFactor);
    EXPECT_EQ(1.0f, s.balb);
    EXPECT_FALSE(s.swap);

    s.save();
    EXPECT_EQ(firstRunFile(dir.dir()), dir.read("quellix.ini"));
}

struct LoadCase {
    std::string lines;
    std::function<void(const LauncherSettings&)> check;
};

TEST(SettingsFile, HandEditedValuesLoadAsTheLauncherReadsThem) {
    const LoadCase cases[] = {
        {"scale=\r\n", [](const LauncherSettings& s) { EXPECT_EQ(1, s.scale); }},
        {"scale=abc\r\n", [](const LauncherSettings& s) { EXPECT_EQ(0, s.scale); }},
        {"bFactor=\r\n", [](const LauncherSettings& s) { EXPECT_EQ(1.0f, s.bFactor); }},
        {"bFactor=x\r\n", [](const LauncherSettings& s) { EXPECT_EQ(0.0f, s.bFactor); }},
        {"balg=1d2\r\n", [](const LauncherSettings& s) { EXPECT_EQ(100.0f, s.balg); }},
        {"emuPath=\r\n", [](const LauncherSettings& s) { EXPECT_STREQ("", s.emuPath.get()); }},
        {"swap=2\r\n", [](const LauncherSettings& s) { EXPECT_TRUE(s.swap); }},
        {"stdout=-1\r\n", [](const LauncherSettings& s) { EXPECT_TRUE(s.stdout_); }},
        {"more_ram=2\r\n", [](const LauncherSettings& s) { EXPECT_EQ(2, s.more_ram); }},
        {"fSkip=4294967295\r\n", [](const LauncherSettings& s) { EXPECT_EQ(-1, s.fSkip); }},
        {"dspMode=99\r\n", [](const LauncherSettings& s) { EXPECT_EQ(99, s.dspMode); }},
        {"SCALE = 4 \r\n", [](const LauncherSettings& s) { EXPECT_EQ(4, s.scale); }},
        {"romPath=\"C:\\My Games\\a.vb\"\r\n",
         [](const LauncherSettings& s) { EXPECT_STREQ("C:\\My Games\\a.vb", s.romPath.get()); }},
        // Reals beyond the float range are kept as the largest float of their sign.
        {"bFactor=1d999\r\n", [](const LauncherSettings& s) { EXPECT_EQ(FLT_MAX, s.bFactor); }},
        {"balr=1e39\r\n", [](const LauncherSettings& s) { EXPECT_EQ(FLT_MAX, s.balr); }},
        {"balb=-3.5e38\r\n", [](const LauncherSettings& s) { EXPECT_EQ(-FLT_MAX, s.balb); }},
        // A path is read up to its own limit of 259 characters; other keys up to 255.
        {"romPath=" + std::string(300, 'r') + "\r\n",
         [](const LauncherSettings& s) { EXPECT_EQ(std::string(259, 'r'), s.romPath.get()); }},
        {"scale=" + std::string(255, '0') + "7\r\n",
         [](const LauncherSettings& s) { EXPECT_EQ(0, s.scale); }},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.lines);
        TempDir dir;
        dir.write("quellix.ini", fileWith(c.lines));
        Loaded loaded(dir);
        c.check(loaded.record);
    }
}

struct SaveCase {
    std::string lines;    // in the file before
    std::string expected; // that key's line after load and save
};

TEST(SettingsFile, LoadedValuesSaveBackInTheLaunchersTexts) {
    const SaveCase cases[] = {
        {"swap=2\r\n", "swap=1"},
        {"more_ram=2\r\n", "more_ram=2"},
        {"more_ram=-7\r\n", "more_ram=-7"},
        {"bFactor=0.5\r\n", "bFactor=0.500000"},
        {"bFactor=0.87\r\n", "bFactor=0.870000"},
        {"balr=-1.25\r\n", "balr=-1.250000"},
        {"fSkip=4294967295\r\n", "fSkip=-1"},
        {"pallet=2147483648\r\n", "pallet=-2147483648"},
        {"scale=abc\r\n", "scale=0"},
        // A float's "%f" text past 10^24 needs more than 32 characters; it is written whole.
        {"balg=1e30\r\n", "balg=1000000015047466200000000000000.000000"},
        {"bFactor=1d999\r\n", "bFactor=340282346638528860000000000000000000000.000000"},
        {"balb=-1e39\r\n", "balb=-340282346638528860000000000000000000000.000000"},
        {"emuPath=\r\n", "emuPath="},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.lines);
        TempDir dir;
        dir.write("quellix.ini", fileWith(c.lines));
        Loaded(dir).record.save();
        const std::string key = c.expected.substr(0, c.expected.find('='));
        EXPECT_EQ(c.expected, lineOf(dir.read("quellix.ini"), key));
    }
}

TEST(SettingsFile, SavingKeepsEveryLineTheLauncherDoesNotOwn) {
    // No blank lines here: Wine's profile functions, which this test also runs on, drop them
    // (Windows keeps them; the INI reader/writer's own tests hold that).
    const std::string before = "; my emulator settings\r\n"
                               "[other]\r\n"
                               "dspMode=7\r\n"
                               "[main]\r\n"
                               "; keep the demo\r\n"
                               "romPath=C:\\vb\\demo.vb\r\n"
                               "favourite=my demo\r\n"
                               "scale=3\r\n"
                               "[later]\r\n"
                               "x=1\r\n";
    TempDir dir;
    dir.write("quellix.ini", before);
    Loaded loaded(dir);
    EXPECT_EQ(3, loaded.record.scale);
    EXPECT_EQ(0, loaded.record.dspMode); // the other section's key is not ours
    loaded.record.save();

    const std::string after = dir.read("quellix.ini");
    size_t at = 0;
    for (const char* line : {"; my emulator settings\r\n", "[other]\r\ndspMode=7\r\n[main]\r\n",
                             "; keep the demo\r\nromPath=C:\\vb\\demo.vb\r\nfavourite=my demo\r\n",
                             "scale=3\r\n", "[later]\r\nx=1\r\n"}) {
        SCOPED_TRACE(line);
        const size_t found = after.find(line, at);
        ASSERT_NE(std::string::npos, found);
        at = found;
    }
    Loaded reloaded(dir);
    EXPECT_STREQ("C:\\vb\\demo.vb", reloaded.record.romPath.get());
    EXPECT_EQ(dir.dir() + "\\quellix.exe", reloaded.record.emuPath.get());
}

// Notepad's UTF-8, with its mark or without: read as written. The mark shows on Windows, whose
// profile functions take it for part of line 1, hiding "[main]" (our own reader does the same;
// Wine reads it). A key the file gives with the text the launcher would write is left as it is.
TEST(SettingsFile, AUtf8FileIsReadAndKeysHoldingTheirTextAreLeftAlone) {
    for (const char* mark : {"", "\xEF\xBB\xBF"}) {
        TempDir dir;
        std::string file = firstRunFile(dir.dir());
        file.replace(file.find("scale=1"), 7, "scale = 4 ");
        dir.write("quellix.ini", mark + file);
        Loaded loaded(dir);
        EXPECT_EQ(4, loaded.record.scale);
        loaded.record.save();
        EXPECT_EQ(file, dir.read("quellix.ini"));
    }
}

#ifdef _WIN32
// Windows and Wine read and write UTF-16 LE (our own reader does not). A path the code page
// cannot show (Cyrillic under 1252) reads as '?', and is kept in the file when left unchanged.
TEST(SettingsFile, ACharacterOutsideTheCodePageStaysInTheFile) {
    TempDir dir;
    dir.write("quellix.ini", "\xEF\xBB\xBF[main]\r\nromPath=C:\\\xD0\x96.vb\r\n");
    Loaded(dir).record.save();
    EXPECT_EQ(std::string::npos, dir.read("quellix.ini").find('?'));
}

// The replace step's failures as ReplaceFileA documents them once it has a backup name, played on
// real files: the two files keep their names, or the old one is already under the backup name
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2); another program may hold either file against a move.
struct ReplacePlay {
    const char* what;
    bool replaceFails;
    bool oldToBackup;
    bool newFileMoves;
    bool oldFileMoves;
    std::vector<std::string> files; // the folder afterwards: name and text, "P" the process id
};
const ReplacePlay* play;

BOOL WINAPI playedReplace(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags,
                          LPVOID exclude, LPVOID reserved) {
    if (!play->replaceFails) {
        return ReplaceFileA(replaced, replacement, backup, flags, exclude, reserved);
    }
    if (play->oldToBackup) {
        MoveFileA(replaced, backup);
    }
    return FALSE;
}

BOOL WINAPI playedMove(LPCSTR from, LPCSTR to, DWORD flags) {
    const std::string name = from;
    const bool oldFile = name.size() > 4 && name.compare(name.size() - 4, 4, ".old") == 0;
    return (oldFile ? play->oldFileMoves : play->newFileMoves) && MoveFileExA(from, to, flags);
}

std::vector<std::string> filesIn(const TempDir& dir) {
    const std::string id = std::to_string(GetCurrentProcessId());
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        std::string shown = name;
        if (const size_t at = shown.find(id); at != std::string::npos) {
            shown.replace(at, id.size(), "P");
        }
        files.push_back(shown + " " + dir.read(name));
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(SettingsFile, EveryFailedReplaceStepEndsWithAWholeTextInTheFile) {
    const ReplacePlay plays[] = {
        {"replaced", false, false, true, true, {"quellix.ini NEW"}},
        {"1175, both names kept: a plain move", true, false, true, true, {"quellix.ini NEW"}},
        {"1176 or the new file held", true, false, false, true, {"quellix.ini OLD"}},
        {"1177, the new file held", true, true, false, true, {"quellix.ini OLD"}},
        {"1177, the new file free again", true, true, true, true, {"quellix.ini NEW"}},
        {"1177, both held: the text written anew", true, true, false, false, {"quellix.ini NEW"}},
    };
    for (const ReplacePlay& row : plays) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        dir.write("quellix.ini", "OLD");
        play = &row;
        EXPECT_EQ(row.files == std::vector<std::string>{"quellix.ini NEW"},
                  replaceFileWith({playedReplace, playedMove, DeleteFileA, GetFileAttributesA},
                                  dir.pathOf("quellix.ini").c_str(), "NEW", 3));
        EXPECT_EQ(row.files, filesIn(dir));
    }
}

// A UTF-8 file whose conversion could not be done (a folder holds the new file's name): Windows
// would show the defaults, and a save would add a second "[main]".
TEST(SettingsFile, AFileWhoseNeededConversionFailedIsNotWrittenAtExit) {
    TempDir dir;
    const std::string before = "\xEF\xBB\xBF[main]\r\nscale=4\r\n";
    dir.write("quellix.ini", before);
    std::filesystem::create_directory(dir.path() /
                                      ("quellix.ini.~" + std::to_string(GetCurrentProcessId())));
    Loaded(dir).record.save();
    EXPECT_EQ(before, dir.read("quellix.ini"));
}
#endif

// A folder in the file's place cannot be opened for reading on any platform; it is gone by the
// exit, as a file another program held for a moment at the start is free again by then.
TEST(SettingsFile, AFileThatCouldNotBeReadAtStartIsNotWrittenAtExit) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "quellix.ini");
    Loaded loaded(dir);
    std::filesystem::remove(dir.path() / "quellix.ini");
    loaded.record.save();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "quellix.ini"));
}

TEST(SettingsFile, ValueOperationsOnTheirOwn) {
    TempDir dir;
    LauncherSettings s{};
    s.baseDir = copyText(dir.dir().c_str());
    EXPECT_EQ(nullptr, s.getString(nullptr, "x"));
    EXPECT_STREQ("fallback", s.getString("missing", "fallback").get());
    EXPECT_STREQ("", s.getString("missing", nullptr).get());
    s.putString(nullptr, "v");
    s.putString("k", nullptr);
    EXPECT_EQ("", dir.read("quellix.ini")); // nothing written for a missing name or value
    s.putInt("i", -2147483647 - 1);
    // The largest float's "%f" text (47 characters) reads back whole within the 255-character
    // limit; every value the record holds is a float, so every saved real reads back.
    s.putFloat("f", -static_cast<double>(FLT_MAX));
    EXPECT_EQ(-2147483647 - 1, s.getInt("i", 5));
    EXPECT_EQ(-FLT_MAX, storedReal(s.getFloat("f", 5.0)));
    EXPECT_EQ(5, s.getInt("missing", 5));
    EXPECT_EQ(2.5, s.getFloat("missing", 2.5));
}

// baseDir lengths at the edge of the 260-character path buffers, which are also the paths'
// read limit: what fits is used, what does not is never cut.
struct LongDirCase {
    size_t dirLength;
    bool settingsFileUsable;
    bool romDefaultOffered; // "\vb_demo_1.vb" is the longer default name (13 characters)
};

TEST(SettingsFile, LongBaseDirsNeverOverflowOrCutAPath) {
    const LongDirCase cases[] = {
        {242, true, true},   {246, true, true},   {247, true, false},
        {248, false, false}, {259, false, false},
    };
    for (const LongDirCase& c : cases) {
        SCOPED_TRACE(c.dirLength);
        // The folder of that length is made where the platform can make it (natively always;
        // Windows' CreateDirectory stops at 248 characters): a cut name would land in it.
        TempDir temp;
        const std::string name(c.dirLength - temp.dir().size() - 1, 'd');
        std::error_code ignored;
        std::filesystem::create_directory(temp.path() / name, ignored);
        const std::string dir = temp.dir() + "\\" + name;
        LauncherSettings s{};
        s.baseDir = copyText(dir.c_str());
        char path[kPathBufferSize];
        EXPECT_EQ(c.settingsFileUsable, s.settingsFilePath(path, sizeof path));
        EXPECT_EQ(c.settingsFileUsable ? dir + "\\quellix.ini" : "", std::string(path));
        // The folder holds no settings file yet, so every key reads its default.
        s.readKeys();
        EXPECT_EQ(1, s.scale);
        EXPECT_EQ(std::string(c.romDefaultOffered ? dir + "\\vb_demo_1.vb" : ""), s.romPath.get());
        s.save();
        std::vector<std::string> written;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.path())) {
            if (!entry.is_directory()) {
                written.push_back(entry.path().filename().string());
            }
        }
        EXPECT_EQ(c.settingsFileUsable ? std::vector<std::string>{"quellix.ini"}
                                       : std::vector<std::string>{},
                  written);
    }
}

TEST(SettingsFile, ARecordWithoutBaseDirNamesNoFile) {
    LauncherSettings s{};
    char path[kPathBufferSize] = "stale";
    EXPECT_FALSE(s.settingsFilePath(path, sizeof path));
    EXPECT_STREQ("", path);
}

} // namespace
