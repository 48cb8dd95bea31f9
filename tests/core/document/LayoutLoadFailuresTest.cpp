#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LayoutLoadFixtures.h"
#include "document/LayoutXmlWriter.h"
#include "host/Shell.h"
#include "imaging/JpegEncoder.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "templates/TemplateInfo.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::Images;
using test::kTestProfile;

/// Replaces the first `from` at or after `anchor`; fails the test when either is absent.
std::string Edit(std::string xml, const std::string& anchor, const std::string& from, const std::string& to) {
    const size_t at = xml.find(anchor);
    EXPECT_NE(at, std::string::npos) << anchor;
    if (at == std::string::npos) return xml;
    const size_t pos = xml.find(from, at);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos == std::string::npos) return xml;
    return xml.replace(pos, from.size(), to);
}

/// The file with its object element holding only count copies of one image element.
std::string OnlyImages(const std::string& xml, int count, const std::string& image) {
    const size_t from = xml.find("<object>") + std::string("<object>").size();
    const size_t to = xml.find("</object>");
    std::string many;
    for (int i = 0; i < count; ++i) many += image;
    return xml.substr(0, from) + many + xml.substr(to);
}

std::string After(const std::string& xml, const std::string& anchor, const std::string& insert) {
    return Edit(xml, anchor, anchor, anchor + insert);
}

/// Loads that fail, pass or ask, around one small layout: three images in p/, a free
/// text, a free line and a stamp, saved as layout.kqf.
class LayoutLoadCases : public test::LayoutLoadTest {
protected:
    LayoutLoadCases() {
        for (const char* f : {"p/a.jpg", "p/b.jpg", "p/c.jpg", "s/logo.png"}) Touch(f);
        auto layout = test::MakeSavableLayout();
        CLayoutSetting& l = *layout;
        l.SetColorIntentRGB(1);
        l.SetColorIntentSimulation(1);
        LayoutTexts& t = l.Texts();
        t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = kTestProfile;
        t.imageStampPath = (root.Path() / "s/logo.png").string();
        l.HeaderFooterFont().face = "DejaVu Sans";
        l.GetBaseImage()->SetSourceProfile(kTestProfile);
        l.GetBaseImage()->SetSimulationProfile(kTestProfile);
        l.GetBaseImage()->SetCaptionText("Aus der Vorlage");
        for (const char* f : {"p/a.jpg", "p/b.jpg", "p/c.jpg"}) {
            CImageObj* image = test::AddImage(l, (root.Path() / f).string());
            image->SetSourceProfile(kTestProfile);
            image->SetSimulationProfile(kTestProfile);
            image->SetLabelFontName("DejaVu Sans");
        }
        CTextObj* text = test::AddItem<CTextObj>(l);
        text->SetText("Gruß");
        text->SetFont({"DejaVu Sans", 0, 50, 0});
        CLineObj* line = test::AddItem<CLineObj>(l);
        line->SetAngle(-45);
        line->SetArrowSize(3);
        line->SetOffsetEnd({200, 200});
        ComputeFreeLineGeometry(*line);
        file = root.Path() / "layout.kqf";
        EXPECT_TRUE(SaveLayoutXml(file, l));
        xml = ReadText(file);
        TemplateInfo sentinel;
        sentinel.Path = "/vorher/offen.kqf";
        SetCurrentTemplateInfo(sentinel);
    }

    static std::string ReadText(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    vx::LayoutLoad LoadText(const std::string& text, const std::string& name = "edited.kqf") {
        return Load(WriteText(name, text));
    }

    void ExpectSummaryUnchanged() {
        ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);
        EXPECT_EQ(CurrentTemplateInfo().ElementAt(0).Path, "/vorher/offen.kqf");
    }

    fs::path file;
    std::string xml;
};

