#pragma once
#include <wx/panel.h>

#include "view/ZoomPageBar.h"

class wxComboBox;
class CIconButton;

namespace vx {

/// A bar that runs an initialisation step once its window exists.
class CInitDialogBar : public wxPanel {
public:
    CInitDialogBar() = default;
    /// Makes the bar's window as a child of parent and runs InitBar; false when either
    /// fails.
    bool Create(wxWindow* parent, wxWindowID id = wxID_ANY, long style = wxTAB_TRAVERSAL);
    /// Fills the controls; true when the bar can be used.
    virtual bool InitBar() { return TransferDataToWindow(); }
};

/// The zoom and page bar below the toolbar: the zoom in an editable list between the
/// zoom buttons, the page in an editable list between the page buttons. It holds no
/// layout data: everything goes to the active layout view, which keeps it in step
/// through SetZoom and SetPages.
class CGPDialogBar : public CInitDialogBar, private ZoomPageBarControls {
public:
    enum Id : int {
        kIdZoomIn = 3748,
        kIdZoomOut = 3750,
        kIdNextPage = 3751,
        kIdPrevPage = 3752,
        kIdZoomList = 3880,
        kIdPageList = 3881,
    };
    /// The id the main frame gives the bar.
    static constexpr int kBarId = 59392;

    CGPDialogBar() : mLogic(*this) {}

    bool InitBar() override;
    /// Shows a zoom ratio: its row of the zoom list, or the ratio as a percentage.
    void SetZoom(int32_t numerator, int32_t denominator) { mLogic.SetZoom(numerator, denominator); }
    /// Shows the current page of the count.
    void SetPages(int currentIndex, int pageCount) { mLogic.SetPages(currentIndex, pageCount); }
    /// Shows the recorded ratio as a percentage.
    void ShowZoomPercent() { mLogic.ShowZoomPercent(); }

    const ZoomPageBarLogic& Logic() const { return mLogic; }
    wxComboBox* ZoomList() const { return mZoom; }
    wxComboBox* PageList() const { return mPage; }

private:
    void SetZoomEntries(const std::vector<std::string>& labels) override;
    void SelectZoomEntry(int index) override;
    void SetZoomText(const std::string& text) override;
    void SetPageEntries(const std::vector<std::string>& entries) override;
    void SelectPageEntry(int index) override;
    void SetPageText(const std::string& text) override;

    CIconButton* AddButton(wxSizer& row, int id, int icon, int tipString);

    ZoomPageBarLogic mLogic;
    wxComboBox* mZoom = nullptr;
    wxComboBox* mPage = nullptr;
};

}  // namespace vx
