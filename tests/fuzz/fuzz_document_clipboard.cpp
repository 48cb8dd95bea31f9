// What another program leaves on the system clipboard under our format is untrusted:
// read it as Paste does (after the token line), with image adding that opens nothing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "document/ClipboardItemsXml.h"
#include "document/ImageItemOpener.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "platform/system/Ports.h"

namespace {

struct NamingImageOpener : vx::ImageItemOpener {
    vx::CImageObj* CreateImageObj(const vx::CImageObj* prototype, vx::CLayoutObj** list,
                                  std::string_view name) override {
        auto item = std::make_unique<vx::CImageObj>(true, name);
        if (prototype) item->CopyFrom(*prototype, false);
        vx::CImageObj* raw = item.get();
        return vx::AppendObject(list, item) ? raw : nullptr;
    }
    bool OpenImageFile(vx::CImageObj& item, const std::filesystem::path& path) override {
        item.SetFilePath(path);
        return true;
    }
    void EnsureWorkingBitmap(vx::CImageObj&) override {}
    void RecalcFrameCaption(vx::CImageObj&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NamingImageOpener opener;
    vx::SetImageItemOpener(&opener);
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const size_t line = bytes.find('\n'); line != std::string_view::npos) bytes.remove_prefix(line + 1);
    vx::ClipboardItems read = vx::ReadClipboardItems(bytes);
    if (read.items.size() > 999) __builtin_trap();
    if (read.status != vx::ClipboardReadStatus::Read && !read.items.empty()) __builtin_trap();
    return 0;
}
