#include "ui/dialogs/DialogTexts.h"

namespace vx {
namespace {

struct Entry {
    int dialog;
    int control;
    const char* text;
};

constexpr Entry kTexts[] = {
#define VX_DIALOG_TEXT(dialog, control, text) {dialog, control, text},
#include "resources/DialogTexts.inc"
#include "resources/dialogs/TemplateDialogs.inc"
#undef VX_DIALOG_TEXT
};

}  // namespace

wxString DialogText(int dialog, int control) {
    for (const Entry& e : kTexts)
        if (e.dialog == dialog && e.control == control) return wxString::FromUTF8(e.text);
    return wxString();
}

}  // namespace vx
