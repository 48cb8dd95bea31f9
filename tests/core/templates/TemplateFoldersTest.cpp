#include "templates/TemplateFolders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TemplateFixtures.h"
#include "host/HostService.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::LayoutFileText;
using test::WriteFile;

std::vector<std::string> Names(const CTemplateInfoArray& array, const fs::path& root) {
    std::vector<std::string> names;
    for (const TemplateInfo& info : array) names.push_back(fs::path(info.Path).lexically_relative(root).string());
    return names;
}

void WriteTemplate(const fs::path& path, const std::string& comment = "") {
    WriteFile(path, LayoutFileText("<CommentEnglish>" + comment + "</CommentEnglish>"));
}

TEST(ScanTemplateFolders, FindsTemplatesDepthFirstInByteOrder) {
    test::TestRoot root;
    const fs::path t = root.Path() / "Templates";
    WriteTemplate(t / "b.kqt");
    WriteTemplate(t / "A.kqt");
    WriteTemplate(t / "Business" / "Karte.kqt");
    WriteTemplate(t / "Business" / "Tief" / "Unten.kqt");
    WriteTemplate(t / "Business" / "Bild.jpg");
    WriteTemplate(t / "Design" / "Layout.kqf");
    WriteTemplate(t / "Design" / "Alt.KQT");
    WriteTemplate(t / "Design" / "Altxkqt");  // the dot is not required
    WriteFile(t / "Design" / "kaputt.kqt", "<root><layout>");
    fs::create_directories(t / "Leer");
    fs::create_directories(t / "Ordner.kqt");

    CTemplateInfoArray found;
    found.Add(TemplateInfo{});  // the scan appends
    ScanTemplateFolders(t, "kqt", 2, found);
    ASSERT_EQ(found.GetSize(), 6);
    found.RemoveAt(0);
    EXPECT_EQ(Names(found, t),
              (std::vector<std::string>{"A.kqt", "Business/Karte.kqt", "Business/Tief/Unten.kqt", "Design/Altxkqt",
                                        "b.kqt"}));
    for (const TemplateInfo& info : found) {
        EXPECT_EQ(info.PrinterPass, 1);
        EXPECT_EQ(info.PaperSizePass, 1);
        EXPECT_EQ(info.PaperSourcePass, 1);
        EXPECT_EQ(info.CategoryPass, 1);
    }
}

TEST(ScanTemplateFolders, FollowsNoLinkedFolderButLinkedFiles) {
    test::TestRoot root;
    const fs::path t = root.Path() / "Templates";
    WriteTemplate(t / "Sub" / "a.kqt");
    fs::create_directory_symlink(t, t / "Sub" / "Schleife");
    fs::create_directory_symlink(root.Path() / "fehlt", t / "Sub" / "Tot");
    fs::create_symlink(t / "Sub" / "a.kqt", t / "Verweis.kqt");

    CTemplateInfoArray found;
    ScanTemplateFolders(t, "kqt", 2, found);
    EXPECT_EQ(Names(found, t), (std::vector<std::string>{"Sub/a.kqt", "Verweis.kqt"}));

    // Start-up's form fills the catalogue.
    TemplateCatalog().SetSize(0);
    ScanTemplateFolders(t, "kqt", 2);
    EXPECT_EQ(Names(TemplateCatalog(), t), Names(found, t));
    TemplateCatalog().SetSize(0);

    // A folder that is not there gives nothing, quietly.
    ScanTemplateFolders(root.Path() / "fehlt", "kqt", 2, found);
    EXPECT_EQ(found.GetSize(), 2);
}

TEST(SortTemplateInfoArray, SortsByFoldedNameStably) {
    auto record = [](const std::string& path, const std::string& comment) {
        TemplateInfo info;
        info.Path = path;
        info.Comment = comment;
        return info;
    };
    CTemplateInfoArray array;
    array.Add(record("/t/Zebra.kqt", "1"));
    array.Add(record("/t/ä.kqt", "2"));
    array.Add(record("/t/b.kqt", "3"));
    array.Add(record("/t/Ä.kqt", "4"));
    array.Add(record("/t/a.kqt", "5"));
    array.Add(record("/t/y/B.kqt", "6"));
    array.Add(record("/t/x/B.kqt", "7"));
    array.Add(record("/t/x/B.kqt", "8"));
    array.Add(record("/t/apfel.kqf", "9"));
    SortTemplateInfoArray(array);
    std::string order;
    for (const TemplateInfo& info : array) order += info.Comment;
    // Keys compare bytewise after folding: "a", "apfel", the "b"s, "zebra", then "ä" and
    // "Ä" as one name. Equal names go by path ("Ä" has the lower bytes), equal paths keep
    // their order.
    EXPECT_EQ(order, "593786142");
}

TEST(IsActiveDocumentFile, ComparesTheOpenLayoutsPathExactly) {
    test::TemplateApplicationState app;
    ScopedHostService<ApplicationState> installed(&app);
    EXPECT_FALSE(IsActiveDocumentFile("/home/u/a.kqf"));
    CLayoutSetting layout(true);
    layout.Texts().documentPath = "/home/u/a.kqf";
    app.active = &layout;
    EXPECT_TRUE(IsActiveDocumentFile("/home/u/a.kqf"));
    EXPECT_FALSE(IsActiveDocumentFile("/home/u/A.kqf"));
    EXPECT_FALSE(IsActiveDocumentFile("/home/u/./a.kqf"));
}

TEST(GetTemplateFolder, IsTemplatesInTheUserFolder) {
    test::TestRoot root;
    test::ScopedEnv user("VELLICOREX_USER_DIR", root.Path().string());
    EXPECT_EQ(GetTemplateFolder(), root.Path() / "Templates");
}

}  // namespace
}  // namespace vx
