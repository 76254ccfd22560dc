// A fresh directory for one test, removed afterwards, and how the launcher's Windows-style
// paths inside it are found on disk.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempDir {
  public:
    TempDir() {
        namespace fs = std::filesystem;
        static unsigned counter = 0;
        const fs::path base = fs::temp_directory_path();
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

    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

  private:
    std::filesystem::path path_;
};
