#pragma once
#include <wx/splitter.h>

/// The layout window's splitter: the print-settings pane on the left, the layout view on
/// the right. The left pane opens 332 pixels plus a scroll bar and two edges wide.
class CChildSplitterWnd : public wxSplitterWindow {
public:
    explicit CChildSplitterWnd(wxWindow* parent);

    int InitialLeftWidth() const { return mLeftWidth; }
    /// Puts the two panes in and opens the split at the initial width.
    void SplitPanes(wxWindow* left, wxWindow* right);

private:
    int mLeftWidth;
};
