#pragma once
#include <filesystem>

namespace vx {

/// What a printer device reports of itself, in device pixels.
struct DeviceCaps {
    int logPixelsX = 0, logPixelsY = 0;
    int physicalWidth = 0, physicalHeight = 0;    // the whole page, overspray included
    int physicalOffsetX = 0, physicalOffsetY = 0;  // where the printable area starts
    int printableWidth = 0, printableHeight = 0;

    bool operator==(const DeviceCaps&) const = default;
};

/// A printer device for the settings it was made with: its capabilities and the colour
/// profile of the current medium. Made by the driver module's CreateDC; the caller owns
/// it and gives it back through DeleteDC.
class PrintDevice {
public:
    PrintDevice(DeviceCaps caps, std::filesystem::path profile)
        : mCaps(caps), mProfile(std::move(profile)) {}
    virtual ~PrintDevice() = default;
    PrintDevice(const PrintDevice&) = delete;
    PrintDevice& operator=(const PrintDevice&) = delete;

    const DeviceCaps& Caps() const { return mCaps; }
    /// Full path of the medium's ICC profile.
    const std::filesystem::path& ProfilePath() const { return mProfile; }

    /// For ResetDC: the device now describes other settings.
    void Reset(DeviceCaps caps, std::filesystem::path profile) {
        mCaps = caps;
        mProfile = std::move(profile);
    }

private:
    DeviceCaps mCaps;
    std::filesystem::path mProfile;
};

}  // namespace vx
