#include "ui/dialogs/CCropDlg.h"

#include <optional>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "host/DocumentServices.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/system/Folders.h"
#include "ui/SurfacePainter.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/dialogs/CropDialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

constexpr int kModeIds[3] = {CCropDlg::kIdModeOff, CCropDlg::kIdModeCrop, CCropDlg::kIdModeFrame};
constexpr int kIdLabelWidth = 65535;
constexpr int kIdLabelHeight = 65534;

wxString Text(int control) { return cropdialogs::Text(CCropDlg::kDialogId, control); }

ColorRef ToColorRef(const wxColour& c) {
    return ColorRef(c.Red()) | (ColorRef(c.Green()) << 8) | (ColorRef(c.Blue()) << 16);
}

wxColour ToColour(ColorRef c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

/// A project cursor by resource id at the system cursor size, hot spot in its middle;
/// the stock hand when the picture is missing.
wxCursor LoadCursor(int id) {
    wxImage image;
    const auto path = DataFolder() / "cursors" / (std::to_string(id) + ".png");
    if (!image.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG)) return wxCursor(wxCURSOR_HAND);
    const int side = wxSystemSettings::GetMetric(wxSYS_CURSOR_X);
    if (side > 0 && side != image.GetWidth()) image.Rescale(side, side, wxIMAGE_QUALITY_HIGH);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, image.GetWidth() / 2);
    image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, image.GetHeight() / 2);
    return wxCursor(image);
}

}  // namespace

/// The preview control: draws off-screen and copies once; drags the frame with the
/// mouse captured.
class CCropDlg::PreviewPanel : public wxWindow {
public:
    PreviewPanel(CCropDlg* owner)
        : wxWindow(owner, kIdPreview, wxDefaultPosition, wxSize(kPreviewSide, kPreviewSide), wxBORDER_NONE),
          mOwner(owner), mOverFrame(LoadCursor(199)), mDragging(LoadCursor(198)) {
        SetMinSize(wxSize(kPreviewSide, kPreviewSide));
        PrepareSurfaceWindow(*this);
        Bind(wxEVT_PAINT, &PreviewPanel::OnPaint, this);
        Bind(wxEVT_LEFT_DOWN, &PreviewPanel::OnLeftDown, this);
        Bind(wxEVT_MOTION, &PreviewPanel::OnMotion, this);
        Bind(wxEVT_LEFT_UP, &PreviewPanel::OnLeftUp, this);
        Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
            RunGuarded([&] { EndDrag(mLast); });
        });
    }

private:
    CropController& Ctl() { return mOwner->mController; }
    static PixelPoint At(const wxMouseEvent& e) { return {e.GetX(), e.GetY()}; }

    void ShowCursor(CropController::Cursor cursor) {
        using C = CropController::Cursor;
        switch (cursor) {
        case C::SizeNWSE: SetCursor(wxCursor(wxCURSOR_SIZENWSE)); break;
        case C::SizeNESW: SetCursor(wxCursor(wxCURSOR_SIZENESW)); break;
        case C::SizeNS: SetCursor(wxCursor(wxCURSOR_SIZENS)); break;
        case C::SizeWE: SetCursor(wxCursor(wxCURSOR_SIZEWE)); break;
        case C::OverFrame: SetCursor(mOverFrame); break;
        case C::Dragging: SetCursor(mDragging); break;
        default: SetCursor(wxNullCursor); break;
        }
    }
    void Changed() {
        mOwner->SyncControls();
        Refresh(false);
    }
    void OnPaint(wxPaintEvent&) {
        RunGuarded([&] {
            wxPaintDC dc(this);
            const wxSize size = GetClientSize();
            gfx::ImageSurface surface(std::max(1, size.x), std::max(1, size.y), true);
            {
                gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
                canvas.Clear(gfx::Rgba{1, 1, 1, 1});
                Ctl().DrawPreview(canvas);
            }
            PaintSurface(dc, surface, 0, 0);
        });
    }
    void OnLeftDown(wxMouseEvent& e) {
        RunGuarded([&] {
            mLast = At(e);
            ShowCursor(Ctl().ButtonDown(mLast));
            if (Ctl().Tracking() && !HasCapture()) CaptureMouse();
            Changed();
        });
    }
    void OnMotion(wxMouseEvent& e) {
        RunGuarded([&] {
            mLast = At(e);
            ShowCursor(Ctl().MouseMove(mLast, e.LeftIsDown()));
            if (Ctl().Tracking() && !HasCapture()) CaptureMouse();
            if (Ctl().Tracking() || e.LeftIsDown()) Changed();
        });
    }
    void OnLeftUp(wxMouseEvent& e) {
        RunGuarded([&] { EndDrag(At(e)); });
    }
    void EndDrag(PixelPoint at) {
        Ctl().ButtonUp(at);
        if (HasCapture()) ReleaseMouse();
        ShowCursor(Ctl().MouseMove(at, false));
        Changed();
    }

    CCropDlg* mOwner;
    wxCursor mOverFrame;
    wxCursor mDragging;
    PixelPoint mLast;
};

