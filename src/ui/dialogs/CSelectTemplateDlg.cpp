#include "ui/dialogs/CSelectTemplateDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/app.h>
#include <wx/utils.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "templates/TemplateFolders.h"
#include "templates/UserCategories.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/TemplateListControls.h"
#include "ui/dialogs/TemplatePages.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

wxString U(const std::string& text) { return wxString::FromUTF8(text); }

void SetEntries(wxChoice* choice, const std::vector<std::string>& entries, int selected) {
    choice->Clear();
    for (const std::string& entry : entries) choice->Append(U(entry));
    if (!entries.empty()) choice->SetSelection(selected);
}

}  // namespace

CSelectTemplateDlg::CSelectTemplateDlg(wxWindow* parent, TemplateChooserModel& model)
    : wxDialog(parent, 320, U(LoadString(IDS_CHOOSE_TEMPLATE_TITLE)), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      TemplateBrowser(model) {
    Build();
    mSyncing = true;
    mTreeMode->Append(U(LoadString(IDS_TREE_MODE_CATEGORY)));
    mTreeMode->Append(U(LoadString(IDS_TREE_MODE_IMAGE_MASK)));
    for (int id : {IDS_VIEW_LIST, IDS_VIEW_THUMBS_SMALL, IDS_VIEW_THUMBS_MEDIUM}) mView->Append(U(LoadString(id)));
    mSyncing = false;
    mList->SetThumbnails(mModel.Thumbnails());
    SyncCombos();
    SyncTree();
    SyncList();
    mTabs->SetSelection(static_cast<size_t>(mModel.Tab()));
    SyncPages();
    mList->SetFocus();
}

void CSelectTemplateDlg::Build() {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* filters = new wxBoxSizer(wxHORIZONTAL);
    const auto combo = [&](int labelId, int id) {
        filters->Add(new wxStaticText(this, wxID_ANY, U(LoadString(labelId))), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        auto* choice = new wxChoice(this, id, wxDefaultPosition, wxSize(150, -1));
        filters->Add(choice, 1, wxRIGHT, 10);
        choice->Bind(wxEVT_LEFT_DOWN, [choice](wxMouseEvent& event) {
            FitComboDropDownWidth(choice);
            event.Skip();
        });
        return choice;
    };
    mPrinter = combo(IDS_CHOOSE_TEMPLATE_PRINTER, kPrinterId);
    mPaperSize = combo(IDS_CHOOSE_TEMPLATE_PAPER_SIZE, kPaperSizeId);
    mPaperSource = combo(IDS_CHOOSE_TEMPLATE_PAPER_SOURCE, kPaperSourceId);
    top->Add(filters, 0, wxEXPAND | wxALL, 8);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    mTreeMode = new wxChoice(this, kTreeModeId);
    left->Add(mTreeMode, 0, wxEXPAND | wxBOTTOM, 4);
    mTree = new CTemplateTreeCtrl(this, kTreeId, wxSize(170, 300));
    left->Add(mTree, 1, wxEXPAND);
    body->Add(left, 0, wxEXPAND | wxRIGHT, 8);

    auto* middle = new wxBoxSizer(wxVERTICAL);
    mView = new wxChoice(this, kViewId);
    middle->Add(mView, 0, wxBOTTOM, 4);
    mList = new CTemplateListCtrl(this, kListId, wxSize(330, 300));
    mList->SetDragEnabled(false);
    middle->Add(mList, 1, wxEXPAND);
    body->Add(middle, 1, wxEXPAND | wxRIGHT, 8);

    body->Add(BuildPages(this, kTabId, wxSize(280, 330)), 0, wxEXPAND);
    top->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    mOk = new wxButton(this, wxID_OK, U(LoadString(IDS_CHOOSE_TEMPLATE_OPEN)));
    buttons->Add(mOk, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("Abbrechen")));
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    SetAffirmativeId(wxID_OK);

    for (wxChoice* c : {mPrinter, mPaperSize, mPaperSource}) c->Bind(wxEVT_CHOICE, &CSelectTemplateDlg::OnFilterChoice, this);
    for (wxChoice* c : {mTreeMode, mView})
        c->Bind(wxEVT_LEFT_DOWN, [c](wxMouseEvent& event) {
            FitComboDropDownWidth(c);
            event.Skip();
        });
    mTreeMode->Bind(wxEVT_CHOICE, &CSelectTemplateDlg::OnTreeModeChoice, this);
    mView->Bind(wxEVT_CHOICE, &CSelectTemplateDlg::OnViewChoice, this);
    mTree->Bind(wxEVT_TREE_SEL_CHANGED, &CSelectTemplateDlg::OnTreeSelection, this);
    mTree->Bind(wxEVT_TREE_ITEM_EXPANDED, &CSelectTemplateDlg::OnTreeExpansion, this);
    mTree->Bind(wxEVT_TREE_ITEM_COLLAPSED, &CSelectTemplateDlg::OnTreeExpansion, this);
    mList->Bind(wxEVT_LIST_ITEM_SELECTED, &CSelectTemplateDlg::OnListSelected, this);
    mList->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CSelectTemplateDlg::OnListActivated, this);
    mList->Bind(wxEVT_LIST_COL_CLICK, &CSelectTemplateDlg::OnColumnClick, this);
    mList->Bind(wxEVT_LEFT_DOWN, &CSelectTemplateDlg::OnListClick, this);
    mTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &CSelectTemplateDlg::OnTabChanged, this);
}

