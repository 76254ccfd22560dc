// Properties of finding the launcher's directory from any command line, module path and
// current directory: always set, bounded, taken from the first source the rule allows, and
// ending in a backslash only where the source itself doubled one.
#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz_checks.h"
#include "fuzz_support.h"
#include "paths/path_text.h"
#include "paths/program_dir.h"

namespace {

// A source text the platform may or may not have given.
struct Source {
    bool given = false;
    std::string text;
    const char* get() const { return given ? text.c_str() : nullptr; }
};

// A drive letter, a colon and a backslash, or two backslashes.
bool fullyQualified(const std::string& path) {
    if (path.compare(0, 2, "\\\\") == 0)
        return true;
    const char lower = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    return path.size() >= 3 && lower >= 'a' && lower <= 'z' && path[1] == ':' && path[2] == '\\';
}

// The quoted launcher path at the start of a command line, when it fits `size`.
bool pathFromCommandLine(const Source& commandLine, size_t size, std::string& path) {
    const std::string& text = commandLine.text;
    if (!commandLine.given || text.compare(0, 1, "\"") != 0)
        return false;
    const size_t start = std::min(text.find_first_not_of('"', 1), text.size());
    path = text.substr(start, text.find('"', start) - start);
    return !path.empty() && path.size() < size;
}

// The part of `path` before its last backslash, when it fits `size`.
bool directoryOf(const std::string& path, size_t size, std::string& directory) {
    const size_t backslash = path.rfind('\\');
    if (backslash == std::string::npos || backslash >= size)
        return false;
    directory = path.substr(0, backslash);
    return true;
}

// True when `source` starts with `result` followed by a backslash: a directory cut from it.
bool cutBeforeBackslash(const std::string& result, const std::string& source) {
    return source.size() > result.size() && source.compare(0, result.size(), result) == 0 &&
           source[result.size()] == '\\';
}

std::string checkHelpers(const Source& commandLine, const Source& module, size_t size) {
    std::string expected;
    fuzz::GuardedBuffer path(size);
    bool expectedOk = pathFromCommandLine(commandLine, size, expected);
    if (launcherPathFromCommandLine(commandLine.get(), path.data(), size) != expectedOk)
        return "basedir: launcherPathFromCommandLine accepts what it should not, or the reverse";
    if (size > 0 && (!path.terminated() || (expectedOk ? expected : "") != path.data()))
        return "basedir: launcherPathFromCommandLine gave the wrong text";

    fuzz::GuardedBuffer directory(size);
    expectedOk = module.given && directoryOf(module.text, size, expected);
    if (directoryOfPath(module.get(), noLeadBytes, directory.data(), size) != expectedOk)
        return "basedir: directoryOfPath accepts what it should not, or the reverse";
    if (size > 0 && (!directory.terminated() || (expectedOk ? expected : "") != directory.data()))
        return "basedir: directoryOfPath gave the wrong text";
    return "";
}

} // namespace

std::string checkBaseDir(const uint8_t* data, size_t size) {
    Source sources[3];
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t pos = 0;
    for (Source& source : sources) {
        if (pos > input.size())
            break;
        const size_t end = std::min(input.find('\0', pos), input.size());
        source.given = true;
        source.text = input.substr(pos, end - pos);
        pos = end + 1;
    }
    const Source& commandLine = sources[0];
    const Source& module = sources[1];
    const Source& current = sources[2];

    const OwnedText baseDir =
        deriveBaseDir(commandLine.get(), module.get(), current.get(), noLeadBytes);
    if (baseDir == nullptr)
        return "basedir: no directory";
    const std::string result = baseDir.get();
    if (result.size() >= kPathBufferSize)
        return "basedir: the directory is longer than 259 characters";

    std::string launcherPath, expected = ".";
    const bool haveLauncherPath = pathFromCommandLine(commandLine, kPathBufferSize, launcherPath);
    const bool fromCommandLine = haveLauncherPath && cutBeforeBackslash(result, launcherPath);
    const bool fromModule = module.given && cutBeforeBackslash(result, module.text);
    const bool fromCurrent =
        current.given && (current.text == result || current.text == result + "\\");
    if (!fromCommandLine && !fromModule && !fromCurrent && result != ".")
        return "basedir: \"" + result + "\" comes from none of the sources";
    if (!result.empty() && result.back() == '\\' && result != "\\" &&
        !(fromCommandLine && launcherPath[result.size() - 1] == '\\') &&
        !(fromModule && module.text[result.size() - 1] == '\\') &&
        !(fromCurrent && current.text.size() > result.size()))
        return "basedir: \"" + result + "\" ends with a backslash no source doubled";

    // The first source the rule allows decides.
    std::string directory;
    // A relative command-line path names a folder only against the parent's current directory.
    if (haveLauncherPath && fullyQualified(launcherPath) &&
        directoryOf(launcherPath, kPathBufferSize, directory)) {
        expected = directory;
    } else if (module.given && directoryOf(module.text, kPathBufferSize, directory)) {
        expected = directory;
    } else if (current.given && !current.text.empty() && current.text.size() < kPathBufferSize) {
        expected = current.text;
        if (expected.size() > 1 && expected.back() == '\\')
            expected.pop_back();
    }
    if (result != expected)
        return "basedir: \"" + result + "\" instead of \"" + expected + "\"";

    fuzz::Generator gen(fuzz::hashBytes(data, size));
    for (const size_t bufferSize : {size_t{0}, size_t{1}, kPathBufferSize,
                                    static_cast<size_t>(gen.below(kPathBufferSize + 40))}) {
        std::string failure = checkHelpers(commandLine, module, bufferSize);
        if (!failure.empty())
            return failure;
    }
    return "";
}
