#pragma once
#include <cstdint>
#include <string>

#include <wx/colour.h>
#include <wx/string.h>

#include "ui/controls/ColourSwatchButton.h"

class CNumEdit;
class wxComboBox;
class wxItemContainer;
class wxTextCtrl;
class wxWindow;

namespace vx {

class UndoStore;
namespace dialogs {
struct FieldRange;
}

/// What the settings dialogs of this family share on the window side.
namespace dialog_support {

/// The application's undo store (a private one when no application is installed).
UndoStore& Undo();
/// The chooser of the colour buttons: the process's one colour dialog.
ColourSwatchButton::Chooser SharedColourChooser();
wxColour ToWx(uint32_t colorRef);
uint32_t FromWx(const wxColour& colour);
inline wxString Wx(const std::string& utf8) { return wxString::FromUTF8(utf8); }
inline std::string Utf8(const wxString& text) { return text.utf8_string(); }
/// Gives a numeric field its range; unit 1 mm or 2 inch decides the decimals it takes.
void SetFieldRange(CNumEdit& edit, const dialogs::FieldRange& range, int unit);
/// Focuses the edit and selects its whole text.
void FocusAndSelect(wxTextCtrl& edit);
/// Replaces the entries of a list.
void FillEntries(wxItemContainer& list, const std::vector<std::string>& texts);

}  // namespace dialog_support
}  // namespace vx
