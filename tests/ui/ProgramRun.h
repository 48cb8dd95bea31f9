#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/modalhook.h>

#include "Screen.h"
#include "support/TestFolders.h"

class CGPApp;
class wxMenuItem;

namespace vx {
class CLayoutSetting;
class GPDocument;
class SettingsDialogs;
}  // namespace vx

// The whole program started in a test process: each suite that uses it declares the
// application (wxIMPLEMENT_APP_NO_MAIN(CGPApp)) and holds one run, as wx starts once.

namespace vx::test {

/// Answers every modal dialog of the run and records its text: save questions No,
/// other questions Yes, everything else OK.
class AnsweringHook : public wxModalDialogHook {
public:
    std::vector<std::string> shown;
    /// A suite's own answer, asked first; a dialog it answers is the suite's to record.
    std::function<std::optional<int>(wxDialog&)> answer;
    AnsweringHook() { Register(); }
    ~AnsweringHook() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}
};

/// One run of the program in folders of its own: started like a new user's first start,
/// the splash pause cut short; New gets a copy of the default layout as its template.
class ProgramRun {
public:
    struct Setup {
        /// Runs once the run's folders are set and before the program starts.
        std::function<void(const std::filesystem::path& root)> prepare;
        /// Changes the layout New starts from before it is written.
        std::function<void(CLayoutSetting&)> shapeTemplate;
        /// Answers the settings dialogs but the template chooser (which stays the run's);
        /// without it they are not bound. Must outlive the run.
        SettingsDialogs* dialogs = nullptr;
    };

    explicit ProgramRun(Setup setup);
    explicit ProgramRun(std::function<void(const std::filesystem::path& root)> prepare = {})
        : ProgramRun(Setup{std::move(prepare), {}, nullptr}) {}
    /// Closes the main window if it is still open and ends wx.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    /// Whether start-up ran to the end.
    bool Started() const { return mStarted; }
    const std::filesystem::path& Root() const { return mRoot.Path(); }
    AnsweringHook& Hook() { return *mHook; }

private:
    struct TemplateChooser;
    TestRoot mRoot;
    ScopedEnv mTemp;
    ScopedEnv mUser;
    std::unique_ptr<AnsweringHook> mHook;
    std::unique_ptr<TemplateChooser> mChooser;
    bool mStarted = false;
};

/// The running program.
CGPApp& RunningApp();
/// The document of the layout window; null while none is open.
GPDocument* OpenDocument();
/// Sends a command of the main window's menu as its menu bar does, and lets the program
/// settle.
void MenuCommand(int command);
/// The main window's menu item of command after its update handlers ran.
wxMenuItem* MenuItem(int command);

}  // namespace vx::test
