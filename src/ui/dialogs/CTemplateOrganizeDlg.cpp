#include "ui/dialogs/CTemplateOrganizeDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "templates/CategoryNames.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplatePropertyRows.h"
#include "templates/UserCategories.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/CategoryDialogs.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/dialogs/TemplateListControls.h"
#include "ui/dialogs/TemplatePages.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

constexpr int kAddIcon = 323;
constexpr int kDeleteIcon = 322;

void ShowStatus(const Status& status) {
    if (!status) Messages().Show(status.stringId, status.args, Icon::Error, Buttons::Ok);
}

}  // namespace

CTemplateOrganizeDlg::CTemplateOrganizeDlg(wxWindow* parent, OrganizerModel& model)
    : wxDialog(parent, kResourceId, DialogText(kResourceId, 0), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      TemplateBrowser(model) {
    Build();
    mSyncing = true;
    for (int id : {IDS_VIEW_LIST, IDS_VIEW_THUMBS_SMALL, IDS_VIEW_THUMBS_MEDIUM}) mView->Append(Text(LoadString(id)));
    mView->SetSelection(mModel.View());
    mSyncing = false;
    mList->SetThumbnails(mModel.Thumbnails());
    SyncTree();
    SyncList();
    mTabs->SetSelection(static_cast<size_t>(mModel.Tab()));
    SyncPages();
    mTree->SetFocus();
}

void CTemplateOrganizeDlg::Build() {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* body = new wxBoxSizer(wxHORIZONTAL);

    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* categoryButtons = new wxBoxSizer(wxHORIZONTAL);
    const auto iconButton = [this](int id, int icon) {
        auto* button = new CIconButton(this, id);
        button->SetIconsById(icon, CIconButton::kGreyIdle);
        return button;
    };
    mAddCategory = iconButton(kAddCategoryId, kAddIcon);
    mDeleteCategory = iconButton(kDeleteCategoryId, kDeleteIcon);
    categoryButtons->Add(mAddCategory, 0, wxRIGHT, 4);
    categoryButtons->Add(mDeleteCategory);
    left->Add(categoryButtons, 0, wxBOTTOM, 4);
    mTree = new CTemplateTreeCtrl(this, kTreeId, wxSize(190, 420), wxTR_EDIT_LABELS);
    left->Add(mTree, 1, wxEXPAND);
    body->Add(left, 0, wxEXPAND | wxRIGHT, 8);

    auto* middle = new wxBoxSizer(wxVERTICAL);
    auto* listBar = new wxBoxSizer(wxHORIZONTAL);
    mView = new wxChoice(this, kViewId);
    listBar->Add(mView, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    listBar->AddStretchSpacer();
    mDeleteTemplate = iconButton(kDeleteTemplateId, kDeleteIcon);
    listBar->Add(mDeleteTemplate, 0, wxALIGN_CENTER_VERTICAL);
    middle->Add(listBar, 0, wxEXPAND | wxBOTTOM, 4);
    mList = new CTemplateListCtrl(this, kListId, wxSize(340, 340), wxLC_EDIT_LABELS);
    middle->Add(mList, 1, wxEXPAND);
    body->Add(middle, 1, wxEXPAND | wxRIGHT, 8);

    body->Add(BuildPages(this, kTabId, wxSize(280, 370)), 0, wxEXPAND);
    top->Add(body, 1, wxEXPAND | wxALL, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* close = new wxButton(this, wxID_OK, DialogText(kResourceId, 1));
    buttons->Add(close);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(top);
    SetAffirmativeId(wxID_OK);
    SetEscapeId(wxID_OK);

    mTree->RegisterDropTarget(mList, this);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) { OnCharHook(e); });
    mView->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        FitComboDropDownWidth(mView);
        event.Skip();
    });
    mView->Bind(wxEVT_CHOICE, Guarded<wxCommandEvent>([this](wxCommandEvent& e) { OnViewChoice(e); }));
    mTree->Bind(wxEVT_TREE_SEL_CHANGED, Guarded<wxTreeEvent>([this](wxTreeEvent& e) { OnTreeSelection(e); }));
    mTree->Bind(wxEVT_TREE_ITEM_EXPANDED, Guarded<wxTreeEvent>([this](wxTreeEvent& e) { OnTreeExpansion(e); }));
    mTree->Bind(wxEVT_TREE_ITEM_COLLAPSED, Guarded<wxTreeEvent>([this](wxTreeEvent& e) { OnTreeExpansion(e); }));
    mList->Bind(wxEVT_LIST_ITEM_SELECTED, Guarded<wxListEvent>([this](wxListEvent& e) { OnListSelected(e); }));
    mList->Bind(wxEVT_LIST_COL_CLICK, Guarded<wxListEvent>([this](wxListEvent& e) { OnColumnClick(e); }));
    mList->Bind(wxEVT_LEFT_DOWN, Guarded<wxMouseEvent>([this](wxMouseEvent& e) { OnListClick(e); }));
    mTabs->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, Guarded<wxBookCtrlEvent>([this](wxBookCtrlEvent& e) { OnTabChanged(e); }));
    mAddCategory->Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnAddCategory(); }));
    mDeleteCategory->Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnDeleteCategory(); }));
    mDeleteTemplate->Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { OnDeleteTemplate(); }));
}

