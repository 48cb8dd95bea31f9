#include "importers/PictReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/ByteSource.h"
#include "imaging/DecodeTarget.h"
#include "imaging/JpegReader.h"
#include "importers/ImporterLimits.h"
#include "importers/PackBits.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint64_t kFileHeaderBytes = 512;
constexpr uint16_t kOpEnd = 0x00FF;
constexpr uint16_t kOpHeader = 0x0C00;
constexpr uint16_t kOpCompressedPicture = 0x8200;
// Matrix placements are kept within this, far outside any frame, so that widths of
// rectangles never overflow.
constexpr int64_t kFarOut = 1 << 20;

struct PictRect {
    int32_t top = 0, left = 0, bottom = 0, right = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

using Bgra = std::array<uint8_t, 4>;

/// Reads big-endian values in order; any read past the end marks the cursor failed and
/// gives zeros from then on.
class Cursor {
public:
    Cursor(ByteSource& file, uint64_t at) : mFile(file), mAt(at) {}
    bool Ok() const { return mOk; }
    uint64_t At() const { return mAt; }
    uint64_t Left() const { return mAt <= mFile.Size() ? mFile.Size() - mAt : 0; }
    bool Bytes(void* out, size_t n) {
        mOk = mOk && mFile.Read(mAt, out, n);
        mAt += n;
        return mOk;
    }
    uint32_t Value(int n) {
        uint8_t b[4] = {};
        if (!Bytes(b, size_t(n))) return 0;
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | b[i];
        return v;
    }
    uint32_t U8() { return Value(1); }
    uint32_t U16() { return Value(2); }
    uint32_t U32() { return Value(4); }
    int32_t S16() { return int16_t(U16()); }
    void Skip(uint64_t n) {
        if (n > Left()) mOk = false;
        mAt += n;
    }
    void Align() { mAt += mAt & 1; }
    void Seek(uint64_t at) { mAt = at; }
    PictRect Rect() {
        PictRect r;
        r.top = S16();
        r.left = S16();
        r.bottom = S16();
        r.right = S16();
        return r;
    }

private:
    ByteSource& mFile;
    uint64_t mAt;
    bool mOk = true;
};

/// The walk over the opcodes: with a canvas it draws, without it only looks.
struct Walk {
    PictRect frame;
    DibBuffer* canvas = nullptr;
    int deepest = 0;
    bool pixels = false;
    int messageId = 0;  // set on the first failure
    uint32_t hRes = 72, vRes = 72;

