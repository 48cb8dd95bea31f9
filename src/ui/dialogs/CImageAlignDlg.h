#pragma once
#include <map>

#include <wx/dialog.h>

#include "dialogs/ImageAlignController.h"

class CIconButton;
class CNumEdit;
class wxChoice;

namespace vx {

class CLayoutSetting;
class UndoStore;

/// Dialog 153 "Bildausrichtung": edits the document's layout live; OK checks that it
/// still fits, Cancel puts the values back (the opener restores its snapshot).
class CImageAlignDlg : public wxDialog {
public:
    CImageAlignDlg(wxWindow* parent, UndoStore& undo);

    void SetLayout(CLayoutSetting* layout) { mController.SetLayout(layout); }
    void SetInitialising(int value) { mController.SetInitialising(value); }
    int GetInitialising() const { return mController.GetInitialising(); }
    dialogs::ImageAlignController& Controller() { return mController; }

private:
    using Field = dialogs::ImageAlignController::Field;

    void OnInitDialog(wxInitDialogEvent& event);
    void ShowState();
    void OnRadio(wxCommandEvent& event);
    void OnSpacingText(wxCommandEvent& event);
    void OnUnit(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    CNumEdit* EditOf(Field f) const { return f == Field::Horizontal ? mHorizontal : mVertical; }

    dialogs::ImageAlignController mController;
    std::map<int, CIconButton*> mRadios;
    CNumEdit* mHorizontal = nullptr;
    CNumEdit* mVertical = nullptr;
    wxChoice* mHorizontalUnit = nullptr;
    wxChoice* mVerticalUnit = nullptr;
};

}  // namespace vx
