#pragma once
#include <wx/string.h>

class wxWindow;

namespace vx::cropdialogs {

/// The text of control in dialog (control 0: the caption) from the resource table;
/// empty when it has none.
wxString Text(int dialog, int control);

/// The window over which the settings dialogs open.
wxWindow* DialogParent();

}  // namespace vx::cropdialogs