    bool Fail(int id) {
        if (!messageId) messageId = id;
        return false;
    }
};

uint32_t FixedPpi(uint32_t fixed) {
    const uint32_t ppi = (fixed + 32768) >> 16;
    return ppi ? ppi : 72;
}

// Draws `source` (whose pixel (0, 0) is at bounds' top left) from src to dst in the
// frame, nearest neighbour, clipped.
void Blit(const DibBuffer* source, const PictRect& bounds, const PictRect& src, const PictRect& dst, Walk& w) {
    if (!w.canvas || src.Width() <= 0 || src.Height() <= 0 || dst.Width() <= 0 || dst.Height() <= 0) return;
    const uint8_t* in = DibBuffer::GetBits(source);
    const int64_t inStride = DibBuffer::GetRowBytes(source);
    uint8_t* out = DibBuffer::GetBits(w.canvas);
    const int64_t outStride = DibBuffer::GetRowBytes(w.canvas);
    const int32_t y0 = std::max(dst.top, w.frame.top), y1 = std::min(dst.bottom, w.frame.bottom);
    const int32_t x0 = std::max(dst.left, w.frame.left), x1 = std::min(dst.right, w.frame.right);
    for (int32_t y = y0; y < y1; ++y) {
        const int64_t sy = src.top + int64_t(y - dst.top) * src.Height() / dst.Height() - bounds.top;
        if (sy < 0 || sy >= bounds.Height()) continue;
        for (int32_t x = x0; x < x1; ++x) {
            const int64_t sx = src.left + int64_t(x - dst.left) * src.Width() / dst.Width() - bounds.left;
            if (sx < 0 || sx >= bounds.Width()) continue;
            uint8_t* p = out + (y - w.frame.top) * outStride + int64_t(x - w.frame.left) * 4;
            std::memcpy(p, in + sy * inStride + sx * 4, 3);
            p[3] = 255;
        }
    }
}

/// A pixel map's header as the pixel opcodes and pixel patterns store it.
struct PixMap {
    bool pixmap = false;
    uint32_t rowBytes = 0;
    PictRect bounds;
    uint32_t packType = 0, pixelSize = 1, cmpCount = 1;
    std::array<Bgra, 256> colours{};
};

bool ReadPixMap(Cursor& c, bool direct, PixMap& m, Walk& w) {
    const uint32_t rb = c.U16();
    m.pixmap = direct || (rb & 0x8000);
    m.rowBytes = rb & 0x3FFF;
    m.bounds = c.Rect();
    if (m.pixmap) {
        c.U16();  // version
        m.packType = c.U16();
        c.Skip(12);  // pack size, resolutions
        c.U16();     // pixel type
        m.pixelSize = c.U16();
        m.cmpCount = c.U16();
        c.Skip(14);  // component size, plane bytes, table, reserved
    }
    for (auto& colour : m.colours) colour = {255, 255, 255, 255};
    if (!m.pixmap) {
        m.colours[1] = {0, 0, 0, 255};
    } else if (!direct) {
        c.Skip(4);
        const uint32_t flags = c.U16();
        const uint32_t count = c.U16() + 1;
        if (count > 256) return w.Fail(IDS_FILE_NOT_READABLE);
        for (uint32_t i = 0; i < count && c.Ok(); ++i) {
            const uint32_t value = c.U16();
            const uint8_t r = uint8_t(c.U16() >> 8), g = uint8_t(c.U16() >> 8), b = uint8_t(c.U16() >> 8);
            const uint32_t index = (flags & 0x8000) ? i : value;
            if (index < 256) m.colours[index] = {b, g, r, 255};
        }
    }
    if (!c.Ok()) return w.Fail(IDS_FILE_NOT_READABLE);
    const bool indexed = !direct && (m.pixelSize == 1 || m.pixelSize == 2 || m.pixelSize == 4 || m.pixelSize == 8);
    const bool directOk = direct && (m.pixelSize == 16 || m.pixelSize == 32) && m.packType <= 4;
    if (!indexed && !directOk) return w.Fail(IDS_IMAGE_FORMAT_UNSUPPORTED);
    if (m.bounds.Width() <= 0 || m.bounds.Height() <= 0) return w.Fail(IDS_FILE_NOT_READABLE);
    if (!ImportSizeAllowed(m.bounds.Width(), m.bounds.Height())) return w.Fail(IDS_NOT_ENOUGH_MEMORY);
    if (uint64_t(m.rowBytes) * 8 < uint64_t(m.bounds.Width()) * m.pixelSize) return w.Fail(IDS_FILE_NOT_READABLE);
    return true;
}

// One stored row to B,G,R,A.
void ConvertRow(const PixMap& m, bool planes, bool threeBytes, const uint8_t* row, uint8_t* out) {
    const int32_t width = m.bounds.Width();
    if (m.pixelSize <= 8) {
        const uint32_t bits = m.pixelSize, mask = (1u << bits) - 1;
        for (int32_t x = 0; x < width; ++x) {
            const uint64_t bit = uint64_t(x) * bits;
            const uint32_t index = (row[bit >> 3] >> (8 - bits - (bit & 7))) & mask;
            std::memcpy(out + 4 * x, m.colours[index].data(), 4);
        }
    } else if (m.pixelSize == 16) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = (uint32_t(row[2 * x]) << 8) | row[2 * x + 1];
            const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            out[4 * x] = uint8_t((b << 3) | (b >> 2));
            out[4 * x + 1] = uint8_t((g << 3) | (g >> 2));
            out[4 * x + 2] = uint8_t((r << 3) | (r >> 2));
            out[4 * x + 3] = 255;
        }
    } else if (planes) {
        // Component planes, alpha first when there are four.
        const int32_t skip = m.cmpCount >= 4 ? width : 0;
        for (int32_t x = 0; x < width; ++x) {
            out[4 * x] = row[skip + 2 * width + x];
            out[4 * x + 1] = row[skip + width + x];
            out[4 * x + 2] = row[skip + x];
            out[4 * x + 3] = 255;
        }
    } else {
        const int step = threeBytes ? 3 : 4, first = threeBytes ? 0 : 1;
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = row + x * step + first;
            out[4 * x] = p[2];
            out[4 * x + 1] = p[1];
            out[4 * x + 2] = p[0];
            out[4 * x + 3] = 255;
        }
    }
}

