#include <gtest/gtest.h>

#include <cairo.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/driver/ModelCatalogue.h"
#include "platform/gfx/Canvas.h"
#include "platform/spool/PrintDevice.h"
#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"
#include "platform/spool/SpoolJob.h"
#include "platform/system/Folders.h"
#include "printing/CDriverModule.h"
#include "support/RecordingPorts.h"
#include "support/RunCommand.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// A4 at 720 ppi with the printable area a quarter inch in.
DeviceCaps A4At720() {
    DeviceCaps c;
    c.logPixelsX = c.logPixelsY = 720;
    c.physicalWidth = 5953;
    c.physicalHeight = 8419;
    c.physicalOffsetX = c.physicalOffsetY = 180;
    c.printableWidth = 5953 - 360;
    c.printableHeight = 8419 - 360;
    return c;
}

// Spools two pages with a patch each; false when a step fails.
bool SpoolTwoPages(SpoolJob& job) {
    if (job.StartDoc("Integration") <= 0) return false;
    for (int page = 0; page < 2; ++page) {
        gfx::Canvas* canvas = job.StartPage();
        if (!canvas) return false;
        canvas->FillRect({720, 720, 1440, 1440}, page ? gfx::Rgba{0, 0, 1, 1} : gfx::Rgba{1, 0, 0, 1});
        if (!job.EndPage()) return false;
    }
    return true;
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.is_regular_file()) files.push_back(e.path());
    return files;
}

// Runs only under run_cups_test.sh, which starts the server and names its queues.
class CupsIntegration : public testing::Test {
protected:
    void SetUp() override {
        if (std::string why = Env("VX_CUPS_SKIP"); !why.empty()) GTEST_SKIP() << why;
        if (Env("VX_CUPS_PPD_QUEUE").empty()) GTEST_SKIP() << "not started by run_cups_test.sh";
        ppd = Env("VX_CUPS_PPD_QUEUE");
        driverless = Env("VX_CUPS_DRIVERLESS_QUEUE");
        uri = Env("VX_CUPS_DEVICE_URI");
        std::filesystem::create_directories(UserFolder());
        std::filesystem::remove(UserFolder() / QueueFile::kFileName);
    }
    void TearDown() override { std::filesystem::remove(UserFolder() / QueueFile::kFileName); }

    static const PrintQueue* Named(const std::vector<PrintQueue>& queues, const std::string& name) {
        for (const PrintQueue& q : queues)
            if (q.name == name) return &q;
        return nullptr;
    }
    static std::string ModelOf(const PrintQueue& q) {
        auto m = ModelCatalogue::Shipped().ModelForQueue(q);
        return m ? m->name : "";
    }

    std::string ppd, driverless, uri;
};

TEST_F(CupsIntegration, ListsTheServersQueuesBesideTheFileQueues) {
    const std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    const PrintQueue* p = Named(queues, ppd);
    const PrintQueue* d = Named(queues, driverless);
    const PrintQueue* f = Named(queues, "TEVRA Proof 44 (Datei)");
    ASSERT_NE(p, nullptr);
    ASSERT_NE(d, nullptr);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(p->kind, QueueKind::Cups);
    EXPECT_EQ(p->makeAndModel, "TEVRA Proof 44");
    EXPECT_EQ(p->port, uri);
    EXPECT_TRUE(p->isDefault);
    EXPECT_EQ(ModelOf(*p), "TEVRA Proof 44");
    EXPECT_EQ(ModelOf(*d), "") << "driverless queues report \"" << d->makeAndModel << "\"";
    EXPECT_EQ(f->kind, QueueKind::File);
    EXPECT_FALSE(f->isDefault) << "CUPS names the default";
    EXPECT_EQ(SystemQueues().DefaultQueueName(), ppd);

    std::optional<PrintQueue> found = SystemQueues().FindQueue(ppd);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, *p);
    // A file queue is looked up past the server without waiting for it.
    const auto start = std::chrono::steady_clock::now();
    found = SystemQueues().FindQueue(f->name);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, *f);
}

