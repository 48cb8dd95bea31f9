#include "templates/TemplateOrganizing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrganizerFolder.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateFiles.h"
#include "templates/TemplateSummary.h"
#include "templates/UserCategoryFile.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::OrganizerFolder;
using test::ReadFileBytes;

/// The steps a successful operation takes, counted by running it on a copy of the fixture.
template <class Op> int StepsOf(Op op) {
    OrganizerFolder scratch;
    const int before = FailTemplateFileStepForTests(0);
    op(scratch);
    return FailTemplateFileStepForTests(0) - before;
}

int IndexOf(OrganizerFolder& f, const std::string& name) { return FindTemplateByFileName(f.Catalog(), name); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class TemplateOrganizing : public ::testing::Test {
protected:
    void TearDown() override {
        FailTemplateFileStepForTests(0);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
    }
};

TEST(RenameRelativeFolder, ReplacesTheImageFolderComponent) {
    struct Case {
        const char* text;
        bool folderOnly;
        const char* expected;
    };
    const Case cases[] = {
        {"./Foto/s.jpg", false, "./Urlaub/s.jpg"},
        {".\\Foto\\s.jpg", false, "./Urlaub/s.jpg"},
        {"Foto/s.jpg", false, "Urlaub/s.jpg"},
        {"./s.jpg", false, "./s.jpg"},  // the template's own folder is no image folder
        {"s.jpg", false, "s.jpg"},
        {"/s.jpg", false, "/s.jpg"},
        {"./Foto/", true, "./Urlaub/"},
        {".\\Foto\\", true, "./Urlaub/"},
        {"./Foto", true, "./Urlaub"},
        {"Foto", true, "Foto"},
        {"../", true, "../"},
    };
    for (const Case& c : cases) EXPECT_EQ(RenameRelativeFolder(c.text, "Urlaub", c.folderOnly), c.expected) << c.text;
}

TEST_F(TemplateOrganizing, RenameMovesFileAndImagesAndRewritesTheirFolder) {
    OrganizerFolder f;
    const std::string foto = ReadFileBytes(f.templates / "Foto.kqt");
    const auto renamed = RenameTemplate(f.Catalog(), IndexOf(f, "Reise.kqt"), "Urlaub");
    ASSERT_EQ(renamed, "Urlaub.kqt");
    EXPECT_FALSE(fs::exists(f.templates / "Reise.kqt"));
    EXPECT_FALSE(fs::exists(f.templates / "Reise"));
    EXPECT_EQ(ReadFileBytes(f.templates / "Urlaub" / "c.jpg"), std::string(1000, 'c'));
    const std::string text = ReadFileBytes(f.templates / "Urlaub.kqt");
    EXPECT_TRUE(Contains(text, "<RelativeDir>\"./Urlaub/\"</RelativeDir>")) << text;
    EXPECT_TRUE(Contains(text, "<NameMyTemplate>\"MyTemp\"</NameMyTemplate>\n<PaperSize>")) << "layout kept";
    EXPECT_EQ(f.Listing(), (std::vector<std::string>{"Foto.kqt|Personal Photo", "Kundenkarte.kqt|Kunden",
                                                     "Mix.kqt|Kunden:Reise", "Urlaub.kqt|MyTemp"}));
    EXPECT_EQ(ReadFileBytes(f.templates / "Foto.kqt"), foto);
    EXPECT_TRUE(f.messages.shown.empty());

    // A stamp moves with its folder; a template without image folder only renames.
    ASSERT_EQ(RenameTemplate(f.Catalog(), IndexOf(f, "Foto.kqt"), "Bild.KQT"), "Bild.KQT");
    EXPECT_TRUE(Contains(ReadFileBytes(f.templates / "Bild.KQT"), "\"./Bild/s.jpg\""));
    EXPECT_TRUE(fs::exists(f.templates / "Bild" / "s.jpg"));
    ASSERT_EQ(RenameTemplate(f.Catalog(), IndexOf(f, "Mix.kqt"), "Gemischt"), "Gemischt.kqt");
    EXPECT_FALSE(fs::exists(f.templates / "Gemischt"));
}

TEST_F(TemplateOrganizing, AFailedRenameStepLeavesEveryByteAndTheRecord) {
    const int steps = StepsOf([](OrganizerFolder& s) {
        ASSERT_TRUE(RenameTemplate(s.Catalog(), IndexOf(s, "Reise.kqt"), "Urlaub"));
    });
    ASSERT_EQ(steps, 3);  // file, folder, rewrite
    for (int step = 1; step <= steps + 1; ++step) {
        OrganizerFolder f;
        const auto before = f.Snapshot();
        const auto listing = f.Listing();
        if (step <= steps)
            FailTemplateFileStepForTests(step);
        else
            FailAtomicWriteStepForTests(AtomicWriteStep::Rename);  // the rewrite's own write
        EXPECT_FALSE(RenameTemplate(f.Catalog(), IndexOf(f, "Reise.kqt"), "Urlaub")) << step;
        FailTemplateFileStepForTests(0);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        EXPECT_EQ(f.Snapshot(), before) << step;
        EXPECT_EQ(f.Listing(), listing) << step;
    }
}

TEST_F(TemplateOrganizing, ATemplateThatCannotBeRewrittenIsNotRenamed) {
    OrganizerFolder f;
    test::WriteFileBytes(f.templates / "Reise.kqt", "<root><layout>");
    const auto before = f.Snapshot();
    EXPECT_FALSE(RenameTemplate(f.Catalog(), IndexOf(f, "Reise.kqt"), "Urlaub"));
    EXPECT_EQ(f.Snapshot(), before);
    EXPECT_EQ(f.Catalog().ElementAt(IndexOf(f, "Reise.kqt")).Path, f.PathOf("Reise.kqt"));
}

TEST_F(TemplateOrganizing, RenameRefusals) {
    struct Case {
        std::string typed;
        int message;  // 0: refused silently
    };
    const Case cases[] = {
        {"", 0},
        {"   ", 0},
        {"Foto", 0},  // "Foto.kqt" exists: the final name counts
        {"Foto.kqt", 0},
        {"Reise.kqt", 0},
        {"a;b", IDS_TEMPLATE_NAME_CHARS},
        {".x", IDS_TEMPLATE_NAME_CHARS},
        {"a\tb", IDS_TEMPLATE_NAME_CHARS},
        {"a/b", IDS_TEMPLATE_NAME_CHARS},
        {"50%", IDS_TEMPLATE_NAME_CHARS},
        {std::string(61, 'x'), IDS_TOO_MANY_CHARS},  // 65 with ".kqt"
    };
    OrganizerFolder f;
    const auto before = f.Snapshot();
    for (const Case& c : cases) {
        f.messages.shown.clear();
        EXPECT_FALSE(RenameTemplate(f.Catalog(), IndexOf(f, "Reise.kqt"), c.typed)) << c.typed;
        EXPECT_EQ(f.messages.Ids(), c.message ? std::vector<int>{c.message} : std::vector<int>{}) << c.typed;
    }
    EXPECT_EQ(f.Snapshot(), before);
    ASSERT_FALSE(f.messages.shown.empty());
    EXPECT_EQ(std::get<long long>(f.messages.shown[0].args[0]), 64);

    // Sixty characters with the extension fit.
    EXPECT_TRUE(RenameTemplate(f.Catalog(), IndexOf(f, "Mix.kqt"), std::string(60, 'x')));
}

TEST_F(TemplateOrganizing, TheOpenTemplateIsNeitherRenamedNorDragged) {
    OrganizerFolder f;
    CLayoutSetting layout(true);
    layout.Texts().documentPath = f.PathOf("Reise.kqt");
    f.app.active = &layout;
    const auto before = f.Snapshot();
    EXPECT_FALSE(RenameTemplate(f.Catalog(), IndexOf(f, "Reise.kqt"), "Urlaub"));
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_TEMPLATE_IN_USE});
    EXPECT_EQ(f.messages.shown[0].icon, Icon::Error);
    EXPECT_TRUE(RefuseOpenTemplate(f.Catalog().ElementAt(IndexOf(f, "Reise.kqt"))));
    EXPECT_FALSE(RefuseOpenTemplate(f.Catalog().ElementAt(IndexOf(f, "Foto.kqt"))));
    EXPECT_EQ(f.Snapshot(), before);
}

