#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "PrintJobFixture.h"
#include "RecordingView.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::PrintFixture;

uint32_t Rgb(const gfx::ImageSurface& s, int x, int y) { return s.Pixel(x, y) & 0xFFFFFF; }
/// COLORREF to the surface's 0xRRGGBB.
constexpr uint32_t Surface(ColorRef c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

bool Near(uint32_t a, uint32_t b, int tolerance = 3) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
    return true;
}

std::vector<std::string> Calls(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    for (const std::string& c : calls) out.push_back(c.rfind("StartDoc", 0) == 0 ? "StartDoc" : c);
    return out;
}

TEST(PrintJob, PrintsEveryPageAndPutsTheLayoutBack) {
    CGPView view;
    PrintFixture f(view);
    f.layout->Texts().documentPath = "/bilder/Ein sehr langer Titel für einen Probedruck äöü.kqf";
    ASSERT_TRUE(view.DoPrintJob());

    EXPECT_EQ(Calls(f.services.calls),
              (std::vector<std::string>{"StartDoc", "StartPage", "EndPage", "StartPage", "EndPage", "EndDoc"}));
    // The title is cut at 31 characters, not bytes.
    EXPECT_EQ(f.services.calls.front(), "StartDoc Ein sehr langer Titel für einen");
    EXPECT_TRUE(f.messages.shown.empty());
    f.ExpectPutBack();
    EXPECT_EQ(view.RunningPrintJob(), nullptr);

    // Each page shows its own picture at its place: 360 units = 1 inch = 360 pixels.
    ASSERT_EQ(f.services.lastJob->pages.size(), 2u);
    const gfx::ImageSurface& one = *f.services.lastJob->pages[0];
    const gfx::ImageSurface& two = *f.services.lastJob->pages[1];
    EXPECT_TRUE(one.WritePng(test::OutputFolder() / "print-job-page-1.png"));
    EXPECT_TRUE(two.WritePng(test::OutputFolder() / "print-job-page-2.png"));
    EXPECT_TRUE(Near(Rgb(one, 720, 630), Surface(0x2060C0))) << std::hex << Rgb(one, 720, 630);
    EXPECT_TRUE(Near(Rgb(two, 720, 630), Surface(0xC08040))) << std::hex << Rgb(two, 720, 630);
    EXPECT_EQ(Rgb(one, 100, 100), 0xFFFFFFu);
    EXPECT_EQ(Rgb(two, 1300, 1300), 0xFFFFFFu);

    // The status went through its phases and ended at 100 %.
    const std::vector<std::string>& texts = f.services.window->statuses;
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Vorbereitung zum Drucken erfolgt...");
    EXPECT_EQ(texts[1], "Farbanpassung wird durchgeführt. Seite 0/2");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Die Druckdaten werden auf der Festplatte\n gespeichert. Seite 2"),
              texts.end());
    EXPECT_EQ(texts.back(), "Seite 2 /2 wird gespoolt.");
    EXPECT_EQ(f.services.window->percents.back(), "100%");
}

TEST(PrintJob, PreparationChecksFilesAndDefaultsThePaper) {
    {
        // A picture deleted after loading: one message, no device.
        CGPView view;
        PrintFixture f(view);
        fs::remove(f.first->GetFilePath());
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
        EXPECT_EQ(f.messages.shown[0].icon, Icon::Error);
        EXPECT_EQ(f.services.provided, 0);
        EXPECT_TRUE(f.services.calls.empty());
        EXPECT_TRUE(f.undo.CanUndo()) << "nothing was printed";
    }
    {
        // A named stamp file that is gone counts too.
        CGPView view;
        PrintFixture f(view);
        f.layout->Texts().imageStampPath = (f.root.Path() / "stempel.png").string();
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
    }
    {
        // No paper size: A4 portrait from tray 4, and it stays.
        CGPView view;
        PrintFixture f(view);
        f.layout->SetPaperSize(0);
        ASSERT_TRUE(view.DoPrintJob());
        EXPECT_EQ(f.layout->GetPaperSize(), 9);
        EXPECT_EQ(f.layout->GetPaperLength(), 2970);
        EXPECT_EQ(f.layout->GetPaperWidth(), 2100);
        EXPECT_EQ(f.layout->GetDefaultSource(), 4);
        EXPECT_EQ(f.layout->GetOrientation(), 1);
    }
    {
        // A banner's range is worked out from its length and its own fields come back;
        // a printer that cannot be set up ends the job quietly.
        CGPView view;
        PrintFixture f(view);
        f.layout->SetBanner(1);
        f.layout->SetPaperSize(9);
        f.layout->SetPaperLength(2970);
        f.layout->SetPaperWidth(2100);
        f.layout->SetPaper({2976, 4209 * 3 - 100});
        f.layout->SetPageNumber(7);
        f.layout->SetPageMax(8);
        f.layout->SetPageNum(3);
        int16_t seenNumber = 0, seenMax = 0;
        f.services.onProvide = [&](CLayoutSetting& l) {
            seenNumber = l.GetPageNumber();
            seenMax = l.GetPageMax();
        };
        f.services.provide = false;
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(seenNumber, 3);
        EXPECT_EQ(seenMax, 212598 / 4209);
        EXPECT_EQ(f.layout->GetPageNumber(), 7);
        EXPECT_EQ(f.layout->GetPageMax(), 8);
        EXPECT_TRUE(f.messages.shown.empty());
        EXPECT_EQ(f.services.jobsMade, 0);
        EXPECT_EQ(InstallRenderState().LockOwner(), 0);
    }
}

