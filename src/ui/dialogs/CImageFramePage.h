#pragma once
#include <wx/panel.h>

#include "dialogs/DialogView.h"

class CImageSizeDlg;
class ColourSwatchButton;

/// The "Rahmen" tab: frame off, automatic or custom, its colour and the outer size.
class CImageFramePage : public wxPanel {
public:
    CImageFramePage(wxWindow* parent, CImageSizeDlg& dialog);
    void Apply(const vx::dialogs::PageView& view, uint32_t colour);

private:
    template <class Handler> void Run(Handler&& handler);

    CImageSizeDlg& mDlg;
    ColourSwatchButton* mSwatch = nullptr;
};
