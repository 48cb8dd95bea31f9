#include "platform/colour/ColourProfile.h"

#include <lcms2.h>
#include <lcms2_plugin.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>
#include <fstream>
#include <system_error>

#include "platform/colour/ColourLog.h"
#include "platform/colour/IccText.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr uint32_t kMinProfileSize = 128;  // the fixed header
constexpr size_t kMaxTextTagBytes = 1 << 20;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// A profile file read by position through a window of its bytes: colour folders are
// listed by opening every file in them (a buffered stream costs a seek and a second read
// of the same block for each), and LittleCMS reads tables two bytes at a time.
struct DescriptorIo {
    static constexpr size_t kFirstRead = 4096;  // header, tag table, usually the description
    static constexpr size_t kWindow = 64 * 1024;

    cmsIOHANDLER io{};
    int fd = -1;
    uint64_t fileSize = 0;
    uint64_t position = 0;
    std::vector<uint8_t> window;
    uint64_t windowStart = 0;

    ~DescriptorIo() {
        if (fd >= 0) ::close(fd);
    }

    static DescriptorIo* Of(cmsIOHANDLER* handler) { return static_cast<DescriptorIo*>(handler->stream); }

    // Reads length bytes at offset into out, all or nothing.
    bool ReadAt(uint8_t* out, uint64_t length, uint64_t offset) const {
        uint64_t done = 0;
        while (done < length) {
            const ssize_t n = ::pread(fd, out + done, size_t(length - done), off_t(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += uint64_t(n);
        }
        return true;
    }

    // Makes the window start at offset holding up to bytes bytes (fewer at the file's end).
    bool Fill(uint64_t offset, size_t bytes) {
        const size_t want = size_t(std::min<uint64_t>(bytes, fileSize - offset));
        window.resize(want);
        windowStart = offset;
        if (ReadAt(window.data(), want, offset)) return true;
        window.clear();
        return false;
    }

    static cmsUInt32Number Read(cmsIOHANDLER* handler, void* buffer, cmsUInt32Number size, cmsUInt32Number count) {
        DescriptorIo* self = Of(handler);
        const uint64_t length = uint64_t(size) * count;
        if (length == 0) return 0;
        if (self->position + length > self->fileSize) {
            cmsSignalError(handler->ContextID, cmsERROR_READ, "read of %u bytes beyond the end of the profile", unsigned(length));
            return 0;
        }
        auto* out = static_cast<uint8_t*>(buffer);
        const bool inWindow = self->position >= self->windowStart &&
                              self->position + length <= self->windowStart + self->window.size();
        bool ok = true;
        if (inWindow) {
            std::memcpy(out, self->window.data() + (self->position - self->windowStart), size_t(length));
        } else if (length >= kWindow) {
            ok = self->ReadAt(out, length, self->position);
        } else {
            ok = self->Fill(self->position, kWindow);
            if (ok) std::memcpy(out, self->window.data(), size_t(length));
        }
        if (!ok) {
            cmsSignalError(handler->ContextID, cmsERROR_READ, "profile read of %u bytes failed", unsigned(length));
            return 0;
        }
        self->position += length;
        return count;
    }

    static cmsBool Seek(cmsIOHANDLER* handler, cmsUInt32Number offset) {
        DescriptorIo* self = Of(handler);
        if (offset > self->fileSize) {
            cmsSignalError(handler->ContextID, cmsERROR_SEEK, "seek beyond the end of the profile");
            return FALSE;
        }
        self->position = offset;
        return TRUE;
    }

    static cmsUInt32Number Tell(cmsIOHANDLER* handler) { return cmsUInt32Number(Of(handler)->position); }

    static cmsBool Write(cmsIOHANDLER*, cmsUInt32Number, const void*) { return FALSE; }

    static cmsBool Close(cmsIOHANDLER* handler) {
        delete Of(handler);
        return TRUE;
    }

    cmsIOHANDLER* Handler(const fs::path& path) {
        io.stream = this;
        io.ReportedSize = cmsUInt32Number(std::min<uint64_t>(fileSize, UINT32_MAX));
        std::snprintf(io.PhysicalFile, sizeof io.PhysicalFile, "%s", path.c_str());
        io.Read = &Read;
        io.Seek = &Seek;
        io.Close = &Close;
        io.Tell = &Tell;
        io.Write = &Write;
        return &io;
    }
};

}  // namespace

void ColourProfile::Closer::operator()(void* handle) const noexcept {
    cmsCloseProfile(handle);
}

ColourProfile::ColourProfile(void* handle, uint32_t headerSize) : mHandle(handle) {
    mHeader.size = headerSize;
    mHeader.deviceClass = uint32_t(cmsGetDeviceClass(handle));
    mHeader.colourSpace = uint32_t(cmsGetColorSpace(handle));
    mHeader.pcs = uint32_t(cmsGetPCS(handle));
    mHeader.version = cmsGetEncodedICCversion(handle);
    mHeader.renderingIntent = cmsGetHeaderRenderingIntent(handle);
}

ColourProfile ColourProfile::OpenFile(const fs::path& path) {
    InstallColourLog();
    auto io = std::make_unique<DescriptorIo>();
    io->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (io->fd < 0 || fstat(io->fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        LogColourError("cannot read profile " + PathText(path));
        return {};
    }
    io->fileSize = uint64_t(st.st_size);
    if (io->fileSize < kMinProfileSize || !io->Fill(0, DescriptorIo::kFirstRead)) {
        LogColourError("cannot read profile " + PathText(path));
        return {};
    }
    const uint32_t size = BigEndian32(io->window.data());
    if (size < kMinProfileSize || uintmax_t(size) > uintmax_t(st.st_size)) {
        LogColourError("profile size field does not fit the file: " + PathText(path));
        return {};
    }
    cmsIOHANDLER* handler = io->Handler(path);
    // From here LittleCMS owns the handler: it closes it with the profile, or at once
    // when the header does not read.
    io.release();
    cmsHPROFILE h = cmsOpenProfileFromIOhandlerTHR(nullptr, handler);
    if (!h) {
        LogColourError("cannot open profile " + PathText(path));
        return {};
    }
    return ColourProfile(h, size);
}

ColourProfile ColourProfile::OpenMemory(std::span<const uint8_t> bytes) {
    InstallColourLog();
    if (bytes.size() < kMinProfileSize) {
        LogColourError("profile data shorter than its header");
        return {};
    }
    const uint32_t size = BigEndian32(bytes.data());
    if (size < kMinProfileSize || size > bytes.size()) {
        LogColourError("profile size field does not fit the data");
        return {};
    }
    cmsHPROFILE h = cmsOpenProfileFromMem(bytes.data(), size);
    if (!h) {
        LogColourError("cannot open profile from memory");
        return {};
    }
    return ColourProfile(h, size);
}

bool ColourProfile::IsValid() const {
    if (!mHandle) return false;
    const uint32_t major = mHeader.version >> 24;
    if ((major != 2 && major != 4) || !cmsIsTag(Handle(), cmsSigProfileDescriptionTag))
        return false;
    for (cmsUInt32Number intent = 0; intent <= 3; ++intent)
        if (cmsIsIntentSupported(Handle(), intent, LCMS_USED_AS_INPUT) ||
            cmsIsIntentSupported(Handle(), intent, LCMS_USED_AS_OUTPUT))
            return true;
    return false;
}

std::optional<std::string> ColourProfile::Description() const {
    // Our own bounds-checked reading of the stored tag: LittleCMS 2.14 leaves
    // unfilled characters after UTF-16 pairs in what it hands out.
    auto tag = RawTag(uint32_t(cmsSigProfileDescriptionTag), kMaxTextTagBytes);
    if (!tag) return std::nullopt;
    auto text = DecodeIccText(*tag);
    if (!text) return std::nullopt;
    return TruncateCodePoints(*text, kMaxDescriptionChars);
}

std::optional<std::vector<uint8_t>> ColourProfile::RawTag(uint32_t signature,
                                                          size_t maxBytes) const {
    const auto sig = static_cast<cmsTagSignature>(signature);
    if (!mHandle || !cmsIsTag(Handle(), sig)) return std::nullopt;
    const cmsUInt32Number size = cmsReadRawTag(Handle(), sig, nullptr, 0);
    if (size == 0 || size > maxBytes) return std::nullopt;
    std::vector<uint8_t> data(size);
    if (cmsReadRawTag(Handle(), sig, data.data(), size) != size) return std::nullopt;
    return data;
}

}  // namespace vx