TEST(PrintJob, ResolutionClassFollowsTheDeviceAndThePaperArea) {
    struct Case {
        int ppi;
        int32_t length, width;
        int16_t pages;
        unsigned expected;
    };
    const Case cases[] = {
        {700, 1000, 100, 1, kRender360},           // 700 pixels per inch never gets 720
        {701, 1000, 100, 1, kRender720},
        {701, 15890800, 1, 1, kRender720},          // area exactly at the bound
        {701, 15890801, 1, 1, kRender360},
        {360, 176644100, 1, 1, kRender360},
        {360, 176644101, 1, 1, kRender120},
        {360, 529932300, 1, 1, kRender120},
        {360, 529932301, 1, 1, kRender90},
        {1440, 4200, 2970, 300, kRender90},         // 300 A3 pages: 3.7e9 does not wrap
        {1440, 2970, 2100, 2, kRender720},
    };
    for (const Case& c : cases) {
        CLayoutSetting layout(true);
        layout.SetPaperLength(c.length);
        layout.SetPaperWidth(c.width);
        layout.SetPageNumber(c.pages);
        EXPECT_EQ(PrintJob::ChooseClass(layout, c.ppi), c.expected)
            << c.ppi << " ppi, " << c.length << " x " << c.width << " x " << c.pages;
    }
    // A banner counts its slices.
    CLayoutSetting banner(true);
    banner.SetBanner(1);
    banner.SetPaperLength(176644100 / 2 + 1);
    banner.SetPaperWidth(1);
    banner.SetPageNumber(1);
    banner.SetPageNum(2);
    EXPECT_EQ(PrintJob::ChooseClass(banner, 360), kRender120);
}

TEST(PrintJob, PrintedPictureSizeFollowsTheFittingAndTheTurn) {
    // A 6000 x 4000 picture in a 2 x 2 inch cell at 360 pixels per inch (720 x 720).
    struct Case {
        int16_t option;
        int16_t rotate;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {0, 0, 720, 480},    // fitted: bars above and below
        {2, 0, 1080, 720},   // filling: the sides are cut off
        {1, 0, 720, 720},    // stretched
        {0, 1, 480, 720},    // a quarter turn makes the bitmap 4000 x 6000
        {2, 1, 720, 1080},
    };
    for (const Case& c : cases) {
        CLayoutSetting layout(true);
        CImageObj* item = test::AppendItem<CImageObj>(layout);
        ImageDescription d;
        d.width = 6000;
        d.height = 4000;
        item->SetDescription(d);
        item->SetSizeMethod(1);
        item->SetPosition(360, 360);
        item->SetSize(720, 720);
        item->SetImageOption(c.option);
        item->SetRotate(c.rotate);
        const Rect16 size = PrintJob::PrintedPictureSize(*item, 360);
        EXPECT_EQ(size.Width(), c.expectedWidth) << "option " << c.option << ", turn " << c.rotate;
        EXPECT_EQ(size.Height(), c.expectedHeight) << "option " << c.option << ", turn " << c.rotate;
    }
}

