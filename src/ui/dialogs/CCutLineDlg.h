#pragma once
#include <wx/dialog.h>

#include "dialogs/CutLineController.h"

class ColourSwatchButton;

namespace vx {
class UndoStore;
}

/// "Schneidlinien": how cut marks are made for the images of a layout, over one
/// CutLineController.
class CCutLineDlg : public wxDialog {
public:
    CCutLineDlg(wxWindow* parent, vx::dialogs::CutLineController& controller, vx::UndoStore& undo);

    /// Shows a handler's view and moves the focus where it asks.
    void ShowView(const vx::dialogs::CutLineView& view);

private:
    template <class Handler> void Run(Handler&& handler);
    void OnOK(wxCommandEvent& event);

    vx::dialogs::CutLineController& mCtl;
    vx::UndoStore& mUndo;
    ColourSwatchButton* mSwatch = nullptr;
};
