#pragma once
#include <string>

#include <wx/dialog.h>
#include <wx/treebase.h>

#include "templates/OrganizerModel.h"
#include "ui/dialogs/TemplateBrowser.h"
#include "ui/dialogs/TemplateListControls.h"

class CIconButton;
class wxChoice;
class wxNotebook;
class wxListEvent;
class wxTreeEvent;
class wxKeyEvent;

namespace vx {

/// "Vorlagen organisieren": the category tree with its three roots, the templates of
/// the selected item with their preview and information pages, and the buttons that
/// add and delete user categories and delete templates. Every change acts on the files
/// at once; the dialog only closes ("Schließen").
class CTemplateOrganizeDlg : public wxDialog,
                             public TemplateBrowser<OrganizerModel>,
                             public TemplateOrganizerOwner {
public:
    enum {
        kResourceId = 322,
        kTreeId = 1000,
        kViewId = 1021,
        kListId = 3885,
        kTabId = 3886,
        kAddCategoryId = 3748,
        kDeleteCategoryId = 3749,
        kDeleteTemplateId = 3750,
    };

    CTemplateOrganizeDlg(wxWindow* parent, OrganizerModel& model);

    CTemplateTreeCtrl* Tree() const { return mTree; }
    CTemplateListCtrl* List() const { return mList; }
    wxChoice* ViewCombo() const { return mView; }
    wxNotebook* Tabs() const { return mTabs; }
    CIconButton* AddCategoryButton() const { return mAddCategory; }
    CIconButton* DeleteCategoryButton() const { return mDeleteCategory; }
    CIconButton* DeleteTemplateButton() const { return mDeleteTemplate; }
    /// The tree item of root (0 "Kategorie", 1 "Bildmaske", 2 "MyTemplate") or of one of
    /// its children (child -1: the root itself).
    wxTreeItemId TreeItem(int root, int child = -1) const;
    /// After templates or categories changed elsewhere (a rename, a drop).
    void Reload();

    void RefreshAfterRename() override;
    void RefreshAfterDrop() override;
    void UserCategoryRenamed(const std::string& oldName, const std::string& newName) override;

private:
    void Build();
    void SyncTree();
    void SyncList() override;
    void SyncPages() override;
    void SyncButtons();
    void OnCharHook(wxKeyEvent& event);
    void OnTreeExpansion(wxTreeEvent& event);
    void OnListSelected(wxListEvent& event);
    void OnAddCategory();
    void OnDeleteCategory();
    void OnDeleteTemplate();

    wxChoice* mView = nullptr;
    CIconButton* mAddCategory = nullptr;
    CIconButton* mDeleteCategory = nullptr;
    CIconButton* mDeleteTemplate = nullptr;
};

}  // namespace vx