CCropDlg::CCropDlg(wxWindow* parent, CLayoutSetting& layout, bool sameImage)
    : wxDialog(parent, wxID_ANY, Text(0)), mController(layout, sameImage) {
    mPreview = new PreviewPanel(this);

    auto* modes = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    for (int i = 0; i < 3; ++i) {
        mModes[i] = new wxRadioButton(modes->GetStaticBox(), kModeIds[i], Text(kModeIds[i]), wxDefaultPosition,
                                      wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        modes->Add(mModes[i], 0, wxALL, 4);
        mModes[i]->Bind(wxEVT_RADIOBUTTON, [this, i](wxCommandEvent&) { RunGuarded([&] { OnMode(i); }); });
    }

    auto* sizes = new wxFlexGridSizer(2, 6, 6);
    mWidth = new CNumEdit(this, kIdWidth, wxString(), wxDefaultPosition, wxSize(90, -1));
    mHeight = new CNumEdit(this, kIdHeight, wxString(), wxDefaultPosition, wxSize(90, -1));
    sizes->Add(new wxStaticText(this, wxID_ANY, Text(kIdLabelWidth)), 0, wxALIGN_CENTER_VERTICAL);
    sizes->Add(mWidth);
    sizes->Add(new wxStaticText(this, wxID_ANY, Text(kIdLabelHeight)), 0, wxALIGN_CENTER_VERTICAL);
    sizes->Add(mHeight);
    mKeep = new wxCheckBox(this, kIdKeepProportions, Text(kIdKeepProportions));
    mColour = new ColourSwatchButton(this, kIdColour, *wxBLACK, [](wxWindow*, const wxColour& initial) {
        std::optional<wxColour> chosen;
        if (SettingsDialogs* dialogs = HostService<SettingsDialogs>())
            if (auto c = dialogs->ChooseColour(ToColorRef(initial))) chosen = ToColour(*c);
        return chosen;
    });
    mColour->SetName(Text(kIdColour));

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    auto* ok = new wxButton(this, wxID_OK, Text(1));
    ok->SetDefault();
    buttons->Add(ok, 0, wxEXPAND | wxBOTTOM, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, Text(2)), 0, wxEXPAND);

    auto* side = new wxBoxSizer(wxVERTICAL);
    side->Add(buttons, 0, wxEXPAND | wxBOTTOM, 12);
    side->Add(modes, 0, wxEXPAND | wxBOTTOM, 8);
    side->Add(sizes, 0, wxBOTTOM, 8);
    side->Add(mKeep, 0, wxBOTTOM, 8);
    side->Add(mColour, 0);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(mPreview, 0, wxALL, 10);
    top->Add(side, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    // On the dialog, so that the edit's own filter has seen the text first.
    Bind(wxEVT_TEXT, [this](wxCommandEvent&) { RunGuarded([&] { OnEditText(CropController::kWidth); }); }, kIdWidth);
    Bind(wxEVT_TEXT, [this](wxCommandEvent&) { RunGuarded([&] { OnEditText(CropController::kHeight); }); },
         kIdHeight);
    mWidth->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { OnEditLeave(e, CropController::kWidth); });
    mHeight->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { OnEditLeave(e, CropController::kHeight); });
    mKeep->Bind(wxEVT_CHECKBOX, &CCropDlg::OnKeepProportions, this);
    // On the dialog: the button has taken the chosen colour before its click arrives here.
    Bind(wxEVT_BUTTON, &CCropDlg::OnColour, this, kIdColour);
    Bind(wxEVT_CHAR_HOOK, &CCropDlg::OnCharHook, this);
    Bind(wxEVT_BUTTON, &CCropDlg::OnOk, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CCropDlg::OnCancel, this, wxID_CANCEL);
}

wxWindow* CCropDlg::Preview() const { return mPreview; }

