#include "templates/TemplateSeeding.h"

#include <gtest/gtest.h>

#include <string>

#include "TemplateFixtures.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::WriteFile;

struct SeedFolders {
    fs::path root;
    fs::path shipped;
    fs::path target;
    explicit SeedFolders(const std::string& name) {
        root = test::OutputFolder() / ("seeding-" + name);
        fs::remove_all(root);
        shipped = root / "data" / "templates";
        target = root / "user" / "Templates";
        WriteFile(shipped / "Foto_A4.kqt", "<root/>");
        WriteFile(shipped / "Foto_A4" / "Platzhalter1.jpg", "jpeg");
        WriteFile(shipped / "Karte_10x15.kqt", "<root/>");
        fs::create_directories(target.parent_path());
    }
    int HiddenSiblings() const {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(target.parent_path()))
            if (entry.path().filename().string().rfind(".Templates", 0) == 0) ++n;
        return n;
    }
};

TEST(SeedTemplateFolder, FillsAMissingFolderWithTheWholeSet) {
    SeedFolders f("fills");
    EXPECT_TRUE(SeedTemplateFolder(f.shipped, f.target));
    EXPECT_EQ(test::ReadFileBytes(f.target / "Foto_A4.kqt"), "<root/>");
    EXPECT_EQ(test::ReadFileBytes(f.target / "Foto_A4" / "Platzhalter1.jpg"), "jpeg");
    EXPECT_TRUE(fs::exists(f.target / "Karte_10x15.kqt"));
    EXPECT_EQ(f.HiddenSiblings(), 0);
}

TEST(SeedTemplateFolder, LeavesAnExistingFolderAsTheUserLeftIt) {
    SeedFolders f("existing");
    WriteFile(f.target / "Umbenannt.kqt", "mine");
    EXPECT_TRUE(SeedTemplateFolder(f.shipped, f.target));
    EXPECT_FALSE(fs::exists(f.target / "Foto_A4.kqt"));
    EXPECT_EQ(test::ReadFileBytes(f.target / "Umbenannt.kqt"), "mine");
    // An empty folder is the user's too.
    fs::remove_all(f.target);
    fs::create_directories(f.target);
    EXPECT_TRUE(SeedTemplateFolder(f.shipped, f.target));
    EXPECT_TRUE(fs::is_empty(f.target));
}

TEST(SeedTemplateFolder, FailedCopyLeavesNoFolderBehind) {
    SeedFolders f("fails");
    int copies = 0;
    const auto failSecond = [&](const fs::path& from, const fs::path& to) {
        if (++copies == 2) return false;
        std::error_code ec;
        return fs::copy_file(from, to, ec);
    };
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SeedTemplateFolder(f.shipped, f.target, failSecond));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(fs::exists(fs::symlink_status(f.target)));
    EXPECT_EQ(f.HiddenSiblings(), 0);
    // The next start tries again.
    EXPECT_TRUE(SeedTemplateFolder(f.shipped, f.target));
    EXPECT_TRUE(fs::exists(f.target / "Karte_10x15.kqt"));
}

}  // namespace
}  // namespace vx
