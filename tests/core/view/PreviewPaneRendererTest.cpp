#include <gtest/gtest.h>

#include <cstdlib>

#include "../imaging/JpegFixtures.h"
#include "ViewFixture.h"
#include "model/ImageAdding.h"
#include "model/UndoStore.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/ImageSurface.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "view/PreviewPaneRenderer.h"
#include "view/RenderState.h"

namespace vx {
namespace {

constexpr uint32_t kGray = 0x47524159;

/// A layout with one image item made from a generated 600 x 400 JPEG of sRGB
/// (40, 120, 200), laid out at 3600 x 2400 units; the pane's area is 440 x 380.
class PreviewPaneRendererTest : public testing::Test {
protected:
    void SetUp() override {
        layout = test::MakeA4Layout();
        app.active = layout.get();
        app.undo = &undo;
        jpeg = root.Path() / "blau.jpg";
        test::JpegFixture fixture;
        fixture.width = 600;
        fixture.height = 400;
        fixture.pixel = [](int, int, uint8_t* c) {
            c[0] = 40;
            c[1] = 120;
            c[2] = 200;
        };
        test::WriteBytes(jpeg, test::EncodeJpeg(fixture));
        item = test::AppendItem<CImageObj>(*layout);
        item->SetType(kRecordTypeLayout);
        ASSERT_NE(OpenImageFile(item, jpeg), 0);
        item->SetSizeMethod(1);
        item->SetPosition(300, 500);
        item->SetSize(3600, 2400);
        ASSERT_TRUE(item->SetWorkingBitmap(LoadImagePreview(*item)));
        pane.Zoom().SetDrawingArea(440, 380);
    }

    uint32_t Draw(PreviewPaneRenderer::Paint expected = PreviewPaneRenderer::Paint::Drawn) {
        gfx::Canvas canvas(surface.Native(), 96);
        EXPECT_EQ(pane.Draw(canvas), expected);
        return 0;
    }

    static void ExpectNear(uint32_t argb, int r, int g, int b, int tolerance) {
        EXPECT_NEAR(int((argb >> 16) & 0xFF), r, tolerance);
        EXPECT_NEAR(int((argb >> 8) & 0xFF), g, tolerance);
        EXPECT_NEAR(int(argb & 0xFF), b, tolerance);
    }

    static uint32_t ButtonFace() {
        const uint32_t c = gfx::GetSystemColours().buttonFace;  // 0x00BBGGRR
        return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }

