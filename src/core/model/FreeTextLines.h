#pragma once
#include <string_view>
#include <vector>

namespace vx {

/// The lines of a free text as they are measured and drawn: CR LF, a bare LF and a bare
/// CR each end a line. A text that ends in a break has an empty last line, and an empty
/// text is one empty line. The views point into text.
std::vector<std::string_view> SplitFreeTextLines(std::string_view text);

}  // namespace vx
