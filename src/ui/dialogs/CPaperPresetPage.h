#pragma once
#include <cstdint>
#include <vector>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/tglbtn.h>

namespace vx {

class PrintPresetsController;

/// The "Papier" tab of the print presets: paper source and size, roll length,
/// orientation and printable area of the dialog's layout.
class CPaperPresetPage : public wxPanel {
public:
    enum : int {
        kSource = 3857, kSize = 3651, kRollLabel = 3878, kRollSpin = 3879, kUnit = 3858, kRollLength = 3905,
        kPortrait = 3872, kLandscape = 3873, kStandard = 3710, kMaximum = 3860, kCentred = 3861,
    };

    CPaperPresetPage(wxWindow* parent, PrintPresetsController& controller);

    /// The controls from the layout and the printer; the first refresh takes the
    /// layout's unit, later ones keep the chosen one.
    void RefreshControls();
    /// The roll length in the chosen unit.
    void ShowLength();

    wxChoice* Source() const { return mSource; }
    wxChoice* Size() const { return mSize; }
    wxChoice* Unit() const { return mUnit; }
    wxSpinButton* Spin() const { return mSpin; }
    wxStaticText* Length() const { return mLength; }
    wxBitmapToggleButton* Portrait() const { return mPortrait; }
    wxBitmapToggleButton* Landscape() const { return mLandscape; }
    wxRadioButton* Standard() const { return mStandard; }
    wxRadioButton* Maximum() const { return mMaximum; }
    wxCheckBox* Centred() const { return mCentred; }

private:
    void OnOrientation(int orientation);

    PrintPresetsController& mController;
    bool mFirstRefresh = true;
    wxChoice* mSource = nullptr;
    wxChoice* mSize = nullptr;
    wxStaticText* mRollLabel = nullptr;
    wxSpinButton* mSpin = nullptr;
    wxChoice* mUnit = nullptr;
    wxStaticText* mLength = nullptr;
    wxBitmapToggleButton* mPortrait = nullptr;
    wxBitmapToggleButton* mLandscape = nullptr;
    wxRadioButton* mStandard = nullptr;
    wxRadioButton* mMaximum = nullptr;
    wxCheckBox* mCentred = nullptr;
    std::vector<int32_t> mSourceData, mSizeData;
};

}  // namespace vx
