#pragma once
// An engine whose every answer a test sets, recording the calls it gets. By default it
// opens anything and passes the input lines through unchanged.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "zel/ZelEngine.h"

namespace vx::test {

class FakeZelEngine final : public ZelEngine {
public:
    int32_t openResult = 0;
    bool handleOnFailure = false;  // gives a handle with a failed open
    int32_t levelResult = 0;
    int16_t level = 2;
    int32_t modeResult = 0;
    int32_t encodingResult = 0;
    int32_t jobRecordResult = 0;
    int32_t startInputResult = 0;
    int32_t endInputResult = 0;
    /// ReadyLines answers these in turn, then all that is left.
    std::vector<int32_t> ready;

    std::vector<std::string> calls;
    std::vector<int32_t> encodings;
    std::vector<int16_t> modes;
    int linesIn = 0;
    int linesOut = 0;
    int opened = 0;
    int closed = 0;
    std::vector<uint8_t> jobRecord;
    int width = 0;
    int height = 0;

    int32_t Open(const std::filesystem::path&, ZelHandle& handle) override {
        calls.push_back("open");
        if (openResult >= 0 || handleOnFailure) {
            handle = 7;
            ++opened;
        }
        return openResult;
    }
    int32_t Close(ZelHandle handle) override {
        calls.push_back("close");
        if (handle == 7) ++closed;
        return 0;
    }
    int32_t GetLevel(ZelHandle, int16_t& out) override {
        out = level;
        return levelResult;
    }
    int32_t SetMode(ZelHandle, int16_t mode) override {
        modes.push_back(mode);
        return modeResult;
    }
    int32_t SetInputEncoding(ZelHandle, int32_t encoding) override {
        encodings.push_back(encoding);
        return encodingResult;
    }
    int32_t SetJobOption(ZelHandle, int32_t) override { return 0; }
    int32_t SetJobRecord(ZelHandle, const uint8_t* record, int32_t kind) override {
        if (kind == kZelJobRecordKind) jobRecord.assign(record, record + kZelJobRecordBytes);
        return jobRecordResult;
    }
    int32_t StartInput(ZelHandle, int32_t w, int32_t h, int32_t) override {
        calls.push_back("start input");
        width = w;
        height = h;
        pixels.assign(size_t(w) * size_t(h) * 3, 0);
        return startInputResult;
    }
    int32_t PutInputLine(ZelHandle, const uint8_t* line) override {
        if (linesIn >= height) return kZelRefused;
        std::memcpy(pixels.data() + size_t(linesIn) * size_t(width) * 3, line, size_t(width) * 3);
        ++linesIn;
        return 0;
    }
    int32_t EndInput(ZelHandle) override { return endInputResult; }
    int32_t StartOutput(ZelHandle, int32_t, int32_t, int32_t) override { return 0; }
    int32_t ReadyLines(ZelHandle) override {
        if (readyIndex < ready.size()) return ready[readyIndex++];
        return height - linesOut;
    }
    int32_t TakeOutputLine(ZelHandle, uint8_t* line) override {
        // Writes a whole line wherever it is asked to: ASan sees a line past the block.
        const size_t bytes = size_t(width) * 3;
        if (size_t(linesOut + 1) * bytes <= pixels.size())
            std::memcpy(line, pixels.data() + size_t(linesOut) * bytes, bytes);
        else
            std::memset(line, 0xAB, bytes);
        ++linesOut;
        return 0;
    }
    int32_t EndOutput(ZelHandle) override { return 0; }

    std::vector<uint8_t> pixels;

private:
    size_t readyIndex = 0;
};

}  // namespace vx::test