TEST_F(CupsIntegration, AQueueFileMappingSupportsTheDriverlessQueue) {
    std::ofstream(UserFolder() / QueueFile::kFileName)
        << "[" << driverless << "]\nModel=TEVRA Proof 24\n\n[" << ppd
        << "]\nModel=TEVRA Proof 44\nOutput=/tmp/shadowed\n\n[Proof 24 Datei]\nModel=TEVRA Proof 24\nOutput=/tmp/vx\n";
    const std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    const PrintQueue* d = Named(queues, driverless);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(ModelOf(*d), "TEVRA Proof 24");
    EXPECT_EQ(Named(queues, "TEVRA Proof 44 (Datei)"), nullptr) << "the user's queue file replaces the shipped one";
    ASSERT_NE(Named(queues, "Proof 24 Datei"), nullptr);
    const PrintQueue* p = Named(queues, ppd);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->kind, QueueKind::Cups) << "a file queue named like a CUPS queue is left out";
    std::optional<PrintQueue> found = SystemQueues().FindQueue(driverless);
    ASSERT_TRUE(found);
    EXPECT_EQ(ModelOf(*found), "TEVRA Proof 24");
}

TEST_F(CupsIntegration, OpensThePpdQueueWithItsDeviceUriAsPort) {
    CDriverModule module;
    ASSERT_EQ(module.OpenDriver(0, nullptr, ppd), 0);
    EXPECT_EQ(module.PortName(), uri);
    DriverInfoRecord info{};
    EXPECT_EQ(module.GetDriverInfo(&info), 1);
    EXPECT_STREQ(info.model, "TEVRA Proof 44");
    EXPECT_EQ(module.CloseDriver(), 1);
    EXPECT_EQ(module.OpenDriver(0, nullptr, driverless), -1);
    EXPECT_FALSE(module.IsBound());
}

TEST_F(CupsIntegration, AnUnreachableServerGivesTheFileQueuesOnlyAndQuickly) {
    ScopedEnv server("CUPS_SERVER", "127.0.0.1:" + Env("VX_CUPS_CLOSED_PORT"));
    const auto start = std::chrono::steady_clock::now();
    const std::vector<PrintQueue> queues = SystemQueues().ListQueues();
    EXPECT_FALSE(SystemQueues().FindQueue(ppd).has_value());
    EXPECT_EQ(SystemQueues().DefaultQueueName(), "TEVRA Proof 44 (Datei)");
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(queues.size(), 1u);
    EXPECT_EQ(queues[0].kind, QueueKind::File);
    EXPECT_TRUE(queues[0].isDefault);
    EXPECT_LT(took, std::chrono::seconds(2));
}

TEST_F(CupsIntegration, ATwoPageJobToThePpdQueueReachesThePrinterWhole) {
    const std::filesystem::path printer = Env("VX_CUPS_PRINTER_FOLDER");
    std::optional<PrintQueue> queue = SystemQueues().FindQueue(ppd);
    ASSERT_TRUE(queue);
    TestRoot temp;
    ScopedEnv tempFolder("VELLICOREX_TEMP_DIR", temp.Path().string());
    ASSERT_TRUE(CreateTempFolder());
    PrintDevice device(A4At720(), {});
    RecordingMessagePort messages;
    int pumped = 0;
    auto job = CreateSpoolJob(*queue, device, messages, [&] { return ++pumped > 0; });
    EXPECT_FALSE(job->IsRawOnly());
    ASSERT_TRUE(SpoolTwoPages(*job));
    EXPECT_TRUE(job->EndDoc());
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    EXPECT_TRUE(FilesIn(TempFolder()).empty()) << "the spool file goes";

    // The printer keeps each job's document; cupsd's filters hand it on a moment later.
    std::string info;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < until) {
        for (const auto& file : FilesIn(printer))
            if (file.extension() == ".pdf") info = RunCommand("pdfinfo '" + file.string() + "' 2>/dev/null");
        if (info.find("Pages:") != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    info.erase(std::unique(info.begin(), info.end(), [](char a, char b) { return a == ' ' && b == ' '; }), info.end());
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << "in " << printer << ": " << info;
    EXPECT_NE(info.find("Page size: 595"), std::string::npos) << info;
}

// Random pixels do not compress: each page carries its full size. A random block longer
// than deflate's window, repeated, is as good and much quicker to make.
void DrawNoise(gfx::Canvas& canvas, int size) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size, size);
    std::mt19937 random(7);
    std::vector<uint32_t> block(40009);
    for (uint32_t& v : block) v = random();
    uint32_t* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    const size_t count = size_t(cairo_image_surface_get_stride(s) / 4) * size_t(size);
    for (size_t i = 0; i < count; ++i) data[i] = block[i % block.size()];
    cairo_surface_mark_dirty(s);
    canvas.DrawSurface(s, {0, 0, double(size), double(size)}, {0, 0, double(size), double(size)}, gfx::Filter::Nearest);
    cairo_surface_destroy(s);
}

