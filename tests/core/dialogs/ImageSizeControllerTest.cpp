#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ImageSizeFixture.h"
#include "host/DocumentServices.h"
#include "model/CTextObj.h"
#include "model/ImageLabels.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

using namespace dialogs;
using test::DescribeByName;
using test::ImageSizeFixture;

struct Loaded : ImageSizeFixture {
    ImageSizeController ctl;
    explicit Loaded(bool preset = false) { EXPECT_TRUE(ctl.LoadFromLayout(layout, preset, 1)); }
    const ControlView& Size(int id) { return ctl.View().size.at(id); }
    const ControlView& Frame(int id) { return ctl.View().frame.at(id); }
};

TEST(ImageSizeController, LoadShowsSizesAndRatiosOfThePrintSize) {
    Loaded t;
    const ImageSizeView v = t.ctl.View();
    EXPECT_EQ(v.size.at(kWidthEdit).text, "127.00");
    EXPECT_EQ(v.size.at(kHeightEdit).text, "84.67");
    EXPECT_EQ(v.size.at(kRatioWidthEdit).text, "50.0");
    EXPECT_EQ(v.size.at(kRatioHeightEdit).text, "50.0");
    EXPECT_TRUE(v.size.at(kDimensionsRadio).checked);
    EXPECT_TRUE(v.size.at(kRatioRadio).enabled);
    EXPECT_TRUE(v.size.at(kKeepDimensions).checked);
    EXPECT_TRUE(v.size.at(kDimensionsLink).checked);
    EXPECT_FALSE(v.size.at(kRatioWidthEdit).enabled);
    EXPECT_EQ(t.ctl.Values().selectionKind, 2);
    EXPECT_EQ(t.ctl.TitleSuffix(), "(Bild)");
}

