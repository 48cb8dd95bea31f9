#include "ui/dialogs/CropDialogTexts.h"

#include <wx/app.h>
#include <wx/window.h>

namespace vx::cropdialogs {
namespace {

struct Entry {
    int dialog;
    int control;
    const char* text;
};

constexpr Entry kTexts[] = {
#define VX_DIALOG_TEXT(dialog, control, text) {dialog, control, text},
#include "resources/dialogs/CropTintRotateDuplicate.inc"
#undef VX_DIALOG_TEXT
};

}  // namespace

wxString Text(int dialog, int control) {
    for (const Entry& e : kTexts)
        if (e.dialog == dialog && e.control == control) return wxString::FromUTF8(e.text);
    return wxString();
}

wxWindow* DialogParent() {
    if (!wxTheApp) return nullptr;
    if (wxWindow* active = wxGetActiveWindow()) return wxGetTopLevelParent(active);
    return wxTheApp->GetTopWindow();
}

}  // namespace vx::cropdialogs
