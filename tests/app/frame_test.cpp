// The launcher as a whole process: started as the shell starts it, closed through its window,
// its exit status and the settings file it leaves behind; and what the exe carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/launcher_run.h"
#include "support/temp_dir.h"

namespace {

// ---- runs that end through the window ----

TEST(LauncherFrame, FirstRunWritesEveryKey) {
    TempDir folder;
    LauncherRun run(folder, LAUNCHER_EXE);
    ASSERT_TRUE(run.copied());
    EXPECT_EQ(1u, run.runAndClose());
    EXPECT_EQ(firstRunFile(folder.dir()), readFile(settingsPath(folder)));
}

// The session's end, sent as the platform sends it: a cancelled end saves nothing and the
// launcher runs on; an end saves at once, and the exit that follows (here: the window closed,
// since the test does not end the process) does not save again.
TEST(LauncherFrame, TheSessionsEndSavesOnceAndACancelledEndNothing) {
    TempDir folder;
    LauncherRun run(folder, LAUNCHER_EXE);
    ASSERT_TRUE(run.copied());
    const std::string file = settingsPath(folder);
    EXPECT_EQ(1u, run.runAndClose([&](HWND window) {
        SendMessageA(window, WM_ENDSESSION, FALSE, 0);
        EXPECT_EQ("", readFile(file)) << "a cancelled end saved";
        SendMessageA(window, WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(firstRunFile(folder.dir()), readFile(file));
        DeleteFileA(file.c_str());
    }));
    EXPECT_EQ("", readFile(file)) << "saved again at exit";
}

TEST(LauncherFrame, SavedFileIsWhatTheWindowShowed) {
    struct Case {
        const char* name;
        std::string file;
        std::string savedLine; // must appear in the saved file
    };
    const Case cases[] = {
        // Filling shows one decimal and reads it back, so an untouched 0.87 is saved as 0.9.
        {"brightness rounded", "[main]\r\nbFactor=0.87\r\n", "bFactor=0.900000\r\n"},
        {"balance rounded", "[main]\r\nbalg=0.25\r\n", "balg=0.300000\r\n"},
        // Values the window cannot select are kept as they were.
        {"zoom past the list", "[main]\r\nscale=9\r\n", "scale=9\r\n"},
        {"ram hack value", "[main]\r\nmore_ram=5\r\n", "more_ram=5\r\n"},
        {"frame skip unsigned", "[main]\r\nfSkip=-1\r\n", "fSkip=-1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        LauncherRun run(folder, LAUNCHER_EXE);
        ASSERT_TRUE(run.copied());
        folder.write(kSettingsName, c.file);
        EXPECT_EQ(1u, run.runAndClose());
        const std::string saved = readFile(settingsPath(folder));
        EXPECT_NE(std::string::npos, saved.find(c.savedLine)) << saved;
        EXPECT_NE(std::string::npos, saved.find("romPath=")) << saved;
    }
}

TEST(LauncherFrame, UnwritableSettingsStillEndNormally) {
    {
        SCOPED_TRACE("read-only file");
        TempDir folder;
        LauncherRun run(folder, LAUNCHER_EXE);
        ASSERT_TRUE(run.copied());
        const std::string original = "[main]\r\ndspMode=3\r\nbFactor=0.87\r\n";
        folder.write(kSettingsName, original);
        const std::string path = settingsPath(folder);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        // Run as root, Wine lets a read-only file be written all the same; there the file is
        // also held open against writers (readers still share it), so the launcher meets a
        // file it cannot write either way.
        HANDLE guard = INVALID_HANDLE_VALUE;
        HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            CloseHandle(probe);
            guard = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, guard);
        }
        EXPECT_EQ(1u, run.runAndClose());
        if (guard != INVALID_HANDLE_VALUE) {
            CloseHandle(guard);
        }
        EXPECT_EQ(original, readFile(path));
        // So the folder can be removed.
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    {
        SCOPED_TRACE("a folder in the file's place");
        TempDir folder;
        LauncherRun run(folder, LAUNCHER_EXE);
        ASSERT_TRUE(run.copied());
        const std::string path = settingsPath(folder);
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        EXPECT_EQ(1u, run.runAndClose());
        const DWORD attributes = GetFileAttributesA(path.c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
        EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
}

// The same frame linked without its resources: the window cannot be made.
TEST(LauncherFrame, NoWindowEndsAtOnceWithoutSaving) {
    TempDir folder;
    LauncherRun run(folder, LAUNCHER_WITHOUT_DIALOG_EXE);
    ASSERT_TRUE(run.copied());
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.exited(kNoWindowExitTimeoutMs));
    EXPECT_EQ(2u, run.exitCode());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settingsPath(folder).c_str()));
}

// ---- what the exe carries ----

// Reads little-endian fields of a file image; any read past the end fails the reader.
class Image {
  public:
    explicit Image(std::string bytes) : bytes_(std::move(bytes)) {}

