#pragma once
#include <memory>

#include "ui/document/GPDocument.h"

namespace vx {

class AppCore;

/// The document's window services with the recent files kept in the settings store
/// too, so the next start lists them.
class AppDocumentServices final : public DocumentServices {
public:
    AppDocumentServices(wxDocManager* manager, AppCore& core) : mWx(manager), mCore(core) {}

    std::optional<SaveLayoutChoice> ChooseSaveLayoutPath(const std::filesystem::path& folder,
                                                         const std::string& fileName, bool relative) override {
        return mWx.ChooseSaveLayoutPath(folder, fileName, relative);
    }
    void AddRecentFile(const std::filesystem::path& path) override;
    std::filesystem::path DocumentsFolder() override { return mWx.DocumentsFolder(); }
    void RenewMainTitle() override { mWx.RenewMainTitle(); }

private:
    WxDocumentServices mWx;
    AppCore& mCore;
};

}  // namespace vx
