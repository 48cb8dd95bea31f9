#pragma once
#include <wx/toolbar.h>

/// The main toolbar: Load image | Print | New, Open, Open last | Save, 32 x 32 buttons,
/// gaps of 30 pixels. Moving the pointer over a button shows "Bereit" in the status bar.
class CMainToolBar : public wxToolBar {
public:
    /// Width of the gaps between the button groups.
    static constexpr int kGapWidth = 30;
    static constexpr int kButtonSize = 32;

    explicit CMainToolBar(wxWindow* parent);

    /// The gap windows, in order (tests measure them).
    const std::vector<wxWindow*>& Gaps() const { return mGaps; }

    /// Only remembers the button under the pointer (wxID_ANY: none): entering alone, as
    /// when the pointer is on a button the moment a dialog closes, keeps the status text.
    void OnMouseEnter(int toolid) override;

private:
    void AddButton(int command, const char* icon);
    void AddGap();
    void OnMotion(wxMouseEvent& event);

    std::vector<wxWindow*> mGaps;
    int mPointedTool = wxID_ANY;
};
