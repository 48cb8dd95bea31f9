#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ImageItemFixtures.h"
#include "LayoutFixture.h"
#include "host/FatalError.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CTextObj.h"
#include "model/GreyConversion.h"
#include "model/LayoutLimits.h"
#include "model/WorkingBitmapError.h"
#include "platform/system/Folders.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

/// A picture of width x height whose pixel (x, y) is B = x + 10 y, G = 1, R = 2, A = 255.
DibBufferPtr Numbered(int width, int height) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    uint8_t* px = DibBuffer::GetBits(raw);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = px + 4 * (size_t(y) * width + x);
            p[0] = uint8_t(x + 10 * y);
            p[1] = 1;
            p[2] = 2;
            p[3] = 255;
        }
    return DibBufferPtr(raw);
}

/// A picture whose pixels are all the same B,G,R,A.
DibBufferPtr Filled(int width, int height, const uint8_t (&bgra)[4]) {
    DibBufferPtr dib = Numbered(width, height);
    uint8_t* px = DibBuffer::GetBits(dib.get());
    for (size_t i = 0; i < size_t(width) * height; ++i) std::memcpy(px + 4 * i, bgra, 4);
    return dib;
}

/// The stored working bitmap: width, height and every pixel's 4 bytes.
struct Stored {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    std::vector<int> Blue() const {
        std::vector<int> b;
        for (size_t i = 0; i < pixels.size(); i += 4) b.push_back(pixels[i]);
        return b;
    }
};

Stored ReadStored(const CImageObj& item) {
    std::vector<uint8_t> bytes;
    Stored s;
    if (!item.GetWorkingTempBuffer() || !item.GetWorkingTempBuffer()->ReadAll(bytes) ||
        bytes.size() < DibBuffer::kHeaderBytes)
        return s;
    const Rect16 r = DibBuffer::GetRect(reinterpret_cast<DibBuffer*>(bytes.data()));
    s.width = r.Width();
    s.height = r.Height();
    s.pixels.assign(bytes.begin() + DibBuffer::kHeaderBytes, bytes.end());
    return s;
}

std::unique_ptr<CImageObj> Described(int16_t width, int16_t height, uint32_t res) {
    auto item = std::make_unique<CImageObj>(true, "StdImage");
    item->SetDescription(ImageDescription{FourCC("jpeg"), width, height, res, res, 24, {}});
    item->SetColorSpace(FourCC("RGB "));
    return item;
}

class ImageReplacement : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTempFolder()); }

    /// A freshly opened JPEG source of width x height at 300 ppi.
    std::unique_ptr<CImageObj> Source(int width, int height, const char* name = "new.jpg") {
        test::JpegFixture fixture;
        fixture.width = width;
        fixture.height = height;
        fixture.densityUnit = 1;
        fixture.xDensity = fixture.yDensity = 300;
        auto source = test::DescribedJpegItem(mRoot.Path() / name, fixture);
        EXPECT_TRUE(source->TakeFileFacts(source->GetFilePath()));
        source->SetColorSpace(FourCC("RGB "));
        return source;
    }

    /// An item of 3000 x 2000 pixels at 300 ppi, sized by the ratio method at 1800 x 1200.
    std::unique_ptr<CImageObj> ScaledItem() {
        auto item = Described(3000, 2000, 300);
        item->SetSizeMethod(2);
        item->SetSizeD(1800, 1200);
        item->SetPositionD(100.7, 2000.2);
        item->SetLabelNumber(3);
        item->SetLabelSelection(3);  // number and name
        item->SetFilePath("/nowhere/old.jpg");
        return item;
    }

    test::TestRoot mRoot;
    test::RecordingMessagePort mMessages;
    test::ScopedPorts mPorts{&mMessages};
};

TEST_F(ImageReplacement, KeepsTheScaleOfTheRatioMethodAndTakesTheNewFile) {
    auto item = ScaledItem();
    auto source = Source(1500, 1000);
    ASSERT_TRUE(item->ReplaceImageFrom(*source));
    EXPECT_EQ(item->GetSize(), (LayoutPoint{900, 600}));
    EXPECT_EQ(item->GetPositionD(), (LayoutPointD{100, 2000})) << "made whole where it was";
    EXPECT_EQ(item->GetDescription(), source->GetDescription());
    EXPECT_EQ(item->GetFilePath(), source->GetFilePath());
    EXPECT_EQ(item->GetFileSize(), source->GetFileSize());
    EXPECT_EQ(item->GetLastWriteTime(), source->GetLastWriteTime());
    EXPECT_EQ(item->GetLabelText(), "Nummer: 3  Name: new.jpg  ");
    EXPECT_TRUE(mMessages.shown.empty());
}

