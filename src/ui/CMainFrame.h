#pragma once
#include <memory>

#include <wx/frame.h>

#include "colourmanagement/DisplayColorBlock.h"

/// The main window. For now an empty frame with a status bar.
class CMainFrame : public wxFrame {
public:
    CMainFrame();

    /// What the colour-matched view records of the display and the default printer.
    vx::DisplayColorBlock* DisplayColours() const { return mDisplayColours.get(); }

private:
    std::unique_ptr<vx::DisplayColorBlock> mDisplayColours;
};
