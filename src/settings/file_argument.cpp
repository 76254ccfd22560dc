// Splitting the command line as the platform does, and telling a program from a game.
#include "settings/file_argument.h"

#include <cstring>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Past the program's own path and the blanks after it: no escapes in that path, as the
// platform reads it.
const char* afterProgramPath(const char* s) {
    if (*s == '"') {
        ++s;
        while (*s != '\0' && *s++ != '"') {
        }
    } else {
        while (*s != '\0' && !isBlank(*s)) {
            ++s;
        }
    }
    while (isBlank(*s)) {
        ++s;
    }
    return s;
}

// Appends `c` while it fits; `length` counts every character, fitting or not.
void append(char c, char* out, size_t size, size_t& length) {
    if (length + 1 < size) {
        out[length] = c;
    }
    ++length;
}

} // namespace

bool firstArgumentOfCommandLine(const char* commandLine, LeadByteRule isLeadByte, char* out,
                                size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    if (commandLine == nullptr) {
        return false;
    }
    const char* s = afterProgramPath(commandLine);
    size_t length = 0;
    size_t backslashes = 0;
    bool quoted = false;
    for (; *s != '\0' && (quoted || !isBlank(*s)); ++s) {
        if (*s == '\\') {
            ++backslashes;
            continue;
        }
        const bool escapesQuote = *s == '"' && backslashes % 2 == 1;
        for (size_t i = 0; i < (*s == '"' ? backslashes / 2 : backslashes); ++i) {
            append('\\', out, size, length);
        }
        backslashes = 0;
        if (isLeadByte(static_cast<unsigned char>(*s)) && s[1] != '\0') {
            append(*s, out, size, length); // the trail byte goes with it, whatever its value
            append(*++s, out, size, length);
        } else if (escapesQuote) {
            append('"', out, size, length);
        } else if (*s != '"') {
            append(*s, out, size, length);
        } else if (quoted && s[1] == '"') {
            append('"', out, size, length);
            ++s;
            quoted = false;
        } else {
            quoted = !quoted;
        }
    }
    for (; backslashes > 0; --backslashes) {
        append('\\', out, size, length);
    }
    if (length == 0 || length >= size) {
        out[0] = '\0';
        return false;
    }
    out[length] = '\0';
    return true;
}

bool namesProgram(const char* path) {
    static const char kProgramEnding[] = ".exe";
    const size_t endingLength = sizeof kProgramEnding - 1;
    const size_t length = path != nullptr ? std::strlen(path) : 0;
    if (length < endingLength) {
        return false;
    }
    const char* ending = path + length - endingLength;
    for (size_t i = 0; i < endingLength; ++i) {
        // ASCII only: the code page's other letters never spell this ending.
        const char c =
            ending[i] >= 'A' && ending[i] <= 'Z' ? static_cast<char>(ending[i] + 32) : ending[i];
        if (c != kProgramEnding[i]) {
            return false;
        }
    }
    return true;
}
