// Layout files are untrusted: load one as File Open does, with image adding that opens
// nothing, every font installed and every question answered with its first button.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "document/ImageItemOpener.h"
#include "document/LayoutXmlReader.h"
#include "host/HostService.h"
#include "host/ViewServices.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "platform/system/Ports.h"

namespace {

struct CopyingImageOpener : vx::ImageItemOpener {
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

struct InstalledFonts : vx::ViewServices {
    void FormatHeaderFooterText(int, vx::CLayoutSetting&) override {}
    bool EnsureFontAvailable(std::string&, bool&) override { return true; }
};

struct FirstButton : vx::MessagePort {
    int Show(int, const vx::Args&, vx::Icon, vx::Buttons buttons) override {
        return buttons == vx::Buttons::YesNo || buttons == vx::Buttons::YesNoCancel ? vx::kIdYes : vx::kIdOk;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CopyingImageOpener opener;
    static InstalledFonts fonts;
    static FirstButton messages;
    vx::SetImageItemOpener(&opener);
    vx::SetMessagePort(&messages);
    vx::ScopedHostService<vx::ViewServices> installed(&fonts);

    const int fd = memfd_create("fuzz.kqf", MFD_CLOEXEC);
    if (fd < 0) return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        vx::LayoutLoad load = vx::LoadLayoutXml("/proc/self/fd/" + std::to_string(fd));
        if (load.layout && vx::CountObjects(load.layout->ItemListHead()) > 999) __builtin_trap();
    }
    close(fd);
    return 0;
}
