#pragma once
#include <vector>

#include <wx/dialog.h>

#include "app/ImageInfoRows.h"

class COwnerDrawListCtrl;
class wxFrame;

namespace vx {

class CLayoutObj;
struct AppPreferences;

/// The modeless "Bildinformation" window: facts about one image item in three columns
/// (label, ":", value) without a header, each cell's whole text as its tooltip. It keeps
/// its shown flag and origin in the preferences, takes the frame's shortcuts and hands
/// their commands to the frame.
class CImageInfoWnd : public wxDialog {
public:
    static constexpr int kListId = 3827;

    /// A window over frame (its shortcuts' owner), placed at the preferences' origin.
    CImageInfoWnd(wxFrame* frame, AppPreferences& preferences);

    /// Stores the window's origin in the preferences (before it goes).
    void SavePlacement();
    /// Fills the rows for item (labels only for anything but an image).
    void ShowItem(const CLayoutObj& item);
    /// Labels and separators only.
    void Reset();

    COwnerDrawListCtrl* List() const { return mList; }
    /// How many cell tips were registered since the window was made: they are
    /// registered again only when the rows change.
    int TipRegistrations() const { return mTipRegistrations; }
    /// The tip over a point of the list's rows window, empty where there is none.
    wxString TipAt(const wxPoint& rowsPoint) const;

private:
    void SetRows(const ImageInfoTable& rows);
    void LayoutColumns();
    void RegisterTips();
    void FillFromActiveLayout();
    void TakeFrameShortcuts();
    void OnRowsMotion(wxMouseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);

    struct CellTip {
        long row;
        int firstColumn;
        int lastColumn;
        wxString text;
    };

    wxFrame* mFrame;
    AppPreferences& mPreferences;
    COwnerDrawListCtrl* mList = nullptr;
    wxWindow* mRows = nullptr;
    ImageInfoTable mShown;
    bool mFilled = false;
    std::vector<CellTip> mTips;
    int mTipRegistrations = 0;
};

}  // namespace vx
