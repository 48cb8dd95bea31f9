#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LayoutLoadFixtures.h"
#include "document/LayoutXmlWriter.h"
#include "host/Shell.h"
#include "model/CCutLineObj.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "templates/TemplateInfo.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::AddImage;
using test::AddItem;
using test::Images;
using test::AddProfiledImage;
using test::HandWritten;
using test::kTestProfile;
using test::NameTestProfiles;

/// A layout with every kind of item and many values off their defaults, its images
/// below folder.
std::unique_ptr<CLayoutSetting> MakeRichLayout(const fs::path& folder) {
    auto layout = test::MakeSavableLayout();
    CLayoutSetting& l = *layout;
    NameTestProfiles(l);
    l.Texts().comment = "Kommentar <&> \"Entwurf\"";
    l.Texts().headerText = "Kopf\r\nzweite Zeile";
    l.Texts().printerModel = "TEVRA Proof 44";
    l.Texts().paperSizeName = "A4";
    l.Texts().ownTemplateName = "Familie:Urlaub";
    l.Texts().imageStampPath = (folder / "stamps/logo.png").string();
    l.HeaderFooterFont() = {"DejaVu Sans", 0x100, 60, 0x000000FF};
    l.SetHeaderFooterLineHeight(75);
    l.SetHeaderFooterLineHeightPercent(125);
    l.SetHeaderUseFixedDate(1);
    l.SetHeaderFixedDate_Year(2026);
    l.SetHeaderFixedDate_Month(12);
    l.SetHeaderFixedDate_Day(10);
    l.SetAlign({4, 2});
    l.SetSpace({70, 80});
    l.SetColorIntentRGB(2);
    l.SetColorMatchPrinter(1);
    l.SetAutoRotate(3);
    l.CutLine() = {2, 1, 100, 50, 0x00FF00};
    l.GetBaseImage()->SetLabelSelection(3);
    l.GetBaseImage()->SetSourceProfile(kTestProfile);
    l.GetBaseImage()->SetSimulationProfile(kTestProfile);

    CImageObj* a = AddProfiledImage(l, folder / "p/a.jpg");
    a->SetFrame({10, 20, 30, 40});
    a->SetRotate(9);
    a->SetPosition(500, 600);
    a->SetLabelFontName("DejaVu Sans");
    a->SetCaptionText("Bildunterschrift");
    AddProfiledImage(l, folder / "p/b.jpg")->SetUseZelFile(3);
    CTextObj* text = AddItem<CTextObj>(l);
    text->SetText("Hallo\r\nWelt & <Freunde>");
    text->SetFont({"DejaVu Sans", 0x200, 60, 0x00FF0000});
    AddProfiledImage(l, folder / "q/c.jpg")->SetColorIntentSimulation(-1);
    AddItem<CCutLineObj>(l);
    CLineObj* line = AddItem<CLineObj>(l);
    line->SetThickness(10);
    line->SetArrowMark(2);
    line->SetAngle(-45);
    line->SetArrowSize(3);
    line->SetArrowAngle(30);
    line->SetOffsetEnd({300, 300});
    ComputeFreeLineGeometry(*line);  // as every edit leaves a line
    return layout;
}

/// The file's text without its preview, which is drawn anew from what was read.
std::string WithoutPreview(std::string xml) {
    const size_t from = xml.find("<Preview>");
    const size_t to = xml.find("</Preview>");
    if (from != std::string::npos && to != std::string::npos) xml.erase(from, to - from);
    return xml;
}

std::string Serialized(CLayoutSetting& layout, const fs::path& document) {
    LayoutXmlWriteOptions o;
    o.documentPath = document;
    o.language = 7;
    o.osVersion = "6.1_Linux_0";
    return WithoutPreview(SerializeLayoutXml(layout, o).value_or("failed"));
}

/// The lines in which two files differ, "" when none.
std::string LineDiff(const std::string& a, const std::string& b) {
    auto lines = [](const std::string& t) {
        std::vector<std::string> out;
        size_t at = 0;
        while (at <= t.size()) {
            size_t end = t.find('\n', at);
            if (end == std::string::npos) end = t.size();
            out.push_back(t.substr(at, end - at));
            at = end + 1;
        }
        return out;
    };
    const std::vector<std::string> la = lines(a), lb = lines(b);
    std::string diff;
    for (size_t i = 0; i < std::max(la.size(), lb.size()); ++i) {
        const std::string x = i < la.size() ? la[i] : "<none>";
        const std::string y = i < lb.size() ? lb[i] : "<none>";
        if (x != y) diff += "line " + std::to_string(i + 1) + ": " + x + " | " + y + "\n";
    }
    return diff;
}

