#include "templates/TemplateSummary.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>
#include <memory>
#include <vector>

#include "TemplateFixtures.h"
#include "host/HostService.h"
#include "platform/system/Base64.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::LayoutFileText;
using test::WriteFile;

class TemplateSummary : public testing::Test {
protected:
    TemplateInfo Read(std::string_view layoutElements) {
        const fs::path path = mRoot.Path() / "t.kqt";
        WriteFile(path, LayoutFileText(layoutElements));
        TemplateInfo info;
        EXPECT_TRUE(ReadTemplateSummary(path, info));
        return info;
    }

    test::TestRoot mRoot;
    test::TemplateApplicationState mApp;
    ScopedHostService<ApplicationState> mInstalled{&mApp};
};

TEST_F(TemplateSummary, FillsEveryFieldFromTheLayout) {
    const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0xFF, 0xD9};
    const fs::path path = mRoot.Path() / "Urlaub.kqt";
    const std::string text = LayoutFileText(
        "<PrinterModel>PX-9000</PrinterModel><PaperSize>A4</PaperSize><PaperSource>Roll</PaperSource>"
        "<PaperOrient>Landscape</PaperOrient><MediaType>Matte</MediaType><Color>Greyvance</Color>"
        "<CommentGerman>Ferien &amp; Reisen</CommentGerman><CommentEnglish>Holidays</CommentEnglish>"
        "<Banner>false</Banner><Free>true</Free><ImageSizeMethod>Relative</ImageSizeMethod>"
        "<ImageSizeRelative>250,600</ImageSizeRelative><ImageSizeImageOption>AutoCrop</ImageSizeImageOption>"
        "<AutoRotation>Use Exif Information</AutoRotation><NameGenre>Shop</NameGenre>"
        "<NameOutputImageForm>Card</NameOutputImageForm><Preview>" + Base64Encode(jpeg) + "</Preview>");
    WriteFile(path, text);
    // 2021-03-04 05:06 local time.
    std::tm when{};
    when.tm_year = 121, when.tm_mon = 2, when.tm_mday = 4, when.tm_hour = 5, when.tm_min = 6, when.tm_isdst = -1;
    const utimbuf times{std::mktime(&when), std::mktime(&when)};
    ASSERT_EQ(utime(path.c_str(), &times), 0);

    TemplateInfo info;
    ASSERT_TRUE(ReadTemplateSummary(path, info));
    EXPECT_EQ(info.Path, path.string());
    EXPECT_EQ(info.ModifiedText, "21.03.04 05:06");
    EXPECT_EQ(info.SizeText, std::to_string(text.size()));
    EXPECT_EQ(info.Comment, "Ferien & Reisen");
    EXPECT_EQ(info.PrinterModel, "PX-9000");
    EXPECT_EQ(info.PaperSize, "A4");
    EXPECT_EQ(info.PaperSource, "Roll");
    EXPECT_EQ(info.PaperOrient, "Landscape");
    EXPECT_EQ(info.MediaType, "Matte");
    EXPECT_EQ(info.Color, "Greyvance");
    EXPECT_EQ(info.IsBanner, 0);
    EXPECT_EQ(info.PaperLengthText, "-");
    EXPECT_EQ(info.LayoutModeText, "Freies Layout");
    EXPECT_EQ(info.ImageSizeText, "Breite = 60.0%, Höhe = 25.0%");
    EXPECT_EQ(info.IsAbsoluteSize, 0);
    EXPECT_EQ(info.ImageOption, "AutoCrop");
    EXPECT_EQ(info.AutoRotation, "Use Exif Information");
    EXPECT_EQ(info.Category, "Shop");
    EXPECT_EQ(info.IsUserTemplate, 0);
    EXPECT_EQ(info.ImageMask, "Card");
    ASSERT_TRUE(info.PreviewBytes);
    EXPECT_EQ(*info.PreviewBytes, jpeg);
    EXPECT_EQ(info.PreviewLength, int32_t(jpeg.size()));
    // The reader passes every filter; whether the chooser lists it is the chooser's call.
    EXPECT_EQ(info.PrinterPass, 1);
    EXPECT_EQ(info.PaperSizePass, 1);
    EXPECT_EQ(info.PaperSourcePass, 1);
    EXPECT_EQ(info.CategoryPass, 1);
    EXPECT_EQ(info.Visible, 0);

    // Copies share the one preview block, which lives as long as any of them.
    TemplateInfo copy = info;
    EXPECT_EQ(copy.PreviewBytes.get(), info.PreviewBytes.get());
    info = TemplateInfo{};
    EXPECT_EQ(*copy.PreviewBytes, jpeg);
}

