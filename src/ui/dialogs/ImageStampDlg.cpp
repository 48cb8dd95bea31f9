#include "ui/dialogs/ImageStampDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CNumEdit.h"
#include "ui/document/FileDialogs.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {

namespace {
void SetRange(CNumEdit* edit, const ImageStampController::Range& r) {
    edit->SetParams(r.minimum, r.maximum, false, r.decimals == 1 ? 5 : 1, r.maxChars);
}
}  // namespace

CImageStampDlg::CImageStampDlg(wxWindow* parent, CLayoutSetting& layout)
    : SettingsDialog(parent, "Bildstempel"), mCtl(&layout) {
    mCtl.Load();
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* onRow = new wxBoxSizer(wxHORIZONTAL);
    mOff = new wxRadioButton(this, 3800, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mOn = new wxRadioButton(this, 3859, "Ein");
    onRow->Add(mOff, 0, wxRIGHT, 12);
    onRow->Add(mOn);
    outer->Add(onRow, 0, wxALL, 6);

    auto* frame = new wxStaticBoxSizer(wxVERTICAL, this, "");
    wxWindow* f = frame->GetStaticBox();
    auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
    auto* fileLabel = new wxStaticText(f, 3873, "Datei:");
    mPath = new wxTextCtrl(f, 1148, "", wxDefaultPosition, wxSize(280, -1), wxTE_READONLY);
    auto* choose = new wxButton(f, 3748, Text("Auswählen"));
    fileRow->Add(fileLabel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    fileRow->Add(mPath, 1, wxRIGHT, 4);
    fileRow->Add(choose);
    frame->Add(fileRow, 0, wxEXPAND | wxALL, 4);

    auto* settingsRow = new wxBoxSizer(wxHORIZONTAL);
    auto* settingsLabel = new wxStaticText(f, 3872, "Einstellungen:");
    mAuto = new wxRadioButton(f, 3801, "Automatisch", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mCustom = new wxRadioButton(f, 3861, "Benutzerdefiniert");
    settingsRow->Add(settingsLabel, 0, wxRIGHT, 8);
    settingsRow->Add(mAuto, 0, wxRIGHT, 8);
    settingsRow->Add(mCustom);
    frame->Add(settingsRow, 0, wxALL, 4);

    auto* groups = new wxBoxSizer(wxHORIZONTAL);
    auto* position = new wxStaticBoxSizer(wxVERTICAL, f, "Position:");
    wxWindow* p = position->GetStaticBox();
    auto* posGrid = new wxFlexGridSizer(2, 4, 6);
    auto* xLabel = new wxStaticText(p, 3863, "X:");
    auto* yLabel = new wxStaticText(p, 3864, "Y:");
    mX = new CNumEdit(p, 1033, "", wxDefaultPosition, wxSize(90, -1));
    mY = new CNumEdit(p, 1074, "", wxDefaultPosition, wxSize(90, -1));
    mPositionUnit = new wxChoice(p, 3868);
    posGrid->Add(xLabel, 0, wxALIGN_CENTER_VERTICAL);
    posGrid->Add(mX);
    posGrid->Add(yLabel, 0, wxALIGN_CENTER_VERTICAL);
    posGrid->Add(mY);
    position->Add(posGrid, 0, wxALL, 4);
    position->Add(mPositionUnit, 0, wxALL, 4);
    groups->Add(position, 0, wxALL, 4);

    auto* size = new wxStaticBoxSizer(wxVERTICAL, f, Text("Größe:"));
    wxWindow* s = size->GetStaticBox();
    auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
    auto* sizeGrid = new wxFlexGridSizer(2, 4, 6);
    auto* widthLabel = new wxStaticText(s, 3865, "Breite:");
    auto* heightLabel = new wxStaticText(s, 3866, Text("Höhe:"));
    mWidth = new CNumEdit(s, 1075, "", wxDefaultPosition, wxSize(90, -1));
    mHeight = new CNumEdit(s, 3862, "", wxDefaultPosition, wxSize(90, -1));
    sizeGrid->Add(widthLabel, 0, wxALIGN_CENTER_VERTICAL);
    sizeGrid->Add(mWidth);
    sizeGrid->Add(heightLabel, 0, wxALIGN_CENTER_VERTICAL);
    sizeGrid->Add(mHeight);
    mChain = new wxStaticBitmap(s, 3867, ResourceIcon(mCtl.ChainIcon(), 16));
    sizeRow->Add(sizeGrid);
    sizeRow->Add(mChain, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    size->Add(sizeRow, 0, wxALL, 4);
    mSizeUnit = new wxChoice(s, 1138);
    size->Add(mSizeUnit, 0, wxALL, 4);
    mKeep = new wxCheckBox(s, 1081, "Proportionen erhalten");
    size->Add(mKeep, 0, wxALL, 4);
    groups->Add(size, 0, wxALL, 4);
    frame->Add(groups);
    outer->Add(frame, 0, wxEXPAND | wxALL, 6);
    outer->Add(MakeButtons(), 0, wxEXPAND | wxALL, 6);

    for (wxChoice* unit : {mPositionUnit, mSizeUnit}) {
        unit->Append(Text(LoadString(IDS_UNIT_MM)));
        unit->Append(Text(LoadString(IDS_UNIT_INCH)));
    }
    mStampLevel = {f, fileLabel, mPath, choose};
    mSettingsLevel = {settingsLabel, mAuto, mCustom};
    mCustomLevel = {p, xLabel, yLabel, mX, mY, mPositionUnit, s, widthLabel, heightLabel,
                    mWidth, mHeight, mSizeUnit, mKeep, mChain};

    mPositionUnit->SetSelection(mCtl.PositionUnit() - 1);
    mSizeUnit->SetSelection(mCtl.SizeUnit() - 1);
    ShowPosition();
    ShowSizes();
    mKeep->SetValue(mCtl.Keep());
    mPath->ChangeValue(Text(mCtl.Path()));
    mCustom->SetValue(mCtl.Custom());
    mAuto->SetValue(!mCtl.Custom());
    mOn->SetValue(mCtl.On());
    mOff->SetValue(!mCtl.On());
    Enable();

    mOff->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
        mCtl.SetOn(false);
        Enable();
    }));
    mOn->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
        mCtl.SetOn(true, mWidth->IsEmpty() || mHeight->IsEmpty());
        mKeep->SetValue(mCtl.Keep());
        Enable();
    }));
    for (wxRadioButton* r : {mAuto, mCustom})
        r->Bind(wxEVT_RADIOBUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
            mCtl.SetCustom(mCustom->GetValue());
            mKeep->SetValue(mCtl.Keep());
            Enable();
        }));
    mKeep->Bind(wxEVT_CHECKBOX, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
        mCtl.SetKeep(mKeep->GetValue());
        mKeep->SetValue(mCtl.Keep());
        ShowSizes();
        Enable();
    }));
    mPositionUnit->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
        mCtl.SetPositionUnit(mPositionUnit->GetSelection() + 1);
        ShowPosition();
    }));
    mSizeUnit->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
        mCtl.SetSizeUnit(mSizeUnit->GetSelection() + 1);
        ShowSizes();
    }));
    for (CNumEdit* e : {mX, mY})
        e->Bind(wxEVT_TEXT, Guarded<wxCommandEvent>([this](wxCommandEvent&) {
            mCtl.PositionEdited(Utf8(mX->GetValue()), Utf8(mY->GetValue()));
        }));
    for (CNumEdit* e : {mWidth, mHeight})
        e->Bind(wxEVT_TEXT, Guarded<wxCommandEvent>([this, e](wxCommandEvent&) {
            const ImageStampController::SizeFollow follow =
                mCtl.SizeEdited(e == mWidth, Utf8(mWidth->GetValue()), Utf8(mHeight->GetValue()));
            // ChangeValue sends no change event: the dialog's own rewrites are not edits.
            if (follow.widthChanged) mWidth->ChangeValue(Text(mCtl.FollowText(mCtl.Width())));
            if (follow.heightChanged) mHeight->ChangeValue(Text(mCtl.FollowText(mCtl.Height())));
        }));
    choose->Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnChooseFile(); }));

    SetSizerAndFit(outer);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