wxTreeItemId CTemplateOrganizeDlg::TreeItem(int root, int child) const {
    return mTree->ItemOf({root, child});
}

void CTemplateOrganizeDlg::SyncTree() {
    const auto& roots = mModel.Tree();
    mSyncing = true;
    mTree->Freeze();
    mTree->Fill(std::vector<TemplateTreeRoot>(roots.begin(), roots.end()), mModel.TreeSelection());
    mTree->Thaw();
    mSyncing = false;
    SyncButtons();
}

void CTemplateOrganizeDlg::SyncList() {
    FillList();
    SyncPages();
}

void CTemplateOrganizeDlg::SyncPages() {
    ShowPages();
    SyncButtons();
}

void CTemplateOrganizeDlg::SyncButtons() {
    mAddCategory->Enable(mModel.AddCategoryEnabled());
    mDeleteCategory->Enable(mModel.DeleteCategoryEnabled());
    mDeleteTemplate->Enable(mModel.DeleteTemplateEnabled());
}

void CTemplateOrganizeDlg::Reload() {
    mModel.Reload();
    mList->SetThumbnails(mModel.Thumbnails());
    SyncTree();
    SyncList();
}

void CTemplateOrganizeDlg::RefreshAfterRename() {
    Reload();
}

void CTemplateOrganizeDlg::RefreshAfterDrop() {
    // The drop target still works on the tree's items: rebuild once it has returned.
    CallAfter([this] {
        Reload();
    });
}

void CTemplateOrganizeDlg::UserCategoryRenamed(const std::string&, const std::string&) {
    // Called from the tree's own end-of-edit handler, which still uses the item.
    CallAfter([this] { Reload(); });
}

void CTemplateOrganizeDlg::OnCharHook(wxKeyEvent& event) {
    // An open in-place edit takes Escape and Return before the dialog would close.
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE && (mList->CancelLabelEdit() || mTree->CancelLabelEdit())) return;
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && mTree->EndLabelEditNow()) return;
    event.Skip();
}

void CTemplateOrganizeDlg::OnTreeExpansion(wxTreeEvent& event) {
    const TemplateTreeSelection at = mTree->SelectionOf(event.GetItem());
    if (!mSyncing && at.root >= 0 && at.child < 0) mModel.SetRootExpanded(at.root, mTree->IsExpanded(event.GetItem()));
    event.Skip();
}

void CTemplateOrganizeDlg::OnListSelected(wxListEvent& event) {
    if (mSyncing) return;
    mModel.SelectItem(static_cast<int>(event.GetIndex()));
    SyncPages();
}

void CTemplateOrganizeDlg::OnAddCategory() {
    if (!mModel.AddCategoryEnabled()) return;
    CAddCategoryDlg dialog(this, UserCategoryList());
    if (dialog.ShowModal() != wxID_OK) return;
    ShowStatus(mModel.AddCategory(dialog.GetCategoryName()));
    SyncTree();
    SyncList();
}

void CTemplateOrganizeDlg::OnDeleteCategory() {
    const std::string name = mModel.SelectedUserCategory();
    if (name.empty() || !mModel.DeleteCategoryEnabled()) return;
    CDeleteCategoryDlg dialog(this, name);
    if (dialog.ShowModal() != wxID_OK) return;
    ShowStatus(mModel.DeleteSelectedCategory());
    SyncTree();
    SyncList();
}

void CTemplateOrganizeDlg::OnDeleteTemplate() {
    if (!mModel.DeleteTemplateEnabled()) return;
    // The open layout's template is refused before anything is asked.
    if (Status refused = mModel.CanDeleteSelectedTemplate(); !refused) return ShowStatus(refused);
    CDeleteTemplateDlg dialog(this, TemplateFileNamePart(mModel.CurrentRecord().Path));
    if (dialog.ShowModal() != wxID_OK) return;
    const Status deleted = mModel.DeleteSelectedTemplate();
    ShowStatus(deleted);
    if (deleted) mList->SetThumbnails(mModel.Thumbnails());
    SyncList();
}

bool WxSettingsDialogs::RunOrganizeTemplates() {
    CTemplateInfoArray& catalog = TemplateCatalog();
    ApplicationState* app = HostService<ApplicationState>();
    const OrganizeTemplatesState state = app ? app->GetOrganizeTemplatesState() : OrganizeTemplatesState();
    wxBusyCursor busy;
    OrganizerModel model(catalog, UserCategoryList(), BuiltinCategoryKeys(), state, UserCategoryFile());
    model.Open();
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    CTemplateOrganizeDlg dialog(parent, model);
    dialog.ShowModal();
    if (app) app->SetOrganizeTemplatesState(model.Closing());
    return true;
}

}  // namespace vx
