#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <wx/dialog.h>

#include "dialogs/FrameTextController.h"

class CDisabledItemCombo;
class CFontComboBox;
class CFontComboBoxBase;
class CIconButton;
class ColourSwatchButton;
class wxCheckBox;
class wxPanel;
class wxSizer;

namespace vx {

class CLayoutSetting;

/// The window part the caption and labels dialogs share: font, size, side, alignment,
/// upside-down switch, colour and the sample.
class CFrameTextDlg : public wxDialog {
public:
    /// Stores the layout to edit; the caption and the labels dialog share this setter.
    void SetLayout(CLayoutSetting* layout) { mController->SetLayout(layout); }
    void SetPreset(bool preset) { mController->SetPreset(preset); }
    dialogs::FrameTextController& Base() { return *mController; }
    wxPanel* SamplePanel() const { return mSample; }

protected:
    CFrameTextDlg(wxWindow* parent, int dialogId, std::unique_ptr<dialogs::FrameTextController> controller);

    /// Lays out the dialog: own controls first, then the shared ones.
    void Finish(wxSizer* own, const wxString& displayTitle, const wxString& pointsText, const wxString& noteText);
    /// Runs the concrete controller's Init on the font list's faces.
    virtual bool InitController(const std::vector<std::string>& faces) = 0;
    virtual void ShowOwnState() {}
    /// Reads the own controls into the controller and writes the layout.
    virtual void Accept() = 0;
    void ShowState();

    std::unique_ptr<dialogs::FrameTextController> mController;
    int mDialogId;
    CFontComboBox* mFont = nullptr;
    CFontComboBoxBase* mSize = nullptr;
    CDisabledItemCombo* mPosition = nullptr;
    ColourSwatchButton* mColour = nullptr;
    wxCheckBox* mUpsideDown = nullptr;
    std::array<CIconButton*, 3> mAlign{};
    wxPanel* mSample = nullptr;

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnPaintSample();
    void OnOk(wxCommandEvent& event);
};

}  // namespace vx