TEST_F(TemplateOrganizing, RenamesStartOnlyUnderUserCategories) {
    OrganizerFolder f;
    EXPECT_TRUE(CanRenameTemplatesUnder("MyTemplate"));
    EXPECT_TRUE(CanRenameTemplatesUnder("Kunden"));
    EXPECT_FALSE(CanRenameTemplatesUnder("kunden"));
    EXPECT_FALSE(CanRenameTemplatesUnder("Kategorie"));
    EXPECT_FALSE(CanRenameTemplatesUnder("Privatfoto"));
}

TEST_F(TemplateOrganizing, CategoryRenameRewritesExactMembersAndSavesTheList) {
    OrganizerFolder f;
    const fs::path file = UserCategoryFilePath(f.Root());
    const auto accepted = RenameUserCategory(f.Catalog(), "Kunden", "  Partner ", file);
    ASSERT_EQ(accepted, "Partner");
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"MyTemp", "Partner"}));
    const std::string saved = ReadFileBytes(file);
    EXPECT_TRUE(Contains(saved, "UsrTemplate1=\"Partner\"")) << saved;
    EXPECT_FALSE(Contains(saved, "Kunden")) << saved;
    EXPECT_TRUE(Contains(ReadFileBytes(f.templates / "Kundenkarte.kqt"), "<NameMyTemplate>\"Partner\"</NameMyTemplate>"));
    EXPECT_TRUE(Contains(ReadFileBytes(f.templates / "Mix.kqt"), "\"Kunden:Reise\""));
    EXPECT_EQ(f.Listing(), (std::vector<std::string>{"Foto.kqt|Personal Photo", "Kundenkarte.kqt|Partner",
                                                     "Mix.kqt|Kunden:Reise", "Reise.kqt|MyTemp"}));
    const auto catalog = f.Listing();
    f.Rescan();
    EXPECT_EQ(f.Listing(), catalog) << "catalogue and files agree";

    // Sorted with case folded; uniqueness folds beyond ASCII.
    ASSERT_TRUE(RenameUserCategory(f.Catalog(), "Partner", "aaron", file));
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"aaron", "MyTemp"}));
    ASSERT_TRUE(RenameUserCategory(f.Catalog(), "aaron", "Äpfel", file));
    EXPECT_FALSE(RenameUserCategory(f.Catalog(), "MyTemp", "äPFEL", file));
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_USER_CATEGORY_EXISTS});
}

