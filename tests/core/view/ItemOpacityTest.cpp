#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "imaging/DibBuffer.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/GreyConversion.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "view/ItemBitmapDrawing.h"

namespace vx {
namespace {

// Pixels as B, G, R, A words of 0xAARRGGBB.
constexpr uint32_t kOpaqueRed = 0xFFFF0000;
constexpr uint32_t kClearRed = 0x00FF0000;

DibBufferPtr Bitmap(int width, int height, uint32_t argb) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    uint8_t* p = DibBuffer::GetBits(raw);
    for (int i = 0; i < width * height; ++i, p += 4) {
        p[0] = uint8_t(argb);
        p[1] = uint8_t(argb >> 8);
        p[2] = uint8_t(argb >> 16);
        p[3] = uint8_t(argb >> 24);
    }
    return DibBufferPtr(raw);
}

/// Sets every pixel of the item's bitmap through a lock for writing.
void WritePixels(CImageObj& item, uint32_t argb) {
    CImageBitmapLock lock(item);
    std::span<uint8_t> px = lock.Pixels();
    for (size_t i = 0; i + 4 <= px.size(); i += 4) {
        px[i] = uint8_t(argb);
        px[i + 1] = uint8_t(argb >> 8);
        px[i + 2] = uint8_t(argb >> 16);
        px[i + 3] = uint8_t(argb >> 24);
    }
}

class ItemOpacityTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTempFolder()); }

    std::unique_ptr<CImageObj> Item(uint32_t argb, int width = 8, int height = 4) {
        auto item = std::make_unique<CImageObj>(false);
        EXPECT_TRUE(item->SetWorkingBitmap(Bitmap(width, height, argb)));
        return item;
    }

    /// Draws the whole picture over (0, 0, 20, 20) on white and gives the centre pixel.
    uint32_t Draw(const CImageObj& item) {
        canvas.Clear({1, 1, 1, 1});
        CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
        const RectL r = DibBuffer::GetRectL(lock.Bitmap());
        EXPECT_EQ(DrawItemBitmap(canvas, {0, 0, r.right - r.left, r.bottom - r.top}, {0, 0, 20, 20}, item,
                                 gfx::Filter::Nearest),
                  1);
        return surface.Pixel(10, 10) & 0xFFFFFF;
    }

    uint64_t Generation(const CImageObj& item) const { return item.GetWorkingTempBuffer()->ContentGeneration(); }

    gfx::ImageSurface surface{20, 20};
    gfx::Canvas canvas{surface.Native(), gfx::kScreenPixelsPerInch};
};

TEST_F(ItemOpacityTest, OpaqueAnswerIsForgottenWhenAWriterMadeThePictureClear) {
    auto item = Item(kOpaqueRed);
    ASSERT_EQ(Draw(*item), 0xFF0000u);
    ASSERT_EQ(Draw(*item), 0xFF0000u);  // the kept answer
    WritePixels(*item, kClearRed);
    EXPECT_EQ(Draw(*item), 0xFFFFFFu) << "a clear picture drawn as opaque";
    EXPECT_EQ(item->GetTransparency(), 0) << "the stored flag is left alone";
    WritePixels(*item, kOpaqueRed);
    EXPECT_EQ(Draw(*item), 0xFF0000u);
}

TEST_F(ItemOpacityTest, TransparentPictureDrawsTransparentEveryTime) {
    auto half = Item(0x80FF0000);
    for (int i = 0; i < 2; ++i) {
        const uint32_t c = Draw(*half);
        EXPECT_EQ(c >> 16, 0xFFu);
        EXPECT_NEAR(int(c & 0xFF), 0x7F, 2) << "drawn " << i;  // red over white at half
    }
    auto flagged = Item(0x00000000);
    EXPECT_TRUE(flagged->HasTransparency());
    EXPECT_EQ(Draw(*flagged), 0xFFFFFFu);
}

TEST_F(ItemOpacityTest, ScanIsKeptWhileNobodyWrites) {
    auto item = Item(kOpaqueRed);
    const uint64_t before = Generation(*item);
    EXPECT_NE(before, 0u);
    Draw(*item);
    EXPECT_FALSE(item->HasTransparency());
    {
        CImageBitmapLock reader(*item, TempBuffer::kMapReadOnly);
        CImageBitmapLock nested(*item, TempBuffer::kMapReadOnly);
    }
    EXPECT_EQ(Generation(*item), before);
}

TEST_F(ItemOpacityTest, EveryWriterRenewsTheContentGeneration) {
    struct Writer {
        const char* name;
        std::function<bool(CImageObj&)> write;
    };
    const Writer writers[] = {
        {"a lock for writing", [](CImageObj& i) { return CImageBitmapLock(i).Bitmap() != nullptr; }},
        {"pixels written", [](CImageObj& i) { WritePixels(i, kClearRed); return true; }},
        {"another bitmap", [](CImageObj& i) { return i.SetWorkingBitmap(Bitmap(8, 4, kOpaqueRed)); }},
        {"the buffer refilled",
         [](CImageObj& i) {
             DibBufferPtr dib = Bitmap(8, 4, kClearRed);
             return i.GetWorkingTempBuffer()->Create(dib.get(), DibBuffer::GetSize(dib.get()));
         }},
        {"half turn in place", [](CImageObj& i) { return i.TurnWorkingBitmap(2); }},
        {"rows mirrored", [](CImageObj& i) { return i.TurnWorkingBitmap(8); }},
        {"quarter turn", [](CImageObj& i) { return i.TurnWorkingBitmap(1); }},
        {"grey conversion", [](CImageObj& i) { return ConvertToGrey(i, false); }},
        {"made its own", [](CImageObj& i) {
             CImageObj other(false);
             other.DuplicateImageData(i);
             return i.MakeWorkingBitmapUnique();
         }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        auto item = Item(kOpaqueRed);
        ImageDescription d;
        d.width = 8;
        d.height = 4;
        item->SetDescription(d);
        ASSERT_EQ(Draw(*item), 0xFF0000u);
        const uint64_t before = Generation(*item);
        ASSERT_TRUE(w.write(*item));
        EXPECT_NE(Generation(*item), before);
        EXPECT_FALSE(item->GetWorkingTempBuffer()->WriteLocked());
    }
}

TEST_F(ItemOpacityTest, NothingIsKeptWhileAWriterHoldsTheBitmap) {
    auto item = Item(kOpaqueRed);
    CImageBitmapLock writer(*item);
    EXPECT_EQ(Draw(*item), 0xFF0000u);
    // The writer goes on writing after the paint: the next paint must look again.
    std::span<uint8_t> px = writer.Pixels();
    for (size_t i = 3; i < px.size(); i += 4) px[i] = 0;
    EXPECT_EQ(Draw(*item), 0xFFFFFFu);
}

}  // namespace
}  // namespace vx
