#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "DocumentFixtures.h"
#include "document/LayoutXmlRules.h"

namespace vx {
namespace {

using test::RuleOf;
using test::XmlRecords;

/// A value set on the records, the text its element gets, and that reading the text
/// into fresh records gives the same text again.
struct WrittenCase {
    XmlContext context;
    const char* element;
    std::function<void(XmlRecords&)> set;
    std::string text;
    std::optional<std::string> readBack = std::nullopt;  // what the read value writes, when not text
};

TEST(LayoutXmlRules, WriteAndReadBackThroughTheTable) {
    const std::vector<WrittenCase> cases = {
        {XmlContext::Image, "FrameRect", [](XmlRecords& r) { r.image.SetFrame({10, 20, 30, 40}); }, "20,10,40,30"},
        {XmlContext::Image, "Size", [](XmlRecords& r) { r.image.SetSize(100, 50); }, "50,100"},
        {XmlContext::Image, "LabelFontSize", [](XmlRecords& r) { r.image.SetLabelFontSize(60); }, "12"},
        {XmlContext::Image, "LabelFontSize", [](XmlRecords& r) { r.image.SetLabelFontSizeAuto(1); }, "Auto"},
        {XmlContext::FreeText, "FontSize",
         [](XmlRecords& r) { r.text.SetFont({"DejaVu Sans", 0, 60, 0}); }, "12"},
        {XmlContext::Image, "LabelItems", [](XmlRecords& r) { r.image.SetLabelSelection(0); }, "Off"},
        {XmlContext::Image, "LabelItems", [](XmlRecords& r) { r.image.SetLabelSelection(1u | 1u << 24); },
         "Number+Flash"},
        {XmlContext::FreeText, "FontFace", [](XmlRecords& r) { r.text.SetFont({"", 0x300, 0, 0}); }, "Bold+Italic"},
        {XmlContext::FreeText, "FontFace", [](XmlRecords& r) { r.text.SetFont({"", 0, 0, 0}); }, "Normal"},
        {XmlContext::FreeText, "Justify", [](XmlRecords& r) { r.text.SetTextJustify(-1); }, "Right"},
        {XmlContext::Layout, "HeaderFooterJustify", [](XmlRecords& r) { r.layout.SetHeaderFooterJustify(1); },
         "Center"},
        {XmlContext::Image, "LabelFontColor",
         [](XmlRecords& r) { r.image.SetLabelFontColor(153 | 102 << 8 | 51 << 16); }, "153,102,51"},
        {XmlContext::FreeText, "String", [](XmlRecords& r) { r.text.SetText("a\"b"); }, "\"a\"b\""},
        {XmlContext::FreeText, "String", [](XmlRecords& r) { r.text.SetText("x\r\ny"); }, "\"x\ny\""},
        {XmlContext::Layout, "HeaderFixedDate",
         [](XmlRecords& r) {
             r.layout.SetHeaderFixedDate_Year(2026);
             r.layout.SetHeaderFixedDate_Month(3);
             r.layout.SetHeaderFixedDate_Day(9);
         },
         "2026-3-9"},
        {XmlContext::Layout, "Paper", [](XmlRecords& r) { r.layout.SetPaper({2976, 4209}); }, "0,0,4209,2976"},
        {XmlContext::Layout, "AlignLine", [](XmlRecords& r) { r.layout.SetAlign({5, 4}); }, "Center"},
        {XmlContext::Layout, "AlignHorizontal", [](XmlRecords& r) { r.layout.SetAlign({5, 4}); }, "Justify"},
        {XmlContext::Layout, "Color", [](XmlRecords& r) { r.layout.SetColor(256); }, "Greyvance"},
        {XmlContext::Layout, "Color", [](XmlRecords& r) { r.layout.SetColor(7); }, "-", "Color"},
        {XmlContext::Layout, "ImageSizeMethod", [](XmlRecords& r) { r.layout.GetBaseImage()->SetSizeMethod(2); },
         "Ratio"},
        {XmlContext::Layout, "CutLineOthersType", [](XmlRecords& r) { r.layout.CutLine().markType = 1; },
         "Around Image"},
        {XmlContext::Image, "Rotate", [](XmlRecords& r) { r.image.SetRotate(2 | 8); }, "180"},
        {XmlContext::Image, "Flip", [](XmlRecords& r) { r.image.SetRotate(2 | 8); }, "true"},
        {XmlContext::Image, "ColorTune",
         [](XmlRecords& r) {
             r.image.SetTuneBright(-5);
             r.image.SetTuneContrast(7);
             r.image.SetTuneVivid(12);
         },
         "-5,7,12"},
        {XmlContext::Image, "ImageSrcManagementMode", [](XmlRecords& r) { r.image.SetUseZelFile(3); }, "ZEL"},
        {XmlContext::Image, "ImageSrcIntent", [](XmlRecords& r) { r.image.SetProfileIntent(3); },
         "Relative Colormetric"},
        {XmlContext::FreeLine, "Thickness", [](XmlRecords& r) { r.line.SetThickness(14); }, "2"},
        {XmlContext::FreeLine, "LineStyle", [](XmlRecords& r) { r.line.SetLineStyle(3); }, "Dash"},
        {XmlContext::FreeLine, "ArrowSize", [](XmlRecords& r) { r.line.SetArrowSize(0); }, "Middle"},
    };
    for (const WrittenCase& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " " + c.text);
        const XmlRule& rule = RuleOf(c.context, c.element);
        XmlRecords written;
        XmlRecords read;
        // In the layout element, image values are those of "BaseImage".
        if (c.context == XmlContext::Layout) {
            written.scope.image = written.layout.GetBaseImage();
            read.scope.image = read.layout.GetBaseImage();
        }
        c.set(written);
        std::string text;
        ASSERT_TRUE(FormatXmlRule(rule, written.scope, text));
        EXPECT_EQ(text, c.text);
        ASSERT_TRUE(ParseXmlRule(rule, read.scope, text));
        std::string again;
        ASSERT_TRUE(FormatXmlRule(rule, read.scope, again));
        EXPECT_EQ(again, c.readBack.value_or(c.text));
    }
}

TEST(LayoutXmlRules, ReadsAsTheOldReaderDidAndSaturates) {
    XmlRecords r;
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "Free"), r.scope, "TRUE"));
    EXPECT_EQ(r.layout.GetFree(), 1);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "BannerLength"), r.scope, " x-12y"));
    EXPECT_EQ(r.layout.GetBannerLength(), -12);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "PaperLength"), r.scope, "99999999999"));
    EXPECT_EQ(r.layout.GetPaperLength(), INT32_MAX);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "PageNumber"), r.scope, "70000"));
    EXPECT_EQ(r.layout.GetPageNumber(), 32767);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Image, "ImageSrcIntent"), r.scope, "Other"));
    EXPECT_EQ(uint16_t(r.image.GetProfileIntent()), 65535);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Image, "LabelFontSize"), r.scope, "12.6"));
    EXPECT_EQ(r.image.GetLabelFontSize(), 60);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::FreeText, "String"), r.scope, "\"x\ny\""));
    EXPECT_EQ(r.text.GetText(), "x\r\ny");
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "Banner"), r.scope, "true"));
    EXPECT_EQ(r.layout.GetPageMax(), 1);
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "HeaderDispDatePage"), r.scope, "true"));
    EXPECT_EQ(r.layout.GetHeaderShow(), 1);

    // Components one by one: what does not parse stays as it was.
    r.image.SetFrame({1, 2, 3, 4});
    ASSERT_TRUE(ParseXmlRule(RuleOf(XmlContext::Image, "FrameRect"), r.scope, "20,x,40,30"));
    EXPECT_EQ(r.image.GetFrame(), (LayoutRect{1, 20, 3, 4}));
}

