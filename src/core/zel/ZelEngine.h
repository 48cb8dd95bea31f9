#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vx {

/// A session of the Zel engine; 0 is none.
using ZelHandle = uint32_t;

/// Results of the engine's calls: below 0 is failure.
inline constexpr int32_t kZelCannotRead = -1001;
inline constexpr int32_t kZelOutOfMemory = -1003;
inline constexpr int32_t kZelRefused = -5;
/// Results of StartInput that mean no input lines are needed.
inline constexpr int32_t kZelNoInputNeeded3 = 3;
inline constexpr int32_t kZelNoInputNeeded7 = 7;

/// Colour encodings of the input lines (601 is the default and never announced).
inline constexpr int32_t kZelEncodingDefault = 601;
inline constexpr int32_t kZelEncodingTiff = 602;
inline constexpr int32_t kZelEncodingTune = 603;
/// Line formats of StartInput and StartOutput.
inline constexpr int32_t kZelFormatRgb = 200;    // 3 components per pixel
inline constexpr int32_t kZelFormatOther = 100;  // any other count

/// The job record of a tune pass: zero-filled, with 1 in the 32-bit word at byte 8 and
/// 5 in the one at byte 16; handed over with kind 200 after option 256.
inline constexpr size_t kZelJobRecordBytes = 1332;
inline constexpr int32_t kZelJobRecordKind = 200;
inline constexpr int32_t kZelJobOption = 256;

/// The Zel conversion engine, one virtual per call of the maker's library (its ordinal
/// in brackets). Lines are 24-bit pixels of 3 bytes, no padding. Every call on a handle
/// that Open gave may be made from one thread at a time; different handles are
/// independent.
class ZelEngine {
public:
    virtual ~ZelEngine() = default;

    /// (1) A session on a file. kZelCannotRead when the file cannot be read,
    /// kZelOutOfMemory when memory is short. A handle given with a failure must still
    /// be closed.
    virtual int32_t Open(const std::filesystem::path& file, ZelHandle& handle) = 0;
    /// (2) Ends a session.
    virtual int32_t Close(ZelHandle handle) = 0;
    /// (23) The file's Zel level.
    virtual int32_t GetLevel(ZelHandle handle, int16_t& level) = 0;
    /// (25) The conversion mode (an image item's `mUseZelFile`).
    virtual int32_t SetMode(ZelHandle handle, int16_t mode) = 0;
    /// (3) The input's colour encoding: 602 or 603.
    virtual int32_t SetInputEncoding(ZelHandle handle, int32_t encoding) = 0;
    /// (19) Set before a job (kZelJobOption).
    virtual int32_t SetJobOption(ZelHandle handle, int32_t value) = 0;
    /// (18) Hands over a job record of kZelJobRecordBytes.
    virtual int32_t SetJobRecord(ZelHandle handle, const uint8_t* record, int32_t kind) = 0;
    /// (4) Starts the input of width x height pixels; 3 and 7 mean no lines are needed.
    virtual int32_t StartInput(ZelHandle handle, int32_t width, int32_t height, int32_t format) = 0;
    /// (5) One input line.
    virtual int32_t PutInputLine(ZelHandle handle, const uint8_t* line) = 0;
    /// (6) Ends the input.
    virtual int32_t EndInput(ZelHandle handle) = 0;
    /// (7) Starts the output.
    virtual int32_t StartOutput(ZelHandle handle, int32_t width, int32_t height, int32_t format) = 0;
    /// (8) How many output lines are ready.
    virtual int32_t ReadyLines(ZelHandle handle) = 0;
    /// (9) Takes one output line.
    virtual int32_t TakeOutputLine(ZelHandle handle, uint8_t* line) = 0;
    /// (10) Ends the output.
    virtual int32_t EndOutput(ZelHandle handle) = 0;
};

}  // namespace vx
