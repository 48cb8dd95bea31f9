#pragma once
// JPEG files made by libjpeg's own compressor for the tests, and Exif blocks to put in
// them. Header-only, so that every suite that loads pictures can use it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "imaging/JpegError.h"
#include "imaging/JpegMemory.h"

namespace vx::test {

struct JpegFixture {
    int width = 16;
    int height = 16;
    J_COLOR_SPACE space = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    int quality = 90;
    bool progressive = false;
    bool jfif = true;
    int densityUnit = 0;  // 0 none, 1 per inch, 2 per centimetre
    int xDensity = 1;
    int yDensity = 1;
    /// Markers written after the header, in order: code (JPEG_APP0 + n) and data.
    std::vector<std::pair<int, std::vector<uint8_t>>> markers;
    /// Fills the components of pixel (x, y); default mid grey.
    std::function<void(int x, int y, uint8_t* components)> pixel;
    /// Rows handed to the compressor before it is finished; fewer than the height is a
    /// libjpeg error. -1: all of them.
    int rowsWritten = -1;
};

namespace detail {

inline int Components(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
}

// Trivial locals only: libjpeg may jump back here.
inline bool Compress(jpeg_compress_struct& c, JpegErrorManager& errors, const JpegFixture& fixture,
                     const uint8_t* samples, uint8_t** block, size_t* size) {
    c.err = InitJpegErrorManager(errors);
    if (setjmp(errors.jump)) {
        FreeJpegMemoryDestination(&c);
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    SetJpegMemoryDestination(&c);
    c.image_width = JDIMENSION(fixture.width);
    c.image_height = JDIMENSION(fixture.height);
    c.input_components = Components(fixture.space);
    c.in_color_space = fixture.space;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, fixture.quality, TRUE);
    if (fixture.progressive) jpeg_simple_progression(&c);
    c.write_JFIF_header = fixture.jfif ? TRUE : FALSE;
    c.density_unit = UINT8(fixture.densityUnit);
    c.X_density = UINT16(fixture.xDensity);
    c.Y_density = UINT16(fixture.yDensity);
    jpeg_start_compress(&c, TRUE);
    for (size_t i = 0; i < fixture.markers.size(); ++i)
        jpeg_write_marker(&c, fixture.markers[i].first, fixture.markers[i].second.data(),
                          unsigned(fixture.markers[i].second.size()));
    const size_t stride = size_t(fixture.width) * size_t(c.input_components);
    const JDIMENSION rows = fixture.rowsWritten < 0 ? c.image_height : JDIMENSION(fixture.rowsWritten);
    while (c.next_scanline < rows) {
        JSAMPROW row = const_cast<uint8_t*>(samples) + c.next_scanline * stride;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    const bool ok = GetJpegMemoryDestinationBuffer(&c, block, size);
    jpeg_destroy_compress(&c);
    return ok;
}

}  // namespace detail

/// The JPEG bytes of fixture; false when libjpeg refused (the memory destination has then
/// freed whatever it gathered).
inline bool TryEncodeJpeg(const JpegFixture& fixture, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const int n = detail::Components(fixture.space);
    std::vector<uint8_t> samples(size_t(fixture.width) * size_t(fixture.height) * size_t(n), 128);
    if (fixture.pixel)
        for (int y = 0; y < fixture.height; ++y)
            for (int x = 0; x < fixture.width; ++x)
                fixture.pixel(x, y, samples.data() + (size_t(y) * size_t(fixture.width) + size_t(x)) * size_t(n));
    jpeg_compress_struct c{};
    JpegErrorManager errors{};
    uint8_t* block = nullptr;
    size_t size = 0;
    if (!detail::Compress(c, errors, fixture, samples.data(), &block, &size)) return false;
    bytes.assign(block, block + size);
    std::free(block);
    return true;
}

inline std::vector<uint8_t> EncodeJpeg(const JpegFixture& fixture) {
    std::vector<uint8_t> bytes;
    if (!TryEncodeJpeg(fixture, bytes)) ADD_FAILURE() << "the test JPEG could not be compressed";
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

/// An APP2 "ICC_PROFILE" chunk: sequence number, chunk count, payload.
inline std::vector<uint8_t> IccChunk(int sequence, int count, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> chunk = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0,
                                  uint8_t(sequence), uint8_t(count)};
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    return chunk;
}

/// A TIFF-structured block with one IFD (IFD0), in either byte order; values longer
/// than four bytes go after the IFD.
class ExifBuilder {
public:
    explicit ExifBuilder(bool bigEndian = false) : mBig(bigEndian) {}

