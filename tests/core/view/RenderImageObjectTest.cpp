#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "imaging/DibBuffer.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "view/RenderContext.h"
#include "view/RenderImageObject.h"

namespace vx {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGrey = 0x808080;

/// The pass as the drawers read it, with what they leave in it.
class FakePass : public RenderContext {
public:
    bool Acquire(int, bool) override { return true; }
    void Release() override {}
    CLayoutSetting* GetLayoutSetting() const override { return layout; }
    int32_t GetItemPageTop(const CLayoutObj&) const override { return pageTop; }
    PixelPoint GetPageOrigin() const override { return origin; }
    double GetScaleX() const override { return scaleX; }
    double GetScaleY() const override { return scaleY; }
    bool IsPrinting() const override { return printing; }
    void MarkBitmapDrawn(bool flag) override { failed = flag; }
    PixelRect PageToDeviceRect(const PixelRect& r) const override {
        return {r.left - printerOffset.x, r.top - printerOffset.y, r.right - printerOffset.x,
                r.bottom - printerOffset.y};
    }

    CLayoutSetting* layout = nullptr;
    int32_t pageTop = 0;
    PixelPoint origin;
    PixelPoint printerOffset;
    double scaleX = 1;
    double scaleY = 1;
    bool printing = false;
    bool failed = false;
};

/// A bitmap of width x height whose pixel (x, y) is colour(x, y) (0xRRGGBB, opaque).
DibBufferPtr Bitmap(int width, int height, const std::function<uint32_t(int, int)>& colour) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    uint8_t* p = DibBuffer::GetBits(raw);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, p += 4) {
            const uint32_t c = colour(x, y);
            p[0] = uint8_t(c);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c >> 16);
            p[3] = 255;
        }
    return DibBufferPtr(raw);
}

class RenderImageObjectTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateTempFolder());
        layout.SetColor(2);
        pass.layout = &layout;
        canvas.Clear({1, 1, 1, 1});
        geometry.band = {0, 0, 200, 200};
    }

    /// An image item over (left, top, right, bottom) in layout units showing a picture
    /// of width x height pixels.
    std::unique_ptr<CImageObj> Item(LayoutRect r, int width, int height,
                                    const std::function<uint32_t(int, int)>& colour) {
        auto item = std::make_unique<CImageObj>(false);
        item->SetOwner(&layout);
        item->SetRect(r.left, r.top, r.right, r.bottom);
        ImageDescription d;
        d.width = int16_t(width);
        d.height = int16_t(height);
        d.hRes = d.vRes = 72;
        item->SetDescription(d);
        EXPECT_TRUE(item->SetWorkingBitmap(Bitmap(width, height, colour)));
        return item;
    }

    uint32_t At(int x, int y) const { return surface.Pixel(x, y) & 0xFFFFFF; }

    void Render(const CImageObj& item, unsigned parts = kRenderAllParts, const CImageObj* stamp = nullptr) {
        RenderImageObject(pass, item, canvas, geometry, stamp, parts);
    }

    CLayoutSetting layout{false};
    FakePass pass;
    gfx::ImageSurface surface{200, 200};
    gfx::Canvas canvas{surface.Native(), gfx::kScreenPixelsPerInch};
    ViewGeometry geometry;
};

// Columns of a 40 x 20 picture: green left of 10, red to 30, blue from 30.
uint32_t Columns(int x, int) { return x < 10 ? kGreen : x < 30 ? kRed : kBlue; }

