#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class Folders : public testing::Test {
protected:
    test::TestRoot root;
};

TEST_F(Folders, EnvironmentOverridesWin) {
    test::ScopedEnv d("VELLICOREX_DATA_DIR", (root.Path() / "d").string());
    test::ScopedEnv u("VELLICOREX_USER_DIR", (root.Path() / "u").string());
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", (root.Path() / "t").string());
    EXPECT_EQ(DataFolder(), root.Path() / "d");
    EXPECT_EQ(UserFolder(), root.Path() / "u");
    EXPECT_EQ(TempFolder(), root.Path() / "t");
}

TEST_F(Folders, DefaultsFollowXdgAndTheExecutable) {
    test::ScopedEnv d("VELLICOREX_DATA_DIR", std::nullopt);
    test::ScopedEnv u("VELLICOREX_USER_DIR", std::nullopt);
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", std::nullopt);
    test::ScopedEnv x("XDG_CONFIG_HOME", "/home/tester/.cfg");
    test::ScopedEnv tmp("TMPDIR", std::nullopt);
    EXPECT_EQ(UserFolder(), fs::path("/home/tester/.cfg/vellicorex"));
    EXPECT_EQ(TempFolder(), fs::path("/var/tmp/TEVRA VellicorEX-" + std::to_string(geteuid())));
    EXPECT_EQ(DataFolder(), (ExecutableFolder() / ".." / "share" / "vellicorex").lexically_normal());
    test::ScopedEnv tmp2("TMPDIR", root.Path().string());
    EXPECT_EQ(TempFolder().parent_path(), root.Path());
}

TEST_F(Folders, TempFolderIsPrivateEmptiedAndRemoved) {
    const fs::path dir = root.Path() / "TEVRA VellicorEX";
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", dir.string());
    // Leftovers of a crashed run, among them a link to a file outside.
    fs::create_directories(dir / "sub");
    std::ofstream(dir / "Vel123") << "stale";
    std::ofstream(dir / "sub" / "x") << "stale";
    std::ofstream(root.Path() / "outside") << "keep";
    fs::create_symlink(root.Path() / "outside", dir / "link");
    chmod(dir.c_str(), 0755);

    ASSERT_TRUE(CreateTempFolder());
    struct stat st {};
    ASSERT_EQ(lstat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(fs::exists(root.Path() / "outside"));

    RemoveTempFolder();
    EXPECT_FALSE(fs::exists(dir));
    RemoveTempFolder();  // quiet when gone
}

TEST_F(Folders, TempFolderThatIsALinkIsRefused) {
    fs::create_directory(root.Path() / "elsewhere");
    std::ofstream(root.Path() / "elsewhere" / "precious") << "keep";
    fs::create_directory_symlink(root.Path() / "elsewhere", root.Path() / "tmp-link");
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", (root.Path() / "tmp-link").string());
    Status st = CreateTempFolder();
    EXPECT_EQ(st.stringId, IDS_TEMP_FOLDER_UNSAFE);
    RemoveTempFolder();
    EXPECT_TRUE(fs::exists(root.Path() / "elsewhere" / "precious"));
}

TEST_F(Folders, UnusableFoldersGiveAMessageNotACrash) {
    // A regular file where a parent folder should be: fails even for root.
    std::ofstream(root.Path() / "file") << "x";
    {
        test::ScopedEnv u("VELLICOREX_USER_DIR", (root.Path() / "file" / "user").string());
        Status st = EnsureUserFolder();
        EXPECT_EQ(st.stringId, IDS_FOLDER_NOT_CREATED);
        EXPECT_NE(MessageText(st.stringId, st.args).find("file/user"), std::string::npos);
    }
    {
        test::ScopedEnv t("VELLICOREX_TEMP_DIR", (root.Path() / "file" / "temp").string());
        EXPECT_EQ(CreateTempFolder().stringId, IDS_FOLDER_NOT_CREATED);
    }
    test::ScopedEnv u("VELLICOREX_USER_DIR", (root.Path() / "a" / "b").string());
    EXPECT_TRUE(EnsureUserFolder());
    EXPECT_TRUE(fs::is_directory(root.Path() / "a" / "b"));
}

}  // namespace
}  // namespace vx
