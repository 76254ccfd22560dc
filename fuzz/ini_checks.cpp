// Properties of the INI reader/writer on any settings file: what the launcher reads, which
// lines its save may replace (and that every other line survives in order), that every saved
// value reads back, and that saving the same values again changes nothing.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "ini/ini_text.h"
#include "numtext/number_text.h"
#include "settings/launcher_settings.h"

namespace {

enum class Kind { Integer, Flag, Real, Path };

struct SettingKey {
    const char* name;
    Kind kind;
};

// The settings file keeps these 24 keys in section "main"; a save writes them in this order.
const SettingKey kKeys[] = {
    {"dspMode", Kind::Integer},  {"threedMode", Kind::Integer}, {"pallet", Kind::Integer},
    {"fSkip", Kind::Integer},    {"bFactor", Kind::Real},       {"balr", Kind::Real},
    {"balg", Kind::Real},        {"balb", Kind::Real},          {"scale", Kind::Integer},
    {"pport", Kind::Integer},    {"keyMap", Kind::Integer},     {"joy", Kind::Integer},
    {"more_ram", Kind::Integer}, {"swap", Kind::Flag},          {"hstretch", Kind::Flag},
    {"timmerHack", Kind::Flag},  {"vfHack", Kind::Flag},        {"debug", Kind::Flag},
    {"nothrtl", Kind::Flag},     {"status", Kind::Flag},        {"disasm", Kind::Flag},
    {"stdout", Kind::Flag},      {"emuPath", Kind::Path},       {"romPath", Kind::Path},
};
constexpr size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];
constexpr size_t kMissing = static_cast<size_t>(-1);

const char kSection[] = "main";
const char kPathFallback[] = "C:\\Emu\\quellix.exe  "; // trailing spaces: dropped on a miss

// ---- The file as the profile functions see it, derived independently of the product -------
// Views into the file text, which outlives them: no copies, as this runs on every input.

enum class LineKind { Other, Header, Comment, Key };

struct Line {
    std::string_view text;      // without its line break
    std::string_view lineBreak; // "\r\n", "\n", "\r", or "" for a last line without one
    LineKind kind = LineKind::Other;
    std::string_view name;  // a header's section or a key line's key, file blanks dropped
    std::string_view value; // a key line's value, file blanks dropped
};

bool isFileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isFileBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isFileBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void classify(Line& line) {
    const std::string_view t = trimBlanks(line.text);
    if (t.empty())
        return;
    if (t[0] == '[') {
        line.kind = LineKind::Header;
        line.name = trimBlanks(t.substr(1, t.find(']', 1) - 1));
    } else if (t[0] == ';') {
        line.kind = LineKind::Comment;
    } else if (const size_t equals = t.find('='); equals != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = trimBlanks(t.substr(0, equals));
        line.value = trimBlanks(t.substr(equals + 1));
    }
}

std::vector<Line> splitLines(std::string_view data) {
    std::vector<Line> lines;
    while (!data.empty()) {
        const size_t end = std::min(data.find_first_of("\r\n"), data.size());
        const size_t breakLength = data.compare(end, 2, "\r\n") == 0 ? 2 : end < data.size();
        Line line;
        line.text = data.substr(0, end);
        line.lineBreak = data.substr(end, breakLength);
        classify(line);
        lines.push_back(line);
        data.remove_prefix(end + breakLength);
    }
    return lines;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// A section or key argument loses its spaces only.
std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

struct Lookup {
    bool sectionFound = false;
    size_t line = kMissing; // the key's line: its first one in the first such section
};

Lookup lookUp(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Lookup found;
    const std::string_view sectionName = trimSpaces(section), keyName = trimSpaces(key);
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Header) {
            if (inSection)
                break;
            inSection = sameName(lines[i].name, sectionName);
            found.sectionFound |= inSection;
        } else if (inSection && lines[i].kind == LineKind::Key &&
                   sameName(lines[i].name, keyName)) {
            found.line = i;
            break;
        }
    }
    return found;
}

// What a read must give: the value without one matching pair of outer quotes, up to a NUL,
// or the fallback without its trailing spaces; cut to the buffer.
std::string_view expectedRead(const std::vector<Line>& lines, std::string_view section,
                              std::string_view key, const char* fallback, size_t outSize) {
    const Lookup found = lookUp(lines, section, key);
    std::string_view text;
    if (found.line != kMissing) {
        text = lines[found.line].value;
        if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
            text = text.substr(1, text.size() - 2);
        text = text.substr(0, text.find('\0'));
    } else if (fallback != nullptr) {
        text = fallback;
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
    }
    return outSize == 0 ? std::string_view() : text.substr(0, outSize - 1);
}

// ---- Checks --------------------------------------------------------------------------------

std::string clip(std::string_view text) {
    return std::string(text.substr(0, 60)) + (text.size() > 60 ? "..." : "");
}

// One read through the product into `out`, a block of exactly the buffer size the read is
// given; "" or a failure.
std::string checkedRead(const std::string& data, const std::vector<Line>& lines,
                        const std::string& section, const std::string& key, const char* fallback,
                        fuzz::GuardedBuffer& out) {
    out.refill();
    const size_t length = iniReadValue(data.data(), data.size(), section.c_str(), key.c_str(),
                                       fallback, out.data(), out.size());
    if (out.size() == 0)
        return length == 0 ? "" : "ini: a read into no buffer returned a length";
    if (!out.terminated())
        return "ini: the value of " + clip(key) + " is not terminated within the buffer";
    if (std::strlen(out.data()) != length)
        return "ini: the length returned for " + clip(key) + " is not the value's";
    const std::string_view expected = expectedRead(lines, section, key, fallback, out.size());
    if (expected != out.data())
        return "ini: [" + clip(section) + "] " + clip(key) + " reads \"" + clip(out.data()) +
               "\", expected \"" + clip(expected) + "\"";
    return "";
}

