#pragma once
#include <utility>

namespace vx {

namespace host_detail {
template <class T>
T*& Slot() {
    static T* slot = nullptr;
    return slot;
}
}  // namespace host_detail

/// The window side's implementation of the interface T (Shell, ViewServices, ...), or
/// null until one is installed. Core code treats null as "no window": no view, no pane,
/// nobody to tell. Used on the user-interface thread only.
template <class T>
T* HostService() {
    return host_detail::Slot<T>();
}

/// Installs service (null removes it); returns the previous one.
template <class T>
T* InstallHostService(T* service) {
    return std::exchange(host_detail::Slot<T>(), service);
}

/// Installs a service for the object's lifetime and puts the previous one back.
template <class T>
class ScopedHostService {
public:
    explicit ScopedHostService(T* service) : mPrevious(InstallHostService<T>(service)) {}
    ~ScopedHostService() { InstallHostService<T>(mPrevious); }
    ScopedHostService(const ScopedHostService&) = delete;
    ScopedHostService& operator=(const ScopedHostService&) = delete;

private:
    T* mPrevious;
};

}  // namespace vx