// PackBits over 16-bit units, as pack type 3 stores 16-bit pixels.
bool UnpackWords(const uint8_t* packed, size_t packedBytes, uint8_t* row, size_t rowBytes) {
    size_t in = 0, out = 0;
    while (out < rowBytes && in < packedBytes) {
        const int n = int8_t(packed[in++]);
        if (n >= 0) {
            const size_t count = (size_t(n) + 1) * 2;
            if (count > packedBytes - in || count > rowBytes - out) return false;
            std::memcpy(row + out, packed + in, count);
            in += count;
            out += count;
        } else if (n != -128) {
            const size_t count = size_t(1 - n);
            if (2 > packedBytes - in || count * 2 > rowBytes - out) return false;
            for (size_t i = 0; i < count; ++i, out += 2) std::memcpy(row + out, packed + in, 2);
            in += 2;
        }
    }
    return out == rowBytes;
}

/// The rows of a pixel map into a picture of its bounds (or only past them without a
/// picture). `packedAllowed` is false for BitsRect, whose rows are never packed.
bool ReadRows(Cursor& c, const PixMap& m, bool direct, bool packedAllowed, DibBuffer* into, Walk& w) {
    const int32_t width = m.bounds.Width(), height = m.bounds.Height();
    const uint32_t packType = m.packType ? m.packType : m.pixelSize == 16 ? 3 : m.pixelSize == 32 ? 4 : 0;
    const bool threeBytes = direct && m.pixelSize == 32 && packType == 2;
    const bool planes = direct && m.pixelSize == 32 && packType == 4;
    const bool packed = packedAllowed && m.rowBytes >= 8 && !(direct && (packType == 1 || packType == 2));
    const size_t stored = threeBytes ? size_t(width) * 3
                          : planes   ? size_t(width) * std::clamp<uint32_t>(m.cmpCount, 3, 4)
                                     : size_t(m.rowBytes);
    if (planes && m.rowBytes < stored) return w.Fail(IDS_FILE_NOT_READABLE);
    if (!packed && uint64_t(stored) * height > c.Left()) return w.Fail(IDS_FILE_NOT_READABLE);
    std::vector<uint8_t> row(std::max<size_t>(stored, m.rowBytes)), packedRow;
    uint8_t* bits = DibBuffer::GetBits(into);
    const size_t outStride = size_t(DibBuffer::GetRowBytes(into));
    for (int32_t r = 0; r < height; ++r) {
        if (!packed) {
            if (!c.Bytes(row.data(), stored)) return w.Fail(IDS_FILE_NOT_READABLE);
        } else {
            const uint32_t count = m.rowBytes > 250 ? c.U16() : c.U8();
            packedRow.resize(count);
            if (!c.Ok() || count > c.Left() || !c.Bytes(packedRow.data(), count))
                return w.Fail(IDS_FILE_NOT_READABLE);
            const bool ok = direct && m.pixelSize == 16 && packType == 3
                                ? UnpackWords(packedRow.data(), count, row.data(), size_t(width) * 2)
                                : UnpackBits(packedRow.data(), count, row.data(), planes ? stored : m.rowBytes);
            if (!ok) return w.Fail(IDS_FILE_NOT_READABLE);
        }
        if (bits) ConvertRow(m, planes, threeBytes, row.data(), bits + size_t(r) * outStride);
    }
    return true;
}

