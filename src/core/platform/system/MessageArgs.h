#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vx {

/// One argument of a printf-style message template.
using Arg = std::variant<long long, double, std::string>;
using Args = std::vector<Arg>;

}  // namespace vx
