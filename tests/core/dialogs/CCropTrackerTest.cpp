#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/CCropTracker.h"

namespace vx {
namespace {

/// Edits that keep what the tracker writes and clear its flags as a change handler would.
struct Edits : CropEditPort {
    CCropTracker* tracker = nullptr;
    int32_t width = 0, height = 0;
    std::vector<std::string> writes;
    int32_t EditValue(Axis axis) const override { return axis == kWidth ? width : height; }
    void WriteEdit(Axis axis, int32_t value) override {
        (axis == kWidth ? width : height) = value;
        writes.push_back((axis == kWidth ? "w" : "h") + std::to_string(value));
        (axis == kWidth ? tracker->WidthSetByProgram() : tracker->HeightSetByProgram()) = false;
    }
};

struct TrackerCase {
    const char* what;
    PixelRect bounds;
    PixelRect frame;
    bool adjustable;
    bool lock;  // locks the ratio of the edits' values below
    int32_t ratioW, ratioH;
    std::function<void(CCropTracker&)> act;
    PixelRect expected;
    int32_t width, height;  // in the edits afterwards; -1: not checked
};

TEST(CCropTracker, KeepsTheFrameInsideItsBoundsAtItsRatioAndMinimum) {
    const PixelRect bounds{0, 0, 600, 400};
    const std::vector<TrackerCase> cases = {
        {"3:2 lock, right edge from 300 to 450 wide", bounds, {0, 0, 300, 200}, true, true, 3, 2,
         [](CCropTracker& t) { t.BeginTrack(kHitRight, {299, 100}); t.TrackTo({449, 100}); t.EndTrack(); },
         {0, 0, 450, 300}, 450, 300},
        {"top-left corner past the top bound: the width follows the height", bounds, {200, 100, 500, 300}, true,
         true, 3, 2,
         [](CCropTracker& t) { t.BeginTrack(kHitTopLeft, {200, 100}); t.TrackTo({0, -200}); t.EndTrack(); },
         {50, 0, 500, 300}, 450, 300},
        {"a move against the left bound keeps the size", bounds, {100, 50, 300, 250}, true, false, 0, 0,
         [](CCropTracker& t) { t.BeginTrack(kHitMiddle, {150, 100}); t.TrackTo({-50, 120}); t.EndTrack(); },
         {0, 70, 200, 270}, -1, -1},
        {"below the minimum it widens to the right", bounds, {100, 100, 300, 300}, true, false, 0, 0,
         [](CCropTracker& t) { t.BeginTrack(kHitRight, {299, 200}); t.TrackTo({103, 200}); t.EndTrack(); },
         {100, 100, 110, 300}, 10, 200},
        {"below the minimum at the right bound it widens to the left", bounds, {500, 100, 600, 300}, true, false, 0,
         0, [](CCropTracker& t) { t.BeginTrack(kHitLeft, {500, 200}); t.TrackTo({597, 200}); t.EndTrack(); },
         {590, 100, 600, 300}, 10, 200},
        {"a fixed frame stays on the bounds", bounds, {0, 0, 600, 400}, false, false, 0, 0,
         [](CCropTracker& t) { t.BeginTrack(kHitBottomRight, {599, 399}); t.TrackTo({100, 100}); t.EndTrack(); },
         {0, 0, 600, 400}, 600, 400},
        {"a fixed frame does not move either", bounds, {0, 0, 600, 400}, false, false, 0, 0,
         [](CCropTracker& t) { t.BeginTrack(kHitMiddle, {300, 200}); t.TrackTo({250, 150}); t.EndTrack(); },
         {0, 0, 600, 400}, -1, -1},
        {"width from pixels clamped at the right bound writes the clamped width", bounds, {500, 0, 550, 100}, true,
         false, 0, 0, [](CCropTracker& t) { t.SetWidthFromPixels(300, true); }, {300, 0, 600, 100}, 300, -1},
        {"width from pixels past both bounds stops at the left one", bounds, {500, 0, 550, 100}, true, false, 0, 0,
         [](CCropTracker& t) { t.SetWidthFromPixels(900, true); }, {0, 0, 600, 100}, 600, -1},
        {"width from pixels with the lock sets the height", bounds, {0, 0, 300, 200}, true, true, 3, 2,
         [](CCropTracker& t) { t.SetWidthFromPixels(150, true); }, {0, 0, 150, 100}, 150, 100},
        {"shift-arrow moves stop at the right bound", bounds, {590, 0, 600, 10}, true, false, 0, 0,
         [](CCropTracker& t) { t.MoveBy(1, 0); }, {590, 0, 600, 10}, -1, -1},
        {"rubber band from a point with the lock", bounds, {0, 0, 300, 200}, true, true, 3, 2,
         [](CCropTracker& t) { t.BeginRubberBand({100, 100}); t.TrackTo({250, 300}); t.EndTrack(); },
         {100, 100, 250, 200}, 150, 100},
        {"lock with ry > rx: a widened frame keeps the ratio", bounds, {100, 100, 102, 300}, true, true, 1, 2,
         [](CCropTracker& t) { t.EnforceMinSize(); }, {100, 100, 110, 120}, 10, 20},
        {"lock with rx > ry: a widened frame keeps the ratio", bounds, {100, 100, 102, 300}, true, true, 2, 1,
         [](CCropTracker& t) { t.EnforceMinSize(); }, {100, 100, 120, 110}, 20, 10},
    };
    for (const TrackerCase& c : cases) {
        SCOPED_TRACE(c.what);
        CCropTracker tracker(c.bounds, c.adjustable);
        Edits edits;
        edits.tracker = &tracker;
        tracker.SetRect(c.frame);
        tracker.SetConstraints(&edits, 1.0, 1.0);
        tracker.SetMinSize(10, 10);
        edits.width = c.ratioW;
        edits.height = c.ratioH;
        if (c.lock) ASSERT_TRUE(tracker.SetAspectLock(true));
        edits.width = edits.height = -1;
        c.act(tracker);
        EXPECT_EQ(tracker.Rect(), c.expected) << tracker.Rect().left << ',' << tracker.Rect().top << ','
                                              << tracker.Rect().right << ',' << tracker.Rect().bottom;
        if (c.width >= 0) EXPECT_EQ(edits.width, c.width);
        if (c.height >= 0) EXPECT_EQ(edits.height, c.height);
    }
}

TEST(CCropTracker, LockTakesTheFramesSizeWhenAnEditIsZeroAndRefusesAnEmptyFrame) {
    CCropTracker tracker({0, 0, 600, 400}, true);
    Edits edits;
    edits.tracker = &tracker;
    tracker.SetConstraints(&edits, 2.0, 2.0);
    tracker.SetRect({0, 0, 0, 100});
    EXPECT_FALSE(tracker.SetAspectLock(true));
    tracker.SetRect({0, 0, 40, 100});
    edits.width = 0;
    edits.height = 300;
    ASSERT_TRUE(tracker.SetAspectLock(true));
    EXPECT_EQ(tracker.RatioX(), 40);
    EXPECT_EQ(tracker.RatioY(), 100);
    ASSERT_TRUE(tracker.SetAspectLock(false));
    EXPECT_EQ(tracker.RatioX(), 0);
    EXPECT_FALSE(tracker.AspectLocked());
}

TEST(CCropTracker, ReportsImagePixelsAndRaisesItsFlagsBeforeEachWrite) {
    CCropTracker tracker({0, 0, 300, 200}, true);
    struct FlagEdits : CropEditPort {
        CCropTracker* t = nullptr;
        std::vector<bool> flags;
        int32_t EditValue(Axis) const override { return 0; }
        void WriteEdit(Axis axis, int32_t) override {
            flags.push_back(axis == kWidth ? t->WidthSetByProgram() : t->HeightSetByProgram());
        }
    } edits;
    edits.t = &tracker;
    tracker.SetConstraints(&edits, 10.0, 10.0);
    tracker.SetRect({0, 0, 100, 100});
    tracker.BeginTrack(kHitBottomRight, {99, 99});
    tracker.TrackTo({149, 79});
    EXPECT_EQ(tracker.WidthValue(), 1500);
    EXPECT_EQ(tracker.HeightValue(), 800);
    EXPECT_EQ(edits.flags, (std::vector<bool>{true, true}));
    tracker.EndTrack();
    EXPECT_FALSE(tracker.Tracking());
}

TEST(CCropTracker, HitsHandlesInsideTheFrame) {
    CCropTracker tracker({0, 0, 600, 400}, true);
    tracker.SetRect({100, 100, 300, 200});
    const std::vector<std::pair<PixelPoint, int>> hits = {
        {{100, 100}, kHitTopLeft},     {{299, 100}, kHitTopRight}, {{299, 199}, kHitBottomRight},
        {{100, 199}, kHitBottomLeft},  {{200, 101}, kHitTop},      {{298, 150}, kHitRight},
        {{200, 198}, kHitBottom},      {{101, 150}, kHitLeft},     {{150, 150}, kHitMiddle},
        {{99, 150}, kHitNothing},      {{300, 150}, kHitNothing},
    };
    for (const auto& [point, hit] : hits) EXPECT_EQ(tracker.HitTest(point), hit) << point.x << ',' << point.y;
}

}  // namespace
}  // namespace vx
