#pragma once
#include <wx/bitmap.h>
#include <wx/frame.h>

/// The start-up picture ("VellicorEX.bmp" in the data folder), shown centred on top
/// without a frame. Without the picture the window shows nothing and stays small.
class CSplashWnd : public wxFrame {
public:
    explicit CSplashWnd(wxWindow* parent);

    bool HasPicture() const { return mPicture.IsOk(); }

private:
    wxBitmap mPicture;
};