TEST_F(TemplateOrganizing, CategoryRenameRefusals) {
    struct Case {
        std::string typed;
        int message;
    };
    const Case cases[] = {
        {"", 0},
        {"Kunden", 0},
        {"kunden", IDS_USER_CATEGORY_EXISTS},
        {"myTemp", IDS_USER_CATEGORY_EXISTS},
        {"Bildmaske", IDS_USER_CATEGORY_EXISTS},
        {"bildmaske", IDS_USER_CATEGORY_EXISTS},
        {"Allgemein", IDS_USER_CATEGORY_EXISTS},
        {"Foto", IDS_USER_CATEGORY_EXISTS},
        {"KATEGORIE", IDS_USER_CATEGORY_EXISTS},
        {"   ", IDS_CATEGORY_NAME_CHARS},
        {".x", IDS_CATEGORY_NAME_CHARS},
        {"a:b", IDS_CATEGORY_NAME_CHARS},
        {"a\tb", IDS_CATEGORY_NAME_CHARS},
        {std::string(65, 'k'), IDS_TOO_MANY_CHARS},
    };
    OrganizerFolder f;
    const fs::path file = UserCategoryFilePath(f.Root());
    const auto before = f.Snapshot();
    for (const Case& c : cases) {
        f.messages.shown.clear();
        EXPECT_FALSE(RenameUserCategory(f.Catalog(), "Kunden", c.typed, file)) << c.typed;
        EXPECT_EQ(f.messages.Ids(), c.message ? std::vector<int>{c.message} : std::vector<int>{}) << c.typed;
    }
    EXPECT_EQ(f.Snapshot(), before);
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"MyTemp", "Kunden"}));
    // 64 characters of four bytes each: 256 bytes, more than a file name may hold.
    std::string camera;
    for (int i = 0; i < 64; ++i) camera += "\xF0\x9F\x93\xB7";
    f.messages.shown.clear();
    EXPECT_FALSE(RenameUserCategory(f.Catalog(), "Kunden", camera, file));
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_TOO_MANY_CHARS});
    EXPECT_TRUE(RenameUserCategory(f.Catalog(), "Kunden", std::string(64, 'k'), file));
}

