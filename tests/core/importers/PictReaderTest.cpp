#include <gtest/gtest.h>

#include <array>

#include "ImporterFixtures.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegReader.h"
#include "imaging/MemoryByteSource.h"
#include "importers/PictReader.h"
#include "importers/PictureImport.h"
#include "importers/QtmlStartCount.h"
#include "model/CImageObj.h"
#include "model/ImageAdding.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using Bgra = std::array<uint8_t, 4>;

Bgra PixelAt(const DibBuffer* picture, int x, int y) {
    const uint8_t* p = DibBuffer::GetBits(picture) + y * DibBuffer::GetRowBytes(picture) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

DibBufferPtr DecodeBytes(const std::vector<uint8_t>& bytes, int& messageId) {
    MemoryByteSource source(bytes.data(), bytes.size());
    messageId = 0;
    return PictReader::Decode(source, messageId);
}

class PictImport : public test::ImportingTest {
protected:
    DibBufferPtr Load(const std::vector<uint8_t>& bytes, std::unique_ptr<CImageObj>& item) {
        return ImportingTest::Load(bytes, item, "picture.pct");
    }

};

TEST_F(PictImport, IndexedPixelOpcodesDrawAtTheirDestination) {
    // A 20 x 12 frame; an 8-bit PackBitsRect, a 4-bit BitsRect and a plain bitmap in it.
    const int w8 = 16, h8 = 4;
    std::vector<uint8_t> colours = {0, 0, 0, 200, 10, 20, 30, 40, 250};
    std::vector<uint8_t> rows8(size_t(w8 * h8));
    for (size_t i = 0; i < rows8.size(); ++i) rows8[i] = uint8_t(i % 7 < 4 ? 1 : i % 3);
    std::vector<uint8_t> rows4 = {0x12, 0x00, 0x21, 0x00};  // 3 x 2 pixels, rowBytes 2
    std::vector<uint8_t> rowsBitmap = {0b10100000, 0b01100000};  // 3 x 2

    for (bool fileHeader : {true, false}) {
        SCOPED_TRACE(fileHeader);
        test::PictWriter w(0, 0, 12, 20, fileHeader);
        w.Op(0x0001);  // a clip region, skipped
        w.U16(10);
        w.Rect(0, 0, 12, 20);
        w.Op(0x001A);  // a foreground colour, skipped
        w.U16(1);
        w.U16(2);
        w.U16(3);
        w.IndexedBits(0x98, w8, h8, 8, colours, rows8, w8, 2, 3);
        w.IndexedBits(0x90, 3, 2, 4, colours, rows4, 2, 8, 0);
        w.IndexedBits(0x98, 3, 2, 1, {}, rowsBitmap, 1, 10, 17, false);
        std::unique_ptr<CImageObj> item;
        DibBufferPtr picture = Load(w.Finish(), item);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(item->GetFileType(), FourCC("PICT"));
        EXPECT_EQ(item->GetDescription()->depth, 8);
        ASSERT_EQ(DibBuffer::GetRect(picture.get()).Width(), 20);
        ASSERT_EQ(DibBuffer::GetRect(picture.get()).Height(), 12);
        auto colour = [&](size_t i) { return Bgra{colours[3 * i + 2], colours[3 * i + 1], colours[3 * i], 255}; };
        for (int y = 0; y < h8; ++y)
            for (int x = 0; x < w8; ++x) ASSERT_EQ(PixelAt(picture.get(), 3 + x, 2 + y), colour(rows8[size_t(y * w8 + x)]));
        EXPECT_EQ(PixelAt(picture.get(), 0, 8), colour(1));
        EXPECT_EQ(PixelAt(picture.get(), 1, 8), colour(2));
        EXPECT_EQ(PixelAt(picture.get(), 0, 9), colour(2));
        EXPECT_EQ(PixelAt(picture.get(), 2, 9), colour(0));
        EXPECT_EQ(PixelAt(picture.get(), 17, 10), (Bgra{0, 0, 0, 255}));
        EXPECT_EQ(PixelAt(picture.get(), 18, 10), (Bgra{255, 255, 255, 255}));
        EXPECT_EQ(PixelAt(picture.get(), 18, 11), (Bgra{0, 0, 0, 255}));
        EXPECT_EQ(PixelAt(picture.get(), 0, 0), (Bgra{255, 255, 255, 255}));  // not drawn: white
    }
}

TEST(PictReader, DirectBitsExpandExactly) {
    const int width = 9, height = 3;
    std::vector<uint8_t> words = test::PatternBytes(size_t(width * height * 2), 7);
    words[0] = 0x7F;  // full white
    words[1] = 0xFF;
    words[2] = 0x04;  // 1, 1, 1
    words[3] = 0x21;
    std::vector<uint8_t> xrgb = test::PatternBytes(size_t(width * height * 4), 8);
    for (int packType : {1, 3}) {
        SCOPED_TRACE(packType);
        test::PictWriter w(0, 0, height, width, false);
        w.DirectBits(width, height, 16, packType, words, 0, 0);
        int messageId = 0;
        DibBufferPtr picture = DecodeBytes(w.Finish(), messageId);
        ASSERT_NE(picture, nullptr) << messageId;
        for (int i = 0; i < width * height; ++i) {
            const uint32_t v = (uint32_t(words[size_t(2 * i)]) << 8) | words[size_t(2 * i + 1)];
            auto expand = [](uint32_t c) { return uint8_t((c << 3) | (c >> 2)); };
            ASSERT_EQ(PixelAt(picture.get(), i % width, i / width),
                      (Bgra{expand(v & 31), expand((v >> 5) & 31), expand((v >> 10) & 31), 255}));
        }
        EXPECT_EQ(PixelAt(picture.get(), 0, 0), (Bgra{255, 255, 255, 255}));
        EXPECT_EQ(PixelAt(picture.get(), 1, 0), (Bgra{8, 8, 8, 255}));
    }
    for (int packType : {1, 2, 4}) {
        SCOPED_TRACE(packType);
        test::PictWriter w(0, 0, height, width, false);
        w.DirectBits(width, height, 32, packType, xrgb, 0, 0);
        int messageId = 0;
        DibBufferPtr picture = DecodeBytes(w.Finish(), messageId);
        ASSERT_NE(picture, nullptr) << messageId;
        for (int i = 0; i < width * height; ++i) {
            const uint8_t* p = xrgb.data() + 4 * i;
            ASSERT_EQ(PixelAt(picture.get(), i % width, i / width), (Bgra{p[3], p[2], p[1], 255}));
        }
    }
}

TEST_F(PictImport, JpegOpcodeDrawsWhatLibjpegDecodes) {
    const int width = 16, height = 8;
    std::vector<uint8_t> xrgb = test::PatternBytes(size_t(width * height * 4), 9);
    const std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(width, height, xrgb.data());
    ASSERT_TRUE(jpeg);
    test::PictWriter w(0, 0, 20, 30, true, 150u << 16);
    w.CompressedJpeg(*jpeg, width, height, 4, 10);
    std::unique_ptr<CImageObj> item;
    DibBufferPtr picture = Load(w.Finish(), item);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(item->GetDescription()->hRes, 150u);
    EXPECT_EQ(item->GetDescription()->depth, 24);
    DibBufferPtr reference = DecodeJpegFromMemory(jpeg->data(), jpeg->size());
    ASSERT_NE(reference, nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ASSERT_EQ(PixelAt(picture.get(), 10 + x, 4 + y), PixelAt(reference.get(), x, y));
    EXPECT_EQ(PixelAt(picture.get(), 9, 4), (Bgra{255, 255, 255, 255}));
}

TEST(PictReader, RefusesLinesOnlyLargeTablesNarrowRowsAndShortData) {
    int messageId = 0;
    test::PictWriter lines(0, 0, 10, 10, false);
    lines.Op(0x0020);
    lines.Rect(0, 0, 9, 9);
    lines.Op(0x00A1);  // a long comment
    lines.U16(100);
    lines.U16(3);
    lines.U8(1);
    lines.U8(2);
    lines.U8(3);
    const std::vector<uint8_t> linesOnly = lines.Finish();
    EXPECT_EQ(DecodeBytes(linesOnly, messageId), nullptr);
    EXPECT_EQ(messageId, 10526);
    MemoryByteSource source(linesOnly.data(), linesOnly.size());
    EXPECT_TRUE(PictReader::Describe(source));

    test::PictWriter table(0, 0, 2, 8, false);
    table.IndexedBits(0x98, 8, 2, 8, test::PatternBytes(300 * 3, 1), std::vector<uint8_t>(16, 3), 8, 0, 0);
    EXPECT_EQ(DecodeBytes(table.Finish(), messageId), nullptr);
    EXPECT_EQ(messageId, 10417);

    test::PictWriter narrow(0, 0, 2, 12, false);
    narrow.IndexedBits(0x98, 12, 2, 8, {0, 0, 0, 9, 9, 9}, std::vector<uint8_t>(20, 1), 10, 0, 0);
    EXPECT_EQ(DecodeBytes(narrow.Finish(), messageId), nullptr);
    EXPECT_EQ(messageId, 10417);

    test::PictWriter cut(0, 0, 4, 16, false);
    cut.IndexedBits(0x98, 16, 4, 8, {0, 0, 0, 9, 9, 9}, test::PatternBytes(64, 2), 16, 0, 0);
    std::vector<uint8_t> bytes = cut.Finish();
    bytes.resize(bytes.size() - 12);
    EXPECT_EQ(DecodeBytes(bytes, messageId), nullptr);
    EXPECT_EQ(messageId, 10417);
}

TEST_F(PictImport, EffJpegsDecodeThroughTheJpegReader) {
    const int width = 8, height = 8;
    std::vector<uint8_t> xrgb = test::PatternBytes(size_t(width * height * 4), 3);
    std::vector<uint8_t> jpeg = *EncodeJpegToMemory(width, height, xrgb.data());
    const std::vector<uint8_t> app5 = {0xFF, 0xE5, 0, 10, 'E', 'F', 'F', 'H', 'E', 'A', 'D', 0};
    jpeg.insert(jpeg.begin() + 2, app5.begin(), app5.end());
    std::unique_ptr<CImageObj> item;
    DibBufferPtr picture = Load(jpeg, item);
    ASSERT_EQ(item->GetDescription()->codecType, FourCC("EFF "));
    ASSERT_NE(picture, nullptr);
    DibBufferPtr reference = DecodeJpegFromMemory(jpeg.data(), jpeg.size());
    EXPECT_EQ(PixelAt(picture.get(), 3, 5), PixelAt(reference.get(), 3, 5));
    EXPECT_TRUE(mMessages.shown.empty());
}

}  // namespace
}  // namespace vx
