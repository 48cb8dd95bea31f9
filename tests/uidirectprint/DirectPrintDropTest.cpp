#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include <wx/app.h>
#include <wx/dnd.h>

#include "../core/document/PrintCommandsFixture.h"
#include "../core/printing/PrinterTestSupport.h"
#include "../ui/ProgramRun.h"
#include "app/AppCore.h"
#include "app/DirectPrintState.h"
#include "document/LayoutXmlWriter.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "support/printing/FileQueueOutput.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/controls/CIconButton.h"
#include "ui/document/GPDocument.h"
#include "ui/printpane/CDirectPrintDlg.h"
#include "ui/shell/CommandIds.h"
#include "view/RenderState.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace vx::test {
namespace {

/// Every file below folder, named relative to it.
std::set<fs::path> FilesUnder(const fs::path& folder) {
    std::set<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (!it->is_directory()) files.insert(fs::relative(it->path(), folder));
    return files;
}

/// A layout as the program makes one: a new layout like the open one, in free layout
/// on the file queue, two A4 pages with a JPEG on each.
std::unique_ptr<CLayoutSetting> TwoPageJob(const CLayoutSetting& open, const fs::path& folder) {
    std::unique_ptr<CLayoutSetting> job = RunningApp().Core()->CreateDefaultLayout(&open, nullptr);
    if (!job) return nullptr;
    job->SetFree(1);
    job->Texts().printerName = kShippedFileQueue;
    job->SetPaperSize(9);
    job->SetPaperLength(2970);
    job->SetPaperWidth(2100);
    job->SetPageNumber(2);
    job->SetPageMax(2);
    const int32_t pageHeight = job->GetPaper().y;
    AddJpegItem(*job, folder / "a.jpg", 720, 720, 40);
    AddJpegItem(*job, folder / "b.jpg", 720, pageHeight + 720, 200);
    // Pictures added in the program take the layout's profiles.
    for (CLayoutObj* item = job->GetFirstItem(); item; item = item->NextItem())
        if (auto* image = dynamic_cast<CImageObj*>(item)) ApplyLayoutColorSettings(*image);
    return job;
}

/// The program with the shipped file queue as its only printer, printing into a folder
/// of the suite's own.
class DirectPrintDrop : public testing::Test {
protected:
    static void SetUpTestSuite() {
        run = new ProgramRun([](const fs::path& root) {
            output = root / "Druckausgabe";
            // No CUPS queue comes in: the file queue is the printer.
            server = new ScopedEnv("CUPS_SERVER", (root / "no-cups.sock").string());
            fs::create_directories(root / "user");
            WriteShippedFileQueue(root / "user", output);
        });
    }
    static void TearDownTestSuite() {
        delete run;
        run = nullptr;
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(run->Started()) << "start-up refused";
        ASSERT_NE(CMainFrame::Get(), nullptr);
    }

    static inline ProgramRun* run = nullptr;
    static inline ScopedEnv* server = nullptr;
    static inline fs::path output;
};

TEST_F(DirectPrintDrop, ALayoutDroppedOnAPrinterButtonPrintsItsPagesAndTheOpenLayoutStays) {
    CMainFrame* frame = CMainFrame::Get();
    GPDocument* document = OpenDocument();
    ASSERT_NE(document, nullptr);
    CLayoutSetting* open = document->Core().GetLayout();
    ASSERT_NE(open, nullptr);
    ASSERT_EQ(open->Texts().printerName, kShippedFileQueue);
    ASSERT_NE(open->GetPageNumber(), 2) << "the open layout must differ from the dropped one";
    CPrinterManager* manager = CPrinterManager::GetInstance();
    ASSERT_NE(manager, nullptr);
    const std::string layoutBefore = DumpLayout(*open);
    const wxString titleBefore = frame->GetTitle();
    std::string devModeBefore;
    ASSERT_GE(manager->GetDevMode(&devModeBefore), 1);

    const fs::path folder = run->Root() / "Auftrag";
    fs::create_directories(folder);
    const fs::path dropped = folder / "Hochzeit.kqf";
    std::unique_ptr<CLayoutSetting> job = TwoPageJob(*open, folder);
    ASSERT_NE(job, nullptr);
    ASSERT_TRUE(SaveLayoutXml(dropped, *job));

    RunningApp().Core()->Preferences().directPrintPrinters = {kShippedFileQueue, "", "", "", "", "", "", ""};
    wxCommandEvent toggle(wxEVT_MENU, ToWxId(CDirectPrintDlg::kToggleCommand));
    frame->GetEventHandler()->ProcessEvent(toggle);
    CDirectPrintDlg* window = CDirectPrintDlg::Instance();
    ASSERT_NE(window, nullptr);
    Settle();
    ASSERT_EQ(window->Button(0)->GetLabel().utf8_string(), kShippedFileQueue);
    const std::set<fs::path> tempBefore = FilesUnder(TempFolder());

    // As a drop arrives from the toolkit on the button.
    auto* target = dynamic_cast<wxFileDropTarget*>(window->Button(0)->GetDropTarget());
    ASSERT_NE(target, nullptr);
    wxArrayString names;
    names.Add(wxString::FromUTF8(PathText(dropped)));
    run->Hook().shown.clear();
    EXPECT_TRUE(target->OnDropFiles(5, 5, names));
    EXPECT_TRUE(PdfsIn(output).empty()) << "nothing prints inside the drag";
    for (int i = 0; i < 2000 && (PdfsIn(output).empty() || DirectPrintState::Running()); ++i) Settle(1);
    Settle();

    EXPECT_EQ(run->Hook().shown, std::vector<std::string>{LoadString(IDS_DIRECT_PRINT_NO_EDITING)});
    ASSERT_EQ(FilesUnder(output), std::set<fs::path>{"Hochzeit.kqf.pdf"}) << "one proof, no part file";
    EXPECT_EQ(FilesUnder(TempFolder()), tempBefore) << "no band, spool or picture file of the job is left";
    EXPECT_FALSE(DirectPrintState::Running());
    EXPECT_EQ(RunningApp().Core()->Preferences().directPrint, 0);
    EXPECT_EQ(InstallRenderState().LockOwner(), 0);

    // The open layout, its window and its printer as before.
    EXPECT_EQ(OpenDocument(), document);
    EXPECT_EQ(document->Core().GetLayout(), open);
    EXPECT_EQ(DumpLayout(*open), layoutBefore);
    EXPECT_EQ(frame->GetTitle(), titleBefore);
    std::string devModeAfter;
    manager->GetDevMode(&devModeAfter);
    EXPECT_EQ(devModeAfter, devModeBefore);
    EXPECT_EQ(manager->CurrentPrinter(), kShippedFileQueue);
    EXPECT_EQ(manager->GetLayout(), open);

    window->Raise();
    Settle();
    Shot(window, "ui-direct-print-drop.png");
    Shot(frame, "ui-direct-print-drop-main-window.png");

    const std::optional<std::string> info = PdfInfo(output / "Hochzeit.kqf.pdf", 1, 2);
    if (!info) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_NE(info->find("Pages: 2\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("Page 1 size: 595.3 x 841.9 pts"), std::string::npos) << *info;
    EXPECT_NE(info->find("Page 2 size: 595.3 x 841.9 pts"), std::string::npos) << *info;
}

}  // namespace
}  // namespace vx::test
