#include "dialogs/FrameTextController.h"
#include "dialogs/LabelsController.h"

#include <gtest/gtest.h>

#include "core/model/LayoutFixture.h"
#include "model/RotationMap.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx::dialogs {
namespace {

const std::vector<std::string> kFaces = {"Arial", "DejaVu Sans", "DejaVu Serif"};

// Three images, the second current, with frames 90 on every side.
struct CaptionExample : test::TestLayout {
    test::RecordingHost host;
    UndoStore undo;
    std::vector<CImageObj*> images = AddImages(3);

    CaptionExample() {
        layout.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
        layout.SetCurrentItem(images[1]);
        for (CImageObj* p : images) {
            p->SetFrame({90, 90, 90, 90});
            p->SetCaptionLocation(1);
            p->SetLabelLocation(0);
        }
    }
};

TEST(FrameTextRules, SizesShowTheNearestListedSize) {
    const std::vector<std::string> entries = FontSizeEntries();
    ASSERT_EQ(entries.size(), 17u);
    EXPECT_EQ(entries[0], "Automatisch");
    struct Case { int32_t units; bool automatic; const char* shown; };
    for (const Case& c : {Case{185, false, "40"}, Case{150, false, "28"}, Case{185, true, "Automatisch"},
                          Case{1, false, "4"}, Case{5000, false, "40"}, Case{50, false, "10"}}) {
        SCOPED_TRACE(c.units);
        EXPECT_EQ(entries[size_t(FontSizeIndex(c.units, c.automatic))], c.shown);
    }
}

TEST(FrameTextRules, FontFallsBackToTahomaItsStandInThenTheFirstEntry) {
    EXPECT_EQ(FontIndexFor(kFaces, "dejavu serif"), 2);
    EXPECT_EQ(FontIndexFor(kFaces, "Missing"), 1);  // "Tahoma" is not installed: its stand-in
    EXPECT_EQ(FontIndexFor({"Tahoma", "DejaVu Sans"}, "Missing"), 0);
    EXPECT_EQ(FontIndexFor({"Zapf", "Tahoma"}, "Missing"), 1);
    EXPECT_EQ(FontIndexFor({"Zapf", "Arial"}, "Missing"), 0);
    EXPECT_EQ(FontIndexFor({}, "Missing"), -1);
}

TEST(FrameTextRules, ThePositionSkipsTheOtherTextsSide) {
    struct Case { int chosen, previous, disabled, taken; };
    const std::vector<Case> cases = {
        {2, 1, 2, 3},  // down onto it: one further
        {3, 1, 3, 2},  // down onto the last entry: the second to last
        {1, 3, 1, 0},  // up onto it: one further up
        {0, 2, 0, 1},  // up onto the first entry: entry 1
        {2, 2, 2, 2},  // the same entry stays
        {3, 0, 1, 3},  // not the other side's entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chosen << " after " << c.previous << ", " << c.disabled << " taken");
        EXPECT_EQ(SkipDisabledSide(c.chosen, c.previous, c.disabled), c.taken);
    }
}

TEST(FrameTextSample, GeometryFollowsSideAndUpsideDown) {
    // Area 200 x 160: frame (20, 20, 180, 140), image (40, 40, 160, 120).
    struct Case { int side; bool upsideDown; double angle; std::optional<std::pair<int, int>> pivot; int x, y, w; };
    using P = std::pair<int, int>;
    const std::vector<Case> cases = {
        {0, false, 180, P{160, 30}, 160, 20, 120}, {0, true, 0, std::nullopt, 40, 20, 120},
        {1, false, 0, std::nullopt, 40, 120, 120}, {1, true, 180, P{160, 130}, 160, 120, 120},
        {2, false, 90, P{40, 40}, 40, 40, 80},     {2, true, 270, P{40, 120}, 40, 100, 80},
        {3, false, 270, P{160, 120}, 160, 120, 80}, {3, true, 90, P{160, 40}, 160, 20, 80},
        {-1, false, 0, std::nullopt, 40, 120, 120}, {-1, true, 0, std::nullopt, 40, 20, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.side << (c.upsideDown ? " upside down" : ""));
        const SampleGeometry g = FrameTextSampleGeometry(200, 160, c.side, c.upsideDown);
        EXPECT_EQ(g.frame, (PixelBox{20, 20, 180, 140}));
        EXPECT_EQ(g.image, (PixelBox{40, 40, 160, 120}));
        EXPECT_EQ(g.angle, c.angle);
        EXPECT_EQ(g.pivot, c.pivot);
        EXPECT_EQ(g.x, c.x);
        EXPECT_EQ(g.y, c.y);
        EXPECT_EQ(g.width, c.w);
        EXPECT_EQ(g.height, 20);
    }
}

TEST(FrameTextSample, DrawsFrameImageAndTextInTheBand) {
    SampleLook look;
    look.side = 1;
    look.textColour = 0x0000FF;  // red
    look.frameColour = 0x00FF00;
    look.text = "Bildunter-/überschrift";
    const gfx::ImageSurface s = RenderFrameTextSample(200, 160, look);
    ASSERT_TRUE(s.Valid());
    EXPECT_EQ(s.Pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(s.Pixel(100, 100) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(s.Pixel(30, 60) & 0xFFFFFF, 0x00FF00u);  // frame colour (ARGB word)
    int red = 0;
    for (int y = 120; y < 140; ++y)
        for (int x = 40; x < 160; ++x)
            if (((s.Pixel(x, y) >> 16) & 0xFF) > 200 && ((s.Pixel(x, y) >> 8) & 0xFF) < 80) ++red;
    EXPECT_GT(red, 20);
}

TEST(CaptionController, ShowsTheCurrentItemAndTheTitleOfItsMode) {
    for (bool preset : {false, true}) {
        CaptionExample e;
        e.images[1]->SetCaptionText("Hallo");
        e.images[1]->SetCaptionFontName("DejaVu Serif");
        e.images[1]->SetCaptionFontSize(0);
        e.images[1]->SetCaptionAlign(2);
        CaptionController dialog(e.undo);
        dialog.SetPreset(preset);
        dialog.SetLayout(&e.layout);
        ASSERT_TRUE(dialog.Init(kFaces));
        EXPECT_EQ(dialog.Item(), preset ? e.layout.GetBaseImage() : e.images[1]);
        EXPECT_EQ(dialog.Title("Bildunter-/überschrift"), preset ? "Bildunter-/überschrift(Layout)" : "Bildunter-/überschrift(Bild)");
        if (!preset) {
            EXPECT_EQ(dialog.Text(), "Hallo");
            EXPECT_EQ(dialog.FontIndex(), 2);
            EXPECT_EQ(e.images[1]->GetCaptionFontSize(), 1);  // corrected when it opens
            EXPECT_EQ(dialog.Align(), 2);
            EXPECT_EQ(dialog.Position(), 1);
            EXPECT_EQ(dialog.DisabledPosition(), 0);
        }
    }
}

TEST(CaptionController, PresetEditsBaseImageOrTheSelectedImages) {
    for (bool several : {false, true}) {
        SCOPED_TRACE(several ? "several selected" : "one current");
        CaptionExample e;
        if (several) {
            e.images[0]->SetSelected(1);
            e.images[2]->SetSelected(1);
        }
        CaptionController dialog(e.undo);
        dialog.SetPreset(true);
        dialog.SetLayout(&e.layout);
        ASSERT_TRUE(dialog.Init(kFaces));
        dialog.SetText("Vorgabe");
        dialog.OnOK();
        EXPECT_EQ(e.layout.GetBaseImage()->GetCaptionText(), several ? "" : "Vorgabe");
        EXPECT_EQ(e.images[0]->GetCaptionText(), several ? "Vorgabe" : "");
        EXPECT_EQ(e.images[1]->GetCaptionText(), "");
    }
}

TEST(CaptionController, AutomaticSizeIsAThirdOfTheFrameSideWithinLimits) {
    for (auto [side, stored] : std::vector<std::pair<int32_t, int16_t>>{{90, 30}, {30, 20}, {900, 200}}) {
        SCOPED_TRACE(side);
        CaptionExample e;
        e.images[1]->SetFrame({0, 0, 0, side});
        CaptionController dialog(e.undo);
        dialog.SetLayout(&e.layout);
        ASSERT_TRUE(dialog.Init(kFaces));
        dialog.SelectSize(0);
        dialog.OnOK();
        EXPECT_EQ(e.images[1]->GetCaptionFontSize(), stored);
        EXPECT_EQ(e.images[1]->GetCaptionFontSizeAuto(), 1);
        EXPECT_EQ(e.undo.GetLastUndoCode(), 34);
        EXPECT_EQ(e.layout.GetDirty(), 1);
    }
}

TEST(CaptionController, SeveralSelectedChangeOnlyTheirImages) {
    CaptionExample e;
    e.layout.FreeViewState();  // no relayout, which would move the text and clear the marks
    auto* text = e.Add<CTextObj>(100, 100, 0, 0);
    for (CLayoutObj* p : {static_cast<CLayoutObj*>(e.images[0]), static_cast<CLayoutObj*>(e.images[2]),
                          static_cast<CLayoutObj*>(text)})
        p->SetSelected(1);
    const std::string textBefore = test::DescribeByName(e.layout).substr(test::DescribeByName(e.layout).rfind("\nid"));
    CaptionController dialog(e.undo);
    dialog.SetLayout(&e.layout);
    ASSERT_TRUE(dialog.Init(kFaces));
    EXPECT_EQ(dialog.EditMode(), 3);
    dialog.SetText("Neu");
    dialog.SelectSize(4);  // 7 points
    dialog.OnOK();
    EXPECT_EQ(e.images[0]->GetCaptionText(), "Neu");
    EXPECT_EQ(e.images[2]->GetCaptionText(), "Neu");
    EXPECT_EQ(e.images[2]->GetCaptionFontSize(), 35);
    EXPECT_EQ(e.images[1]->GetCaptionText(), "");  // current, not selected
    EXPECT_EQ(e.images[0]->GetChanged(), 1);
    EXPECT_EQ(test::DescribeByName(e.layout).substr(test::DescribeByName(e.layout).rfind("\nid")), textBefore);
}

TEST(CaptionController, ATurnedFrameShowsTheMappedSideAndStoresItMappedBack) {
    CaptionExample e;
    e.images[1]->SetFrameRotate(1);
    e.images[1]->SetCaptionLocation(0);
    e.images[1]->SetLabelLocation(1);
    CaptionController dialog(e.undo);
    dialog.SetLayout(&e.layout);
    ASSERT_TRUE(dialog.Init(kFaces));
    EXPECT_EQ(dialog.Position(), MapRotation(1, 0));
    EXPECT_EQ(dialog.DisabledPosition(), MapRotation(1, 1));
    EXPECT_EQ(dialog.ChoosePosition(0), 0);
    dialog.OnOK();
    EXPECT_EQ(e.images[1]->GetCaptionLocation(), MapRotationInverse(1, 0));
}

TEST(LabelsController, TicksAndCombinationsFollowEachOther) {
    CaptionExample e;
    LabelsController dialog(e.undo);
    dialog.SetLayout(&e.layout);
    ASSERT_TRUE(dialog.Init(kFaces));
    const std::vector<std::string> combinations = LabelsController::CombinationTexts();
    ASSERT_EQ(combinations.size(), 14u);
    ASSERT_EQ(LabelsController::RowTexts().size(), 25u);
    EXPECT_EQ(LabelsController::RowTexts()[24], "Blitz");
    EXPECT_EQ(combinations[size_t(dialog.Combination())], "Aus");
    dialog.SetRowTicked(0, true);
    dialog.SetRowTicked(1, true);
    EXPECT_EQ(combinations[size_t(dialog.Combination())], "Nummer - Name");
    dialog.SetRowTicked(24, true);
    EXPECT_EQ(combinations[size_t(dialog.Combination())], "Benutzerdefiniert");
    dialog.CombinationClosed();
    EXPECT_EQ(dialog.Combination(), LabelsController::kCustom);

    dialog.ChooseCombination(12);  // "Alle Elemente"
    EXPECT_EQ(dialog.Combination(), 12);
    for (int row = 0; row < 25; ++row) EXPECT_TRUE(dialog.Ticked(row)) << row;
    dialog.ChooseCombination(LabelsController::kCustom);
    EXPECT_EQ(dialog.Combination(), 12);
    dialog.ToggleRow(24);
    EXPECT_EQ(dialog.Mask(), 0xFFFFFFu);
    dialog.ToggleRow(-1);
    EXPECT_EQ(dialog.Mask(), 0xFFFFFFu);

    for (int i = 0; i < 13; ++i) EXPECT_EQ(LabelsController::CombinationForMask(LabelsController::MaskForCombination(i)), i);
}

TEST(LabelsController, LabelTextIsRebuiltOnlyWhereItShows) {
    struct Case { bool preset; bool several; uint32_t mask; bool rebuilt; };
    const std::vector<Case> cases = {
        {false, false, 0x1, true}, {false, false, 0x0, false}, {true, false, 0x1, false},
        {true, true, 0x1, true},   {false, true, 0x0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "preset " << c.preset << " several " << c.several << " mask " << c.mask);
        CaptionExample e;
        CImageObj* base = e.layout.GetBaseImage();
        for (CImageObj* p : {e.images[0], e.images[1], e.images[2], base}) p->SetLabelText("alt");
        if (c.several) {
            e.images[0]->SetSelected(1);
            e.images[2]->SetSelected(1);
        }
        LabelsController dialog(e.undo);
        dialog.SetPreset(c.preset);
        dialog.SetLayout(&e.layout);
        ASSERT_TRUE(dialog.Init(kFaces));
        dialog.ChooseCombination(LabelsController::CombinationForMask(c.mask));
        dialog.OnOK();
        CImageObj* edited = c.several ? e.images[2] : c.preset ? base : e.images[1];
        EXPECT_EQ(edited->GetLabelSelection(), c.mask);
        EXPECT_EQ(edited->GetLabelText() != "alt", c.rebuilt);
        EXPECT_EQ(e.undo.GetLastUndoCode(), 33);
    }
}

TEST(LabelsController, CaptionAndLabelSidesExcludeEachOther) {
    CaptionExample e;
    e.images[1]->SetCaptionLocation(2);
    e.images[1]->SetLabelLocation(3);
    LabelsController labels(e.undo);
    labels.SetLayout(&e.layout);
    ASSERT_TRUE(labels.Init(kFaces));
    CaptionController caption(e.undo);
    caption.SetLayout(&e.layout);
    ASSERT_TRUE(caption.Init(kFaces));
    EXPECT_EQ(labels.Position(), 3);
    EXPECT_EQ(labels.DisabledPosition(), 2);
    EXPECT_EQ(caption.Position(), 2);
    EXPECT_EQ(caption.DisabledPosition(), 3);
    EXPECT_EQ(labels.ChoosePosition(2), 1);  // up onto the caption's side
}

}  // namespace
}  // namespace vx::dialogs
