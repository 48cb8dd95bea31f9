#include "ui/shell/CChildSplitterWnd.h"

#include "ui/shell/WxScreenMetrics.h"

CChildSplitterWnd::CChildSplitterWnd(wxWindow* parent)
    : wxSplitterWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH),
      mLeftWidth(vx::CurrentScreenMetrics().LeftPaneWidth()) {
    // A window that grows or shrinks gives and takes on the layout side only.
    SetSashGravity(0.0);
    SetMinimumPaneSize(1);
}

void CChildSplitterWnd::SplitPanes(wxWindow* left, wxWindow* right) { SplitVertically(left, right, mLeftWidth); }