TEST_F(LayoutLoadCases, RefusesFilesItsReaderCannotTake) {
    const std::string image = "<image><Dir>\"" + (root.Path() / "p/").string() + "\"</Dir><File>\"a.jpg\"</File></image>";
    const std::string longName = "\"" + std::string(33, 'A') + "\"";
    const std::string laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE root [\n<!ENTITY a \"aaaaaaaaaa\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
        "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n"
        "<!ENTITY x SYSTEM \"file:///etc/passwd\">\n]>\n";
    const size_t rootAt = xml.find("<root>");
    const struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"unknown in root", After(xml, "<root>", "<bogus/>")},
        {"unknown in header", After(xml, "<header>", "<Bogus>1</Bogus>")},
        {"fourth header element", After(xml, "<header>", "<Version>1</Version>")},
        {"header without OSVersion", Edit(xml, "<header>", "<OSVersion>", "<Version>")},
        {"unknown in layout", After(xml, "<layout>", "<Bogus>1</Bogus>")},
        {"paperOrient", After(xml, "<layout>", "<paperOrient>Portrait</paperOrient>")},
        {"unknown in object", After(xml, "<object>", "<bogus/>")},
        {"unknown in image", After(xml, "<image>", "<Bogus>1</Bogus>")},
        {"unknown in freeText", After(xml, "<freeText>", "<Bogus>1</Bogus>")},
        {"unknown in freeLine", After(xml, "<freeLine>", "<Bogus>1</Bogus>")},
        {"freeLine Angle 181", Edit(xml, "<freeLine>", "<Angle>-45</Angle>", "<Angle>181</Angle>")},
        {"ArrowSize unlisted", Edit(xml, "<freeLine>", "<ArrowSize>Large", "<ArrowSize>Huge")},
        {"CropFixedRatio True", Edit(xml, "<image>", "<CropFixedRatio>false", "<CropFixedRatio>True")},
        {"33-character font name", Edit(xml, "<freeText>", "\"DejaVu Sans\"", longName)},
        {"33-character label font", Edit(xml, "<image>", "\"DejaVu Sans\"", longName)},
        {"other intent word in layout", Edit(xml, "<layout>", "<InputSrcIntent>Perceptual", "<InputSrcIntent>Other")},
        {"empty Dir", Edit(xml, "<image>", "<Dir>\"" + (root.Path() / "p/").string() + "\"", "<Dir>\"\"")},
        {"1000 images", OnlyImages(xml, 1000, image)},
        {"no layout element", "<?xml version=\"1.0\"?><root><header><Version>1</Version><Platform>Win</Platform>"
                              "<OSVersion>x</OSVersion></header></root>"},
        {"other root", Edit(Edit(xml, "<?xml", "<root>", "<wurzel>"), "</layout>", "</root>", "</wurzel>")},
        {"empty file", ""},
        {"truncated", xml.substr(0, xml.size() / 2)},
        {"not XML", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13)},
        {"entity expansion", laughs + Edit(xml.substr(rootAt), "<layout>", "<CommentGerman>\"\"",
                                           "<CommentGerman>&g;&g;&g;&g;&g;&g;&g;&g;")},
        {"external entity", laughs + Edit(xml.substr(rootAt), "<layout>", "<CommentGerman>\"\"",
                                          "<CommentGerman>&x;")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vx::LayoutLoad load = LoadText(c.text);
        EXPECT_EQ(load.status, LayoutLoadStatus::Unreadable);
        EXPECT_FALSE(load.layout);
        ExpectSummaryUnchanged();
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(LoadLayoutXml(root.Path() / "fehlt.kqf").layout);
    EXPECT_EQ(LoadLayoutXml("").status, LayoutLoadStatus::Unreadable);
}

TEST_F(LayoutLoadCases, TakesUnknownVersionsAndObjectsBeforeTheLayout) {
    vx::LayoutLoad v9999 = LoadText(Edit(xml, "<header>", "<Version>1500", "<Version>9999"));
    ASSERT_TRUE(v9999.Ok());
    EXPECT_EQ(Images(*v9999.layout).size(), 3u);
    // Items written without a caption take the file's "BaseImage" caption...
    EXPECT_EQ(Images(*v9999.layout)[0]->GetCaptionText(), "Aus der Vorlage");

    // ...and the application's default one when their element comes first.
    const size_t from = xml.find("  <object>");
    const size_t to = xml.find("</object>") + std::string("</object>\n").size();
    std::string moved = xml;
    const std::string objects = moved.substr(from, to - from);
    moved.erase(from, to - from);
    moved = Edit(moved, "<root>", "  <header>", objects + "  <header>");
    vx::LayoutLoad early = LoadText(moved);
    ASSERT_TRUE(early.Ok());
    std::vector<CImageObj*> images = Images(*early.layout);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0]->GetCaptionText(), "");
    EXPECT_EQ(early.layout->GetBaseImage()->GetCaptionText(), "Aus der Vorlage");
    EXPECT_EQ(test::Kinds(*early.layout), (std::vector<int16_t>{kKindImage, kKindImage, kKindImage, kKindText, kKindLine}));
}

