// What adding an image costs in metadata: the Exif record and the frame header of a
// 24-megapixel camera JPEG, against libjpeg's jpeg_read_header on the same file; once
// for a file without an Exif thumbnail (header segments only) and once with one, whose
// decoding is measured on its own as well. Run by hand (scripts/bench-metadata); the
// ratios at the end come from paired runs.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../core/imaging/IfdWriter.h"
#include "BenchFolder.h"
#include "LibjpegHeader.h"
#include "RatioReporter.h"
#include "imaging/FileByteSource.h"
#include "imaging/JpegError.h"
#include "imaging/JpegMetadata.h"
#include "imaging/JpegReader.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

fs::path gFolder;
std::vector<uint8_t> gThumbnail;  // the JPEG inside the Exif block
size_t gExifBytes = 0;

fs::path File(bool withThumbnail) { return gFolder / (withThumbnail ? "thumbnail.jpg" : "plain.jpg"); }

/// Writes a JPEG of width x height with the given APPn markers into the file, or without
/// one into a malloc'd block. Trivial locals only: libjpeg may jump back here.
bool Encode(jpeg_compress_struct& c, JpegErrorManager& errors, std::FILE* file, uint8_t** memory,
            unsigned long* memoryBytes, int width, int height, const std::vector<std::pair<int, std::vector<uint8_t>>>* markers) {
    c.err = InitJpegErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    if (file) jpeg_stdio_dest(&c, file);
    else jpeg_mem_dest(&c, memory, memoryBytes);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    for (size_t i = 0; markers && i < markers->size(); ++i)
        jpeg_write_marker(&c, (*markers)[i].first, (*markers)[i].second.data(), unsigned((*markers)[i].second.size()));
    std::vector<uint8_t> row(size_t(width) * 3);
    while (c.next_scanline < c.image_height) {
        const uint32_t y = c.next_scanline;
        for (int x = 0; x < width; ++x) {
            const uint32_t h = (uint32_t(x) * 2654435761u) ^ (y * 40503u);
            row[size_t(x) * 3] = uint8_t(x / 24 + (h >> 29));
            row[size_t(x) * 3 + 1] = uint8_t(y / 16 + (h >> 28 & 3));
            row[size_t(x) * 3 + 2] = uint8_t((x + int(y)) / 40);
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

bool MakeThumbnail() {
    jpeg_compress_struct c{};
    JpegErrorManager errors{};
    uint8_t* thumbnail = nullptr;
    unsigned long thumbnailBytes = 0;
    if (!Encode(c, errors, nullptr, &thumbnail, &thumbnailBytes, 160, 120, nullptr)) return false;
    gThumbnail.assign(thumbnail, thumbnail + thumbnailBytes);
    std::free(thumbnail);
    return true;
}

/// A camera's file: Exif (IFD0, Exif IFD, a maker note, with or without a 160 x 120
/// thumbnail), XMP and an ICC profile, then 6000 x 4000 pixels.
bool WriteCameraJpeg(bool withThumbnail) {
    using W = test::IfdWriter;
    W exif;
    exif.Ascii(W::kIfd0, 271, "Kamerawerk").Ascii(W::kIfd0, 272, "KW-9").Short(W::kIfd0, 0x0112, 1)
        .Rational(W::kIfd0, 282, 300, 1).Rational(W::kIfd0, 283, 300, 1).Short(W::kIfd0, 296, 2)
        .Rational(W::kExif, 0x829A, 1, 250).Rational(W::kExif, 0x829D, 56, 10).Short(W::kExif, 0x8827, 400)
        .Undefined(W::kExif, 0x9000, {'0', '2', '3', '1'}).Ascii(W::kExif, 0x9003, "2023:07:14 10:11:12")
        .Ascii(W::kExif, 0x9004, "2023:07:14 10:11:12").SRational(W::kExif, 0x9204, 0, 3)
        .Short(W::kExif, 0x9209, 16).Short(W::kExif, 0xA001, 1).Short(W::kExif, 0xA403, 0)
        .Undefined(W::kExif, 0x927C, std::vector<uint8_t>(20000, 7));
    if (withThumbnail) exif.Thumbnail(gThumbnail);
    std::vector<uint8_t> app1 = {'E', 'x', 'i', 'f', 0, 0};
    const std::vector<uint8_t> tiff = exif.Build();
    app1.insert(app1.end(), tiff.begin(), tiff.end());
    if (withThumbnail) gExifBytes = app1.size();
    std::string xmp = std::string("http://ns.adobe.com/xap/1.0/") + '\0' + "<x:xmpmeta>" + std::string(6000, ' ') + "</x:xmpmeta>";
    std::vector<uint8_t> icc = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0, 1, 1};
    icc.resize(3200, 0);
    const std::vector<std::pair<int, std::vector<uint8_t>>> markers = {
        {JPEG_APP0 + 1, app1}, {JPEG_APP0 + 1, std::vector<uint8_t>(xmp.begin(), xmp.end())}, {JPEG_APP0 + 2, icc}};
    std::FILE* file = std::fopen(File(withThumbnail).c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct big{};
    JpegErrorManager errors{};
    const bool ok = Encode(big, errors, file, nullptr, nullptr, 6000, 4000, &markers);
    return std::fclose(file) == 0 && ok;
}

void BM_ReadMetadataAndFrameHeader(benchmark::State& state, bool withThumbnail) {
    const fs::path path = File(withThumbnail);
    uint64_t bytes = 0;
    for (auto _ : state) {
        FileByteSource file;
        ExifRecord record;
        int width = 0, height = 0, components = 0;
        DibBufferPtr thumbnail;
        if (!file.Open(path)) state.SkipWithError("no file");
        thumbnail = ReadJpegMetadata(file, record);
        if (bool(thumbnail) != withThumbnail || record.presence == 0 ||
            !ReadJpegFrameHeader(file, width, height, components))
            state.SkipWithError("metadata failed");
        bytes = file.BytesRead();
        benchmark::DoNotOptimize(thumbnail.get());
    }
    state.counters["bytes read"] = double(bytes);
    state.counters["file bytes"] = double(fs::file_size(path));
    if (withThumbnail) state.counters["Exif bytes"] = double(gExifBytes);
}

void BM_DecodeThumbnail(benchmark::State& state) {
    for (auto _ : state) {
        DibBufferPtr b = DecodeJpegFromMemory(gThumbnail.data(), gThumbnail.size());
        if (!b) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(b.get());
    }
}

void BM_JpegReadHeader(benchmark::State& state, bool withThumbnail) {
    const fs::path path = File(withThumbnail);
    for (auto _ : state)
        if (!bench::ReadJpegHeaderWithLibjpeg(path.c_str())) state.SkipWithError("header failed");
}

BENCHMARK_CAPTURE(BM_ReadMetadataAndFrameHeader, Plain, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_JpegReadHeader, Plain, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ReadMetadataAndFrameHeader, Thumbnail, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_JpegReadHeader, Thumbnail, true)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_DecodeThumbnail)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    gFolder = folder.Path();
    if (gFolder.empty()) return 1;
    if (!MakeThumbnail() || !WriteCameraJpeg(false) || !WriteCameraJpeg(true)) {
        std::fprintf(stderr, "the benchmark files could not be written in %s\n", gFolder.c_str());
        return 1;
    }
    return bench::RunWithRatios(argc, argv, {
        {"BM_ReadMetadataAndFrameHeader/Plain/real_time", "BM_JpegReadHeader/Plain/real_time", 2.0},
        {"BM_ReadMetadataAndFrameHeader/Thumbnail/real_time", "BM_JpegReadHeader/Thumbnail/real_time", 0},
        {"BM_DecodeThumbnail/real_time", "BM_JpegReadHeader/Thumbnail/real_time", 0},
    });
}
