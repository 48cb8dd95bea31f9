#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cairo.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <thread>

#include "platform/gfx/Canvas.h"
#include "platform/spool/CupsSubmission.h"
#include "platform/spool/PrintDevice.h"
#include "platform/spool/SpoolJob.h"
#include "platform/system/Folders.h"
#include "support/RecordingPorts.h"
#include "support/RunCommand.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

bool HavePoppler() { return std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0; }

// A4 at 720 ppi, the printable area 1/2 inch from the left and 1 inch from the top.
DeviceCaps A4At720() {
    DeviceCaps c;
    c.logPixelsX = c.logPixelsY = 720;
    c.physicalWidth = 5953;
    c.physicalHeight = 8419;
    c.physicalOffsetX = 360;
    c.physicalOffsetY = 720;
    c.printableWidth = 5953 - 720;
    c.printableHeight = 8419 - 1440;
    return c;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Random pixels do not compress: a page that carries one is as large as its pixels.
void DrawNoise(gfx::Canvas& canvas, int size) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size, size);
    std::mt19937 random(7);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size * 4; ++x) data[size_t(y) * size_t(stride) + size_t(x)] = uint8_t(random());
    cairo_surface_mark_dirty(s);
    canvas.DrawSurface(s, {0, 0, double(size), double(size)}, {0, 0, double(size), double(size)}, gfx::Filter::Nearest);
    cairo_surface_destroy(s);
}

class SpoolJobFileQueue : public testing::Test {
protected:
    void SetUp() override {
        queue.name = "TEVRA Proof 44 (Datei)";
        queue.kind = QueueKind::File;
        queue.port = (root.Path() / "Ausgabe" / "Proofs").string();
    }
    std::unique_ptr<SpoolJob> Job(SpoolPump pump = {}) { return CreateSpoolJob(queue, device, messages, std::move(pump)); }

    // One page: a red square of one inch at the printable area's corner.
    static bool PrintPage(SpoolJob& job) {
        gfx::Canvas* page = job.StartPage();
        if (!page) return false;
        page->FillRect({0, 0, 720, 720}, gfx::Rgba{1, 0, 0, 1});
        return job.EndPage();
    }

    TestRoot root;
    PrintQueue queue;
    PrintDevice device{A4At720(), {}};
    RecordingMessagePort messages;
};

TEST_F(SpoolJobFileQueue, TwoPagesBecomeOnePdfOfThePhysicalPageWithTheOffsetKept) {
    auto job = Job();
    ASSERT_GT(job->StartDoc("Prüfdruck/Äpfel und Birnen, Fotopapier 2026"), 0);
    EXPECT_FALSE(job->IsRawOnly());
    ASSERT_TRUE(PrintPage(*job));
    ASSERT_TRUE(PrintPage(*job));
    ASSERT_TRUE(job->EndDoc());
    EXPECT_TRUE(messages.shown.empty());

    // 31 code points, the slash made harmless; no part file stays.
    const std::string name = "Prüfdruck_Äpfel und Birnen, Fot.pdf";
    ASSERT_EQ(Names(queue.port), std::vector<std::string>{name});
    const fs::path pdf = fs::path(queue.port) / name;
    EXPECT_EQ(job->BytesWritten(), fs::file_size(pdf));
    // Private while it was being written, the proof has the mode of any new file now.
    const mode_t mask = umask(022);
    umask(mask);
    EXPECT_EQ(fs::status(pdf).permissions(), fs::perms(0666 & ~mask));
    EXPECT_EQ(Contents(pdf).substr(0, 5), "%PDF-");

    if (!HavePoppler()) GTEST_SKIP() << "pdfinfo is not installed";
    std::string info = RunCommand("pdfinfo -f 1 -l 2 '" + pdf.string() + "'");
    info.erase(std::unique(info.begin(), info.end(), [](char a, char b) { return a == ' ' && b == ' '; }), info.end());
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page 1 size: 595.3 x 841.9 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page 2 size: 595.3 x 841.9 pts"), std::string::npos) << info;

    // At 72 dpi the square lies 36 px from the left and 72 px from the top.
    const std::string ppm = RunCommand("pdftoppm -r 72 -f 2 -l 2 '" + pdf.string() + "'");
    int w = 0, h = 0, max = 0, used = 0;
    ASSERT_EQ(std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &max, &used), 3);
    ASSERT_GE(w, 595);
    const size_t pixels = size_t(used) + 1;
    auto rgb = [&](int x, int y) {
        const size_t at = pixels + (size_t(y) * size_t(w) + size_t(x)) * 3;
        return std::vector<int>{uint8_t(ppm[at]), uint8_t(ppm[at + 1]), uint8_t(ppm[at + 2])};
    };
    // The page is a 720-ppi picture now; poppler's reduction to 72 ppi may round by one.
    auto near = [&](int x, int y, std::vector<int> want) {
        const std::vector<int> got = rgb(x, y);
        for (int c = 0; c < 3; ++c)
            if (std::abs(got[c] - want[c]) > 1) return testing::AssertionFailure() << got[0] << "," << got[1] << "," << got[2];
        return testing::AssertionSuccess();
    };
    EXPECT_TRUE(near(72, 108, {255, 0, 0}));
    EXPECT_TRUE(near(30, 108, {255, 255, 255}));
    EXPECT_TRUE(near(72, 66, {255, 255, 255}));
    EXPECT_TRUE(near(112, 108, {255, 255, 255}));
}

