#pragma once
#include <string>

namespace vx {

/// Progress of long work: text, value within a range, and whether the user cancelled
/// (Cancel button, Esc, or Ctrl with the decimal key). IsCancelled also keeps the
/// window alive, so long loops call it regularly.
class ProgressPort {
public:
    virtual ~ProgressPort() = default;
    virtual void SetText(const std::string& text) = 0;
    virtual void SetRange(int maximum) = 0;
    virtual void SetValue(int value) = 0;
    virtual bool IsCancelled() = 0;
};

}  // namespace vx
