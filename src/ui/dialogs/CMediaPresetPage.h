#pragma once
#include <cstdint>
#include <vector>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>

namespace vx {

class PrintPresetsController;

/// The "Druckqualität" tab of the print presets: medium, ink, print mode, very fast
/// printing and the optimised print resolution of the dialog's layout.
class CMediaPresetPage : public wxPanel {
public:
    enum : int {
        kMedia = 3862, kColour = 3863, kBlack = 3864, kMonoPhoto = 3865, kInkPicture = 3906,
        kUltrafine = 3866, kQuality = 3867, kFast = 3868, kVeryFast = 1081, kOptimise = 3871,
    };

    CMediaPresetPage(wxWindow* parent, PrintPresetsController& controller);

    void RefreshControls();
    /// The icon the ink picture shows.
    int InkIcon() const { return mInkIcon; }

    wxChoice* Media() const { return mMedia; }
    wxRadioButton* Ink(int id) const;
    wxRadioButton* Mode(int id) const;
    wxCheckBox* VeryFast() const { return mVeryFast; }
    wxCheckBox* Optimise() const { return mOptimise; }

private:
    PrintPresetsController& mController;
    wxChoice* mMedia = nullptr;
    wxRadioButton* mColour = nullptr;
    wxRadioButton* mBlack = nullptr;
    wxRadioButton* mMonoPhoto = nullptr;
    wxStaticBitmap* mInkPicture = nullptr;
    int mInkIcon = 0;
    wxRadioButton* mUltrafine = nullptr;
    wxRadioButton* mQuality = nullptr;
    wxRadioButton* mFast = nullptr;
    wxCheckBox* mVeryFast = nullptr;
    wxCheckBox* mOptimise = nullptr;
    std::vector<int32_t> mMediaData;
};

}  // namespace vx