TEST_F(TemplateOrganizing, ATemplateThatCannotBeRewrittenKeepsItsCategory) {
    OrganizerFolder f;
    const std::string before = ReadFileBytes(f.templates / "Kundenkarte.kqt");
    FailTemplateFileStepForTests(1);  // the template's rewrite
    ASSERT_TRUE(RenameUserCategory(f.Catalog(), "Kunden", "Partner", UserCategoryFilePath(f.Root())));
    EXPECT_EQ(ReadFileBytes(f.templates / "Kundenkarte.kqt"), before);
    EXPECT_EQ(f.Catalog().ElementAt(IndexOf(f, "Kundenkarte.kqt")).Category, "Kunden");
}

TEST_F(TemplateOrganizing, DropEffectsAndTargets) {
    OrganizerFolder f;
    EXPECT_EQ(DropEffectFor(f.Catalog(), f.PathOf("Foto.kqt")), TemplateDropEffect::Copy);
    EXPECT_EQ(DropEffectFor(f.Catalog(), f.PathOf("Reise.kqt")), TemplateDropEffect::Move);
    EXPECT_EQ(DropEffectFor(f.Catalog(), f.PathOf("Fehlt.kqt")), TemplateDropEffect::None);
    EXPECT_EQ(DropEffectFor(f.Catalog(), "Reise.kqt"), TemplateDropEffect::None);  // the record's path only
    const auto before = f.Snapshot();
    for (const char* target : {"MyTemplate", "Kategorie", "Allgemein", "Personal Photo", "Bildmaske", "Foto", "kunden"}) {
        EXPECT_FALSE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Foto.kqt"), target, f.templates)) << target;
        EXPECT_FALSE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Reise.kqt"), target, f.templates)) << target;
    }
    EXPECT_EQ(f.Snapshot(), before);
}

TEST_F(TemplateOrganizing, MovingAUserTemplateRewritesItsCategory) {
    OrganizerFolder f;
    ASSERT_TRUE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Reise.kqt"), "Kunden", f.templates));
    EXPECT_TRUE(Contains(ReadFileBytes(f.templates / "Reise.kqt"), "<NameMyTemplate>\"Kunden\"</NameMyTemplate>"));
    EXPECT_EQ(f.Catalog().ElementAt(IndexOf(f, "Reise.kqt")).Category, "Kunden");
    // Onto its own category: the same text again.
    ASSERT_TRUE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Reise.kqt"), "Kunden", f.templates));

    const auto before = f.Snapshot();
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_FALSE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Reise.kqt"), "MyTemp", f.templates));
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    FailTemplateFileStepForTests(1);
    EXPECT_FALSE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Reise.kqt"), "MyTemp", f.templates));
    EXPECT_EQ(f.Snapshot(), before);
    EXPECT_EQ(f.Catalog().ElementAt(IndexOf(f, "Reise.kqt")).Category, "Kunden");
}

