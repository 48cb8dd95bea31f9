#include "document/ImageItemOpener.h"

#include <utility>

#include "model/ImageAdding.h"

namespace vx {
namespace {

/// The model's own image adding.
struct ModelImageItems final : ImageItemOpener {
    CImageObj* CreateImageObj(const CImageObj* prototype, CLayoutObj** list, std::string_view name) override {
        return vx::CreateImageObj(prototype, list, name);
    }
    bool OpenImageFile(CImageObj& item, const std::filesystem::path& path) override {
        return vx::OpenImageFile(&item, path) != 0;
    }
    void EnsureWorkingBitmap(CImageObj& item) override { vx::EnsureWorkingBitmap(item); }
    void RecalcFrameCaption(CImageObj& item) override { vx::RecalcFrameCaption(item); }
};

ModelImageItems gModel;
ImageItemOpener* gBound = nullptr;

}  // namespace

ImageItemOpener& ImageItems() { return gBound ? *gBound : gModel; }

ImageItemOpener* SetImageItemOpener(ImageItemOpener* opener) { return std::exchange(gBound, opener); }

}  // namespace vx
