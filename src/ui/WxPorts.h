#pragma once
#include <functional>

#include <wx/frame.h>
#include <wx/weakref.h>

#include "platform/system/Ports.h"

namespace vx {

/// Message boxes with wx; the parent is the active top-level window.
class WxMessagePort final : public MessagePort {
public:
    int Show(int stringId, const Args& args, Icon icon, Buttons buttons) override;
};

/// The status bar of the main frame: the message pane's text by code for the active
/// layout, and the quick-print pane after it.
class WxStatusPort final : public StatusPort {
public:
    explicit WxStatusPort(wxFrame* frame) : mFrame(frame) {}
    void UpdateStatusText(int code, const Args& args) override;
    /// Runs with every ready text (the zoom and page bar shows the page then).
    void SetReadyHook(std::function<void()> hook) { mReadyHook = std::move(hook); }
private:
    wxWeakRef<wxFrame> mFrame;
    std::function<void()> mReadyHook;
};

/// Progress of long loops in the status bar's time: no window of its own; a cancel is
/// Ctrl with '.' or the keypad's decimal key, and asking runs the waiting events with
/// user input blocked.
class WxProgressPort final : public ProgressPort {
public:
    void SetText(const std::string&) override {}
    void SetRange(int) override {}
    void SetValue(int) override {}
    bool IsCancelled() override;
};

}  // namespace vx