TEST_F(TemplateSummary, ReadsTheCommentOfTheUsersLanguage) {
    struct Case { int language; const char* expression; const char* comment; };
    const std::vector<Case> cases = {
        {4, "/root[1]/layout[1]/CommentSimplifiedChinese[1]", "zh"},
        {7, "/root[1]/layout[1]/CommentGerman[1]", "de"},
        {9, "/root[1]/layout[1]/CommentEnglish[1]", "en"},
        {10, "/root[1]/layout[1]/CommentSpanish[1]", "es"},
        {12, "/root[1]/layout[1]/CommentFrench[1]", "fr"},
        {16, "/root[1]/layout[1]/CommentItalian[1]", "it"},
        {17, "/root[1]/layout[1]/Comment[1]", "plain"},
        {18, "/root[1]/layout[1]/CommentKorean[1]", "ko"},
        {19, "/root[1]/layout[1]/CommentDutch[1]", "nl"},
        {22, "/root[1]/layout[1]/CommentPortuguese[1]", "pt"},
        {25, "/root[1]/layout[1]/CommentEnglish[1]", "en"},
        {0, "/root[1]/layout[1]/CommentEnglish[1]", "en"},
    };
    const char* elements =
        "<Comment>plain</Comment><CommentEnglish>en</CommentEnglish><CommentGerman>de</CommentGerman>"
        "<CommentSimplifiedChinese>zh</CommentSimplifiedChinese><CommentTraditionalChinese>tw</CommentTraditionalChinese>"
        "<CommentSpanish>es</CommentSpanish><CommentFrench>fr</CommentFrench><CommentItalian>it</CommentItalian>"
        "<CommentKorean>ko</CommentKorean><CommentDutch>nl</CommentDutch><CommentPortuguese>pt</CommentPortuguese>";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        mApp.language = c.language;
        EXPECT_EQ(GetTemplateCommentPath(), c.expression);
        EXPECT_EQ(Read(elements).Comment, c.comment);
    }
}

TEST_F(TemplateSummary, ShowsTheBannerLengthInTheUsersUnit) {
    const char* banner = "<Banner>true</Banner><BannerLength>12345</BannerLength>";
    mApp.preferences.unit = 1;
    TemplateInfo mm = Read(banner);
    EXPECT_EQ(mm.IsBanner, 1);
    EXPECT_EQ(mm.PaperLengthText, "1234.50mm");
    mApp.preferences.unit = 2;
    EXPECT_EQ(Read(banner).PaperLengthText, "48.602Zoll");
    // Only exactly "true" makes a banner.
    TemplateInfo sheet = Read("<Banner>TRUE</Banner><BannerLength>12345</BannerLength>");
    EXPECT_EQ(sheet.IsBanner, 0);
    EXPECT_EQ(sheet.PaperLengthText, "-");
}

TEST_F(TemplateSummary, ShowsTheImageSizeWidthSecondAsPairsAreStored) {
    mApp.preferences.unit = 1;
    TemplateInfo mm = Read("<ImageSizeMethod>Dimensions</ImageSizeMethod><ImageSize>50,100</ImageSize>"
                           "<ImageSizeRelative>1,2</ImageSizeRelative>");
    EXPECT_EQ(mm.IsAbsoluteSize, 1);
    // 100 and 50 in 1/360 inch.
    EXPECT_EQ(mm.ImageSizeText, "Breite = 7.06 mm, Höhe = 3.53 mm");
    mApp.preferences.unit = 2;
    EXPECT_EQ(Read("<ImageSizeMethod>Dimensions</ImageSizeMethod><ImageSize>50,100</ImageSize>").ImageSizeText,
              "Breite = 0.278 Zoll, Höhe = 0.139 Zoll");
    TemplateInfo relative = Read("<ImageSizeMethod>Percent</ImageSizeMethod><ImageSize>50,100</ImageSize>"
                                 "<ImageSizeRelative>500,1000</ImageSizeRelative>");
    EXPECT_EQ(relative.IsAbsoluteSize, 0);
    EXPECT_EQ(relative.ImageSizeText, "Breite = 100.0%, Höhe = 50.0%");
    // A pair that is not one leaves the text as it was.
    EXPECT_EQ(Read("<ImageSizeMethod>Dimensions</ImageSizeMethod><ImageSize>50</ImageSize>").ImageSizeText, "");
}

TEST_F(TemplateSummary, TakesTheUserCategoriesBeforeTheBuiltInOne) {
    struct Case { const char* elements; const char* category; int user; };
    const std::vector<Case> cases = {
        {"<NameGenre>Shop</NameGenre><NameMyTemplate>Family:Travel</NameMyTemplate>", "Family:Travel", 1},
        {"<NameGenre>Shop</NameGenre><NameMyTemplate></NameMyTemplate>", "Shop", 0},
        {"<NameGenre>Shop</NameGenre>", "Shop", 0},
        {"<NameMyTemplate>\"Quoted\"</NameMyTemplate>", "Quoted", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elements);
        TemplateInfo info = Read(c.elements);
        EXPECT_EQ(info.Category, c.category);
        EXPECT_EQ(info.IsUserTemplate, c.user);
    }
}

TEST_F(TemplateSummary, GivesNoPreviewForAMissingOrDamagedOne) {
    for (const char* elements : {"", "<Preview></Preview>", "<Preview>/9j/4A=</Preview>", "<Preview>/9j/4A!!</Preview>",
                                 "<Preview>====</Preview>"}) {
        SCOPED_TRACE(elements);
        TemplateInfo info = Read(elements);
        EXPECT_EQ(info.PreviewLength, 0);
        EXPECT_FALSE(info.PreviewBytes);
    }
}

