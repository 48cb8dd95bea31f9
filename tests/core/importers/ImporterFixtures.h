#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/DibBuffer.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
class CImageObj;
}

namespace vx::test {

/// Importers started and installed for each test, a folder for the pictures and the
/// messages recorded.
class ImportingTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Opens the bytes, written as fileName, as a new item and loads it at full size, as
    /// printing does; null when opening gives 0. opened receives OpenImageFile's result.
    DibBufferPtr Load(const std::vector<uint8_t>& bytes, std::unique_ptr<CImageObj>& item,
                      const char* fileName = "picture", int* opened = nullptr);

    TestRoot mRoot;
    RecordingMessagePort mMessages;
    ScopedPorts mPorts{&mMessages};
};

/// A PNG to write: rows of samples exactly as libpng takes them (packed below 8 bits,
/// big-endian at 16).
struct PngContent {
    int width = 1;
    int height = 1;
    int colourType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> palette;  // R,G,B triples
    std::vector<uint8_t> trns;     // palette alphas, or the raw tRNS bytes of grey/RGB
    std::optional<uint32_t> phys;  // pixels per unit, both directions
    int physUnit = 1;
    std::vector<uint8_t> icc;
    std::vector<uint8_t> samples;
};

std::vector<uint8_t> WritePng(const PngContent& content);

/// A PNG of only a signature and an IHDR (with its right CRC) claiming these sides.
std::vector<uint8_t> PngHeaderOnly(uint32_t width, uint32_t height);

/// A small valid sRGB profile.
std::vector<uint8_t> SmallIccProfile();

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

/// Deterministic bytes for samples.
std::vector<uint8_t> PatternBytes(size_t count, uint32_t seed);

}  // namespace vx::test

namespace vx::test {

/// A Photoshop document to write; planes hold each channel's stored rows (packed bits,
/// big-endian 16-bit samples), unpadded.
struct PsdContent {
    int width = 1;
    int height = 1;
    int mode = 3;
    int bits = 8;
    int version = 1;
    int compression = 0;  // 0 raw, 1 PackBits, 2 ZIP (written as raw bytes)
    std::vector<uint8_t> colourModeData;
    std::optional<uint32_t> resolution;  // 16.16
    int resolutionUnit = 1;              // 1 per inch, 2 per centimetre
    std::vector<uint8_t> icc;
    int16_t layerCount = 0;  // 0 writes an empty layer section
    std::vector<std::vector<uint8_t>> planes;
};

std::vector<uint8_t> WritePsd(const PsdContent& content);

/// PackBits of one row, with literal and repeat runs.
std::vector<uint8_t> PackRow(const uint8_t* row, size_t bytes);

}  // namespace vx::test

namespace vx::test {

/// Writes version 2 PICT pictures opcode by opcode.
class PictWriter {
public:
    /// The frame (top, left, bottom, right); with the 512-byte file header or without;
    /// an extended header with this resolution (16.16), else a plain version 2 header.
    PictWriter(int top, int left, int bottom, int right, bool fileHeader = true, uint32_t extendedRes = 0);

    void U8(uint32_t v) { mBytes.push_back(uint8_t(v)); }
    void U16(uint32_t v);
    void U32(uint32_t v);
    void Rect(int top, int left, int bottom, int right);
    void Op(uint16_t op);  // aligns to a word first

    /// A PackBitsRect (or BitsRect with op 0x90) of indexed pixels: bits 1 to 8, the
    /// colours as R,G,B triples (their count may be beyond 256 to test refusal), rows of
    /// `rowBytes`; pixmap false writes a plain bitmap.
    void IndexedBits(uint16_t op, int width, int height, int bits, const std::vector<uint8_t>& colours,
                     const std::vector<uint8_t>& rows, size_t rowBytes, int dstTop, int dstLeft, bool pixmap = true);
    /// A DirectBitsRect of 16 or 32 bits in a pack type; rows as stored unpacked (16-bit
    /// big-endian words, or x,R,G,B).
    void DirectBits(int width, int height, int pixelSize, int packType, const std::vector<uint8_t>& rows,
                    int dstTop, int dstLeft);
    /// The compressed-picture opcode holding a JPEG of width x height, placed at dst.
    void CompressedJpeg(const std::vector<uint8_t>& jpeg, int width, int height, int dstTop, int dstLeft);

    std::vector<uint8_t> Finish();

private:
    std::vector<uint8_t> mBytes;
};

}  // namespace vx::test
