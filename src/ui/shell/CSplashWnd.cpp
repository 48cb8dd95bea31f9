#include "ui/shell/CSplashWnd.h"

#include <wx/dcclient.h>
#include <wx/image.h>

#include "platform/system/Folders.h"
#include "platform/system/Paths.h"

CSplashWnd::CSplashWnd(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(144, 98),
              wxBORDER_NONE | wxFRAME_NO_TASKBAR | wxFRAME_TOOL_WINDOW | (parent ? wxFRAME_FLOAT_ON_PARENT : 0)) {
    const auto path = vx::DataFolder() / "VellicorEX.bmp";
    wxImage image;
    if (image.LoadFile(wxString::FromUTF8(vx::PathText(path)), wxBITMAP_TYPE_BMP)) {
        mPicture = wxBitmap(image);
        SetWindowStyleFlag(GetWindowStyleFlag() | wxSTAY_ON_TOP);
        SetClientSize(mPicture.GetWidth(), mPicture.GetHeight());
    }
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxPaintDC dc(this);
        if (mPicture.IsOk()) dc.DrawBitmap(mPicture, 0, 0);
    });
    CentreOnScreen();
}
