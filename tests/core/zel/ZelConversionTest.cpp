#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "../imaging/TiffFixtures.h"
#include "FakeZelEngine.h"
#include "imaging/DecodeTarget.h"
#include "imaging/DibPixels.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"
#include "zel/ZelConversion.h"

namespace vx {
namespace {

using test::FakeZelEngine;

// A picture whose every pixel tells where it is.
uint8_t Channel(int x, int y, int c) { return uint8_t(x * 16 + y * 3 + c * 60); }

class ZelConversion : public testing::Test {
protected:
    std::filesystem::path WriteJpeg(int width, int height) {
        test::JpegFixture f;
        f.width = width;
        f.height = height;
        f.quality = 100;
        const std::filesystem::path path = mRoot.Path() / "picture.jpg";
        test::WriteBytes(path, test::EncodeJpeg(f));
        return path;
    }
    std::filesystem::path WriteTiff(int width, int height) {
        test::TiffFixture f;
        f.width = uint32_t(width);
        f.length = uint32_t(height);
        f.sample = [](int x, int y, int c) { return uint16_t(Channel(x, y, c)); };
        const std::filesystem::path path = mRoot.Path() / "picture.tif";
        test::WriteBytes(path, test::EncodeTiff(f));
        return path;
    }
    std::unique_ptr<CImageObj> Item(const std::filesystem::path& path, uint32_t type, int16_t zel = 6,
                                    int16_t useZel = 2) {
        auto item = std::make_unique<CImageObj>(true, "StdImage");
        item->SetFilePath(path);
        item->SetFileType(type);
        item->SetZelFile(zel);
        item->SetUseZelFile(useZel);
        return item;
    }
    static Rect16 Size(int w, int h) {
        Rect16 r;
        r.Set(0, 0, int16_t(w), int16_t(h));
        return r;
    }

