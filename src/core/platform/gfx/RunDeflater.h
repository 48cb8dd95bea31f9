#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vx::gfx {

/// Compresses into one zlib stream (RFC 1950 around RFC 1951) of literals and runs of the
/// byte before (matches at distance 1), each block under Huffman codes made for it: the
/// stream zlib's run-length strategy makes, at a fraction of zlib's cost per byte, which
/// matters on photographs, where nearly every byte is a literal. The compressed bytes go
/// to the sink in pieces as they are made; after the sink refuses one, nothing more is
/// done and every call gives false.
class RunDeflater {
public:
    using Sink = std::function<bool(const uint8_t* data, size_t size)>;

    explicit RunDeflater(Sink sink);
    RunDeflater(const RunDeflater&) = delete;
    RunDeflater& operator=(const RunDeflater&) = delete;

    bool Add(const uint8_t* data, size_t size);
    /// Ends the stream: the last block and the checksum. Nothing may be added after it.
    bool End();
    /// Compressed bytes handed to the sink so far.
    uint64_t Length() const { return mLength; }

private:
    static constexpr size_t kBlockSymbols = size_t(1) << 15;
    /// The most a block takes: 21 bits a symbol (a run: length code, extra bits and
    /// distance), its header, and the eight bytes the writer stores at once.
    static constexpr size_t kBlockBytes = kBlockSymbols * 21 / 8 + 1024;

    void WriteBlock(bool last);
    /// Hands the finished bytes to the sink once enough have gathered, or all of them.
    void Deliver(bool all);

    Sink mSink;
    bool mOk = true;
    bool mEnded = false;
    uint64_t mLength = 0;
    uint32_t mAdler = 1;
    int mPrevious = -1;  // the last byte added; none yet at the start
    // The block being gathered: a literal byte, or 256 + (run length - 3).
    std::vector<uint16_t> mSymbols;
    size_t mCount = 0;
    // Whole bytes not yet delivered (fewer than kDeliverBytes between blocks, so that a
    // block always has room); the bits of a byte begun.
    std::vector<uint8_t> mOut;
    size_t mOutSize = 0;
    uint64_t mBits = 0;
    int mBitCount = 0;
};

}  // namespace vx::gfx
