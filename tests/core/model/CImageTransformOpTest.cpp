#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "LayoutFixture.h"
#include "imaging/TransformPixelBuffer.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageTransformOp.h"
#include "model/ClipboardCommands.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::TestLayout;

// A picture whose every pixel differs, so that any turn or mirror shows.
DibBufferPtr Picture(int width, int height) {
    DibBuffer* raw = nullptr;
    Rect16 rect;
    rect.Set(0, 0, int16_t(width), int16_t(height));
    EXPECT_EQ(DibBuffer::Create(&raw, 0, rect), 0);
    uint8_t* bits = DibBuffer::GetBits(raw);
    for (int i = 0; i < width * height; ++i) {
        bits[i * 4] = uint8_t(10 * i + 1);
        bits[i * 4 + 1] = uint8_t(i);
        bits[i * 4 + 2] = uint8_t(255 - i);
        bits[i * 4 + 3] = 255;
    }
    return DibBufferPtr(raw);
}

struct Shape {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    friend bool operator==(const Shape&, const Shape&) = default;
};

Shape ShapeOf(const DibBuffer* dib) {
    const Rect16 r = DibBuffer::GetRect(dib);
    const uint8_t* bits = DibBuffer::GetBits(dib);
    return {r.Width(), r.Height(), std::vector<uint8_t>(bits, bits + size_t(r.Width()) * r.Height() * 4)};
}

Shape Transformed(int code) {
    DibBufferPtr p = Picture(3, 2);
    EXPECT_TRUE(TransformPixelBuffer(p, code));
    return ShapeOf(p.get());
}

Shape ShapeOf(const CImageObj& item) {
    CImageBitmapLock lock(item);
    return ShapeOf(lock.Bitmap());
}

TEST(CombineOrientation, FollowsTheTurnAndMirrorArithmetic) {
    const auto run = [](int16_t code, std::vector<int> ops, bool frameOnly = false) {
        for (int op : ops) code = CombineOrientation(op, code, frameOnly);
        return code;
    };
    EXPECT_EQ(run(0, {1, 1, 1, 1}), 0);
    EXPECT_EQ(run(0, {1}), 1);
    EXPECT_EQ(run(0, {1, 1}), 2);
    EXPECT_EQ(run(0, {1, 4}), 0);
    EXPECT_EQ(run(0, {4, 4, 4}), 1);
    EXPECT_EQ(run(0, {2, 2}), 0);
    EXPECT_EQ(run(1, {2}), 4);
    EXPECT_EQ(run(1, {8}), 12);
    EXPECT_EQ(run(4, {8}), 9);
    EXPECT_EQ(run(0, {16}), 10);
    EXPECT_EQ(run(0, {16, 16}), 0);
    EXPECT_EQ(run(2, {16}), 8);
    EXPECT_EQ(run(8, {16}), 2);
    EXPECT_EQ(run(1, {16}), 9);
    EXPECT_EQ(run(12, {0}), 0);
    // A frame turns but never mirrors.
    EXPECT_EQ(run(1, {8, 16}, true), 1);
    EXPECT_EQ(run(0, {1, 1}, true), 2);
    // A damaged code counts as 0.
    EXPECT_EQ(run(3, {1}), 1);
    EXPECT_EQ(run(-1, {16}), 10);
}

TEST(CombineOrientation, AgreesWithThePixelTransforms) {
    // Turning the shown picture by op must equal showing the original by the combined code.
    for (int code : {0, 1, 2, 4, 8, 9, 10, 12})
        for (int op : {1, 2, 4, 8, 16}) {
            SCOPED_TRACE(testing::Message() << "code " << code << ", op " << op);
            DibBufferPtr shown = Picture(3, 2);
            ASSERT_TRUE(TransformPixelBuffer(shown, code));
            ASSERT_TRUE(TransformPixelBuffer(shown, op));
            EXPECT_TRUE(ShapeOf(shown.get()) == Transformed(CombineOrientation(op, int16_t(code), false)));
        }
}

// A free A4-like layout with one selected 300 x 200 image at (1000, 1000) whose bitmap is
// the 3 x 2 picture.
struct Orientation : testing::Test {
    TestLayout t{2976, 4209, 0};
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    CImageObj* image = nullptr;
    Shape original;

    Orientation() {
        t.layout.SetFree(1);
        image = t.Add(300, 200, 1000, 1000);
        image->SetSelected(1);
        image->SetDescription(ImageDescription{0, 3, 2, 72, 72, 24, std::nullopt});
        EXPECT_TRUE(image->SetWorkingBitmap(Picture(3, 2)));
        original = ShapeOf(*image);
    }

    CImageObj& Item() { return static_cast<CImageObj&>(*t.layout.GetFirstItem()); }
};