    ExifBuilder& Ascii(uint16_t tag, const std::string& text) {
        std::vector<uint8_t> v(text.begin(), text.end());
        v.push_back(0);
        return Add(tag, 2, uint32_t(v.size()), v);
    }
    ExifBuilder& Short(uint16_t tag, uint16_t value) {
        std::vector<uint8_t> v;
        Put16(v, value);
        return Add(tag, 3, 1, v);
    }
    ExifBuilder& Rational(uint16_t tag, uint32_t num, uint32_t den) {
        std::vector<uint8_t> v;
        Put32(v, num);
        Put32(v, den);
        return Add(tag, 5, 1, v);
    }
    /// An entry as it stands, e.g. one whose value lies outside the block.
    ExifBuilder& Raw(uint16_t tag, uint16_t type, uint32_t count, uint32_t valueOrOffset) {
        mEntries.push_back({tag, type, count, {}, valueOrOffset});
        return *this;
    }

    /// The block; with the "Exif\0\0" header of an APP1 marker when asked.
    std::vector<uint8_t> Build(bool withExifHeader = false) const {
        std::vector<uint8_t> out;
        out.push_back(mBig ? 'M' : 'I');
        out.push_back(mBig ? 'M' : 'I');
        Put16(out, 42);
        Put32(out, 8);
        const uint32_t ifdBytes = 2 + uint32_t(mEntries.size()) * 12 + 4;
        uint32_t dataAt = 8 + ifdBytes;
        std::vector<uint8_t> data;
        Put16(out, uint16_t(mEntries.size()));
        for (const Entry& e : mEntries) {
            Put16(out, e.tag);
            Put16(out, e.type);
            Put32(out, e.count);
            if (e.value.empty()) {
                Put32(out, e.raw);
            } else if (e.value.size() <= 4) {
                std::vector<uint8_t> v = e.value;
                v.resize(4, 0);
                out.insert(out.end(), v.begin(), v.end());
            } else {
                Put32(out, dataAt + uint32_t(data.size()));
                data.insert(data.end(), e.value.begin(), e.value.end());
            }
        }
        Put32(out, 0);
        out.insert(out.end(), data.begin(), data.end());
        if (withExifHeader) {
            std::vector<uint8_t> header = Bytes(std::string_view("Exif\0\0", 6));
            out.insert(out.begin(), header.begin(), header.end());
        }
        return out;
    }

private:
    struct Entry {
        uint16_t tag, type;
        uint32_t count;
        std::vector<uint8_t> value;
        uint32_t raw;
    };
    ExifBuilder& Add(uint16_t tag, uint16_t type, uint32_t count, std::vector<uint8_t> value) {
        mEntries.push_back({tag, type, count, std::move(value), 0});
        return *this;
    }
    void Put16(std::vector<uint8_t>& v, uint16_t x) const {
        if (mBig) v.insert(v.end(), {uint8_t(x >> 8), uint8_t(x)});
        else v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)});
    }
    void Put32(std::vector<uint8_t>& v, uint32_t x) const {
        if (mBig) v.insert(v.end(), {uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x)});
        else v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)});
    }

    bool mBig;
    std::vector<Entry> mEntries;
};

}  // namespace vx::test
