#include "ImporterFixtures.h"

#include <lcms2.h>
#include <png.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "importers/QtmlStartCount.h"
#include "importers/PictureImport.h"
#include "model/CImageObj.h"
#include "model/ImageAdding.h"
#include "model/PictureLoader.h"

namespace vx::test {
namespace {

void Append(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

void PutBig(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

}  // namespace

std::vector<uint8_t> WritePng(const PngContent& content) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png write failed");
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, png_uint_32(content.width), png_uint_32(content.height), content.bitDepth, content.colourType,
                 content.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!content.palette.empty()) {
        std::vector<png_color> colours(content.palette.size() / 3);
        for (size_t i = 0; i < colours.size(); ++i)
            colours[i] = {content.palette[3 * i], content.palette[3 * i + 1], content.palette[3 * i + 2]};
        png_set_PLTE(png, info, colours.data(), int(colours.size()));
    }
    if (!content.trns.empty()) {
        if (content.colourType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, content.trns.data(), int(content.trns.size()), nullptr);
        } else {
            png_color_16 colour{};
            colour.gray = png_uint_16((content.trns[0] << 8) | content.trns[1]);
            if (content.trns.size() >= 6) {
                colour.red = png_uint_16((content.trns[0] << 8) | content.trns[1]);
                colour.green = png_uint_16((content.trns[2] << 8) | content.trns[3]);
                colour.blue = png_uint_16((content.trns[4] << 8) | content.trns[5]);
            }
            png_set_tRNS(png, info, nullptr, 0, &colour);
        }
    }
    if (content.phys) png_set_pHYs(png, info, *content.phys, *content.phys, content.physUnit);
    if (!content.icc.empty())
        png_set_iCCP(png, info, "test", 0, content.icc.data(), png_uint_32(content.icc.size()));
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rows(size_t(content.height));
    for (int r = 0; r < content.height; ++r)
        rows[size_t(r)] = const_cast<png_bytep>(content.samples.data()) + size_t(r) * rowBytes;
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> PngHeaderOnly(uint32_t width, uint32_t height) {
    std::vector<uint8_t> v = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutBig(v, 13);
    const size_t typeAt = v.size();
    v.insert(v.end(), {'I', 'H', 'D', 'R'});
    PutBig(v, width);
    PutBig(v, height);
    v.insert(v.end(), {8, 6, 0, 0, 0});
    PutBig(v, Crc32(v.data() + typeAt, v.size() - typeAt));
    return v;
}

std::vector<uint8_t> SmallIccProfile() {
    cmsHPROFILE p = cmsCreate_sRGBProfile();
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(p, nullptr, &size);
    std::vector<uint8_t> bytes(size);
    cmsSaveProfileToMem(p, bytes.data(), &size);
    cmsCloseProfile(p);
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> PatternBytes(size_t count, uint32_t seed) {
    std::vector<uint8_t> v(count);
    uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = uint8_t(x >> 8);
    }
    return v;
}

}  // namespace vx::test

namespace vx::test {
namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x >> 8));
    v.push_back(uint8_t(x));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}
void PutResource(std::vector<uint8_t>& v, uint16_t id, const std::vector<uint8_t>& data) {
    v.insert(v.end(), {'8', 'B', 'I', 'M'});
    Put16(v, id);
    Put16(v, 0);  // empty name, padded
    Put32(v, uint32_t(data.size()));
    v.insert(v.end(), data.begin(), data.end());
    if (data.size() % 2) v.push_back(0);
}

}  // namespace

std::vector<uint8_t> PackRow(const uint8_t* row, size_t bytes) {
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < bytes) {
        size_t run = 1;
        while (i + run < bytes && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.push_back(uint8_t(int8_t(1 - int(run))));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        size_t literal = 0;
        while (i + literal < bytes && literal < 128) {
            if (i + literal + 2 < bytes && row[i + literal] == row[i + literal + 1] &&
                row[i + literal] == row[i + literal + 2])
                break;
            ++literal;
        }
        out.push_back(uint8_t(literal - 1));
        out.insert(out.end(), row + i, row + i + literal);
        i += literal;
    }
    return out;
}

