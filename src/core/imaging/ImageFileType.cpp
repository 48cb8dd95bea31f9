#include "imaging/ImageFileType.h"

#include <cstdio>
#include <memory>
#include <string>

namespace vx {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

/// Upper-cased text after the last '.' of the file name; empty without one.
std::string Extension(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return ext;
}

uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

int DetectImageFileType(const std::filesystem::path& path, uint32_t& code) {
    code = 0;
    const std::string ext = Extension(path);
    if (ext == "EPS") code = kFileTypeEps;
    else if (ext == "EFF") code = kFileTypeEff;
    if (code) return 0;

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return -1;
    // File header (14 bytes) and the info header up to its bit count (40 more).
    uint8_t head[54];
    const size_t got = std::fread(head, 1, sizeof head, file.get());
    if (got < 8) return -1;
    if (head[0] == 'B' && head[1] == 'M') {
        if (got < sizeof head) return -1;
        const uint32_t infoSize = LittleEndian32(head + 14);
        const uint16_t bitCount = uint16_t(head[28] | head[29] << 8);
        // The newer headers and 32-bit pixels are left to the importers.
        if (infoSize == 124 || infoSize == 108 || bitCount == 32) return -1;
        code = kFileTypeBmp;
    } else if ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M')) {
        code = kFileTypeTiff;
    } else if (head[0] == 0xFF && head[1] == 0xD8) {
        code = kFileTypeJpeg;
    }
    return code ? 0 : -1;
}

}  // namespace vx
