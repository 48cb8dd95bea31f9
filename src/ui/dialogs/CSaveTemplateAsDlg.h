#pragma once
#include <wx/dialog.h>

#include "templates/SaveTemplateAsController.h"

class wxCheckBox;
class wxChoice;
class wxTextCtrl;

namespace vx {

/// "Vorlage speichern unter": name, one user category, a note and whether the arranged
/// images go with the template. OK runs the controller's checks; the caller writes.
class CSaveTemplateAsDlg : public wxDialog {
public:
    enum { kResourceId = 321, kNameId = 1148, kCategoryId = 3884, kNoteId = 1033, kWithImagesId = 1081 };

    CSaveTemplateAsDlg(wxWindow* parent, SaveTemplateAsController& controller);

    wxTextCtrl* NameEdit() const { return mName; }
    wxChoice* CategoryCombo() const { return mCategory; }
    wxTextCtrl* NoteEdit() const { return mNote; }
    wxCheckBox* WithImagesCheck() const { return mWithImages; }

private:
    void OnOK(wxCommandEvent& event);

    SaveTemplateAsController& mController;
    wxTextCtrl* mName = nullptr;
    wxChoice* mCategory = nullptr;
    wxTextCtrl* mNote = nullptr;
    wxCheckBox* mWithImages = nullptr;
};

}  // namespace vx
