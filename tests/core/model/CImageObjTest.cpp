#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ImageItemFixtures.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ImageInfoReaders.h"
#include "model/ObjectList.h"
#include "platform/system/Folders.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

DibBufferPtr Picture(int width, int height, uint8_t fill) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    std::memset(DibBuffer::GetBits(raw), fill, size_t(width) * size_t(height) * 4);
    return DibBufferPtr(raw);
}

/// The stored working bitmap: its size and first pixel byte, or (0, 0, -1) when none.
struct Stored {
    int width = 0, height = 0, firstByte = -1;
    friend bool operator==(const Stored&, const Stored&) = default;
};

Stored ReadStored(const CImageObj& item) {
    std::vector<uint8_t> bytes;
    Stored s;
    if (!item.GetWorkingTempBuffer() || !item.GetWorkingTempBuffer()->ReadAll(bytes) ||
        bytes.size() < DibBuffer::kHeaderBytes)
        return s;
    auto* dib = reinterpret_cast<DibBuffer*>(bytes.data());
    EXPECT_TRUE(DibBuffer::IsNotOwned(dib)) << "stored views must never be freed";
    s.width = DibBuffer::GetRect(dib).Width();
    s.height = DibBuffer::GetRect(dib).Height();
    s.firstByte = bytes.size() > DibBuffer::kHeaderBytes ? bytes[DibBuffer::kHeaderBytes] : -1;
    return s;
}

class ImageItem : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTempFolder()); }

    /// An item described from a JPEG of width x height written into the test folder.
    std::unique_ptr<CImageObj> JpegItem(int width, int height, const char* name = "photo.jpg") {
        test::JpegFixture fixture;
        fixture.width = width;
        fixture.height = height;
        return test::DescribedJpegItem(mRoot.Path() / name, fixture);
    }

    test::TestRoot mRoot;
    test::RecordingMessagePort mMessages;
    test::ScopedPorts mPorts{&mMessages};
};

TEST_F(ImageItem, IsSaveFileTellsWhetherABitmapWasStored) {
    CImageObj item(true, "StdImage");
    PropertyValue v;
    EXPECT_TRUE(item.Access("IsSaveFile", false, v));
    EXPECT_EQ(v, PropertyValue(int32_t(0)));
    PropertyValue one = int32_t(1);
    EXPECT_TRUE(item.Access("IsSaveFile", true, one));  // answered, but changes nothing
    EXPECT_EQ(test::Read(item, "IsSaveFile"), PropertyValue(int32_t(0)));

    PropertyValue picture = Picture(4, 3, 7).release();
    EXPECT_TRUE(item.Access("mWorld", true, picture));
    EXPECT_EQ(test::Read(item, "IsSaveFile"), PropertyValue(int32_t(1)));
    EXPECT_EQ(ReadStored(item), (Stored{4, 3, 7}));
}

TEST_F(ImageItem, AFailedStoreKeepsTheOldBitmap) {
    CImageObj item(true);
    ASSERT_TRUE(item.SetWorkingBitmap(Picture(4, 3, 7)));
    EXPECT_FALSE(item.SetWorkingBitmap(nullptr));
    PropertyValue none = static_cast<DibBuffer*>(nullptr);
    item.Access("mWorld", true, none);
    EXPECT_EQ(ReadStored(item), (Stored{4, 3, 7}));
    {
        test::ScopedEnv gone("VELLICOREX_TEMP_DIR", (mRoot.Path() / "gone").string());
        EXPECT_FALSE(item.SetWorkingBitmap(Picture(8, 8, 9)));
    }
    EXPECT_EQ(ReadStored(item), (Stored{4, 3, 7}));
    EXPECT_EQ(item.IsSaveFile(), 1);
}

TEST_F(ImageItem, GivesTheBitmapAddressOnlyWhileItIsMapped) {
    CImageObj item(true);
    EXPECT_EQ(item.GetWorkingBuffer(), nullptr);
    ASSERT_TRUE(item.SetWorkingBitmap(Picture(4, 3, 7)));
    EXPECT_EQ(item.GetWorkingBuffer(), nullptr);
    void* view = nullptr;
    ASSERT_TRUE(item.GetWorkingTempBuffer()->Map(&view));
    EXPECT_EQ(item.GetWorkingBuffer(), view);
    EXPECT_EQ(test::Read(item, "mWorld"), PropertyValue(static_cast<DibBuffer*>(view)));
    DibBuffer::Free(item.GetWorkingBuffer());  // a view: must be left alone
    EXPECT_EQ(DibBuffer::GetRect(item.GetWorkingBuffer()).Width(), 4);
    item.GetWorkingTempBuffer()->Unmap();
    EXPECT_EQ(item.GetWorkingBuffer(), nullptr);
}

