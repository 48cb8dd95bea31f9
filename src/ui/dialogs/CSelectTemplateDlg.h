#pragma once
#include <string>

#include <wx/dialog.h>

#include "templates/TemplateChooserModel.h"
#include "ui/dialogs/TemplateBrowser.h"

class wxChoice;
class wxNotebook;
class wxListEvent;
class wxTreeEvent;

namespace vx {

class CTemplateListCtrl;
class CTemplateTreeCtrl;
class CTemplatePreviewPage;
class CTemplatePropertyPage;

/// "Vorlage wählen": the templates of the catalogue, filtered by printer, paper size,
/// paper source and a category or image-mask tree; "Öffnen" hands back the chosen path.
class CSelectTemplateDlg : public wxDialog, public TemplateBrowser<TemplateChooserModel> {
public:
    enum {
        kPrinterId = 3884,
        kPaperSizeId = 1031,
        kPaperSourceId = 1020,
        kTreeModeId = 3883,
        kTreeId = 1000,
        kViewId = 1021,
        kListId = 3827,
        kTabId = 3712,
    };

    CSelectTemplateDlg(wxWindow* parent, TemplateChooserModel& model);

    const std::string& ChosenPath() const { return mModel.ChosenPath(); }

    wxChoice* PrinterCombo() const { return mPrinter; }
    wxChoice* PaperSizeCombo() const { return mPaperSize; }
    wxChoice* PaperSourceCombo() const { return mPaperSource; }
    wxChoice* TreeModeCombo() const { return mTreeMode; }
    wxChoice* ViewCombo() const { return mView; }
    CTemplateTreeCtrl* Tree() const { return mTree; }
    CTemplateListCtrl* List() const { return mList; }
    wxNotebook* Tabs() const { return mTabs; }
    CTemplatePropertyPage* PropertyPage() const { return mPropertyPage; }
    CTemplatePreviewPage* PreviewPage() const { return mPreviewPage; }

private:
    void Build();
    void SyncCombos();
    void SyncTree();
    void SyncList() override;
    void SyncPages() override;
    void OnFilterChoice(wxCommandEvent& event);
    void OnTreeModeChoice(wxCommandEvent& event);
    void OnTreeExpansion(wxTreeEvent& event);
    void OnListSelected(wxListEvent& event);
    void OnListActivated(wxListEvent& event);

    wxChoice* mPrinter = nullptr;
    wxChoice* mPaperSize = nullptr;
    wxChoice* mPaperSource = nullptr;
    wxChoice* mTreeMode = nullptr;
    wxChoice* mView = nullptr;
    wxButton* mOk = nullptr;
};

}  // namespace vx