TEST(ImageSizeController, TypedWidthKeepsProportionsAndOkWritesTheItem) {
    Loaded t;
    const ImageSizeView v = t.ctl.Size().OnWidthChange("150");
    EXPECT_EQ(t.ctl.Values().innerWidth, 2126);
    EXPECT_EQ(t.ctl.Values().innerHeight, 1417);
    EXPECT_EQ(v.size.at(kHeightEdit).text, "100.00");
    EXPECT_EQ(v.size.at(kRatioWidthEdit).text, "59.1");
    EXPECT_EQ(v.size.at(kRatioHeightEdit).text, "59.1");
    EXPECT_EQ(t.ctl.Values().ratioWidth, 590);
    EXPECT_EQ(t.ctl.Values().ratioHeight, 590);

    t.image->SetChanged(0);
    ImageSizeView after;
    ASSERT_TRUE(t.ctl.OnOK(t.undo, after));
    EXPECT_EQ(t.image->GetSizePixel(), (LayoutPoint{2126, 1417}));
    EXPECT_EQ(t.image->GetSize(), (LayoutPoint{2126, 1417}));
    EXPECT_EQ(t.image->GetSizeMethod(), 1);
    EXPECT_EQ(t.image->GetSizeRatioMode(), 1);
    ASSERT_TRUE(t.undo.CanUndo());
    EXPECT_EQ(t.undo.GetLastUndoCode(), 159);
    EXPECT_EQ(t.undo.GetUndoLayout()->GetFirstItem()->GetSize(), (LayoutPoint{1800, 1200}));
    EXPECT_EQ(t.layout.GetDirty(), 1);
    // Laid out again: the item's view was refreshed, which clears the mark.
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST(ImageSizeController, RatioMethodSetsTheSizeFromThePrintSize) {
    Loaded t;
    t.ctl.Size().OnImageOption(2);
    const ImageSizeView chosen = t.ctl.Size().OnRatio();
    EXPECT_FALSE(chosen.size.at(kWidthEdit).enabled);
    EXPECT_FALSE(chosen.size.at(kImageOptionCrop).enabled);
    EXPECT_TRUE(chosen.size.at(kRatioWidthEdit).enabled);
    EXPECT_FALSE(chosen.frame.at(kFrameAuto).enabled);
    EXPECT_FALSE(chosen.frame.at(kFrameCustom).enabled);

    const ImageSizeView v = t.ctl.Size().OnRatioWidthChange("25");
    EXPECT_EQ(v.size.at(kRatioHeightEdit).text, "25.0");
    EXPECT_EQ(t.ctl.Values().innerWidth, 900);
    EXPECT_EQ(t.ctl.Values().innerHeight, 600);
    EXPECT_EQ(v.size.at(kWidthEdit).text, "63.50");

    ImageSizeView after;
    ASSERT_TRUE(t.ctl.OnOK(t.undo, after));
    EXPECT_EQ(t.image->GetSizeRatio(), (LayoutPoint{250, 250}));
    EXPECT_EQ(t.image->GetSize(), (LayoutPoint{900, 600}));
    EXPECT_EQ(t.image->GetSizeMethod(), 2);
    EXPECT_EQ(t.image->GetImageOption(), 1);
    EXPECT_EQ(t.image->GetImageOptionDimens(), 2);
}

TEST(ImageSizeController, RefusedOkLeavesLayoutAndUndoAlone) {
    struct Case {
        const char* what;
        void (*edit)(ImageSizeController&);
        int message;
        std::string range;  // part of the message text
        int focus;
    };
    const std::vector<Case> cases = {
        {"ratio below 10 mm",
         [](ImageSizeController& c) {
             c.Size().OnRatio();
             c.Size().OnKeepProportionsRatio(false);
             c.Size().OnRatioWidthChange("2.5");
         },
         IDS_VALUE_RANGE_1DEC, "4.0 % - 5905.5 %", kRatioWidthEdit},
        {"width below 10 mm", [](ImageSizeController& c) { c.Size().OnWidthChange("5"); }, IDS_VALUE_RANGE_2DEC,
         "10.00 mm - 15000.00 mm", kWidthEdit},
        {"image and frame over 15 m",
         [](ImageSizeController& c) {
             c.Size().OnWidthChange("14000");
             c.Frame().OnFrameCustom();
             c.Frame().OnEdgeChange(kLeftEdit, "600");
             c.Frame().OnEdgeChange(kRightEdit, "600");
         },
         IDS_VALUE_OUT_OF_RANGE, "", kWidthEdit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded t;
        const std::string undoBefore = t.PushEarlierUndo();
        const std::string before = DescribeByName(t.layout);
        c.edit(t.ctl);
        ImageSizeView v;
        EXPECT_FALSE(t.ctl.OnOK(t.undo, v));
        ASSERT_EQ(t.messages.Ids(), std::vector<int>{c.message});
        EXPECT_NE(t.messages.shown[0].text.find(c.range), std::string::npos) << t.messages.shown[0].text;
        EXPECT_EQ(v.tab, 0);
        EXPECT_EQ(v.focus, c.focus);
        EXPECT_TRUE(v.selectAll);
        EXPECT_EQ(DescribeByName(t.layout), before);
        EXPECT_EQ(t.undo.GetLastUndoCode(), 22);
        EXPECT_EQ(DescribeByName(*t.undo.GetUndoLayout()), undoBefore);
    }
}

TEST(ImageSizeController, SidesPastFifteenMetresAreRefusedInTheSizeUnit) {
    Loaded t;
    t.ctl.Size().OnUnitChange(1);
    t.ctl.Size().OnKeepProportionsDimensions(false);
    t.ctl.Size().OnHeightChange("600");
    ImageSizeView v;
    EXPECT_FALSE(t.ctl.OnOK(t.undo, v));
    ASSERT_EQ(t.messages.Ids(), std::vector<int>{IDS_VALUE_RANGE_3DEC});
    EXPECT_NE(t.messages.shown[0].text.find("0.394 Zoll - 590.551 Zoll"), std::string::npos);
    EXPECT_EQ(v.focus, kHeightEdit);
}

TEST(ImageSizeController, AutomaticFrameFollowsTheInnerSizeAndShowsTheOuterSize) {
    Loaded t;
    ImageSizeView v = t.ctl.Frame().OnFrameAuto();
    EXPECT_EQ(t.ctl.Values().frame, (LayoutRect{60, 60, 60, 60}));
    EXPECT_EQ(v.frame.at(kLeftEdit).text, "4.23");
    EXPECT_FALSE(v.frame.at(kLeftEdit).enabled);
    EXPECT_EQ(v.frame.at(kSizeLine).text, "Breite : 135.47 mm  Höhe : 93.13 mm");
    EXPECT_FALSE(v.size.at(kRatioRadio).enabled);
    EXPECT_TRUE(v.size.at(kDimensionsRadio).checked);

    v = t.ctl.Frame().OnSizeTextUnitChange(1);
    EXPECT_EQ(v.frame.at(kSizeLine).text, "Breite : 5.333 Zoll  Höhe : 3.667 Zoll");

    // 300 x 200 mm (4252 x 2835): edges of 5 % of 2835, cut.
    v = t.ctl.Size().OnWidthChange("300");
    EXPECT_EQ(t.ctl.Values().frame, (LayoutRect{141, 141, 141, 141}));
    EXPECT_EQ(v.frame.at(kTopEdit).text, "9.95");

    v = t.ctl.Frame().OnFrameOff();
    EXPECT_EQ(t.ctl.Values().frame, (LayoutRect{0, 0, 0, 0}));
    EXPECT_EQ(v.frame.at(kRightEdit).text, "0.00");
    EXPECT_TRUE(v.size.at(kRatioRadio).enabled);
    EXPECT_FALSE(v.frame.at(kColourButton).enabled);
}

TEST(ImageSizeController, OkWritesTheAutomaticFrameAndTheOuterSize) {
    Loaded t;
    t.ctl.Frame().OnFrameAuto();
    t.ctl.Frame().OnColour();
    t.ctl.Size().OnWidthChange("150");
    ImageSizeView v;
    ASSERT_TRUE(t.ctl.OnOK(t.undo, v));
    EXPECT_EQ(t.image->GetFrameMode(), 1);
    EXPECT_EQ(t.image->GetFrame(), (LayoutRect{70, 70, 70, 70}));
    EXPECT_EQ(t.image->GetSize(), (LayoutPoint{2126 + 140, 1417 + 140}));
    EXPECT_EQ(t.image->GetSizePixel(), (LayoutPoint{2126, 1417}));
    EXPECT_EQ(t.image->GetFrameColor(), 1);
}

TEST(ImageSizeController, EdgeRoomLeavesTheOppositeEdgeOnce) {
    Loaded t;
    t.ctl.Size().OnWidthChange("14000");
    t.ctl.Frame().OnFrameCustom();
    const ImageSizeView v = t.ctl.Frame().OnEdgeChange(kRightEdit, "500");
    EXPECT_NEAR(t.ctl.Frame().EdgeRoom(FrameEdge::Left), 500.0, 0.05);
    EXPECT_NEAR(v.frame.at(kLeftEdit).range->maximum, 500.0, 0.05);
    EXPECT_NEAR(t.ctl.Frame().EdgeRoom(FrameEdge::Right), 1000.0, 0.05);
    // A negative edge counts as its width.
    t.ctl.Frame().OnEdgeChange(kLeftEdit, "-100");
    EXPECT_EQ(t.ctl.Values().frame.left, 1417);
    EXPECT_EQ(t.ctl.Frame().GetOuterSize().x, t.ctl.Values().innerWidth + 1417 + t.ctl.Values().frame.right);
}

TEST(ImageSizeController, SeveralImagesKeepTheirOwnRatioAndOthersStay) {
    ImageSizeFixture f;
    CImageObj* second = f.AddImage(900, 600);
    CImageObj* third = f.AddImage(600, 400);
    second->SetSizeRatio({111, 222});
    third->SetSizeRatio({333, 444});
    f.image->SetSizeRatio({500, 500});
    auto* text = f.Add<CTextObj>(500, 100);
    text->SetSelected(1);
    f.layout.SetCurrentItem(text);

    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(f.layout, false, 1));
    EXPECT_EQ(ctl.Item(), f.image);  // the first selected image, not the text
    EXPECT_EQ(ctl.Values().selectionKind, 3);
    ctl.Size().OnWidthChange("150");
    ImageSizeView v;
    ASSERT_TRUE(ctl.OnOK(f.undo, v));
    const std::vector<std::pair<CImageObj*, LayoutPoint>> expected = {
        {f.image, {500, 500}}, {second, {111, 222}}, {third, {333, 444}}};
    for (auto [item, ratio] : expected) {
        EXPECT_EQ(item->GetSizePixel(), (LayoutPoint{2126, 1417}));
        EXPECT_EQ(item->GetSize(), (LayoutPoint{2126, 1417}));
        EXPECT_EQ(item->GetSizeRatio(), ratio);
        EXPECT_EQ(item->GetSizeMethod(), 1);
    }
    EXPECT_EQ(text->GetSize(), (LayoutPoint{500, 100}));
    EXPECT_EQ(f.undo.GetLastUndoCode(), 159);
}

TEST(ImageSizeController, PrototypeWithoutPrintSizeNeverDivides) {
    ImageSizeFixture f;
    f.image->SetSelected(0);
    CImageObj& base = *f.layout.GetBaseImage();
    base.SetSize(1000, 800);
    base.SetSizeMethod(1);
    base.SetSizeRatioMode(1);
    f.PushEarlierUndo();
    const LayoutPoint imageSize = f.image->GetSize();

    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(f.layout, false, 1));
    EXPECT_EQ(ctl.Item(), &base);
    ImageSizeView v = ctl.View();
    EXPECT_FALSE(v.size.at(kRatioRadio).enabled);
    EXPECT_EQ(v.size.at(kRatioWidthEdit).text, "100.0");
    v = ctl.Size().OnWidthChange("100");
    EXPECT_EQ(v.size.at(kRatioWidthEdit).text, "100.0");
    v = ctl.Frame().OnFrameOff();
    EXPECT_FALSE(v.size.at(kRatioRadio).enabled);

    ASSERT_TRUE(ctl.OnOK(f.undo, v));
    EXPECT_EQ(base.GetSize(), (LayoutPoint{1417, 1134}));
    EXPECT_FALSE(f.undo.CanUndo());  // the prototype clears the undo entry
    EXPECT_EQ(f.image->GetSize(), imageSize);
}