TEST_F(ImageItem, DuplicatesShareTheBitmapUntilOneIsMadeUnique) {
    CImageObj source(true), copy(true);
    ImageDescription eps;
    eps.codecType = FourCC("raw ");
    eps.width = 4;
    eps.height = 3;
    eps.epsImageData = std::array<int16_t, 7>{4, 3, 8, 3, 1, 4, 1};
    source.SetDescription(eps);
    ASSERT_TRUE(source.SetWorkingBitmap(Picture(4, 3, 7)));

    ASSERT_TRUE(copy.DuplicateImageData(source));
    EXPECT_EQ(copy.GetDescription(), source.GetDescription()) << "the EPS tail comes along";
    EXPECT_EQ(copy.GetWorkingTempBuffer(), source.GetWorkingTempBuffer());
    EXPECT_EQ(source.GetWorkingTempBuffer()->RefCount(), 2);

    // An edit in place on the copy must not reach the source.
    ASSERT_TRUE(copy.MakeWorkingBitmapUnique());
    EXPECT_NE(copy.GetWorkingTempBuffer(), source.GetWorkingTempBuffer());
    EXPECT_EQ(source.GetWorkingTempBuffer()->RefCount(), 1);
    void* view = nullptr;
    ASSERT_TRUE(copy.GetWorkingTempBuffer()->Map(&view));
    DibBuffer::GetBits(static_cast<DibBuffer*>(view))[0] = 99;
    copy.GetWorkingTempBuffer()->Unmap();
    EXPECT_EQ(ReadStored(copy), (Stored{4, 3, 99}));
    EXPECT_EQ(ReadStored(source), (Stored{4, 3, 7}));
    EXPECT_TRUE(source.MakeWorkingBitmapUnique()) << "an unshared bitmap stays as it is";
    EXPECT_EQ(ReadStored(source), (Stored{4, 3, 7}));

    CImageObj empty(true);
    EXPECT_FALSE(copy.DuplicateImageData(empty));
    EXPECT_FALSE(copy.GetDescription().has_value());
}

TEST_F(ImageItem, CopyFromTakesEverythingButTheImageData) {
    CImageObj source(true, "StdImage"), target(true, "BaseImage");
    source.SetRotate(4);
    source.SetColorSpace(FourCC("RGB "));
    source.SetLabelSelection(0x80000001u);
    source.SetCrop({1, 2, 3, 4});
    source.SetPosition(100, 200);
    source.SetFilePath("/bilder/a.jpg");
    source.SetCaptionText("Sommer");
    source.SetLabelFontName(std::string(kDefaultImageFontFace));
    source.SetFrameColorValue(0xFFFFFF);
    source.SetColorModeMark(3);
    ExifRecord exif;
    exif.maker = "Kamerawerk";
    source.SetExif(exif);
    ImageDescription d;
    d.width = 5;
    source.SetDescription(d);
    ASSERT_TRUE(source.SetWorkingBitmap(Picture(5, 5, 1)));

    target.CopyFrom(source, false);
    EXPECT_EQ(target.GetRotate(), 4);
    EXPECT_EQ(target.GetColorSpace(), FourCC("RGB "));
    EXPECT_EQ(target.GetLabelSelection(), 0x80000001u);
    EXPECT_EQ(target.GetCrop(), (LayoutRect{1, 2, 3, 4}));
    EXPECT_EQ(target.GetPosition(), (LayoutPoint{100, 200}));
    EXPECT_EQ(target.GetName(), "StdImage");
    EXPECT_EQ(target.GetFilePath(), "/bilder/a.jpg");
    EXPECT_EQ(target.GetCaptionText(), "Sommer");
    EXPECT_EQ(target.GetLabelFontName(), "DejaVu Sans");
    EXPECT_EQ(target.GetFrameColorValue(), 0xFFFFFFu);
    EXPECT_EQ(target.GetColorModeMark(), 3);
    EXPECT_EQ(target.GetExif().maker, "Kamerawerk");
    EXPECT_FALSE(target.GetDescription().has_value());
    EXPECT_EQ(target.IsSaveFile(), 0);
    EXPECT_NE(target.GetObjectId(), source.GetObjectId());

    CTextObj text(true);
    EXPECT_THROW(target.CopyFrom(text, false), std::invalid_argument);
}

