#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/image.h>
#include <wx/modalhook.h>

#include "support/TestFolders.h"

class CGPApp;
class wxWindow;

// The whole program started in a test process: each suite that uses it declares the
// application (wxIMPLEMENT_APP_NO_MAIN(CGPApp)) and holds one run, as wx starts once.

namespace vx::test {

/// Answers every modal dialog of the run and records its text: save questions No,
/// other questions Yes, everything else OK.
class AnsweringHook : public wxModalDialogHook {
public:
    std::vector<std::string> shown;
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
    /// prepare runs once the run's folders are set and before the program starts.
    explicit ProgramRun(const std::function<void(const std::filesystem::path& root)>& prepare = {});
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
/// Lets the program handle what is pending, a few rounds.
void Settle(int rounds = 10);
/// What the screen shows of a window, written to the test output folder.
wxImage Shot(wxWindow* window, const std::string& name);

}  // namespace vx::test
