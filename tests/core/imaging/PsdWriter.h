#pragma once
// Photoshop files for the metadata tests: header, colour-mode data, image resources
// (made with ResourceBuilder), an empty layer section and blank uncompressed planes.
#include <cstdint>
#include <vector>

#include "EpsFixtures.h"

namespace vx::test {

/// The data of a thumbnail resource (1033 or 1036): its 28-byte header, then the JPEG.
inline std::vector<uint8_t> ThumbnailData(const std::vector<uint8_t>& jpeg, uint32_t width, uint32_t height) {
    std::vector<uint8_t> d;
    const uint32_t rowBytes = (width * 24 + 31) / 32 * 4;
    PutBe(d, 1, 4);  // JPEG RGB
    PutBe(d, width, 4);
    PutBe(d, height, 4);
    PutBe(d, rowBytes, 4);
    PutBe(d, rowBytes * height, 4);
    PutBe(d, uint32_t(jpeg.size()), 4);
    PutBe(d, 24, 2);
    PutBe(d, 1, 2);
    d.insert(d.end(), jpeg.begin(), jpeg.end());
    return d;
}

struct PsdFixture {
    uint16_t channels = 3;
    uint32_t width = 4;
    uint32_t height = 2;
    uint16_t bits = 8;
    uint16_t mode = 3;  // RGB
    std::vector<uint8_t> colourModeData;
    std::vector<uint8_t> resources;  // ResourceBuilder's bytes
};

inline std::vector<uint8_t> EncodePsd(const PsdFixture& s) {
    std::vector<uint8_t> f = {'8', 'B', 'P', 'S'};
    PutBe(f, 1, 2);
    f.insert(f.end(), 6, 0);
    PutBe(f, s.channels, 2);
    PutBe(f, s.height, 4);
    PutBe(f, s.width, 4);
    PutBe(f, s.bits, 2);
    PutBe(f, s.mode, 2);
    PutBe(f, uint32_t(s.colourModeData.size()), 4);
    f.insert(f.end(), s.colourModeData.begin(), s.colourModeData.end());
    PutBe(f, uint32_t(s.resources.size()), 4);
    f.insert(f.end(), s.resources.begin(), s.resources.end());
    PutBe(f, 0, 4);  // no layers
    PutBe(f, 0, 2);  // raw planes
    f.insert(f.end(), size_t(s.channels) * s.width * s.height * (s.bits / 8 ? s.bits / 8 : 1), 0);
    return f;
}

}  // namespace vx::test
