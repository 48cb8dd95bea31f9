#pragma once
#include <wx/string.h>

namespace vx {

/// The text of control of dialog from the dialog text tables (resources/DialogTexts.inc
/// and resources/dialogs/TemplateDialogs.inc); control 0 is the caption, negative ids
/// the unnamed static texts. Empty when unknown.
wxString DialogText(int dialog, int control);

}  // namespace vx