TEST_F(LayoutLoadCases, ReadsNineHundredNinetyNineImages) {
    const std::string image = "<image><Dir>\"" + (root.Path() / "p/").string() + "\"</Dir><File>\"a.jpg\"</File></image>";
    vx::LayoutLoad load = LoadText(OnlyImages(xml, 999, image));
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(Images(*load.layout).size(), 999u);
    ASSERT_EQ(status.updates.size(), 1000u);
    EXPECT_EQ(status.updates[998].code, kStatusLoading);
    EXPECT_EQ(status.updates[998].args, (Args{999LL, 999LL}));
    EXPECT_EQ(status.updates[999].code, kStatusReady);
    EXPECT_EQ(load.layout->GetViewState()->statusB, 999);
}

fs::path Moved(const fs::path& root, const char* name) { return root / "verschoben" / name; }

class MissingImages : public LayoutLoadCases {
protected:
    MissingImages() { fs::rename(root.Path() / "p", root.Path() / "verschoben"); }
    std::string Missing(const char* name) { return (root.Path() / "p" / name).string(); }
};

TEST_F(MissingImages, SearchFindsTheFileAndTheNextOnesInItsFolder) {
    prompt.answers = {kImageNotFoundSearch};
    windows.choices = {Moved(root.Path(), "a.jpg")};
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    std::vector<CImageObj*> images = Images(*load.layout);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0]->GetFilePath(), Moved(root.Path(), "a.jpg"));
    EXPECT_EQ(images[1]->GetFilePath(), Moved(root.Path(), "b.jpg"));
    EXPECT_EQ(images[2]->GetFilePath(), Moved(root.Path(), "c.jpg"));
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{Missing("a.jpg")}));
    EXPECT_EQ(windows.dialogs, 1);
}

TEST_F(MissingImages, TheSearchStartsInTheDocumentsFolderOfTheDesktop) {
    const fs::path home = root.Path() / "heim";
    fs::create_directories(home / "Dokumente");
    fs::create_directories(home / "Documents");
    test::ScopedEnv setHome("HOME", home.string());
    test::ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    prompt.answer = kImageNotFoundSearch;
    Load(file);
    WriteText("heim/.config/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    Load(file);
    ASSERT_EQ(windows.startFolders.size(), 6u);
    EXPECT_EQ(windows.startFolders[0], home / "Documents");
    EXPECT_EQ(windows.startFolders[3], home / "Dokumente");
}

TEST_F(MissingImages, ContinueSkipsOneImage) {
    prompt.answers = {kImageNotFoundSkip, kImageNotFoundSearch};
    windows.choices = {Moved(root.Path(), "b.jpg")};
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    std::vector<CImageObj*> images = Images(*load.layout);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0]->GetFilePath(), Moved(root.Path(), "b.jpg"));
    EXPECT_EQ(images[1]->GetFilePath(), Moved(root.Path(), "c.jpg"));
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{Missing("a.jpg"), Missing("b.jpg")}));
}

TEST_F(MissingImages, StopSkipsTheRestButKeepsTextsAndLines) {
    prompt.answers = {kImageNotFoundStop};
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(test::Kinds(*load.layout), (std::vector<int16_t>{kKindText, kKindLine}));
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(windows.dialogs, 0);
}

TEST_F(MissingImages, AChosenFileThatIsNotThereOrNoChoiceSkipsTheImage) {
    prompt.answer = kImageNotFoundSearch;
    windows.choices = {root.Path() / "nirgends.jpg"};  // then the dialog is cancelled
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    EXPECT_TRUE(Images(*load.layout).empty());
    EXPECT_EQ(prompt.asked.size(), 3u);
}

TEST_F(MissingImages, WindowsFoldersAreSearchedByFileName) {
    const std::string windowsFolder = "\"C:\\pics\\\"";
    std::string edited = Edit(xml, "<image>", "<Dir>\"" + (root.Path() / "p/").string() + "\"",
                              "<Dir>" + windowsFolder);
    prompt.answers = {kImageNotFoundSearch};
    windows.choices = {Moved(root.Path(), "a.jpg")};
    vx::LayoutLoad load = LoadText(edited);
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{"C:\\pics\\a.jpg"}));
    std::vector<CImageObj*> images = Images(*load.layout);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[2]->GetFilePath(), Moved(root.Path(), "c.jpg"));
}

TEST_F(MissingImages, AFileWithoutFolderIsLookedForBesideTheDocumentPath) {
    const std::string edited =
        Edit(xml, "<image>", "<Dir>\"" + (root.Path() / "p/").string() + "\"</Dir>", "");
    const fs::path path = WriteText("ohne.kqf", edited);
    vx::LayoutLoad load = Load(path);
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(prompt.asked.front(), path.string() + "/a.jpg");
}