TEST(PrintJob, JpegsAreRebuiltAtTheLargestReductionStillCoveringTheirCells) {
    CGPView view;
    PrintFixture f(view);
    f.services.caps = {720, 720, 2880, 2880, 0, 0, 2880, 2880};  // the 720 class
    // Both pictures 6000 x 4000. Page 1: fitted into 2 x 1.33 inches (1440 x 960 pixels),
    // which 1/4 still covers. Page 2: filling a 1 x 4 inch strip, its height needs 2880
    // of the 4000 rows, more than 1/2 gives: full size.
    f.first->SetImageOption(0);
    f.first->SetSize(720, 480);
    f.second->SetImageOption(2);
    f.second->SetPosition(360, 1440);
    f.second->SetSize(360, 1440);
    for (auto [item, colour] : {std::pair{f.first, ColorRef(0x2060C0)}, std::pair{f.second, ColorRef(0xC08040)}}) {
        test::JpegFixture big;
        big.width = 6000;
        big.height = 4000;
        big.pixel = [colour](int, int, uint8_t* c) {
            c[0] = uint8_t(colour);
            c[1] = uint8_t(colour >> 8);
            c[2] = uint8_t(colour >> 16);
        };
        test::WriteBytes(item->GetFilePath(), test::EncodeJpeg(big));
        ASSERT_TRUE(ReadJpegInfo(*item));
    }

    EXPECT_EQ(PrintJob::PrintedPictureSize(*f.first, 720).Width(), 1440);
    EXPECT_EQ(PrintJob::PrintedPictureSize(*f.second, 720).Height(), 2880);

    std::vector<std::pair<int, int>> printedWidths;
    f.services.setUpJob = [&](test::FakeSpoolJob& job) {
        job.inEndPage = [&] { printedWidths.emplace_back(test::WorkingWidth(*f.first), test::WorkingWidth(*f.second)); };
    };
    ASSERT_TRUE(view.DoPrintJob());
    ASSERT_EQ(printedWidths.size(), 2u);
    EXPECT_EQ(printedWidths[0], std::make_pair(1500, 6000));
    f.ExpectPutBack();

    // Each cell is covered to its edges, and nothing reaches past them.
    ASSERT_EQ(f.services.lastJob->pages.size(), 2u);
    const gfx::ImageSurface& one = *f.services.lastJob->pages[0];
    const gfx::ImageSurface& two = *f.services.lastJob->pages[1];
    struct Probe {
        const gfx::ImageSurface& page;
        int x, y;
        uint32_t expected;
    };
    const Probe probes[] = {
        {one, 721, 721, Surface(0x2060C0)},   {one, 2158, 1678, Surface(0x2060C0)},
        {one, 718, 900, 0xFFFFFF},            {one, 2162, 900, 0xFFFFFF},
        {one, 1400, 1682, 0xFFFFFF},          {two, 721, 1, Surface(0xC08040)},
        {two, 1438, 2878, Surface(0xC08040)}, {two, 718, 1400, 0xFFFFFF},
        {two, 1442, 1400, 0xFFFFFF},
    };
    for (const Probe& p : probes)
        EXPECT_TRUE(Near(Rgb(p.page, p.x, p.y), p.expected))
            << (&p.page == &one ? 1 : 2) << " at " << p.x << ", " << p.y << ": " << std::hex << Rgb(p.page, p.x, p.y);
}

TEST(PrintJob, VeryLargeJobsAskFirst) {
    EXPECT_FALSE(PrintJob::AsksAboutSize(1932735283));
    EXPECT_TRUE(PrintJob::AsksAboutSize(1932735284));
    EXPECT_FALSE(PrintJob::AsksAboutSize(0));

    // 7 pages of 40,000 x 40,000 units print at 90 pixels per inch: 700 million pixels.
    CGPView view;
    PrintFixture f(view);
    f.layout->SetPaper({40000, 40000});
    f.layout->SetPaperLength(28222);
    f.layout->SetPaperWidth(28222);
    f.layout->SetPageNumber(7);
    f.services.caps = {360, 360, 40000, 40000, 0, 0, 40000, 40000};
    f.messages.answer = kIdCancel;
    EXPECT_FALSE(view.DoPrintJob());
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_PRINT_DATA_TOO_LARGE});
    EXPECT_EQ(f.messages.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(f.messages.shown[0].icon, Icon::Warning);
    EXPECT_EQ(f.services.jobsMade, 0);
    EXPECT_EQ(view.GetPrintFlags(), unsigned(kRender90));
    EXPECT_TRUE(f.undo.CanUndo());
    EXPECT_EQ(InstallRenderState().LockOwner(), 0);
}

