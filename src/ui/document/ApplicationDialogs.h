#pragma once
#include <string>

#include <wx/dialog.h>

namespace vx {

class GPDocManager;

/// The About box: the program's icon, its version and the notices.
class CAboutDlg : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);
};

/// "Version …" of this build.
std::string BuildVersionText();

/// The user manual in the default browser (10422 when it is missing).
void OpenUserManual();

/// The Open command: one layout file chosen in the open dialog, then opened, or
/// reloaded when it is the open layout's file.
void RunOpenCommand(wxWindow* parent, GPDocManager& manager);

}  // namespace vx
