// Properties of the emulator's parameter text on any settings record the launcher can hold:
// the documented layout item by item, and whole-or-nothing output for every buffer size.
#include <cstring>
#include <string>
#include <utility>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "launch/emulator_args.h"
#include "numtext/number_text.h"

namespace {

// The "%f" text of any float: sign, 39 integer digits, point, six decimals.
constexpr size_t kLongestFloatText = 47;
// A buffer size the launcher once used; a full text does not always fit it.
constexpr size_t kSmallBuffer = 512;

const char* const kDisplayTokens[] = {"frame", "320", "640", "800", "1024", "1280", "1400", "1600"};
const char* const kThreedTokens[] = {"normal",     "affine", "interlace",
                                     "over_under", "side",   "cscope"};
const char* const kPaletteTokens[] = {"normal", "red", "rb", "rg", "rc", "yb", "mg", "bg"};
constexpr int32_t kAffine = 1;
constexpr int32_t kAffinePalettes = 2; // where Affine's six two-colour palettes start

template <size_t N> const char* tokenAt(const char* const (&tokens)[N], int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < N ? tokens[index] : tokens[0];
}

const char* paletteTokenOf(int32_t threedMode, int32_t pallet) {
    const int64_t first = threedMode == kAffine ? kAffinePalettes : 0;
    const int64_t position = pallet + first;
    const int64_t count = sizeof kPaletteTokens / sizeof kPaletteTokens[0];
    return kPaletteTokens[position >= 0 && position < count ? position : first];
}

std::string intText(int32_t value) {
    char text[kIntTextSize];
    formatInt32(value, text, sizeof text);
    return text;
}

std::string realText(float value) {
    char text[kFixedTextSize];
    formatFixed(static_cast<double>(value), 6, text, sizeof text);
    return text;
}

// The eleven switch words in their order, each after its blank and empty when off.
std::string switchesOf(const LauncherSettings& s) {
    const std::pair<bool, const char*> switches[] = {
        {s.swap, "-flip"},       {s.hstretch, "-hstretch"},      {s.timmerHack, "-ltimmer"},
        {s.vfHack, "-vfhack"},   {s.more_ram != 0, "-more_ram"}, {s.debug, "-debug"},
        {s.disasm, "-disasm"},   {s.stdout_, "-stdout"},         {s.keyMap == 1, "-altkbd"},
        {s.nothrtl, "-nothrtl"}, {s.status, "-status"},
    };
    std::string text;
    for (const auto& [on, word] : switches)
        text += std::string(" ") + (on ? word : "");
    return text;
}

// The ROM path as the text carries it: a pasted path's one pair of quotes taken off.
std::string romFileOf(const LauncherSettings& s) {
    const std::string rom = s.romPath ? s.romPath.get() : "";
    const bool quoted = rom.size() >= 2 && rom.front() == '"' && rom.back() == '"';
    return quoted ? rom.substr(1, rom.size() - 2) : rom;
}

std::string expectedArguments(const LauncherSettings& s) {
    return "\"" + romFileOf(s) + "\" -display " + tokenAt(kDisplayTokens, s.dspMode) +
           " -dspmode " + tokenAt(kThreedTokens, s.threedMode) + " -frmskp " + intText(s.fSkip) +
           " -brite " + realText(s.bFactor) + " -balance " + realText(s.balr) + " " +
           realText(s.balg) + " " + realText(s.balb) + " -sclscr " + intText(s.scale) + " -pport " +
           intText(s.pport) + " -joy " + intText(s.joy) + " -pallet " +
           paletteTokenOf(s.threedMode, s.pallet) + switchesOf(s);
}

// Mostly small values, so that the choice indices often land inside their tables; any int32
// otherwise.
int32_t integerField(fuzz::ByteReader& reader) {
    const uint8_t selector = reader.byte();
    if (selector < 0x80)
        return static_cast<int32_t>(selector % 16) - 4;
    return reader.i32();
}

// A path as the launcher reads or builds it: up to 259 characters, any byte but NUL.
OwnedText pathField(fuzz::ByteReader& reader) {
    const size_t length = (size_t{reader.byte()} << 8 | reader.byte()) % kPathBufferSize;
    std::string path = reader.text(length);
    for (char& c : path) {
        if (c == '\0')
            c = '\x01';
    }
    return copyText(path.c_str());
}

void decodeRecord(const uint8_t* data, size_t size, LauncherSettings& s) {
    fuzz::ByteReader reader(data, size);
    const uint32_t flags = uint32_t{reader.byte()} << 8 | reader.byte();
    bool* const switches[] = {&s.swap,    &s.hstretch, &s.timmerHack, &s.vfHack, &s.debug,
                              &s.nothrtl, &s.status,   &s.disasm,     &s.stdout_};
    for (size_t i = 0; i < sizeof switches / sizeof switches[0]; ++i)
        *switches[i] = (flags >> i & 1u) != 0;
    int32_t* const integers[] = {&s.dspMode, &s.threedMode, &s.pallet, &s.fSkip,   &s.keyMap,
                                 &s.scale,   &s.pport,      &s.joy,    &s.more_ram};
    for (int32_t* field : integers)
        *field = integerField(reader);
    for (float* field : {&s.bFactor, &s.balr, &s.balg, &s.balb})
        *field = storedReal(static_cast<double>(reader.f32()));
    s.romPath = (flags & 0x8000u) != 0 ? nullptr : pathField(reader); // an unset path reads ""
    s.emuPath = pathField(reader);
}

std::string build(const LauncherSettings& s, size_t size, bool& fitted) {
    fuzz::GuardedBuffer out(size);
    fitted = buildEmulatorArguments(s, out.data(), size);
    if (size == 0)
        return fitted ? "\x01" : "";
    return out.terminated() ? std::string(out.data()) : std::string("\x01");
}

} // namespace

std::string checkEmulatorArguments(const uint8_t* data, size_t size) {
    LauncherSettings s{};
    decodeRecord(data, size, s);
    const std::string expected = expectedArguments(s);
    if (expected.size() >= kArgumentsBufferSize)
        return "args: a record's parameter text does not fit kArgumentsBufferSize";
    for (const float real : {s.bFactor, s.balr, s.balg, s.balb}) {
        if (realText(real).size() > kLongestFloatText)
            return "args: the \"%f\" text of a stored real is longer than 47: " + realText(real);
    }

    bool fitted = false;
    const std::string text = build(s, kArgumentsBufferSize, fitted);
    if (!fitted)
        return "args: a record's parameter text was refused";
    const std::string rom = romFileOf(s);
    if (text.compare(0, rom.size() + 2, "\"" + rom + "\"") != 0)
        return "args: the text does not start with the quoted ROM path";
    const std::string tail = switchesOf(s);
    if (text.size() < tail.size() ||
        text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
        return "args: the text does not end with the switches: " + text;
    if (text != expected)
        return "args: \"" + text + "\" is not \"" + expected + "\"";

    // Every other size: the whole text when it fits, else false and "".
    const size_t sizes[] = {
        kSmallBuffer, 0, 1, expected.size(), expected.size() + 1,
        // Below 1088, so it fits the narrower size_t of 32-bit code.
        static_cast<size_t>(fuzz::hashBytes(data, size) % (kArgumentsBufferSize + 64))};
    for (const size_t bufferSize : sizes) {
        const std::string got = build(s, bufferSize, fitted);
        const bool fits = expected.size() < bufferSize;
        if (fitted != fits || got != (fits ? expected : std::string()))
            return "args: a buffer of another size got a different or partial text";
    }
    return "";
}
