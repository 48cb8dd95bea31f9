#pragma once

namespace vx {

/// The answer of a dialog's OK check: which control to focus when a value was refused
/// (its message has been shown then); 0 when everything passed.
struct DialogCheck {
    int controlId = 0;
    explicit operator bool() const { return controlId == 0; }
};

}  // namespace vx
