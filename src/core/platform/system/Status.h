#pragma once
#include <string>
#include <utility>

#include "platform/system/MessageArgs.h"

namespace vx {

/// Result of an operation that can fail for an expected reason: the string-table id of
/// the message to show (0 = success) and the arguments of its template.
struct Status {
    int stringId = 0;
    Args args;

    Status() = default;
    Status(int id, Args a = {}) : stringId(id), args(std::move(a)) {}  // NOLINT: implicit by design

    explicit operator bool() const { return stringId == 0; }
    bool ok() const { return stringId == 0; }
};

}  // namespace vx
