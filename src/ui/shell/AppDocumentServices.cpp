#include "ui/shell/AppDocumentServices.h"

#include "app/AppCore.h"

namespace vx {

void AppDocumentServices::AddRecentFile(const std::filesystem::path& path) {
    mWx.AddRecentFile(path);
    mCore.AddRecentFile(path);
}

}  // namespace vx