std::vector<uint8_t> WritePsd(const PsdContent& s) {
    std::vector<uint8_t> v = {'8', 'B', 'P', 'S'};
    Put16(v, uint32_t(s.version));
    v.insert(v.end(), 6, 0);
    Put16(v, uint32_t(s.planes.size()));
    Put32(v, uint32_t(s.height));
    Put32(v, uint32_t(s.width));
    Put16(v, uint32_t(s.bits));
    Put16(v, uint32_t(s.mode));
    Put32(v, uint32_t(s.colourModeData.size()));
    v.insert(v.end(), s.colourModeData.begin(), s.colourModeData.end());
    std::vector<uint8_t> resources;
    if (s.resolution) {
        std::vector<uint8_t> info;
        Put32(info, *s.resolution);
        Put16(info, uint32_t(s.resolutionUnit));
        Put16(info, 1);
        Put32(info, *s.resolution);
        Put16(info, uint32_t(s.resolutionUnit));
        Put16(info, 1);
        PutResource(resources, 1005, info);
    }
    if (!s.icc.empty()) PutResource(resources, 1039, s.icc);
    Put32(v, uint32_t(resources.size()));
    v.insert(v.end(), resources.begin(), resources.end());
    if (s.layerCount == 0) {
        Put32(v, 0);
    } else {
        Put32(v, 8);
        Put32(v, 2);
        Put16(v, uint16_t(s.layerCount));
        Put16(v, 0);
    }
    Put16(v, uint32_t(s.compression));
    const size_t rowBytes = s.bits == 1 ? size_t(s.width + 7) / 8 : size_t(s.width) * size_t(s.bits / 8);
    if (s.compression != 1) {
        for (const auto& plane : s.planes) v.insert(v.end(), plane.begin(), plane.end());
        return v;
    }
    std::vector<std::vector<uint8_t>> rows;
    for (const auto& plane : s.planes)
        for (int r = 0; r < s.height; ++r) rows.push_back(PackRow(plane.data() + size_t(r) * rowBytes, rowBytes));
    for (const auto& row : rows) Put16(v, uint32_t(row.size()));
    for (const auto& row : rows) v.insert(v.end(), row.begin(), row.end());
    return v;
}

}  // namespace vx::test

