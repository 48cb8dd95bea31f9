#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>

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

const std::string kOwnName = "TEVRA VellicorEX-" + std::to_string(geteuid());

/// The contents without the program's own folder and what lies in it.
std::map<std::string, std::string> Without(std::map<std::string, std::string> entries, const std::string& own) {
    std::erase_if(entries, [&](const auto& e) { return e.first == own || e.first.rfind(own + "/", 0) == 0; });
    return entries;
}

TEST_F(Folders, EnvironmentOverridesWin) {
    test::ScopedEnv d("VELLICOREX_DATA_DIR", (root.Path() / "d").string());
    test::ScopedEnv u("VELLICOREX_USER_DIR", (root.Path() / "u").string());
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", (root.Path() / "t").string());
    test::ScopedEnv tmp("TMPDIR", (root.Path() / "tmp").string());
    EXPECT_EQ(DataFolder(), root.Path() / "d");
    EXPECT_EQ(UserFolder(), root.Path() / "u");
    // The override names the place of the temporary folder, as TMPDIR does.
    EXPECT_EQ(TempFolder(), root.Path() / "t" / kOwnName);
}

TEST_F(Folders, DefaultsFollowXdgAndTheExecutable) {
    test::ScopedEnv d("VELLICOREX_DATA_DIR", std::nullopt);
    test::ScopedEnv u("VELLICOREX_USER_DIR", std::nullopt);
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", std::nullopt);
    test::ScopedEnv x("XDG_CONFIG_HOME", "/home/tester/.cfg");
    test::ScopedEnv tmp("TMPDIR", std::nullopt);
    EXPECT_EQ(UserFolder(), fs::path("/home/tester/.cfg/vellicorex"));
    EXPECT_EQ(TempFolder(), fs::path("/var/tmp") / kOwnName);
    EXPECT_EQ(DataFolder(), (ExecutableFolder() / ".." / "share" / "vellicorex").lexically_normal());
    test::ScopedEnv tmp2("TMPDIR", root.Path().string());
    EXPECT_EQ(TempFolder(), root.Path() / kOwnName);
}

// A user may name a folder of their own (a fast disk's) as the place: only the program's
// folder in it is made private, emptied and removed.
TEST_F(Folders, TheNamedPlaceIsLeftAsItIs) {
    const fs::path place = root.Path() / "Schnelle Platte";
    fs::create_directories(place / "sub");
    std::ofstream(place / "keepme.txt") << "mine";
    std::ofstream(place / "sub" / "y.txt") << "mine too";
    std::ofstream(place / "Vel123") << "looks like ours, is not";
    chmod(place.c_str(), 0755);
    chmod((place / "sub").c_str(), 0775);
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", place.string());
    const auto before = test::FolderContents(place);

    ASSERT_TRUE(CreateTempFolder());
    const fs::path own = place / kOwnName;
    ASSERT_EQ(TempFolder(), own);
    struct stat st {};
    ASSERT_EQ(lstat(own.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    std::ofstream(own / "Vel456") << "working bitmap";
    EXPECT_EQ(Without(test::FolderContents(place), kOwnName), before);

    RemoveTempFolder();
    EXPECT_FALSE(fs::exists(own));
    EXPECT_EQ(test::FolderContents(place), before);
}

TEST_F(Folders, TheOwnFolderIsPrivateEmptiedAndRemoved) {
    const fs::path place = root.Path() / "place";
    const fs::path dir = place / kOwnName;
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", place.string());
    // Leftovers of a crashed run, among them a link to a file outside.
    fs::create_directories(dir / "sub");
    std::ofstream(dir / "Vel123") << "stale";
    std::ofstream(dir / "sub" / "x") << "stale";
    std::ofstream(root.Path() / "outside") << "keep";
    fs::create_symlink(root.Path() / "outside", dir / "link");
    fs::create_directories(root.Path() / "outside-folder");
    std::ofstream(root.Path() / "outside-folder" / "precious") << "keep";
    fs::create_directory_symlink(root.Path() / "outside-folder", dir / "sub" / "folder-link");
    fs::create_directories(dir / "sub" / "deeper" / "deepest");
    std::ofstream(dir / "sub" / "deeper" / "deepest" / "y") << "stale";
    chmod(dir.c_str(), 0755);

    ASSERT_TRUE(CreateTempFolder());
    struct stat st {};
    ASSERT_EQ(lstat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(fs::exists(root.Path() / "outside"));
    EXPECT_EQ(test::ReadFileBytes(root.Path() / "outside-folder" / "precious"), "keep");

    RemoveTempFolder();
    EXPECT_FALSE(fs::exists(dir));
    EXPECT_TRUE(fs::is_directory(place));
    RemoveTempFolder();  // quiet when gone

    // A place that is missing is made.
    test::ScopedEnv missing("VELLICOREX_TEMP_DIR", (root.Path() / "new" / "place").string());
    ASSERT_TRUE(CreateTempFolder());
    EXPECT_TRUE(fs::is_directory(root.Path() / "new" / "place" / kOwnName));
    RemoveTempFolder();
}

TEST_F(Folders, AnOwnFolderThatIsALinkOrAFileIsRefused) {
    const fs::path place = root.Path() / "place";
    fs::create_directories(place);
    fs::create_directory(root.Path() / "elsewhere");
    std::ofstream(root.Path() / "elsewhere" / "precious") << "keep";
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", place.string());

    fs::create_directory_symlink(root.Path() / "elsewhere", place / kOwnName);
    EXPECT_EQ(CreateTempFolder().stringId, IDS_TEMP_FOLDER_UNSAFE);
    RemoveTempFolder();
    EXPECT_TRUE(fs::exists(root.Path() / "elsewhere" / "precious"));
    EXPECT_TRUE(fs::is_symlink(place / kOwnName));

    fs::remove(place / kOwnName);
    std::ofstream(place / kOwnName) << "someone's file";
    EXPECT_EQ(CreateTempFolder().stringId, IDS_TEMP_FOLDER_UNSAFE);
    RemoveTempFolder();
    EXPECT_EQ(test::ReadFileBytes(place / kOwnName), "someone's file");

    // A place that is a link is a place like any other: the folder is made where it points.
    fs::remove(place / kOwnName);
    fs::create_directory_symlink(root.Path() / "elsewhere", root.Path() / "tmp-link");
    test::ScopedEnv linked("VELLICOREX_TEMP_DIR", (root.Path() / "tmp-link").string());
    ASSERT_TRUE(CreateTempFolder());
    EXPECT_TRUE(fs::is_directory(root.Path() / "elsewhere" / kOwnName));
    RemoveTempFolder();
    EXPECT_FALSE(fs::exists(root.Path() / "elsewhere" / kOwnName));
    EXPECT_TRUE(fs::exists(root.Path() / "elsewhere" / "precious"));
    EXPECT_TRUE(fs::is_symlink(root.Path() / "tmp-link"));
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
