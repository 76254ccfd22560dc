// Splitting the command line as the platform does, and telling a program, a shortcut and a game
// apart.
#include "paths/file_argument.h"

#include <cstring>

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// Past the program's own path and the blanks after it: no escapes in that path, as the
// platform reads it.
const char16_t* afterProgramPath(const char16_t* s) {
    if (*s == u'"') {
        ++s;
        while (*s != u'\0' && *s++ != u'"') {
        }
    } else {
        while (*s != u'\0' && !isBlank(*s)) {
            ++s;
        }
    }
    while (isBlank(*s)) {
        ++s;
    }
    return s;
}

// Appends `c` while it fits; `length` counts every unit, fitting or not.
void append(char16_t c, char16_t* out, size_t size, size_t& length) {
    if (length + 1 < size) {
        out[length] = c;
    }
    ++length;
}

// True when `text` ends in `ending` (lower-case ASCII), in any case. ASCII only: no other letter
// of any code page or of UTF-16 spells these endings.
template <typename Char> bool endsInAnyCase(const Char* text, const char* ending) {
    size_t length = 0;
    while (text != nullptr && text[length] != 0) {
        ++length;
    }
    const size_t endingLength = std::strlen(ending);
    if (length < endingLength) {
        return false;
    }
    const Char* tail = text + length - endingLength;
    for (size_t i = 0; i < endingLength; ++i) {
        const Char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<Char>(tail[i] + 32) : tail[i];
        if (c != static_cast<Char>(ending[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

bool firstArgumentOfCommandLine(const char16_t* commandLine, char16_t* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = u'\0';
    if (commandLine == nullptr) {
        return false;
    }
    const char16_t* s = afterProgramPath(commandLine);
    size_t length = 0;
    size_t backslashes = 0;
    bool quoted = false;
    for (; *s != u'\0' && (quoted || !isBlank(*s)); ++s) {
        if (*s == u'\\') {
            ++backslashes;
            continue;
        }
        const bool escapesQuote = *s == u'"' && backslashes % 2 == 1;
        for (size_t i = 0; i < (*s == u'"' ? backslashes / 2 : backslashes); ++i) {
            append(u'\\', out, size, length);
        }
        backslashes = 0;
        if (escapesQuote) {
            append(u'"', out, size, length);
        } else if (*s != u'"') {
            append(*s, out, size, length);
        } else if (quoted && s[1] == u'"') {
            append(u'"', out, size, length);
            ++s;
            quoted = false;
        } else {
            quoted = !quoted;
        }
    }
    for (; backslashes > 0; --backslashes) {
        append(u'\\', out, size, length);
    }
    if (length == 0 || length >= size) {
        out[0] = u'\0';
        return false;
    }
    out[length] = u'\0';
    return true;
}

bool namesProgram(const char* path) {
    return endsInAnyCase(path, ".exe");
}

bool namesShortcut(const char16_t* path) {
    return endsInAnyCase(path, ".lnk");
}
