#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "imaging/Resampler.h"

namespace vx {
namespace {

struct Destroy {
    void operator()(ResamplerContext* c) const { ResamplerDestroy(c); }
};
using Context = std::unique_ptr<ResamplerContext, Destroy>;

Context NewContext() {
    ResamplerContext* raw = nullptr;
    EXPECT_EQ(ResamplerCreate(&raw), kResamplerOk);
    return Context(raw);
}

PictureDescription Desc(int w, int h, uint32_t format = kPixelFormatBGRA8) {
    return PictureDescription{w, h, format};
}

/// A context begun for w x h to tw x th (kind 0, row mode 0).
Context Begun(int w, int h, int tw, int th) {
    Context c = NewContext();
    const PictureDescription s = Desc(w, h), t = Desc(tw, th);
    EXPECT_EQ(ResamplerBegin(&s, &t, 0, 0, c.get()), kResamplerOk);
    return c;
}

TEST(Resampler, ProtocolRefusesWhatIsOutOfTurn) {
    std::vector<uint8_t> row(64, 1);
    struct Case {
        const char* what;
        std::function<int32_t()> act;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {"get with nothing ready", [&] { return ResamplerGetRow(row.data(), Begun(4, 4, 4, 4).get()); },
         kResamplerNoRow},
        {"put after the last row", [&] {
             Context c = Begun(4, 2, 4, 2);
             for (int i = 0; i < 2; ++i) {
                 EXPECT_EQ(ResamplerPutRow(row.data(), c.get()), 1);
                 EXPECT_EQ(ResamplerGetRow(row.data(), c.get()), kResamplerOk);
             }
             return ResamplerPutRow(row.data(), c.get());
         }, kResamplerNoRow},
        {"null row put", [&] { return ResamplerPutRow(nullptr, Begun(4, 4, 4, 4).get()); },
         kResamplerNullRow},
        {"null row get", [&] { return ResamplerGetRow(nullptr, Begun(4, 4, 4, 4).get()); },
         kResamplerNullRow},
        {"put before begin", [&] { return ResamplerPutRow(row.data(), NewContext().get()); },
         kResamplerBadState},
        {"begin on an ended context", [&] {
             Context c = NewContext();
             EXPECT_EQ(ResamplerEnd(c.get()), kResamplerOk);
             const PictureDescription d = Desc(4, 4);
             return ResamplerBegin(&d, &d, 0, 0, c.get());
         }, kResamplerBadState},
        {"put on an ended context", [&] {
             Context c = Begun(4, 4, 4, 4);
             ResamplerEnd(c.get());
             return ResamplerPutRow(row.data(), c.get());
         }, kResamplerBadState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.act(), c.expected);
    }
}

TEST(Resampler, BeginChecksItsArguments) {
    struct Case {
        const char* what;
        PictureDescription source, target;
        int32_t kind, rowMode;
        int32_t expected;
    };
    const uint32_t other = 0x04083210;
    const std::vector<Case> cases = {
        {"different format codes", Desc(8, 8), Desc(8, 8, other), 0, 0, kResamplerBadState},
        {"source width 0", Desc(0, 8), Desc(8, 8), 0, 0, kResamplerBadSize},
        {"target height 0", Desc(8, 8), Desc(8, 0), 0, 0, kResamplerBadSize},
        {"kind 3 not offered", Desc(8, 8), Desc(8, 8), 3, 0, kResamplerBadState},
        {"kind 8", Desc(8, 8), Desc(8, 8), 8, 0, kResamplerBadState},
        {"small target forced to kind 0", Desc(8, 8), Desc(3, 100), 2, 0, kResamplerOk},
        {"row mode 1 not offered", Desc(8, 8), Desc(8, 8), 0, 1, kResamplerBadState},
        {"component width 3 bytes", Desc(8, 8, 0x04183012), Desc(8, 8, 0x04183012), 0, 0,
         kResamplerBadState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Context ctx = NewContext();
        EXPECT_EQ(ResamplerBegin(&c.source, &c.target, c.kind, c.rowMode, ctx.get()), c.expected);
    }
    Context ctx = NewContext();
    const PictureDescription d = Desc(4, 4);
    EXPECT_EQ(ResamplerBegin(nullptr, &d, 0, 0, ctx.get()), kResamplerBadState);
    EXPECT_EQ(ResamplerBegin(&d, nullptr, 0, 0, ctx.get()), kResamplerBadState);
    EXPECT_EQ(ResamplerBegin(&d, &d, 0, 0, nullptr), kResamplerBadState);
    ResamplerDestroy(nullptr);
}

TEST(Resampler, PutWhileRowsWaitChangesNothing) {
    Context c = Begun(2, 2, 4, 4);
    const std::vector<uint8_t> first = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<uint8_t> second(8, 9);
    ASSERT_EQ(ResamplerPutRow(first.data(), c.get()), 2);
    EXPECT_EQ(ResamplerPutRow(second.data(), c.get()), kResamplerNoRow);
    std::vector<uint8_t> out(16);
    const std::vector<uint8_t> doubled = {1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 5, 6, 7, 8};
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(ResamplerGetRow(out.data(), c.get()), kResamplerOk);
        EXPECT_EQ(out, doubled);
    }
    EXPECT_EQ(ResamplerGetRow(out.data(), c.get()), kResamplerNoRow);
    // The refused row was not counted: the next put is source row 1.
    EXPECT_EQ(ResamplerPutRow(second.data(), c.get()), 2);
}

struct PixelCase {
    const char* what;
    uint32_t format;
    int w, h, tw, th;
    std::vector<int> columns;   // source column of each target column
    std::vector<int> rows;      // source row of each target row
    std::vector<int> reported;  // each put's report: rows ready, or -1004 when all are out
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.what; }

class ResamplerPixels : public testing::TestWithParam<PixelCase> {};

TEST_P(ResamplerPixels, EveryTargetPixelCopiesItsNearestSourcePixel) {
    const PixelCase& c = GetParam();
    const size_t pixel = size_t(c.format >> 24) * ((c.format >> 19) & 0x1F);
    // Byte k of source pixel (x, y) is a function of x, y and k alone.
    auto sample = [&](int x, int y, size_t k) { return uint8_t(x * 29 + y * 53 + int(k) * 7 + 1); };
    std::vector<uint8_t> source(size_t(c.w * c.h) * pixel);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            for (size_t k = 0; k < pixel; ++k) source[(size_t(y * c.w + x)) * pixel + k] = sample(x, y, k);

    Context ctx = NewContext();
    const PictureDescription s = Desc(c.w, c.h, c.format), t = Desc(c.tw, c.th, c.format);
    ASSERT_EQ(ResamplerBegin(&s, &t, 0, 0, ctx.get()), kResamplerOk);
    std::vector<uint8_t> target(size_t(c.tw * c.th) * pixel + 1, 0xEE);  // one guard byte
    std::vector<int> reported;
    size_t taken = 0;
    for (int y = 0; y < c.h; ++y) {
        const int32_t n = ResamplerPutRow(&source[size_t(y * c.w) * pixel], ctx.get());
        reported.push_back(n);
        ASSERT_TRUE(n >= 0 || n == kResamplerNoRow) << n;
        for (int i = 0; i < n; ++i, ++taken)
            ASSERT_EQ(ResamplerGetRow(&target[taken * size_t(c.tw) * pixel], ctx.get()), kResamplerOk);
    }
    EXPECT_EQ(reported, c.reported);
    ASSERT_EQ(taken, size_t(c.th));
    EXPECT_EQ(target.back(), 0xEE);
    for (int j = 0; j < c.th; ++j)
        for (int i = 0; i < c.tw; ++i)
            for (size_t k = 0; k < pixel; ++k)
                ASSERT_EQ(target[size_t(j * c.tw + i) * pixel + k], sample(c.columns[size_t(i)], c.rows[size_t(j)], k))
                    << "target pixel " << i << "," << j << " byte " << k;
}

constexpr uint32_t kRgb8 = 0x03080012;     // 3 components of 1 byte
constexpr uint32_t kBgra16 = 0x04103012;   // 4 components of 2 bytes

INSTANTIATE_TEST_SUITE_P(Resampler, ResamplerPixels, testing::Values(
    PixelCase{"EqualSizes", kPixelFormatBGRA8, 3, 3, 3, 3, {0, 1, 2}, {0, 1, 2}, {1, 1, 1}},
    PixelCase{"Halving", kPixelFormatBGRA8, 4, 4, 2, 2, {0, 2}, {0, 2}, {1, 0, 1, kResamplerNoRow}},
    PixelCase{"Doubling", kPixelFormatBGRA8, 2, 2, 4, 4, {0, 0, 1, 1}, {0, 0, 1, 1}, {2, 2}},
    PixelCase{"FiveToThree", kPixelFormatBGRA8, 5, 5, 3, 3, {0, 1, 3}, {0, 1, 3}, {1, 1, 0, 1, kResamplerNoRow}},
    PixelCase{"ThreeToSeven", kPixelFormatBGRA8, 3, 3, 7, 7, {0, 0, 0, 1, 1, 2, 2},
              {0, 0, 0, 1, 1, 2, 2}, {3, 2, 2}},
    PixelCase{"RowsOnly", kPixelFormatBGRA8, 2, 5, 2, 3, {0, 1}, {0, 1, 3}, {1, 1, 0, 1, kResamplerNoRow}},
    PixelCase{"TwoByteComponents", kBgra16, 3, 2, 7, 1, {0, 0, 0, 1, 1, 2, 2}, {0}, {1, kResamplerNoRow}},
    PixelCase{"ThreeComponents", kRgb8, 5, 1, 3, 2, {0, 1, 3}, {0, 0}, {2}}),
    [](const testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace vx