bool PixelOpcode(Cursor& c, uint16_t op, Walk& w) {
    const bool direct = op == 0x9A || op == 0x9B;
    if (direct) c.Skip(4);  // base address
    PixMap m;
    if (!ReadPixMap(c, direct, m, w)) return false;
    const PictRect src = c.Rect(), dst = c.Rect();
    c.U16();  // transfer mode
    if (op & 1) {
        const uint32_t size = c.U16();
        if (size < 2) return w.Fail(IDS_FILE_NOT_READABLE);
        c.Skip(size - 2);
    }
    if (!c.Ok()) return w.Fail(IDS_FILE_NOT_READABLE);
    DibBufferPtr picture;
    if (w.canvas) {
        picture = NewDibBuffer(m.bounds.Width(), m.bounds.Height());
        if (!picture) return w.Fail(IDS_NOT_ENOUGH_MEMORY);
    }
    if (!ReadRows(c, m, direct, op != 0x90 && op != 0x91, picture.get(), w)) return false;
    Blit(picture.get(), m.bounds, src, dst, w);
    w.pixels = true;
    w.deepest = std::max(w.deepest, int(m.pixmap ? std::min<uint32_t>(m.pixelSize, 24) : 1));
    return true;
}

// Pixel patterns: a pattern, and for type 1 a pixel map with its rows, passed over.
bool PixelPattern(Cursor& c, Walk& w) {
    const uint32_t type = c.U16();
    c.Skip(8);
    if (type == 2) {
        c.Skip(6);
    } else if (type == 1) {
        PixMap m;
        if (!ReadPixMap(c, false, m, w) || !ReadRows(c, m, false, true, nullptr, w)) return false;
    }
    return c.Ok() || w.Fail(IDS_FILE_NOT_READABLE);
}

bool CompressedPicture(Cursor& c, Walk& w) {
    const uint64_t length = c.U32();
    const uint64_t start = c.At();
    if (!c.Ok() || length > c.Left()) return w.Fail(IDS_FILE_NOT_READABLE);
    const uint64_t end = start + length;
    c.U16();  // version
    int32_t matrix[9];
    for (int32_t& v : matrix) v = int32_t(c.U32());
    const uint64_t matteSize = c.U32();
    c.Skip(10);  // matte rectangle, mode
    const PictRect src = c.Rect();
    c.Skip(4);  // accuracy
    const uint64_t maskSize = c.U32();
    c.Skip(matteSize + maskSize);
    const uint64_t descriptionAt = c.At();
    const uint32_t descriptionSize = c.U32();
    const uint32_t codec = c.U32();
    c.Seek(descriptionAt + 44);
    const uint32_t dataSize = c.U32();
    const uint64_t dataAt = descriptionAt + descriptionSize;
    if (!c.Ok() || descriptionSize < 48 || dataAt > end || dataSize > end - dataAt)
        return w.Fail(IDS_FILE_NOT_READABLE);
    if (codec == FourCC("jpeg")) {
        w.pixels = true;
        w.deepest = 24;
        if (w.canvas) {
            std::vector<uint8_t> data(dataSize);
            c.Seek(dataAt);
            if (!c.Bytes(data.data(), data.size())) return w.Fail(IDS_FILE_NOT_READABLE);
            DibBufferPtr picture = DecodeJpegFromMemory(data.data(), data.size());
            if (!picture) return w.Fail(IDS_FILE_NOT_READABLE);
            const Rect16 size = DibBuffer::GetRect(picture.get());
            PictRect bounds;
            bounds.right = size.Width();
            bounds.bottom = size.Height();
            // The matrix's scale and translation (16.16) place the source in the frame.
            auto place = [](int32_t v, int32_t scale, int32_t offset) {
                return int32_t(std::clamp<int64_t>((int64_t(v) * scale + offset) >> 16, -kFarOut, kFarOut));
            };
            PictRect dst;
            dst.left = place(src.left, matrix[0], matrix[6]);
            dst.right = place(src.right, matrix[0], matrix[6]);
            dst.top = place(src.top, matrix[4], matrix[7]);
            dst.bottom = place(src.bottom, matrix[4], matrix[7]);
            Blit(picture.get(), bounds, src, dst, w);
        }
    }
    c.Seek(end);
    return true;
}

