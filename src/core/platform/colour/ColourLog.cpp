#include "platform/colour/ColourLog.h"

#include <lcms2.h>

#include <cstdio>
#include <string>

namespace vx {
namespace {

void LittleCmsError(cmsContext, cmsUInt32Number code, const char* text) {
    LogColourError(std::string("LittleCMS error ") + std::to_string(code) + ": " +
                   (text ? text : ""));
}

}  // namespace

void LogColourError(std::string_view text) {
    std::fprintf(stderr, "vellicorex: colour: %.*s\n", int(text.size()), text.data());
}

void InstallColourLog() {
    static const bool installed = [] {
        cmsSetLogErrorHandler(LittleCmsError);
        return true;
    }();
    (void)installed;
}

}  // namespace vx