TEST(LayoutXmlRules, WordsThatFailTheSaveOrTheRead) {
    XmlRecords r;
    std::string text;
    r.layout.SetAlign({3, 1});
    EXPECT_FALSE(FormatXmlRule(RuleOf(XmlContext::Layout, "AlignHorizontal"), r.scope, text));
    r.image.SetLabelAlign(5);
    EXPECT_FALSE(FormatXmlRule(RuleOf(XmlContext::Image, "LabelAlign"), r.scope, text));
    r.image.SetFrameMode(9);
    EXPECT_FALSE(FormatXmlRule(RuleOf(XmlContext::Image, "FrameSetting"), r.scope, text));

    EXPECT_FALSE(ParseXmlRule(RuleOf(XmlContext::Image, "CropFixedRatio"), r.scope, "TRUE"));
    EXPECT_FALSE(ParseXmlRule(RuleOf(XmlContext::Image, "Rotate"), r.scope, "45"));
    EXPECT_FALSE(ParseXmlRule(RuleOf(XmlContext::FreeLine, "Angle"), r.scope, "181"));
    EXPECT_FALSE(ParseXmlRule(RuleOf(XmlContext::FreeLine, "ArrowMark"), r.scope, "none"));
    EXPECT_FALSE(ParseXmlRule(RuleOf(XmlContext::Layout, "InputSrcIntent"), r.scope, "Other"));
    EXPECT_TRUE(ParseXmlRule(RuleOf(XmlContext::Layout, "Color"), r.scope, "Grey"));
    EXPECT_EQ(r.layout.GetColor(), 2);
}