class LayoutLoad : public test::LayoutLoadTest {};

TEST_F(LayoutLoad, GivesBackWhatWasSavedItemsInOrder) {
    const fs::path folder = root.Path() / "work";
    for (const char* f : {"p/a.jpg", "p/b.jpg", "q/c.jpg", "stamps/logo.png"}) Touch(std::string("work/") + f);
    auto saved = MakeRichLayout(folder);
    const fs::path file = folder / "Fotos.kqf";
    ASSERT_TRUE(SaveLayoutXml(file, *saved));

    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok()) << int(load.status);
    CLayoutSetting& l = *load.layout;
    EXPECT_EQ(l.GetType(), kRecordTypeLayout);
    EXPECT_EQ(l.Texts().documentPath, file.string());
    EXPECT_EQ(l.GetDirty(), 0);
    EXPECT_EQ(test::Kinds(l), (std::vector<int16_t>{kKindImage, kKindImage, kKindText, kKindImage, kKindLine}));
    std::vector<CImageObj*> images = Images(l);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0]->GetFilePath(), folder / "p/a.jpg");
    EXPECT_EQ(images[1]->GetFilePath(), folder / "p/b.jpg");
    EXPECT_EQ(images[2]->GetFilePath(), folder / "q/c.jpg");
    EXPECT_EQ(images[0]->GetLabelNumber(), 1);
    EXPECT_EQ(images[2]->GetLabelNumber(), 3);
    for (CImageObj* i : images) {
        EXPECT_EQ(i->GetOwner(), &l);
        EXPECT_EQ(i->GetType(), kRecordTypeLayout);
    }
    EXPECT_EQ(opener.bitmaps, 3);
    EXPECT_EQ(opener.captions, 3);
    EXPECT_EQ(LineDiff(Serialized(l, file), Serialized(*saved, file)), "");
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_FALSE(status.updates.empty());
    EXPECT_EQ(status.updates.back().code, kStatusReady);
    EXPECT_EQ(app.prepared, (std::vector<const CLayoutSetting*>{&l}));
    ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);
    EXPECT_EQ(CurrentTemplateInfo().ElementAt(0).Path, file.string());
    EXPECT_EQ(CurrentTemplateInfo().ElementAt(0).PrinterModel, "TEVRA Proof 44");
}

TEST_F(LayoutLoad, ChangesOnlyTheDocumentedValues) {
    Touch("p/a.jpg");
    auto saved = test::MakeSavableLayout();
    NameTestProfiles(*saved);
    saved->SetColor(0);
    saved->CutLine() = {2, 0, 0, 0, 0};
    saved->SetPaperOrient(5);  // no word: written "Portrait"
    saved->Texts().headerText = "eins\nzwei";
    AddProfiledImage(*saved, root.Path() / "p/a.jpg");
    const fs::path file = root.Path() / "x.kqf";
    ASSERT_TRUE(SaveLayoutXml(file, *saved));

    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    CLayoutSetting& l = *load.layout;
    EXPECT_EQ(l.GetColor(), 2);
    EXPECT_EQ(l.CutLine().markType, 2);
    EXPECT_EQ(l.GetPaperOrient(), 0);
    EXPECT_EQ(l.Texts().headerText, "eins\r\nzwei");
    saved->SetColor(2);
    saved->CutLine().markType = 2;
    saved->SetPaperOrient(0);
    saved->Texts().headerText = "eins\r\nzwei";
    saved->SetHeaderFooterLineHeightPercent(110);
    EXPECT_EQ(LineDiff(Serialized(l, file), Serialized(*saved, file)), "");
}

