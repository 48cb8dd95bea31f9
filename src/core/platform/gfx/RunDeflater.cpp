#include "platform/gfx/RunDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace vx::gfx {
namespace {

constexpr int kLiteralCodes = 286;  // 0-255 literals, 256 end of block, 257-285 lengths
constexpr int kEndOfBlock = 256;
constexpr int kMaxCodeBits = 15;
constexpr int kMaxLengthCodeBits = 7;
constexpr size_t kDeliverBytes = size_t(1) << 16;
// Where each code length's own length goes in the block header.
constexpr uint8_t kLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

/// Length code (257 + index), its extra bits and their value, for each run of 3 to 258.
struct LengthCodes {
    uint8_t code[256];
    uint8_t extraBits[256];
    uint8_t extra[256];
    LengthCodes() {
        static constexpr uint16_t kBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr uint8_t kBits[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (int c = 0; c < 28; ++c)
            for (int run = kBase[c]; run < kBase[c] + (1 << kBits[c]) && run <= 258; ++run) {
                code[run - 3] = uint8_t(c);
                extraBits[run - 3] = kBits[c];
                extra[run - 3] = uint8_t(run - kBase[c]);
            }
        // 258 has a code of its own, without extra bits.
        code[255] = 28;
        extraBits[255] = 0;
        extra[255] = 0;
    }
};
const LengthCodes& Lengths() {
    static const LengthCodes table;
    return table;
}

/// Code lengths of at most `limit` bits for symbols of the given frequencies, making a
/// complete code (inflaters refuse others) of at least two codes: a Huffman code whose
/// overlong lengths are cut to the limit and the excess paid back by lengthening the
/// codes below it, longest lengths to the rarest symbols.
void BuildLengths(const uint32_t* frequency, int symbols, int limit, uint8_t* lengths) {
    std::fill(lengths, lengths + symbols, 0);
    std::vector<std::pair<uint32_t, int>> used;
    for (int s = 0; s < symbols; ++s)
        if (frequency[s]) used.push_back({frequency[s], s});
    if (used.size() < 2) {
        // One code alone would be incomplete: a second one, never used, completes it.
        const int only = used.empty() ? 0 : used[0].second;
        lengths[only] = 1;
        lengths[only == 0 ? 1 : 0] = 1;
        return;
    }
    std::sort(used.begin(), used.end());
    const int m = int(used.size());
    // Two queues: the leaves in order of weight, and the nodes made from them, which come
    // out in order of weight too.
    std::vector<uint64_t> weight(size_t(2 * m - 1));
    std::vector<int> parent(size_t(2 * m - 1), 0);
    for (int i = 0; i < m; ++i) weight[size_t(i)] = used[size_t(i)].first;
    int leaf = 0, node = m;
    for (int next = m; next < 2 * m - 1; ++next) {
        int pick[2];
        for (int& p : pick) p = (leaf < m && (node >= next || weight[size_t(leaf)] <= weight[size_t(node)])) ? leaf++ : node++;
        weight[size_t(next)] = weight[size_t(pick[0])] + weight[size_t(pick[1])];
        parent[size_t(pick[0])] = parent[size_t(pick[1])] = next;
    }
    std::vector<int> depth(size_t(2 * m - 1), 0);
    for (int i = 2 * m - 3; i >= 0; --i) depth[size_t(i)] = depth[size_t(parent[size_t(i)])] + 1;
    std::array<int, kMaxCodeBits + 1> count{};
    bool overlong = false;
    for (int i = 0; i < m; ++i) {
        overlong = overlong || depth[size_t(i)] > limit;
        ++count[size_t(std::min(depth[size_t(i)], limit))];
    }
    if (overlong) {
        // Each cut code takes more than its share of the code space; one step splits a
        // shorter code in two and drops one code of the longest length, giving back one
        // share of the longest length, until the code is exactly complete.
        uint32_t total = 0;
        for (int bits = 1; bits <= limit; ++bits) total += uint32_t(count[size_t(bits)]) << (limit - bits);
        while (total != (uint32_t(1) << limit)) {
            --count[size_t(limit)];
            for (int bits = limit - 1; bits > 0; --bits)
                if (count[size_t(bits)]) {
                    --count[size_t(bits)];
                    count[size_t(bits) + 1] += 2;
                    break;
                }
            --total;
        }
    }
    int index = 0;
    for (int bits = limit; bits >= 1; --bits)
        for (int k = 0; k < count[size_t(bits)]; ++k) lengths[used[size_t(index++)].second] = uint8_t(bits);
}

uint32_t Reverse(uint32_t code, int bits) {
    uint32_t r = 0;
    for (int i = 0; i < bits; ++i, code >>= 1) r = (r << 1) | (code & 1);
    return r;
}

/// The canonical codes of the lengths, bit-reversed: deflate sends codes from their
/// first bit, into bytes filled from their lowest.
void BuildCodes(const uint8_t* lengths, int symbols, uint32_t* codes) {
    int count[kMaxCodeBits + 1] = {};
    for (int s = 0; s < symbols; ++s) ++count[lengths[s]];
    count[0] = 0;
    uint32_t next[kMaxCodeBits + 2] = {};
    uint32_t code = 0;
    for (int bits = 1; bits <= kMaxCodeBits; ++bits) {
        code = (code + uint32_t(count[bits - 1])) << 1;
        next[bits] = code;
    }
    for (int s = 0; s < symbols; ++s) codes[s] = lengths[s] ? Reverse(next[lengths[s]]++, lengths[s]) : 0;
}

/// Bits into bytes, the first bit lowest; the bytes must have room, and eight beyond.
struct BitWriter {
    uint8_t* out;
    uint64_t bits;
    int count;  // below 8 between calls
    void Put(uint32_t value, int n) { PutTwo(value, n, 0, 0); }
    /// Two codes of at most 24 bits each, then every whole byte out.
    void PutTwo(uint32_t first, int n1, uint32_t second, int n2) {
        bits |= uint64_t(first) << count;
        count += n1;
        bits |= uint64_t(second) << count;
        count += n2;
        if constexpr (std::endian::native == std::endian::little) std::memcpy(out, &bits, 8);
        else
            for (int i = 0; i < 8; ++i) out[i] = uint8_t(bits >> (8 * i));
        out += count >> 3;
        bits >>= count & ~7;  // count is below 8 + 2 x 24 here
        count &= 7;
    }
};

/// How many bytes from the start, at least 3 and at most limit, equal the first.
size_t RunLength(const uint8_t* p, size_t limit) {
    size_t run = 3;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight at a time: white margins are runs of thousands.
        const uint64_t same = 0x0101010101010101ull * p[0];
        for (; run + 8 <= limit; run += 8) {
            uint64_t v;
            std::memcpy(&v, p + run, 8);
            if (const uint64_t differ = v ^ same) return run + size_t(std::countr_zero(differ) / 8);
        }
    }
    while (run < limit && p[run] == p[0]) ++run;
    return run;
}

}  // namespace

