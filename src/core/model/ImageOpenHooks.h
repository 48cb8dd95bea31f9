#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "imaging/ImageDescription.h"

namespace vx {

/// What the graphics importers say of a file the own readers do not recognise.
struct ImportedImageInfo {
    uint32_t fileType = 0;  // 'PNGf', '8BPS', 'PICT', ... ('BMPf' and 'EPS ' as reported)
    ImageDescription description;
    bool hasEmbeddedProfile = false;
};

/// The stages of opening an image file that the layers above the model provide. Each
/// has a default that keeps opening working without it.
struct ImageOpenHooks {
    /// The importers' answer for a file: null when none takes it. Default: null.
    std::function<std::optional<ImportedImageInfo>(const std::filesystem::path&)> importer;
    /// The file's Zel level (0, 2, 4 or 6). Default: 0.
    std::function<int16_t(const std::filesystem::path&)> queryZelFile;
};

/// Installs hooks (empty members take the defaults); returns the previous ones.
ImageOpenHooks SetImageOpenHooks(ImageOpenHooks hooks);

/// The installed hooks, defaults filled in.
const ImageOpenHooks& GetImageOpenHooks();

}  // namespace vx
