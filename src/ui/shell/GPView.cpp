#include "ui/shell/GPView.h"

#include "model/CLayoutSetting.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/LayoutPane.h"

namespace vx {

wxIMPLEMENT_DYNAMIC_CLASS(GPView, wxView);

GPDocument* GPView::Document() const { return dynamic_cast<GPDocument*>(GetDocument()); }

LayoutPane* GPView::Pane() const { return mChild ? mChild->RightPane() : nullptr; }

bool GPView::OnCreate(wxDocument* doc, long flags) {
    if (!wxView::OnCreate(doc, flags)) return false;
    CMainFrame* frame = CMainFrame::Get();
    if (!frame) return false;
    // The document's layout exists only after New or Open ran; the pane follows it.
    // The view window sets the view-creating flag, its initial update clears it.
    mChild = frame->AttachLayoutWindow(this);
    SetFrame(frame);
    Activate(true);
    return true;
}

void GPView::OnUpdate(wxView*, wxObject*) {
    if (LayoutPane* pane = Pane()) {
        pane->Sync();
        pane->Invalidate();
    }
}

void GPView::OnChangeFilename() {
    // The view's frame is the shared main window: it names the active document itself.
    if (CMainFrame* frame = CMainFrame::Get()) frame->RenewTitle();
}

bool GPView::OnClose(bool deleteWindow) {
    if (!wxView::OnClose(deleteWindow)) return false;
    Activate(false);
    if (CMainFrame* frame = CMainFrame::Get()) frame->DetachLayoutWindow(mChild);
    mChild = nullptr;
    // The main window is shared by every document: it is not the view's to close.
    SetFrame(nullptr);
    return true;
}

}  // namespace vx