TEST_F(ImageItem, RebuildsTheBitmapAtFullSizeOnlyFromItsFile) {
    std::unique_ptr<CImageObj> item = JpegItem(40, 24);
    ASSERT_TRUE(item->RebuildBitmap());
    EXPECT_EQ(ReadStored(*item).width, 40);
    EXPECT_EQ(ReadStored(*item).height, 24);
    item->SetRotate(1);
    ASSERT_TRUE(item->RebuildBitmap());
    EXPECT_EQ(ReadStored(*item).width, 24);
    EXPECT_EQ(ReadStored(*item).height, 40);

    std::filesystem::remove(item->GetFilePath());
    EXPECT_FALSE(item->RebuildBitmap()) << "no picture must never print the preview";
    EXPECT_EQ(mMessages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
    EXPECT_EQ(ReadStored(*item).width, 24);

    CImageObj undescribed(true);
    EXPECT_FALSE(undescribed.RebuildBitmap());
}

TEST_F(ImageItem, DescribesItsJpegOrNothing) {
    test::JpegFixture cmyk;
    cmyk.space = JCS_CMYK;
    cmyk.markers.emplace_back(JPEG_APP0 + 2, test::IccChunk(1, 1, std::vector<uint8_t>(200, 'p')));
    cmyk.markers.emplace_back(JPEG_APP0 + 1, test::ExifBuilder().Ascii(272, "KW-9").Build(true));
    const auto path = mRoot.Path() / "cmyk.jpg";
    test::WriteBytes(path, test::EncodeJpeg(cmyk));
    CImageObj item(true);
    item.SetFilePath(path);
    ASSERT_TRUE(ReadJpegInfo(item));
    EXPECT_EQ(item.GetDescription()->codecType, FourCC("jpeg"));
    EXPECT_EQ(item.GetDescription()->depth, 32);
    EXPECT_EQ(item.GetColorSpace(), FourCC("CMYK"));
    EXPECT_EQ(item.GetFileEmbedded(), 1);
    EXPECT_EQ(item.GetExif().model, "KW-9");

    test::WriteBytes(path, test::Bytes("kaputt"));
    EXPECT_FALSE(ReadJpegInfo(item));
    EXPECT_FALSE(item.GetDescription().has_value()) << "a failed read leaves no description";
}

TEST_F(ImageItem, TakesTheFileFacts) {
    const auto path = mRoot.Path() / "facts.jpg";
    test::WriteBytes(path, std::vector<uint8_t>(1234, 1));
    CImageObj item(true);
    ASSERT_TRUE(item.TakeFileFacts(path));
    EXPECT_EQ(item.GetFilePath(), path);
    EXPECT_EQ(item.GetFileSize(), 1234u);
    EXPECT_NE(item.GetLastWriteTime(), CImageObj::Time{});
    EXPECT_LE(item.GetCreationTime(), item.GetLastWriteTime());

    EXPECT_FALSE(item.TakeFileFacts(mRoot.Path() / "missing.jpg"));
    EXPECT_FALSE(item.TakeFileFacts(mRoot.Path()));
    EXPECT_EQ(item.GetFileSize(), 1234u);
}

TEST_F(ImageItem, DeepCopiesOfALayoutShareImageDataOnlyWhenAsked) {
    CLayoutSetting layout(true);
    std::unique_ptr<CImageObj> photo = JpegItem(16, 16);
    ASSERT_TRUE(photo->SetWorkingBitmap(Picture(16, 16, 5)));
    CImageObj* original = photo.get();
    ASSERT_TRUE(AppendObject(layout.ItemListHead(), photo));

    for (bool withImageData : {false, true}) {
        SCOPED_TRACE(withImageData);
        CLayoutSetting copy(true);
        copy.CopyDeep(layout, true, true, withImageData);
        auto* image = dynamic_cast<CImageObj*>(copy.GetFirstItem());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->GetDescription().has_value(), withImageData);
        EXPECT_EQ(image->GetWorkingTempBuffer() == original->GetWorkingTempBuffer(), withImageData);
    }
    EXPECT_EQ(original->GetWorkingTempBuffer()->RefCount(), 1);
}

}  // namespace
}  // namespace vx
