#include "ui/view/CImagePreviewDlg.h"

#include <filesystem>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "host/ApplicationState.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "ui/controls/CDisabledItemCombo.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/view/CPreviewPane.h"

namespace vx {
namespace {

/// The program's 16 x 16 button picture of that id, or none.
wxBitmap SmallIcon(int id) {
    const auto path = DataFolder() / "icons" / (std::to_string(id) + ".png");
    wxImage image;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        !image.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG))
        return wxNullBitmap;
    return wxBitmap(image.Rescale(16, 16, wxIMAGE_QUALITY_HIGH));
}

wxButton* ZoomButton(wxWindow* parent, int id, const char* text, int icon) {
    const wxBitmap bitmap = SmallIcon(icon);
    auto* button = new wxButton(parent, id, bitmap.IsOk() ? wxString() : wxString(text), wxDefaultPosition,
                                wxDefaultSize, bitmap.IsOk() ? wxBU_EXACTFIT | wxBU_NOTEXT : wxBU_EXACTFIT);
    button->SetName(text);
    if (bitmap.IsOk()) button->SetBitmap(bitmap);
    return button;
}

bool Within(wxWindow* focus, wxWindow* control) {
    for (wxWindow* w = focus; w; w = w->GetParent())
        if (w == control) return true;
    return false;
}

}  // namespace

CImagePreviewDlg::CImagePreviewDlg(wxWindow* parent, AppPreferences& preferences)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("Bildvorschau"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER),
      mPreferences(preferences) {
    mIn = ZoomButton(this, kZoomIn, "+", 326);
    mList = new CDisabledItemCombo(this, kZoomList, wxDefaultPosition, ConvertDialogToPixels(wxSize(70, -1)));
    for (int step = 0; step < PreviewZoom::kStepCount; ++step)
        mList->Append(wxString::FromUTF8(PreviewZoom::StepLabel(step)));
    mOut = ZoomButton(this, kZoomOut, "-", 329);
    mColour = new wxCheckBox(this, kColourBox, wxString::FromUTF8("Farbmanagement aktivieren"));
    mColour->SetValue(true);

    auto* band = new wxBoxSizer(wxHORIZONTAL);
    band->AddSpacer(6);
    band->Add(mIn, 0, wxALIGN_CENTER_VERTICAL);
    band->Add(mList, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    band->Add(mOut, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    band->Add(mColour, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 8);
    auto* column = new wxBoxSizer(wxVERTICAL);
    const int margin = 4;
    column->Add(band, 0, wxTOP | wxBOTTOM, margin);
    SetSizer(column);
    column->Layout();
    // The list's top margin repeated below it.
    mBand = 2 * margin + std::max(band->GetMinSize().y, mList->GetBestSize().y) + 1;

    // 450 x 450 at the saved origin, inside the work area of its display.
    const int display = wxDisplay::GetFromPoint(wxPoint(preferences.imagePreviewX, preferences.imagePreviewY));
    const wxRect work = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    const PreviewWindowRect at =
        PlacePreviewWindow({work.x, work.y, work.width, work.height}, preferences.imagePreviewX, preferences.imagePreviewY);
    preferences.imagePreviewSize = kPreviewWindowSize;
    SetSize(at.x, at.y, at.width, at.height);

    mIn->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ZoomIn(); });
    mOut->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ZoomOut(ZoomSource::Button); });
    mList->Bind(wxEVT_COMBOBOX, &CImagePreviewDlg::OnZoomChosen, this);
    mList->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& e) {
        WidenComboDropDown(mList);
        e.Skip();
    });
    mColour->Bind(wxEVT_CHECKBOX, &CImagePreviewDlg::OnColourBox, this);
    Bind(wxEVT_CHAR_HOOK, &CImagePreviewDlg::OnCharHook, this);
    Bind(wxEVT_MOUSEWHEEL, &CImagePreviewDlg::OnWheel, this);
    mList->Bind(wxEVT_MOUSEWHEEL, &CImagePreviewDlg::OnWheel, this);
    Bind(wxEVT_CLOSE_WINDOW, &CImagePreviewDlg::OnClose, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        e.Skip();
        if (!mPane) return;
        const wxSize client = GetClientSize();
        mPane->SetSize(0, mBand, client.x, std::max(client.y - mBand, 1));
    });

    CreatePane();
    ShowCurrentItem();
}

void CImagePreviewDlg::SavePlacement() {
    const wxRect r = GetRect();
    mPreferences.imagePreviewX = r.x;
    mPreferences.imagePreviewY = r.y;
    mPreferences.imagePreviewSize = PreviewSizeOnClose(r.width, r.height);
}

wxWindow* CImagePreviewDlg::ZoomInButton() const { return mIn; }
wxWindow* CImagePreviewDlg::ZoomOutButton() const { return mOut; }

void CImagePreviewDlg::CreatePane() {
    const wxSize client = GetClientSize();
    mPane = new CPreviewPane(this, mRenderer, wxPoint(0, mBand), wxSize(client.x, std::max(client.y - mBand, 1)));
    mPane->SetAreaChangedHandler([this] { SyncControls(); });
    mPane->Bind(wxEVT_MOUSEWHEEL, &CImagePreviewDlg::OnWheel, this);
}

