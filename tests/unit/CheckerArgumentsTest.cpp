// The command line of kelvora-check: each option, and what it refuses.
#include <gtest/gtest.h>

#include "Arguments.h"

namespace {

struct ArgumentsCase {
    const char* name;
    std::vector<std::string> args;
    std::string folder, workingFolder;
    bool json, desktopShortcut, startMenuShortcut, startOnFinish, confirm;
    std::string error;
};

class CheckerArguments : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(CheckerArguments, AreReadAsWritten) {
    const ArgumentsCase& c = GetParam();
    const check::Arguments a = check::ParseArguments(c.args);
    EXPECT_EQ(a.error, c.error);
    if (!c.error.empty()) return;
    EXPECT_EQ(a.folder, c.folder);
    EXPECT_EQ(a.workingFolder, c.workingFolder);
    EXPECT_EQ(a.json, c.json);
    EXPECT_EQ(a.desktopShortcut, c.desktopShortcut);
    EXPECT_EQ(a.startMenuShortcut, c.startMenuShortcut);
    EXPECT_EQ(a.startOnFinish, c.startOnFinish);
    EXPECT_EQ(a.confirm, c.confirm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckerArguments,
    ::testing::Values(
        ArgumentsCase{"FolderAlone", {"dist"}, "dist", "", false, true, true, false, true, ""},
        ArgumentsCase{"EveryOption",
                      {"--json", "dist", "--working-folder", "C:\\Users\\me", "--no-desktop-shortcut",
                       "--no-start-menu-shortcut", "--start-on-finish", "--cancel"},
                      "dist", "C:\\Users\\me", true, false, false, true, false, ""},
        ArgumentsCase{"OneTaskOnly", {"dist", "--no-start-menu-shortcut"}, "dist", "", false, true, false, false, true, ""},
        ArgumentsCase{"NoFolder", {"--json"}, "", "", false, true, true, false, true, "no distribution folder given"},
        ArgumentsCase{"TwoFolders", {"a", "b"}, "", "", false, true, true, false, true, "one distribution folder only"},
        ArgumentsCase{"UnknownOption", {"dist", "--no-shortcuts"}, "", "", false, true, true, false, true,
                      "unknown option --no-shortcuts"},
        ArgumentsCase{"WorkingFolderWithoutFolder", {"dist", "--working-folder"}, "", "", false, true, true, false, true,
                      "--working-folder needs a folder"},
        ArgumentsCase{"Help", {"-h"}, "", "", false, true, true, false, true, "help"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
