#pragma once
// TIFF-structured blocks for the metadata tests: IFD0, an Exif IFD and IFD1 with typed
// entries, in either byte order. The Exif IFD is linked from IFD0 (tag 0x8769) when it
// has entries, IFD1 is IFD0's next IFD when it has entries or a thumbnail. Values longer
// than four bytes go after the IFDs, at even offsets.
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "imaging/ExifRecord.h"

namespace vx {

/// Readable failures for records compared whole.
inline void PrintTo(const ExifRecord& r, std::ostream* os) {
    *os << std::hex << "{presence 0x" << r.presence << std::dec << ", res " << r.xResolution << "/"
        << r.yResolution << " unit " << r.resolutionUnit << ", version "
        << std::string(r.exifVersion.begin(), r.exifVersion.end()) << ", flash " << r.flash
        << ", light " << r.lightSource << ", wb " << r.whiteBalance << ", contrast " << r.contrast
        << ", saturation " << r.saturation << ", exposure " << r.exposureTimeNumerator << "/"
        << r.exposureTimeDenominator << ", iso " << r.isoSpeedRatings << ", bias "
        << r.exposureBiasValue << ", f " << r.fNumber << ", space " << r.colorSpace
        << ", orientation " << r.orientation << ", \"" << r.maker << "\" \"" << r.model
        << "\" \"" << r.dateTimeOriginal << "\" \"" << r.dateTimeDigitized << "\"}";
}

}  // namespace vx

namespace vx::test {

class IfdWriter {
public:
    enum Ifd { kIfd0 = 0, kExif = 1, kIfd1 = 2 };

    explicit IfdWriter(bool bigEndian = false) : mBig(bigEndian) {}

    IfdWriter& Ascii(Ifd ifd, uint16_t tag, const std::string& text) {
        std::vector<uint8_t> v(text.begin(), text.end());
        v.push_back(0);
        const uint32_t count = uint32_t(v.size());
        return Add(ifd, tag, 2, count, std::move(v));
    }
    IfdWriter& Short(Ifd ifd, uint16_t tag, uint16_t value) { return Add(ifd, tag, 3, 1, U16(value)); }
    IfdWriter& Long(Ifd ifd, uint16_t tag, uint32_t value) { return Add(ifd, tag, 4, 1, U32(value)); }
    IfdWriter& Rational(Ifd ifd, uint16_t tag, uint32_t num, uint32_t den) {
        std::vector<uint8_t> v = U32(num);
        const std::vector<uint8_t> d = U32(den);
        v.insert(v.end(), d.begin(), d.end());
        return Add(ifd, tag, 5, 1, std::move(v));
    }
    IfdWriter& SRational(Ifd ifd, uint16_t tag, int32_t num, int32_t den) {
        Rational(ifd, tag, uint32_t(num), uint32_t(den));
        mIfds[ifd].back().type = 10;
        return *this;
    }
    IfdWriter& Undefined(Ifd ifd, uint16_t tag, std::vector<uint8_t> bytes) {
        const uint32_t count = uint32_t(bytes.size());
        return Add(ifd, tag, 7, count, std::move(bytes));
    }
    /// An entry as it stands: its value field holds valueOrOffset.
    IfdWriter& Raw(Ifd ifd, uint16_t tag, uint16_t type, uint32_t count, uint32_t valueOrOffset) {
        mIfds[ifd].push_back({tag, type, count, U32(valueOrOffset), kAsItStands});
        return *this;
    }
    /// The type of IFD0's link to the Exif IFD: LONG unless told SHORT.
    IfdWriter& ExifIfdOffsetAsShort() {
        mExifLinkType = 3;
        return *this;
    }
    /// A JPEG thumbnail of IFD1 (compression 6, offset and length).
    IfdWriter& Thumbnail(std::vector<uint8_t> jpeg) {
        mThumbnail = std::move(jpeg);
        return *this;
    }

    static constexpr uint32_t kIfd0Offset = 8;

    std::vector<uint8_t> Build() const {
        std::vector<Entry> ifds[3] = {mIfds[0], mIfds[1], mIfds[2]};
        if (!ifds[kExif].empty()) ifds[kIfd0].push_back({0x8769, mExifLinkType, 1, {}, kExifIfdOffset});
        if (!mThumbnail.empty()) {
            ifds[kIfd1].push_back({0x0103, 3, 1, U16(6), kValue});
            ifds[kIfd1].push_back({0x0201, 4, 1, {}, kThumbnailOffset});
            ifds[kIfd1].push_back({0x0202, 4, 1, U32(uint32_t(mThumbnail.size())), kValue});
        }
        uint32_t at[3];
        uint32_t end = kIfd0Offset;
        for (int i = 0; i < 3; ++i) {
            at[i] = end;
            if (i == kIfd0 || !ifds[i].empty()) end += 2 + uint32_t(ifds[i].size()) * 12 + 4;
        }
        std::vector<uint8_t> data;  // what follows the IFDs
        auto place = [&](const std::vector<uint8_t>& bytes) {
            if (data.size() % 2) data.push_back(0);
            const uint32_t offset = end + uint32_t(data.size());
            data.insert(data.end(), bytes.begin(), bytes.end());
            return offset;
        };
        const uint32_t thumbnailAt = mThumbnail.empty() ? 0 : place(mThumbnail);

        std::vector<uint8_t> out = {uint8_t(mBig ? 'M' : 'I'), uint8_t(mBig ? 'M' : 'I')};
        Append(out, U16(42));
        Append(out, U32(kIfd0Offset));
        for (int i = 0; i < 3; ++i) {
            if (i != kIfd0 && ifds[i].empty()) continue;
            Append(out, U16(uint16_t(ifds[i].size())));
            for (const Entry& e : ifds[i]) {
                Append(out, U16(e.tag));
                Append(out, U16(e.type));
                Append(out, U32(e.count));
                std::vector<uint8_t> field = e.value;
                if (e.kind == kExifIfdOffset) field = e.type == 3 ? U16(uint16_t(at[kExif])) : U32(at[kExif]);
                else if (e.kind == kThumbnailOffset) field = U32(thumbnailAt);
                else if (e.kind == kValue && field.size() > 4) field = U32(place(e.value));
                field.resize(4, 0);
                Append(out, field);
            }
            const bool linkIfd1 = i == kIfd0 && (!ifds[kIfd1].empty());
            Append(out, U32(linkIfd1 ? at[kIfd1] : 0));
        }
        Append(out, data);
        return out;
    }

    std::vector<uint8_t> U16(uint16_t x) const {
        return mBig ? std::vector<uint8_t>{uint8_t(x >> 8), uint8_t(x)} : std::vector<uint8_t>{uint8_t(x), uint8_t(x >> 8)};
    }
    std::vector<uint8_t> U32(uint32_t x) const {
        return mBig ? std::vector<uint8_t>{uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x)}
                    : std::vector<uint8_t>{uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)};
    }

private:
    enum Kind { kValue, kAsItStands, kExifIfdOffset, kThumbnailOffset };
    struct Entry {
        uint16_t tag;
        uint16_t type;
        uint32_t count;
        std::vector<uint8_t> value;
        Kind kind;
    };
    IfdWriter& Add(Ifd ifd, uint16_t tag, uint16_t type, uint32_t count, std::vector<uint8_t> value) {
        mIfds[ifd].push_back({tag, type, count, std::move(value), kValue});
        return *this;
    }
    static void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }

    bool mBig;
    uint16_t mExifLinkType = 4;
    std::vector<Entry> mIfds[3];
    std::vector<uint8_t> mThumbnail;
};

}  // namespace vx::test