TEST_F(TemplateSummary, RefusesFilesThatAreNoXmlAndLeavesTheRecord) {
    struct Case { const char* name; std::string bytes; };
    const std::string good = LayoutFileText("<PrinterModel>PX</PrinterModel>");
    const std::vector<Case> cases = {
        {"empty", ""},
        {"truncated", good.substr(0, good.size() / 2)},
        {"no XML", "GIF89a\x01\x00\x01\x00"},
        {"two roots", "<root/><root/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = mRoot.Path() / (std::string(c.name) + ".kqt");
        WriteFile(path, c.bytes);
        TemplateInfo info;
        info.Comment = "bleibt";
        EXPECT_FALSE(ReadTemplateSummary(path, info));
        EXPECT_EQ(info.Comment, "bleibt");
        EXPECT_EQ(info.Path, "");
    }
    TemplateInfo info;
    EXPECT_FALSE(ReadTemplateSummary(mRoot.Path() / "missing.kqt", info));
    EXPECT_FALSE(ReadTemplateSummary(mRoot.Path(), info));
}

TEST_F(TemplateSummary, ExpandsNoEntities) {
    const fs::path secret = mRoot.Path() / "secret.txt";
    WriteFile(secret, "geheim");
    const fs::path path = mRoot.Path() / "entities.kqt";
    WriteFile(path, "<?xml version=\"1.0\"?>\n<!DOCTYPE root [<!ENTITY inner \"innen\"><!ENTITY outer SYSTEM \"" +
                        secret.string() + "\">]>\n<root><layout><CommentGerman>&outer;</CommentGerman>"
                        "<PrinterModel>&inner;</PrinterModel><PaperSize>A4</PaperSize></layout></root>");
    TemplateInfo info;
    ASSERT_TRUE(ReadTemplateSummary(path, info));
    EXPECT_EQ(info.Comment, "");
    EXPECT_EQ(info.PrinterModel, "");
    EXPECT_EQ(info.PaperSize, "A4");
}

TEST_F(TemplateSummary, StaysSmallOnNestedEntities) {
    std::string dtd = "<!ENTITY e0 \"haha\">";
    for (int i = 1; i < 12; ++i) {
        dtd += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) dtd += "&e" + std::to_string(i - 1) + ";";
        dtd += "\">";
    }
    const fs::path path = mRoot.Path() / "laughs.kqt";
    WriteFile(path, "<?xml version=\"1.0\"?>\n<!DOCTYPE root [" + dtd +
                        "]>\n<root><layout><CommentGerman>&e11;</CommentGerman><Color>Black</Color></layout></root>");
    TemplateInfo info;
    // Either refused or read without the entity: never ten billion "haha"s.
    if (ReadTemplateSummary(path, info)) {
        EXPECT_EQ(info.Comment, "");
        EXPECT_EQ(info.Color, "Black");
    }
}

TEST(GetXPathText, GivesTheFirstSelectedNodesTextWithoutQuotes) {
    const std::string xml = "<root><layout><A>\"eins\"</A><A>zwei</A><Empty/><Nested><B>x</B></Nested>"
                            "<C><![CDATA[<roh>]]></C></layout></root>";
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(xmlReadMemory(xml.data(), int(xml.size()), nullptr, nullptr, 0),
                                                    xmlFreeDoc);
    ASSERT_TRUE(doc);
    std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)> ctx(xmlXPathNewContext(doc.get()),
                                                                      xmlXPathFreeContext);
    ASSERT_TRUE(ctx);
    std::string text = "vorher";
    EXPECT_TRUE(GetXPathText(ctx.get(), "/root[1]/layout[1]/A[1]", text));
    EXPECT_EQ(text, "eins");
    EXPECT_TRUE(GetXPathText(ctx.get(), "/root[1]/layout[1]/A", text));
    EXPECT_EQ(text, "eins");
    EXPECT_TRUE(GetXPathText(ctx.get(), "/root[1]/layout[1]/C[1]", text));
    EXPECT_EQ(text, "<roh>");
    text = "vorher";
    for (const char* nothing : {"/root[1]/layout[1]/Empty[1]", "/root[1]/layout[1]/Nested[1]",
                                "/root[1]/layout[1]/Missing[1]", "count(/root)", "/root[", ""}) {
        SCOPED_TRACE(nothing);
        EXPECT_FALSE(GetXPathText(ctx.get(), nothing, text));
        EXPECT_EQ(text, "vorher");
    }
}

TEST(StripQuotes, RemovesOneEnclosingPairOnly) {
    struct Case { const char* in; const char* out; };
    const std::vector<Case> cases = {
        {"", ""}, {"\"", "\""}, {"\"\"", ""}, {"\"a\"", "a"}, {"\"\"a\"\"", "\"a\""},
        {"\"ab", "a"}, {"a\"", "a\""}, {"plain", "plain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        std::string text = c.in;
        StripQuotes(text);
        EXPECT_EQ(text, c.out);
    }
}

}  // namespace
}  // namespace vx