void CImagePreviewDlg::ShowCurrentItem() {
    CLayoutSetting* layout = GetActiveLayout();
    const CLayoutObj* item = layout ? layout->GetCurrentItem() : nullptr;
    if (item) mRenderer.ShowObject(item);
    else mRenderer.Clear();
    SyncControls();
}

void CImagePreviewDlg::SyncControls() {
    const PreviewZoom& zoom = mRenderer.Zoom();
    for (int step = 0; step < PreviewZoom::kStepCount; ++step)
        mList->SetItemData(unsigned(step), zoom.IsStepEnabled(step) ? 1 : 0);
    mList->Select(zoom.Selection());
    mList->Enable(zoom.ListEnabled());
    mIn->Enable(zoom.ZoomInEnabled());
    mOut->Enable(zoom.ZoomOutEnabled());
    mColour->SetValue(mRenderer.ColourChecked());
    mColour->Enable(mRenderer.ColourEnabled());
    int32_t w = 0, h = 0;
    PreviewMinimumClientSize(zoom.ItemWidth(), zoom.ItemHeight(), mBand, w, h);
    SetMinClientSize(wxSize(w, h));
}

void CImagePreviewDlg::RefreshPane() {
    if (mPane) mPane->Refresh();
}

void CImagePreviewDlg::UpdateImage() {
    wxBusyCursor wait;
    ShowCurrentItem();
    RefreshPane();
}

void CImagePreviewDlg::RecreatePane() {
    if (mPane) mPane->Destroy();
    CreatePane();
    ShowCurrentItem();
    RefreshPane();
}

void CImagePreviewDlg::OnObjectRemoved(uint32_t objectId) {
    mRenderer.OnObjectRemoved(objectId);
    SyncControls();
    RefreshPane();
}

bool CImagePreviewDlg::ShowObject(const CLayoutObj* item) {
    const bool shown = mRenderer.ShowObject(item);
    SyncControls();
    return shown;
}

CLayoutObj* CImagePreviewDlg::GetCurrentObject() { return mRenderer.GetCurrentObject(); }

void CImagePreviewDlg::ZoomIn() {
    PreviewZoom& zoom = mRenderer.Zoom();
    const int chosen = zoom.Selection();
    mRenderer.RefreshIfChanged();
    if (zoom.Selection() != chosen && zoom.IsStepEnabled(chosen)) zoom.Choose(chosen);
    zoom.ZoomIn();
    SyncControls();
    RefreshPane();
}

void CImagePreviewDlg::ZoomOut(ZoomSource source) {
    PreviewZoom& zoom = mRenderer.Zoom();
    const int chosen = zoom.Selection();
    mRenderer.RefreshIfChanged();
    if (zoom.Selection() != chosen && zoom.IsStepEnabled(chosen)) zoom.Choose(chosen);
    zoom.ZoomOut(source);
    SyncControls();
    RefreshPane();
}

void CImagePreviewDlg::AfterKeyZoom() {
    if (Within(FindFocus(), mList)) return;
    if (mOut->IsEnabled() && !mIn->IsEnabled()) mOut->SetFocus();
    else if (mIn->IsEnabled() && !mOut->IsEnabled()) mIn->SetFocus();
}

void CImagePreviewDlg::OnZoomChosen(wxCommandEvent& event) {
    const int chosen = event.GetSelection();
    mRenderer.RefreshIfChanged();
    mRenderer.Zoom().Choose(chosen);
    SyncControls();
    RefreshPane();
}

void CImagePreviewDlg::OnColourBox(wxCommandEvent&) {
    wxBusyCursor wait;
    mRenderer.SetColourChecked(mColour->GetValue());
    SyncControls();
    RefreshPane();
}

void CImagePreviewDlg::OnCharHook(wxKeyEvent& event) {
    wxWindow* focus = FindFocus();
    const bool onList = Within(focus, mList);
    switch (event.GetKeyCode()) {
        case WXK_ESCAPE: Close(); return;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            // Enter presses a zoom button that has the focus, and nothing else.
            if (focus == mIn || focus == mOut) {
                wxCommandEvent click(wxEVT_BUTTON, focus->GetId());
                click.SetEventObject(focus);
                wxPostEvent(focus, click);
            }
            return;
        case WXK_LEFT:
        case WXK_UP:
            if (focus == mIn) {
                mColour->SetFocus();
                return;
            }
            if (onList) {
                ZoomIn();
                AfterKeyZoom();
                return;
            }
            break;
        case WXK_RIGHT:
        case WXK_DOWN:
            if (focus == mColour) {
                if (mIn->IsEnabled()) mIn->SetFocus();
                else mList->SetFocus();
                return;
            }
            if (onList) {
                ZoomOut(ZoomSource::KeyOrWheel);
                AfterKeyZoom();
                return;
            }
            break;
        default: break;
    }
    event.Skip();
}

void CImagePreviewDlg::OnWheel(wxMouseEvent& event) {
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || event.GetWheelRotation() == 0) return;
    if (event.GetWheelRotation() > 0) ZoomIn();
    else ZoomOut(ZoomSource::KeyOrWheel);
    AfterKeyZoom();
}

void CImagePreviewDlg::OnClose(wxCloseEvent&) {
    mPreferences.imagePreviewWindow = 0;
    SavePlacement();
    mRenderer.Clear();
    Destroy();
}

}  // namespace vx