TEST_F(ImageReplacement, ANewPixelSizeClearsTheCrop) {
    for (int width : {3000, 1500}) {
        SCOPED_TRACE(width);
        auto item = ScaledItem();
        item->SetSizeMethod(1);
        item->SetCrop({10, 20, 30, 40});
        item->SetCropOut(1);
        item->SetCropFrameColor(0x0000FF00);
        ASSERT_TRUE(item->ReplaceImageFrom(*Described(int16_t(width), 2000, 300)));
        const bool same = width == 3000;
        EXPECT_EQ(item->GetCrop(), same ? (LayoutRect{10, 20, 30, 40}) : LayoutRect{});
        EXPECT_EQ(item->GetCropOut(), same ? 1 : 0);
        EXPECT_EQ(item->GetCropFrameColor(), same ? 0x0000FF00u : 0u);
        EXPECT_EQ(item->GetSize(), (LayoutPoint{1800, 1200})) << "the dimensions method keeps the size";
    }
}

TEST_F(ImageReplacement, RefusesWhatItCannotScaleOrTake) {
    // Below 10 mm: shown, but the new image is in already; the caller undoes.
    auto small = ScaledItem();
    small->SetSizeD(180, 120);
    EXPECT_FALSE(small->ReplaceImageFrom(*Described(1500, 1000, 300)));
    EXPECT_EQ(mMessages.Ids(), std::vector<int>{IDS_IMAGE_SIZE_OUT_OF_RANGE});
    EXPECT_EQ(mMessages.shown.back().icon, Icon::Error);
    EXPECT_EQ(small->GetDescription()->width, 1500);
    EXPECT_EQ(small->GetSize(), (LayoutPoint{180, 120}));

    // A source without a description: the item keeps its image.
    auto item = ScaledItem();
    ASSERT_TRUE(item->SetWorkingBitmap(Numbered(3, 2)));
    TempBuffer* bitmap = item->GetWorkingTempBuffer();
    CImageObj unopened(true);
    EXPECT_FALSE(item->ReplaceImageFrom(unopened));
    EXPECT_EQ(mMessages.Ids().back(), IDS_UNKNOWN_ERROR);
    EXPECT_EQ(item->GetDescription()->width, 3000);
    EXPECT_EQ(item->GetWorkingTempBuffer(), bitmap);
    EXPECT_EQ(item->GetFilePath(), "/nowhere/old.jpg");

    // No natural size to keep the scale of.
    auto unscaled = ScaledItem();
    unscaled->SetDescription(ImageDescription{FourCC("jpeg"), 3000, 2000, 0, 0, 24, {}});
    EXPECT_FALSE(unscaled->ReplaceImageFrom(*Described(1500, 1000, 300)));
    EXPECT_EQ(mMessages.Ids().back(), IDS_UNKNOWN_ERROR);
    EXPECT_EQ(unscaled->GetDescription()->width, 3000);
}

/// The colour source of an item: Zel use and level, embedded profile use and presence,
/// chosen profile and intent.
struct ColourSource {
    int16_t useZel;
    int16_t zelFile;
    int32_t useEmbed;
    int32_t embedded;
    int16_t profileSource;
    const char* profile;
    int16_t intent;

    void ApplyTo(CImageObj& item) const {
        item.SetUseZelFile(useZel);
        item.SetZelFile(zelFile);
        item.SetProfileUseEmbed(useEmbed);
        item.SetFileEmbedded(embedded);
        item.SetProfileSource(profileSource);
        item.SetSourceProfile(profile);
        item.SetProfileIntent(intent);
    }
    static ColourSource Of(const CImageObj& item) {
        return {item.GetUseZelFile(), item.GetZelFile(), item.GetProfileUseEmbed(), item.GetFileEmbedded(),
                item.GetProfileSource(), item.GetSourceProfile().c_str(), item.GetProfileIntent()};
    }
    bool operator==(const ColourSource& o) const {
        return useZel == o.useZel && zelFile == o.zelFile && useEmbed == o.useEmbed && embedded == o.embedded &&
               profileSource == o.profileSource && std::string(profile) == o.profile && intent == o.intent;
    }
};

std::ostream& operator<<(std::ostream& s, const ColourSource& c) {
    return s << "zel " << c.useZel << '/' << c.zelFile << " embed " << c.useEmbed << '/' << c.embedded << " profile "
             << c.profileSource << ' ' << c.profile << " intent " << c.intent;
}

