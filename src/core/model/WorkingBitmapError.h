#pragma once
#include <stdexcept>

namespace vx {

/// An image item's working bitmap cannot be had at all (no memory for its buffer, or
/// the bitmap cannot be mapped). The item cannot be used any more; the exception goes
/// on to the command's fatal-error handler.
class WorkingBitmapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vx