TEST_F(SpoolJobFileQueue, AnExistingProofIsNeverReplaced) {
    fs::create_directories(queue.port);
    std::ofstream(fs::path(queue.port) / "Bogen.pdf") << "the first proof";
    for (int i = 0; i < 2; ++i) {
        auto job = Job();
        ASSERT_GT(job->StartDoc("Bogen"), 0);
        ASSERT_TRUE(PrintPage(*job));
        ASSERT_TRUE(job->EndDoc());
    }
    EXPECT_EQ(Names(queue.port), (std::vector<std::string>{"Bogen (2).pdf", "Bogen (3).pdf", "Bogen.pdf"}));
    EXPECT_EQ(Contents(fs::path(queue.port) / "Bogen.pdf"), "the first proof");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SpoolJobFileQueue, AbortAtAnyPointLeavesNothingAndSaysNothing) {
    // Before anything, with a page open, between pages, twice, and a job just dropped.
    for (int stage = 0; stage < 4; ++stage) {
        SCOPED_TRACE(stage);
        auto job = Job();
        job->AbortDoc();
        ASSERT_GT(job->StartDoc("Abbruch"), 0);
        if (stage >= 1) {
            ASSERT_TRUE(PrintPage(*job));
        }
        if (stage >= 2) {
            ASSERT_NE(job->StartPage(), nullptr);
        }
        EXPECT_EQ(Names(queue.port).size(), 1u) << "the part file";
        if (stage == 3) {
            job.reset();
        } else {
            job->AbortDoc();
            job->AbortDoc();
            EXPECT_FALSE(job->EndDoc());
            EXPECT_EQ(job->StartPage(), nullptr);
        }
        EXPECT_TRUE(Names(queue.port).empty());
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SpoolJobFileQueue, AnOutputFolderThatCannotBeMadeGives61702) {
    std::ofstream(root.Path() / "Datei") << "x";
    queue.port = (root.Path() / "Datei" / "Proofs").string();
    auto job = Job();
    EXPECT_LT(job->StartDoc("Bogen"), 0);
    EXPECT_EQ(messages.Ids(), std::vector<int>{61702});
    EXPECT_EQ(messages.shown[0].text, "Could not start print job.");
    EXPECT_EQ(job->StartPage(), nullptr);
    EXPECT_FALSE(job->EndDoc());
    EXPECT_EQ(Names(root.Path()), std::vector<std::string>{"Datei"});
}

TEST_F(SpoolJobFileQueue, ADeviceWithoutAPageGives61702) {
    device.Reset(DeviceCaps{}, {});
    auto job = Job();
    EXPECT_LT(job->StartDoc("Bogen"), 0);
    EXPECT_EQ(messages.Ids(), std::vector<int>{61702});
}

TEST_F(SpoolJobFileQueue, AFolderGoneBeforeTheEndGives19402) {
    auto job = Job();
    ASSERT_GT(job->StartDoc("Bogen"), 0);
    ASSERT_TRUE(PrintPage(*job));
    fs::remove_all(queue.port);
    EXPECT_FALSE(job->EndDoc());
    EXPECT_EQ(messages.Ids(), std::vector<int>{19402});
    EXPECT_FALSE(fs::exists(queue.port));
}

// The file size limit makes the kernel refuse writes past it, as a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &mOld);
        rlimit limit = mOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }

private:
    rlimit mOld{};
    void (*mOldHandler)(int);
};

