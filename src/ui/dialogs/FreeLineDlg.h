#pragma once
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/tglbtn.h>

#include "dialogs/FreeLineController.h"
#include "dialogs/FreeLineSample.h"
#include "ui/dialogs/DialogBase.h"

class CNumEdit;

namespace vx {

/// "Freie Linie": a free line's style, size, colour and arrow heads on a private copy,
/// with a live sample, bound by control id to FreeLineController.
class CFreeLineDlg : public SettingsDialog {
public:
    explicit CFreeLineDlg(wxWindow* parent);
    /// Hand the line in before ShowModal and take it back after OK; both return 1.
    int SetLine(const CLineObj& line);
    int GetLine(CLineObj& line) const;
    FreeLineController& Controller() { return mCtl; }
    /// What the sample shows now.
    FreeLineSampleStyle SampleStyle() const;

protected:
    DialogCheck Commit() override;

private:
    void ShowValues();
    void ReadValues();
    void SetLengthRange();
    void Choose(wxToggleButton* const* group, size_t count, wxToggleButton* chosen);
    void ArrowsChanged();

    FreeLineController mCtl;
    wxPanel* mSample = nullptr;            // 3623
    wxToggleButton* mStyle[2] = {};        // 3795 solid, 3796 dashed
    CNumEdit* mThickness = nullptr;        // 1150
    CNumEdit* mLength = nullptr;           // 1148
    wxChoice* mUnit = nullptr;             // 3614
    CNumEdit* mAngle = nullptr;            // 1149
    ColourSwatchButton* mColour = nullptr; // 1165
    wxRadioButton* mMark[3] = {};          // 3798, 3799, 3800
    wxToggleButton* mType[4] = {};         // 3801-3804
    wxRadioButton* mSize[3] = {};          // 3805 large, 3806 medium, 3807 small
};

}  // namespace vx