TEST_F(Orientation, EveryOperationShowsTheCombinedCodeAndRestoreGivesTheOriginal) {
    int16_t code = 0;
    for (int op : {1, 8, 2, 16, 4, 1, 8, 16, 2}) {
        SCOPED_TRACE(op);
        CImageTransformOp(t.layout, undo).ApplyToSelection(op);
        code = CombineOrientation(op, code, false);
        EXPECT_EQ(Item().GetRotate(), code);
        EXPECT_TRUE(ShapeOf(Item()) == Transformed(code));
        EXPECT_EQ(undo.GetLastUndoCode(), 159);
        EXPECT_EQ(t.layout.GetDirty(), 1);
    }
    for (int16_t start : {1, 2, 4, 8, 9, 10, 12}) {
        SCOPED_TRACE(start);
        // An item shown at code start, as a layout file would bring it.
        CImageTransformOp(t.layout, undo).RestoreOriginal();
        CImageObj& item = Item();
        ASSERT_TRUE(item.TurnWorkingBitmap(start));
        item.SetRotate(start);
        CImageTransformOp(t.layout, undo).RestoreOriginal();
        EXPECT_EQ(Item().GetRotate(), 0);
        EXPECT_TRUE(ShapeOf(Item()) == original);
    }
}

TEST_F(Orientation, AFrameTurningImageSwapsSizeAndEdgesAroundItsCentre) {
    image->SetFrameRotation(1);
    image->SetFrame({10, 20, 30, 40});
    CImageTransformOp(t.layout, undo).ApplyToSelection(kOrientRight);
    CImageObj& turned = Item();
    EXPECT_EQ(turned.GetSize(), (LayoutPoint{200, 300}));
    EXPECT_EQ(turned.GetPosition(), (LayoutPoint{1050, 950}));
    EXPECT_EQ(turned.GetFrame(), (LayoutRect{40, 10, 20, 30}));
    EXPECT_EQ(turned.GetFrameRotate(), 1);

    CImageTransformOp(t.layout, undo).RestoreOriginal();
    CImageObj& back = Item();
    EXPECT_EQ(back.GetSize(), (LayoutPoint{300, 200}));
    EXPECT_EQ(back.GetPosition(), (LayoutPoint{1000, 1000}));
    EXPECT_EQ(back.GetFrame(), (LayoutRect{10, 20, 30, 40}));
    EXPECT_EQ(back.GetFrameRotate(), 0);
    EXPECT_TRUE(ShapeOf(back) == original);
}

TEST_F(Orientation, AnImageWithoutFrameTurningKeepsItsSize) {
    image->SetFrame({10, 20, 30, 40});
    CImageTransformOp(t.layout, undo).ApplyToSelection(kOrientLeft);
    EXPECT_EQ(Item().GetSize(), (LayoutPoint{300, 200}));
    EXPECT_EQ(Item().GetPosition(), (LayoutPoint{1000, 1000}));
    EXPECT_EQ(Item().GetFrame(), (LayoutRect{10, 20, 30, 40}));
    EXPECT_EQ(Item().GetRotate(), 4);
    EXPECT_EQ(Item().GetFrameRotate(), 0);
}

TEST(RotateSizeAndFrame, TurnsEdgesByTheOperation) {
    struct Case { int op; LayoutPoint size; LayoutRect frame; };
    for (const Case& c : {Case{1, {200, 300}, {40, 10, 20, 30}}, Case{2, {300, 200}, {30, 40, 10, 20}},
                          Case{4, {200, 300}, {20, 30, 40, 10}}, Case{8, {300, 200}, {10, 20, 30, 40}},
                          Case{16, {300, 200}, {10, 20, 30, 40}}}) {
        SCOPED_TRACE(c.op);
        CImageObj item(false);
        item.SetSize(300, 200);
        item.SetFrame({10, 20, 30, 40});
        RotateSizeAndFrame(item, c.op);
        EXPECT_EQ(item.GetSize(), c.size);
        EXPECT_EQ(item.GetFrame(), c.frame);
    }
}

TEST_F(Orientation, ASharedBitmapIsCopiedBeforeItChanges) {
    // A half turn works in place: the undo copy shares the bitmap and must keep it.
    CImageTransformOp(t.layout, undo).ApplyToSelection(kOrientHalf);
    EXPECT_TRUE(ShapeOf(Item()) == Transformed(2));
    ASSERT_TRUE(undo.PerformUndo(t.layout));
    EXPECT_TRUE(ShapeOf(Item()) == original);

    // A mirrored duplicate leaves its source alone.
    UndoStore store;
    ASSERT_EQ(DuplicateSelection(t.layout, store), kDuplicateDone);
    CImageObj& source = Item();
    ASSERT_EQ(source.GetSelected(), 0);
    CImageTransformOp(t.layout, store).ApplyToSelection(kOrientMirrorH);
    EXPECT_TRUE(ShapeOf(source) == original);
    EXPECT_TRUE(ShapeOf(static_cast<CImageObj&>(*source.NextItem())) == Transformed(8));
}

TEST_F(Orientation, ARefusedTurnPutsEverythingBack) {
    TestLayout a;  // automatic: nine images fill the one page allowed
    a.layout.SetPageMax(1);
    auto images = a.AddImages(9);
    for (CImageObj* i : images) {  // turned to 200 x 300 they need a second page
        i->SetFrameRotation(1);
        i->SetSelected(1);
    }
    const std::string before = test::DescribeByName(a.layout);
    CImageTransformOp(a.layout, undo).ApplyToSelection(kOrientRight);
    EXPECT_EQ(messages.Ids(), std::vector<int>{15168});
    EXPECT_TRUE(test::DescribeByName(a.layout) == before);
    EXPECT_FALSE(undo.CanUndo());
}

}  // namespace
}  // namespace vx
