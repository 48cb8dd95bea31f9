#include <gtest/gtest.h>

#include <string>

#include "OrganizerFolder.h"
#include "templates/TemplateFiles.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

bool NoHiddenEntries(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().front() == '.') return false;
    return true;
}

TEST(DeleteTemplateFiles, EveryFailedStepLeavesBothInPlace) {
    // Fail each step in turn until none is left to fail.
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        test::OrganizerFolder folder;
        const auto before = folder.Snapshot();
        FailTemplateFileStepForTests(step);
        const bool deleted = DeleteTemplateFiles(folder.templates / "Foto.kqt");
        FailTemplateFileStepForTests(0);
        if (!deleted) {
            EXPECT_EQ(folder.Snapshot(), before);
            ASSERT_LT(step, 50);
            continue;
        }
        // Once deleting has begun it finishes; what could not go would stay hidden.
        EXPECT_FALSE(fs::exists(folder.templates / "Foto.kqt"));
        EXPECT_FALSE(fs::exists(folder.templates / "Foto"));
        EXPECT_TRUE(fs::exists(folder.templates / "Reise" / "c.jpg"));
        if (step > 8) {
            EXPECT_TRUE(NoHiddenEntries(folder.templates));
            break;
        }
    }
}

TEST(DeleteTemplateFiles, LinksAreRemovedNeverFollowed) {
    test::OrganizerFolder folder;
    const fs::path outside = folder.Root() / "outside";
    test::WriteFile(outside / "keep.jpg", "keep");
    fs::create_symlink(outside / "keep.jpg", folder.templates / "Foto" / "link.jpg");
    fs::create_symlink(outside, folder.templates / "Foto" / "linkedFolder");
    fs::create_symlink(outside, folder.templates / "Reise2");
    test::WriteFile(folder.templates / "Reise2.kqt", "x");

    EXPECT_TRUE(DeleteTemplateFiles(folder.templates / "Foto.kqt"));
    EXPECT_TRUE(DeleteTemplateFiles(folder.templates / "Reise2.kqt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.templates / "Foto")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder.templates / "Reise2")));
    EXPECT_EQ(test::ReadFileBytes(outside / "keep.jpg"), "keep");
    EXPECT_TRUE(NoHiddenEntries(folder.templates));
}

TEST(DeleteTemplateFiles, ATemplateWithoutImagesAndAMissingFile) {
    test::OrganizerFolder folder;
    test::WriteFile(folder.templates / "Leer.kqt", "x");
    EXPECT_TRUE(DeleteTemplateFiles(folder.templates / "Leer.kqt"));
    EXPECT_FALSE(fs::exists(folder.templates / "Leer.kqt"));
    EXPECT_FALSE(DeleteTemplateFiles(folder.templates / "Leer.kqt"));
    EXPECT_TRUE(DeleteFolderTree(folder.templates / "Nichts"));
}

TEST(DeleteFolderTree, DeletesNestedFoldersAndPutsBackOnAnEarlyFailure) {
    test::OrganizerFolder folder;
    test::WriteFile(folder.templates / "Baum" / "x" / "y" / "z.jpg", "z");
    test::WriteFile(folder.templates / "Baum" / "w.jpg", "w");
    const auto before = folder.Snapshot();
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        FailTemplateFileStepForTests(step);  // the checks of three folders, the move, the first removal
        EXPECT_FALSE(DeleteFolderTree(folder.templates / "Baum"));
        FailTemplateFileStepForTests(0);
        EXPECT_EQ(folder.Snapshot(), before);
    }
    EXPECT_TRUE(DeleteFolderTree(folder.templates / "Baum"));
    EXPECT_FALSE(fs::exists(folder.templates / "Baum"));
    EXPECT_TRUE(NoHiddenEntries(folder.templates));
}

}  // namespace
}  // namespace vx
