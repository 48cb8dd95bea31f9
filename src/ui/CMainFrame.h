#pragma once
#include <wx/frame.h>

/// The main window. For now an empty frame with a status bar.
class CMainFrame : public wxFrame {
public:
    CMainFrame();
};
