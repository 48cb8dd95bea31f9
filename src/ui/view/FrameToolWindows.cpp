#include "ui/view/FrameToolWindows.h"

#include <wx/frame.h>

#include "app/ApplicationCommands.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "ui/document/FileDialogs.h"
#include "ui/shell/CommandIds.h"
#include "ui/view/CGPDialogBar.h"
#include "ui/view/CImageInfoWnd.h"
#include "ui/view/CImagePreviewDlg.h"

namespace vx {
namespace {

AppPreferences* Preferences() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

}  // namespace

FrameToolWindows::FrameToolWindows(wxWindow* parent, CGPDialogBar* bar) : mParent(parent), mBar(bar) {
    if (!mParent) return;
    // Bound after the frame's own range handlers, so these run first.
    for (int command : {kToggleImageInfo, kToggleImagePreview}) {
        mParent->Bind(wxEVT_MENU, &FrameToolWindows::OnToggle, this, ToWxId(command));
        mParent->Bind(wxEVT_UPDATE_UI, &FrameToolWindows::OnUpdateToggle, this, ToWxId(command));
    }
    // The windows go with the frame: their placement is stored while the preferences
    // still exist, and the preview's copy is freed while its picture store does.
    mParent->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == mParent.get()) CloseWindows();
        event.Skip();
    });
}

FrameToolWindows::~FrameToolWindows() {
    if (mParent) {
        for (int command : {kToggleImageInfo, kToggleImagePreview}) {
            mParent->Unbind(wxEVT_MENU, &FrameToolWindows::OnToggle, this, ToWxId(command));
            mParent->Unbind(wxEVT_UPDATE_UI, &FrameToolWindows::OnUpdateToggle, this, ToWxId(command));
        }
    }
    CloseWindows();
}

void FrameToolWindows::CloseWindows() {
    if (mInfo) {
        mInfo->SavePlacement();
        mInfo->Destroy();
        mInfo = nullptr;
    }
    if (mPreview) {
        mPreview->SavePlacement();
        mPreview->Renderer().Clear();
        mPreview->Destroy();
        mPreview = nullptr;
    }
}

void FrameToolWindows::SetZoom(int32_t numerator, int32_t denominator) {
    if (mBar) mBar->SetZoom(numerator, denominator);
}

std::vector<std::filesystem::path> FrameToolWindows::ChooseImageFiles(const std::filesystem::path& startFolder) {
    return ChooseImageFilesWithDialog(mParent.get(), startFolder);
}

bool FrameToolWindows::IsImageInfoShown() { return mInfo.get() != nullptr; }

void FrameToolWindows::ShowImageInfo(const CLayoutObj& item, int) {
    // Every group fills all rows: the window shows one item at a time.
    if (mInfo) mInfo->ShowItem(item);
}

void FrameToolWindows::ResetImageInfoRows() {
    if (mInfo) mInfo->Reset();
}

void FrameToolWindows::OnPreviewObjectRemoved(uint32_t objectId) {
    if (mPreview) mPreview->OnObjectRemoved(objectId);
}

void FrameToolWindows::RecreatePreviewPane() {
    if (mPreview) mPreview->RecreatePane();
}

void FrameToolWindows::ShowToolWindowsFromSettings(const AppPreferences& preferences) {
    if (preferences.imageInfoWindow && !mInfo) CreateInfoWindow();
    if (preferences.imagePreviewWindow && !mPreview) CreatePreviewWindow();
}

bool FrameToolWindows::ShowObject(const CLayoutObj* item) { return mPreview && mPreview->ShowObject(item); }

CLayoutObj* FrameToolWindows::GetCurrentObject() { return mPreview ? mPreview->GetCurrentObject() : nullptr; }

void FrameToolWindows::Refresh() {
    if (mPreview) mPreview->RefreshPane();
}

void FrameToolWindows::UpdateImage() {
    if (mPreview) mPreview->UpdateImage();
}

void FrameToolWindows::CreateInfoWindow() {
    AppPreferences* preferences = Preferences();
    if (!preferences) return;
    mInfo = new CImageInfoWnd(dynamic_cast<wxFrame*>(mParent.get()), *preferences);
    mInfo->Show();
}

void FrameToolWindows::CreatePreviewWindow() {
    AppPreferences* preferences = Preferences();
    if (!preferences) return;
    mPreview = new CImagePreviewDlg(mParent.get(), *preferences);
    mPreview->Show();
}

void FrameToolWindows::ToggleImageInfo() {
    AppPreferences* preferences = Preferences();
    if (!preferences) return;
    preferences->imageInfoWindow = preferences->imageInfoWindow ? 0 : 1;
    if (preferences->imageInfoWindow) {
        if (!mInfo) CreateInfoWindow();
    } else if (mInfo) {
        mInfo->SavePlacement();
        mInfo->Destroy();
        mInfo = nullptr;
    }
}

void FrameToolWindows::ToggleImagePreview() {
    AppPreferences* preferences = Preferences();
    if (!preferences) return;
    preferences->imagePreviewWindow = preferences->imagePreviewWindow ? 0 : 1;
    if (preferences->imagePreviewWindow) {
        if (mPreview) {
            mPreview->Show();
            mPreview->UpdateImage();
        } else {
            CreatePreviewWindow();
        }
    } else if (mPreview) {
        mPreview->Hide();  // it stays made, with its zoom
    }
}

void FrameToolWindows::OnToggle(wxCommandEvent& event) {
    if (FromWxId(event.GetId()) == kToggleImageInfo) ToggleImageInfo();
    else ToggleImagePreview();
}

void FrameToolWindows::OnUpdateToggle(wxUpdateUIEvent& event) {
    const int command = FromWxId(event.GetId());
    const AppPreferences* preferences = Preferences();
    const bool shown = command == kToggleImageInfo ? mInfo.get() != nullptr
                                                   : preferences && preferences->imagePreviewWindow && mPreview;
    event.Enable(true);
    event.SetText(wxString::FromUTF8(ToolWindowToggleText(command, shown)));
}

}  // namespace vx
