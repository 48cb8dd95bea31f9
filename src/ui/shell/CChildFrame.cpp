#include "ui/shell/CChildFrame.h"

#include <wx/sizer.h>

#include "printing/CPrinterManager.h"
#include "ui/document/GPDocument.h"
#include "ui/printpane/CMainFormView.h"
#include "ui/shell/CChildSplitterWnd.h"
#include "ui/shell/DropTargets.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"

CChildFrame::CChildFrame(wxWindow* parent, vx::GPView* view)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE), mView(view) {
    mSplitter = new CChildSplitterWnd(this);
    mLeft = new CMainFormView(mSplitter, vx::CPrinterManager::GetInstance());
    mRight = CreateLayoutViewWindow(mSplitter, view);
    mRight->SetPrintSettingsPane(mLeft);
    mSplitter->SplitPanes(mLeft, mRight);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(mSplitter, 1, wxEXPAND);
    SetSizer(sizer);
    vx::AcceptLayoutDrops(this, view);
}

vx::LayoutPane* CChildFrame::CreateLayoutViewWindow(wxWindow* parent, vx::GPView* view) {
    return new vx::LayoutPane(parent, [view]() -> vx::CLayoutSetting* {
        vx::GPDocument* doc = view ? view->Document() : nullptr;
        return doc ? doc->Core().GetLayout() : nullptr;
    });
}

void CChildFrame::ShowPrintSettingsPane(bool shown) {
    if (shown == mSplitter->IsSplit()) return;
    if (!shown) {
        mHiddenPaneWidth = mSplitter->GetSashPosition();
        mSplitter->Unsplit(mLeft);
        return;
    }
    mSplitter->SplitVertically(mLeft, mRight, mHiddenPaneWidth > 0 ? mHiddenPaneWidth : mSplitter->InitialLeftWidth());
}