    test::TestRoot mRoot;
    FakeZelEngine mEngine;
};

TEST_F(ZelConversion, QueryGivesOnlyLevelsFromTwoUp) {
    struct Case { int32_t open; int32_t levelResult; int16_t level; int16_t expected; };
    for (const Case& c : std::vector<Case>{{0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 2, 2}, {0, 0, 4, 4},
                                            {0, 0, 6, 6}, {kZelCannotRead, 0, 6, 0}, {0, -1, 6, 0}}) {
        SCOPED_TRACE(testing::Message() << "open " << c.open << " level " << c.level);
        FakeZelEngine engine;
        engine.openResult = c.open;
        engine.levelResult = c.levelResult;
        engine.level = c.level;
        EXPECT_EQ(QueryZelFile(engine, "/any.jpg"), c.expected);
        EXPECT_EQ(engine.closed, engine.opened) << "every handle is closed";
    }
    FakeZelEngine failingWithHandle;
    failingWithHandle.openResult = kZelOutOfMemory;
    failingWithHandle.handleOnFailure = true;
    EXPECT_EQ(QueryZelFile(failingWithHandle, "/any.jpg"), 0);
    EXPECT_EQ(failingWithHandle.closed, 1) << "a handle given with a failure is closed too";
}

TEST_F(ZelConversion, OpenFailuresNameTheirReason) {
    const std::filesystem::path path = WriteJpeg(8, 8);
    struct Case { int32_t open; int message; };
    for (const Case& c : std::vector<Case>{{kZelCannotRead, IDS_FILE_NOT_READABLE},
                                            {kZelOutOfMemory, IDS_NOT_ENOUGH_MEMORY},
                                            {kZelRefused, IDS_IMAGE_FORMAT_UNSUPPORTED}}) {
        SCOPED_TRACE(c.open);
        FakeZelEngine engine;
        engine.openResult = c.open;
        engine.handleOnFailure = true;
        auto item = Item(path, FourCC("JPEG"));
        int messageId = 0;
        const Rect16 target = Size(8, 8);
        EXPECT_FALSE(ZelConvertImage(engine, *item, &target, messageId));
        EXPECT_EQ(messageId, c.message);
        EXPECT_EQ(engine.closed, 1);
        EXPECT_EQ(engine.linesIn, 0);
    }
}

TEST_F(ZelConversion, RefusedModeFallsBackToTheFileLevel) {
    auto item = Item(WriteJpeg(8, 8), FourCC("JPEG"), 4, 6);
    mEngine.modeResult = kZelRefused;
    int messageId = 0;
    const Rect16 target = Size(8, 8);
    EXPECT_TRUE(ZelConvertImage(mEngine, *item, &target, messageId));
    EXPECT_EQ(mEngine.modes, std::vector<int16_t>{6});
    EXPECT_EQ(item->GetUseZelFile(), 4);
    EXPECT_EQ(messageId, 0);
}

TEST_F(ZelConversion, OnlyJpegAndTiffItemsAreConverted) {
    auto item = Item(WriteJpeg(8, 8), FourCC("PNGf"));
    int messageId = 0;
    const Rect16 target = Size(8, 8);
    EXPECT_FALSE(ZelConvertImage(mEngine, *item, &target, messageId));
    EXPECT_EQ(mEngine.linesIn, 0);
    EXPECT_EQ(mEngine.closed, 1);
    EXPECT_EQ(item->GetUseZelFile(), 2) << "the item keeps its mode";
    EXPECT_EQ(messageId, 0);
}

TEST_F(ZelConversion, FileWithoutPixelsLeavesZelMode) {
    const std::filesystem::path path = mRoot.Path() / "broken.jpg";
    test::WriteBytes(path, {0xFF, 0xD8, 0xFF, 0xD9});
    auto item = Item(path, FourCC("JPEG"));
    int messageId = 0;
    const Rect16 target = Size(8, 8);
    EXPECT_FALSE(ZelConvertImage(mEngine, *item, &target, messageId));
    EXPECT_EQ(item->GetUseZelFile(), 0);
    EXPECT_EQ(mEngine.closed, 1);
}

TEST_F(ZelConversion, TiffLinesGoThroughTheEngineAtTheTargetSize) {
    auto item = Item(WriteTiff(6, 4), FourCC("TIFF"));
    int messageId = 0;
    Rect16 target = Size(6, 4);
    DibBufferPtr same = ZelConvertImage(mEngine, *item, &target, messageId);
    ASSERT_TRUE(same);
    EXPECT_EQ(mEngine.encodings, std::vector<int32_t>{kZelEncodingTiff}) << "RGB TIFF lines are announced";
    const uint8_t* bits = DibBuffer::GetBits(same.get());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const uint8_t* p = bits + (y * 6 + x) * 4;
            EXPECT_EQ(p[2], Channel(x, y, 0));
            EXPECT_EQ(p[1], Channel(x, y, 1));
            EXPECT_EQ(p[0], Channel(x, y, 2));
            EXPECT_EQ(p[3], 255);
        }
    EXPECT_EQ(mEngine.closed, 1);