RunDeflater::RunDeflater(Sink sink) : mSink(std::move(sink)), mSymbols(kBlockSymbols) {
    // Deflate with a 32 KiB window, the fastest level named; 0x7801 is a multiple of 31.
    mOut.resize(kDeliverBytes + kBlockBytes);
    mOut[0] = 0x78;
    mOut[1] = 0x01;
    mOutSize = 2;
}

bool RunDeflater::Add(const uint8_t* data, size_t size) {
    if (!mOk || mEnded) return false;
    if (size == 0) return true;
    mAdler = uint32_t(adler32_z(mAdler, data, size));
    uint16_t* symbols = mSymbols.data();
    size_t n = mCount;
    int previous = mPrevious;
    size_t i = 0;
    while (i < size) {
        if (n == kBlockSymbols) {
            mCount = n;
            WriteBlock(false);
            Deliver(false);
            if (!mOk) return false;
            n = 0;
        }
        // Each symbol takes a byte at least: up to here the block cannot fill.
        const size_t stop = i + std::min(size - i, kBlockSymbols - n);
        while (i < stop) {
            const uint8_t b = data[i];
            // A run of three or more of the byte before is one match at distance 1.
            if (b == previous && i + 2 < size && data[i + 1] == b && data[i + 2] == b) {
                const size_t run = RunLength(data + i, std::min<size_t>(258, size - i));
                symbols[n++] = uint16_t(256 + run - 3);
                i += run;
            } else {
                symbols[n++] = b;
                previous = b;
                ++i;
            }
        }
    }
    mCount = n;
    mPrevious = previous;
    return true;
}

