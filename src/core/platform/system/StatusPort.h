#pragma once
#include "platform/system/MessageArgs.h"

namespace vx {

/// The status bar: a text chosen by code (ready, cursor position, size, loading
/// progress, ...) with its arguments.
class StatusPort {
public:
    virtual ~StatusPort() = default;
    virtual void UpdateStatusText(int code, const Args& args = {}) = 0;
};

}  // namespace vx