    FakeZelEngine engine;
    target = Size(3, 2);
    DibBufferPtr smaller = ZelConvertImage(engine, *item, &target, messageId);
    ASSERT_TRUE(smaller);
    EXPECT_EQ(DibBuffer::GetRect(smaller.get()).Width(), 3);
    EXPECT_EQ(DibBuffer::GetRect(smaller.get()).Height(), 2);
    EXPECT_EQ(engine.width, 3) << "the engine converts the target's pixels only";
}

TEST_F(ZelConversion, JpegLinesAreNotAnnounced) {
    auto item = Item(WriteJpeg(16, 16), FourCC("JPEG"));
    int messageId = 0;
    const Rect16 target = Size(4, 4);
    DibBufferPtr b = ZelConvertImage(mEngine, *item, &target, messageId);
    ASSERT_TRUE(b);
    EXPECT_TRUE(mEngine.encodings.empty());
    EXPECT_EQ(mEngine.width, 4);
    EXPECT_EQ(mEngine.height, 4);
}

TEST_F(ZelConversion, FeedingStopsWhenNoInputIsNeeded) {
    const std::vector<uint8_t> rows(4 * 3 * 3, 9);
    for (int32_t result : {kZelNoInputNeeded3, kZelNoInputNeeded7}) {
        FakeZelEngine engine;
        engine.startInputResult = result;
        EXPECT_TRUE(ZelFeedInput(engine, 7, rows.data(), 4, 3, 3));
        EXPECT_EQ(engine.linesIn, 0);
    }
    FakeZelEngine refusing;
    refusing.startInputResult = -1;
    EXPECT_FALSE(ZelFeedInput(refusing, 7, rows.data(), 4, 3, 3));
    FakeZelEngine failingEnd;
    failingEnd.endInputResult = -1;
    EXPECT_FALSE(ZelFeedInput(failingEnd, 7, rows.data(), 4, 3, 3));
    EXPECT_EQ(failingEnd.linesIn, 3);
}

TEST_F(ZelConversion, OutputIsReadWithinTheRowsLeft) {
    struct Case { std::vector<int32_t> ready; bool ok; const char* what; };
    for (const Case& c : std::vector<Case>{{{1, 2, 2}, true, "in pieces"},
                                            {{5}, true, "all at once"},
                                            {{3, 3}, false, "more lines than are left"},
                                            {{9}, false, "more lines than the picture"},
                                            {{2, 0}, false, "a stall"},
                                            {{-1}, false, "a failure"}}) {
        SCOPED_TRACE(c.what);
        FakeZelEngine engine;
        const std::vector<uint8_t> rows(4 * 5 * 3, 0x33);
        ASSERT_TRUE(ZelFeedInput(engine, 7, rows.data(), 4, 5, 3));
        engine.ready = c.ready;
        std::unique_ptr<uint8_t[]> out = ZelReadOutput(engine, 7, 4, 5, 3);
        EXPECT_EQ(out != nullptr, c.ok);
        if (out) {
            EXPECT_EQ(std::memcmp(out.get(), rows.data(), rows.size()), 0);
        }
        EXPECT_LE(engine.linesOut, 5) << "never a line past the block";
    }
}

TEST_F(ZelConversion, TunePassHandsOverItsJobAndKeepsAlpha) {
    DibBufferPtr picture = NewDibBuffer(3, 2);
    uint8_t* bits = DibBuffer::GetBits(picture.get());
    for (int i = 0; i < 6; ++i) {
        bits[i * 4] = uint8_t(10 * i);
        bits[i * 4 + 1] = uint8_t(20 * i);
        bits[i * 4 + 2] = uint8_t(30 * i);
        bits[i * 4 + 3] = uint8_t(40 * i);
    }
    CImageObj item(true, "StdImage");
    int messageId = 0;
    DibBufferPtr tuned = ZelTunePass(mEngine, picture.get(), item, "/data/01.tif", messageId);
    ASSERT_TRUE(tuned);
    EXPECT_NE(tuned.get(), picture.get());
    EXPECT_EQ(std::memcmp(DibBuffer::GetBits(tuned.get()), bits, 6 * 4), 0)
        << "the fake passes the colours through; alpha comes from the picture";
    EXPECT_EQ(mEngine.encodings, std::vector<int32_t>{kZelEncodingTune});
    ASSERT_EQ(mEngine.jobRecord.size(), kZelJobRecordBytes);
    std::vector<uint8_t> expected(kZelJobRecordBytes, 0);
    expected[8] = 1;
    expected[16] = 5;
    EXPECT_EQ(mEngine.jobRecord, expected);
    EXPECT_EQ(mEngine.closed, 1);
}

TEST_F(ZelConversion, TunePassFailuresNameTheReference) {
    DibBufferPtr picture = NewDibBuffer(2, 2);
    CImageObj item(true, "StdImage");
    struct Case { int32_t open; int32_t encoding; int32_t job; int32_t start; int message; const char* what; };
    for (const Case& c : std::vector<Case>{
             {kZelCannotRead, 0, 0, 0, IDS_FILE_NOT_READABLE, "missing reference"},
             {0, kZelRefused, 0, 0, IDS_FILE_NOT_READABLE, "encoding refused"},
             {0, 0, kZelCannotRead, 0, IDS_FILE_NOT_READABLE, "damaged reference"},
             {kZelOutOfMemory, 0, 0, 0, IDS_NOT_ENOUGH_MEMORY, "no memory to open"},
             {0, 0, 0, -1, IDS_NOT_ENOUGH_MEMORY, "input refused"}}) {
        SCOPED_TRACE(c.what);
        FakeZelEngine engine;
        engine.openResult = c.open;
        engine.encodingResult = c.encoding;
        engine.jobRecordResult = c.job;
        engine.startInputResult = c.start;
        int messageId = 0;
        EXPECT_FALSE(ZelTunePass(engine, picture.get(), item, "/data/01.tif", messageId));
        EXPECT_EQ(messageId, c.message);
        EXPECT_EQ(engine.closed, engine.opened);
    }
}

}  // namespace
}  // namespace vx
