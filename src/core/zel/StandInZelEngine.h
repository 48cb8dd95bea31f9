#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "zel/ZelEngine.h"

namespace vx {

class ColourTransform;

/// Our own Zel engine. Its rules:
/// - Level of a file (read when a session opens): 2 when its Exif version is "0220" or
///   later (Exif Print), 4 when it carries a Zel block (see ZelFileFacts.h: JPEG APP11
///   "VXZEL\0", TIFF tag 65000), 6 for both, else 0. A block that does not parse is
///   absent. Files that are neither JPEG nor TIFF open with level 0; an unreadable file
///   gives kZelCannotRead.
/// - Mode 2, 4 or 6 is accepted when its bits lie in the level; any other mode is
///   refused (kZelRefused) and the session keeps converting by its level.
/// - Conversion of a file's session: with bit 4 of the mode the block's curves first
///   (R, G, B each through its own curve); then, through the colour layer with
///   relative colorimetric intent, from the file's Exif colour space into the space of
///   the program's profile 208 (the source that colour management gives such
///   pictures). Exif colour space 65535 means "Adobe RGB(1998)" when the profile
///   catalogue has that profile; anything else means the default RGB profile (sRGB).
/// - A session that is handed a job record (SetJobRecord) is a tune pass: its file is
///   the reference, a 256 x 1 RGB TIFF of 8 bits per sample, whose pixels are three
///   curves (pixel i: the R, G and B values for input i), applied per channel; nothing
///   else is done. A reference that is no such TIFF refuses the job record
///   (kZelCannotRead).
/// - The output has the input's size; all its lines are ready once the input has
///   ended, in the order the input lines came.
/// - Encodings 601 to 603, formats 100 and 200 and the job option are recorded, not
///   used; other encodings are refused.
/// Sessions are independent and may run on different threads.
class StandInZelEngine final : public ZelEngine {
public:
    StandInZelEngine();
    ~StandInZelEngine() override;

    int32_t Open(const std::filesystem::path& file, ZelHandle& handle) override;
    int32_t Close(ZelHandle handle) override;
    int32_t GetLevel(ZelHandle handle, int16_t& level) override;
    int32_t SetMode(ZelHandle handle, int16_t mode) override;
    int32_t SetInputEncoding(ZelHandle handle, int32_t encoding) override;
    int32_t SetJobOption(ZelHandle handle, int32_t value) override;
    int32_t SetJobRecord(ZelHandle handle, const uint8_t* record, int32_t kind) override;
    int32_t StartInput(ZelHandle handle, int32_t width, int32_t height, int32_t format) override;
    int32_t PutInputLine(ZelHandle handle, const uint8_t* line) override;
    int32_t EndInput(ZelHandle handle) override;
    int32_t StartOutput(ZelHandle handle, int32_t width, int32_t height, int32_t format) override;
    int32_t ReadyLines(ZelHandle handle) override;
    int32_t TakeOutputLine(ZelHandle handle, uint8_t* line) override;
    int32_t EndOutput(ZelHandle handle) override;

private:
    struct Session;
    struct CachedTransform;
    Session* Find(ZelHandle handle);
    int32_t Convert(Session& s);
    int32_t ToWorkingSpace(Session& s);

    std::mutex mMutex;  // the session table and the transform cache
    std::map<ZelHandle, std::unique_ptr<Session>> mSessions;
    ZelHandle mNext = 1;
    std::map<std::string, std::shared_ptr<CachedTransform>> mTransforms;
};

}  // namespace vx
