#include <gtest/gtest.h>

#include "view/PreviewZoom.h"

namespace vx {
namespace {

PreviewZoom Prepared(int32_t w, int32_t h) {
    PreviewZoom zoom;
    zoom.SetDrawingArea(440, 380);
    EXPECT_TRUE(zoom.Prepare(w, h));
    zoom.UpdateScrollBars();
    return zoom;
}

TEST(PreviewZoomSteps, LabelsAndRatiosOfTheTwelveSteps) {
    EXPECT_EQ(PreviewZoom::StepLabel(0), "100%");
    EXPECT_EQ(PreviewZoom::StepLabel(1), "66.67%");
    EXPECT_EQ(PreviewZoom::StepLabel(6), "12.5%");
    EXPECT_EQ(PreviewZoom::StepLabel(10), "4%");
    EXPECT_EQ(PreviewZoom::StepLabel(11), "Ganzes Bild");
    EXPECT_DOUBLE_EQ(PreviewZoom::StepRatio(5), 1.0 / 6);
    EXPECT_DOUBLE_EQ(PreviewZoom::StepRatio(10), 1.0 / 25);
}

TEST(PreviewZoomSteps, LandscapeItemAllowsOnlyStepsLargerThanTheFit) {
    PreviewZoom zoom = Prepared(3600, 2400);
    EXPECT_NEAR(zoom.Fit(), 440.0 / 3600, 1e-12);
    EXPECT_EQ(zoom.FirstAllowed(), 6);
    for (int step = 0; step <= 6; ++step) EXPECT_TRUE(zoom.IsStepEnabled(step)) << step;
    for (int step = 7; step <= 10; ++step) EXPECT_FALSE(zoom.IsStepEnabled(step)) << step;
    EXPECT_TRUE(zoom.IsStepEnabled(11));
    EXPECT_EQ(zoom.Selection(), 11);
    EXPECT_TRUE(zoom.ListEnabled());
    EXPECT_TRUE(zoom.ZoomInEnabled());
    EXPECT_FALSE(zoom.ZoomOutEnabled());
}

TEST(PreviewZoomSteps, StepEqualToTheFitIsNotAllowed) {
    PreviewZoom zoom = Prepared(880, 760);
    EXPECT_DOUBLE_EQ(zoom.Fit(), 0.5);
    EXPECT_EQ(zoom.FirstAllowed(), 1);
    EXPECT_FALSE(zoom.IsStepEnabled(2));
}

TEST(PreviewZoomSteps, SmallItemCannotZoomAtAll) {
    PreviewZoom zoom = Prepared(300, 200);
    EXPECT_GE(zoom.Fit(), 1.0);
    EXPECT_EQ(zoom.FirstAllowed(), 11);
    EXPECT_FALSE(zoom.ZoomInEnabled());
    EXPECT_EQ(zoom.ZoomIn(), -1);
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::KeyOrWheel), -1);
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::Button), -1);
    EXPECT_EQ(zoom.Selection(), 11);
}

TEST(PreviewZoomSteps, ItemWithoutAreaClearsInsteadOfDividingByZero) {
    PreviewZoom zoom;
    zoom.SetDrawingArea(440, 380);
    for (auto [w, h] : {std::pair{0, 2400}, std::pair{3600, 0}, std::pair{-5, 10}}) {
        EXPECT_FALSE(zoom.Prepare(w, h));
        EXPECT_FALSE(zoom.HasItem());
        EXPECT_FALSE(zoom.ListEnabled());
        EXPECT_FALSE(zoom.ZoomInEnabled());
        EXPECT_EQ(zoom.Ratio(), 1.0);
    }
}

TEST(PreviewZoomTransitions, ButtonsKeysAndWheelStepAsTheWindowDoes) {
    PreviewZoom zoom = Prepared(3600, 2400);
    EXPECT_EQ(zoom.ZoomIn(), 6);  // from the whole picture to the first allowed step
    EXPECT_TRUE(zoom.ZoomOutEnabled());
    EXPECT_TRUE(zoom.ZoomInEnabled());
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::Button), 11);  // the button leaves the first step for the whole picture
    EXPECT_FALSE(zoom.ZoomOutEnabled());

    zoom.Choose(5);
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::KeyOrWheel), 6);
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::KeyOrWheel), 11);
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::KeyOrWheel), -1);  // nothing beyond the whole picture
    zoom.Choose(1);
    EXPECT_EQ(zoom.ZoomIn(), 0);
    EXPECT_FALSE(zoom.ZoomInEnabled());
    EXPECT_EQ(zoom.ZoomIn(), -1);
    EXPECT_EQ(zoom.ZoomOut(ZoomSource::Button), 1);
}

