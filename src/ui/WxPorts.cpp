#include "ui/WxPorts.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>

#include "app/StatusTexts.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "platform/system/StringTable.h"
#include "ui/shell/LongLoopFilter.h"

namespace vx {
namespace {

long StyleFor(Icon icon, Buttons buttons) {
    long style = 0;
    switch (buttons) {
        case Buttons::Ok: style |= wxOK; break;
        case Buttons::OkCancel: style |= wxOK | wxCANCEL; break;
        case Buttons::YesNo: style |= wxYES_NO; break;
        case Buttons::YesNoCancel: style |= wxYES_NO | wxCANCEL; break;
        case Buttons::RetryCancel: style |= wxOK | wxCANCEL; break;
        case Buttons::AbortRetryIgnore: style |= wxYES_NO | wxCANCEL; break;
    }
    switch (icon) {
        case Icon::Information: style |= wxICON_INFORMATION; break;
        case Icon::Warning: style |= wxICON_WARNING; break;
        case Icon::Error: style |= wxICON_ERROR; break;
        case Icon::Question: style |= wxICON_QUESTION; break;
        case Icon::None: style |= wxICON_NONE; break;
    }
    return style;
}

}  // namespace

int WxMessagePort::Show(int stringId, const Args& args, Icon icon, Buttons buttons) {
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxMessageDialog dlg(parent, wxString::FromUTF8(MessageText(stringId, args)), "VellicorEX",
                        StyleFor(icon, buttons));
    if (buttons == Buttons::RetryCancel)
        dlg.SetOKCancelLabels("Wiederholen", "Abbrechen");
    else if (buttons == Buttons::AbortRetryIgnore)
        dlg.SetYesNoCancelLabels("Abbrechen", "Wiederholen", "Ignorieren");
    else if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel)
        dlg.SetYesNoCancelLabels("Ja", "Nein", "Abbrechen");
    else
        dlg.SetOKCancelLabels("OK", "Abbrechen");
    const int r = dlg.ShowModal();
    switch (buttons) {
        case Buttons::RetryCancel: return r == wxID_OK ? kIdRetry : kIdCancel;
        case Buttons::AbortRetryIgnore:
            return r == wxID_YES ? kIdAbort : r == wxID_NO ? kIdRetry : kIdIgnore;
        default: break;
    }
    switch (r) {
        case wxID_OK: return kIdOk;
        case wxID_YES: return kIdYes;
        case wxID_NO: return kIdNo;
        default: return kIdCancel;
    }
}

void WxStatusPort::UpdateStatusText(int code, const Args& args) {
    if (code == kStatusReady && mReadyHook) mReadyHook();
    if (!mFrame || !mFrame->GetStatusBar()) return;
    ApplicationState* app = HostService<ApplicationState>();
    const CLayoutSetting* layout = app ? app->ActiveLayoutSlot() : nullptr;
    const StatusUpdate update = FormatStatusUpdate(code, args, layout, app && app->Preferences().quickPrint == 1);
    if (update.message) mFrame->SetStatusText(wxString::FromUTF8(*update.message), 0);
    if (update.quickPrintState && mFrame->GetStatusBar()->GetFieldsCount() > 1)
        mFrame->SetStatusText(
            wxString::FromUTF8(QuickPrintPaneText(*update.quickPrintState, app && app->Preferences().quickPrint == 1)), 1);
}

bool WxProgressPort::IsCancelled() { return IsCtrlDecimalKeyDown(); }

}  // namespace vx
