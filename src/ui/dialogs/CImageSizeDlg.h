#pragma once
#include <wx/dialog.h>

#include "dialogs/ImageSizeController.h"

class wxBookCtrlEvent;
class wxNotebook;
class CImageSizePage;
class CImageFramePage;

namespace vx {
class UndoStore;
}

/// "Bildgröße": the size and frame tabs over one ImageSizeController. OK runs the
/// controller's checks and writes; a refusal keeps the dialog open on the field.
class CImageSizeDlg : public wxDialog {
public:
    CImageSizeDlg(wxWindow* parent, vx::dialogs::ImageSizeController& controller, vx::UndoStore& undo);

    vx::dialogs::ImageSizeController& Controller() { return mCtl; }
    /// Shows a handler's view on both pages and moves the focus where it asks.
    void ShowView(const vx::dialogs::ImageSizeView& view);
    wxNotebook* Tabs() const { return mTabs; }

private:
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnOK(wxCommandEvent& event);
    void ShowTab(int tab);
    void FocusTab(int tab);
    void Focus(int tab, int control, bool selectAll);

    vx::dialogs::ImageSizeController& mCtl;
    vx::UndoStore& mUndo;
    wxNotebook* mTabs = nullptr;
    CImageSizePage* mSizePage = nullptr;
    CImageFramePage* mFramePage = nullptr;
};
