// A fresh directory for one test, removed afterwards. Its name is new on every run: a run that
// was killed leaves its directory behind, and no later run takes it over.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/files.h"
#ifdef _WIN32
#include <windows.h>

#include "paths/ansi_path_win.h"
#endif

// The name of `path` that the ANSI functions (the launcher's, and the tests' own) can reach, as
// the launcher names its own folder (ansiPathText): as named where the ANSI code page writes it
// exactly, else its short form, to which `path` changes too, so both name the same texts; "" when
// neither is exact. Windows keeps the temporary folder under the user's profile, so a user named
// Дмитрий has one whose name the code page 1252 cannot write. Under mingw path::string() is
// UTF-8, which no ANSI function reads.
inline std::string ansiReachableForm(std::filesystem::path& path, bool& asNamed) {
    asNamed = true;
#ifdef _WIN32
    char out[MAX_PATH];
    const AnsiPathForm form = ansiPathText(path.c_str(), out, sizeof out);
    if (form == AnsiPathForm::Short) {
        asNamed = false;
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, out, -1, wide, MAX_PATH);
        path = wide;
    }
    return out;
#else
    return path.string();
#endif
}

class TempDir {
  public:
    TempDir() {
        namespace fs = std::filesystem;
        static unsigned counter = 0;
        const fs::path base = fs::temp_directory_path();
        // create_directory is false for a directory that is already there, so a name taken by
        // another program running now, or left by an earlier run, is never shared.
        do {
            path_ = base / ("launcher-test-" + std::to_string(std::rand()) + "-" +
                            std::to_string(++counter));
        } while (!fs::create_directory(path_));
        dir_ = ansiReachableForm(path_, asNamed_);
        if (dir_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
            throw std::runtime_error("the temporary folder has no name in the ANSI code page, "
                                     "not even a short one: set TEMP to a plainer folder");
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory as the launcher writes it (baseDir), in the ANSI code page on Windows.
    std::string dir() const { return dir_; }
    const std::filesystem::path& path() const { return path_; }
    // False when dir() and path() are the short form, through which no longer name can pass.
    bool asNamed() const { return asNamed_; }
    // A file or folder inside it.
    std::string pathOf(const std::string& name) const {
        return dir_ + static_cast<char>(std::filesystem::path::preferred_separator) + name;
    }

    std::string read(const std::string& name) const { return readFile(pathOf(name)); }
    bool write(const std::string& name, const std::string& bytes) const {
        return writeFile(pathOf(name), bytes);
    }

  private:
    std::string dir_;
    std::filesystem::path path_;
    bool asNamed_ = true;
};
