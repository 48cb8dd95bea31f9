#include "imaging/TiffHandle.h"

#include <cstdarg>
#include <cstdio>

namespace vx {
namespace {

int LogTiffMessage(const char* kind, const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::fprintf(stderr, "vellicorex: tiff %s: %s: %s\n", kind, module ? module : "-", text);
    return 1;  // handled: libtiff's process-wide handlers stay silent
}

int LogError(TIFF*, void*, const char* module, const char* format, va_list args) {
    return LogTiffMessage("error", module, format, args);
}

int LogWarning(TIFF*, void*, const char* module, const char* format, va_list args) {
    return LogTiffMessage("warning", module, format, args);
}

struct OptionsFree {
    void operator()(TIFFOpenOptions* o) const noexcept { TIFFOpenOptionsFree(o); }
};
using Options = std::unique_ptr<TIFFOpenOptions, OptionsFree>;

Options MakeOptions() {
    Options options(TIFFOpenOptionsAlloc());
    if (!options) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kTiffMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), LogError, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), LogWarning, nullptr);
    return options;
}

}  // namespace

TiffFile OpenTiffFile(const std::filesystem::path& path) {
    Options options = MakeOptions();
    if (!options) return nullptr;
    return TiffFile(TIFFOpenExt(path.c_str(), "rm", options.get()));
}

TiffFile OpenTiffClient(const char* name, const char* mode, thandle_t client,
                        TIFFReadWriteProc read, TIFFReadWriteProc write, TIFFSeekProc seek,
                        TIFFCloseProc close, TIFFSizeProc size, TIFFMapFileProc map,
                        TIFFUnmapFileProc unmap) {
    Options options = MakeOptions();
    if (!options) return nullptr;
    return TiffFile(TIFFClientOpenExt(name, mode, client, read, write, seek, close, size, map,
                                      unmap, options.get()));
}

}  // namespace vx
