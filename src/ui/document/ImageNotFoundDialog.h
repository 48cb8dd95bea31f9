#pragma once
#include <string>

#include <wx/dialog.h>

#include "host/ImageNotFoundPrompt.h"

namespace vx {

/// The question about a missing image: the exclamation icon, the explanation and the
/// buttons "Suchen" (1), "Stopp" (2, also the close box) and "Weiter" (2020); the
/// caption is the file name as given.
class CImageNotFoundDlg : public wxDialog {
public:
    CImageNotFoundDlg(wxWindow* parent, const std::string& fileName);
    /// The answer as ImageNotFoundAnswer.
    int Answer() const { return mAnswer; }

private:
    void Finish(int answer);
    int mAnswer = kImageNotFoundStop;
};

/// The prompt the layout reader asks through (HostService<ImageNotFoundPrompt>).
class WxImageNotFoundPrompt final : public ImageNotFoundPrompt {
public:
    int Ask(const std::string& name) override;
};

}  // namespace vx