TEST_F(RenderImageObjectTest, ImageOptionLetterboxesCropsOrStretches) {
    struct Probe {
        int x, y;
        uint32_t colour;
    };
    struct Case {
        int16_t option;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // 0: the 2 : 1 picture fitted into the 100 x 100 item, centred: rows 25 to 74.
        {0, {{50, 24, kWhite}, {50, 25, kRed}, {50, 74, kRed}, {50, 75, kWhite}, {5, 50, kGreen}, {95, 50, kBlue}}},
        // 2: the item keeps its size and shows the centre square of the picture.
        {2, {{1, 1, kRed}, {98, 98, kRed}, {50, 50, kRed}, {50, 100, kWhite}}},
        // 1 (and every other value): stretched over the item.
        {1, {{1, 1, kGreen}, {24, 98, kGreen}, {26, 50, kRed}, {74, 50, kRed}, {76, 50, kBlue}, {99, 99, kBlue}}},
        {7, {{1, 1, kGreen}, {50, 50, kRed}, {99, 99, kBlue}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mImageOption " << c.option);
        canvas.Clear({1, 1, 1, 1});
        auto item = Item({0, 0, 100, 100}, 40, 20, Columns);
        item->SetImageOption(c.option);
        Render(*item);
        for (const Probe& p : c.probes) EXPECT_EQ(At(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;
        EXPECT_FALSE(pass.failed);
    }
}

TEST_F(RenderImageObjectTest, FrameInsetsThePictureAtTheScaleOfItsDirection) {
    pass.scaleX = 2;
    pass.scaleY = 1.5;
    pass.origin = {10, 20};
    auto item = Item({0, 0, 80, 100}, 10, 10, [](int, int) { return kRed; });
    item->SetImageOption(1);
    item->SetFrame({5, 10, 10, 4});  // left, top, right, bottom widths
    Render(*item);
    // The item covers x 10..170, y 20..170; inside the frame x 20..150, y 35..164.
    EXPECT_EQ(At(19, 100), kWhite);
    EXPECT_EQ(At(20, 100), kRed);
    EXPECT_EQ(At(149, 100), kRed);
    EXPECT_EQ(At(150, 100), kWhite);
    EXPECT_EQ(At(80, 34), kWhite);
    EXPECT_EQ(At(80, 35), kRed);
    EXPECT_EQ(At(80, 163), kRed);
    EXPECT_EQ(At(80, 164), kWhite);
}

TEST_F(RenderImageObjectTest, PageTopIsTakenOffUnlessUnpaged) {
    pass.pageTop = 100;
    auto item = Item({0, 120, 50, 150}, 4, 4, [](int, int) { return kRed; });
    item->SetImageOption(1);
    Render(*item, kRenderPicture);
    EXPECT_EQ(At(25, 19), kWhite);
    EXPECT_EQ(At(25, 20), kRed);
    EXPECT_EQ(At(25, 49), kRed);
    EXPECT_EQ(At(25, 120), kWhite);

    canvas.Clear({1, 1, 1, 1});
    Render(*item, kRenderPicture | kRenderUnpaged);
    EXPECT_EQ(At(25, 20), kWhite);
    EXPECT_EQ(At(25, 120), kRed);
    EXPECT_EQ(At(25, 149), kRed);
}

TEST_F(RenderImageObjectTest, PrinterOffsetMovesTheItemOnTheDevice) {
    pass.printing = true;
    pass.printerOffset = {10, 30};
    auto item = Item({50, 50, 100, 100}, 4, 4, [](int, int) { return kRed; });
    item->SetImageOption(1);
    Render(*item);
    EXPECT_EQ(At(39, 30), kWhite);
    EXPECT_EQ(At(40, 20), kRed);
    EXPECT_EQ(At(89, 69), kRed);
    EXPECT_EQ(At(90, 69), kWhite);
}

TEST_F(RenderImageObjectTest, FrameBandGreyOnScreenInMonochromeColouredOnPaper) {
    struct Case {
        bool printing;
        int16_t colourMode;
        uint32_t band;
    };
    // Red's grey is trunc(0.30 × 255) = 76 on every channel.
    for (Case c : {Case{false, 1, 0x4C4C4C}, Case{true, 1, kRed}, Case{false, 2, kRed}}) {
        SCOPED_TRACE(testing::Message() << "printing " << c.printing << " mColor " << c.colourMode);
        canvas.Clear({1, 1, 1, 1});
        pass.printing = c.printing;
        layout.SetColor(c.colourMode);
        auto item = Item({0, 0, 100, 100}, 4, 4, [](int, int) { return kBlue; });
        item->SetImageOption(1);
        item->SetFrame({10, 10, 10, 10});
        item->SetFrameColorValue(0x0000FF);  // red as stored
        item->SetFrameMode(1);
        item->SetFrameColor(1);
        Render(*item);
        EXPECT_EQ(At(5, 50), c.band);
        EXPECT_EQ(At(95, 95), c.band);
        EXPECT_EQ(At(50, 50), kBlue);
        EXPECT_EQ(At(150, 50), kWhite);

        // Without the frame colour flag, or in frame mode 0, the band stays empty.
        canvas.Clear({1, 1, 1, 1});
        item->SetFrameColor(0);
        Render(*item);
        EXPECT_EQ(At(5, 50), kWhite);
        canvas.Clear({1, 1, 1, 1});
        item->SetFrameColor(1);
        item->SetFrameMode(0);
        Render(*item);
        EXPECT_EQ(At(5, 50), kWhite);
        canvas.Clear({1, 1, 1, 1});
        item->SetFrameMode(1);
        Render(*item, kRenderPicture);
        EXPECT_EQ(At(5, 50), kWhite);
    }
}

TEST_F(RenderImageObjectTest, CropFramePenIsThreeAndThreeQuarterUnitsHigh) {
    struct Case {
        double scale;
        int pen;
    };
    // The frame marks the crop of a quarter on each side of 160 pixels: x and y 40..120.
    for (Case c : {Case{0.1, 1}, Case{0.4, 2}, Case{1, 4}, Case{2, 8}, Case{2.5, 9}}) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale);
        canvas.Clear({1, 1, 1, 1});
        pass.scaleX = pass.scaleY = c.scale;
        const int32_t units = int32_t(160 / c.scale + 0.5);
        auto item = Item({0, 0, units, units}, 40, 40, [](int, int) { return kGrey; });
        item->SetImageOption(1);
        item->SetCropOut(2);
        item->SetCrop({10, 10, 10, 10});
        item->SetCropFrameColor(0xFF0000);  // blue as stored
        Render(*item);
        int width = 0;
        while (At(40 + width, 80) == kBlue) ++width;
        EXPECT_EQ(width, c.pen);
        EXPECT_EQ(At(39, 80), kGrey);
        EXPECT_EQ(At(119, 80), kBlue);
        EXPECT_EQ(At(120, 80), kGrey);
        EXPECT_EQ(At(80, 40), kBlue);
        EXPECT_EQ(At(80, 119), kBlue);
        EXPECT_EQ(At(80, 80), kGrey);
    }
}

TEST_F(RenderImageObjectTest, CropOutOneShowsTheCropOfTheTurnedBitmap) {
    // Code 1 turns the 40 x 20 picture to 20 x 40; its bitmap is stored turned. An inset
    // of 10 on the picture's left lies on the top of the turned one.
    auto item = Item({0, 0, 100, 100}, 20, 40, [](int, int y) { return y < 10 ? kGreen : kRed; });
    ImageDescription d = *item->GetDescription();
    d.width = 40;
    d.height = 20;
    item->SetDescription(d);
    item->SetRotate(1);
    item->SetImageOption(1);
    item->SetCropOut(1);
    item->SetCrop({10, 0, 0, 0});
    Render(*item);
    EXPECT_EQ(At(50, 1), kRed);
    EXPECT_EQ(At(50, 50), kRed);
    EXPECT_FALSE(pass.failed);
}

TEST_F(RenderImageObjectTest, StampTurnsByTheBitsOfTheFrameOrientation) {
    // The stamp's top-left quarter is red, the rest blue; over a grey picture.
    auto stamp = Item({0, 0, 20, 10}, 20, 10, [](int x, int y) { return x < 10 && y < 5 ? kRed : kBlue; });
    layout.SetImageStampInUse(1);
    struct Case {
        int16_t code;
        int redX, redY;   // a point inside the red quarter
        int blueX, blueY;  // one inside the diagonally opposite quarter
    };
    const Case cases[] = {
        {0, 25, 37, 75, 62},  // 100 x 50 over y 25..75
        {1, 62, 25, 37, 75},  // 50 x 100 over x 25..75, top-left gone to top-right
        {2, 75, 62, 25, 37},
        {4, 37, 75, 62, 25},  // a quarter anticlockwise: top-left to bottom-left
        {8, 25, 37, 75, 62},  // the mirror bit is ignored
        {9, 62, 25, 37, 75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mFrameRotate " << c.code);
        canvas.Clear({1, 1, 1, 1});
        auto item = Item({0, 0, 100, 100}, 4, 4, [](int, int) { return kGrey; });
        item->SetImageOption(1);
        item->SetFrameRotate(c.code);
        Render(*item, kRenderAllParts, stamp.get());
        EXPECT_EQ(At(c.redX, c.redY), kRed);
        EXPECT_EQ(At(c.blueX, c.blueY), kBlue);
        EXPECT_FALSE(pass.failed);
    }
}

TEST_F(RenderImageObjectTest, StampAtItsOwnPlaceIsCutToThePicture) {
    auto stamp = Item({0, 0, 20, 10}, 20, 10, [](int, int) { return kBlue; });
    layout.SetImageStampInUse(1);
    layout.SetImageStampSettings(1);
    layout.SetImageStampPosition({40, 10});
    layout.SetImageStampSize({80, 20});
    pass.scaleX = 2;
    pass.scaleY = 2;
    auto item = Item({10, 10, 60, 60}, 4, 4, [](int, int) { return kGrey; });
    item->SetImageOption(1);
    Render(*item, kRenderAllParts, stamp.get());
    // The picture covers 20..120; the stamp from (100, 40) would reach x 260.
    EXPECT_EQ(At(99, 50), kGrey);
    EXPECT_EQ(At(100, 40), kBlue);
    EXPECT_EQ(At(119, 79), kBlue);
    EXPECT_EQ(At(120, 50), kWhite);
    EXPECT_EQ(At(110, 80), kGrey);

    // Only the overlay pass draws it; without the layout's switch nobody does.
    canvas.Clear({1, 1, 1, 1});
    Render(*item, kRenderPicturePass, stamp.get());
    EXPECT_EQ(At(110, 50), kGrey);
    canvas.Clear({1, 1, 1, 1});
    layout.SetImageStampInUse(0);
    Render(*item, kRenderAllParts, stamp.get());
    EXPECT_EQ(At(110, 50), kGrey);
}

TEST_F(RenderImageObjectTest, MissingBitmapRaisesTheFlagWithoutThrowing) {
    CImageObj item(false);
    item.SetOwner(&layout);
    item.SetRect(0, 0, 100, 100);
    item.SetFrame({10, 10, 10, 10});
    item.SetFrameColorValue(0x0000FF);
    item.SetFrameMode(1);
    item.SetFrameColor(1);
    EXPECT_NO_THROW(Render(item));
    EXPECT_TRUE(pass.failed);
    EXPECT_EQ(At(5, 50), kRed);  // the frame is still drawn
    EXPECT_EQ(At(50, 50), kWhite);

    // A stamp without a bitmap fails the same way.
    pass.failed = false;
    auto picture = Item({0, 0, 100, 100}, 4, 4, [](int, int) { return kGrey; });
    CImageObj stamp(false);
    layout.SetImageStampInUse(1);
    EXPECT_NO_THROW(Render(*picture, kRenderAllParts, &stamp));
    EXPECT_TRUE(pass.failed);
    EXPECT_EQ(At(50, 50), kGrey);
}

TEST_F(RenderImageObjectTest, FarDestinationIsDrawnCut) {
    // At high zoom an item far down a roll lies beyond ±32767 device pixels; what
    // reaches the band is still drawn, in its right place.
    pass.origin = {0, -100000};
    auto item = Item({0, 0, 200, 200}, 2, 2000, [](int, int y) { return y < 1000 ? kRed : kBlue; });
    item->SetImageOption(1);
    pass.scaleY = 1000;  // the item is 200000 pixels high: y -100000..100000
    Render(*item, kRenderPicture);
    EXPECT_EQ(At(100, 0), kBlue);
    EXPECT_EQ(At(100, 199), kBlue);
    EXPECT_FALSE(pass.failed);

    canvas.Clear({1, 1, 1, 1});
    pass.origin = {0, -99900};
    Render(*item, kRenderPicture);
    // The edge belongs between rows 99 and 100; cairo's fixed-point steps at a
    // hundredfold magnification may place it one row later.
    EXPECT_EQ(At(100, 98), kRed);
    EXPECT_EQ(At(100, 102), kBlue);
}

// A sheet for people to look at: a photograph-like picture with its frame band, crop
// frame and a half-transparent stamp, and the same item turned a quarter by its frame
// with the stamp at its own place.
TEST_F(RenderImageObjectTest, SheetShowsPictureFrameBandCropFrameAndStamp) {
    gfx::ImageSurface sheet(480, 260);
    gfx::Canvas c(sheet.Native(), gfx::kScreenPixelsPerInch);
    c.Clear({238 / 255.0, 238 / 255.0, 238 / 255.0, 1});
    geometry.band = {0, 0, 480, 260};
    // Sky over a meadow, a sun top right.
    const auto photo = [](int x, int y) -> uint32_t {
        const int dx = x - 220, dy = y - 40;
        if (dx * dx + dy * dy < 400) return 0xFFD030;
        if (y < 100) return uint32_t(0x60 + y / 2) << 16 | uint32_t(0x90 + y / 2) << 8 | 0xE0;
        return uint32_t(0x30 + (x % 40)) << 16 | uint32_t(0x90 + (y - 100) / 2) << 8 | 0x30;
    };
    // The stamp: a dark corner that shows how it turns, and a half-transparent band.
    Rect16 sr;
    sr.Set(0, 0, 60, 30);
    DibBuffer* raw = nullptr;
    ASSERT_EQ(DibBuffer::Create(&raw, 32, sr), 0);
    uint8_t* p = DibBuffer::GetBits(raw);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x, p += 4) {
            const bool corner = x < 12 && y < 8;
            const bool band = std::abs((x - 30) - (y - 15) * 2) < 8;
            p[0] = corner ? 40 : 255, p[1] = corner ? 40 : 255, p[2] = corner ? 40 : 255;
            p[3] = corner ? 255 : band ? 160 : 0;
        }
    CImageObj stamp(false);
    ASSERT_TRUE(stamp.SetWorkingBitmap(DibBufferPtr(raw)));
    layout.SetImageStampInUse(1);

    auto item = Item({20, 20, 220, 170}, 240, 160, photo);
    item->SetImageOption(0);
    item->SetFrame({12, 12, 12, 12});
    item->SetFrameMode(1);
    item->SetFrameColor(1);
    item->SetFrameColorValue(0x203080);  // dark red as stored
    item->SetCropOut(2);
    item->SetCrop({30, 20, 40, 20});
    item->SetCropFrameColor(0x00C000);
    RenderImageObject(pass, *item, c, geometry, &stamp, kRenderPicturePass);
    RenderImageObject(pass, *item, c, geometry, &stamp, kRenderOverlayPass);

    auto turned = Item({260, 20, 420, 250}, 160, 240, photo);
    turned->SetImageOption(1);
    turned->SetFrameRotate(1);
    turned->SetFrame({8, 8, 8, 8});
    turned->SetFrameMode(1);
    turned->SetFrameColor(1);
    turned->SetFrameColorValue(0x404040);
    RenderImageObject(pass, *turned, c, geometry, &stamp, kRenderAllParts);
    ASSERT_TRUE(c.Ok());
    EXPECT_FALSE(pass.failed);
    EXPECT_TRUE(sheet.WritePng(test::OutputFolder() / "render-image-object.png"));

    const auto at = [&](int x, int y) { return sheet.Pixel(x, y) & 0xFFFFFF; };
    // The picture, 3 : 2 inside the 176 x 126 frame: 176 x 117 from (32, 36); the
    // pixel whose centre falls on (x, y).
    const auto shown = [&](int x, int y) {
        return photo(int((x - 32 + 0.5) * 240 / 176), int((y - 36 + 0.5) * 160 / 117));
    };
    EXPECT_EQ(at(25, 100), 0x803020u);  // frame band
    EXPECT_EQ(at(100, 25), 0x803020u);
    EXPECT_EQ(at(10, 10), 0xEEEEEEu);   // outside the item
    EXPECT_EQ(at(100, 34), 0xEEEEEEu);  // above the letterboxed picture
    EXPECT_EQ(at(40, 150), shown(40, 150));
    // Crop frame: 30 of 240 pixels in from the left, a 4-pixel pen.
    EXPECT_EQ(at(32 + 22, 100), 0x00C000u);
    EXPECT_EQ(at(32 + 25, 100), 0x00C000u);
    EXPECT_EQ(at(32 + 26, 100), shown(32 + 26, 100));
    // The stamp's dark corner at the picture's top-left; on the turned item, whose
    // stamp box is 107 x 214 from x 286, at its top-right.
    EXPECT_EQ(at(34, 56), 0x282828u);
    EXPECT_EQ(at(388, 34), 0x282828u);
    EXPECT_EQ(at(263, 100), 0x404040u);  // turned item's band
}

}  // namespace
}  // namespace vx