TEST(ImageSizeController, PresetStartsAnAutomaticFrameFromThePixelSize) {
    Loaded t(true);
    CImageObj& base = *t.layout.GetBaseImage();
    base.SetSizePixel({2000, 1500});
    base.SetSize(2000, 1500);
    base.SetFrameMode(1);
    base.SetSizeMethod(1);
    base.SetSizeRatio({0, 700});
    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(t.layout, true, 2));
    EXPECT_EQ(ctl.TitleSuffix(), "(Layout)");
    EXPECT_EQ(ctl.Values().frame, (LayoutRect{75, 75, 75, 75}));
    EXPECT_EQ(ctl.Values().ratioWidth, 1000);
    EXPECT_EQ(ctl.Values().ratioHeight, 1000);
    EXPECT_EQ(ctl.Values().sizeLineUnit, 2);

    EXPECT_TRUE(ctl.View().frame.at(kSizeLine).enabled);

    // In the preset the two proportion boxes are apart; the chosen method's box counts.
    ImageSizeView v = ctl.Size().OnRatio();
    EXPECT_FALSE(v.frame.at(kSizeLine).enabled);
    EXPECT_EQ(ctl.Values().frame, (LayoutRect{0, 0, 0, 0}));
    ctl.Size().OnKeepProportionsRatio(true);
    v = ctl.Size().OnKeepProportionsDimensions(false);
    EXPECT_TRUE(v.size.at(kKeepRatio).checked);
    ctl.Size().OnRatioWidthChange("50");
    ASSERT_TRUE(ctl.OnOK(t.undo, v));
    EXPECT_EQ(base.GetSizeRatio(), (LayoutPoint{500, 500}));
    EXPECT_EQ(base.GetSizeRatioMode(), 1);
    EXPECT_EQ(base.GetSize(), (LayoutPoint{2000, 1500}));
    EXPECT_EQ(t.layout.GetDirty(), 1);
}