bool EndsWith(const std::filesystem::path& file, const std::string& tail) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    if (size < std::streamoff(tail.size())) return false;
    std::string last(tail.size(), '\0');
    in.seekg(size - std::streamoff(tail.size()));
    return bool(in.read(last.data(), std::streamsize(last.size()))) && last == tail;
}

void StopServer(pid_t cupsd) {
    if (kill(cupsd, SIGTERM) != 0) return;
    for (int i = 0; i < 100 && kill(cupsd, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

// Stops the server for good: the last test of the program. One job is uploading when the
// server goes, another is spooled and ends afterwards.
TEST_F(CupsIntegration, AServerStoppedBeforeOrWhileAJobEndsGives19401AndLeavesNothing) {
    std::optional<PrintQueue> queue = SystemQueues().FindQueue(ppd);
    ASSERT_TRUE(queue);
    const pid_t cupsd = pid_t(std::atoi(Env("VX_CUPSD_PID").c_str()));
    ASSERT_GT(cupsd, 0);
    PrintDevice device(A4At720(), {});
    RecordingMessagePort messages;
    TestRoot spooledTemp, uploadTemp;
    std::unique_ptr<SpoolJob> spooled, uploading;
    std::filesystem::path spooledFolder, uploadFolder;
    {
        ScopedEnv tempFolder("VELLICOREX_TEMP_DIR", spooledTemp.Path().string());
        ASSERT_TRUE(CreateTempFolder());
        spooledFolder = TempFolder();
        spooled = CreateSpoolJob(*queue, device, messages, {});
        ASSERT_TRUE(SpoolTwoPages(*spooled));
    }

    // Once the spool file ends the PDF, the upload has begun.
    bool stopped = false;
    auto stopWhileUploading = [&] {
        const std::vector<std::filesystem::path> files = FilesIn(uploadFolder);
        if (!stopped && files.size() == 1 && EndsWith(files[0], "%%EOF\n")) {
            StopServer(cupsd);
            stopped = true;
        }
        return true;
    };
    {
        ScopedEnv tempFolder("VELLICOREX_TEMP_DIR", uploadTemp.Path().string());
        ASSERT_TRUE(CreateTempFolder());
        uploadFolder = TempFolder();
        uploading = CreateSpoolJob(*queue, device, messages, stopWhileUploading);
        ASSERT_GT(uploading->StartDoc("Upload"), 0);
        gfx::Canvas* canvas = uploading->StartPage();
        ASSERT_NE(canvas, nullptr);
        // Some 27 MB: the upload outlasts the 50 ms before the first pump.
        DrawNoise(*canvas, 3000);
        ASSERT_TRUE(uploading->EndPage());
    }
    EXPECT_FALSE(uploading->EndDoc());
    ASSERT_TRUE(stopped) << "the upload of " << uploading->BytesWritten() << " bytes ended before the server stopped";
    ASSERT_EQ(messages.Ids(), std::vector<int>{19401});
    EXPECT_TRUE(FilesIn(uploadFolder).empty());

    StopServer(cupsd);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(spooled->EndDoc());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ASSERT_EQ(messages.Ids(), (std::vector<int>{19401, 19401}));
    EXPECT_EQ(std::get<std::string>(messages.shown[1].args[0]), ppd);
    EXPECT_NE(messages.shown[1].text.find("Der Druckauftrag konnte nicht an den Drucker „" + ppd + "“ übergeben werden.\n"),
              std::string::npos) << messages.shown[1].text;
    EXPECT_TRUE(FilesIn(spooledFolder).empty());
}

}  // namespace
}  // namespace vx::test
