#pragma once

namespace vx {

/// Shows that the program is busy (the wait cursor). The window side implements it.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
};

/// Busy while the scope lives; nothing without an indicator.
class BusyScope {
public:
    explicit BusyScope(BusyIndicator* indicator) : mIndicator(indicator) {
        if (mIndicator) mIndicator->BeginBusy();
    }
    ~BusyScope() {
        if (mIndicator) mIndicator->EndBusy();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    BusyIndicator* mIndicator;
};

}  // namespace vx
