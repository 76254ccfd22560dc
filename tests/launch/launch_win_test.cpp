// Launch and Help through the shell: what the started program receives as its command line and
// working directory, and that failed starts stay silent.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "launch/shell_launch.h"
#include "settings/launcher_settings.h"
#include "support/files.h"
#include "support/launcher_run.h"
#include "support/stand_in_records.h"
#include "support/temp_dir.h"
#include "support/watched_call.h"
#include "support/windows_platform.h"

namespace {

constexpr size_t kFileNameBufferSize = 1024;

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

// ---- The scene: a launcher folder with the settings pointing into it ---------------------

// A fresh folder; `launcherFolder` (relative, may be empty) is the launcher's directory inside
// it. The settings are those of a first start there; they are cleared again afterwards.
class Scene {
  public:
    explicit Scene(const char* launcherFolder = "") {
        base_ = *launcherFolder == '\0' ? temp_.dir() : temp_.dir() + "\\" + launcherFolder;
        CreateDirectoryA(base_.c_str(), nullptr);
        settings = LauncherSettings{};
        settings.bFactor = settings.balr = settings.balg = settings.balb = 1.0f;
        settings.scale = 1;
        settings.baseDir = copyText(base_.c_str());
        settings.emuPath = copyText((base_ + "\\quellix.exe").c_str());
        settings.romPath = copyText((base_ + "\\vb_demo_1.vb").c_str());
    }
    ~Scene() { settings = LauncherSettings{}; }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    const std::string& base() const { return base_; }
    // A path inside the fresh folder, outside the launcher's directory when that has a name.
    std::string outside(const std::string& relative) const { return temp_.dir() + "\\" + relative; }
    std::string inBase(const std::string& relative) const { return base_ + "\\" + relative; }

  private:
    TempDir temp_;
    std::string base_;
};

// The parameter text of a first start, after the quoted ROM path: with every switch off, each
// of the eleven keeps its blank, so the text ends in eleven blanks.
const std::string kFirstStartOptions = " -display frame -dspmode normal -frmskp 0 -brite 1.000000 "
                                       "-balance 1.000000 1.000000 1.000000 -sclscr 1 -pport 0 "
                                       "-joy 0 -pallet normal" +
                                       std::string(11, ' ');

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// ---- COM -------------------------------------------------------------------------------

// The apartment of the thread a Help press ran on, before and after it (APTTYPE_CURRENT: none).
APTTYPE apartmentBefore = APTTYPE_MTA;
APTTYPE apartmentAfter = APTTYPE_MTA;

APTTYPE currentApartment() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return CoGetApartmentType(&type, &qualifier) == S_OK ? type : APTTYPE_CURRENT;
}

bool openHelpNotingTheApartment() {
    apartmentBefore = currentApartment();
    openHelp();
    apartmentAfter = currentApartment();
    return true;
}

// The shell calls find COM initialised on their thread as a single-threaded apartment, on
// every thread (the watcher runs each call on a fresh one). Windows asks for it; Wine's shell
// needs no COM and initialises none, so Wine shows the launcher's own. The scene has no help
// page: Windows' shell says so in its own box, which the watcher closes; that the launcher
// itself stays silent is asserted under Wine, whose shell shows none.
TEST(ShellCalls, RunInASingleThreadedApartment) {
    Scene scene;
    expectReturnWithNoBoxOfItsOwn(callWatchingWindows(openHelpNotingTheApartment));
    EXPECT_EQ(APTTYPE_CURRENT, apartmentBefore);
    EXPECT_TRUE(apartmentAfter == APTTYPE_STA || apartmentAfter == APTTYPE_MAINSTA);
}

// ---- Launch ------------------------------------------------------------------------------

struct LaunchCase {
    const char* name;
    const char* launcherFolder;
    const char* emulator;   // relative to the launcher's directory
    const wchar_t* romName; // relative to the launcher's directory; nullptr for an empty path
    std::function<void(LauncherSettings&)> change;
    std::string options; // the parameter text after the quoted ROM path
};

