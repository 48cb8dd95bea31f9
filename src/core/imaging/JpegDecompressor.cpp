#include "imaging/JpegDecompressor.h"

#include <jerror.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "imaging/JpegMemory.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

// Rows handed to libjpeg per call: enough for its largest output group.
constexpr int kRowBatch = 16;

}  // namespace

JpegDecompressor::JpegDecompressor() : mMessageId(IDS_FILE_NOT_READABLE) {
    std::memset(&mInfo, 0, sizeof mInfo);
    std::memset(&mProgress, 0, sizeof mProgress);
    mInfo.err = InitJpegErrorManager(mErrors);
}

JpegDecompressor::~JpegDecompressor() {
    if (mCreated) jpeg_destroy_decompress(&mInfo);
}

// In the functions below every jump point is set before the first libjpeg call; when
// the jump comes back the step only records the message and returns.

bool JpegDecompressor::Create() {
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    mCreated = true;  // jpeg_destroy copes with a half-made object
    jpeg_create_decompress(&mInfo);
    mInfo.mem->max_memory_to_use = kWorkMemoryLimit;
    mProgress.progress_monitor = Monitor;
    mInfo.progress = &mProgress;
    return true;
}

void JpegDecompressor::Monitor(j_common_ptr info) {
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > kMaxScans) {
        info->err->msg_code = JERR_BAD_PROGRESSION;
        (*info->err->error_exit)(info);
    }
}

bool JpegDecompressor::Open(std::FILE* file) {
    if (!Create()) return false;
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    jpeg_stdio_src(&mInfo, file);
    return true;
}

bool JpegDecompressor::Open(const uint8_t* data, size_t length) {
    if (!Create()) return false;
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    SetJpegMemorySource(&mInfo, data, length);
    return true;
}

bool JpegDecompressor::ReadHeader(std::initializer_list<int> keptMarkers) {
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    for (int marker : keptMarkers) jpeg_save_markers(&mInfo, marker, 0xFFFF);
    return jpeg_read_header(&mInfo, TRUE) == JPEG_HEADER_OK;
}

bool JpegDecompressor::ReadIccProfileBlock(uint8_t** data, unsigned* length) {
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    return jpeg_read_icc_profile(&mInfo, data, length);
}

bool JpegDecompressor::ReadIccProfile(std::vector<uint8_t>& out) {
    out.clear();
    uint8_t* data = nullptr;
    unsigned length = 0;
    if (!ReadIccProfileBlock(&data, &length)) return false;
    std::unique_ptr<uint8_t, decltype(&std::free)> owned(data, &std::free);
    out.assign(data, data + length);
    return true;
}

bool JpegDecompressor::PrepareOutput(int denominator, J_COLOR_SPACE space) {
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    mInfo.out_color_space = space;  // BGRA: alpha 255; grey is expanded by libjpeg too
    mInfo.scale_num = 1;
    mInfo.scale_denom = unsigned(denominator);
    jpeg_calc_output_dimensions(&mInfo);
    return true;
}

bool JpegDecompressor::ReadPicture(DibBuffer* out) {
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    jpeg_start_decompress(&mInfo);
    const Rect16 rect = DibBuffer::GetRect(out);
    if (rect.Width() != int(mInfo.output_width) || rect.Height() != int(mInfo.output_height) ||
        mInfo.output_components != 4)
        return false;
    uint8_t* const bits = DibBuffer::GetBits(out);
    const size_t stride = size_t(DibBuffer::GetRowBytes(out));
    JSAMPROW rows[kRowBatch];
    while (mInfo.output_scanline < mInfo.output_height) {
        const JDIMENSION first = mInfo.output_scanline;
        const int count = int(std::min<JDIMENSION>(kRowBatch, mInfo.output_height - first));
        for (int i = 0; i < count; ++i) rows[i] = bits + (first + JDIMENSION(i)) * stride;
        jpeg_read_scanlines(&mInfo, rows, JDIMENSION(count));
    }
    // All rows are in; what follows the scan cannot change them, so the decompressor
    // is destroyed without reading on to the end of the data.
    return true;
}

bool JpegDecompressor::ReadRows(uint8_t* firstRow, ptrdiff_t stride, int components) {
    if (setjmp(mErrors.jump)) {
        mMessageId = JpegErrorMessageId(mErrors);
        return false;
    }
    jpeg_start_decompress(&mInfo);
    if (mInfo.output_components != components) return false;
    JSAMPROW rows[kRowBatch];
    while (mInfo.output_scanline < mInfo.output_height) {
        const JDIMENSION first = mInfo.output_scanline;
        const int count = int(std::min<JDIMENSION>(kRowBatch, mInfo.output_height - first));
        for (int i = 0; i < count; ++i) rows[i] = firstRow + ptrdiff_t(first + JDIMENSION(i)) * stride;
        jpeg_read_scanlines(&mInfo, rows, JDIMENSION(count));
    }
    return true;
}

}  // namespace vx
