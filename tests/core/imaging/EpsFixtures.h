#pragma once
// EPS files in the layout a photo editor writes for raster pictures, with their image
// resources ("8BIM") and clipping paths, written by the tests themselves.
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace vx::test {

inline void PutBe(std::vector<uint8_t>& v, uint32_t x, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) v.push_back(uint8_t(x >> (8 * i)));
}

/// A block of image resources.
class ResourceBuilder {
public:
    ResourceBuilder& Add(uint16_t id, const std::string& name, const std::vector<uint8_t>& data) {
        mBytes.insert(mBytes.end(), {'8', 'B', 'I', 'M'});
        PutBe(mBytes, id, 2);
        mBytes.push_back(uint8_t(name.size()));
        mBytes.insert(mBytes.end(), name.begin(), name.end());
        if ((name.size() + 1) % 2) mBytes.push_back(0);
        PutBe(mBytes, uint32_t(data.size()), 4);
        mBytes.insert(mBytes.end(), data.begin(), data.end());
        if (data.size() % 2) mBytes.push_back(0);
        return *this;
    }
    /// Resource 1005: whole pixels per inch as 16.16 values.
    ResourceBuilder& Resolution(uint16_t horizontal, uint16_t vertical) {
        std::vector<uint8_t> d;
        PutBe(d, uint32_t(horizontal) << 16, 4);
        PutBe(d, 1, 2);
        PutBe(d, 2, 2);
        PutBe(d, uint32_t(vertical) << 16, 4);
        PutBe(d, 1, 2);
        PutBe(d, 2, 2);
        return Add(1005, "", d);
    }
    /// Resource 2999: the clipping path's name as a Pascal string and a flatness.
    ResourceBuilder& ClippingPathName(const std::string& name) {
        std::vector<uint8_t> d = {uint8_t(name.size())};
        d.insert(d.end(), name.begin(), name.end());
        PutBe(d, 0x00010000, 4);
        return Add(2999, "", d);
    }
    const std::vector<uint8_t>& Bytes() const { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};

/// Path records of 26 bytes; points are fractions of the width (x) and height (y).
class PathBuilder {
public:
    struct Point {
        double x, y;
    };
    PathBuilder& Record(uint16_t selector, uint16_t value = 0) {
        std::vector<uint8_t> r;
        PutBe(r, selector, 2);
        PutBe(r, value, 2);
        r.resize(26, 0);
        mBytes.insert(mBytes.end(), r.begin(), r.end());
        return *this;
    }
    PathBuilder& Knot(uint16_t selector, Point before, Point anchor, Point after) {
        PutBe(mBytes, selector, 2);
        for (Point p : {before, anchor, after}) {
            PutBe(mBytes, uint32_t(int32_t(p.y * (1 << 24))), 4);
            PutBe(mBytes, uint32_t(int32_t(p.x * (1 << 24))), 4);
        }
        return *this;
    }
    /// A closed subpath of straight sides through the corners.
    PathBuilder& Polygon(const std::vector<Point>& corners) {
        Record(0, uint16_t(corners.size()));
        for (Point p : corners) Knot(2, p, p, p);
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return mBytes; }

private:
    std::vector<uint8_t> mBytes;
};

inline std::string HexLines(const std::vector<uint8_t>& bytes, const std::string& prefix,
                            const std::string& lineEnd, bool lowerCase = false) {
    const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) out += prefix;
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
        if (i % 32 == 31 || i + 1 == bytes.size()) out += lineEnd;
    }
    return out;
}

struct EpsFixture {
    std::string lineEnd = "\n";
    bool epsfHeader = true;
    int columns = 4;
    int rows = 3;
    int depth = 8;
    int mode = 3;
    int padChannels = 0;
    int blockSize = 0;  // 0: the columns
    int format = 1;
    std::string imageDataLine;  // in place of the numbers above when set
    std::vector<uint8_t> resources;
    std::vector<uint8_t> icc;
    bool lowerCaseHex = false;
    /// Binary rows of planes (formats 1 and 2) or JPEG bytes (3 to 6).
    std::vector<uint8_t> data;
    /// Bytes written before "%%BeginBinary:" (to move keywords about).
    size_t filler = 0;
};

inline std::vector<uint8_t> EncodeEps(const EpsFixture& s) {
    const std::string& n = s.lineEnd;
    std::string t;
    t += s.epsfHeader ? "%!PS-Adobe-3.0 EPSF-3.0" : "%!PS-Adobe-3.0";
    t += n + "%%BoundingBox: 0 0 " + std::to_string(s.columns) + " " + std::to_string(s.rows) + n;
    std::string numbers = s.imageDataLine;
    if (numbers.empty()) {
        for (int v : {s.columns, s.rows, s.depth, s.mode, s.padChannels, s.blockSize ? s.blockSize : s.columns,
                      s.format})
            numbers += std::to_string(v) + " ";
        numbers += "\"beginimage\"";
    }
    t += "%ImageData: " + numbers + n;
    if (!s.resources.empty()) {
        t += "%BeginPhotoshop: " + std::to_string(s.resources.size()) + n;
        t += HexLines(s.resources, "% ", n);
        t += "%EndPhotoshop" + n;
    }
    if (!s.icc.empty()) {
        t += "%%BeginICCProfile: " + std::to_string(s.icc.size()) + n;
        t += HexLines(s.icc, "% ", n);
        t += "%%EndICCProfile" + n;
    }
    t += std::string(s.filler, ' ') + n;
    std::string body = s.format == 2 ? HexLines(s.data, "", n, s.lowerCaseHex)
                                     : std::string(s.data.begin(), s.data.end());
    t += "%%BeginBinary: " + std::to_string(body.size()) + n + "beginimage" + n + body;
    t += n + "%%EndBinary" + n + "%%EOF" + n;
    return std::vector<uint8_t>(t.begin(), t.end());
}

/// A DOS EPS file: the 30-byte header (no metafile, checksum FFFF), `postScriptOffset`
/// less 30 zero bytes, the PostScript, then the TIFF preview (none when empty).
inline std::vector<uint8_t> DosEps(const std::vector<uint8_t>& postScript, const std::vector<uint8_t>& tiff,
                                   uint32_t postScriptOffset = 30) {
    std::vector<uint8_t> out = {0xC5, 0xD0, 0xD3, 0xC6};
    auto le = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    le(postScriptOffset);
    le(uint32_t(postScript.size()));
    le(0);
    le(0);
    le(tiff.empty() ? 0 : uint32_t(postScriptOffset + postScript.size()));
    le(uint32_t(tiff.size()));
    out.push_back(0xFF);
    out.push_back(0xFF);
    out.resize(postScriptOffset, 0);
    out.insert(out.end(), postScript.begin(), postScript.end());
    out.insert(out.end(), tiff.begin(), tiff.end());
    return out;
}

/// Sets the 32-bit field at `offset` of a DOS EPS header.
inline void SetDosField(std::vector<uint8_t>& file, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[offset + size_t(i)] = uint8_t(value >> (8 * i));
}

}  // namespace vx::test