// Both Windows and Wine start the program with its path in quotes, one blank, then the
// parameter text exactly as given: inner and trailing blanks are the emulator's to see.
TEST(LaunchEmulator, TheEmulatorGetsItsQuotedPathAndTheParameterTextExactly) {
    const auto noChange = [](LauncherSettings&) {};
    const LaunchCase cases[] = {
        {"first start", "", "quellix.exe", L"vb_demo_1.vb", noChange, kFirstStartOptions},
        {"emulator path with blanks", "", "My Emulator\\quellix.exe", L"vb_demo_1.vb", noChange,
         kFirstStartOptions},
        {"ROM path with blanks and letters above 127", "", "quellix.exe",
         L"Caf\u00e9 Roms\\D\u00e9mo \u00e9t\u00e9 \u00e0 la plage \u00df.vb", noChange,
         kFirstStartOptions},
        {"launcher folder with blanks", "Quellix Frontend", "quellix.exe", L"vb_demo_1.vb",
         noChange, kFirstStartOptions},
        {"empty ROM path", "", "quellix.exe", nullptr, noChange, kFirstStartOptions},
        {"only the last switch: ten blanks inside the text", "", "quellix.exe", L"vb_demo_1.vb",
         [](LauncherSettings& s) { s.status = true; },
         " -display frame -dspmode normal -frmskp 0 -brite 1.000000 -balance 1.000000 1.000000 "
         "1.000000 -sclscr 1 -pport 0 -joy 0 -pallet normal" +
             std::string(11, ' ') + "-status"},
        {"every switch on: no trailing blank", "", "quellix.exe", L"vb_demo_1.vb",
         [](LauncherSettings& s) {
             s.swap = s.hstretch = s.timmerHack = s.vfHack = s.debug = s.disasm = true;
             s.stdout_ = s.nothrtl = s.status = true;
             s.more_ram = 1;
             s.keyMap = 1;
             s.dspMode = 7;
             s.threedMode = 1;
             s.pallet = 2;
             s.fSkip = 3;
             s.bFactor = 1.5f;
             s.balg = 0.8f;
             s.scale = 2;
             s.pport = 4;
             s.joy = 1;
         },
         " -display 1600 -dspmode affine -frmskp 3 -brite 1.500000 -balance 1.000000 0.800000 "
         "1.000000 -sclscr 2 -pport 4 -joy 1 -pallet rc -flip -hstretch -ltimmer -vfhack "
         "-more_ram -debug -disasm -stdout -altkbd -nothrtl -status"},
    };
    std::string skipped;
    for (const LaunchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.launcherFolder);
        const std::string emulator = scene.inBase(c.emulator);
        ASSERT_TRUE(placeStandIn(emulator)) << emulator;
        std::string rom;
        if (c.romName != nullptr) {
            const std::string romName = ansiText(c.romName);
            if (romName.empty()) {
                skipped += std::string(" \"") + c.name + "\"";
                continue;
            }
            rom = scene.inBase(romName);
        }
        settings.emuPath = copyText(emulator.c_str());
        settings.romPath = copyText(rom.c_str());
        c.change(settings);

        expectQuietReturn(callWatchingWindows(launchEmulator));

        const std::vector<Start> starts =
            settledStarts(folderOf(emulator), 1, fileNameOf(emulator).c_str());
        ASSERT_EQ(1u, starts.size());
        EXPECT_EQ(inQuotes(emulator) + " " + inQuotes(rom) + c.options, starts[0].command);
        EXPECT_EQ(scene.base(), starts[0].directory);
        EXPECT_FALSE(fileExists(scene.inBase("quellix.ini"))) << "Launch saved the settings";
    }
    if (!skipped.empty()) {
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " lacks a letter of the ROM name of"
                     << skipped << "; every other case ran";
    }
}

TEST(LaunchEmulator, EachPressStartsAnotherEmulatorWithTheSettingsOfItsMoment) {
    Scene scene;
    const std::string emulator = scene.inBase("quellix.exe");
    ASSERT_TRUE(placeStandIn(emulator)) << emulator;
    const std::string firstRom = scene.inBase("first.vb");
    const std::string secondRom = scene.inBase("second game.vb");

    settings.romPath = copyText(firstRom.c_str());
    expectQuietReturn(callWatchingWindows(launchEmulator));
    settings.romPath = copyText(secondRom.c_str());
    settings.dspMode = 2;
    settings.swap = true;
    expectQuietReturn(callWatchingWindows(launchEmulator));

    // Both emulators run at once; the order of their records is theirs.
    std::vector<Start> starts = settledStarts(scene.base(), 2, "quellix.exe");
    ASSERT_EQ(2u, starts.size());
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(inQuotes(emulator) + " " + inQuotes(firstRom) + kFirstStartOptions,
              starts[0].command);
    EXPECT_EQ(inQuotes(emulator) + " " + inQuotes(secondRom) +
                  " -display 640 -dspmode normal -frmskp 0 -brite 1.000000 -balance 1.000000 "
                  "1.000000 1.000000 -sclscr 1 -pport 0 -joy 0 -pallet normal -flip" +
                  std::string(10, ' '),
              starts[1].command);
    EXPECT_EQ(scene.base(), starts[0].directory);
    EXPECT_EQ(scene.base(), starts[1].directory);
    EXPECT_FALSE(fileExists(scene.inBase("quellix.ini")));
}

