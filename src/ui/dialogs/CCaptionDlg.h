#pragma once
#include "dialogs/FrameTextController.h"
#include "ui/dialogs/CFrameTextDlg.h"

class wxTextCtrl;

namespace vx {

class UndoStore;

/// Dialog 271 "Bildunter-/überschrift": the caption of the current or selected images,
/// or with the preset flag of "BaseImage".
class CCaptionDlg : public CFrameTextDlg {
public:
    CCaptionDlg(wxWindow* parent, UndoStore& undo);
    dialogs::CaptionController& Controller() { return static_cast<dialogs::CaptionController&>(*mController); }
    wxTextCtrl* TextEdit() const { return mText; }

private:
    bool InitController(const std::vector<std::string>& faces) override;
    void Accept() override;

    wxTextCtrl* mText = nullptr;
};

}  // namespace vx
