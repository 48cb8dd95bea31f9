#include "templates/TemplatePropertyRows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "templates/TemplateCatalogLookup.h"

namespace vx {
namespace {

enum Row { kName, kComment, kPrinter, kSource, kSize, kBannerLength, kMedia, kOrient, kInk, kMode, kImageSize,
           kImageOption, kRotation };

TEST(TemplatePropertyRows, ShowsEachFieldInItsGermanForm) {
    struct Case {
        const char* what;
        std::function<void(TemplateInfo&)> set;
        int row;
        const char* shown;
    };
    const Case cases[] = {
        {"landscape", [](TemplateInfo& i) { i.PaperOrient = "Landscape"; }, kOrient, "Querformat"},
        {"portrait", [](TemplateInfo& i) { i.PaperOrient = "Portrait"; }, kOrient, "Hochformat"},
        {"other orientation", [](TemplateInfo& i) { i.PaperOrient = "Sideways"; }, kOrient, "-"},
        {"greyvance", [](TemplateInfo& i) { i.Color = "Greyvance"; }, kInk, "Greyvance Photo"},
        {"black", [](TemplateInfo& i) { i.Color = "Black"; }, kInk, "Schwarz"},
        {"colour", [](TemplateInfo& i) { i.Color = "Color"; }, kInk, "Farbe"},
        {"no ink", [](TemplateInfo& i) { i.Color = ""; }, kInk, "-"},
        {"autocrop absolute",
         [](TemplateInfo& i) {
             i.ImageOption = "AutoCrop";
             i.IsAbsoluteSize = 1;
         },
         kImageOption, "Automatisch zuschneiden"},
        {"autocrop relative", [](TemplateInfo& i) { i.ImageOption = "AutoCrop"; }, kImageOption, "-"},
        {"autofit",
         [](TemplateInfo& i) {
             i.ImageOption = "AutoFit";
             i.IsAbsoluteSize = 1;
         },
         kImageOption, "Automatisch anpassen"},
        {"ccw", [](TemplateInfo& i) { i.AutoRotation = "Widthways(CCW)"; }, kRotation, "Querformat (links)"},
        {"exif", [](TemplateInfo& i) { i.AutoRotation = "Use Exif Information"; }, kRotation,
         "Exif-Information verwenden"},
        {"other rotation", [](TemplateInfo& i) { i.AutoRotation = "Never"; }, kRotation, "Aus"},
        {"comment breaks", [](TemplateInfo& i) { i.Comment = "a\nb\r\nc"; }, kComment, "abc"},
        {"name from path", [](TemplateInfo& i) { i.Path = "/home/u/Templates/Kunden/Foto.kqt"; }, kName, "Foto.kqt"},
        {"banner length",
         [](TemplateInfo& i) {
             i.PaperLengthText = "1500.00 mm";
             i.IsBanner = 1;
         },
         kBannerLength, "1500.00 mm"},
        {"length without banner", [](TemplateInfo& i) { i.PaperLengthText = "1500.00 mm"; }, kBannerLength, "-"},
    };
    for (const Case& c : cases) {
        TemplateInfo info;
        c.set(info);
        EXPECT_EQ(MakeTemplatePropertyRows(info)[c.row].value, c.shown) << c.what;
    }
}

TEST(TemplatePropertyRows, EmptyRecordShowsDashInEveryRowUnderItsLabel) {
    const TemplatePropertyRows rows = MakeTemplatePropertyRows(TemplateInfo());
    for (const TemplatePropertyRow& row : rows) EXPECT_EQ(row.value, "-") << row.label;
    EXPECT_EQ(rows[kName].label, "Name");
    EXPECT_EQ(rows[kBannerLength].label, "Banner-Seitenlänge");
    EXPECT_EQ(rows[kRotation].label, "Automatisch drehen");
}

TEST(TemplatePropertyRows, ImageSizeIsRewrittenInTheCurrentUnit) {
    struct Case {
        const char* text;
        int unit;
        const char* shown;
    };
    const Case cases[] = {
        {"Breite = 127.00 mm, Höhe = 84.67 mm", 2, "Breite = 5.000 Zoll, Höhe = 3.333 Zoll"},
        {"Breite = 127.00 mm, Höhe = 84.67 mm", 0, "Breite = 5.000 Zoll, Höhe = 3.333 Zoll"},  // pixels: inches
        {"Breite = 127.00 mm, Höhe = 84.67 mm", 1, "Breite = 127.00 mm, Höhe = 84.67 mm"},
        {"Breite = 5.000 Zoll, Höhe = 3.333 Zoll", 1, "Breite = 127.00 mm, Höhe = 84.67 mm"},
        {"Breite = 50.0%, Höhe = 50.0%", 2, "Breite = 50.0%, Höhe = 50.0%"},
        {"", 2, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(RewriteImageSizeText(c.text, c.unit), c.shown) << c.text << " " << c.unit;
}

TEST(TemplatePropertyRows, PreviewCommentKeepsEveryBreakAsOneLineBreak) {
    EXPECT_EQ(PreviewCommentText("a\nb"), "a\nb");
    EXPECT_EQ(PreviewCommentText("a\r\nb\rc"), "a\nb\nc");
}

TEST(TemplateCatalogLookup, FileNameFindsTheFirstAndPathTellsThemApart) {
    CTemplateInfoArray catalog;
    for (const char* path : {"/t/A/Foto.kqt", "/t/B/Foto.kqt", "/t/Karte.kqt"}) {
        TemplateInfo info;
        info.Path = path;
        catalog.Add(info);
    }
    EXPECT_EQ(FindTemplateByFileName(catalog, "Foto.kqt"), 0);
    EXPECT_EQ(FindTemplateByFileName(catalog, "Karte.kqt"), 2);
    EXPECT_EQ(FindTemplateByFileName(catalog, "foto.kqt"), -1);
    EXPECT_EQ(FindTemplateByPath(catalog, "/t/B/Foto.kqt"), 1);
    EXPECT_EQ(FindTemplateByPath(catalog, "/t/C/Foto.kqt"), -1);
    EXPECT_EQ(TemplateAtIndex(catalog, 1)->Path, "/t/B/Foto.kqt");
    EXPECT_EQ(TemplateAtIndex(catalog, 3), nullptr);
    EXPECT_EQ(TemplateAtIndex(catalog, -1), nullptr);
}

}  // namespace
}  // namespace vx
