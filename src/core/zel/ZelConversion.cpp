#include "zel/ZelConversion.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "imaging/DibPixels.h"
#include "model/CImageObj.h"
#include "model/ImageOpenHooks.h"
#include "model/PictureLoader.h"
#include "platform/system/Folders.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "zel/StandInZelEngine.h"

namespace vx {
namespace {

// Closes the engine's handle on every path once it exists.
class Session {
public:
    explicit Session(ZelEngine& engine) : mEngine(engine) {}
    ~Session() {
        if (mHandle) mEngine.Close(mHandle);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    int32_t Open(const std::filesystem::path& path) { return mEngine.Open(path, mHandle); }
    ZelHandle Handle() const { return mHandle; }

private:
    ZelEngine& mEngine;
    ZelHandle mHandle = 0;
};

int32_t FormatFor(int components) { return components == 3 ? kZelFormatRgb : kZelFormatOther; }

int OpenFailureMessage(int32_t result) {
    if (result == kZelOutOfMemory) return IDS_NOT_ENOUGH_MEMORY;
    if (result == kZelCannotRead) return IDS_FILE_NOT_READABLE;
    return IDS_IMAGE_FORMAT_UNSUPPORTED;
}

void PutWord(std::vector<uint8_t>& record, size_t offset, uint32_t value) {
    std::memcpy(record.data() + offset, &value, sizeof value);
}

}  // namespace

int16_t QueryZelFile(ZelEngine& engine, const std::filesystem::path& path) {
    Session session(engine);
    if (session.Open(path) < 0) return 0;
    int16_t level = 0;
    if (engine.GetLevel(session.Handle(), level) < 0 || level < 2) return 0;
    return level;
}

bool ZelFeedInput(ZelEngine& engine, ZelHandle handle, const uint8_t* rows, int width, int height,
                  int components) {
    const int32_t started = engine.StartInput(handle, width, height, FormatFor(components));
    if (started < 0) return false;
    if (started == kZelNoInputNeeded3 || started == kZelNoInputNeeded7) return true;
    const size_t lineBytes = size_t(width) * size_t(components);
    for (int y = 0; y < height; ++y)
        if (engine.PutInputLine(handle, rows + size_t(y) * lineBytes) < 0) return false;
    return engine.EndInput(handle) >= 0;
}

std::unique_ptr<uint8_t[]> ZelReadOutput(ZelEngine& engine, ZelHandle handle, int width, int height,
                                         int components) {
    if (width < 1 || height < 1 || components < 1) return nullptr;
    if (engine.StartOutput(handle, width, height, FormatFor(components)) < 0) return nullptr;
    const size_t lineBytes = size_t(width) * size_t(components);
    std::unique_ptr<uint8_t[]> out(new (std::nothrow) uint8_t[lineBytes * size_t(height)]());
    if (!out) return nullptr;
    int taken = 0;
    while (taken < height) {
        const int32_t ready = engine.ReadyLines(handle);
        // More lines than are left would run past the block; none means it is stuck.
        if (ready <= 0 || ready > height - taken) return nullptr;
        for (int32_t i = 0; i < ready; ++i, ++taken)
            if (engine.TakeOutputLine(handle, out.get() + size_t(taken) * lineBytes) < 0) return nullptr;
    }
    if (engine.EndOutput(handle) < 0) return nullptr;
    return out;
}

DibBufferPtr ZelConvertImage(ZelEngine& engine, CImageObj& item, const Rect16* target, int& messageId) {
    Session session(engine);
    if (const int32_t opened = session.Open(item.GetFilePath()); opened < 0) {
        messageId = OpenFailureMessage(opened);
        return nullptr;
    }
    const ZelHandle h = session.Handle();
    if (engine.SetMode(h, item.GetUseZelFile()) < 0) item.SetUseZelFile(item.GetZelFile());

    const int targetWidth = target ? std::max(1, target->Width()) : 0;
    const int targetHeight = target ? std::max(1, target->Height()) : 0;
    RgbRows rows;
    int encoding = kZelEncodingDefault;
    if (item.GetFileType() == FourCC("JPEG")) {
        rows = DecodeYccJpeg(item.GetFilePath(), targetWidth, targetHeight);
    } else if (item.GetFileType() == FourCC("TIFF")) {
        int error = 0;
        rows = DecodeTiffLines(item.GetFilePath(), encoding, error);
    } else {
        return nullptr;
    }
    if (!rows) {
        item.SetUseZelFile(0);
        return nullptr;
    }
    if (encoding != kZelEncodingDefault) engine.SetInputEncoding(h, encoding);
    if (target && (rows.width != targetWidth || rows.height != targetHeight)) {
        rows = ResampleRgbRows(rows, targetWidth, targetHeight);
        if (!rows) return nullptr;
    }
    if (!ZelFeedInput(engine, h, rows.bytes.get(), rows.width, rows.height, 3)) return nullptr;
    std::unique_ptr<uint8_t[]> output = ZelReadOutput(engine, h, rows.width, rows.height, 3);
    rows.bytes.reset();
    if (!output) return nullptr;
    return CreateARGBBuffer(output.get(), rows.width, rows.height);
}

std::filesystem::path ZelReferencePath() { return DataFolder() / "01.tif"; }

DibBufferPtr ZelTunePass(ZelEngine& engine, const DibBuffer* buffer, const CImageObj&,
                         const std::filesystem::path& reference, int& messageId) {
    messageId = IDS_NOT_ENOUGH_MEMORY;
    if (!buffer) return nullptr;
    std::vector<uint8_t> record;
    try {
        record.assign(kZelJobRecordBytes, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Session session(engine);
    if (const int32_t opened = session.Open(reference); opened < 0) {
        if (opened != kZelOutOfMemory) messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    const ZelHandle h = session.Handle();
    PutWord(record, 8, 1);
    PutWord(record, 16, 5);
    if (engine.SetInputEncoding(h, kZelEncodingTune) < 0) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    engine.SetJobOption(h, kZelJobOption);
    if (const int32_t r = engine.SetJobRecord(h, record.data(), kZelJobRecordKind); r < 0) {
        if (r != kZelOutOfMemory) messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    const Rect16 rect = DibBuffer::GetRect(buffer);
    const int width = rect.Width();
    const int height = rect.Height();
    std::unique_ptr<uint8_t[]> rows = CopyToRGBRows(buffer);
    if (!rows || !ZelFeedInput(engine, h, rows.get(), width, height, 3)) return nullptr;
    std::unique_ptr<uint8_t[]> output = ZelReadOutput(engine, h, width, height, 3);
    if (!output) return nullptr;
    DibBufferPtr tuned = CreateARGBBuffer(output.get(), width, height);
    if (!tuned) return nullptr;
    CopyBufferChannel(buffer, tuned.get(), ChannelCopy::AlphaToAlpha);
    return tuned;
}

ZelEngine& InstalledZelEngine() {
    static StandInZelEngine engine;
    return engine;
}

void InstallZel() {
    ImageOpenHooks open = SetImageOpenHooks({});
    open.queryZelFile = [](const std::filesystem::path& path) { return QueryZelFile(InstalledZelEngine(), path); };
    SetImageOpenHooks(std::move(open));

    PictureLoaderHooks loader = SetPictureLoaderHooks({});
    loader.zelConvert = [](CImageObj& item, const Rect16& target, int& messageId) {
        return ZelConvertImage(InstalledZelEngine(), item, &target, messageId);
    };
    loader.zelTunePass = [](DibBuffer* buffer, CImageObj& item, int& messageId) -> DibBuffer* {
        return ZelTunePass(InstalledZelEngine(), buffer, item, ZelReferencePath(), messageId).release();
    };
    SetPictureLoaderHooks(std::move(loader));
}

}  // namespace vx