struct NoStartCase {
    const char* name;
    std::function<void(const Scene&)> change;
};

// A start that cannot happen leaves no trace: no record, the settings as they were, none
// saved, and Launch still answers true. The launcher shows no box of its own; for a missing
// emulator Windows' shell shows one ("Windows cannot find ..."), which the watcher closes, so
// that silence is asserted under Wine only, whose shell shows none. A following good start
// proves the failed one started nothing: once every stand-in has ended, its record must be
// the only one.
TEST(LaunchEmulator, WhatCannotStartStartsNothingAndStaysSilent) {
    const NoStartCase cases[] = {
        {"missing emulator",
         [](const Scene& scene) {
             settings.emuPath = copyText(scene.inBase("missing\\quellix.exe").c_str());
         }},
        {"missing emulator file in the launcher's directory",
         [](const Scene& scene) {
             settings.emuPath = copyText(scene.inBase("quellix_missing.exe").c_str());
         }},
        // The shell would open the launcher's folder for an empty file name.
        {"empty emulator path", [](const Scene&) { settings.emuPath = copyText(""); }},
        {"unset emulator path", [](const Scene&) { settings.emuPath.reset(); }},
        {"parameter text that does not fit whole (ROM path of 2000 characters)",
         [](const Scene&) { settings.romPath = copyText(std::string(2000, 'r').c_str()); }},
    };
    for (const NoStartCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene;
        const std::string emulator = scene.inBase("quellix.exe");
        ASSERT_TRUE(placeStandIn(emulator)) << emulator;
        c.change(scene);
        const std::string emuPathBefore = settings.emuPath ? settings.emuPath.get() : "<unset>";
        const std::string romPathBefore = settings.romPath.get();

        expectReturnWithNoBoxOfItsOwn(callWatchingWindows(launchEmulator));
        EXPECT_EQ(emuPathBefore, settings.emuPath ? settings.emuPath.get() : "<unset>");
        EXPECT_EQ(romPathBefore, settings.romPath.get());

        settings.emuPath = copyText(emulator.c_str());
        const std::string rom = scene.inBase("proof.vb");
        settings.romPath = copyText(rom.c_str());
        expectQuietReturn(callWatchingWindows(launchEmulator));
        const std::vector<Start> starts = settledStarts(scene.base(), 1, "quellix.exe");
        ASSERT_EQ(1u, starts.size());
        EXPECT_EQ(inQuotes(emulator) + " " + inQuotes(rom) + kFirstStartOptions, starts[0].command);
        EXPECT_FALSE(fileExists(scene.inBase("quellix.ini")));
    }
}

// ---- Help --------------------------------------------------------------------------------

const char kTestProgId[] = "QuellixLaunchTest.HelpPage";

// Makes a program the "open" handler of .html pages in one registry hive for the life of the
// object, then puts back what was there: the .html key's previous default value, or no key.
class HtmlHandlerRegistration {
  public:
    HtmlHandlerRegistration(HKEY hive, const std::string& handlerPath) : hive_(hive) {
        char previous[kFileNameBufferSize];
        DWORD size = sizeof previous;
        // A run that was ended half-way leaves its own name behind: that is no one's choice.
        hadKey_ = RegGetValueA(hive_, kExtensionKey, nullptr, RRF_RT_REG_SZ, nullptr, previous,
                               &size) == ERROR_SUCCESS &&
                  std::string(previous) != kTestProgId;
        if (hadKey_) {
            previous_ = previous;
        }
        registered_ = setDefault(kExtensionKey, kTestProgId) &&
                      setDefault(commandKey().c_str(), inQuotes(handlerPath) + " \"%1\"");
    }
    ~HtmlHandlerRegistration() {
        RegDeleteTreeA(hive_, progIdKey().c_str());
        if (hadKey_) {
            setDefault(kExtensionKey, previous_);
        } else {
            RegDeleteTreeA(hive_, kExtensionKey);
        }
    }
    HtmlHandlerRegistration(const HtmlHandlerRegistration&) = delete;
    HtmlHandlerRegistration& operator=(const HtmlHandlerRegistration&) = delete;

    bool registered() const { return registered_; }

  private:
    static constexpr const char* kExtensionKey = "Software\\Classes\\.html";

    static std::string progIdKey() { return std::string("Software\\Classes\\") + kTestProgId; }
    static std::string commandKey() { return progIdKey() + "\\shell\\open\\command"; }

