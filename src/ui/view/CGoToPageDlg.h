#pragma once
#include <wx/dialog.h>

#include "view/GoToPage.h"

class wxStaticText;
class wxTextCtrl;

namespace vx {

/// "Angegebene Seite": asks for the page number to show, beside the page count.
class CGoToPageDlg : public wxDialog {
public:
    static constexpr int kIdPageNumber = 1175;
    static constexpr int kIdPageCount = 3828;

    explicit CGoToPageDlg(wxWindow* parent);

    /// The current page (from 1) and the count; 1 as the original returns.
    int SetPages(int currentPage, int pageCount);
    /// The page number accepted, from 1.
    int GetPageNumber() const { return mController.GetPageNumber(); }

private:
    bool TransferDataToWindow() override;
    void OnOk(wxCommandEvent& event);

    GoToPageController mController;
    wxTextCtrl* mNumber = nullptr;
    wxStaticText* mCount = nullptr;
};

}  // namespace vx
