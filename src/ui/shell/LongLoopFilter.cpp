#include "ui/shell/LongLoopFilter.h"

#include <wx/app.h>
#include <wx/event.h>
#include <wx/utils.h>

namespace vx {

LongLoopFilter::LongLoopFilter() = default;

LongLoopFilter::~LongLoopFilter() {
    if (mInstalled) wxEvtHandler::RemoveFilter(this);
}

LongLoopFilter& LongLoopFilter::Instance() {
    static LongLoopFilter filter;
    return filter;
}

bool LongLoopFilter::IsCancelChord(int keyCode, bool control) {
    return control && (keyCode == '.' || keyCode == WXK_NUMPAD_DECIMAL || keyCode == WXK_DECIMAL);
}

int LongLoopFilter::FilterEvent(wxEvent& event) {
    if (!mPumping) return Event_Skip;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_KEY_DOWN || type == wxEVT_CHAR_HOOK) {
        const auto& key = static_cast<wxKeyEvent&>(event);
        if (IsCancelChord(key.GetKeyCode(), key.ControlDown())) mCancel = true;
        return Event_Ignore;
    }
    if (type == wxEVT_KEY_UP || type == wxEVT_CHAR || type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_UP ||
        type == wxEVT_LEFT_DCLICK || type == wxEVT_RIGHT_DOWN || type == wxEVT_RIGHT_UP || type == wxEVT_RIGHT_DCLICK ||
        type == wxEVT_MIDDLE_DOWN || type == wxEVT_MIDDLE_UP || type == wxEVT_MIDDLE_DCLICK ||
        type == wxEVT_AUX1_DOWN || type == wxEVT_AUX1_UP || type == wxEVT_AUX2_DOWN || type == wxEVT_AUX2_UP ||
        type == wxEVT_MOUSEWHEEL || type == wxEVT_CONTEXT_MENU || type == wxEVT_MENU || type == wxEVT_BUTTON ||
        type == wxEVT_CLOSE_WINDOW)
        return Event_Ignore;
    return Event_Skip;
}

bool LongLoopFilter::PumpAndTakeCancel() {
    if (!mInstalled) {
        wxEvtHandler::AddFilter(this);
        mInstalled = true;
    }
    if (!mPumping && wxTheApp) {
        mPumping = true;
        wxTheApp->Yield(true);
        mPumping = false;
    }
    const bool held = wxGetKeyState(WXK_CONTROL) && (wxGetKeyState(wxKeyCode('.')) || wxGetKeyState(WXK_NUMPAD_DECIMAL));
    const bool cancel = mCancel || held;
    mCancel = false;
    return cancel;
}

bool IsCtrlDecimalKeyDown() { return LongLoopFilter::Instance().PumpAndTakeCancel(); }

}  // namespace vx
