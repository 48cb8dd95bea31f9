#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "ui/CGPApp.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

TEST(MainWindow, OpensTitledAndClosesCleanly) {
    vx::test::TestRoot root;
    vx::test::ScopedEnv temp("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string());
    vx::test::ScopedEnv user("VELLICOREX_USER_DIR", (root.Path() / "user").string());

    int argc = 1;
    char arg0[] = "vellicorex";
    char* argv[] = {arg0, nullptr};
    ASSERT_TRUE(wxEntryStart(argc, argv));
    ASSERT_TRUE(wxTheApp->CallOnInit());
    EXPECT_TRUE(fs::is_directory(vx::TempFolder()));

    auto* frame = dynamic_cast<wxFrame*>(wxTheApp->GetTopWindow());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "VellicorEX");
    EXPECT_TRUE(frame->IsShown());
    wxTheApp->Yield(true);

    frame->Close(true);
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();  // destroys the closed frame
    EXPECT_TRUE(wxTopLevelWindows.IsEmpty());

    wxTheApp->OnExit();
    wxEntryCleanup();
    EXPECT_FALSE(fs::exists(root.Path() / "temp"));
}

}  // namespace