TEST_F(LayoutLoadCases, ReadsIntoATemplateTargetAndReplacesAnyOther) {
    CLayoutSetting target(true);
    target.SetTemplate(1);
    target.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
    vx::LayoutLoad read = LoadLayoutXml(file, &target);
    EXPECT_TRUE(read.Ok());
    EXPECT_FALSE(read.layout);
    EXPECT_EQ(Images(target).size(), 3u);
    EXPECT_EQ(target.Texts().printerProfile, kTestProfile);

    CLayoutSetting other(true);
    vx::LayoutLoad replaced = LoadLayoutXml(file, &other);
    ASSERT_TRUE(replaced.Ok());
    ASSERT_TRUE(replaced.layout);
    EXPECT_EQ(Images(*replaced.layout).size(), 3u);
    EXPECT_EQ(other.GetFirstItem(), nullptr);
}

TEST_F(LayoutLoadCases, AMissingStampIsSearchedFor) {
    fs::rename(root.Path() / "s/logo.png", root.Path() / "s/neu.png");
    prompt.answers = {kImageNotFoundSearch};
    windows.choices = {root.Path() / "s/neu.png"};
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(prompt.asked, (std::vector<std::string>{(root.Path() / "s/logo.png").string()}));
    EXPECT_EQ(load.layout->Texts().imageStampPath, (root.Path() / "s/neu.png").string());
    EXPECT_EQ(Images(*load.layout).size(), 3u);
}

TEST_F(LayoutLoadCases, AnImageThatCannotBeOpenedIsLeftOutAndMarksTheLayoutChanged) {
    opener.refused = {"b.jpg"};
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    std::vector<CImageObj*> images = Images(*load.layout);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[1]->GetFilePath(), root.Path() / "p/c.jpg");
    EXPECT_EQ(load.layout->GetDirty(), 1);
    int unreadable = 0;
    for (const auto& u : status.updates) unreadable += u.code == kStatusUnreadable;
    EXPECT_EQ(unreadable, 1);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(LayoutLoadCases, TheModelOpensRealPicturesAndLeavesOutFilesThatAreNone) {
    std::vector<uint8_t> pixels(size_t(400) * 300 * 4, 0x80);
    std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(400, 300, pixels.data());
    ASSERT_TRUE(jpeg);
    Touch("p/a.jpg", std::string(jpeg->begin(), jpeg->end()));  // b.jpg and c.jpg hold no picture
    SetImageItemOpener(nullptr);
    {
        vx::LayoutLoad load = LoadLayoutXml(file);
        ASSERT_TRUE(load.Ok()) << int(load.status);
        std::vector<CImageObj*> images = Images(*load.layout);
        ASSERT_EQ(images.size(), 1u);
        ASSERT_TRUE(images[0]->GetDescription());
        EXPECT_EQ(images[0]->GetDescription()->width, 400);
        EXPECT_EQ(images[0]->GetDescription()->height, 300);
        EXPECT_EQ(images[0]->GetLabelNumber(), 1);
        EXPECT_EQ(load.layout->GetDirty(), 1);
    }
    // Working bitmaps go with their layout.
    EXPECT_TRUE(fs::is_empty(TempFolder()));
    SetImageItemOpener(&opener);
}

std::string WithMissingFonts(const std::string& xml) {
    std::string s = Edit(xml, "<layout>", "<HeaderFooterFontName>\"DejaVu Sans\"", "<HeaderFooterFontName>\"Fehlt Eins\"");
    s = Edit(s, "<image>", "<LabelFontName>\"DejaVu Sans\"", "<LabelFontName>\"Fehlt Zwei\"");
    return Edit(s, "<freeText>", "<FontName>\"DejaVu Sans\"", "<FontName>\"Fehlt Drei\"");
}

TEST_F(LayoutLoadCases, MissingFontsAreReplacedAfterOneWarning) {
    messages.answer = kIdOk;
    vx::LayoutLoad load = LoadText(WithMissingFonts(xml));
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_MISSING_FONTS_REPLACED}));
    EXPECT_EQ(messages.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(load.layout->HeaderFooterFont().face, "DejaVu Sans");
    EXPECT_EQ(Images(*load.layout)[0]->GetLabelFontName(), "DejaVu Sans");
    EXPECT_EQ(static_cast<CTextObj*>(load.layout->GetFirstItem()->NextItem()->NextItem()->NextItem())->GetFont().face,
              "DejaVu Sans");
    EXPECT_EQ(load.layout->GetDirty(), 1);

    // Saved with the substitutes, the layout loads again without a warning.
    const fs::path again = root.Path() / "wieder.kqf";
    ASSERT_TRUE(SaveLayoutXml(again, *load.layout));
    messages.shown.clear();
    vx::LayoutLoad reloaded = Load(again);
    ASSERT_TRUE(reloaded.Ok());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(reloaded.layout->GetDirty(), 0);
}

