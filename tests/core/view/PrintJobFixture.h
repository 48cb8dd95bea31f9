#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "ViewFixture.h"
#include "model/CImageBitmapLock.h"
#include "model/ImageInfoReaders.h"
#include "model/UndoStore.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/spool/PrintDevice.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "view/PrintJob.h"
#include "view/RenderState.h"

namespace vx::test {

/// Records what reaches the status window; onPump runs at every pump, so a test can
/// press Cancel at the moment it wants.
struct FakeStatusWindow : PrintStatusWindow {
    std::vector<std::string> statuses;
    std::vector<std::string> percents;
    int positions = 0;
    bool ownerEnabled = true;
    std::function<void(FakeStatusWindow&)> onPump;
    std::function<void(FakeStatusWindow&)> onStatus;

    std::function<void()> cancel;
    bool Create(std::function<void()> onCancel) override {
        cancel = std::move(onCancel);
        return true;
    }
    void Destroy() override {}
    bool IsOwnerEnabled() const override { return ownerEnabled; }
    void EnableOwner(bool enable) override { ownerEnabled = enable; }
    void SetBarRange(int32_t, int32_t) override { positions = 0; }
    void SetBarPos(int32_t) override { ++positions; }
    void SetPercentText(const std::string& t) override { percents.push_back(t); }
    void SetStatusText(const std::string& t) override {
        statuses.push_back(t);
        if (onStatus) onStatus(*this);
    }
    bool Pump() override {
        if (onPump) onPump(*this);
        return true;
    }
    std::string LastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }
};

/// A spool job that records its calls, draws its pages on image surfaces and writes a
/// configurable number of bytes per page; its pump runs while EndPage "writes".
struct FakeSpoolJob : SpoolJob {
    std::vector<std::string>& calls;
    DeviceCaps caps;
    SpoolPump pump;
    int startResult = 1;
    bool failEndPage = false;
    bool failEndDoc = false;
    bool rawOnly = false;
    uint64_t bytesPerPage = 1000;
    std::function<void()> inEndPage;
    uint64_t bytes = 0;
    std::vector<std::unique_ptr<gfx::ImageSurface>> pages;
    std::unique_ptr<gfx::Canvas> canvas;

    FakeSpoolJob(std::vector<std::string>& record, DeviceCaps c, SpoolPump p)
        : calls(record), caps(c), pump(std::move(p)) {}

    int StartDoc(const std::string& title) override {
        calls.push_back("StartDoc " + title);
        if (startResult < 0) Messages().Show(61702, {}, Icon::Error, Buttons::Ok);
        return startResult;
    }
    gfx::Canvas* StartPage() override {
        calls.push_back("StartPage");
        pages.push_back(std::make_unique<gfx::ImageSurface>(caps.physicalWidth, caps.physicalHeight));
        canvas = std::make_unique<gfx::Canvas>(pages.back()->Native(), caps.logPixelsX);
        canvas->Clear({1, 1, 1, 1});
        return canvas.get();
    }
    bool EndPage() override {
        calls.push_back("EndPage");
        canvas.reset();
        if (inEndPage) inEndPage();
        if (!pump()) return false;
        bytes += bytesPerPage;
        return !failEndPage;
    }
    bool EndDoc() override {
        calls.push_back("EndDoc");
        return !failEndDoc;
    }
    void AbortDoc() override { calls.push_back("AbortDoc"); }
    gfx::LazyImageKeeper* Lazy() override { return nullptr; }
    uint64_t BytesWritten() const override { return bytes; }
    bool IsRawOnly() const override { return rawOnly; }
};

/// Services over a fake printer of the given capabilities.
struct FakePrintServices : PrintJobServices {
    DeviceCaps caps{360, 360, 1440, 1440, 0, 0, 1440, 1440};
    bool provide = true;
    int provided = 0;
    int jobsMade = 0;
    std::function<void(CLayoutSetting&)> onProvide;
    std::function<void(FakeSpoolJob&)> setUpJob;
    std::vector<std::string> calls;
    FakeSpoolJob* job = nullptr;
    std::unique_ptr<FakeSpoolJob> lastJob;  // kept after the job for its pages
    FakeStatusWindow* window = nullptr;
    std::function<void(FakeStatusWindow&)> setUpWindow;

    std::optional<PrintSetup> ProvideDevice(CLayoutSetting& layout) override {
        ++provided;
        if (onProvide) onProvide(layout);
        if (!provide) return std::nullopt;
        PrintSetup setup;
        setup.settings = "version=1";
        setup.device = std::make_unique<PrintDevice>(caps, std::filesystem::path());
        setup.queue.name = "Testdrucker";
        setup.queue.kind = QueueKind::File;
        return setup;
    }
    std::unique_ptr<SpoolJob> CreateJob(const PrintSetup& setup, MessagePort&, SpoolPump pump) override {
        ++jobsMade;
        auto made = std::make_unique<FakeSpoolJob>(calls, setup.device->Caps(), std::move(pump));
        if (setUpJob) setUpJob(*made);
        job = made.get();
        // The job owns its spool job; a forwarding one lets the test keep the pages.
        struct Forward : SpoolJob {
            FakeSpoolJob& f;
            explicit Forward(FakeSpoolJob& j) : f(j) {}
            int StartDoc(const std::string& t) override { return f.StartDoc(t); }
            gfx::Canvas* StartPage() override { return f.StartPage(); }
            bool EndPage() override { return f.EndPage(); }
            bool EndDoc() override { return f.EndDoc(); }
            void AbortDoc() override { f.AbortDoc(); }
            gfx::LazyImageKeeper* Lazy() override { return f.Lazy(); }
            uint64_t BytesWritten() const override { return f.BytesWritten(); }
            bool IsRawOnly() const override { return f.IsRawOnly(); }
        };
        lastJob = std::move(made);
        return std::make_unique<Forward>(*job);
    }
    std::unique_ptr<FakeStatusWindow> lastWindow;  // kept after the job
    std::unique_ptr<PrintStatusWindow> CreateStatusWindow() override {
        lastWindow = std::make_unique<FakeStatusWindow>();
        window = lastWindow.get();
        if (setUpWindow) setUpWindow(*window);
        struct Forward : PrintStatusWindow {
            FakeStatusWindow& w;
            explicit Forward(FakeStatusWindow& f) : w(f) {}
            bool Create(std::function<void()> c) override { return w.Create(std::move(c)); }
            void Destroy() override { w.Destroy(); }
            bool IsOwnerEnabled() const override { return w.IsOwnerEnabled(); }
            void EnableOwner(bool e) override { w.EnableOwner(e); }
            void SetBarRange(int32_t l, int32_t u) override { w.SetBarRange(l, u); }
            void SetBarPos(int32_t p) override { w.SetBarPos(p); }
            void SetPercentText(const std::string& t) override { w.SetPercentText(t); }
            void SetStatusText(const std::string& t) override { w.SetStatusText(t); }
            bool Pump() override { return w.Pump(); }
        };
        return std::make_unique<Forward>(*window);
    }
};