TEST(PreviewZoomTransitions, GreyEntryChosenFallsBackToTheWholePicture) {
    PreviewZoom zoom = Prepared(3600, 2400);
    zoom.Choose(3);
    zoom.Choose(8);
    EXPECT_EQ(zoom.Selection(), 11);
    EXPECT_FALSE(zoom.ZoomOutEnabled());
    EXPECT_TRUE(zoom.ZoomInEnabled());
}

TEST(PreviewZoomScrolling, FitCentresAndZoomKeepsTheCentre) {
    PreviewZoom zoom = Prepared(3600, 2400);
    EXPECT_EQ(zoom.ImageTop(), 43);
    EXPECT_FALSE(zoom.Horizontal().enabled);
    EXPECT_FALSE(zoom.Vertical().enabled);

    zoom.ZoomIn();
    EXPECT_EQ(zoom.ScaledWidth(), 450);
    EXPECT_EQ(zoom.ScaledHeight(), 300);
    EXPECT_EQ(zoom.Horizontal(), (PreviewScrollBar{true, 12, 5}));
    EXPECT_EQ(zoom.Vertical(), (PreviewScrollBar{false, 0, 0}));
    EXPECT_EQ(zoom.ImageTop(), 40);
    EXPECT_EQ(zoom.ImageLeft(), 0);
}

TEST(PreviewZoomScrolling, ZoomingInAroundAScrolledCentreKeepsThatPoint) {
    PreviewZoom zoom = Prepared(3600, 2400);
    zoom.Choose(2);  // 1800 x 1200
    zoom.ScrollTo(true, 600);
    zoom.ScrollTo(false, 300);
    // The centre shows picture point (820, 490) at 1/2, (1640, 980) in units.
    zoom.Choose(0);
    EXPECT_EQ(zoom.Horizontal().position, 1640 - 220);
    EXPECT_EQ(zoom.Vertical().position, 980 - 190);
}

TEST(PreviewZoomScrolling, DragMovesThePositionAgainstTheMouseAndClamps) {
    PreviewZoom zoom = Prepared(3600, 2400);
    zoom.Choose(0);
    const int32_t start = zoom.Horizontal().position;
    zoom.Pan(-30, 0);
    EXPECT_EQ(zoom.Horizontal().position, start + 30);
    zoom.Pan(100000, 100000);
    EXPECT_EQ(zoom.Horizontal().position, 0);
    EXPECT_EQ(zoom.Vertical().position, 0);
    zoom.Pan(-100000, -100000);
    EXPECT_EQ(zoom.Horizontal().position, zoom.Horizontal().maximum);
    EXPECT_EQ(zoom.Horizontal().maximum, 3600 - 440 + 2);
    EXPECT_EQ(zoom.Vertical().position, 2400 - 380 + 2);
}

TEST(PreviewWindowPlacement, OpensInsideTheWorkAreaAndStoresItsSize) {
    const PreviewWindowRect work{0, 0, 1280, 1024};
    EXPECT_EQ(PlacePreviewWindow(work, 5000, 5000), (PreviewWindowRect{830, 549, 450, 450}));
    EXPECT_EQ(PlacePreviewWindow(work, -40, -10), (PreviewWindowRect{0, 0, 450, 450}));
    EXPECT_EQ(PlacePreviewWindow(work, 100, 200), (PreviewWindowRect{100, 200, 450, 450}));
    EXPECT_EQ(PreviewSizeOnClose(470, 500), 475);
    EXPECT_EQ(PreviewSizeOnClose(600, 500), 600);
}

TEST(PreviewWindowPlacement, MinimumClientSizeFollowsTheItemsProportions) {
    int32_t w = 0, h = 0;
    PreviewMinimumClientSize(3600, 2400, 28, w, h);
    EXPECT_EQ(w, 450);
    EXPECT_EQ(h, 300 + 28);
    PreviewMinimumClientSize(2400, 3600, 28, w, h);
    EXPECT_EQ(w, 450);
    EXPECT_EQ(h, 450 + 28);
    PreviewMinimumClientSize(2590, 2600, 28, w, h);  // nearly square: wider than 450
    EXPECT_EQ(w, 2590 * 478 / 2600);
    PreviewMinimumClientSize(0, 0, 28, w, h);
    EXPECT_EQ(w, 450);
    EXPECT_EQ(h, 28);
}

}  // namespace
}  // namespace vx