    test::TestRoot root;
    test::InstalledApplicationState app;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    std::unique_ptr<CLayoutSetting> layout;
    std::filesystem::path jpeg;
    CImageObj* item = nullptr;
    PreviewPaneRenderer pane;
    gfx::ImageSurface surface{440, 380, true};
};

TEST_F(PreviewPaneRendererTest, DrawsThePictureAloneAtTheFit) {
    ASSERT_TRUE(pane.ShowObject(item));
    EXPECT_EQ(pane.ShownId(), int64_t(item->GetObjectId()));
    EXPECT_EQ(pane.Zoom().FirstAllowed(), 6);
    EXPECT_EQ(pane.Zoom().ImageTop(), 43);
    Draw();
    ExpectNear(surface.Pixel(220, 190), 40, 120, 200, 3);
    EXPECT_EQ(surface.Pixel(220, 10) & 0xFFFFFF, ButtonFace());
    EXPECT_EQ(surface.Pixel(220, 370) & 0xFFFFFF, ButtonFace());
    // The layout's own item never moves.
    EXPECT_EQ(item->GetPosition(), (LayoutPoint{300, 500}));
    surface.WritePng(test::OutputFolder() / "preview-pane-fit.png");
}

TEST_F(PreviewPaneRendererTest, ZoomedInTheScrolledPartIsDrawn) {
    ASSERT_TRUE(pane.ShowObject(item));
    pane.Zoom().Choose(0);
    Draw();
    ExpectNear(surface.Pixel(5, 5), 40, 120, 200, 3);
    ExpectNear(surface.Pixel(435, 375), 40, 120, 200, 3);
}

TEST_F(PreviewPaneRendererTest, PrintingHoldsTheLockAndThePaneShowsOnlyTheButtonFace) {
    ASSERT_TRUE(pane.ShowObject(item));
    RenderState& rs = InstallRenderState();
    ASSERT_TRUE(rs.Acquire(kRenderPrinting, false));
    Draw(PreviewPaneRenderer::Paint::Busy);
    rs.Release();
    for (int y = 0; y < 380; y += 7)
        for (int x = 0; x < 440; x += 7) ASSERT_EQ(surface.Pixel(x, y) & 0xFFFFFF, ButtonFace()) << x << "," << y;
    EXPECT_EQ(rs.LockOwner(), 0);
}

TEST_F(PreviewPaneRendererTest, GreyPictureUnticksAndGreysTheColourBox) {
    ASSERT_TRUE(pane.ShowObject(item));
    EXPECT_TRUE(pane.ColourEnabled());
    EXPECT_TRUE(pane.ColourChecked());
    item->SetColorSpace(kGray);
    ASSERT_TRUE(pane.ShowObject(item));
    EXPECT_FALSE(pane.ColourEnabled());
    EXPECT_FALSE(pane.ColourChecked());
    EXPECT_EQ(item->GetEnableColorMatch(), 1);
}

TEST_F(PreviewPaneRendererTest, MissingFileIsReportedAndClears) {
    std::filesystem::remove(jpeg);
    EXPECT_FALSE(pane.ShowObject(item));
    EXPECT_EQ(messages.Ids(), std::vector<int>{10417});
    EXPECT_EQ(pane.ShownId(), -1);
    EXPECT_FALSE(pane.Zoom().ListEnabled());
    EXPECT_EQ(pane.Copy(), nullptr);
}

TEST_F(PreviewPaneRendererTest, ItemWithoutAreaClearsThePane) {
    item->SetSize(0, 2400);
    EXPECT_FALSE(pane.ShowObject(item));
    EXPECT_EQ(pane.Copy(), nullptr);
    Draw(PreviewPaneRenderer::Paint::Empty);
}

TEST_F(PreviewPaneRendererTest, FollowsTheItemByIdAndForgetsItWhenItGoes) {
    ASSERT_TRUE(pane.ShowObject(item));
    EXPECT_EQ(pane.GetCurrentObject(), item);
    pane.OnObjectRemoved(item->GetObjectId() + 1);
    EXPECT_NE(pane.Copy(), nullptr);
    pane.OnObjectRemoved(item->GetObjectId());
    EXPECT_EQ(pane.Copy(), nullptr);
    EXPECT_EQ(pane.ShownId(), -1);

    ASSERT_TRUE(pane.ShowObject(item));
    app.active = nullptr;  // the layout closed
    EXPECT_EQ(pane.GetCurrentObject(), nullptr);
    EXPECT_EQ(pane.ShownId(), -1);
}

TEST_F(PreviewPaneRendererTest, RerenderTakesChangedSettingsAndKeepsAnUnchangedZoom) {
    app.preferences.imagePreviewWindow = 1;
    ASSERT_TRUE(pane.ShowObject(item));
    pane.Zoom().Choose(3);
    pane.RefreshIfChanged();
    EXPECT_EQ(pane.Zoom().Selection(), 3);  // nothing changed: the zoom stays

    item->SetSize(1800, 1200);
    item->SetCaptionText("Bildunterschrift");
    pane.RefreshIfChanged();
    ASSERT_NE(pane.Copy(), nullptr);
    EXPECT_EQ(pane.Copy()->GetSize(), (LayoutPoint{1800, 1200}));
    EXPECT_EQ(pane.Copy()->GetCaptionText(), "Bildunterschrift");
    EXPECT_EQ(pane.Zoom().Selection(), 11);
    EXPECT_EQ(pane.Zoom().FirstAllowed(), 4);
}

}  // namespace
}  // namespace vx