TEST(PrintJob, CancelAtAnyStageAbortsAndPutsEverythingBack) {
    struct Case {
        const char* stage;
        std::function<void(PrintFixture&)> arm;
    };
    const Case cases[] = {
        {"colour matching",
         [](PrintFixture& f) {
             f.services.setUpWindow = [&f](test::FakeStatusWindow& w) {
                 w.onPump = [&f](test::FakeStatusWindow& w) {
                     if (w.LastStatus() == "Farbanpassung wird durchgeführt. Seite 1/2") f.Cancel();
                 };
             };
         }},
        {"spool band 2",
         [](PrintFixture& f) {
             f.services.setUpWindow = [&f](test::FakeStatusWindow& w) {
                 w.onPump = [&f](test::FakeStatusWindow& w) {
                     if (w.LastStatus().rfind("Die Druckdaten", 0) == 0 && w.positions >= 2) f.Cancel();
                 };
             };
         }},
        {"replay page 1",
         [](PrintFixture& f) {
             f.services.setUpWindow = [&f](test::FakeStatusWindow& w) {
                 w.onPump = [&f](test::FakeStatusWindow& w) {
                     if (w.LastStatus() == "Seite 1 /2 wird gespoolt." && w.positions >= 1) f.Cancel();
                 };
             };
         }},
        {"writing page 1",
         [](PrintFixture& f) { f.services.setUpJob = [&f](test::FakeSpoolJob& j) { j.inEndPage = [&f] { f.Cancel(); }; }; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stage);
        CGPView view;
        PrintFixture f(view);
        c.arm(f);
        EXPECT_FALSE(view.DoPrintJob());
        const std::vector<std::string> calls = Calls(f.services.calls);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), "StartDoc");
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "AbortDoc") >= 1, true);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndDoc"), 0);
        EXPECT_LE(std::count(calls.begin(), calls.end(), "StartPage"), 1);
        EXPECT_TRUE(f.messages.shown.empty());
        f.ExpectPutBack();
    }
}

TEST(PrintJob, SpoolSizeAboveTwoGigabytesStopsAfterThePageThatPassedIt) {
    struct Case {
        const char* name;
        std::string printer;
        bool rawOnly;
        bool stops;
    };
    const Case cases[] = {
        {"named printer", "Testdrucker", false, true},
        {"no printer name", "", false, false},
        {"raw-only queue", "Testdrucker", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGPView view;
        PrintFixture f(view);
        f.layout->SetPageNumber(3);
        f.layout->Texts().printerName = c.printer;
        f.services.setUpJob = [&c](test::FakeSpoolJob& j) {
            j.bytesPerPage = uint64_t(3) << 29;  // 1.5 GiB
            j.rawOnly = c.rawOnly;
        };
        EXPECT_EQ(view.DoPrintJob(), !c.stops);
        const std::vector<std::string> calls = Calls(f.services.calls);
        if (c.stops) {
            EXPECT_EQ(calls, (std::vector<std::string>{"StartDoc", "StartPage", "EndPage", "StartPage", "EndPage",
                                                       "AbortDoc"}));
            ASSERT_EQ(f.messages.Ids(), std::vector<int>{IDS_SPOOL_SIZE_EXCEEDED});
            EXPECT_NE(f.messages.shown[0].text.find("2 GB"), std::string::npos);
            EXPECT_EQ(f.messages.shown[0].buttons, Buttons::Ok);
        } else {
            EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndPage"), 3);
            EXPECT_EQ(calls.back(), "EndDoc");
            EXPECT_TRUE(f.messages.shown.empty());
        }
        f.ExpectPutBack();
    }
}

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

TEST(PrintJob, BandFileHoldsTheRowsOnThePageBottomUp) {
    // An A4 page at 360 pixels per inch is 4209 rows: a band of 4096 and one of 113,
    // whose rows are the page's last ones, under a picture that reaches the page's foot.
    CGPView view;
    PrintFixture f(view);
    f.layout->SetPaper({2976, 4209});
    f.layout->SetPageNumber(1);
    f.services.caps = {360, 360, 2976, 4209, 0, 0, 2976, 4209};
    f.second->SetPosition(0, 4209 - 400);
    f.second->SetSize(1200, 400);
    std::vector<uint8_t> file;
    view.Bands().SetMemoryBudget(0);
    f.services.setUpWindow = [&](test::FakeStatusWindow& w) {
        w.onStatus = [&](test::FakeStatusWindow& w) {
            if (w.LastStatus() != "Seite 1 /1 wird gespoolt." || !file.empty()) return;
            TempBufferRef band = view.Bands().Find(0, 1);
            ASSERT_TRUE(band && band->HasFile());
            void* data = nullptr;
            uint64_t size = 0;
            ASSERT_TRUE(band->Map(&data, &size, TempBuffer::kMapReadOnly));
            file.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
            band->Unmap();
        };
    };
    ASSERT_TRUE(view.DoPrintJob());
    ASSERT_EQ(file.size(), 54u + 12288u * 113u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(&file[2]), 54u + 12288u * 113u);
    EXPECT_EQ(Le32(&file[10]), 54u);
    EXPECT_EQ(Le32(&file[14]), 40u);
    EXPECT_EQ(Le32(&file[18]), 4096u);
    EXPECT_EQ(Le32(&file[22]), 113u);
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 24);
    EXPECT_EQ(Le32(&file[30]), 0u);
    // The first stored row is the page's last: the picture (B, G, R), not white.
    const uint8_t* last = &file[54];
    EXPECT_NEAR(last[600 * 3 + 0], 0xC0, 3);
    EXPECT_NEAR(last[600 * 3 + 1], 0x80, 3);
    EXPECT_NEAR(last[600 * 3 + 2], 0x40, 3);
    // Right of the page's 2976 pixels the band is white.
    const uint8_t* top = &file[54 + 12288u * 112];
    EXPECT_EQ(top[3000 * 3], 0xFF);
    f.ExpectPutBack();
    EXPECT_TRUE(Near(Rgb(*f.services.lastJob->pages[0], 600, 4208), Surface(0xC08040)));
}