TEST_F(TemplateOrganizing, CopiesOfAStandardTemplateGetTheirOwnImages) {
    OrganizerFolder f;
    const auto foto = f.Snapshot();
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Foto.kqt"), "Kunden", f.templates)) << n;
    for (int n = 0; n < 3; ++n) {
        const std::string base = "Foto_copy(" + std::to_string(n) + ")";
        const std::string text = ReadFileBytes(f.templates / (base + ".kqt"));
        EXPECT_TRUE(Contains(text, "<NameMyTemplate>\"Kunden\"</NameMyTemplate>\n<RelativeStampFileName>\"./" + base +
                                       "/s.jpg\"</RelativeStampFileName>"))
            << text;
        EXPECT_FALSE(Contains(text, "NameGenre")) << text;
        EXPECT_FALSE(Contains(text, "NameOutputImageForm")) << text;
        EXPECT_TRUE(Contains(text, "<RelativeDir>\"./" + base + "/\"</RelativeDir>\n<File>\"a.jpg\"</File>")) << text;
        EXPECT_EQ(ReadFileBytes(f.templates / base / "a.jpg"), std::string(3000, 'a'));
        EXPECT_EQ(ReadFileBytes(f.templates / base / "b.jpg"), std::string(2000, 'b'));
        EXPECT_EQ(ReadFileBytes(f.templates / base / "s.jpg"), "stamp");
        const int index = IndexOf(f, base + ".kqt");
        ASSERT_GE(index, 0);
        const TemplateInfo& record = f.Catalog().ElementAt(index);
        EXPECT_EQ(record.IsUserTemplate, 1);
        EXPECT_EQ(record.Category, "Kunden");
        EXPECT_EQ(record.ImageMask, "");
    }
    for (const auto& [name, bytes] : foto) EXPECT_EQ(f.Snapshot().at(name), bytes) << name;
    const auto listing = f.Listing();
    f.Rescan();
    EXPECT_EQ(f.Listing(), listing) << "catalogue and files agree, sorted";
}

TEST_F(TemplateOrganizing, AFailedCopyStepLeavesNothingNew) {
    const int steps = StepsOf([](OrganizerFolder& s) {
        ASSERT_TRUE(DropTemplateOnCategory(s.Catalog(), s.PathOf("Foto.kqt"), "Kunden", s.templates));
    });
    ASSERT_EQ(steps, 6);  // folder, stamp, a, b, write, rename
    for (int step = 1; step <= steps + 1; ++step) {
        OrganizerFolder f;
        const auto before = f.Snapshot();
        const auto listing = f.Listing();
        if (step <= steps)
            FailTemplateFileStepForTests(step);
        else
            FailAtomicWriteStepForTests(AtomicWriteStep::Write);
        EXPECT_FALSE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Foto.kqt"), "Kunden", f.templates)) << step;
        FailTemplateFileStepForTests(0);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        EXPECT_EQ(f.Snapshot(), before) << step;
        EXPECT_EQ(f.Listing(), listing) << step;
    }
}

TEST_F(TemplateOrganizing, CopyNamesAndTakenImageNames) {
    OrganizerFolder f;
    // An image folder already there keeps its files; the copy numbers its own.
    fs::create_directories(f.templates / "Foto_copy(0)");
    test::WriteFileBytes(f.templates / "Foto_copy(0)" / "a.jpg", "fremd");
    test::WriteFileBytes(f.templates / "Foto_copy(0)" / "b.jpg", "fremd");
    test::WriteFileBytes(f.templates / "Foto_copy(0)" / "b[0].jpg", "fremd");
    ASSERT_TRUE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Foto.kqt"), "Kunden", f.templates));
    const std::string text = ReadFileBytes(f.templates / "Foto_copy(0).kqt");
    EXPECT_TRUE(Contains(text, "<File>\"a[0].jpg\"</File>")) << text;
    EXPECT_TRUE(Contains(text, "<File>\"b[1].jpg\"</File>")) << text;
    EXPECT_EQ(ReadFileBytes(f.templates / "Foto_copy(0)" / "a.jpg"), "fremd");
    EXPECT_EQ(ReadFileBytes(f.templates / "Foto_copy(0)" / "b[0].jpg"), "fremd");
    EXPECT_TRUE(ReadFileBytes(f.templates / "Foto_copy(0)" / "a[0].jpg") == std::string(3000, 'a'));
    EXPECT_TRUE(ReadFileBytes(f.templates / "Foto_copy(0)" / "b[1].jpg") == std::string(2000, 'b'));

    // With every number taken the copy fails and changes nothing.
    for (int n = 1; n < 100; ++n)
        test::WriteFileBytes(f.templates / ("Foto_copy(" + std::to_string(n) + ").kqt"), "x");
    const auto before = f.Snapshot();
    const auto listing = f.Listing();
    EXPECT_FALSE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Foto.kqt"), "Kunden", f.templates));
    EXPECT_EQ(f.Snapshot(), before);
    EXPECT_EQ(f.Listing(), listing);
}

