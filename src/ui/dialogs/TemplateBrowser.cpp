#include "ui/dialogs/TemplateBrowser.h"

#include <wx/notebook.h>

#include "platform/system/StringTable.h"
#include "templates/OrganizerModel.h"
#include "templates/TemplateChooserModel.h"
#include "ui/dialogs/TemplateListControls.h"
#include "ui/dialogs/TemplatePages.h"

namespace vx {

template <class Model>
wxNotebook* TemplateBrowser<Model>::BuildPages(wxWindow* parent, int id, const wxSize& size) {
    mTabs = new wxNotebook(parent, id, wxDefaultPosition, size);
    mPreviewPage = new CTemplatePreviewPage(mTabs);
    mPropertyPage = new CTemplatePropertyPage(mTabs);
    mTabs->AddPage(mPreviewPage, wxString::FromUTF8(LoadString(IDS_TAB_PREVIEW)));
    mTabs->AddPage(mPropertyPage, wxString::FromUTF8(LoadString(IDS_TAB_INFO)));
    return mTabs;
}

template <class Model>
void TemplateBrowser<Model>::FillList() {
    mSyncing = true;
    mList->Fill(mModel.Items(), mModel.View(), mModel.SelectedItem());
    mSyncing = false;
}

template <class Model>
void TemplateBrowser<Model>::ShowPages() {
    mPreviewPage->SetTemplateInfo(mModel.CurrentRecord());
    mPropertyPage->SetTemplateInfo(mModel.CurrentRecord());
    if (mTabs->GetSelection() == 1) mPropertyPage->FillPropertyList();
    else mPreviewPage->DrawPreview();
}

template <class Model>
void TemplateBrowser<Model>::OnViewChoice(wxCommandEvent& event) {
    if (mSyncing) return;
    mModel.SetView(event.GetSelection());
    SyncList();
}

template <class Model>
void TemplateBrowser<Model>::OnTreeSelection(wxTreeEvent& event) {
    if (mSyncing || mTree->Filling()) return;
    const TemplateTreeSelection selection = mTree->SelectionOf(event.GetItem());
    if (selection.root < 0) return;
    mModel.SelectTreeItem(selection);
    SyncList();
}

template <class Model>
void TemplateBrowser<Model>::OnColumnClick(wxListEvent& event) {
    mModel.SortByColumn(event.GetColumn());
    FillList();
}

template <class Model>
void TemplateBrowser<Model>::OnListClick(wxMouseEvent& event) {
    int flags = 0;
    if (mList->HitTest(event.GetPosition(), flags) == wxNOT_FOUND) {
        mModel.SelectItem(-1);
        mSyncing = true;
        mList->ShowSelected(-1);
        mSyncing = false;
        SyncPages();
    }
    event.Skip();
}

template <class Model>
void TemplateBrowser<Model>::OnTabChanged(wxBookCtrlEvent& event) {
    mModel.SetTab(event.GetSelection());
    SyncPages();
    event.Skip();
}

template class TemplateBrowser<TemplateChooserModel>;
template class TemplateBrowser<OrganizerModel>;

}  // namespace vx
