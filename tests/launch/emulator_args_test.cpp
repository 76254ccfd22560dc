// The emulator's parameter text: the worked examples character for character, each token and
// switch position, and the longest inputs a record can hold.
#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <string>

#include "launch/emulator_args.h"

namespace {

LauncherSettings firstRun() {
    LauncherSettings s{};
    s.bFactor = s.balr = s.balg = s.balb = 1.0f;
    s.scale = 1;
    s.romPath = copyText("C:\\Emu\\vb_demo_1.vb");
    return s;
}

std::string argumentsOf(const LauncherSettings& s) {
    char text[kArgumentsBufferSize];
    EXPECT_TRUE(buildEmulatorArguments(s, text, sizeof text));
    return text;
}

TEST(EmulatorArguments, FirstRunDefaults) {
    const std::string expected = "\"C:\\Emu\\vb_demo_1.vb\" -display frame -dspmode normal "
                                 "-frmskp 0 -brite 1.000000 -balance 1.000000 1.000000 1.000000 "
                                 "-sclscr 1 -pport 0 -joy 0 -pallet normal" +
                                 std::string(11, ' ');
    EXPECT_EQ(expected, argumentsOf(firstRun()));
}

TEST(EmulatorArguments, AffineWithSwitches) {
    LauncherSettings s = firstRun();
    s.dspMode = 2;
    s.threedMode = 1;
    s.pallet = 2;
    s.fSkip = 2;
    s.bFactor = 1.5f;
    s.balg = 0.8f;
    s.scale = 2;
    s.pport = 1;
    s.swap = true;
    s.keyMap = 1;
    s.status = true;
    const std::string expected = "\"C:\\Emu\\vb_demo_1.vb\" -display 640 -dspmode affine "
                                 "-frmskp 2 -brite 1.500000 -balance 1.000000 0.800000 1.000000 "
                                 "-sclscr 2 -pport 1 -joy 0 -pallet rc -flip" +
                                 std::string(8, ' ') + "-altkbd" + std::string(2, ' ') + "-status";
    EXPECT_EQ(expected, argumentsOf(s));
}

struct PieceCase {
    const char* name;
    std::function<void(LauncherSettings&)> change;
    const char* piece; // must appear in the text
};

TEST(EmulatorArguments, TokensNumbersAndSwitchPositions) {
    const PieceCase cases[] = {
        {"CyberScope", [](LauncherSettings& s) { s.threedMode = 5; }, "-dspmode cscope -"},
        {"1600x1200", [](LauncherSettings& s) { s.dspMode = 7; }, "-display 1600 -"},
        {"red palette", [](LauncherSettings& s) { s.pallet = 1; }, "-pallet red "},
        {"Blue-Green",
         [](LauncherSettings& s) {
             s.threedMode = 1;
             s.pallet = 5;
         },
         "-pallet bg "},
        {"display index outside its table", [](LauncherSettings& s) { s.dspMode = 8; },
         "-display frame -"},
        {"3D mode outside its table", [](LauncherSettings& s) { s.threedMode = -1; },
         "-dspmode normal -"},
        {"frame skip read unsigned as 4294967295", [](LauncherSettings& s) { s.fSkip = -1; },
         "-frmskp -1 -"},
        {"balance 0.8", [](LauncherSettings& s) { s.balb = 0.8f; }, " 0.800000 -sclscr"},
        {"zoom index passed as is", [](LauncherSettings& s) { s.scale = 9; }, "-sclscr 9 -"},
        {"negative reals", [](LauncherSettings& s) { s.bFactor = -0.04f; }, "-brite -0.040000 -"},
        {"empty ROM path", [](LauncherSettings& s) { s.romPath = copyText(""); }, "\"\" -display"},
        {"unset ROM path", [](LauncherSettings& s) { s.romPath.reset(); }, "\"\" -display"},
        {"ROM path with blanks",
         [](LauncherSettings& s) { s.romPath = copyText("C:\\My Games\\a b.vb"); },
         "\"C:\\My Games\\a b.vb\" -display"},
        {"pasted ROM path in its own quotes",
         [](LauncherSettings& s) { s.romPath = copyText("\"C:\\My Games\\a b.vb\""); },
         "\"C:\\My Games\\a b.vb\" -display"},
        {"more_ram 5", [](LauncherSettings& s) { s.more_ram = 5; },
         "-pallet normal     -more_ram      "},
        {"key map 2 gives no switch", [](LauncherSettings& s) { s.keyMap = 2; },
         "-pallet normal"
         "           "},
        {"key map after -stdout, before -nothrtl",
         [](LauncherSettings& s) {
             s.stdout_ = s.nothrtl = true;
             s.keyMap = 1;
         },
         " -stdout -altkbd -nothrtl "},
    };
    for (const PieceCase& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherSettings s = firstRun();
        c.change(s);
        const std::string text = argumentsOf(s);
        EXPECT_NE(std::string::npos, text.find(c.piece)) << text;
    }
}

TEST(EmulatorArguments, EverySwitchOnInItsFixedOrder) {
    LauncherSettings s = firstRun();
    s.swap = s.hstretch = s.timmerHack = s.vfHack = s.debug = s.disasm = s.stdout_ = true;
    s.nothrtl = s.status = true;
    s.more_ram = 1;
    s.keyMap = 1;
    const std::string text = argumentsOf(s);
    const std::string tail = "-pallet normal -flip -hstretch -ltimmer -vfhack -more_ram -debug "
                             "-disasm -stdout -altkbd -nothrtl -status";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
}

LauncherSettings longest() {
    LauncherSettings s{};
    s.romPath = copyText(std::string(259, 'r').c_str());
    s.dspMode = 7;
    s.threedMode = 3; // "over_under", the longest token
    s.fSkip = s.scale = s.pport = s.joy = s.pallet = INT32_MIN;
    s.bFactor = s.balr = s.balg = s.balb = -FLT_MAX;
    s.swap = s.hstretch = s.timmerHack = s.vfHack = s.debug = s.disasm = s.stdout_ = true;
    s.nothrtl = s.status = true;
    s.more_ram = INT32_MIN;
    s.keyMap = 1;
    return s;
}

TEST(EmulatorArguments, TheLongestRecordFitsWholeAndNothingIsEverCut) {
    const std::string maxReal = "-340282346638528860000000000000000000000.000000";
    const std::string text = argumentsOf(longest());
    EXPECT_EQ("\"" + std::string(259, 'r') +
                  "\" -display 1600 -dspmode over_under -frmskp "
                  "-2147483648 -brite " +
                  maxReal + " -balance " + maxReal + " " + maxReal + " " + maxReal +
                  " -sclscr -2147483648 -pport -2147483648 -joy -2147483648 -pallet normal "
                  "-flip -hstretch -ltimmer -vfhack -more_ram -debug -disasm -stdout -altkbd "
                  "-nothrtl -status",
              text);
    EXPECT_LT(text.size(), kArgumentsBufferSize);

    // A buffer one character too small, or the old 512-character one, refuses the text.
    char small[kArgumentsBufferSize];
    EXPECT_FALSE(buildEmulatorArguments(longest(), small, text.size()));
    EXPECT_STREQ("", small);
    EXPECT_TRUE(buildEmulatorArguments(longest(), small, text.size() + 1));
    EXPECT_FALSE(buildEmulatorArguments(longest(), small, 512));
    EXPECT_FALSE(buildEmulatorArguments(longest(), small, 0));

    // A ROM path longer than the launcher ever reads is refused, not cut.
    LauncherSettings huge = longest();
    huge.romPath = copyText(std::string(2000, 'r').c_str());
    EXPECT_FALSE(buildEmulatorArguments(huge, small, sizeof small));
    EXPECT_STREQ("", small);
}

} // namespace
