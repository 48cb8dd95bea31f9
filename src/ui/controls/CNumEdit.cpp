#include "ui/controls/CNumEdit.h"

#include <wx/clipbrd.h>

CNumEdit::CNumEdit(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos, const wxSize& size,
                   long style)
    : wxTextCtrl(parent, id, wxString(), pos, size, style & ~wxTE_MULTILINE) {
    Bind(wxEVT_CHAR, &CNumEdit::OnChar, this);
    Bind(wxEVT_KEY_DOWN, &CNumEdit::OnKeyDown, this);
    Bind(wxEVT_TEXT, &CNumEdit::OnText, this);
    Bind(wxEVT_KILL_FOCUS, &CNumEdit::OnKillFocus, this);
    // No text may arrive unchecked: keyboard paste, the primary selection, the entry's
    // own menu.
    Bind(wxEVT_TEXT_PASTE, [](wxClipboardTextEvent&) {});
    Bind(wxEVT_MIDDLE_DOWN, [](wxMouseEvent&) {});
    Bind(wxEVT_MIDDLE_UP, [](wxMouseEvent&) {});
    Bind(wxEVT_RIGHT_DOWN, [this](wxMouseEvent&) { SetFocus(); });
    Bind(wxEVT_RIGHT_UP, [](wxMouseEvent&) {});
    Bind(wxEVT_CONTEXT_MENU, [](wxContextMenuEvent&) {});
    if (!value.empty()) SetValue(value);
}

void CNumEdit::SetParams(double minimum, double maximum, bool wholeNumbersOnly, short formatCode, int textLimit,
                         bool checkOnLeave) {
    mRules.SetParams(minimum, maximum, wholeNumbersOnly, formatCode, textLimit, checkOnLeave);
    SetMaxLength(textLimit > 0 ? static_cast<unsigned long>(textLimit) : 0);
}

bool CNumEdit::IsValidText(const wxString& text) const { return mRules.IsValidText(text.utf8_string()); }

void CNumEdit::ClampText(const wxString& text) {
    if (auto limit = mRules.ClampText(text.utf8_string())) PutText(*limit);
}

void CNumEdit::PutText(const std::string& text) {
    SetValue(wxString::FromUTF8(text));
    SetInsertionPointEnd();
    ShowPosition(GetLastPosition());
}

void CNumEdit::Apply(const vx::dialogs::NumEditKeyResult& result, wxKeyEvent& event) {
    if (result.accept) {
        event.Skip();
        return;
    }
    if (result.replace) PutText(*result.replace);
}

void CNumEdit::OnChar(wxKeyEvent& event) {
    const wxChar key = event.GetUnicodeKey();
    // Keys without a character (arrows, Home, End) and the dialog keys go on.
    if (key == WXK_NONE || key == WXK_TAB || key == WXK_RETURN || key == WXK_ESCAPE) {
        event.Skip();
        return;
    }
    long from = 0, to = 0;
    GetSelection(&from, &to);
    const char32_t ch = key == WXK_BACK ? static_cast<char32_t>(vx::dialogs::NumEditRules::kBackspace)
                                         : static_cast<char32_t>(key);
    Apply(mRules.OnChar(GetValue().utf8_string(), from, to, ch), event);
}

void CNumEdit::OnKeyDown(wxKeyEvent& event) {
    const int code = event.GetKeyCode();
    const int mods = event.GetModifiers();
    if ((mods & wxMOD_CONTROL) && (code == 'V' || code == 'v')) return;  // either Ctrl key
    if ((mods & wxMOD_SHIFT) && (code == WXK_INSERT || code == WXK_NUMPAD_INSERT)) return;
    if (code == WXK_DELETE || code == WXK_NUMPAD_DELETE) {
        long from = 0, to = 0;
        GetSelection(&from, &to);
        Apply(mRules.OnDelete(GetValue().utf8_string(), from, to), event);
        return;
    }
    event.Skip();
}

void CNumEdit::OnText(wxCommandEvent& event) {
    const wxString value = GetValue();
    if (!mRules.MayHold(value.utf8_string())) {
        // Text that came around the key filter (a drop, the primary selection, a paste
        // the toolkit did itself) is taken back before the owner sees it.
        ChangeValue(mAccepted);
        SetInsertionPointEnd();
        return;
    }
    mAccepted = value;
    event.Skip();
}

void CNumEdit::OnKillFocus(wxFocusEvent& event) {
    // Never holds the focus: the toolkit takes it away on every window switch.
    if (auto limit = mRules.OnLeave(GetValue().utf8_string())) PutText(*limit);
    event.Skip();
}
