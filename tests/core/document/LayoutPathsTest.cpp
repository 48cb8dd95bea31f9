#include <gtest/gtest.h>

#include "document/LayoutPaths.h"

namespace vx {
namespace {

struct RelativeCase {
    const char* document;
    const char* path;
    bool isTemplate;
    const char* relative;
};

TEST(LayoutPaths, MakesRelativePathsThatResolveBack) {
    const RelativeCase cases[] = {
        {"/A/B/doc.kqf", "/A/C/img.jpg", false, "./../C/img.jpg"},
        {"/A/B/doc.kqf", "/A/B/pics/", false, "./pics/"},
        {"/A/Bx/doc.kqf", "/A/B/i.jpg", false, "./../B/i.jpg"},
        {"/A/B/doc.kqf", "/A/B/i.jpg", false, "./i.jpg"},
        {"/A/B/C/doc.kqf", "/X/i.jpg", false, "./../../../X/i.jpg"},
        {"/T/T.kqt", "/T/T/i.jpg", true, "./T/i.jpg"},
        {"/T/T.kqt", "/T/T/", true, "./T/"},
    };
    for (const RelativeCase& c : cases) {
        SCOPED_TRACE(std::string(c.document) + " " + c.path);
        EXPECT_EQ(MakeRelativePath(c.document, c.path, c.isTemplate), c.relative);
        EXPECT_EQ(ResolveRelativePath(c.document, c.relative).string(), c.path);
    }
    EXPECT_EQ(MakeRelativePath("doc.kqf", "/A/i.jpg", false), "");
}

TEST(LayoutPaths, ResolvesStoredFormsOfOtherSystems) {
    EXPECT_EQ(ResolveRelativePath("/A/B/doc.kqf", ".\\..\\C\\img.jpg").string(), "/A/C/img.jpg");
    EXPECT_EQ(ResolveRelativePath("/A/B/doc.kqf", "../x").string(), "/A/x");
    EXPECT_EQ(ResolveRelativePath("/A/B/doc.kqf", "/abs/i.jpg").string(), "/abs/i.jpg");
}

TEST(LayoutPaths, FolderRuleNamesEachNewFolderExactly) {
    ImageFolderRule rule;
    EXPECT_EQ(rule.NewFolder("/p/a.jpg"), "/p/");
    EXPECT_EQ(rule.NewFolder("/p/b.jpg"), "");
    EXPECT_EQ(rule.NewFolder("/q/c.jpg"), "/q/");
    EXPECT_EQ(rule.NewFolder("/x/Pics/d.jpg"), "/x/Pics/");
    EXPECT_EQ(rule.NewFolder("/x/pics/e.jpg"), "/x/pics/");
    rule.Reset();
    EXPECT_EQ(rule.NewFolder("/x/pics/e.jpg"), "/x/pics/");
    EXPECT_EQ(AbsolutePathText("/a/./b/../c.jpg"), "/a/c.jpg");
}

}  // namespace
}  // namespace vx
