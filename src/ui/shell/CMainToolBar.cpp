#include "ui/shell/CMainToolBar.h"

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/settings.h>

#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/MenuTable.h"

namespace {

wxBitmap Icon(const char* name) {
    const auto path = vx::DataFolder() / "bitmaps" / "toolbar" / (std::string(name) + ".png");
    wxImage image;
    if (!image.LoadFile(wxString::FromUTF8(vx::PathText(path)), wxBITMAP_TYPE_PNG) ||
        image.GetWidth() != CMainToolBar::kButtonSize || image.GetHeight() != CMainToolBar::kButtonSize) {
        // A missing icon must not cost the button: an empty square keeps the row's layout.
        image.Create(CMainToolBar::kButtonSize, CMainToolBar::kButtonSize);
        image.InitAlpha();
        std::fill_n(image.GetAlpha(), image.GetWidth() * image.GetHeight(), 0);
    }
    return wxBitmap(image);
}

/// A fixed gap with an etched line in its middle, in place of a narrow separator.
class GapWindow : public wxControl {
public:
    explicit GapWindow(wxWindow* parent)
        : wxControl(parent, wxID_ANY, wxDefaultPosition, wxSize(CMainToolBar::kGapWidth, CMainToolBar::kButtonSize),
                    wxBORDER_NONE) {
        SetMinSize(wxSize(CMainToolBar::kGapWidth, CMainToolBar::kButtonSize));
        SetMaxSize(wxSize(CMainToolBar::kGapWidth, -1));
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(this);
            const wxSize s = GetClientSize();
            const int x = s.x / 2;
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW)));
            dc.DrawLine(x - 1, 4, x - 1, s.y - 4);
            dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DHIGHLIGHT)));
            dc.DrawLine(x, 4, x, s.y - 4);
        });
    }
    wxSize DoGetBestSize() const override { return wxSize(CMainToolBar::kGapWidth, CMainToolBar::kButtonSize); }
};

}  // namespace

CMainToolBar::CMainToolBar(wxWindow* parent)
    : wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER | wxBORDER_NONE) {
    SetToolBitmapSize(wxSize(kButtonSize, kButtonSize));
    SetMargins(5, 3);
    AddButton(vx::kCmdLoadImage, "loadimage");
    AddGap();
    AddButton(vx::kCmdPrint, "print");
    AddGap();
    AddButton(vx::kCmdNew, "new");
    AddButton(vx::kCmdOpen, "open");
    AddButton(vx::kCmdOpenLast, "openlast");
    AddGap();
    AddButton(vx::kCmdSave, "save");
    Realize();
    Bind(wxEVT_MOTION, &CMainToolBar::OnMotion, this);
}

void CMainToolBar::AddButton(int command, const char* icon) {
    AddTool(vx::ToWxId(command), "", Icon(icon), wxString::FromUTF8(vx::CommandLabel(command)));
}

void CMainToolBar::AddGap() {
    auto* gap = new GapWindow(this);
    mGaps.push_back(gap);
    AddControl(gap);
}

void CMainToolBar::OnMouseEnter(int toolid) {
    // Not the toolkit's own help: it would blank the status text for the buttons'
    // missing help texts, also when the pointer only comes back from a dialog.
    mPointedTool = toolid;
}

void CMainToolBar::OnMotion(wxMouseEvent& event) {
    // The buttons have no help texts of their own: moving over one reads "Bereit".
    if (mPointedTool != wxID_ANY)
        if (auto* frame = dynamic_cast<wxFrame*>(wxGetTopLevelParent(this)); frame && frame->GetStatusBar())
            frame->SetStatusText(wxString::FromUTF8("Bereit"), 0);
    event.Skip();
}
