#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "../imaging/IfdWriter.h"
#include "../imaging/JpegFixtures.h"
#include "model/CImageObj.h"
#include "model/ImageOpenHooks.h"
#include "model/ImageInfoReaders.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "zel/ZelConversion.h"

namespace vx {
namespace {

class InstalledZel : public testing::Test {
protected:
    InstalledZel() : mPorts(&mMessages) { InstallZel(); }
    ~InstalledZel() override {
        SetPictureLoaderHooks({});
        SetImageOpenHooks({});
    }

    std::unique_ptr<CImageObj> ExifPrintItem() {
        test::IfdWriter w;
        w.Undefined(test::IfdWriter::kExif, 0x9000, {'0', '2', '3', '0'});
        std::vector<uint8_t> app1 = {'E', 'x', 'i', 'f', 0, 0};
        const std::vector<uint8_t> tiff = w.Build();
        app1.insert(app1.end(), tiff.begin(), tiff.end());
        test::JpegFixture f;
        f.width = 40;
        f.height = 30;
        f.markers = {{JPEG_APP0 + 1, app1}};
        const std::filesystem::path path = mRoot.Path() / "print.jpg";
        test::WriteBytes(path, test::EncodeJpeg(f));
        auto item = std::make_unique<CImageObj>(true, "StdImage");
        item->SetFilePath(path);
        EXPECT_TRUE(ReadJpegInfo(*item));
        item->SetFileType(FourCC("JPEG"));
        item->SetZelFile(GetImageOpenHooks().queryZelFile(path));
        item->SetUseZelFile(item->GetZelFile());
        return item;
    }

    test::TestRoot mRoot;
    test::RecordingMessagePort mMessages;
    test::ScopedPorts mPorts;
};

TEST_F(InstalledZel, OpeningAsksTheLevelAndLoadingConverts) {
    std::unique_ptr<CImageObj> item = ExifPrintItem();
    EXPECT_EQ(item->GetZelFile(), 2);
    Rect16 target;
    target.Set(0, 0, 20, 15);
    DibBufferPtr picture = LoadPictureBuffer(*item, kPictureModePreview, target);
    ASSERT_TRUE(picture);
    EXPECT_EQ(DibBuffer::GetRect(picture.get()).Width(), 20);
    EXPECT_EQ(item->GetUseZelFile(), 2);
    EXPECT_TRUE(mMessages.Ids().empty());
}

TEST_F(InstalledZel, TunePassWithoutItsReferenceSaysTheFileIsUnreadable) {
    std::unique_ptr<CImageObj> item = ExifPrintItem();
    item->SetTuneMode(1);
    Rect16 target;
    target.Set(0, 0, 20, 15);
    EXPECT_TRUE(LoadPictureBuffer(*item, kPictureModePreview, target)) << "the build's 01.tif is used";
    test::TestRoot emptyData;
    test::ScopedEnv data("VELLICOREX_DATA_DIR", emptyData.Path().string());
    EXPECT_FALSE(LoadPictureBuffer(*item, kPictureModePreview, target));
    EXPECT_EQ(mMessages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
}

}  // namespace
}  // namespace vx