// Passes over an opcode that draws no pixels, by the lengths version 2 pictures define.
bool SkipOpcode(Cursor& c, uint16_t op) {
    auto sized16 = [&] { c.Skip(c.U16()); };
    auto selfSized = [&] {  // regions and polygons count their own 2-byte size
        const uint32_t size = c.U16();
        if (size < 2) c.Skip(c.Left() + 1);
        else c.Skip(size - 2);
    };
    auto text = [&](uint64_t before) {
        c.Skip(before);
        c.Skip(c.U8());
    };
    if (op >= 0x8100) {
        c.Skip(c.U32());
    } else if (op >= 0x8000) {
    } else if (op >= 0x0100) {
        if (op == 0x02FF) c.Skip(2);
        else if (op == kOpHeader) c.Skip(24);
        else c.Skip(uint64_t(op >> 8) * 2);
    } else if (op >= 0xD0 && op <= 0xFE) {
        c.Skip(c.U32());
    } else if (op >= 0xB0) {
    } else if (op == 0xA0) {
        c.Skip(2);
    } else if (op == 0xA1) {
        c.Skip(2);
        sized16();
    } else if (op >= 0x92) {  // reserved, 0x92-0x97, 0x9C-0x9F, 0xA2-0xAF
        sized16();
    } else if (op >= 0x88) {
    } else if (op >= 0x80) {
        selfSized();  // regions
    } else if (op >= 0x78) {
    } else if (op >= 0x70) {
        selfSized();  // polygons
    } else if (op >= 0x68) {
        c.Skip(4);
    } else if (op >= 0x60) {
        c.Skip(12);
    } else if (op >= 0x30) {
        c.Skip((op & 8) ? 0 : 8);  // rectangles, rounded rectangles, ovals; "same" forms
    } else {
        switch (op) {
            case 0x00: case 0x17: case 0x18: case 0x19: case 0x1C: case 0x1E: break;
            case 0x01: selfSized(); break;
            case 0x02: case 0x09: case 0x0A: case 0x10: case 0x20: c.Skip(8); break;
            case 0x03: case 0x05: case 0x08: case 0x0D: case 0x15: case 0x16: case 0x23: c.Skip(2); break;
            case 0x04: c.Skip(1); break;
            case 0x06: case 0x07: case 0x0B: case 0x0C: case 0x0E: case 0x0F: case 0x21: c.Skip(4); break;
            case 0x11: c.Skip(1); break;
            case 0x1A: case 0x1B: case 0x1D: case 0x1F: case 0x22: c.Skip(6); break;
            case 0x24: case 0x25: case 0x26: case 0x27: case 0x2C: case 0x2D: case 0x2E: case 0x2F: sized16(); break;
            case 0x28: text(4); break;
            case 0x29: case 0x2A: text(1); break;
            case 0x2B: text(2); break;
            default: break;
        }
    }
    return c.Ok();
}