    uint32_t read(size_t offset, size_t width) {
        if (offset > bytes_.size() || width > bytes_.size() - offset) {
            ok_ = false;
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[offset + i])) << (8 * i);
        }
        return value;
    }
    uint16_t u16(size_t offset) { return static_cast<uint16_t>(read(offset, 2)); }
    uint32_t u32(size_t offset) { return read(offset, 4); }

    // A zero-terminated name at `offset`, at most 256 characters.
    std::string name(size_t offset) {
        std::string text;
        for (size_t i = 0; i < 256; ++i) {
            const uint32_t c = read(offset + i, 1);
            if (!ok_ || c == 0) {
                return text;
            }
            text.push_back(static_cast<char>(c));
        }
        ok_ = false;
        return text;
    }

    bool ok() const { return ok_; }
    size_t size() const { return bytes_.size(); }

  private:
    std::string bytes_;
    bool ok_ = true;
};

struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawOffset;
    uint32_t rawSize;
};

// The names of the DLLs in the import directory, for a 32-bit or a 64-bit image.
std::vector<std::string> importedDlls(Image& image) {
    std::vector<std::string> dlls;
    if (image.u16(0) != 0x5A4D) { // "MZ"
        ADD_FAILURE() << "no DOS header";
        return dlls;
    }
    const size_t pe = image.u32(0x3C);
    if (image.u32(pe) != 0x00004550) { // "PE\0\0"
        ADD_FAILURE() << "no PE header";
        return dlls;
    }
    const size_t fileHeader = pe + 4;
    const uint16_t sectionCount = image.u16(fileHeader + 2);
    const uint16_t optionalSize = image.u16(fileHeader + 16);
    const size_t optional = fileHeader + 20;
    const uint16_t magic = image.u16(optional);
    // The data directories follow the fixed fields, which are longer in the 64-bit header.
    size_t directories = 0;
    if (magic == 0x10B) {
        directories = optional + 96;
    } else if (magic == 0x20B) {
        directories = optional + 112;
    } else {
        ADD_FAILURE() << "unknown optional header";
        return dlls;
    }
    const uint32_t importRva = image.u32(directories + 8);

    std::vector<Section> sections;
    const size_t sectionTable = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const size_t at = sectionTable + 40u * i;
        sections.push_back(
            {image.u32(at + 12), image.u32(at + 8), image.u32(at + 20), image.u32(at + 16)});
    }
    const auto fileOffset = [&sections](uint32_t rva, size_t* offset) {
        for (const Section& s : sections) {
            const uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
                *offset = static_cast<size_t>(s.rawOffset) + (rva - s.virtualAddress);
                return true;
            }
        }
        return false;
    };

    size_t descriptor = 0;
    if (importRva == 0 || !fileOffset(importRva, &descriptor)) {
        ADD_FAILURE() << "no import directory";
        return dlls;
    }
    // Import descriptors of 20 bytes each, ended by an all-zero one.
    for (size_t i = 0; i < 1000 && image.ok(); ++i, descriptor += 20) {
        const uint32_t nameRva = image.u32(descriptor + 12);
        if (nameRva == 0 && image.u32(descriptor) == 0 && image.u32(descriptor + 16) == 0) {
            break;
        }
        size_t nameOffset = 0;
        if (!fileOffset(nameRva, &nameOffset)) {
            ADD_FAILURE() << "import name outside every section";
            break;
        }
        dlls.push_back(image.name(nameOffset));
    }
    EXPECT_TRUE(image.ok()) << "import directory runs past the file";
    return dlls;
}

// The DLL names of the allowed list, one a line; '#' starts a comment line.
std::vector<std::string> allowedImports() {
    const std::string text = readFile(LOAD_TIME_IMPORTS);
    std::vector<std::string> names;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != '#') {
            names.push_back(line);
        }
        start = end + 1;
    }
    return names;
}

TEST(LauncherExe, ImportsOnlyTheAllowedSystemDllsAtLoadTime) {
    Image image(readFile(LAUNCHER_EXE));
    ASSERT_GT(image.size(), 0u);
    const std::vector<std::string> dlls = importedDlls(image);
    const std::vector<std::string> allowed = allowedImports();
    ASSERT_FALSE(allowed.empty()) << LOAD_TIME_IMPORTS;
    EXPECT_FALSE(dlls.empty());
    for (const std::string& dll : dlls) {
        bool known = false;
        for (const std::string& name : allowed) {
            known = known || lstrcmpiA(dll.c_str(), name.c_str()) == 0;
        }
        EXPECT_TRUE(known) << dll;
    }
}

TEST(LauncherExe, CarriesIconAndManifest) {
    HMODULE exe = LoadLibraryExA(LAUNCHER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    const struct {
        const char* name;
        WORD id;
        LPCSTR type;
    } resources[] = {
        {"icon group", 102, RT_GROUP_ICON},
        {"manifest", 1, RT_MANIFEST},
        {"dialog", 101, RT_DIALOG},
    };
    for (const auto& resource : resources) {
        EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(resource.id), resource.type))
            << resource.name;
    }
    FreeLibrary(exe);
}

} // namespace
