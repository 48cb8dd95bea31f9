#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "../imaging/BmpFixtures.h"
#include "../imaging/EpsFixtures.h"
#include "../imaging/JpegFixtures.h"
#include "../imaging/TiffFixtures.h"
#include "imaging/BmpReader.h"
#include "imaging/EpsReader.h"
#include "imaging/TiffReader.h"
#include "model/CImageObj.h"
#include "model/PictureLoader.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bmp() {
    test::BmpFixture s;
    s.pixels = test::StoredRows(5, 3, 24, false, [](int x, int y) { return uint32_t(x * 40 + y); });
    return test::EncodeBmp(s);
}

std::vector<uint8_t> Tiff(uint16_t compression = COMPRESSION_NONE) {
    test::TiffFixture s;
    s.compression = compression;
    return test::EncodeTiff(s);
}

std::vector<uint8_t> Eps(const char* imageData = nullptr) {
    test::EpsFixture s;
    s.data.assign(4 * 3 * 3, 0x40);
    if (imageData) s.imageDataLine = imageData;
    return test::EncodeEps(s);
}

struct Kind {
    const char* what;
    const char* name;
    std::function<std::vector<uint8_t>()> good;
    std::function<bool(const fs::path&, ImageDescription&)> describe;
    std::vector<uint8_t> unsupported;  // a file of the kind that the decoder refuses
};

class PictureDecoders : public testing::Test {
protected:
    test::TestRoot mRoot;
    test::RecordingMessagePort mMessages;
    test::ScopedPorts mPorts{&mMessages};
};

TEST_F(PictureDecoders, LoadThePictureOrShowWhyNot) {
    bool icc = false;
    const std::vector<Kind> kinds = {
        {"bitmap", "a.bmp", Bmp, [](const fs::path& p, ImageDescription& d) { return ReadBmpInfo(p, d); },
         [] { std::vector<uint8_t> b = Bmp(); b[28] = 2; return b; }()},
        {"TIFF", "a.tif", [] { return Tiff(); },
         [&icc](const fs::path& p, ImageDescription& d) { return ReadTiffInfo(p, d, icc); }, Tiff(COMPRESSION_LZW)},
        {"EPS", "a.eps", [] { return Eps(); },
         [&icc](const fs::path& p, ImageDescription& d) { return ReadEpsInfo(p, d, icc); },
         Eps("4 3 8 3 0 4 9")},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.what);
        const fs::path path = mRoot.Path() / k.name;
        test::WriteBytes(path, k.good());
        CImageObj item(true, "StdImage");
        item.SetFilePath(path);
        ImageDescription d;
        ASSERT_TRUE(k.describe(path, d));
        item.SetDescription(d);

        Rect16 target;
        target.Set(0, 0, 8, 6);
        mMessages.shown.clear();
        DibBufferPtr b = LoadPictureBuffer(item, kPictureModePreview, target);
        ASSERT_TRUE(b);
        EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), d.width);  // no larger than the picture
        EXPECT_TRUE(mMessages.shown.empty());

        // The file changes after it was described.
        const std::vector<uint8_t> good = k.good();
        const std::vector<std::pair<std::vector<uint8_t>, int>> spoiled = {
            {std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() / 2)), IDS_FILE_NOT_READABLE},
            {{}, IDS_FILE_NOT_READABLE},
            {k.unsupported, IDS_IMAGE_FORMAT_UNSUPPORTED},
        };
        for (const auto& [bytes, message] : spoiled) {
            test::WriteBytes(path, bytes);
            mMessages.shown.clear();
            EXPECT_FALSE(LoadPictureBuffer(item, kPictureModePreview, target));
            ASSERT_EQ(mMessages.shown.size(), 1u);
            EXPECT_EQ(mMessages.shown[0].id, message);
        }
    }
}

}  // namespace
}  // namespace vx
