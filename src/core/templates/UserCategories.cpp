#include "templates/UserCategories.h"

namespace vx {

std::vector<std::string>& UserCategoryList() {
    static std::vector<std::string> list;
    return list;
}

std::vector<std::string>& BuiltinCategoryKeys() {
    static std::vector<std::string> keys;
    return keys;
}

}  // namespace vx