namespace vx::test {

PictWriter::PictWriter(int top, int left, int bottom, int right, bool fileHeader, uint32_t extendedRes) {
    if (fileHeader) mBytes.assign(512, 0);
    U16(0);
    Rect(top, left, bottom, right);
    U16(0x0011);
    U16(0x02FF);
    Op(0x0C00);
    U16(extendedRes ? 0xFFFE : 0xFFFF);
    U16(0);
    U32(extendedRes ? extendedRes : 72u << 16);
    U32(extendedRes ? extendedRes : 72u << 16);
    Rect(top, left, bottom, right);
    U32(0);
}

void PictWriter::U16(uint32_t v) {
    mBytes.push_back(uint8_t(v >> 8));
    mBytes.push_back(uint8_t(v));
}
void PictWriter::U32(uint32_t v) {
    U16(v >> 16);
    U16(v & 0xFFFF);
}
void PictWriter::Rect(int top, int left, int bottom, int right) {
    U16(uint16_t(top));
    U16(uint16_t(left));
    U16(uint16_t(bottom));
    U16(uint16_t(right));
}
void PictWriter::Op(uint16_t op) {
    if (mBytes.size() % 2) mBytes.push_back(0);
    U16(op);
}

namespace {

void PixMapFields(PictWriter& w, int packType, int pixelSize, int cmpCount, int cmpSize) {
    w.U16(0);
    w.U16(uint32_t(packType));
    w.U32(0);
    w.U32(72u << 16);
    w.U32(72u << 16);
    w.U16(pixelSize >= 16 ? 16 : 0);
    w.U16(uint32_t(pixelSize));
    w.U16(uint32_t(cmpCount));
    w.U16(uint32_t(cmpSize));
    w.U32(0);
    w.U32(0);
    w.U32(0);
}

void PackedRows(PictWriter& w, const std::vector<uint8_t>& rows, size_t rowBytes, int height) {
    for (int r = 0; r < height; ++r) {
        const std::vector<uint8_t> packed = PackRow(rows.data() + size_t(r) * rowBytes, rowBytes);
        if (rowBytes > 250) w.U16(uint32_t(packed.size()));
        else w.U8(uint32_t(packed.size()));
        for (uint8_t b : packed) w.U8(b);
    }
}

}  // namespace

void PictWriter::IndexedBits(uint16_t op, int width, int height, int bits, const std::vector<uint8_t>& colours,
                             const std::vector<uint8_t>& rows, size_t rowBytes, int dstTop, int dstLeft,
                             bool pixmap) {
    Op(op);
    U16(uint32_t(rowBytes) | (pixmap ? 0x8000 : 0));
    Rect(0, 0, height, width);
    if (pixmap) {
        PixMapFields(*this, 0, bits, 1, bits);
        U32(0);
        U16(0);
        const size_t count = colours.size() / 3;
        U16(uint32_t(count - 1));
        for (size_t i = 0; i < count; ++i) {
            U16(uint32_t(i));
            for (int k = 0; k < 3; ++k) U16(colours[3 * i + size_t(k)] * 0x101u);
        }
    }
    Rect(0, 0, height, width);
    Rect(dstTop, dstLeft, dstTop + height, dstLeft + width);
    U16(0);
    if (op == 0x90 || rowBytes < 8) mBytes.insert(mBytes.end(), rows.begin(), rows.end());
    else PackedRows(*this, rows, rowBytes, height);
}

void PictWriter::DirectBits(int width, int height, int pixelSize, int packType, const std::vector<uint8_t>& rows,
                            int dstTop, int dstLeft) {
    Op(0x9A);
    U32(0xFF);
    const size_t rowBytes = size_t(width) * size_t(pixelSize / 8);
    U16(uint32_t(rowBytes) | 0x8000);
    Rect(0, 0, height, width);
    PixMapFields(*this, packType, pixelSize, 3, pixelSize == 16 ? 5 : 8);
    Rect(0, 0, height, width);
    Rect(dstTop, dstLeft, dstTop + height, dstLeft + width);
    U16(0);
    if (packType == 1 || rowBytes < 8) {
        mBytes.insert(mBytes.end(), rows.begin(), rows.end());
    } else if (packType == 2) {
        for (size_t i = 0; i < rows.size(); i += 4) mBytes.insert(mBytes.end(), rows.begin() + long(i) + 1, rows.begin() + long(i) + 4);
    } else if (packType == 4) {
        std::vector<uint8_t> planes;
        for (int r = 0; r < height; ++r)
            for (int c = 1; c <= 3; ++c)
                for (int x = 0; x < width; ++x) planes.push_back(rows[size_t(r) * rowBytes + size_t(x) * 4 + size_t(c)]);
        PackedRows(*this, planes, size_t(width) * 3, height);
    } else {  // 3: runs of words, written here as literal runs of up to 128 words
        for (int r = 0; r < height; ++r) {
            std::vector<uint8_t> packed;
            for (int x = 0; x < width; x += 128) {
                const int n = std::min(128, width - x);
                packed.push_back(uint8_t(n - 1));
                packed.insert(packed.end(), rows.begin() + long(size_t(r) * rowBytes + size_t(x) * 2),
                              rows.begin() + long(size_t(r) * rowBytes + size_t(x + n) * 2));
            }
            if (rowBytes > 250) U16(uint32_t(packed.size()));
            else U8(uint32_t(packed.size()));
            mBytes.insert(mBytes.end(), packed.begin(), packed.end());
        }
    }
}

void PictWriter::CompressedJpeg(const std::vector<uint8_t>& jpeg, int width, int height, int dstTop, int dstLeft) {
    Op(0x8200);
    PictWriter inner(0, 0, 0, 0, false);
    inner.mBytes.clear();
    inner.U16(0);
    const uint32_t matrix[9] = {0x10000, 0, 0, 0, 0x10000, 0, uint32_t(dstLeft) << 16, uint32_t(dstTop) << 16, 0x40000000};
    for (uint32_t m : matrix) inner.U32(m);
    inner.U32(0);
    inner.Rect(0, 0, 0, 0);
    inner.U16(0);
    inner.Rect(0, 0, height, width);
    inner.U32(0);
    inner.U32(0);
    // The image description: 86 bytes, codec at 4, sides at 32, data size at 44.
    const size_t descAt = inner.mBytes.size();
    inner.mBytes.resize(descAt + 86, 0);
    inner.mBytes[descAt + 3] = 86;
    std::copy_n("jpeg", 4, inner.mBytes.begin() + long(descAt) + 4);
    inner.mBytes[descAt + 32] = uint8_t(width >> 8);
    inner.mBytes[descAt + 33] = uint8_t(width);
    inner.mBytes[descAt + 34] = uint8_t(height >> 8);
    inner.mBytes[descAt + 35] = uint8_t(height);
    for (int k = 0; k < 4; ++k) inner.mBytes[descAt + 44 + size_t(k)] = uint8_t(jpeg.size() >> (24 - 8 * k));
    inner.mBytes.insert(inner.mBytes.end(), jpeg.begin(), jpeg.end());
    U32(uint32_t(inner.mBytes.size()));
    mBytes.insert(mBytes.end(), inner.mBytes.begin(), inner.mBytes.end());
}

std::vector<uint8_t> PictWriter::Finish() {
    Op(0x00FF);
    return mBytes;
}

void ImportingTest::SetUp() {
    ASSERT_EQ(QtmlInitialize(31), 0);
    InstallImporters();
}

void ImportingTest::TearDown() { QtmlTerminate(); }

DibBufferPtr ImportingTest::Load(const std::vector<uint8_t>& bytes, std::unique_ptr<CImageObj>& item,
                                 const char* fileName, int* opened) {
    const auto path = mRoot.Path() / fileName;
    WriteBytes(path, bytes);
    item.reset(CreateImageObj(nullptr, nullptr, "StdImage"));
    const int result = OpenImageFile(item.get(), path);
    if (opened) *opened = result;
    if (result == 0) return nullptr;
    Rect16 target;
    target.Set(0, 0, 30000, 30000);
    return LoadPictureBuffer(*item, kPictureModePrint, target);
}

}  // namespace vx::test