/// A view whose spool pass runs out of memory.
struct ThrowingView : test::RecordingView {
    void RenderPageContent(const PixelRect* band, unsigned mask) override {
        if (Pass().GetMode() == kDrawPrinter && RunningPrintJob()) throw std::bad_alloc();
        test::RecordingView::RenderPageContent(band, mask);
    }
};

TEST(PrintJob, FailuresEndTheJobWithTheirMessageAndPutTheLayoutBack) {
    {
        // The spool layer cannot start the document: its message only, nothing to restore.
        CGPView view;
        PrintFixture f(view);
        f.services.setUpJob = [](test::FakeSpoolJob& j) { j.startResult = -1; };
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{61702});
        EXPECT_EQ(Calls(f.services.calls), std::vector<std::string>{"StartDoc"});
        EXPECT_TRUE(f.undo.CanUndo()) << "nothing of the layout was touched";
        EXPECT_EQ(InstallRenderState().LockOwner(), 0);
        EXPECT_EQ(view.GetCurrentPage(), 1);
    }
    {
        // A picture gone after the check: the loader says so, and nothing is delivered.
        CGPView view;
        PrintFixture f(view);
        f.services.onProvide = [&](CLayoutSetting&) { fs::remove(f.second->GetFilePath()); };
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
        const std::vector<std::string> calls = Calls(f.services.calls);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndDoc"), 0);
        EXPECT_EQ(calls.back(), "AbortDoc");
        f.ExpectPutBack();
    }
    {
        // Memory runs out in the spool pass: told, aborted, put back, and the program lives.
        ThrowingView view;
        PrintFixture f(view);
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_NOT_ENOUGH_MEMORY});
        const std::vector<std::string> calls = Calls(f.services.calls);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "EndDoc"), 0);
        EXPECT_NE(std::find(calls.begin(), calls.end(), "AbortDoc"), calls.end());
        f.ExpectPutBack();
    }
    {
        // A page or the document that cannot be written: the spool layer told the user.
        CGPView view;
        PrintFixture f(view);
        f.services.setUpJob = [](test::FakeSpoolJob& j) { j.failEndPage = true; };
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(Calls(f.services.calls),
                  (std::vector<std::string>{"StartDoc", "StartPage", "EndPage", "AbortDoc"}));
        f.ExpectPutBack();
    }
    {
        CGPView view;
        PrintFixture f(view);
        f.services.setUpJob = [](test::FakeSpoolJob& j) { j.failEndDoc = true; };
        EXPECT_FALSE(view.DoPrintJob());
        EXPECT_EQ(Calls(f.services.calls).back(), "AbortDoc");
        f.ExpectPutBack();
    }
}

}  // namespace
}  // namespace vx
