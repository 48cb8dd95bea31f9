#include "document/ImageItemOpener.h"

#include <utility>

namespace vx {
namespace {

struct NoImageItems final : ImageItemOpener {
    CImageObj* CreateImageObj(const CImageObj*, CLayoutObj**, std::string_view) override { return nullptr; }
    bool OpenImageFile(CImageObj&, const std::filesystem::path&) override { return false; }
    void EnsureWorkingBitmap(CImageObj&) override {}
    void RecalcFrameCaption(CImageObj&) override {}
};

NoImageItems gNone;
ImageItemOpener* gBound = nullptr;

}  // namespace

ImageItemOpener& ImageItems() { return gBound ? *gBound : gNone; }

ImageItemOpener* SetImageItemOpener(ImageItemOpener* opener) { return std::exchange(gBound, opener); }

}  // namespace vx
