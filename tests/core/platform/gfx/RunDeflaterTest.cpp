#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/RunDeflater.h"

namespace vx::gfx {
namespace {

using Bytes = std::vector<uint8_t>;

/// The stream of the input handed over in pieces of the given sizes, in turn.
Bytes Deflate(const Bytes& input, const std::vector<size_t>& pieces = {}) {
    Bytes out;
    RunDeflater deflater([&](const uint8_t* data, size_t size) {
        out.insert(out.end(), data, data + size);
        return true;
    });
    size_t at = 0;
    for (size_t k = 0; at < input.size(); ++k) {
        const size_t n = pieces.empty() ? input.size() : std::min(pieces[k % pieces.size()], input.size() - at);
        EXPECT_TRUE(deflater.Add(input.data() + at, n));
        at += n;
    }
    EXPECT_TRUE(deflater.End());
    EXPECT_EQ(deflater.Length(), out.size());
    return out;
}

/// zlib's own inflater, which checks the codes, the lengths and the checksum.
bool Inflate(const Bytes& stream, size_t size, Bytes& out) {
    out.assign(size + 1, 0);
    uLongf length = uLongf(out.size());
    if (uncompress(out.data(), &length, stream.data(), uLong(stream.size())) != Z_OK) return false;
    out.resize(length);
    return true;
}

Bytes Random(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes b(size);
    for (auto& v : b) v = uint8_t(random());
    return b;
}

/// Rows of photograph-like R,G,B: smooth colour with grain, and white between.
Bytes PictureRows(int width, int height) {
    std::mt19937 random(7);
    Bytes b;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (x < width / 8 || y % 64 < 4) {
                b.insert(b.end(), {255, 255, 255});
                continue;
            }
            const int grain = int(random() % 9) - 4;
            for (int c = 0; c < 3; ++c) b.push_back(uint8_t(std::clamp((x * (c + 1) + y * 2) / 9 % 256 + grain, 0, 255)));
        }
    return b;
}

/// 90 byte values counted 3000, 2250, 1687... (a quarter fewer each), spread over the
/// byte range and handed out in turns, so that none makes a run. The lengths of their
/// codes come so unevenly that the code of those lengths, itself, must be cut to its
/// seven bits.
Bytes SkewedCodeLengths() {
    std::mt19937 random(1);
    std::vector<uint8_t> value(256);
    std::iota(value.begin(), value.end(), 0);
    for (size_t i = 255; i > 0; --i) std::swap(value[i], value[random() % (i + 1)]);
    std::vector<uint32_t> left;
    for (uint32_t count = 3000; left.size() < 90; count = count * 3 / 4) left.push_back(std::max<uint32_t>(count, 1));
    Bytes b;
    for (bool any = true; any;) {
        any = false;
        for (size_t k = 0; k < left.size(); ++k)
            if (left[k] > 0) {
                --left[k];
                b.push_back(value[k]);
                any = true;
            }
    }
    return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(RunDeflater, ZlibInflatesWhatItWrites) {
    // Twenty symbols counted 1, 2, 3, 5, 8 and on (with the end-of-block code counted 1,
    // Fibonacci numbers) make a Huffman code 20 bits deep, beyond the 15 a stream may use.
    // Laid out without three alike in a row, so that none of them becomes a run.
    std::vector<uint32_t> left;
    for (uint32_t a = 1, b = 2; left.size() < 20; b += std::exchange(a, b)) left.push_back(a);
    Bytes skewed;
    for (;;) {
        int pick = -1;
        for (int s = 19; s >= 0 && pick < 0; --s) {
            const bool third = skewed.size() >= 2 && skewed.end()[-1] == s * 13 && skewed.end()[-2] == s * 13;
            if (left[size_t(s)] > 0 && !third) pick = s;
        }
        if (pick < 0) break;
        --left[size_t(pick)];
        skewed.push_back(uint8_t(pick * 13));
    }
    struct Case {
        const char* name;
        Bytes input;
    };
    const std::vector<Case> cases = {
        {"nothing", {}},
        {"one byte", {42}},
        {"three alike at the start, none before them", {9, 9, 9}},
        {"runs around the shortest match", {1, 2, 2, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 5}},
        {"runs around the longest match", Concat({{7}, Bytes(257, 8), {9}, Bytes(258, 8), {9}, Bytes(259, 8),
                                                  {9}, Bytes(260, 8), {9}, Bytes(517, 8)})},
        {"a white page", Bytes(3 << 20, 255)},
        {"noise over many blocks", Random(300000, 1)},
        {"code lengths that must be cut", skewed},
        {"code lengths whose own code must be cut", SkewedCodeLengths()},
        {"pictures and white", PictureRows(700, 200)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes out;
        ASSERT_TRUE(Inflate(Deflate(c.input), c.input.size(), out));
        EXPECT_TRUE(out == c.input);
    }
}

TEST(RunDeflater, InputInPiecesInflatesToTheWhole) {
    // Runs and blocks cross the pieces' borders. The stream differs from the whole's (a
    // run is found within one piece only), what it inflates to does not.
    const Bytes input = Concat({PictureRows(300, 40), Bytes(1000, 0), Random(70000, 2), Bytes(5, 6)});
    for (const std::vector<size_t>& pieces : std::vector<std::vector<size_t>>{{1}, {2, 3}, {257, 1, 4096}}) {
        SCOPED_TRACE(pieces.front());
        Bytes out;
        ASSERT_TRUE(Inflate(Deflate(input, pieces), input.size(), out));
        EXPECT_TRUE(out == input);
    }
}

TEST(RunDeflater, CompressesAsZlibsRunLengthSettingDoes) {
    struct Case {
        const char* name;
        Bytes input;
    };
    const std::vector<Case> cases = {
        {"pictures and white", PictureRows(1500, 400)},
        {"noise", Random(1 << 20, 5)},
        {"white", Bytes(1 << 22, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes zlib(compressBound(uLong(c.input.size())));
        z_stream z{};
        ASSERT_EQ(deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE), Z_OK);
        z.next_in = const_cast<Bytef*>(c.input.data());
        z.avail_in = uInt(c.input.size());
        z.next_out = zlib.data();
        z.avail_out = uInt(zlib.size());
        ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
        const double theirs = double(z.total_out);
        deflateEnd(&z);
        const double ours = double(Deflate(c.input).size());
        EXPECT_LT(ours, theirs * 1.02 + 64) << ours << " against " << theirs;
    }
}

TEST(RunDeflater, StopsWhenTheSinkRefuses) {
    int calls = 0;
    RunDeflater deflater([&](const uint8_t*, size_t) {
        ++calls;
        return false;
    });
    const Bytes noise = Random(1 << 20, 9);
    bool refused = false;
    for (int k = 0; k < 8 && !refused; ++k) refused = !deflater.Add(noise.data(), noise.size());
    EXPECT_TRUE(refused);
    EXPECT_FALSE(deflater.Add(noise.data(), 10));
    EXPECT_FALSE(deflater.End());
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace vx::gfx