    bool setDefault(const char* key, const std::string& value) const {
        HKEY opened = nullptr;
        if (RegCreateKeyExA(hive_, key, 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) !=
            ERROR_SUCCESS) {
            return false;
        }
        const LONG result =
            RegSetValueExA(opened, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(opened);
        return result == ERROR_SUCCESS;
    }

    HKEY hive_;
    bool hadKey_ = false;
    bool registered_ = false;
    std::string previous_;
};

// The handler the help tests install: a stand-in copy outside the launcher's directory.
// On Windows the user's own classes (HKCU\Software\Classes) override the machine's, which is
// where a per-user browser choice lives. Wine 8 builds HKEY_CLASSES_ROOT from the machine's
// classes only and ignores the user's, so the same keys go to HKLM\Software\Classes as well.
class HelpScene : public Scene {
  public:
    explicit HelpScene(const char* launcherFolder)
        : Scene(launcherFolder), handler_(outside("Page Viewer\\viewer.exe")),
          user_(HKEY_CURRENT_USER, handler_), machine_(HKEY_LOCAL_MACHINE, handler_) {
        EXPECT_TRUE(placeStandIn(handler_)) << handler_;
    }

    bool registered() const { return user_.registered() && machine_.registered(); }
    const std::string& handler() const { return handler_; }

  private:
    std::string handler_;
    HtmlHandlerRegistration user_;
    HtmlHandlerRegistration machine_;
};

// The help tests make their stand-in the program for .html pages. That is a user's browser
// choice: on a developer's Windows machine it would take theirs over, and an interrupted run
// would leave it changed. They run only under Wine, in the tests' own prefix.
class OpenHelp : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!underWine()) {
            GTEST_SKIP() << "changes the .html association of this user and machine; runs only "
                            "under Wine, in the tests' own prefix";
        }
        // Beside this program lies another help\help.html, as in the kit: the launcher's must
        // win over the one in the current directory. Put back afterwards for the tests after.
        GetCurrentDirectoryA(sizeof before_, before_);
        SetCurrentDirectoryA(besideThisProgram("").c_str());
    }
    void TearDown() override {
        if (before_[0] != '\0') {
            SetCurrentDirectoryA(before_);
        }
    }

  private:
    char before_[MAX_PATH] = "";
};

std::string unquoted(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '"') {
            out += c;
        }
    }
    return out;
}

TEST_F(OpenHelp, ThePageOpensWithTheAssociatedProgramInTheLauncherDirectory) {
    const char* const launcherFolders[] = {"", "Quellix Frontend"};
    for (const char* launcherFolder : launcherFolders) {
        SCOPED_TRACE(launcherFolder);
        HelpScene scene(launcherFolder);
        ASSERT_TRUE(scene.registered());
        CreateDirectoryA(scene.inBase("help").c_str(), nullptr);
        ASSERT_TRUE(
            writeFile(scene.inBase("help\\help.html"), "<!DOCTYPE html><title>Help</title>"));

        expectQuietReturn(callWatchingWindows(openHelp));

        const std::vector<Start> starts =
            settledStarts(folderOf(scene.handler()), 1, fileNameOf(scene.handler()).c_str());
        ASSERT_EQ(1u, starts.size());
        const std::string prefix = inQuotes(scene.handler()) + " ";
        ASSERT_EQ(prefix, starts[0].command.substr(0, prefix.size()));
        EXPECT_EQ(scene.base(), starts[0].directory);
        // The page by its full path: a relative name would open the one in the current directory.
        const std::string page = unquoted(starts[0].command.substr(prefix.size()));
        EXPECT_EQ(0, lstrcmpiA(scene.inBase("help\\help.html").c_str(), page.c_str()))
            << "the handler got " << starts[0].command;
        EXPECT_FALSE(fileExists(scene.inBase("quellix.ini"))) << "Help saved the settings";
    }
}

// Without the page the shell finds nothing to open: no handler starts, nothing is shown, and
// Help still answers true.
TEST_F(OpenHelp, AMissingPageOpensNothingAndStaysSilent) {
    HelpScene scene("");
    ASSERT_TRUE(scene.registered());

    expectQuietReturn(callWatchingWindows(openHelp));

    // The page then appears: its start must be the only record.
    CreateDirectoryA(scene.inBase("help").c_str(), nullptr);
    ASSERT_TRUE(writeFile(scene.inBase("help\\help.html"), "<p>help</p>"));
    expectQuietReturn(callWatchingWindows(openHelp));
    const std::vector<Start> starts =
        settledStarts(folderOf(scene.handler()), 1, fileNameOf(scene.handler()).c_str());
    EXPECT_EQ(1u, starts.size());
    EXPECT_FALSE(fileExists(scene.inBase("quellix.ini")));
}

} // namespace