void CImageStampDlg::ShowPosition() {
    SetRange(mX, mCtl.PositionRange());
    SetRange(mY, mCtl.PositionRange());
    mX->ChangeValue(Text(mCtl.XText()));
    mY->ChangeValue(Text(mCtl.YText()));
}

void CImageStampDlg::ShowSizes() {
    SetRange(mWidth, mCtl.WidthRange());
    SetRange(mHeight, mCtl.HeightRange());
    mWidth->ChangeValue(Text(mCtl.WidthText()));
    mHeight->ChangeValue(Text(mCtl.HeightText()));
}

void CImageStampDlg::Enable() {
    for (wxWindow* w : mStampLevel) w->Enable(mCtl.On());
    for (wxWindow* w : mSettingsLevel) w->Enable(mCtl.SettingsLevelEnabled());
    for (wxWindow* w : mCustomLevel) w->Enable(mCtl.CustomLevelEnabled());
    mChain->SetBitmap(ResourceIcon(mCtl.ChainIcon(), 16));
    if (wxWindow* ok = FindWindow(wxID_OK)) ok->Enable(mCtl.OkEnabled());
}

void CImageStampDlg::ChooseFile(const std::filesystem::path& path) {
    wxBusyCursor wait;
    mCtl.ChooseFile(path);
    mPath->ChangeValue(Text(mCtl.Path()));
    ShowSizes();
    Enable();
}

void CImageStampDlg::OnChooseFile() {
    DocumentServices* documents = HostService<DocumentServices>();
    const std::filesystem::path folder = documents ? documents->DocumentsFolder() : std::filesystem::path(wxGetHomeDir().utf8_string());
    // One file: the open dialog without multiple selection.
    CFileOpenDlg files(this, LoadString(IDS_IMAGE_FILTER_ALL), folder);
    if (files.ShowModal() != wxID_OK) return;
    ChooseFile(std::filesystem::path(Utf8(files.GetPath())));
}

DialogCheck CImageStampDlg::Commit() {
    mCtl.PositionEdited(Utf8(mX->GetValue()), Utf8(mY->GetValue()));
    return mCtl.Apply();
}

bool WxSettingsDialogs::RunImageStamp(CLayoutSetting& layout) {
    CImageStampDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, layout);
    if (dialog.ShowModal() != wxID_OK) return false;
    layout.SetDirty(1);
    if (LayoutView* view = FindLayoutView(layout)) view->Invalidate();
    return true;
}

}  // namespace vx
