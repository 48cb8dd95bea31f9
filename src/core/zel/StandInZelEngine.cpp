#include "zel/StandInZelEngine.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "colourmanagement/ProfileCatalogue.h"
#include "imaging/TiffHandle.h"
#include "platform/colour/ColourProfile.h"
#include "platform/colour/ColourTransform.h"
#include "zel/ZelFileFacts.h"

namespace vx {
namespace {

constexpr uint32_t kExifUncalibrated = 65535;
constexpr std::string_view kAdobeRgbDescription = "Adobe RGB(1998)";
constexpr int32_t kMaxSide = 32767;
constexpr size_t kStripeRows = 64;

// The three curves of a reference picture: 256 x 1, RGB, 8 bits per sample.
std::optional<ZelCurves> ReadReferenceCurves(const std::filesystem::path& path) {
    TiffFile tiff = OpenTiffFile(path);
    if (!tiff) return std::nullopt;
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0, photometric = 0, planar = PLANARCONFIG_CONTIG;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples) ||
        !TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits) ||
        !TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        return std::nullopt;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
    if (width != 256 || height != 1 || samples < 3 || bits != 8 || photometric != PHOTOMETRIC_RGB ||
        planar != PLANARCONFIG_CONTIG || TIFFIsTiled(tiff.get()))
        return std::nullopt;
    const tmsize_t lineBytes = TIFFScanlineSize(tiff.get());
    if (lineBytes < tmsize_t(256) * samples) return std::nullopt;
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    if (TIFFReadScanline(tiff.get(), line.data(), 0, 0) < 0) return std::nullopt;
    ZelCurves curves;
    for (size_t i = 0; i < 256; ++i)
        for (size_t c = 0; c < 3; ++c) curves[c][i] = line[i * samples + c];
    return curves;
}

void ApplyCurves(const ZelCurves& curves, uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i, pixels += 3) {
        pixels[0] = curves[0][pixels[0]];
        pixels[1] = curves[1][pixels[1]];
        pixels[2] = curves[2][pixels[2]];
    }
}

// The file of the profile the Exif colour space names.
std::optional<std::filesystem::path> SourceProfileFile(uint32_t exifColorSpace) {
    if (exifColorSpace == kExifUncalibrated)
        if (std::optional<std::string> name = FindProfileFileByDescription(kAdobeRgbDescription))
            if (auto file = LocateProfileFile(*name)) return file;
    if (std::optional<std::string> name = GetDefaultProfileName(kSpaceRgb)) return LocateProfileFile(*name);
    return std::nullopt;
}

}  // namespace

struct StandInZelEngine::Session {
    std::filesystem::path path;
    ZelFileFacts facts;
    int16_t mode = 0;
    int32_t encoding = kZelEncodingDefault;
    int32_t option = 0;
    int32_t inputFormat = 0;
    int32_t outputFormat = 0;
    std::optional<ZelCurves> reference;  // set by a job record: a tune pass
    int32_t width = 0;
    int32_t height = 0;
    std::unique_ptr<uint8_t[]> pixels;
    int32_t linesIn = 0;
    bool inputEnded = false;
    bool outputStarted = false;
    int32_t linesOut = 0;
};

struct StandInZelEngine::CachedTransform {
    std::mutex mutex;  // one thread at a time applies it
    ColourTransform transform;
};

StandInZelEngine::StandInZelEngine() = default;
StandInZelEngine::~StandInZelEngine() = default;

StandInZelEngine::Session* StandInZelEngine::Find(ZelHandle handle) {
    std::lock_guard lock(mMutex);
    auto it = mSessions.find(handle);
    return it == mSessions.end() ? nullptr : it->second.get();
}

int32_t StandInZelEngine::Open(const std::filesystem::path& file, ZelHandle& handle) {
    handle = 0;
    try {
        std::optional<ZelFileFacts> facts = ReadZelFileFacts(file);
        if (!facts) return kZelCannotRead;
        auto session = std::make_unique<Session>();
        session->path = file;
        session->facts = std::move(*facts);
        session->mode = session->facts.Level();
        std::lock_guard lock(mMutex);
        handle = mNext++;
        if (mNext == 0) mNext = 1;
        mSessions.emplace(handle, std::move(session));
        return 0;
    } catch (const std::bad_alloc&) {
        handle = 0;
        return kZelOutOfMemory;
    }
}

int32_t StandInZelEngine::Close(ZelHandle handle) {
    std::lock_guard lock(mMutex);
    return mSessions.erase(handle) ? 0 : kZelRefused;
}

int32_t StandInZelEngine::GetLevel(ZelHandle handle, int16_t& level) {
    Session* s = Find(handle);
    if (!s) return kZelRefused;
    level = s->facts.Level();
    return 0;
}

int32_t StandInZelEngine::SetMode(ZelHandle handle, int16_t mode) {
    Session* s = Find(handle);
    if (!s) return kZelRefused;
    if ((mode != 2 && mode != 4 && mode != 6) || (mode & ~s->facts.Level()) != 0) return kZelRefused;
    s->mode = mode;
    return 0;
}

int32_t StandInZelEngine::SetInputEncoding(ZelHandle handle, int32_t encoding) {
    Session* s = Find(handle);
    if (!s || encoding < kZelEncodingDefault || encoding > kZelEncodingTune) return kZelRefused;
    s->encoding = encoding;
    return 0;
}

int32_t StandInZelEngine::SetJobOption(ZelHandle handle, int32_t value) {
    Session* s = Find(handle);
    if (!s) return kZelRefused;
    s->option = value;
    return 0;
}

