// A fresh directory for one test, removed afterwards. Its name is new on every run: a run that
// was killed leaves its directory behind, and no later run takes it over.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/files.h"

class TempDir {
  public:
    TempDir() {
        namespace fs = std::filesystem;
        static unsigned counter = 0;
        const fs::path base = fs::temp_directory_path();
        // create_directory is false for a directory that is already there, so a name taken by
        // another program running now, or left by an earlier run, is never shared.
        for (;;) {
            path_ = base / ("launcher-test-" + std::to_string(std::rand()) + "-" +
                            std::to_string(++counter));
            if (fs::create_directory(path_)) {
                break;
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory as the launcher writes it (baseDir).
    std::string dir() const { return path_.string(); }
    const std::filesystem::path& path() const { return path_; }
    // A file or folder inside it.
    std::string pathOf(const std::string& name) const { return (path_ / name).string(); }

    std::string read(const std::string& name) const { return readFile(pathOf(name)); }
    bool write(const std::string& name, const std::string& bytes) const {
        return writeFile(pathOf(name), bytes);
    }

  private:
    std::filesystem::path path_;
};
