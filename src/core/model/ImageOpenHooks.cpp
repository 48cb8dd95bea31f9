#include "model/ImageOpenHooks.h"

#include <utility>

namespace vx {
namespace {

ImageOpenHooks WithDefaults(ImageOpenHooks h) {
    if (!h.importer) h.importer = [](const std::filesystem::path&) { return std::optional<ImportedImageInfo>(); };
    if (!h.queryZelFile) h.queryZelFile = [](const std::filesystem::path&) { return int16_t(0); };
    return h;
}

ImageOpenHooks& Hooks() {
    static ImageOpenHooks hooks = WithDefaults({});
    return hooks;
}

}  // namespace

ImageOpenHooks SetImageOpenHooks(ImageOpenHooks hooks) {
    return std::exchange(Hooks(), WithDefaults(std::move(hooks)));
}

const ImageOpenHooks& GetImageOpenHooks() {
    return Hooks();
}

}  // namespace vx
