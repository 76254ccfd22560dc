// The record's baseDir as locateBaseDir sets it from the platform's answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/launcher_settings.h"
#ifdef _WIN32
#include "support/launcher_run.h"
#endif

namespace {

// The platform's answers for this very test program: on Windows its own folder (from the
// command line or the module path; in its short form where the code page cannot write it, as a
// kit unzipped under such a user name is), natively the current directory, as there is neither.
TEST(ProgramDir, LocateBaseDirAlwaysSetsIt) {
    LauncherSettings s{};
    s.locateBaseDir();
    ASSERT_NE(nullptr, s.baseDir);
#ifdef _WIN32
    const std::string folder = besideThisProgram("");
    EXPECT_STRCASEEQ(folder.substr(0, folder.size() - 1).c_str(), s.baseDir.get());
#else
    EXPECT_EQ(std::filesystem::current_path().string(), s.baseDir.get());
#endif
}

} // namespace