TEST(ImageSizeController, KeepingProportionsOfAZeroSideIsRefused) {
    Loaded t;
    t.ctl.Size().OnKeepProportionsDimensions(false);
    t.ctl.Size().OnHeightChange("0");
    const ImageSizeView v = t.ctl.Size().OnKeepProportionsDimensions(true);
    EXPECT_EQ(t.messages.Ids(), std::vector<int>{IDS_KEEP_PROPORTIONS_ZERO});
    EXPECT_FALSE(v.size.at(kKeepDimensions).checked);
    EXPECT_FALSE(v.size.at(kDimensionsLink).checked);
}

TEST(ImageSizeController, EditRangesFollowProportionsAndUnit) {
    Loaded t;
    ImageSizeView v = t.ctl.View();
    EXPECT_DOUBLE_EQ(v.size.at(kWidthEdit).range->maximum, 15000.0);
    EXPECT_NEAR(v.size.at(kHeightEdit).range->maximum, 10000.0, 1e-6);
    EXPECT_EQ(v.size.at(kWidthEdit).range->formatCode, 1);
    // 15000 mm of 254 mm print width: 5905.5 %.
    EXPECT_NEAR(v.size.at(kRatioWidthEdit).range->maximum, 5905.5, 1e-9);
    v = t.ctl.Size().OnUnitChange(1);
    EXPECT_EQ(v.size.at(kWidthEdit).text, "5.000");
    EXPECT_NEAR(v.size.at(kWidthEdit).range->maximum, 590.5511811023622, 1e-9);
    EXPECT_EQ(v.size.at(kWidthEdit).range->formatCode, 2);
    // Typing past 15 m with kept proportions holds the long side there.
    t.ctl.Size().OnUnitChange(0);
    v = t.ctl.Size().OnHeightChange("12000");
    EXPECT_EQ(v.size.at(kWidthEdit).text, "15000.00");
    EXPECT_EQ(t.ctl.Values().innerWidth, 212598);
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

using namespace dialogs;
using test::ImageSizeFixture;

struct FrameColours : SettingsDialogs {
    std::optional<uint32_t> answer;
    std::vector<uint32_t> asked;
    bool Has(Dialog) override { return false; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override {
        asked.push_back(initial);
        return answer;
    }
};

TEST(ImageFramePage, CustomEdgesUnitsAndColourReachTheItem) {
    ImageSizeFixture f;
    f.image->SetFrameColorValue(0x102030);
    FrameColours colours;
    ScopedHostService<SettingsDialogs> installed(&colours);
    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(f.layout, false, 1));

    ImageSizeView v = ctl.Frame().OnFrameCustom();
    EXPECT_TRUE(v.frame.at(kLeftEdit).enabled);
    EXPECT_TRUE(v.frame.at(kFrameUnitCombo).enabled);
    EXPECT_FALSE(v.frame.at(kColourButton).enabled);  // transparent
    EXPECT_FALSE(v.size.at(kRatioRadio).enabled);
    ctl.Frame().OnEdgeChange(kLeftEdit, "10");
    ctl.Frame().OnEdgeChange(kTopEdit, "5");
    ctl.Frame().OnEdgeChange(kRightEdit, "10");
    v = ctl.Frame().OnEdgeChange(kBottomEdit, "20");
    EXPECT_EQ(ctl.Values().frame, (LayoutRect{142, 71, 142, 283}));
    EXPECT_EQ(v.frame.at(kSizeLine).text, "Breite : 147.04 mm  Höhe : 109.64 mm");

    v = ctl.Frame().OnUnitChange(1);
    EXPECT_EQ(v.frame.at(kLeftEdit).text, "0.394");
    EXPECT_EQ(v.frame.at(kLeftEdit).range->formatCode, 2);
    EXPECT_EQ(ctl.Values().frame, (LayoutRect{142, 71, 142, 283}));

    v = ctl.Frame().OnColour();
    EXPECT_TRUE(v.frame.at(kColourButton).enabled);
    colours.answer = 0x00AA00;
    ctl.Frame().OnChooseColour();
    EXPECT_EQ(colours.asked, std::vector<uint32_t>{0x102030});
    colours.answer.reset();
    ctl.Frame().OnChooseColour();  // cancelled: the colour stays
    EXPECT_EQ(ctl.Values().frameColour, 0x00AA00u);

    ImageSizeView after;
    ASSERT_TRUE(ctl.OnOK(f.undo, after));
    EXPECT_EQ(f.image->GetFrameMode(), 2);
    EXPECT_EQ(f.image->GetFrame(), (LayoutRect{142, 71, 142, 283}));
    EXPECT_EQ(f.image->GetSize(), (LayoutPoint{1800 + 284, 1200 + 354}));
    EXPECT_EQ(f.image->GetSizePixel(), (LayoutPoint{1800, 1200}));
    EXPECT_EQ(f.image->GetFrameColor(), 1);
    EXPECT_EQ(f.image->GetFrameColorValue(), 0x00AA00u);
}

TEST(ImageSizeController, AutomaticFontSizesUseTheTurnedFrameSide) {
    ImageSizeFixture f;
    f.image->SetFrameRotate(1);
    f.image->SetLabelFontSizeAuto(1);
    f.image->SetLabelLocation(kSideBottom);
    f.image->SetCaptionFontSizeAuto(1);
    f.image->SetCaptionLocation(kSideLeft);
    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(f.layout, false, 1));
    ctl.Frame().OnFrameCustom();
    ctl.Frame().OnEdgeChange(kLeftEdit, "5");    // 71
    ctl.Frame().OnEdgeChange(kTopEdit, "10");    // 142
    ctl.Frame().OnEdgeChange(kRightEdit, "15");  // 213
    ctl.Frame().OnEdgeChange(kBottomEdit, "20");  // 283
    ImageSizeView v;
    ASSERT_TRUE(ctl.OnOK(f.undo, v));
    const int32_t edges[] = {142, 283, 71, 213};  // by side: top, bottom, left, right
    const int labelSide = MapLabelPosition(*f.image, kSideBottom);
    const int captionSide = MapLabelPosition(*f.image, kSideLeft);
    ASSERT_NE(labelSide, kSideBottom);
    EXPECT_EQ(f.image->GetLabelFontSize(), std::clamp(edges[labelSide] / 3, 20, 200));
    EXPECT_EQ(f.image->GetCaptionFontSize(), std::clamp(edges[captionSide] / 3, 20, 200));
}

