#pragma once
#include <wx/frame.h>
#include <wx/weakref.h>

#include "platform/system/Ports.h"

namespace vx {

/// Message boxes with wx; the parent is the active top-level window.
class WxMessagePort final : public MessagePort {
public:
    int Show(int stringId, const Args& args, Icon icon, Buttons buttons) override;
};

/// The status bar of the main frame; texts by code come with the shell.
class WxStatusPort final : public StatusPort {
public:
    explicit WxStatusPort(wxFrame* frame) : mFrame(frame) {}
    void UpdateStatusText(int code, const Args& args) override;
private:
    wxWeakRef<wxFrame> mFrame;
};

}  // namespace vx