void RunDeflater::WriteBlock(bool last) {
    const LengthCodes& lengths = Lengths();
    // Counted here rather than as they come: four tallies taken in turn keep a repeated
    // symbol from waiting on its own count.
    const uint16_t* symbols = mSymbols.data();
    uint32_t tally[4][512] = {};
    size_t k = 0;
    for (; k + 4 <= mCount; k += 4) {
        ++tally[0][symbols[k]];
        ++tally[1][symbols[k + 1]];
        ++tally[2][symbols[k + 2]];
        ++tally[3][symbols[k + 3]];
    }
    for (; k < mCount; ++k) ++tally[0][symbols[k]];
    uint32_t frequency[kLiteralCodes] = {};
    for (int s = 0; s < 512; ++s) {
        const uint32_t f = tally[0][s] + tally[1][s] + tally[2][s] + tally[3][s];
        frequency[s < 256 ? s : 257 + lengths.code[s - 256]] += f;
    }
    frequency[kEndOfBlock] = 1;
    uint8_t literalLengths[kLiteralCodes];
    BuildLengths(frequency, kLiteralCodes, kMaxCodeBits, literalLengths);
    uint32_t literalCodes[kLiteralCodes];
    BuildCodes(literalLengths, kLiteralCodes, literalCodes);
    // Every match is at distance 1 (code 0); two codes of one bit keep the code complete.
    const uint8_t distanceLengths[2] = {1, 1};
    int literals = kLiteralCodes;
    while (literals > 257 && literalLengths[literals - 1] == 0) --literals;

    // The code lengths, shortened by repeats (16), short runs of zeros (17) and long ones (18).
    uint8_t sequence[kLiteralCodes + 2];
    std::memcpy(sequence, literalLengths, size_t(literals));
    std::memcpy(sequence + literals, distanceLengths, 2);
    const int total = literals + 2;
    std::pair<uint8_t, uint8_t> steps[kLiteralCodes + 2];  // symbol, extra bits' value
    int stepCount = 0;
    uint32_t stepFrequency[19] = {};
    const auto step = [&](int symbol, int extra) {
        steps[stepCount++] = {uint8_t(symbol), uint8_t(extra)};
        ++stepFrequency[symbol];
    };
    for (int i = 0; i < total;) {
        const uint8_t length = sequence[i];
        int run = 1;
        while (i + run < total && sequence[i + run] == length) ++run;
        i += run;
        if (length == 0) {
            for (; run >= 11; run -= std::min(run, 138)) step(18, std::min(run, 138) - 11);
            if (run >= 3) {
                step(17, run - 3);
                run = 0;
            }
        } else {
            step(length, 0);
            for (--run; run >= 3; run -= std::min(run, 6)) step(16, std::min(run, 6) - 3);
        }
        for (; run > 0; --run) step(length, 0);
    }
    uint8_t stepLengths[19];
    BuildLengths(stepFrequency, 19, kMaxLengthCodeBits, stepLengths);
    uint32_t stepCodes[19];
    BuildCodes(stepLengths, 19, stepCodes);
    int orderCount = 19;
    while (orderCount > 4 && stepLengths[kLengthOrder[orderCount - 1]] == 0) --orderCount;

    // Each symbol as the bits it is sent with: a literal's code; a run's length code, its
    // extra bits and the one-bit distance code 0. Value in the low 24 bits, count above.
    uint32_t encoding[512];
    for (int s = 0; s < 256; ++s) encoding[s] = literalCodes[s] | uint32_t(literalLengths[s]) << 24;
    for (int r = 0; r < 256; ++r) {
        const int code = 257 + lengths.code[r];
        const int bits = literalLengths[code];
        if (bits == 0) continue;  // no run of this length in the block
        const int extraBits = lengths.extraBits[r];
        encoding[256 + r] = (literalCodes[code] | uint32_t(lengths.extra[r]) << bits) |
                            uint32_t(bits + extraBits + 1) << 24;  // distance code 0 is the bit 0
    }

    // At most 21 bits a symbol, and the header.
    BitWriter w{mOut.data() + mOutSize, mBits, mBitCount};
    w.Put(last ? 1 : 0, 1);
    w.Put(2, 2);  // Huffman codes of the block's own
    w.Put(uint32_t(literals - 257), 5);
    w.Put(2 - 1, 5);
    w.Put(uint32_t(orderCount - 4), 4);
    for (int k = 0; k < orderCount; ++k) w.Put(stepLengths[kLengthOrder[k]], 3);
    static constexpr uint8_t kStepExtraBits[3] = {2, 3, 7};
    for (int k = 0; k < stepCount; ++k) {
        const auto [symbol, extra] = steps[k];
        w.Put(stepCodes[symbol], stepLengths[symbol]);
        if (symbol >= 16) w.Put(extra, kStepExtraBits[symbol - 16]);
    }
    for (k = 0; k + 1 < mCount; k += 2) {
        const uint32_t e1 = encoding[symbols[k]], e2 = encoding[symbols[k + 1]];
        w.PutTwo(e1 & 0xFFFFFF, int(e1 >> 24), e2 & 0xFFFFFF, int(e2 >> 24));
    }
    if (k < mCount) w.Put(encoding[symbols[k]] & 0xFFFFFF, int(encoding[symbols[k]] >> 24));
    w.Put(literalCodes[kEndOfBlock], literalLengths[kEndOfBlock]);
    mOutSize = size_t(w.out - mOut.data());
    mBits = w.bits;
    mBitCount = w.count;
    mCount = 0;
}

void RunDeflater::Deliver(bool all) {
    if (!mOk || mOutSize == 0 || (!all && mOutSize < kDeliverBytes)) return;
    mOk = mSink(mOut.data(), mOutSize);
    mLength += mOutSize;
    mOutSize = 0;
}

bool RunDeflater::End() {
    if (!mOk || mEnded) return false;
    mEnded = true;
    if (mCount > 0) {
        WriteBlock(true);
    } else {
        // An empty last block with the fixed codes: the end-of-block code is seven 0 bits.
        BitWriter w{mOut.data() + mOutSize, mBits, mBitCount};
        w.Put(1, 1);
        w.Put(1, 2);
        w.Put(0, 7);
        mOutSize = size_t(w.out - mOut.data());
        mBits = w.bits;
        mBitCount = w.count;
    }
    // The begun byte, then the checksum, highest byte first.
    for (; mBitCount > 0; mBitCount -= 8, mBits >>= 8) mOut[mOutSize++] = uint8_t(mBits);
    mBitCount = 0;
    for (int shift = 24; shift >= 0; shift -= 8) mOut[mOutSize++] = uint8_t(mAdler >> shift);
    Deliver(true);
    return mOk;
}

}  // namespace vx::gfx
