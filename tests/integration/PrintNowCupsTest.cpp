#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "../core/document/PrintCommandsFixture.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "document/LayoutDocument.h"
#include "document/PrintCommands.h"
#include "model/UndoStore.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/spool/QueueSource.h"
#include "platform/system/Folders.h"
#include "printing/CPrinterManager.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "support/RunCommand.h"
#include "support/TestFolders.h"
#include "view/CGPView.h"
#include "view/SystemPrintJobServices.h"

namespace fs = std::filesystem;

namespace vx::test {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string PdfInfo(const fs::path& pdf) {
    std::string out = RunCommand("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    out.erase(std::unique(out.begin(), out.end(), [](char a, char b) { return a == ' ' && b == ' '; }), out.end());
    return out;
}

// Runs only under run_cups_test.sh, which starts the server and its IPP printer.
TEST(PrintNowCups, PrintNowLeavesOnePdfJobOfTheLayoutsPagesWithThePrinter) {
    if (std::string why = Env("VX_CUPS_SKIP"); !why.empty()) GTEST_SKIP() << why;
    if (Env("VX_CUPS_PPD_QUEUE").empty()) GTEST_SKIP() << "not started by run_cups_test.sh";
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo is not installed";
    const std::string queue = Env("VX_CUPS_PPD_QUEUE");  // its model is "TEVRA Proof 44"
    const fs::path printer = Env("VX_CUPS_PRINTER_FOLDER");

    TestRoot root;
    ScopedEnv temp("VELLICOREX_TEMP_DIR", (root.Path() / "temp").string());
    ASSERT_TRUE(CreateTempFolder());
    InstallColourManagement();
    RecordingApplicationState app;
    ScopedHostService<ApplicationState> installApp{&app};
    UndoStore undo;
    app.undo = &undo;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};

    CGPDoc doc;
    doc.AdoptLayout(MakeTwoPageLayout(root.Path(), queue));
    CLayoutSetting* layout = doc.GetLayout();
    CPrinterManager manager(SystemQueues(), SystemDriverModules());
    manager.BindLayout(layout);
    ASSERT_EQ(manager.SelectPrinter(queue, -1), 1);
    CGPView view;
    QuietWindow window;
    LayoutViewCore viewCore(view, window);
    viewCore.OnInitialUpdate(layout);
    PrintingShell shell;
    shell.view = &viewCore;
    ScopedHostService<Shell> installShell{&shell};
    SystemPrintJobServices jobs({}, &manager);
    ScopedHostService<PrintJobServices> installJobs{&jobs};

    PrintCommands(doc, {&manager}).OnCommand(kCmdFilePrint);
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text;

    // ippeveprinter keeps each job's document; cupsd hands it on a moment later.
    std::vector<fs::path> pdfs;
    std::string info;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < until) {
        pdfs.clear();
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(printer, ec))
            if (e.path().extension() == ".pdf") pdfs.push_back(e.path());
        if (pdfs.size() == 1 && (info = PdfInfo(pdfs[0])).find("Pages:") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    ASSERT_EQ(pdfs.size(), 1u) << "in " << printer;
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size: 595"), std::string::npos) << info;
    EXPECT_EQ(manager.CurrentPrinter(), queue);
}

}  // namespace
}  // namespace vx::test