TEST(ImageSizeController, RatioForSeveralImagesScalesEachPrintSize) {
    ImageSizeFixture f;
    CImageObj* small = f.AddImage(900, 600);
    test::DescribeImage(*small, 1500, 1000, 300);  // print size 1800 x 1200
    small->SetSizePixel({111, 222});
    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(f.layout, false, 1));
    ctl.Size().OnRatio();
    ctl.Size().OnRatioWidthChange("40");
    ImageSizeView v;
    ASSERT_TRUE(ctl.OnOK(f.undo, v));
    EXPECT_EQ(f.image->GetSize(), (LayoutPoint{1440, 960}));
    EXPECT_EQ(small->GetSize(), (LayoutPoint{720, 480}));
    EXPECT_EQ(small->GetSizeRatio(), (LayoutPoint{400, 400}));
    EXPECT_EQ(small->GetSizePixel(), (LayoutPoint{111, 222}));
    EXPECT_EQ(small->GetSizeMethod(), 2);
}

TEST(ImageSizeController, TypedRatioPastItsMaximumIsHeldWithTheProportion) {
    ImageSizeFixture f;
    ImageSizeController ctl;
    ASSERT_TRUE(ctl.LoadFromLayout(f.layout, false, 1));
    ctl.Size().OnRatio();
    // The height may reach 10 m (15 m times the kept 2:3): 5905.5 % of 2400 units; the
    // width is held at the same ratio.
    const ImageSizeView v = ctl.Size().OnRatioWidthChange("9000");
    EXPECT_EQ(v.size.at(kRatioHeightEdit).text, "5905.5");
    EXPECT_EQ(ctl.Values().ratioWidth, 59055);
    EXPECT_EQ(ctl.Values().ratioHeight, 59055);
    EXPECT_EQ(ctl.Values().innerHeight, 141732);
}

}  // namespace
}  // namespace vx