int32_t StandInZelEngine::SetJobRecord(ZelHandle handle, const uint8_t* record, int32_t) {
    Session* s = Find(handle);
    if (!s || !record) return kZelRefused;
    s->reference = ReadReferenceCurves(s->path);
    return s->reference ? 0 : kZelCannotRead;
}

int32_t StandInZelEngine::StartInput(ZelHandle handle, int32_t width, int32_t height, int32_t format) {
    Session* s = Find(handle);
    if (!s || s->pixels || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return kZelRefused;
    s->pixels.reset(new (std::nothrow) uint8_t[size_t(width) * size_t(height) * 3]);
    if (!s->pixels) return kZelOutOfMemory;
    s->width = width;
    s->height = height;
    s->inputFormat = format;
    return 0;
}

int32_t StandInZelEngine::PutInputLine(ZelHandle handle, const uint8_t* line) {
    Session* s = Find(handle);
    if (!s || !s->pixels || !line || s->inputEnded || s->linesIn >= s->height) return kZelRefused;
    const size_t lineBytes = size_t(s->width) * 3;
    std::memcpy(s->pixels.get() + size_t(s->linesIn) * lineBytes, line, lineBytes);
    ++s->linesIn;
    return 0;
}

int32_t StandInZelEngine::EndInput(ZelHandle handle) {
    Session* s = Find(handle);
    if (!s || !s->pixels || s->inputEnded || s->linesIn != s->height) return kZelRefused;
    const int32_t r = Convert(*s);
    if (r < 0) return r;
    s->inputEnded = true;
    return 0;
}

int32_t StandInZelEngine::Convert(Session& s) {
    const size_t count = size_t(s.width) * size_t(s.height);
    if (s.reference) {
        ApplyCurves(*s.reference, s.pixels.get(), count);
        return 0;
    }
    if ((s.mode & 4) && s.facts.curves) ApplyCurves(*s.facts.curves, s.pixels.get(), count);
    return ToWorkingSpace(s);
}

int32_t StandInZelEngine::ToWorkingSpace(Session& s) {
    std::optional<std::filesystem::path> sourceFile = SourceProfileFile(s.facts.exifColorSpace);
    if (!sourceFile) return kZelCannotRead;
    std::shared_ptr<CachedTransform> cached;
    {
        std::lock_guard lock(mMutex);
        std::shared_ptr<CachedTransform>& slot = mTransforms[sourceFile->string()];
        if (!slot) {
            ColourProfile source = OpenProfileByName(sourceFile->string());
            ColourProfile target = OpenEmbeddedMonitorProfile();
            if (!source || !target) return kZelCannotRead;
            const ChainEntry chain[] = {{&source, kIntentRelativeColorimetric},
                                        {&target, kIntentRelativeColorimetric}};
            auto made = std::make_shared<CachedTransform>();
            made->transform = ColourTransform::ForPixels(chain, TransformQuality::Proof);
            if (!made->transform) return kZelRefused;
            slot = std::move(made);
        }
        cached = slot;
    }
    const size_t width = size_t(s.width);
    std::vector<uint8_t> stripe;
    try {
        stripe.resize(width * 4 * kStripeRows);
    } catch (const std::bad_alloc&) {
        return kZelOutOfMemory;
    }
    std::lock_guard lock(cached->mutex);
    for (size_t row = 0; row < size_t(s.height); row += kStripeRows) {
        const size_t rows = std::min(kStripeRows, size_t(s.height) - row);
        uint8_t* rgb = s.pixels.get() + row * width * 3;
        const size_t n = rows * width;
        for (size_t i = 0; i < n; ++i) {
            stripe[i * 4 + 0] = rgb[i * 3 + 2];
            stripe[i * 4 + 1] = rgb[i * 3 + 1];
            stripe[i * 4 + 2] = rgb[i * 3 + 0];
            stripe[i * 4 + 3] = 255;
        }
        cached->transform.ApplyToPixels(stripe.data(), uint32_t(width), uint32_t(rows), width * 4);
        for (size_t i = 0; i < n; ++i) {
            rgb[i * 3 + 0] = stripe[i * 4 + 2];
            rgb[i * 3 + 1] = stripe[i * 4 + 1];
            rgb[i * 3 + 2] = stripe[i * 4 + 0];
        }
    }
    return 0;
}

int32_t StandInZelEngine::StartOutput(ZelHandle handle, int32_t width, int32_t height, int32_t format) {
    Session* s = Find(handle);
    if (!s || !s->inputEnded || s->outputStarted || width != s->width || height != s->height) return kZelRefused;
    s->outputStarted = true;
    s->outputFormat = format;
    return 0;
}

int32_t StandInZelEngine::ReadyLines(ZelHandle handle) {
    Session* s = Find(handle);
    if (!s || !s->outputStarted) return kZelRefused;
    return s->height - s->linesOut;
}

int32_t StandInZelEngine::TakeOutputLine(ZelHandle handle, uint8_t* line) {
    Session* s = Find(handle);
    if (!s || !s->outputStarted || !line || s->linesOut >= s->height) return kZelRefused;
    const size_t lineBytes = size_t(s->width) * 3;
    std::memcpy(line, s->pixels.get() + size_t(s->linesOut) * lineBytes, lineBytes);
    ++s->linesOut;
    return 0;
}

int32_t StandInZelEngine::EndOutput(ZelHandle handle) {
    Session* s = Find(handle);
    if (!s || !s->outputStarted) return kZelRefused;
    s->pixels.reset();
    return 0;
}

}  // namespace vx