TEST_F(LayoutLoad, ResolvesRelativePathsAfterTheFolderMoved) {
    const fs::path before = root.Path() / "before";
    Touch("before/bilder/a.jpg");
    Touch("before/bilder/unter/b.jpg");
    Touch("before/stempel.png");
    auto saved = test::MakeSavableLayout();
    NameTestProfiles(*saved);
    saved->SetRelative(1);
    saved->Texts().imageStampPath = (before / "stempel.png").string();
    AddProfiledImage(*saved, before / "bilder/a.jpg");
    AddProfiledImage(*saved, before / "bilder/unter/b.jpg");
    ASSERT_TRUE(SaveLayoutXml(before / "layout.kqf", *saved));
    const fs::path after = root.Path() / "after";
    fs::rename(before, after);

    vx::LayoutLoad load = Load(after / "layout.kqf");
    ASSERT_TRUE(load.Ok());
    std::vector<CImageObj*> images = Images(*load.layout);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0]->GetFilePath(), after / "bilder/a.jpg");
    EXPECT_EQ(images[1]->GetFilePath(), after / "bilder/unter/b.jpg");
    EXPECT_EQ(load.layout->Texts().imageStampPath, (after / "stempel.png").string());
    EXPECT_TRUE(prompt.asked.empty());
}

TEST(NearestLineSpacingPercent, RoundsToTheListedSteps) {
    struct Case {
        int32_t height, size;
        int16_t percent;
    };
    for (const Case& c : std::vector<Case>{{55, 50, 110},
                                           {62, 50, 125},
                                           {1000, 10, 250},
                                           {0, 50, 110},
                                           {1, 0, 110},   // size 0 counts as 1: 100 %
                                           {2, -5, 200},  // and so does a negative one
                                           {3, 2, 150},
                                           {1375, 1000, 150},  // 137.5 % rounds up to 138
                                           {1625, 1000, 175}}) {
        SCOPED_TRACE(std::to_string(c.height) + "/" + std::to_string(c.size));
        EXPECT_EQ(NearestLineSpacingPercent(c.height, c.size), c.percent);
    }
}

TEST_F(LayoutLoad, SetsTheLineSpacingFromHeightAndFontSize) {
    auto saved = test::MakeSavableLayout();
    NameTestProfiles(*saved);
    saved->HeaderFooterFont().size = 50;
    saved->SetHeaderFooterLineHeight(62);
    saved->SetHeaderFooterLineHeightPercent(200);
    const fs::path file = root.Path() / "x.kqf";
    ASSERT_TRUE(SaveLayoutXml(file, *saved));
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok());
    EXPECT_EQ(load.layout->GetHeaderFooterLineHeightPercent(), 125);
    EXPECT_EQ(load.layout->HeaderFooterFont().size, 50);
}

// A line break written as a character reference arrives as CR LF; it must not become
// CR CR LF (an extra empty line). The same rule holds for every text element.
TEST_F(LayoutLoad, ReadsEachLineBreakAsOneCrLf) {
    struct Case { const char* name; std::string inFile; std::string read; };
    const std::vector<Case> cases = {
        {"LF", "a\nb", "a\r\nb"},
        {"CR LF in the file", "a\r\nb", "a\r\nb"},  // the parser gives a bare LF
        {"CR LF as references", "a&#13;&#10;b", "a\r\nb"},
        {"CR as reference, LF", "a&#13;\nb", "a\r\nb"},
        {"two CR LF", "a&#13;&#10;&#13;&#10;b", "a\r\n\r\nb"},
        {"LF LF", "a\n\nb", "a\r\n\r\nb"},
        {"bare CR", "a&#13;b", "a\rb"},
        {"leading LF", "&#10;b", "\r\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "\"" + c.inFile + "\"";
        const fs::path file = WriteText("lines.kqf", HandWritten("<HeaderText>" + text + "</HeaderText>"
                                                                  "<ImageCaptionString>" + text + "</ImageCaptionString>",
                                                                  "<freeText><String>" + text + "</String></freeText>"));
        vx::LayoutLoad load = Load(file);
        ASSERT_TRUE(load.Ok()) << int(load.status);
        EXPECT_EQ(load.layout->Texts().headerText, c.read);
        EXPECT_EQ(load.layout->GetBaseImage()->GetCaptionText(), c.read);
        CLayoutObj* item = load.layout->GetFirstItem();
        ASSERT_TRUE(item && item->GetKind() == kKindText);
        EXPECT_EQ(static_cast<CTextObj*>(item)->GetText(), c.read);
    }
}

}  // namespace
}  // namespace vx
