#pragma once
#include <wx/panel.h>

#include "dialogs/DialogView.h"

class CImageSizeDlg;
class wxSizer;

/// The "Größe" tab: how big images are placed, by dimensions or by ratio.
class CImageSizePage : public wxPanel {
public:
    CImageSizePage(wxWindow* parent, CImageSizeDlg& dialog);
    void Apply(const vx::dialogs::PageView& view);

private:
    template <class Handler> void Run(Handler&& handler);
    wxSizer* BuildDimensions();
    wxSizer* BuildRatio();

    CImageSizeDlg& mDlg;
};