TEST_F(SpoolJobFileQueue, AFailedWriteGives19402AndLeavesNothing) {
    auto job = Job();
    ASSERT_GT(job->StartDoc("Voll"), 0);
    ASSERT_TRUE(PrintPage(*job));
    {
        FileSizeLimit limit(256 << 10);
        gfx::Canvas* page = job->StartPage();
        ASSERT_NE(page, nullptr);
        DrawNoise(*page, 600);
        EXPECT_FALSE(job->EndPage());
    }
    ASSERT_EQ(messages.Ids(), std::vector<int>{19402});
    EXPECT_EQ(messages.shown[0].text, "Die Druckdaten konnten nicht in „" + queue.port + "“ gespeichert werden.");
    EXPECT_EQ(messages.shown[0].icon, Icon::Error);
    EXPECT_TRUE(Names(queue.port).empty());
    // The job is over: nothing more is written or shown.
    EXPECT_EQ(job->StartPage(), nullptr);
    EXPECT_FALSE(job->EndDoc());
    job->AbortDoc();
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(SpoolJobFileQueue, ACancelFromThePumpStopsQuietly) {
    int pumped = 0;
    auto job = Job([&] { return ++pumped < 2; });
    ASSERT_GT(job->StartDoc("Abbruch"), 0);
    bool failed = false;
    for (int i = 0; i < 3 && !failed; ++i) {
        gfx::Canvas* page = job->StartPage();
        ASSERT_NE(page, nullptr);
        DrawNoise(*page, 200);
        // The pump is asked no more than every 50 ms.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        failed = !job->EndPage();
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(pumped, 2);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(Names(queue.port).empty());
}

TEST(SpoolJobCups, ARefusedSubmissionGives19401AndTheSpoolFileGoes) {
    TestRoot root;
    ScopedEnv temp("VELLICOREX_TEMP_DIR", root.Path().string());
    ASSERT_TRUE(CreateTempFolder());
    const fs::path folder = TempFolder();
    ScopedEnv server("CUPS_SERVER", "127.0.0.1:1");
    PrintQueue queue;
    queue.name = "TEVRA_Proof_44";
    queue.port = "ipp://127.0.0.1:1/ipp/print";
    PrintDevice device(A4At720(), {});
    RecordingMessagePort messages;
    auto job = CreateSpoolJob(queue, device, messages, {});
    ASSERT_GT(job->StartDoc("Bogen"), 0);
    // The spool file is private to the user.
    const std::vector<std::string> spool = Names(folder);
    ASSERT_EQ(spool.size(), 1u);
    EXPECT_EQ(fs::status(folder / spool[0]).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    gfx::Canvas* page = job->StartPage();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(job->EndPage());
    EXPECT_FALSE(job->EndDoc());
    ASSERT_EQ(messages.Ids(), std::vector<int>{19401});
    ASSERT_EQ(messages.shown[0].args.size(), 2u);
    EXPECT_EQ(std::get<std::string>(messages.shown[0].args[0]), "TEVRA_Proof_44");
    EXPECT_FALSE(std::get<std::string>(messages.shown[0].args[1]).empty());
    EXPECT_TRUE(Names(folder).empty());
    RemoveTempFolder();
}

TEST(SpoolJobCups, OnlyACupsQueueWithoutDriverIsRawOnly) {
    PrintDevice device(A4At720(), {});
    RecordingMessagePort messages;
    struct Case { QueueKind kind; const char* make; bool raw; };
    for (const Case& c : {Case{QueueKind::Cups, "Local Raw Printer", true}, Case{QueueKind::Cups, "TEVRA Proof 44", false},
                          Case{QueueKind::File, "Local Raw Printer", false}}) {
        SCOPED_TRACE(c.make);
        PrintQueue queue;
        queue.kind = c.kind;
        queue.makeAndModel = c.make;
        EXPECT_EQ(CreateSpoolJob(queue, device, messages, {})->IsRawOnly(), c.raw);
    }
}

TEST(SpoolJobCups, MediaIsAStandardSizeWhenNearOneElseACustomSize) {
    struct Case { CupsMedia media; const char* name; };
    for (const Case& c : {Case{{21001, 29700}, "iso_a4_210x297mm"}, Case{{29700, 42000}, "iso_a3_297x420mm"},
                          Case{{21590, 27940}, "na_letter_8.5x11in"}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CupsMediaName(c.media), c.name);
    }
    const std::string banner = CupsMediaName({111760, 300000});
    EXPECT_EQ(banner.rfind("custom_", 0), 0u) << banner;
    EXPECT_EQ(CupsMediaName({0, 29700}), "");
}

}  // namespace
}  // namespace vx::test
