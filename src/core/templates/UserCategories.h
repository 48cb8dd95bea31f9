#pragma once
#include <string>
#include <vector>

namespace vx {

/// The user's template categories, at most ten, in file order; filled at start-up and
/// saved at exit (document/UserCategoryFile.h). User-interface thread only.
std::vector<std::string>& UserCategoryList();
/// The built-in category keys (strings 12100 to 12106), filled with the user categories.
std::vector<std::string>& BuiltinCategoryKeys();

}  // namespace vx
