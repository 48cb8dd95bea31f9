#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "view/RenderState.h"

namespace vx {
namespace {

TEST(RenderState, LockIsATestAndSetOwnerWord) {
    RenderState& rs = InstallRenderState();
    EXPECT_EQ(HostService<RenderContext>(), &rs);
    ASSERT_TRUE(rs.Acquire(kRenderPrinting, true));
    // A paint while the print job holds it is refused and leaves the owner alone.
    EXPECT_FALSE(rs.Acquire(kRenderScreen, false));
    EXPECT_EQ(rs.LockOwner(), kRenderPrinting);
    // Not re-entrant, and freed by whoever releases.
    EXPECT_FALSE(rs.Acquire(kRenderPrinting, false));
    rs.Release();
    EXPECT_EQ(rs.LockOwner(), 0);
    EXPECT_TRUE(rs.Acquire(kRenderScreen, false));
    rs.Release();
}

TEST(RenderState, BeginScalesByTheZoomAndResetEmptiesThePass) {
    RenderState rs;
    CLayoutSetting layout(false);
    ViewGeometry g;
    g.zoom = 0.5;
    rs.MarkBitmapDrawn(true);
    rs.Begin(nullptr, &g, &layout, 96.0 / 360, 120.0 / 360, kDrawPreview);
    EXPECT_DOUBLE_EQ(rs.GetScaleX(), 96.0 / 720);
    EXPECT_DOUBLE_EQ(rs.GetScaleY(), 120.0 / 720);
    EXPECT_EQ(rs.GetMode(), kDrawPreview);
    EXPECT_EQ(rs.GetLayoutSetting(), &layout);
    EXPECT_FALSE(rs.ImageFailed());
    rs.MarkBitmapDrawn(true);
    EXPECT_TRUE(rs.ImageFailed());
    rs.Reset();
    EXPECT_EQ(rs.GetMode(), kDrawScreen);
    EXPECT_EQ(rs.GetGeometry(), nullptr);
    EXPECT_EQ(rs.GetLayoutSetting(), nullptr);
    EXPECT_EQ(rs.GetScaleX(), 0);
    EXPECT_FALSE(rs.ImageFailed());
    EXPECT_FALSE(rs.IsPrinting());
}

TEST(RenderState, ItemPageIsTheOriginOverThePaperHeight) {
    RenderState rs;
    CLayoutSetting layout(false);
    layout.SetPaper({800, 1000});
    CImageObj item(false);
    item.SetOwner(&layout);
    ViewGeometry g;
    rs.Begin(nullptr, &g, &layout, 1, 1, kDrawScreen);
    for (auto [y, page] : {std::pair{0, 0}, std::pair{999, 0}, std::pair{3000, 3}, std::pair{3500, 3}}) {
        SCOPED_TRACE(y);
        item.SetPosition(10, y);
        EXPECT_EQ(rs.GetItemPage(item), page);
        EXPECT_EQ(rs.GetItemPageTop(item), page * 1000);
    }
    layout.SetPaper({800, 0});
    EXPECT_EQ(rs.GetItemPage(item), 0);  // no division by zero
    rs.Reset();
    EXPECT_EQ(rs.GetItemPage(item), 0);  // no pass, no open layout
}

TEST(RenderState, PageToDeviceMovesOnlyWhenPrinting) {
    RenderState rs;
    CLayoutSetting layout(false);
    ViewGeometry g;
    g.offset = {30, 40};
    g.printerOffset = {12, 15};
    g.band = {0, 2000, 1000, 3000};
    const PixelRect r{100, 2100, 200, 2300};

    rs.Begin(nullptr, &g, &layout, 1, 1, kDrawScreen);
    EXPECT_EQ(rs.PageToDeviceRect(r), r);
    EXPECT_EQ(rs.GetPageOrigin(), (PixelPoint{30, 40}));

    rs.Begin(nullptr, &g, &layout, 1, 1, kDrawPrinter);
    EXPECT_EQ(rs.GetPageOrigin(), (PixelPoint{0, 0}));
    EXPECT_EQ(rs.PageToDeviceRect(r), (PixelRect{88, 2085, 188, 2285}));

    layout.SetBanner(1);  // the band's top moves to 0 along a portrait strip
    EXPECT_EQ(rs.PageToDeviceRect(r), (PixelRect{88, 85, 188, 285}));
    layout.SetPaperOrient(1);
    g.band = {1000, 0, 2000, 500};
    EXPECT_EQ(rs.PageToDevicePoint({1100, 50}), (PixelPoint{88, 35}));
}

/// A clock that moves only when events are pumped, and events that run then.
struct SteppingWaitPort : RenderWaitPort {
    std::chrono::steady_clock::time_point now{};
    std::chrono::milliseconds step{1};
    int pumps = 0;
    std::function<void(int)> onPump;
    std::chrono::steady_clock::time_point Now() override { return now; }
    void PumpEvents() override {
        ++pumps;
        now += step;
        if (onPump) onPump(pumps);
    }
};

TEST(RenderLock, WaitingAcquireRunsEventsUntilTheHolderLetsGo) {
    RenderState rs;
    SteppingWaitPort port;
    rs.SetWaitPort(&port);
    ASSERT_TRUE(rs.Acquire(kRenderScreen, false));
    // The paint that holds it ends while the print job waits.
    port.onPump = [&](int n) {
        if (n == 30) rs.Release();
    };
    EXPECT_TRUE(rs.Acquire(kRenderPrinting, true));
    EXPECT_EQ(port.pumps, 30);
    EXPECT_EQ(rs.LockOwner(), kRenderPrinting);
    // A free lock is taken without pumping.
    rs.Release();
    EXPECT_TRUE(rs.Acquire(kRenderPrinting, true));
    EXPECT_EQ(port.pumps, 30);
}

TEST(RenderLock, WaitingAcquireGivesUpOnALeakedLockAfterTenSeconds) {
    RenderState rs;
    SteppingWaitPort port;
    port.step = std::chrono::milliseconds(250);
    rs.SetWaitPort(&port);
    ASSERT_TRUE(rs.Acquire(kRenderPreviewPane, false));
    EXPECT_FALSE(rs.Acquire(kRenderPrinting, true));
    EXPECT_EQ(port.pumps, 40);  // 10 s in steps of 250 ms
    EXPECT_EQ(rs.LockOwner(), kRenderPreviewPane);
    EXPECT_EQ(rs.SetWaitPort(nullptr), &port);
}

TEST(RenderLock, GuardReleasesOnAnException) {
    RenderState rs;
    try {
        RenderLockGuard guard(rs, kRenderScreen, false);
        ASSERT_TRUE(guard.Held());
        EXPECT_EQ(rs.LockOwner(), kRenderScreen);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(rs.LockOwner(), 0);
    // A guard that did not get the lock leaves the holder's alone.
    ASSERT_TRUE(rs.Acquire(kRenderPrinting, false));
    {
        RenderLockGuard guard(rs, kRenderScreen, false);
        EXPECT_FALSE(guard.Held());
    }
    EXPECT_EQ(rs.LockOwner(), kRenderPrinting);
}

}  // namespace
}  // namespace vx
