#pragma once

class wxBookCtrlEvent;
class wxCommandEvent;
class wxListEvent;
class wxMouseEvent;
class wxNotebook;
class wxSize;
class wxTreeEvent;
class wxWindow;

namespace vx {

class CTemplateListCtrl;
class CTemplatePreviewPage;
class CTemplatePropertyPage;
class CTemplateTreeCtrl;

/// The tree, list and information pages that the template chooser and the organiser
/// both show over their model (TemplateChooserModel or OrganizerModel), and the handlers
/// that act alike in both. The dialog builds the controls into these members, binds the
/// handlers and says in SyncList and SyncPages what else follows a change.
template <class Model>
class TemplateBrowser {
protected:
    explicit TemplateBrowser(Model& model) : mModel(model) {}
    virtual ~TemplateBrowser() = default;

    /// After the list's lines changed: refills it (FillList) and shows its selection.
    virtual void SyncList() = 0;
    /// After the selected template changed: shows it (ShowPages) and enables the buttons.
    virtual void SyncPages() = 0;

    /// Makes the notebook with the "Vorschau" and "Info" pages into mTabs.
    wxNotebook* BuildPages(wxWindow* parent, int id, const wxSize& size);
    /// Refills the list from the model; its selection events meanwhile are not the user's.
    void FillList();
    /// Gives both pages the selected template and brings the open one up to date.
    void ShowPages();

    void OnViewChoice(wxCommandEvent& event);
    void OnTreeSelection(wxTreeEvent& event);
    void OnColumnClick(wxListEvent& event);
    /// A click beside every line selects no template.
    void OnListClick(wxMouseEvent& event);
    void OnTabChanged(wxBookCtrlEvent& event);

    Model& mModel;
    CTemplateTreeCtrl* mTree = nullptr;
    CTemplateListCtrl* mList = nullptr;
    wxNotebook* mTabs = nullptr;
    CTemplatePreviewPage* mPreviewPage = nullptr;
    CTemplatePropertyPage* mPropertyPage = nullptr;
    /// Set while the dialog fills its controls: their events then are not the user's.
    bool mSyncing = false;
};

}  // namespace vx
