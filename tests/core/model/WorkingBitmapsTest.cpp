#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "LayoutFixture.h"
#include "model/CImageBitmapLock.h"
#include "model/PictureLoader.h"
#include "model/WorkingBitmaps.h"
#include "platform/system/FourCC.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::TestLayout;

DibBufferPtr Filled(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
    DibBuffer* raw = nullptr;
    Rect16 rect;
    rect.Set(0, 0, int16_t(width), int16_t(height));
    EXPECT_EQ(DibBuffer::Create(&raw, 0, rect), 0);
    uint8_t* bits = DibBuffer::GetBits(raw);
    for (int i = 0; i < width * height; ++i) {
        bits[i * 4] = b;
        bits[i * 4 + 1] = g;
        bits[i * 4 + 2] = r;
        bits[i * 4 + 3] = 255;
    }
    return DibBufferPtr(raw);
}

TEST(DisplayBitmapSize, CoversTheItemsBox) {
    struct Case {
        const char* what;
        int16_t width, height, rotate;
        int32_t cx, cy;
        std::optional<LayoutPoint> size;
    };
    const std::vector<Case> cases = {
        {"a square picture in a wide box", 1000, 1000, 0, 2000, 1000, LayoutPoint{2000, 2000}},
        {"a square picture in a tall box", 1000, 1000, 0, 1000, 2000, LayoutPoint{2000, 2000}},
        {"the same shape", 1000, 500, 0, 2000, 1000, LayoutPoint{2000, 1000}},
        {"a quarter turn swaps the picture's sides", 1000, 500, 1, 2000, 1000, LayoutPoint{2000, 4000}},
        {"so does code 4", 1000, 500, 4, 2000, 1000, LayoutPoint{2000, 4000}},
        {"a half turn does not", 1000, 500, 2, 2000, 1000, LayoutPoint{2000, 1000}},
        {"truncated", 3, 7, 0, 100, 100, LayoutPoint{100, 233}},
        {"larger than a bitmap can be", 100, 10000, 0, 2000, 1000, LayoutPoint{32767, 32767}},
        {"no pixel width", 0, 500, 0, 2000, 1000, std::nullopt},
        {"no box", 1000, 500, 0, 0, 1000, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CImageObj item(false);
        item.SetDescription(ImageDescription{FourCC("tiff"), c.width, c.height, 72, 72, 24, std::nullopt});
        item.SetRotate(c.rotate);
        item.SetSize(c.cx, c.cy);
        EXPECT_EQ(DisplayBitmapSize(item), c.size);
    }
    CImageObj undescribed(false);
    undescribed.SetSize(100, 100);
    EXPECT_EQ(DisplayBitmapSize(undescribed), std::nullopt);
}

// Pictures come from a decoder that records what it was asked and gives a blue picture
// of the asked size, or nothing while `fail` is set.
struct Rebuild : testing::Test {
    TestLayout t;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    std::vector<Rect16> targets;
    std::vector<int> modes;
    bool fail = false;
    PictureLoaderHooks previous;

    Rebuild() {
        PictureLoaderHooks hooks;
        hooks.decodeTiff = [this](CImageObj&, const Rect16& target, int& messageId) {
            targets.push_back(target);
            if (fail) {
                messageId = 10417;
                return DibBufferPtr();
            }
            return Filled(target.Width(), target.Height(), 200, 10, 10);
        };
        hooks.colorManage = [this](DibBuffer*, CImageObj&, int mode) {
            modes.push_back(mode);
            return true;
        };
        previous = SetPictureLoaderHooks(hooks);
        t.layout.SetColor(2);
    }
    ~Rebuild() override { SetPictureLoaderHooks(previous); }

    CImageObj* Image(int16_t width, int16_t height) {
        CImageObj* image = t.Add(200, 100, 0, 0);
        image->SetDescription(ImageDescription{FourCC("tiff"), width, height, 72, 72, 24, std::nullopt});
        image->SetColorSpace(FourCC("RGB "));
        EXPECT_TRUE(image->SetWorkingBitmap(Filled(4, 4, 1, 2, 3)));
        return image;
    }

    static Rect16 BitmapRect(const CImageObj& item) {
        CImageBitmapLock lock(item);
        return DibBuffer::GetRect(lock.Bitmap());
    }
};

TEST_F(Rebuild, ColourMatchedItemsGetTheirCoveringSizeThroughTheScreenTransform) {
    CImageObj* matched = Image(100, 100);
    matched->SetColorMatched(1);
    RebuildWorkingBitmaps(t.layout);
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(targets[0].Width(), 100);  // 200 x 200 covers the box; the loader keeps to the picture
    EXPECT_EQ(targets[0].Height(), 100);
    EXPECT_EQ(modes, std::vector<int>{2});
    EXPECT_EQ(BitmapRect(*matched).Width(), 100);
}

TEST_F(Rebuild, AFailedOrImpossibleDecodeKeepsTheOldBitmap) {
    CImageObj* unknown = Image(0, 100);   // no pixel width
    CImageObj* broken = Image(100, 100);
    broken->SetColorMatched(1);
    CImageObj* preview = Image(100, 100);  // from its preview
    fail = true;
    RebuildWorkingBitmaps(*unknown);
    EXPECT_EQ(targets.size(), 2u);  // the item without pixels is skipped
    for (const CImageObj* item : {unknown, broken, preview}) EXPECT_EQ(BitmapRect(*item).Width(), 4);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10417, 10417}));

    fail = false;
    EXPECT_FALSE(BuildDisplayBitmap(*unknown));
    EXPECT_EQ(BitmapRect(*unknown).Width(), 4);
}

TEST_F(Rebuild, DisplayBitmapUsesTheTransformOnlyWhenAskedAndTurnsGreyInAGreyLayout) {
    CImageObj* image = Image(100, 100);
    EXPECT_TRUE(BuildDisplayBitmap(*image));
    EXPECT_TRUE(modes.empty());
    image->SetEnableColorMatch(1);
    t.layout.SetColor(0);
    EXPECT_TRUE(BuildDisplayBitmap(*image));
    EXPECT_EQ(modes, std::vector<int>{2});
    CImageBitmapLock lock(*image);
    const std::span<uint8_t> pixels = lock.Pixels();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels[0], pixels[1]);
    EXPECT_EQ(pixels[1], pixels[2]);
}

}  // namespace
}  // namespace vx
