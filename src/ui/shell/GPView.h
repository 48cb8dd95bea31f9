#pragma once
#include <wx/docview.h>

class CChildFrame;

namespace vx {

class GPDocument;
class LayoutPane;

/// The framework view of the open layout: it makes the layout window (CChildFrame) in
/// the main window when the document opens and removes it when the document closes.
class GPView : public wxView {
public:
    GPView() = default;

    bool OnCreate(wxDocument* doc, long flags) override;
    bool OnClose(bool deleteWindow) override;
    void OnDraw(wxDC*) override {}
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnChangeFilename() override;

    GPDocument* Document() const;
    CChildFrame* ChildFrame() const { return mChild; }
    /// The layout view's window, or null.
    LayoutPane* Pane() const;

private:
    CChildFrame* mChild = nullptr;

    wxDECLARE_DYNAMIC_CLASS(GPView);
};

}  // namespace vx