/// Width of the working bitmap an image item holds now.
inline int WorkingWidth(const CImageObj& item) {
    CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
    const DibBuffer* b = item.GetWorkingBuffer();
    return b ? DibBuffer::GetHeader(b)->width : 0;
}

inline size_t FilesIn(const std::filesystem::path& folder) {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) n += e.is_regular_file();
    return n;
}

/// A described JPEG item of one colour (B,G,R components given as COLORREF) placed at
/// (x, y) with size (w, h), holding a 60 x 40 preview bitmap as after loading.
inline CImageObj* AddJpegItem(CLayoutSetting& layout, const std::filesystem::path& path, int32_t x, int32_t y,
                              int32_t w, int32_t h, ColorRef colour, int pixelsW = 400, int pixelsH = 300) {
    JpegFixture fixture;
    fixture.width = pixelsW;
    fixture.height = pixelsH;
    fixture.pixel = [colour](int, int, uint8_t* c) {
        c[0] = uint8_t(colour);
        c[1] = uint8_t(colour >> 8);
        c[2] = uint8_t(colour >> 16);
    };
    WriteBytes(path, EncodeJpeg(fixture));
    CImageObj* image = AppendItem<CImageObj>(layout);
    image->SetFilePath(path);
    EXPECT_TRUE(ReadJpegInfo(*image));
    image->SetSizeMethod(1);
    image->SetPosition(x, y);
    image->SetSize(w, h);
    EXPECT_TRUE(image->SetWorkingBitmap(SolidPicture(60, 40, colour)));
    return image;
}

/// A two-page layout of 4 x 4 inches (1440 x 1440 units) with one picture per page,
/// its view on page 2, an undo step, and fake printer services installed.
struct PrintFixture {
    TestRoot root;
    PaintHost host;
    UndoStore undo;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    FakePrintServices services;
    ScopedHostService<PrintJobServices> installServices{&services};
    std::unique_ptr<CLayoutSetting> layout = MakeA4Layout();
    CImageObj* first = nullptr;
    CImageObj* second = nullptr;
    CGPView& view;

    explicit PrintFixture(CGPView& v) : view(v) {
        host.app.undo = &undo;
        layout->SetPaper({1440, 1440});
        layout->SetPaperSize(256);
        layout->SetPaperLength(1016);
        layout->SetPaperWidth(1016);
        layout->SetPageNumber(2);
        layout->SetPageMax(2);
        layout->SetMargin({0, 0, 0, 0});
        layout->SetLayoutAreaMgn({0, 0, 0, 0});
        layout->SetPaperColor(0xFFFFFF);
        layout->Texts().printerName = "Testdrucker";
        first = AddJpegItem(*layout, root.Path() / "eins.jpg", 360, 360, 720, 540, 0x2060C0);
        second = AddJpegItem(*layout, root.Path() / "zwei.jpg", 360, 1440 + 360, 720, 540, 0xC08040);
        view.Attach(&host.view, layout.get());
        view.SetCurrentPage(1);
        EXPECT_TRUE(undo.PushUndo(*layout, 1));
        tempFilesBefore = FilesIn(TempFolder());
    }

    /// Presses Cancel in the running job's status.
    void Cancel() {
        ASSERT_NE(view.RunningPrintJob(), nullptr);
        view.RunningPrintJob()->Status()->OnCancel();
    }

    /// The job left nothing changed behind but the undo step.
    void ExpectPutBack() {
        EXPECT_EQ(view.GetCurrentPage(), 1);
        EXPECT_FALSE(undo.CanUndo());
        EXPECT_EQ(InstallRenderState().LockOwner(), 0);
        EXPECT_EQ(FilesIn(TempFolder()), tempFilesBefore);
        EXPECT_EQ(view.Bands().Count(), 0u);
        const CImageObj* a = static_cast<const CImageObj*>(layout->GetFirstItem());
        ASSERT_NE(a, nullptr);
        ASSERT_NE(a->NextItem(), nullptr);
        EXPECT_EQ(WorkingWidth(*a), 60) << "the preview bitmap is back";
        EXPECT_EQ(WorkingWidth(*static_cast<const CImageObj*>(a->NextItem())), 60);
        EXPECT_TRUE(services.window == nullptr || services.window->ownerEnabled);
    }

    size_t tempFilesBefore = 0;
};

}  // namespace vx::test
