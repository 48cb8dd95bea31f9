#include "document/UserCategoryFile.h"

namespace vx {

std::filesystem::path UserCategoryFilePath(const std::filesystem::path& userFolder) {
    return userFolder / "VellicorEX_TemplatePref.ini";
}
int LoadUserCategoryList(const std::filesystem::path&) { return 1; }
int SaveUserCategoryList(const std::filesystem::path&) { return 1; }

}  // namespace vx