// A value of the key's kind as the launcher saves it. Paths avoid what a read would change:
// line breaks, and blanks or quotes at either end.
std::string savedValue(Kind kind, fuzz::Generator& gen) {
    switch (kind) {
    case Kind::Integer: {
        char text[kIntTextSize];
        const uint32_t raw = static_cast<uint32_t>(gen.next());
        const int32_t value =
            gen.below(2) ? static_cast<int32_t>(raw % 8) : static_cast<int32_t>(raw);
        formatInt32(value, text, sizeof text);
        return text;
    }
    case Kind::Flag:
        return gen.below(2) ? "1" : "0";
    case Kind::Real: {
        const uint64_t bits = gen.next();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (gen.below(2))
            value = static_cast<double>(gen.below(4000)) / 1000.0;
        char text[kFixedTextSize];
        formatFixed(static_cast<double>(storedReal(value)), 6, text, sizeof text);
        return text;
    }
    case Kind::Path:
        break;
    }
    std::string path(gen.below(kPathBufferSize), 'x');
    for (char& c : path) {
        c = static_cast<char>(1 + gen.below(255));
        if (c == '\r' || c == '\n')
            c = '\\';
    }
    auto bad = [](char c) { return isFileBlank(c) || c == '"' || c == '\''; };
    if (!path.empty() && bad(path.front()))
        path.front() = 'C';
    if (!path.empty() && bad(path.back()))
        path.back() = 'b';
    return path;
}

std::string saveAll(std::string file, const std::string (&values)[kKeyCount]) {
    for (size_t i = 0; i < kKeyCount; ++i)
        file = iniWriteValue(file, kSection, kKeys[i].name, values[i].c_str());
    return file;
}

// Every line the save does not own appears in the saved file, in order, with its bytes and
// line break; only a last line without a line break may gain CRLF (a key line was put after
// it). The save owns, per key, only the key's first line in the first [main] section.
std::string checkForeignLines(const std::vector<Line>& before, const std::vector<bool>& owned,
                              const std::vector<Line>& after) {
    size_t at = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (owned[i])
            continue;
        const Line& line = before[i];
        auto same = [&line](const Line& other) {
            return other.text == line.text &&
                   (other.lineBreak == line.lineBreak ||
                    (line.lineBreak.empty() && other.lineBreak == "\r\n"));
        };
        while (at < after.size() && !same(after[at]))
            ++at;
        if (at == after.size())
            return "ini: the save lost or moved the line \"" + clip(line.text) + "\"";
        ++at;
    }
    return "";
}

} // namespace

std::string checkIniText(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string section = kSection, key, file = input;
    if (const size_t newline = input.find('\n'); newline != std::string::npos) {
        const std::string lookup = input.substr(0, newline);
        file = input.substr(newline + 1);
        const size_t colon = lookup.find(':');
        if (colon == std::string::npos) {
            key = lookup;
        } else {
            section = lookup.substr(0, colon);
            key = lookup.substr(colon + 1);
        }
        // Arguments are C strings: a NUL ends them.
        section = section.substr(0, section.find('\0'));
        key = key.substr(0, key.find('\0'));
    }

    const std::vector<Line> lines = splitLines(file);
    const uint64_t hash = fuzz::hashBytes(data, size);
    for (const size_t outSize : {kValueBufferSize, static_cast<size_t>(hash % 6)}) {
        fuzz::GuardedBuffer out(outSize);
        std::string failure = checkedRead(file, lines, section, key, "fallback  ", out);
        if (!failure.empty())
            return failure;
    }

    std::vector<bool> owned(lines.size(), false);
    size_t added = lookUp(lines, kSection, "").sectionFound ? 0 : 1; // a new [main] header
    fuzz::GuardedBuffer out(kValueBufferSize);
    for (const SettingKey& k : kKeys) {
        const char* fallback = k.kind == Kind::Path ? kPathFallback : nullptr;
        std::string failure = checkedRead(file, lines, kSection, k.name, fallback, out);
        if (!failure.empty())
            return failure;
        const size_t line = lookUp(lines, kSection, k.name).line;
        if (line != kMissing)
            owned[line] = true;
        else
            ++added;
    }

    fuzz::Generator gen(hash);
    std::string values[kKeyCount];
    for (size_t i = 0; i < kKeyCount; ++i)
        values[i] = savedValue(kKeys[i].kind, gen);
    const std::string saved = saveAll(file, values);
    const std::vector<Line> savedLines = splitLines(saved);

    std::string failure = checkForeignLines(lines, owned, savedLines);
    if (!failure.empty())
        return failure;
    if (savedLines.size() != lines.size() + added)
        return "ini: the save added other lines than the missing keys' (and [main])";
    for (size_t i = 0; i < kKeyCount; ++i) {
        out.refill();
        iniReadValue(saved.data(), saved.size(), kSection, kKeys[i].name, nullptr, out.data(),
                     out.size());
        if (std::string_view(values[i]).substr(0, kValueBufferSize - 1) != out.data())
            return std::string("ini: ") + kKeys[i].name + " does not read back as saved: \"" +
                   clip(out.data()) + "\", saved \"" + clip(values[i]) + "\"";
    }
    // The launcher saves at every exit, mostly unchanged values: that must leave the file as it
    // is. Checked on one input in eight, as it costs as much as the first save.
    if ((hash >> 8) % 8 == 0 && saveAll(saved, values) != saved)
        return "ini: saving the same values again changed the file";
    return "";
}
