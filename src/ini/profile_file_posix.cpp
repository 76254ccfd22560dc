// The profile-file seam where the platform has no profile functions: whole-file read and
// replace around our own INI reader/writer. Its ANSI code page is UTF-8, the text of this
// platform, as on a Windows set to UTF-8 for programs that are not Unicode: a UTF-8 file only
// loses its mark, and nothing is guessed. Our reader reads no UTF-16, as before.
#include "ini/profile_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "ini/ini_text.h"

namespace {

// The launcher builds its paths with '\' separators. This native build is the test platform of
// the portable core, so the same paths have to reach the same files here.
std::string nativePath(const char* path) {
    std::string result(path);
    for (char& c : result) {
        if (c == '\\')
            c = '/';
    }
    return result;
}

enum class ReadOutcome { Read, Missing, Failed };

// Leaves `data` empty unless the whole file was read.
ReadOutcome readWholeFile(const std::string& path, std::string& data) {
    data.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return (errno == ENOENT || errno == ENOTDIR) ? ReadOutcome::Missing : ReadOutcome::Failed;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return ReadOutcome::Failed;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            close(fd);
            data.clear();
            return ReadOutcome::Failed;
        }
        data.append(chunk, static_cast<size_t>(got));
    }
    close(fd);
    return ReadOutcome::Read;
}

bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = write(fd, data.data() + done, data.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

void appendDecimal(std::string& out, unsigned long number) {
    char digits[24];
    size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0 && count < sizeof digits);
    while (count > 0)
        out += digits[--count];
}

// Opens a new file beside `path` that no one else uses; its name goes to `tempPath`.
int createTempBeside(const std::string& path, std::string& tempPath) {
    static unsigned long counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = path;
        tempPath += ".~";
        appendDecimal(tempPath, static_cast<unsigned long>(getpid()));
        tempPath += '.';
        appendDecimal(tempPath, counter++);
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The new text goes to a file of its own first and then replaces the old one in one rename, so
// a failed write leaves the old file whole.
bool replaceWholeFile(const std::string& path, const std::string& data) {
    std::string tempPath;
    const int fd = createTempBeside(path, tempPath);
    if (fd < 0)
        return false;
    struct stat old {};
    bool ok = stat(path.c_str(), &old) != 0 || fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && writeAll(fd, data) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok)
        unlink(tempPath.c_str());
    return ok;
}

} // namespace

size_t profileReadString(const char* section, const char* key, const char* fallback, char* out,
                         size_t size, const char* path) {
    // A missing or unreadable file leaves the data empty, which gives the fallback.
    std::string data;
    if (path && *path)
        readWholeFile(nativePath(path), data);
    return iniReadValue(data.data(), data.size(), section, key, fallback, out, size);
}

bool profileWriteString(const char* section, const char* key, const char* value, const char* path) {
    if (!section || !key || !value || !path || !*path)
        return false;
    const std::string file = nativePath(path);
    std::string data;
    // A file that exists but cannot be read must not be replaced by a file of one key.
    if (readWholeFile(file, data) == ReadOutcome::Failed)
        return false;
    return replaceWholeFile(file, iniWriteValue(data, section, key, value));
}

FileRead profileReadFile(const char* path, char* out, size_t size, size_t* length) {
    *length = 0;
    std::string data;
    const ReadOutcome outcome =
        path && *path ? readWholeFile(nativePath(path), data) : ReadOutcome::Missing;
    if (outcome != ReadOutcome::Read)
        return outcome == ReadOutcome::Missing ? FileRead::Missing : FileRead::Unreadable;
    *length = data.size();
    std::memcpy(out, data.data(), data.size() < size ? data.size() : size);
    return FileRead::Read;
}

bool profileReplaceFile(const char* path, const char* data, size_t size) {
    return path && *path && replaceWholeFile(nativePath(path), std::string(data, size));
}

namespace {

// UTF-16 as UTF-8, which holds every character; a lone surrogate has no form and fails.
bool utf8FromUtf16(const char16_t* text, size_t length, char* out, size_t size, size_t* written) {
    size_t used = 0;
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
        const size_t count = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (size - used < count)
            return false;
        static const unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        for (size_t k = count; k-- > 1;) {
            out[used + k] = static_cast<char>(0x80 | (c & 0x3F));
            c >>= 6;
        }
        out[used] = static_cast<char>(kLead[count] | c);
        used += count;
    }
    *written = used;
    return true;
}

} // namespace

AnsiCodePage profileCodePage() {
    return {false, utf8FromUtf16};
}