bool CCropDlg::Init() {
    const wxSize size = mPreview->GetClientSize();
    if (!mController.Init({0, 0, size.x, size.y})) return false;
    mWidth->SetParams(0, mController.ImageWidth(), true, 0, CropController::kTextLimit);
    mHeight->SetParams(0, mController.ImageHeight(), true, 0, CropController::kTextLimit);
    mColour->SetColour(ToColour(mController.Colour()));
    SyncControls();
    return true;
}

void CCropDlg::SyncEdit(CNumEdit* edit, CropController::Axis axis) {
    const wxString text = wxString::FromUTF8(mController.EditText(axis));
    if (edit->GetValue() == text) return;
    const bool caretAtEnd = edit->HasFocus();
    edit->ChangeValue(text);
    if (caretAtEnd) edit->SetInsertionPointEnd();
}

void CCropDlg::SyncControls() {
    mSyncing = true;
    SyncEdit(mWidth, CropController::kWidth);
    SyncEdit(mHeight, CropController::kHeight);
    mSyncing = false;
    for (int i = 0; i < 3; ++i) mModes[i]->SetValue(mController.Mode() == i);
    mKeep->SetValue(mController.KeepProportions());
    mKeep->Enable(mController.KeepProportionsEnabled());
    mWidth->Enable(mController.EditsEnabled());
    mHeight->Enable(mController.EditsEnabled());
    mColour->Enable(mController.ColourEnabled());
}

void CCropDlg::OnEditText(CropController::Axis axis) {
    if (mSyncing) return;
    CNumEdit* edit = axis == CropController::kWidth ? mWidth : mHeight;
    mController.EditChanged(axis, edit->GetValue().utf8_string());
    SyncControls();
    mPreview->Refresh(false);
}

void CCropDlg::OnEditLeave(wxFocusEvent& event, CropController::Axis axis) {
    event.Skip();
    // After the edit has put an out-of-range text back into its range.
    CallAfter([this, axis] {
        RunGuarded([&] {
            mController.EditCommitted(axis);
            SyncControls();
            mPreview->Refresh(false);
        });
    });
}

void CCropDlg::OnMode(int mode) {
    mController.SetMode(mode);
    SyncControls();
    mPreview->Refresh(false);
}

void CCropDlg::OnKeepProportions(wxCommandEvent&) {
    RunGuarded([&] {
        mController.SetKeepProportions(mKeep->GetValue());
        SyncControls();
    });
}

void CCropDlg::OnColour(wxCommandEvent&) {
    RunGuarded([&] {
        mController.SetColour(ToColorRef(mColour->GetColour()));
        mPreview->Refresh(false);
    });
}

void CCropDlg::OnCharHook(wxKeyEvent& event) {
    RunGuarded([&] {
        const int key = event.GetKeyCode();
        if (event.ShiftDown() && (key == WXK_LEFT || key == WXK_RIGHT || key == WXK_UP || key == WXK_DOWN)) {
            if (!mController.SingleImage()) return;
            mController.MoveFrame(key == WXK_LEFT ? -1 : key == WXK_RIGHT ? 1 : 0,
                                  key == WXK_UP ? -1 : key == WXK_DOWN ? 1 : 0);
            mPreview->Refresh(false);
            return;  // consumed
        }
        if (!event.ShiftDown() && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)) {
            // Both edits count as left before OK runs.
            mController.EditCommitted(CropController::kWidth);
            mController.EditCommitted(CropController::kHeight);
            SyncControls();
        }
        event.Skip();
    });
}

void CCropDlg::OnOk(wxCommandEvent&) {
    RunGuarded([&] {
        CropController::Focus focus = CropController::Focus::None;
        if (mController.Ok(&focus)) {
            SetCursor(wxNullCursor);
            EndModal(wxID_OK);
            return;
        }
        SyncControls();
        CNumEdit* edit = focus == CropController::Focus::Width ? mWidth
                         : focus == CropController::Focus::Height ? mHeight : nullptr;
        if (edit) {
            edit->SetFocus();
            edit->SelectAll();
        }
    });
}

void CCropDlg::OnCancel(wxCommandEvent&) {
    SetCursor(wxNullCursor);
    EndModal(wxID_CANCEL);
}

bool WxSettingsDialogs::RunCrop(CLayoutSetting& layout, bool sameImage) {
    CCropDlg dialog(cropdialogs::DialogParent(), layout, sameImage);
    if (!dialog.Init()) return false;
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
