#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/MemoryByteSource.h"
#include "imaging/PsdReader.h"
#include "JpegFixtures.h"
#include "platform/system/FourCC.h"
#include "PsdWriter.h"
#include "support/TestFolders.h"
#include "TestBuffers.h"

namespace vx {
namespace {

using test::PsdFixture;
using test::ResourceBuilder;

TEST(ReadPsdHeader, MapsEveryColourModeAndItsDepth) {
    struct Case {
        uint16_t mode;
        uint16_t channels;
        uint16_t bits;
        const char* code;  // null: false
        uint16_t depth;
    };
    const std::vector<Case> cases = {
        {0, 1, 1, " B&W", 0},  {1, 1, 16, "GRAY", 16}, {2, 1, 8, "RGB ", 8},   {3, 3, 8, "RGB ", 24},
        {3, 4, 16, "RGB ", 64}, {4, 5, 8, "CMYK", 40}, {5, 1, 8, nullptr, 0},  {6, 3, 8, nullptr, 0},
        {7, 2, 8, "Mult", 16}, {8, 1, 8, " Duo", 0},  {9, 3, 8, "Lab ", 0},    {10, 3, 8, nullptr, 0},
        {3, 0, 8, nullptr, 0}, {3, 57, 8, nullptr, 0}, {3, 3, 7, nullptr, 0}, {3, 56, 32, "RGB ", 1792},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.channels << " x " << c.bits);
        PsdFixture fixture;
        fixture.mode = c.mode;
        fixture.channels = c.channels;
        fixture.bits = c.bits;
        const std::vector<uint8_t> file = test::EncodePsd(fixture);
        MemoryByteSource source(file.data(), file.size());
        uint32_t code = 0;
        uint16_t depth = 0xBEEF;
        ASSERT_EQ(ReadPsdHeader(source, code, depth), c.code != nullptr);
        if (!c.code) continue;
        EXPECT_EQ(FourCCText(code), c.code);
        EXPECT_EQ(depth, c.depth);
    }
    std::vector<uint8_t> file = test::EncodePsd(PsdFixture{});
    file[3] = 'C';
    MemoryByteSource wrongSignature(file.data(), file.size());
    MemoryByteSource shortFile(file.data(), 25);
    uint32_t code = 0;
    uint16_t depth = 0;
    EXPECT_FALSE(ReadPsdHeader(wrongSignature, code, depth));
    file[3] = 'S';
    EXPECT_FALSE(ReadPsdHeader(shortFile, code, depth));
}

/// A red picture of 12 x 8 pixels, as a thumbnail resource holds it.
std::vector<uint8_t> RedThumbnailData() {
    test::JpegFixture fixture;
    fixture.width = 12;
    fixture.height = 8;
    fixture.pixel = [](int, int, uint8_t* c) { c[0] = 240, c[1] = 0, c[2] = 0; };
    return test::ThumbnailData(test::EncodeJpeg(fixture), 12, 8);
}

class PsdFiles : public testing::Test {
protected:
    std::filesystem::path Write(const PsdFixture& fixture) { return Write(test::EncodePsd(fixture)); }
    std::filesystem::path Write(const std::vector<uint8_t>& bytes) {
        const auto path = mRoot.Path() / ("bild" + std::to_string(++mCount) + ".psd");
        test::WriteBytes(path, bytes);
        return path;
    }
    test::TestRoot mRoot;
    int mCount = 0;
};

TEST_F(PsdFiles, DecodesThumbnailResourcesWithRedAndBlueWhereTheyBelong) {
    struct Case {
        const char* what;
        std::vector<uint8_t> resources;
        bool red;  // else blue
    };
    const std::vector<Case> cases = {
        {"1036", ResourceBuilder().Add(1036, "", RedThumbnailData()).Bytes(), true},
        {"1033 is stored blue-green-red", ResourceBuilder().Add(1033, "", RedThumbnailData()).Bytes(), false},
        {"after named resources with odd data",
         ResourceBuilder().Add(1005, "Auflösung", {1, 2, 3}).Add(1057, "ab", {0, 0, 0, 1, 1}).Add(1036, "", RedThumbnailData()).Bytes(),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PsdFixture fixture;
        fixture.mode = 2;  // indexed: the colour table comes first and is skipped
        fixture.channels = 1;
        fixture.colourModeData.assign(768, 7);
        fixture.resources = c.resources;
        DibBufferPtr thumbnail = ReadPsdThumbnail(Write(fixture));
        ASSERT_TRUE(thumbnail);
        EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Width(), 12);
        EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Height(), 8);
        const auto px = test::PixelAt(thumbnail.get(), 6, 4);
        EXPECT_GT(c.red ? px[2] : px[0], 200);
        EXPECT_LT(c.red ? px[0] : px[2], 50);
    }
}

