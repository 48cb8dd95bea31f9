#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <optional>

#include <wx/app.h>
#include <wx/docview.h>
#include <wx/init.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include "app/AppCore.h"
#include "document/LayoutXmlWriter.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/CommandIds.h"

namespace fs = std::filesystem;

namespace vx::test {

int AnsweringHook::Enter(wxDialog* dialog) {
    if (answer)
        if (std::optional<int> own = answer(*dialog)) return *own;
    if (auto* message = dynamic_cast<wxMessageDialog*>(dialog)) {
        shown.push_back(std::string(message->GetMessage().utf8_str()));
        // Save questions get No, other questions Yes: the run goes on and saves nothing.
        if (!(message->GetMessageDialogStyle() & wxNO)) return wxID_OK;
        return shown.back().rfind("Möchten Sie", 0) == 0 ? wxID_NO : wxID_YES;
    }
    shown.push_back(std::string(dialog->GetTitle().utf8_str()));
    return wxID_OK;
}

/// The template chooser answered with one template of the test's own; the other dialogs
/// go to the suite's, when it gave some.
struct ProgramRun::TemplateChooser : SettingsDialogs {
    fs::path chosen;
    SettingsDialogs* others = nullptr;
    bool Has(Dialog dialog) override { return dialog == Dialog::SelectTemplate || (others && others->Has(dialog)); }
    std::optional<fs::path> ChooseTemplate() override { return chosen; }
    bool RunAutoRotate(CLayoutSetting& layout) override { return others && others->RunAutoRotate(layout); }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override {
        return others ? others->ChooseColour(initial) : std::nullopt;
    }
    bool RunCrop(CLayoutSetting& layout, bool sameImage) override { return others && others->RunCrop(layout, sameImage); }
    bool RunTint(CLayoutSetting& layout) override { return others && others->RunTint(layout); }
    bool RunDuplicateSeveralTimes(CLayoutSetting& layout) override {
        return others && others->RunDuplicateSeveralTimes(layout);
    }
    bool RunMargins(CLayoutSetting& layout) override { return others && others->RunMargins(layout); }
    bool RunImageAlign(CLayoutSetting& layout) override { return others && others->RunImageAlign(layout); }
    bool RunLabels(CLayoutSetting& layout, bool preset) override { return others && others->RunLabels(layout, preset); }
    bool RunCaption(CLayoutSetting& layout, bool preset) override { return others && others->RunCaption(layout, preset); }
    bool RunHeaderFooter(CLayoutSetting& layout) override { return others && others->RunHeaderFooter(layout); }
    bool RunImageSizeDialog(CLayoutSetting& layout, bool preset) override {
        return others && others->RunImageSizeDialog(layout, preset);
    }
    bool RunCutLineDialog(CLayoutSetting& layout) override { return others && others->RunCutLineDialog(layout); }
    bool RunInputColorDefaults(CLayoutSetting& layout) override {
        return others && others->RunInputColorDefaults(layout);
    }
    bool RunImageColor(CLayoutSetting& layout) override { return others && others->RunImageColor(layout); }
    bool RunImageStamp(CLayoutSetting& layout) override { return others && others->RunImageStamp(layout); }
    bool RunFreeText(CLayoutSetting& layout, CLayoutObj* item) override {
        return others && others->RunFreeText(layout, item);
    }
    bool RunFreeLine(CLayoutSetting& layout, CLayoutObj* item) override {
        return others && others->RunFreeLine(layout, item);
    }
    bool RunPreferences() override { return others && others->RunPreferences(); }
    bool RunSaveTemplateAs(SaveTemplateAsFields& fields) override { return others && others->RunSaveTemplateAs(fields); }
    bool RunOrganizeTemplates() override { return others && others->RunOrganizeTemplates(); }
    bool RunOutputColor(CLayoutSetting& layout) override { return others && others->RunOutputColor(layout); }
    bool RunDriverSettings(DriverSettingsEditor& editor) override { return others && others->RunDriverSettings(editor); }
};

ProgramRun::ProgramRun(Setup setup)
    : mTemp("VELLICOREX_TEMP_DIR", (mRoot.Path() / "temp").string()),
      mUser("VELLICOREX_USER_DIR", (mRoot.Path() / "user").string()),
      mHook(std::make_unique<AnsweringHook>()) {
    if (setup.prepare) setup.prepare(mRoot.Path());
    static int argc = 1;
    static char arg0[] = "vellicorex";
    static char* argv[] = {arg0, nullptr};
    if (!wxEntryStart(argc, argv)) {
        ADD_FAILURE() << "wx did not start";
        return;
    }
    if (!wxTheApp->CallOnInit()) {
        ADD_FAILURE() << "the program's OnInit failed";
        return;
    }
    if (RunningApp().ExitStatus() != 0) return;
    // New asks for a template: a copy of the default layout, written here.
    mChooser = std::make_unique<TemplateChooser>();
    mChooser->chosen = mRoot.Path() / "Vorlage.kqt";
    mChooser->others = setup.dialogs;
    auto layout = RunningApp().Core()->CreateDefaultLayout(nullptr, nullptr);
    if (layout && setup.shapeTemplate) setup.shapeTemplate(*layout);
    if (!layout || !SaveLayoutXml(mChooser->chosen, *layout)) {
        ADD_FAILURE() << "no template for New";
        return;
    }
    std::error_code error;  // kept for trying the program by hand
    fs::copy_file(mChooser->chosen, OutputFolder() / "ui-template.kqt", fs::copy_options::overwrite_existing, error);
    InstallHostService<SettingsDialogs>(mChooser.get());
    RunningApp().FinishStartup();
    mStarted = RunningApp().ExitStatus() == 0;
    Settle(20);
}

ProgramRun::~ProgramRun() {
    if (wxTheApp) {
        if (CMainFrame* frame = CMainFrame::Get()) frame->Close(true);
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    if (HostService<SettingsDialogs>() == mChooser.get()) InstallHostService<SettingsDialogs>(nullptr);
}

CGPApp& RunningApp() { return static_cast<CGPApp&>(*wxTheApp); }

GPDocument* OpenDocument() {
    for (wxDocument* doc : wxDocManager::GetDocumentManager()->GetDocumentsVector())
        if (auto* gp = dynamic_cast<GPDocument*>(doc)) return gp;
    return nullptr;
}

void MenuCommand(int command) {
    CMainFrame* frame = CMainFrame::Get();
    wxCommandEvent event(wxEVT_MENU, ToWxId(command));
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
    Settle();
}

wxMenuItem* MenuItem(int command) {
    CMainFrame* frame = CMainFrame::Get();
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    frame->GetMenuBar()->UpdateMenus();
    return frame->GetMenuBar()->FindItem(ToWxId(command));
}

}  // namespace vx::test
