#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ImageItemFixtures.h"
#include "model/CImageObj.h"
#include "model/ImageInfoReaders.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

Rect16 Size(int width, int height) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    return r;
}

TEST(ChoosePictureTarget, KeepsToThePictureAndThePreviewCap) {
    struct Case {
        const char* what;
        int targetWidth, targetHeight, rotate, pictureWidth, pictureHeight, mode;
        int width, height;
    };
    const std::vector<Case> cases = {
        {"shrinks to the picture, then to the cap", 4000, 4000, 0, 2000, 3000, 1, 666, 1000},
        {"full size for printing", 4000, 4000, 0, 2000, 3000, 3, 2000, 3000},
        {"a quarter turn swaps the target", 300, 200, 1, 3000, 2000, 0, 200, 300},
        {"code 4 too", 300, 200, 4, 3000, 2000, 0, 200, 300},
        {"a half turn does not", 300, 200, 2, 3000, 2000, 0, 300, 200},
        {"a smaller target stays", 900, 14, 0, 4000, 64, 0, 900, 14},
        {"a square beyond the cap", 1500, 1500, 0, 3000, 3000, 2, 1000, 1000},
        {"wide beyond the cap", 3000, 1500, 0, 3000, 3000, 0, 1000, 500},
        {"exactly the cap", 1000, 1000, 0, 3000, 3000, 0, 1000, 1000},
        {"an empty target", 0, 0, 0, 2000, 3000, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Rect16 r = ChoosePictureTarget(Size(c.targetWidth, c.targetHeight), c.rotate,
                                             c.pictureWidth, c.pictureHeight, c.mode);
        EXPECT_EQ(r.Width(), c.width);
        EXPECT_EQ(r.Height(), c.height);
    }
}

class LoadPicture : public testing::Test {
protected:
    ~LoadPicture() override { SetPictureLoaderHooks({}); }

    std::unique_ptr<CImageObj> Item(const test::JpegFixture& fixture, const char* name = "photo.jpg") {
        return test::DescribedJpegItem(mRoot.Path() / name, fixture);
    }

    /// An item whose pixels come from the importers' hook: a 10 x 10 grey picture.
    std::unique_ptr<CImageObj> ImportedItem(uint32_t colorSpace) {
        auto item = std::make_unique<CImageObj>(true, "StdImage");
        ImageDescription d;
        d.codecType = FourCC("PNGf");
        d.width = d.height = 10;
        item->SetDescription(d);
        item->SetColorSpace(colorSpace);
        return item;
    }

    static DibBufferPtr Grey(int side) {
        DibBuffer* raw = nullptr;
        EXPECT_EQ(DibBuffer::Create(&raw, 32, Size(side, side)), 0);
        std::memset(DibBuffer::GetBits(raw), 128, size_t(side) * size_t(side) * 4);
        return DibBufferPtr(raw);
    }

    test::TestRoot mRoot;
    test::RecordingMessagePort mMessages;
    test::ScopedPorts mPorts{&mMessages};
};

TEST_F(LoadPicture, TurnsThePictureByItsOrientation) {
    test::JpegFixture fixture;
    fixture.width = 64;
    fixture.height = 32;
    fixture.pixel = [](int x, int y, uint8_t* rgb) {
        const bool red = x < 16 && y < 16;
        rgb[0] = 255;
        rgb[1] = rgb[2] = red ? 0 : 255;
    };
    std::unique_ptr<CImageObj> item = Item(fixture);
    item->SetRotate(1);
    Rect16 target = Size(32, 64);
    DibBufferPtr b = LoadPictureBuffer(*item, kPictureModePrint, target);
    ASSERT_TRUE(b);
    ASSERT_EQ(DibBuffer::GetRect(b.get()), Size(32, 64));
    const auto red = [&](int x, int y) {
        const uint8_t* p = DibBuffer::GetBits(b.get()) + (size_t(y) * 32 + size_t(x)) * 4;
        return p[2] > 200 && p[1] < 60 && p[0] < 60;
    };
    EXPECT_TRUE(red(24, 8)) << "a quarter turn clockwise puts the block top right";
    EXPECT_FALSE(red(8, 8));
    EXPECT_FALSE(red(24, 56));
    EXPECT_TRUE(mMessages.shown.empty());
}

TEST_F(LoadPicture, ShowsWhyAndLeavesTheItemAlone) {
    test::JpegFixture cmyk;
    cmyk.space = JCS_CMYK;
    struct Case {
        const char* what;
        std::unique_ptr<CImageObj> item;
        void (*spoil)(const std::filesystem::path&);
        int message;
    };
    std::vector<Case> cases;
    cases.push_back({"missing", Item(test::JpegFixture{}, "missing.jpg"),
                     [](const std::filesystem::path& p) { std::filesystem::remove(p); }, IDS_FILE_NOT_READABLE});
    cases.push_back({"cut inside its header", Item(test::JpegFixture{}, "cut.jpg"),
                     [](const std::filesystem::path& p) { std::filesystem::resize_file(p, 30); },
                     IDS_FILE_NOT_READABLE});
    cases.push_back({"CMYK", Item(cmyk, "cmyk.jpg"), nullptr, IDS_IMAGE_FORMAT_UNSUPPORTED});
    cases.push_back({"no importer yet", ImportedItem(FourCC("RGB ")), nullptr, IDS_IMAGE_FORMAT_UNSUPPORTED});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        mMessages.shown.clear();
        DibBuffer* raw = nullptr;
        ASSERT_EQ(DibBuffer::Create(&raw, 32, Size(3, 3)), 0);
        ASSERT_TRUE(c.item->SetWorkingBitmap(DibBufferPtr(raw)));
        const TempBuffer* bitmap = c.item->GetWorkingTempBuffer();
        const std::optional<ImageDescription> description = c.item->GetDescription();
        if (c.spoil) c.spoil(c.item->GetFilePath());

        Rect16 target = Size(300, 300);
        EXPECT_FALSE(LoadPictureBuffer(*c.item, kPictureModePreview, target));
        ASSERT_EQ(mMessages.shown.size(), 1u);
        EXPECT_EQ(mMessages.shown[0].id, c.message);
        EXPECT_EQ(mMessages.shown[0].icon, Icon::Error);
        EXPECT_EQ(c.item->GetWorkingTempBuffer(), bitmap);
        EXPECT_EQ(c.item->IsSaveFile(), 1);
        EXPECT_EQ(c.item->GetDescription(), description);
    }
}

