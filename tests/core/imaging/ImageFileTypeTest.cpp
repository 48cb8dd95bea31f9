#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "imaging/ImageFileType.h"
#include "JpegFixtures.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

/// A bitmap file start: file header, then an info header of `infoSize` bytes with
/// `bits` per pixel, padded to the 54 bytes the detection reads.
std::vector<uint8_t> Bitmap(uint32_t infoSize, uint16_t bits) {
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    for (int i = 0; i < 4; ++i) b[14 + i] = uint8_t(infoSize >> (8 * i));
    b[28] = uint8_t(bits);
    b[29] = uint8_t(bits >> 8);
    return b;
}

struct TypeCase {
    const char* name;
    std::optional<std::vector<uint8_t>> content;  // nullopt: the file does not exist
    const char* type;                             // nullptr: not recognised
};

TEST(DetectImageFileType, TellsTypesByExtensionAndFirstBytes) {
    const std::vector<uint8_t> tiffLittle = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const std::vector<uint8_t> tiffBig = {'M', 'M', 0, 42, 0, 0, 0, 8};
    const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F'};
    std::vector<uint8_t> shortBitmap = Bitmap(40, 24);
    shortBitmap.resize(20);
    const std::vector<TypeCase> cases = {
        {"x.EPS", std::nullopt, "EPSF"},
        {"x.eps", std::nullopt, "EPSF"},
        {"x.eps", std::vector<uint8_t>{0xFF, 0xD8, 0, 0, 0, 0, 0, 0}, "EPSF"},  // never read
        {"x.eff", std::nullopt, "EFF "},
        {".eff", std::nullopt, "EFF "},
        {"tiff", tiffLittle, "TIFF"},
        {"tiff", tiffBig, "TIFF"},
        {"photo.jpg", jpeg, "JPEG"},
        {"photo.tif", jpeg, "JPEG"},  // the bytes decide, not the extension
        {"picture.bmp", Bitmap(40, 24), "BMPf"},
        {"picture.bmp", Bitmap(108, 24), nullptr},
        {"picture.bmp", Bitmap(124, 24), nullptr},
        {"picture.bmp", Bitmap(40, 32), nullptr},
        {"picture.bmp", shortBitmap, nullptr},
        {"three.jpg", std::vector<uint8_t>{0xFF, 0xD8, 0xFF}, nullptr},
        {"empty.jpg", std::vector<uint8_t>{}, nullptr},
        {"missing.jpg", std::nullopt, nullptr},
        {"anim.gif", std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 1, 0}, nullptr},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestRoot root;
        const auto path = root.Path() / c.name;
        if (c.content) test::WriteBytes(path, *c.content);
        uint32_t code = 12345;
        const int result = DetectImageFileType(path, code);
        if (c.type) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(FourCCText(code), c.type);
        } else {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(code, 0u);
        }
    }
}

}  // namespace
}  // namespace vx
