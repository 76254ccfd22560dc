// Whole files read and written in one call, natively and on Windows alike.
#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

// The file's bytes; nothing when it cannot be opened (missing, or a folder).
inline std::optional<std::string> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// The file's bytes, "" when it cannot be read.
inline std::string readFile(const std::string& path) {
    return fileBytes(path).value_or(std::string());
}

// Replaces the file's bytes; false unless every byte reached it.
inline bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// Writes a new file at `target` with the bytes of `source`. A copy made by the system would take
// the source's other streams along, among them the mark of a downloaded zip ("Zone.Identifier")
// that makes the shell ask before it starts the copy; a new file has none. False unless every
// byte arrived.
inline bool writeCopy(const std::string& source, const std::string& target) {
    const std::optional<std::string> bytes = fileBytes(source);
    return bytes.has_value() && writeFile(target, *bytes);
}