TEST_F(LoadPicture, ColourManagesByColourSpaceAndMode) {
    std::vector<int> modes;
    bool succeed = true;
    PictureLoaderHooks hooks;
    hooks.import = [](CImageObj&, const Rect16&, int&) { return Grey(10); };
    hooks.colorManage = [&](DibBuffer*, CImageObj&, int mode) {
        modes.push_back(mode);
        return succeed;
    };
    SetPictureLoaderHooks(hooks);
    struct Case {
        const char* space;
        int mode;
        bool managed;
    };
    const std::vector<Case> cases = {
        {"RGB ", 0, false}, {"RGB ", 1, true},  {"RGB ", 3, true}, {"GRAY", 0, false},
        {"GRAY", 3, false}, {"CMYK", 0, true}, {"CMYK", 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.space << " mode " << c.mode);
        modes.clear();
        std::unique_ptr<CImageObj> item = ImportedItem(FourCCFromText(c.space));
        Rect16 target = Size(10, 10);
        EXPECT_TRUE(LoadPictureBuffer(*item, c.mode, target));
        EXPECT_EQ(modes, c.managed ? std::vector<int>{c.mode} : std::vector<int>{});
    }
    succeed = false;
    std::unique_ptr<CImageObj> item = ImportedItem(FourCC("RGB "));
    Rect16 target = Size(10, 10);
    EXPECT_FALSE(LoadPictureBuffer(*item, 1, target));
    EXPECT_EQ(mMessages.Ids(), std::vector<int>{IDS_UNKNOWN_ERROR});
}

TEST_F(LoadPicture, RunsTheZelStagesWhenTheItemAsksForThem) {
    int converted = 0;
    bool convertGivesPicture = true;
    PictureLoaderHooks hooks;
    hooks.zelConvert = [&](CImageObj&, const Rect16&, int& messageId) {
        ++converted;
        if (!convertGivesPicture) messageId = IDS_FILE_NOT_READABLE;
        return convertGivesPicture ? Grey(7) : nullptr;
    };
    DibBuffer* tunedResult = nullptr;
    int tuneMessage = 0;
    hooks.zelTunePass = [&](DibBuffer*, CImageObj&, int& messageId) {
        if (tuneMessage) messageId = tuneMessage;
        return tunedResult;
    };
    SetPictureLoaderHooks(hooks);

    std::unique_ptr<CImageObj> item = Item(test::JpegFixture{});
    Rect16 target = Size(16, 16);
    DibBufferPtr b = LoadPictureBuffer(*item, 0, target);
    ASSERT_TRUE(b);
    EXPECT_EQ(converted, 0) << "only when mUseZelFile is set";
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 16);

    item->SetUseZelFile(2);
    b = LoadPictureBuffer(*item, 0, target);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 7) << "Zel's picture is the result";
    convertGivesPicture = false;
    b = LoadPictureBuffer(*item, 0, target);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 16) << "without one the JPEG decoder runs";
    EXPECT_EQ(converted, 2);

    item->SetTuneMode(1);
    tunedResult = Grey(5).release();
    b = LoadPictureBuffer(*item, 0, target);
    ASSERT_TRUE(b);
    EXPECT_EQ(b.get(), tunedResult);
    tunedResult = nullptr;
    EXPECT_FALSE(LoadPictureBuffer(*item, 0, target));
    EXPECT_EQ(mMessages.Ids(), std::vector<int>{IDS_NOT_ENOUGH_MEMORY})
        << "a failed conversion's message is not the tune pass's";
    tuneMessage = IDS_FILE_NOT_READABLE;
    EXPECT_FALSE(LoadPictureBuffer(*item, 0, target));
    EXPECT_EQ(mMessages.Ids(), (std::vector<int>{IDS_NOT_ENOUGH_MEMORY, IDS_FILE_NOT_READABLE}))
        << "the tune pass names its own reason";
}

}  // namespace
}  // namespace vx
