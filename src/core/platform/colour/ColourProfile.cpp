#include "platform/colour/ColourProfile.h"

#include <lcms2.h>
#include <lcms2_plugin.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
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

// A profile file read by position: colour folders are listed by opening every file in
// them, and a buffered stream costs a seek and a second read of the same block for each.
struct DescriptorIo {
    cmsIOHANDLER io{};
    int fd = -1;
    uint64_t fileSize = 0;
    uint64_t position = 0;
    std::array<uint8_t, 4096> head{};
    size_t headBytes = 0;

    ~DescriptorIo() {
        if (fd >= 0) ::close(fd);
    }

    static DescriptorIo* Of(cmsIOHANDLER* handler) { return static_cast<DescriptorIo*>(handler->stream); }

    static cmsUInt32Number Read(cmsIOHANDLER* handler, void* buffer, cmsUInt32Number size, cmsUInt32Number count) {
        DescriptorIo* self = Of(handler);
        const uint64_t length = uint64_t(size) * count;
        if (length == 0) return 0;
        if (self->position + length > self->fileSize) {
            cmsSignalError(handler->ContextID, cmsERROR_READ, "read of %u bytes beyond the end of the profile", unsigned(length));
            return 0;
        }
        auto* out = static_cast<uint8_t*>(buffer);
        if (self->position + length <= self->headBytes) {
            std::memcpy(out, self->head.data() + self->position, size_t(length));
        } else {
            uint64_t done = 0;
            while (done < length) {
                const ssize_t n = ::pread(self->fd, out + done, size_t(length - done), off_t(self->position + done));
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    cmsSignalError(handler->ContextID, cmsERROR_READ, "profile read stopped after %u of %u bytes", unsigned(done), unsigned(length));
                    return 0;
                }
                done += uint64_t(n);
            }
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
    // Header and tag table usually lie in the first block, often the description too.
    const ssize_t got = ::pread(io->fd, io->head.data(), io->head.size(), 0);
    if (got < ssize_t(kMinProfileSize)) {
        LogColourError("cannot read profile " + PathText(path));
        return {};
    }
    io->headBytes = size_t(got);
    const uint32_t size = BigEndian32(io->head.data());
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
