#include "ui/PrintStatusDialog.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

namespace vx {
namespace {

/// How often the job's progress calls let events through at most.
constexpr std::chrono::milliseconds kPumpInterval{30};

wxString Utf8(const std::string& s) { return wxString::FromUTF8(s.c_str()); }

}  // namespace

PrintStatusDialog::PrintStatusDialog(wxWindow* owner, std::function<void()> onCancel)
    : wxDialog(owner, kId, wxString::FromUTF8("Druckstatus"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU),
      mOnCancel(std::move(onCancel)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, kFixedText, wxString::FromUTF8("Drucken erfolgt...\nBitte warten Sie.")),
               0, wxALL, 10);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    mProgress = new wxGauge(this, kProgress, 10, wxDefaultPosition, wxSize(240, -1), wxGA_HORIZONTAL | wxGA_SMOOTH);
    row->Add(mProgress, 1, wxALIGN_CENTER_VERTICAL);
    mPercent = new wxStaticText(this, kPercent, " 0 %", wxDefaultPosition, wxSize(48, -1), wxALIGN_RIGHT);
    row->Add(mPercent, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 8);
    sizer->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    mStatus = new wxStaticText(this, kStatus, "status", wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
    // One size that shows each of the job's texts whole, second lines included: the
    // window does not change its size while the job runs.
    wxSize fit(0, 0);
    for (const std::string& text : CPrintStatusDlg::WidestStatusTexts()) {
        mStatus->SetLabel(Utf8(text));
        mStatus->InvalidateBestSize();
        fit.IncTo(mStatus->GetBestSize());
    }
    mStatus->SetLabel("status");
    mStatus->SetMinSize(fit);
    sizer->Add(mStatus, 0, wxEXPAND | wxALL, 10);
    sizer->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("Abbrechen")), 0, wxALIGN_CENTER | wxBOTTOM, 10);
    SetSizerAndFit(sizer);
    SetEscapeId(wxID_CANCEL);

    // Cancel only reports; the job closes the window when it has stopped.
    const auto cancel = [this] {
        if (mOnCancel) mOnCancel();
    };
    Bind(wxEVT_BUTTON, [cancel](wxCommandEvent&) { cancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [cancel](wxCloseEvent& e) {
        if (e.CanVeto()) {
            e.Veto();
            cancel();
        } else {
            e.Skip();
        }
    });
}

WxPrintStatusWindow::WxPrintStatusWindow(wxWindow* owner) : mOwner(owner ? wxGetTopLevelParent(owner) : nullptr) {}

WxPrintStatusWindow::~WxPrintStatusWindow() { Destroy(); }

bool WxPrintStatusWindow::Create(std::function<void()> onCancel) {
    if (mDialog) return true;
    mDialog = new PrintStatusDialog(mOwner.get(), std::move(onCancel));
    if (mOwner) mDialog->CentreOnParent();
    mDialog->Show();
    mDialog->Update();
    return true;
}

void WxPrintStatusWindow::Destroy() {
    if (!mDialog) return;
    PrintStatusDialog* dialog = std::exchange(mDialog, nullptr);
    dialog->Hide();
    dialog->Destroy();
}

bool WxPrintStatusWindow::IsOwnerEnabled() const { return mOwner && mOwner->IsEnabled(); }

void WxPrintStatusWindow::EnableOwner(bool enable) {
    if (mOwner) mOwner->Enable(enable);
}

void WxPrintStatusWindow::SetBarRange(int32_t lower, int32_t upper) {
    mLower = lower;
    if (mDialog) mDialog->Progress()->SetRange(std::max(1, int(std::max<int64_t>(int64_t(upper) - lower, 0))));
}

void WxPrintStatusWindow::SetBarPos(int32_t position) {
    if (!mDialog) return;
    wxGauge* bar = mDialog->Progress();
    const int64_t value = std::clamp<int64_t>(int64_t(position) - mLower, 0, bar->GetRange());
    bar->SetValue(int(value));
}

void WxPrintStatusWindow::SetPercentText(const std::string& text) {
    if (mDialog) mDialog->Percent()->SetLabel(Utf8(text));
}

void WxPrintStatusWindow::SetStatusText(const std::string& text) {
    if (mDialog) mDialog->Status()->SetLabel(Utf8(text));
}

bool WxPrintStatusWindow::Pump() {
    if (!wxTheApp) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - mLastPump < kPumpInterval) return true;
    mLastPump = now;
    // Only the status window takes input meanwhile; paints everywhere still run.
    if (mDialog) wxSafeYield(mDialog, true);
    else wxTheApp->Yield(true);
    return true;
}

}  // namespace vx