TEST_F(LayoutLoadCases, CancellingTheFontWarningDeclinesTheLoad) {
    messages.answer = kIdCancel;
    vx::LayoutLoad load = LoadText(WithMissingFonts(xml));
    EXPECT_EQ(load.status, LayoutLoadStatus::Declined);
    EXPECT_FALSE(load.layout);
    // Asked for each font read: the header's and the free text's; the image that names
    // the second is not read once the layout is to be thrown away.
    EXPECT_EQ(messages.Ids(), (std::vector<int>(2, IDS_MISSING_FONTS_REPLACED)));
    EXPECT_EQ(opener.opened.size(), 0u);
    ExpectSummaryUnchanged();
}

TEST_F(LayoutLoadCases, AMissingPrinterProfileTakesTheMonitorDefaultWhenTheUserAgrees) {
    const std::string edited = Edit(xml, "<layout>", "<OutputPrinterProfile>\"Test RGB\"",
                                    "<OutputPrinterProfile>\"Verschwunden\"");
    messages.answer = kIdYes;
    vx::LayoutLoad yes = LoadText(edited);
    ASSERT_TRUE(yes.Ok());
    EXPECT_EQ(yes.layout->Texts().printerProfile, "Default RGB");
    EXPECT_EQ(yes.layout->Texts().monitorProfile, kTestProfile);
    ASSERT_EQ(messages.Ids(), (std::vector<int>{IDS_DEFAULT_PROFILES_USED}));
    EXPECT_EQ(messages.shown[0].text, "Keine geeigneten Farbprofile vorhanden.\nEs werden Standardprofile verwendet.");
    EXPECT_EQ(messages.shown[0].icon, Icon::Warning);
    EXPECT_EQ(messages.shown[0].buttons, Buttons::YesNo);

    messages.answer = kIdNo;
    vx::LayoutLoad no = LoadText(edited);
    EXPECT_EQ(no.status, LayoutLoadStatus::Declined);
    EXPECT_FALSE(no.layout);
    ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);
    EXPECT_EQ(CurrentTemplateInfo().ElementAt(0).Path, (root.Path() / "edited.kqf").string());
}

TEST_F(LayoutLoadCases, AMissingImageSourceProfileTakesTheDefaultAndRebuildsTheLabel) {
    std::string edited = Edit(xml, "<image>", "<ImageSrcProfile>\"Test RGB\"", "<ImageSrcProfile>\"Verschwunden\"");
    edited = Edit(edited, "<image>", "<LabelItems>Off", "<LabelItems>Number");
    edited = Edit(edited, "</image>", "<LabelItems>Off", "<LabelItems>Number");
    messages.answer = kIdYes;
    vx::LayoutLoad load = LoadText(edited);
    ASSERT_TRUE(load.Ok());
    std::vector<CImageObj*> images = Images(*load.layout);
    EXPECT_EQ(images[0]->GetSourceProfile(), "Default RGB");
    EXPECT_FALSE(images[0]->GetLabelText().empty());
    EXPECT_EQ(images[1]->GetSourceProfile(), kTestProfile);
    EXPECT_TRUE(images[1]->GetLabelText().empty());  // untouched: the fake opener builds no labels
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_DEFAULT_PROFILES_USED}));
}

TEST_F(LayoutLoadCases, CancelledAtTheThirdImageGivesNoLayout) {
    const size_t from = xml.find("<layout>");
    const size_t to = xml.find("</layout>");
    int children = 0;
    for (size_t at = xml.find("\n    <", from); at < to; at = xml.find("\n    <", at + 1)) ++children;
    // One check before each child of the layout, then one before each item.
    progress.cancelAfterChecks = children + 2;
    vx::LayoutLoad load = Load(file);
    EXPECT_EQ(load.status, LayoutLoadStatus::Cancelled);
    EXPECT_FALSE(load.layout);
    EXPECT_EQ(opener.opened.size(), 2u);
    EXPECT_EQ(app.deleted, 1);
    ExpectSummaryUnchanged();
}

}  // namespace
}  // namespace vx
