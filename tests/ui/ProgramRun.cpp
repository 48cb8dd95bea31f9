#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <optional>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <cairo.h>

#include "app/AppCore.h"
#include "document/LayoutXmlWriter.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"

namespace fs = std::filesystem;

namespace vx::test {

int AnsweringHook::Enter(wxDialog* dialog) {
    if (auto* message = dynamic_cast<wxMessageDialog*>(dialog)) {
        shown.push_back(std::string(message->GetMessage().utf8_str()));
        // Save questions get No, other questions Yes: the run goes on and saves nothing.
        if (!(message->GetMessageDialogStyle() & wxNO)) return wxID_OK;
        return shown.back().rfind("Möchten Sie", 0) == 0 ? wxID_NO : wxID_YES;
    }
    shown.push_back(std::string(dialog->GetTitle().utf8_str()));
    return wxID_OK;
}

/// The template chooser answered with one template of the test's own.
struct ProgramRun::TemplateChooser : SettingsDialogs {
    fs::path chosen;
    bool Has(Dialog dialog) override { return dialog == Dialog::SelectTemplate; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<fs::path> ChooseTemplate() override { return chosen; }
};

ProgramRun::ProgramRun(const std::function<void(const fs::path& root)>& prepare)
    : mTemp("VELLICOREX_TEMP_DIR", (mRoot.Path() / "temp").string()),
      mUser("VELLICOREX_USER_DIR", (mRoot.Path() / "user").string()),
      mHook(std::make_unique<AnsweringHook>()) {
    if (prepare) prepare(mRoot.Path());
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
    auto layout = RunningApp().Core()->CreateDefaultLayout(nullptr, nullptr);
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

void Settle(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(15);
    }
}

wxImage Shot(wxWindow* window, const std::string& name) {
    const wxRect r = window->GetScreenRect();
    wxBitmap shot(r.width, r.height, 24);
    {
        wxMemoryDC mem(shot);
        wxScreenDC screen;
        // cairo keeps a picture of the root window it read once; later paints must show.
        if (auto* cr = static_cast<cairo_t*>(screen.GetImpl()->GetCairoContext()))
            cairo_surface_mark_dirty(cairo_get_target(cr));
        mem.Blit(0, 0, r.width, r.height, &screen, r.x, r.y);
    }
    wxImage image = shot.ConvertToImage();
    const fs::path out = OutputFolder() / name;
    fs::create_directories(out.parent_path());
    image.SaveFile(out.string(), wxBITMAP_TYPE_PNG);
    return image;
}

}  // namespace vx::test
