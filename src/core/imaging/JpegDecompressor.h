#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "imaging/DibBuffer.h"
#include "imaging/JpegError.h"

namespace vx {

/// One libjpeg decompressor with JpegErrorExit, a bound on its work memory and on the
/// number of scans. Every step sets its own jump point: a libjpeg error ends that step
/// with false and leaves the message id in MessageId(). The destructor destroys the
/// decompressor, whatever state it is in.
class JpegDecompressor {
public:
    /// Whole-picture work memory (progressive coefficients): no more than the pixel
    /// budget of a whole layout, whatever a crafted header claims.
    static constexpr long kWorkMemoryLimit = 1L << 30;
    /// Real files have a few dozen scans; thousands only cost time.
    static constexpr int kMaxScans = 1000;

    JpegDecompressor();
    ~JpegDecompressor();
    JpegDecompressor(const JpegDecompressor&) = delete;
    JpegDecompressor& operator=(const JpegDecompressor&) = delete;

    /// Creates the decompressor over an open file (which must outlive it), or over data
    /// in memory (which must too).
    bool Open(std::FILE* file);
    bool Open(const uint8_t* data, size_t length);
    /// Reads the header, keeping the given markers (JPEG_APP0 + n) whole.
    bool ReadHeader(std::initializer_list<int> keptMarkers = {});
    /// The ICC profile assembled from the kept APP2 markers; false (out empty) when there
    /// is none or it is incomplete.
    bool ReadIccProfile(std::vector<uint8_t>& out);
    /// Asks for output at 1/denominator of the size (1, 2, 4 or 8), B,G,R,A unless
    /// another colour space is named, and computes the output size.
    bool PrepareOutput(int denominator, J_COLOR_SPACE space = JCS_EXT_BGRA);
    /// Decodes every row into `out`, which has the output size.
    bool ReadPicture(DibBuffer* out);
    /// Decodes every row of `components` bytes per pixel: row i goes to
    /// firstRow + i x stride (a negative stride fills bottom-up). False when the output
    /// has another number of components.
    bool ReadRows(uint8_t* firstRow, ptrdiff_t stride, int components);

    jpeg_decompress_struct& Info() { return mInfo; }
    /// Why the last step failed; 10417 "Datei nicht lesbar." unless libjpeg said otherwise.
    int MessageId() const { return mMessageId; }
    int Warnings() const { return int(mErrors.pub.num_warnings); }

private:
    bool Create();
    bool ReadIccProfileBlock(uint8_t** data, unsigned* length);
    static void Monitor(j_common_ptr info);

    jpeg_decompress_struct mInfo;
    JpegErrorManager mErrors;
    jpeg_progress_mgr mProgress;
    bool mCreated = false;
    int mMessageId;
};

}  // namespace vx