void CSelectTemplateDlg::SyncCombos() {
    mSyncing = true;
    SetEntries(mPrinter, mModel.Printers(), mModel.PrinterSelection());
    SetEntries(mPaperSize, mModel.PaperSizes(), mModel.PaperSizeSelection());
    SetEntries(mPaperSource, mModel.PaperSources(), mModel.PaperSourceSelection());
    mTreeMode->SetSelection(mModel.TreeMode());
    mView->SetSelection(mModel.View());
    mSyncing = false;
}

void CSelectTemplateDlg::SyncTree() {
    mSyncing = true;
    mTree->Fill(mModel.Tree(), mModel.TreeSelection());
    mSyncing = false;
}

void CSelectTemplateDlg::SyncList() {
    FillList();
    mOk->Enable(mModel.OkEnabled());
    SyncPages();
}

void CSelectTemplateDlg::SyncPages() {
    ShowPages();
    mOk->Enable(mModel.OkEnabled());
}

void CSelectTemplateDlg::OnFilterChoice(wxCommandEvent& event) {
    if (mSyncing) return;
    if (event.GetId() == kPrinterId) mModel.SelectPrinter(event.GetSelection());
    else if (event.GetId() == kPaperSizeId) mModel.SelectPaperSize(event.GetSelection());
    else mModel.SelectPaperSource(event.GetSelection());
    SyncCombos();
    SyncList();
}

void CSelectTemplateDlg::OnTreeModeChoice(wxCommandEvent& event) {
    if (mSyncing) return;
    mModel.SetTreeMode(event.GetSelection());
    SyncTree();
    SyncList();
}

void CSelectTemplateDlg::OnTreeExpansion(wxTreeEvent& event) {
    const TemplateTreeSelection at = mTree->SelectionOf(event.GetItem());
    if (at.root >= 0 && at.child < 0) mModel.SetRootExpanded(at.root, mTree->IsExpanded(event.GetItem()));
    event.Skip();
}

void CSelectTemplateDlg::OnListSelected(wxListEvent& event) {
    if (mSyncing) return;
    if (event.GetIndex() != mModel.SelectedItem() || mModel.CurrentIndex() < 0) {
        mModel.SelectItem(static_cast<int>(event.GetIndex()));
        SyncPages();
    }
}

void CSelectTemplateDlg::OnListActivated(wxListEvent& event) {
    mModel.SelectItem(static_cast<int>(event.GetIndex()));
    SyncPages();
    if (mModel.OkEnabled()) EndModal(wxID_OK);
}

std::optional<std::filesystem::path> WxSettingsDialogs::ChooseTemplate() {
    CTemplateInfoArray& catalog = TemplateCatalog();
    if (catalog.IsEmpty()) {
        // The catalogue is filled at start-up; a run without it still finds the folder.
        ScanTemplateFolders(GetTemplateFolder(), "kqt", 0, catalog);
        SortTemplateInfoArray(catalog);
        if (catalog.IsEmpty()) return std::filesystem::path();
    }
    ApplicationState* app = HostService<ApplicationState>();
    const ChooseTemplateState state = app ? app->GetChooseTemplateState() : ChooseTemplateState();
    std::vector<PrinterEntry> printers;
    if (CPrinterManager* manager = CPrinterManager::GetInstance()) printers = manager->Printers();
    wxBusyCursor busy;
    TemplateChooserModel model(catalog, SupportedPrinterModels(printers), UserCategoryList(), state);
    model.Open();
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    CSelectTemplateDlg dialog(parent, model);
    const int answer = dialog.ShowModal();
    if (app) app->SetChooseTemplateState(model.Closing());
    if (answer != wxID_OK || model.ChosenPath().empty()) return std::nullopt;
    return std::filesystem::path(model.ChosenPath());
}

}  // namespace vx
