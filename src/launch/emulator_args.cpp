// Building the emulator's parameter text with bounded appends.
#include "launch/emulator_args.h"

#include <cstring>

#include "numtext/number_text.h"
#include "paths/path_text.h"
#include "settings/choice_tables.h"

namespace {

// A text being built in a fixed buffer; once something does not fit, nothing more is added
// and the whole text is refused at the end.
struct BoundedText {
    char* out;
    size_t size;
    size_t length;
    bool overflowed;
};

void appendSpan(BoundedText& text, const char* piece, size_t pieceLength) {
    if (text.overflowed || text.length + pieceLength >= text.size) {
        text.overflowed = true;
        return;
    }
    std::memcpy(text.out + text.length, piece, pieceLength);
    text.length += pieceLength;
    text.out[text.length] = '\0';
}

void append(BoundedText& text, const char* piece) {
    appendSpan(text, piece, std::strlen(piece));
}

void appendInt(BoundedText& text, int32_t value) {
    char digits[kIntTextSize];
    formatInt32(value, digits, sizeof digits);
    append(text, digits);
}

void appendReal(BoundedText& text, float value) {
    char digits[kFixedTextSize];
    formatFixed(static_cast<double>(value), 6, digits, sizeof digits);
    append(text, digits);
}

// The eleven switches in the order the emulator's parameter text holds them.
void appendSwitches(BoundedText& text, const LauncherSettings& s) {
    const struct {
        bool on;
        const char* word;
    } switches[] = {
        {s.swap, "-flip"},
        {s.hstretch, "-hstretch"},
        {s.timmerHack, "-ltimmer"},
        {s.vfHack, "-vfhack"},
        {s.more_ram != 0, "-more_ram"},
        {s.debug, "-debug"},
        {s.disasm, "-disasm"},
        {s.stdout_, "-stdout"},
        {s.keyMap == 1, choiceAt(kKeyMapTable, 1).token},
        {s.nothrtl, "-nothrtl"},
        {s.status, "-status"},
    };
    for (const auto& flag : switches) {
        append(text, " ");
        append(text, flag.on ? flag.word : "");
    }
}

} // namespace

bool buildEmulatorArguments(const LauncherSettings& s, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    BoundedText text{out, size, 0, false};
    // A pasted path may come in its own pair of quotes: doubled, they would end the quoted
    // path at once and the emulator would split it at its first blank.
    const PathSpan rom = pathWithoutQuotePair(s.romPath.get());
    append(text, "\"");
    appendSpan(text, rom.start, rom.length);
    append(text, "\" -display ");
    append(text, choiceAt(kDisplayTable, s.dspMode).token);
    append(text, " -dspmode ");
    append(text, choiceAt(kThreedModeTable, s.threedMode).token);
    append(text, " -frmskp ");
    appendInt(text, s.fSkip);
    append(text, " -brite ");
    appendReal(text, s.bFactor);
    append(text, " -balance ");
    appendReal(text, s.balr);
    append(text, " ");
    appendReal(text, s.balg);
    append(text, " ");
    appendReal(text, s.balb);
    append(text, " -sclscr ");
    appendInt(text, s.scale);
    append(text, " -pport ");
    appendInt(text, s.pport);
    append(text, " -joy ");
    appendInt(text, s.joy);
    append(text, " -pallet ");
    append(text, paletteToken(s.threedMode, s.pallet));
    appendSwitches(text, s);
    if (text.overflowed) {
        out[0] = '\0';
        return false;
    }
    return true;
}