TEST(LayoutXmlRules, TextsLongerThanTheirLimitFailTheSave) {
    XmlRecords r;
    std::string text;
    r.image.SetLabelFontName(std::string(33, 'F'));
    EXPECT_FALSE(FormatXmlRule(RuleOf(XmlContext::Image, "LabelFontName"), r.scope, text));
    r.image.SetLabelFontName(std::string(16, 'F') + std::string(16, '\xC3') );
    r.image.SetSourceProfile(std::string(255, 'p'));
    EXPECT_TRUE(FormatXmlRule(RuleOf(XmlContext::Image, "ImageSrcProfile"), r.scope, text));
    r.image.SetSourceProfile(std::string(256, 'p'));
    EXPECT_FALSE(FormatXmlRule(RuleOf(XmlContext::Image, "ImageSrcProfile"), r.scope, text));
}

TEST(LayoutXmlNames, ContextsMatchTheirRules) {
    EXPECT_EQ(LayoutXmlContext(XmlContext::Layout).size(), 124u);
    EXPECT_EQ(LayoutXmlContext(XmlContext::Image).size(), 47u);
    EXPECT_EQ(LayoutXmlContext(XmlContext::FreeText).size(), 13u);
    EXPECT_EQ(LayoutXmlContext(XmlContext::FreeLine).size(), 13u);
    for (XmlContext c : {XmlContext::Layout, XmlContext::Image, XmlContext::FreeText, XmlContext::FreeLine}) {
        std::span<const int16_t> names = LayoutXmlContext(c);
        std::span<const XmlRule> rules = LayoutXmlRules(c);
        ASSERT_EQ(names.size(), rules.size());
        for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], rules[i].name) << i;
    }
    EXPECT_EQ(kLayoutXmlNames[189], "Angle");
    EXPECT_EQ(kLayoutXmlNames[130], "UserPreset");
    EXPECT_EQ(kLayoutXmlNames[180], "OffsetFromPageTop");
    EXPECT_EQ(FindInLayoutXmlContext(XmlContext::FreeLine, "Angle"), 5);
    EXPECT_EQ(FindInLayoutXmlContext(XmlContext::Layout, "paperorient"), -1);
}

}  // namespace
}  // namespace vx