TEST_F(ImageReplacement, TakesTheSourcesColourSourceOnlyWhereTheItemsNoLongerFits) {
    struct Case {
        const char* what;
        const char* itemSpace;
        const char* sourceSpace;
        ColourSource item, source, result;
    };
    const ColourSource kSource{3, 6, 0, 1, 1, "Quelle", 1};
    const Case cases[] = {
        {"Zel level available", "RGB ", "RGB ", {6, 6, 1, 0, 2, "Eigen", 3}, kSource, {6, 6, 1, 1, 2, "Eigen", 3}},
        {"Zel level missing, embedded profile kept", "RGB ", "RGB ", {6, 6, 1, 1, 2, "Eigen", 3},
         {3, 4, 0, 1, 1, "Quelle", 1}, {0, 4, 1, 1, 2, "Eigen", 3}},
        {"Zel level and profile missing", "RGB ", "RGB ", {6, 6, 1, 1, 2, "Eigen", 3}, {3, 0, 0, 0, 1, "Quelle", 1},
         {3, 0, 0, 0, 1, "Quelle", 1}},
        {"plain profile kept", "RGB ", "RGB ", {0, 0, 0, 1, 2, "Eigen", 3}, {3, 0, 0, 0, 1, "Quelle", 1},
         {0, 0, 0, 0, 2, "Eigen", 3}},
        {"embedded profile missing", "RGB ", "RGB ", {0, 0, 1, 1, 2, "Eigen", 3}, {3, 0, 0, 0, 1, "Quelle", 1},
         {3, 0, 0, 0, 1, "Quelle", 1}},
        {"grey item, RGB source", "GRAY", "RGB ", {6, 6, 1, 1, 2, "Eigen", 3}, kSource, kSource},
        {"CMYK item", "CMYK", "RGB ", {6, 6, 1, 0, 2, "Eigen", 3}, kSource, {6, 6, 1, 0, 2, "Eigen", 3}},
        {"grey source", "RGB ", "GRAY", {6, 6, 1, 0, 2, "Eigen", 3}, kSource, {6, 6, 1, 0, 2, "Eigen", 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto item = Described(3000, 2000, 300);
        auto source = Described(3000, 2000, 300);
        item->SetColorSpace(FourCCFromText(c.itemSpace));
        source->SetColorSpace(FourCCFromText(c.sourceSpace));
        source->SetColorDepth(8);
        c.item.ApplyTo(*item);
        c.source.ApplyTo(*source);
        ASSERT_TRUE(item->TakeImageData(*source));
        EXPECT_EQ(ColourSource::Of(*item), c.result);
        EXPECT_EQ(item->GetColorSpace(), source->GetColorSpace());
        EXPECT_EQ(item->GetColorDepth(), 8);
    }
}

TEST_F(ImageReplacement, EachItemTurnsItsOwnCopyOfASharedSource) {
    auto source = Described(3, 2, 300);
    ASSERT_TRUE(source->SetWorkingBitmap(Numbered(3, 2)));  // rows 0 1 2 / 10 11 12
    auto halfTurn = Described(3, 2, 300);
    halfTurn->SetRotate(2);
    auto quarterTurn = Described(3, 2, 300);
    quarterTurn->SetRotate(1);
    auto unturned = Described(3, 2, 300);

    ASSERT_TRUE(halfTurn->TakeImageData(*source));
    ASSERT_TRUE(quarterTurn->TakeImageData(*source));
    ASSERT_TRUE(unturned->TakeImageData(*source));

    const Stored half = ReadStored(*halfTurn);
    EXPECT_EQ(half.Blue(), (std::vector<int>{12, 11, 10, 2, 1, 0}));
    const Stored quarter = ReadStored(*quarterTurn);
    EXPECT_EQ(quarter.width, 2);
    EXPECT_EQ(quarter.Blue(), (std::vector<int>{10, 0, 11, 1, 12, 2})) << "clockwise";
    EXPECT_EQ(ReadStored(*source).Blue(), (std::vector<int>{0, 1, 2, 10, 11, 12}));
    EXPECT_EQ(unturned->GetWorkingTempBuffer(), source->GetWorkingTempBuffer()) << "shared until changed";
}

class ImageBitmapLock : public ImageReplacement {};

TEST_F(ImageBitmapLock, KeepsTheBitmapMappedAndAliveWhileHeld) {
    CImageObj item(true);
    ASSERT_TRUE(item.SetWorkingBitmap(Numbered(3, 2)));
    {
        CImageBitmapLock lock(item);
        ASSERT_NE(lock.Bitmap(), nullptr);
        EXPECT_EQ(item.GetWorkingBuffer(), lock.Bitmap());
        EXPECT_EQ(lock.Pixels().size(), 24u);
        {
            CImageBitmapLock nested(&item);
            EXPECT_EQ(nested.Bitmap(), lock.Bitmap());
        }
        EXPECT_EQ(item.GetWorkingBuffer(), lock.Bitmap()) << "the outer lock still holds it";

        CImageBitmapLock moved(std::move(lock));
        // The item takes another bitmap; the held one must stay readable.
        ASSERT_TRUE(item.SetWorkingBitmap(Numbered(1, 1)));
        EXPECT_EQ(item.GetWorkingBuffer(), nullptr);
        EXPECT_EQ(moved.Pixels()[4 * 5], 12);
    }
    EXPECT_EQ(item.GetWorkingBuffer(), nullptr);
    EXPECT_EQ(item.GetWorkingTempBuffer()->RefCount(), 1);
}

TEST_F(ImageBitmapLock, MapsNothingForABitmapNeverStored) {
    CImageObj item(true);
    CImageBitmapLock lock(item);
    EXPECT_EQ(lock.Bitmap(), nullptr);
    EXPECT_TRUE(lock.Pixels().empty());
    EXPECT_EQ(item.GetWorkingBuffer(), nullptr);
}

TEST_F(ImageBitmapLock, ALostBitmapEndsInTheFatalError) {
    CImageObj item(true);
    ASSERT_TRUE(item.SetWorkingBitmap(Numbered(3, 2)));
    std::filesystem::remove(item.GetWorkingTempBuffer()->Path());
    EXPECT_THROW(CImageBitmapLock lock(item), WorkingBitmapError);
    EXPECT_THROW(CImageBitmapLock lock(nullptr), WorkingBitmapError);

    std::vector<int> codes;
    FatalErrorHook previous = SetFatalErrorHook([&codes](int code) { codes.push_back(code); });
    EXPECT_FALSE(RunGuarded([&item] { item.HasTransparency(); }));
    SetFatalErrorHook(previous);
    EXPECT_EQ(codes, std::vector<int>{255});
}

TEST_F(ImageBitmapLock, TransparencyIsAnyAlphaBelowOpaque) {
    struct Case {
        const char* what;
        int width, height;
        int translucentPixel;  // -1: none
        bool transparent;
    };
    const Case cases[] = {
        {"opaque", 64, 40, -1, false},
        {"the last pixel", 64, 40, 64 * 40 - 1, true},
        {"the first pixel", 64, 40, 0, true},
        {"the odd last pixel", 3, 3, 8, true},
        {"opaque, odd", 3, 3, -1, false},
        {"one pixel", 1, 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr dib = Numbered(c.width, c.height);
        if (c.translucentPixel >= 0) DibBuffer::GetBits(dib.get())[4 * c.translucentPixel + 3] = 254;
        CImageObj item(true);
        ASSERT_TRUE(item.SetWorkingBitmap(std::move(dib)));
        item.SetTransparency(1);
        EXPECT_EQ(item.HasTransparency(), c.transparent);
        EXPECT_EQ(item.GetTransparency(), c.transparent ? 1 : 0);
    }
    CImageObj never(true);
    never.SetTransparency(1);
    EXPECT_FALSE(never.HasTransparency());
    EXPECT_EQ(never.GetTransparency(), 0);
}

TEST_F(ImageReplacement, ConvertToGreyFromAnItemOnSkipsOtherKindsAndSpareDuplicates) {
    test::TestLayout t;
    const uint8_t blue[4] = {0, 0, 255, 128};  // B, G, R, A
    std::vector<CImageObj*> images{t.Add(300, 200), t.Add(300, 200)};
    CTextObj* text = t.Add<CTextObj>(100, 100);
    images.push_back(t.Add(300, 200));
    for (CImageObj* image : images) ASSERT_TRUE(image->SetWorkingBitmap(Filled(2, 1, blue)));
    images[1]->SetDescription(ImageDescription{});
    CImageObj duplicate(true);  // an undo copy of image 2, sharing its pixels
    ASSERT_TRUE(duplicate.DuplicateImageData(*images[1]));

    EXPECT_TRUE(ConvertToGrey(*images[1], true));
    const std::vector<uint8_t> colour{0, 0, 255, 128, 0, 0, 255, 128};
    const std::vector<uint8_t> grey{76, 76, 76, 128, 76, 76, 76, 128};
    EXPECT_EQ(ReadStored(*images[0]).pixels, colour);
    EXPECT_EQ(ReadStored(*images[1]).pixels, grey);
    EXPECT_EQ(ReadStored(*images[2]).pixels, grey);
    EXPECT_EQ(ReadStored(duplicate).pixels, colour);
    EXPECT_EQ(text->GetChanged(), 0);

    EXPECT_TRUE(ConvertToGrey(*images[0], false));
    EXPECT_EQ(ReadStored(*images[0]).pixels, grey);
    EXPECT_TRUE(ConvertToGrey(*text, true)) << "from a free text on: only the images after it";
}

TEST(ImageSizeSupported, ItemsOtherThanImagesAlwaysAre) {
    EXPECT_TRUE(IsImageSizeSupported(CTextObj(true)));
    EXPECT_FALSE(IsImageSizeSupported(CImageObj(true))) << "nothing described";
    EXPECT_TRUE(IsImageSizeSupported(*Described(8000, 8000, 300)));
    EXPECT_FALSE(IsImageSizeSupported(*Described(249, 1000, 300)));
}

}  // namespace
}  // namespace vx