TEST_F(TemplateOrganizing, CopyImageFileNeverLeavesItsFolders) {
    OrganizerFolder f;
    const fs::path source = f.templates / "Foto";
    const fs::path target = f.templates / "Neu";
    test::WriteFileBytes(f.Root() / "geheim.jpg", "geheim");
    xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
    struct Case {
        const char* text;
        ImageCopy result;
    };
    const Case cases[] = {
        {"\"../../geheim.jpg\"", ImageCopy::LeftOut}, {"\"..\\\\geheim.jpg\"", ImageCopy::LeftOut},
        {"\"/etc/passwd\"", ImageCopy::LeftOut},      {"\"..\"", ImageCopy::LeftOut},
        {"\"fehlt.jpg\"", ImageCopy::LeftOut},        {"\"\"", ImageCopy::LeftOut},
        {"\"a.jpg\"", ImageCopy::Copied},
    };
    for (const Case& c : cases) {
        xmlNodePtr file = xmlNewDocNode(doc, nullptr, BAD_CAST "File", BAD_CAST c.text);
        CreatedFiles made;
        EXPECT_EQ(CopyImageFile(file, source, target, made), c.result) << c.text;
        xmlFreeNode(file);
    }
    EXPECT_EQ(ReadFileBytes(target / "a.jpg"), std::string(3000, 'a'));
    EXPECT_FALSE(fs::exists(target / "geheim.jpg"));

    // Source and destination the same folder: the file stays whole, nothing copied.
    xmlNodePtr file = xmlNewDocNode(doc, nullptr, BAD_CAST "File", BAD_CAST "\"b.jpg\"");
    CreatedFiles made;
    EXPECT_EQ(CopyImageFile(file, source, f.templates / "." / "Foto", made), ImageCopy::Copied);
    EXPECT_EQ(ReadFileBytes(source / "b.jpg"), std::string(2000, 'b'));
    EXPECT_TRUE(made.files.empty());
    xmlFreeNode(file);
    xmlFreeDoc(doc);
}

TEST_F(TemplateOrganizing, TheCopyKeepsAnElementRightAfterTheImageMask) {
    OrganizerFolder f;
    test::WriteFileBytes(f.templates / "Dicht.kqt",
                         "<?xml version=\"1.0\"?>\n<root><layout><NameGenre>\"General\"</NameGenre>"
                         "<NameOutputImageForm>\"Card\"</NameOutputImageForm><Paper>\"A4\"</Paper>"
                         "<NameMyTemplate></NameMyTemplate></layout></root>\n");
    f.Rescan();
    ASSERT_TRUE(DropTemplateOnCategory(f.Catalog(), f.PathOf("Dicht.kqt"), "MyTemp", f.templates));
    const std::string text = ReadFileBytes(f.templates / "Dicht_copy(0).kqt");
    EXPECT_TRUE(Contains(text, "<Paper>\"A4\"</Paper>")) << text;
    EXPECT_EQ(text.find("<NameMyTemplate"), text.rfind("<NameMyTemplate")) << text;  // one element only
    EXPECT_EQ(f.Catalog().ElementAt(IndexOf(f, "Dicht_copy(0).kqt")).Category, "MyTemp");
}

}  // namespace
}  // namespace vx