/// The start of the picture (its size word): 512 with the file header, else 0.
bool PictureStart(ByteSource& file, uint64_t& start) {
    for (uint64_t at : {kFileHeaderBytes, uint64_t(0)}) {
        uint8_t v[4];
        if (file.Read(at + 10, v, sizeof v) && v[0] == 0x00 && v[1] == 0x11 && v[2] == 0x02 && v[3] == 0xFF) {
            start = at;
            return true;
        }
    }
    return false;
}

bool WalkPicture(ByteSource& file, Walk& w) {
    uint64_t start = 0;
    if (!PictureStart(file, start)) return w.Fail(IDS_IMAGE_FORMAT_UNSUPPORTED);
    Cursor c(file, start + 2);
    const PictRect frame = c.Rect();
    if (!w.canvas) w.frame = frame;
    c.Skip(4);  // the version opcode
    bool first = true;
    while (c.Ok()) {
        c.Align();
        const uint16_t op = uint16_t(c.U16());
        if (!c.Ok()) break;
        if (op == kOpEnd) return true;
        if (first && op == kOpHeader) {
            const int32_t version = c.S16();
            c.U16();
            const uint32_t h = c.U32(), v = c.U32();
            const PictRect source = c.Rect();
            c.Skip(4);
            if (version == -2) {
                // Extended pictures give their own resolution and the frame in pixels.
                w.hRes = FixedPpi(h);
                w.vRes = FixedPpi(v);
                if (source.Width() > 0 && source.Height() > 0 && !w.canvas) w.frame = source;
            }
            first = false;
            continue;
        }
        first = false;
        bool ok = true;
        switch (op) {
            case 0x90: case 0x91: case 0x98: case 0x99: case 0x9A: case 0x9B: ok = PixelOpcode(c, op, w); break;
            case 0x12: case 0x13: case 0x14: ok = PixelPattern(c, w); break;
            case kOpCompressedPicture: ok = CompressedPicture(c, w); break;
            default: ok = SkipOpcode(c, op); break;
        }
        if (!ok) return w.Fail(IDS_FILE_NOT_READABLE);
    }
    return w.Fail(IDS_FILE_NOT_READABLE);
}

}  // namespace

bool PictReader::Probe(ByteSource& file) {
    uint64_t start = 0;
    return PictureStart(file, start);
}

std::optional<ImportedImageInfo> PictReader::Describe(ByteSource& file) {
    Walk w;
    if (!WalkPicture(file, w) || !ImportSizeAllowed(w.frame.Width(), w.frame.Height())) return std::nullopt;
    ImportedImageInfo answer;
    answer.fileType = FourCC("PICT");
    ImageDescription& d = answer.description;
    d.codecType = FourCC("PICT");
    d.width = int16_t(w.frame.Width());
    d.height = int16_t(w.frame.Height());
    d.hRes = w.hRes;
    d.vRes = w.vRes;
    d.depth = uint16_t(w.deepest ? w.deepest : 24);
    return answer;
}

DibBufferPtr PictReader::Decode(ByteSource& file, int& messageId) {
    Walk look;
    if (!WalkPicture(file, look)) {
        messageId = look.messageId;
        return nullptr;
    }
    if (!look.pixels) {
        messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;
        return nullptr;
    }
    if (!ImportSizeAllowed(look.frame.Width(), look.frame.Height())) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    DibBufferPtr canvas = NewDibBuffer(look.frame.Width(), look.frame.Height());
    if (!canvas) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    uint64_t bytes = 0;
    uint8_t* p = DibBuffer::GetBitsAndCount(canvas.get(), &bytes);
    std::memset(p, 255, bytes);
    Walk draw;
    draw.canvas = canvas.get();
    draw.frame = look.frame;
    if (!WalkPicture(file, draw)) {
        messageId = draw.messageId;
        return nullptr;
    }
    return canvas;
}

}  // namespace vx
