// Our own INI reader/writer: one key of Windows-style INI text, read or set in memory, with the
// results the Windows profile functions give for the same bytes.
#include "ini/ini_text.h"

#include <cstring>

namespace {

// A stretch of the caller's bytes; never owns them.
struct Span {
    const char* text = nullptr;
    size_t size = 0;
};

// Inside the file, names and values lose space, TAB and VT at both ends; nothing else counts.
bool isFileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

Span trimFileBlanks(const char* begin, const char* end) {
    while (begin < end && isFileBlank(*begin))
        ++begin;
    while (end > begin && isFileBlank(end[-1]))
        --end;
    return {begin, static_cast<size_t>(end - begin)};
}

// The section and key arguments lose only their spaces: "k\t" must not find "k".
Span trimArgumentSpaces(const char* text) {
    const char* end = text + std::strlen(text);
    while (*text == ' ')
        ++text;
    while (end > text && end[-1] == ' ')
        --end;
    return {text, static_cast<size_t>(end - text)};
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(Span a, Span b) {
    if (a.size != b.size)
        return false;
    for (size_t i = 0; i < a.size; ++i) {
        if (asciiLower(a.text[i]) != asciiLower(b.text[i]))
            return false;
    }
    return true;
}

enum class LineKind { Other, Header, Comment, Key };

// One line of the text. `end` is where its line break starts (or the end of the data), `next` is
// where the following line starts; `name` is the section of a header or the key of a key line.
struct Line {
    size_t start = 0;
    size_t end = 0;
    size_t next = 0;
    LineKind kind = LineKind::Other;
    Span name;
    Span value;
};

// Splits the text into lines at CRLF, LF or a lone CR, and sorts each line the way the lookup
// sees it. A header needs only a leading '[' (after blanks): its name ends at the first ']' or
// at the end of the line. A ';' first makes a comment, and any other line is a key line only
// when it has an '='.
class LineScanner {
  public:
    LineScanner(const char* data, size_t size) : data_(data), size_(size) {}

    bool next(Line& line) {
        if (pos_ >= size_)
            return false;
        line.start = pos_;
        size_t end = pos_;
        while (end < size_ && data_[end] != '\r' && data_[end] != '\n')
            ++end;
        line.end = end;
        if (end < size_ && data_[end] == '\r' && end + 1 < size_ && data_[end + 1] == '\n')
            line.next = end + 2;
        else
            line.next = end < size_ ? end + 1 : end;
        pos_ = line.next;
        classify(line);
        return true;
    }

  private:
    void classify(Line& line) const {
        const char* begin = data_ + line.start;
        const char* end = data_ + line.end;
        while (begin < end && isFileBlank(*begin))
            ++begin;
        line.kind = LineKind::Other;
        line.name = Span{};
        line.value = Span{};
        if (begin == end)
            return;
        if (*begin == '[') {
            const char* nameBegin = begin + 1;
            const void* close = std::memchr(nameBegin, ']', static_cast<size_t>(end - nameBegin));
            const char* nameEnd = close ? static_cast<const char*>(close) : end;
            line.kind = LineKind::Header;
            line.name = trimFileBlanks(nameBegin, nameEnd);
            return;
        }
        if (*begin == ';') {
            line.kind = LineKind::Comment;
            return;
        }
        const void* equals = std::memchr(begin, '=', static_cast<size_t>(end - begin));
        if (!equals)
            return;
        const char* eq = static_cast<const char*>(equals);
        line.kind = LineKind::Key;
        line.name = trimFileBlanks(begin, eq);
        line.value = trimFileBlanks(eq + 1, end);
    }

    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Where `key` of `section` is, or where a new one would go. Only the first section of that name
// counts, and in it only the first line of that key.
struct KeyPlace {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    // The line a new key follows: the section's last key line, or its header. Comments and
    // blank lines at the end of the section stay after the new key.
    Line anchor;
};

KeyPlace findKey(const char* data, size_t size, Span section, Span key) {
    KeyPlace place;
    LineScanner scanner(data, size);
    Line line;
    bool inSection = false;
    while (scanner.next(line)) {
        if (line.kind == LineKind::Header) {
            if (inSection)
                break;
            if (sameName(line.name, section)) {
                inSection = true;
                place.sectionFound = true;
                place.anchor = line;
            }
            continue;
        }
        if (!inSection || line.kind != LineKind::Key)
            continue;
        if (sameName(line.name, key)) {
            place.keyFound = true;
            place.keyLine = line;
            break;
        }
        place.anchor = line;
    }
    return place;
}

Span unquote(Span value) {
    if (value.size >= 2) {
        const char first = value.text[0];
        if ((first == '"' || first == '\'') && value.text[value.size - 1] == first)
            return {value.text + 1, value.size - 2};
    }
    return value;
}

size_t copyOut(Span text, char* out, size_t outSize) {
    if (outSize == 0)
        return 0;
    // The caller gets a C string, so a NUL byte in the file ends the value there.
    size_t length = text.size;
    if (const void* nul = length > 0 ? std::memchr(text.text, '\0', length) : nullptr)
        length = static_cast<size_t>(static_cast<const char*>(nul) - text.text);
    if (length > outSize - 1)
        length = outSize - 1;
    if (length > 0)
        std::memcpy(out, text.text, length);
    out[length] = '\0';
    return length;
}

Span fallbackText(const char* fallback) {
    if (!fallback)
        return {"", 0};
    size_t length = std::strlen(fallback);
    while (length > 0 && fallback[length - 1] == ' ')
        --length;
    return {fallback, length};
}

void appendKeyLine(std::string& out, Span key, const char* value) {
    out.append(key.text, key.size);
    out += '=';
    out += value;
    out += "\r\n";
}

bool endsWithLineBreak(const std::string& data) {
    return !data.empty() && (data.back() == '\r' || data.back() == '\n');
}

} // namespace

size_t iniReadValue(const char* data, size_t size, const char* section, const char* key,
                    const char* fallback, char* out, size_t outSize) {
    if (outSize == 0)
        return 0;
    if (data && section && key) {
        const KeyPlace place =
            findKey(data, size, trimArgumentSpaces(section), trimArgumentSpaces(key));
        if (place.keyFound)
            return copyOut(unquote(place.keyLine.value), out, outSize);
    }
    return copyOut(fallbackText(fallback), out, outSize);
}

std::string iniWriteValue(const std::string& data, const char* section, const char* key,
                          const char* value) {
    if (!section || !key || !value)
        return data;
    const Span sectionName = trimArgumentSpaces(section);
    const Span keyName = trimArgumentSpaces(key);
    const KeyPlace place = findKey(data.data(), data.size(), sectionName, keyName);

    std::string out;
    out.reserve(data.size() + sectionName.size + keyName.size + std::strlen(value) + 10);
    if (place.keyFound) {
        // The whole old line goes, blanks and line break included; the key keeps the file's
        // spelling.
        out.append(data, 0, place.keyLine.start);
        appendKeyLine(out, place.keyLine.name, value);
        out.append(data, place.keyLine.next, std::string::npos);
    } else if (place.sectionFound) {
        const size_t at = place.anchor.next;
        out.append(data, 0, at);
        // Only the data's last line can lack a line break.
        if (place.anchor.next == place.anchor.end)
            out += "\r\n";
        appendKeyLine(out, keyName, value);
        out.append(data, at, std::string::npos);
    } else {
        out = data;
        if (!out.empty() && !endsWithLineBreak(out))
            out += "\r\n";
        out += '[';
        out.append(sectionName.text, sectionName.size);
        out += "]\r\n";
        appendKeyLine(out, keyName, value);
    }
    return out;
}