TEST_F(PsdFiles, GivesTheProfileBytesUnchanged) {
    std::vector<uint8_t> profile(333);
    for (size_t i = 0; i < profile.size(); ++i) profile[i] = uint8_t(i * 7);
    PsdFixture fixture;
    fixture.resources = ResourceBuilder().Add(1036, "", RedThumbnailData()).Add(1039, "", profile).Bytes();
    const auto path = Write(fixture);
    std::vector<uint8_t> got;
    ASSERT_TRUE(LoadPsdIccProfile(path, got));
    EXPECT_EQ(got, profile);
    EXPECT_TRUE(ReadPsdThumbnail(path));
}

TEST_F(PsdFiles, DamagedOrPlainFilesGiveNothing) {
    PsdFixture withBoth;
    const std::vector<uint8_t> thumbnail = ResourceBuilder().Add(1036, "", RedThumbnailData()).Bytes();
    withBoth.resources = ResourceBuilder().Add(1036, "", RedThumbnailData()).Add(1039, "", {1, 2, 3, 4}).Bytes();
    const std::vector<uint8_t> whole = test::EncodePsd(withBoth);
    const size_t resourcesAt = 26 + 4 + 4;

    std::vector<uint8_t> hugeColourData = whole;
    hugeColourData[26] = 0x7F;  // colour-mode data longer than the file
    std::vector<uint8_t> notEightBim = whole;
    notEightBim[resourcesAt] = 'X';
    std::vector<uint8_t> jpegLengthPastResource = whole;  // the JPEG length is cut to the resource
    jpegLengthPastResource[resourcesAt + 12 + 20] = 0x7F;
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        bool thumbnail;
        bool profile;
    };
    const std::vector<Case> cases = {
        {"whole", whole, true, true},
        {"JPEG length past its resource", jpegLengthPastResource, true, true},
        {"no resources", test::EncodePsd(PsdFixture{}), false, false},
        {"cut inside the profile", std::vector<uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(resourcesAt + thumbnail.size() + 14)), true, false},
        {"cut inside the thumbnail", std::vector<uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(resourcesAt + 200)), false, false},
        {"colour-mode data past the end", hugeColourData, false, false},
        {"resources that are no 8BIM blocks", notEightBim, false, false},
        {"no Photoshop file", test::Bytes("8BPX and more bytes than a header has, 40 or so"), false, false},
        {"empty", {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = Write(c.file);
        EXPECT_EQ(bool(ReadPsdThumbnail(path)), c.thumbnail);
        std::vector<uint8_t> profile = {9};
        EXPECT_EQ(LoadPsdIccProfile(path, profile), c.profile);
        EXPECT_EQ(profile.empty(), !c.profile);
    }
    std::vector<uint8_t> profile;
    EXPECT_FALSE(ReadPsdThumbnail(mRoot.Path() / "fehlt.psd"));
    EXPECT_FALSE(LoadPsdIccProfile(mRoot.Path() / "fehlt.psd", profile));
}

}  // namespace
}  // namespace vx
