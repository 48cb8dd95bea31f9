#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "JpegFixtures.h"
#include "imaging/DibBuffer.h"
#include "support/TestFolders.h"

namespace vx::test {

using FileDecoder = DibBufferPtr (*)(const std::filesystem::path&, const Rect16*, int&);

/// Files written into a fresh folder and decoded by one of the file decoders, which
/// leaves its message id in mMessageId.
template <FileDecoder Decoder>
class DecoderFiles : public testing::Test {
protected:
    std::filesystem::path Write(const std::vector<uint8_t>& bytes, const char* name = "picture") {
        const auto path = mRoot.Path() / name;
        WriteBytes(path, bytes);
        return path;
    }
    DibBufferPtr Decode(const std::filesystem::path& path, const Rect16* target = nullptr) {
        mMessageId = 0;
        return Decoder(path, target, mMessageId);
    }

    TestRoot mRoot;
    int mMessageId = 0;
};

}  // namespace vx::test
