#include <gtest/gtest.h>

#include <optional>

#include "platform/colour/ColourDirectories.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

TEST(ColourDirectories, UserFolderFirstThenDataThenSystem) {
    struct Case {
        const char* name;
        std::optional<std::string> dataHome;
        fs::path user;
    };
    const std::vector<Case> cases = {
        {"XDG_DATA_HOME set", "/xdg/data", "/xdg/data/icc"},
        {"XDG_DATA_HOME unset", std::nullopt, "/home/tester/.local/share/icc"},
        {"XDG_DATA_HOME empty", "", "/home/tester/.local/share/icc"},
        {"XDG_DATA_HOME relative", "data", "/home/tester/.local/share/icc"},
    };
    test::ScopedEnv home("HOME", "/home/tester");
    test::ScopedEnv data("VELLICOREX_DATA_DIR", "/opt/vx/share");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedEnv xdg("XDG_DATA_HOME", c.dataHome);
        const std::vector<fs::path> want = {c.user, "/opt/vx/share/icc", "/usr/share/color/icc"};
        EXPECT_EQ(ColourDirectories(), want);
    }
}

TEST(ColourDirectories, TestsCanReplaceTheList) {
    const std::vector<fs::path> before = ColourDirectories();
    SetColourDirectories(std::vector<fs::path>{"/a", "/b"});
    EXPECT_EQ(ColourDirectories(), (std::vector<fs::path>{"/a", "/b"}));
    SetColourDirectories(std::nullopt);
    EXPECT_EQ(ColourDirectories(), before);
}

}  // namespace
}  // namespace vx
