// The record's baseDir as locateBaseDir sets it from the platform's answers.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/launcher_settings.h"

namespace {

// The platform's answers for this very test program: on Windows its own folder (from the
// command line or the module path), natively the current directory, as there is neither.
TEST(ProgramDir, LocateBaseDirAlwaysSetsIt) {
    LauncherSettings s{};
    s.locateBaseDir();
    ASSERT_NE(nullptr, s.baseDir);
#ifdef _WIN32
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    ASSERT_TRUE(length > 0 && length < sizeof self);
    const std::string program(self, length);
    EXPECT_STRCASEEQ(program.substr(0, program.find_last_of('\\')).c_str(), s.baseDir.get());
#else
    EXPECT_EQ(std::filesystem::current_path().string(), s.baseDir.get());
#endif
}

} // namespace
