#include "RunningProgramTest.h"

#include <wx/docview.h>

#include "document/LayoutDocument.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"

namespace vx::test {

void RunningProgramTest::StartRun(const ProgramRun::Setup& setup, wxSize frameSize) {
    run = new ProgramRun(setup);
    hook = &run->Hook();
    started = run->Started();
    CMainFrame* frame = CMainFrame::Get();
    if (started && frame && !frame->LayoutWindow())
        wxDocManager::GetDocumentManager()->CreateDocument(wxEmptyString, wxDOC_NEW);
    if (frame) frame->SetSize(frameSize);
    Settle(20);
}

void RunningProgramTest::EndRun() {
    delete run;
    run = nullptr;
    hook = nullptr;
}

void RunningProgramTest::SetUp() {
    ASSERT_TRUE(started) << "start-up refused";
    ASSERT_NE(CMainFrame::Get(), nullptr);
    ASSERT_NE(CMainFrame::Get()->LayoutWindow(), nullptr) << (hook->shown.empty() ? "" : hook->shown.front());
    doc = OpenDocument();
    ASSERT_NE(doc, nullptr);
    layout = doc->Core().GetLayout();
    ASSERT_NE(layout, nullptr);
}

}  // namespace vx::test
