#include "ui/CMainFrame.h"

CMainFrame::CMainFrame() : wxFrame(nullptr, wxID_ANY, "VellicorEX", wxDefaultPosition, wxSize(1024, 768)) {
    CreateStatusBar();
    SetStatusText(wxString::FromUTF8("Bereit"));
    mDisplayColours = vx::CreateDisplayColorBlock();
}
