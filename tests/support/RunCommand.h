#pragma once
#include <string>

namespace vx::test {

/// What a shell command writes to its standard output; empty when it cannot start.
std::string RunCommand(const std::string& command);

}  // namespace vx::test
