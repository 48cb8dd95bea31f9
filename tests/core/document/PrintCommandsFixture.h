#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "../imaging/JpegFixtures.h"
#include "../view/ViewFixture.h"
#include "host/Shell.h"
#include "model/ImageInfoReaders.h"
#include "platform/system/FourCC.h"
#include "support/RecordingHost.h"
#include "view/LayoutViewCore.h"

// What the print command suites share: a two-page layout of real pictures and the
// windows of its document.

namespace vx::test {

/// A window that takes what the view logic asks and runs nothing posted.
struct QuietWindow : ViewWindowPort {
    PixelPoint ClientSize() const override { return {800, 600}; }
    PixelPoint PixelsPerInch() const override { return {96, 96}; }
    FitMetrics Metrics() const override { return {2, 4, 17}; }
    void SetRedraw(bool) override {}
    void InvalidateClient(const PixelRect*) override { ++invalidations; }
    void InvalidateRulerBands(const PixelRect&, const PixelRect&) override {}
    void PaintNow() override {}
    void ShowScrollBars(const ScrollSizes&, PixelPoint) override {}
    void Post(std::function<void()>) override {}
    std::optional<int> AskPageNumber(int, int) override { return std::nullopt; }
    int invalidations = 0;
};

/// The open document's windows: the real view logic, so that the print without a
/// dialog reaches the print job, and the recording pane.
struct PrintingShell : Shell {
    LayoutView* view = nullptr;
    RecordingPrintSettingsPane pane;
    LayoutView* FindLayoutView(const CLayoutSetting&) override { return view; }
    LayoutView* GetLayoutView() override { return view; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return &pane; }
    bool IsViewCreating() override { return false; }
    void RefreshToolBar(int) override {}
    void SetQuickPrintStatus(int) override {}
    void SetLayoutTitle(const std::string&) override {}
    void PrintNow() override {}
};

/// A JPEG of one flat colour, laid out as an image item at (x, y).
inline void AddJpegItem(CLayoutSetting& layout, const std::filesystem::path& path, int32_t x, int32_t y, uint8_t shade) {
    JpegFixture fixture;
    fixture.width = 600;
    fixture.height = 400;
    fixture.pixel = [=](int, int, uint8_t* c) { c[0] = shade, c[1] = 100, c[2] = 255 - shade; };
    WriteBytes(path, EncodeJpeg(fixture));
    CImageObj* image = AppendItem<CImageObj>(layout);
    image->SetFilePath(path);
    EXPECT_TRUE(ReadJpegInfo(*image));
    image->SetColorSpace(FourCC("RGB "));
    image->SetSizeMethod(1);
    image->SetPosition(x, y);
    image->SetSize(1440, 960);
    EXPECT_TRUE(image->SetWorkingBitmap(SolidPicture(60, 40, 0x808080)));
}

/// Two A4 pages, one JPEG each, on printer; its document path names "Hochzeit.kqf"
/// in folder, where the pictures are written too.
inline std::unique_ptr<CLayoutSetting> MakeTwoPageLayout(const std::filesystem::path& folder,
                                                         const std::string& printer) {
    auto layout = MakeA4Layout();
    layout->Texts().printerName = printer;
    layout->SetPaperSize(9);
    layout->SetPaperLength(2970);
    layout->SetPaperWidth(2100);
    layout->SetPageNumber(2);
    layout->SetPageMax(2);
    layout->SetPaperColor(0xFFFFFF);
    layout->Texts().documentPath = (folder / "Hochzeit.kqf").string();
    AddJpegItem(*layout, folder / "a.jpg", 720, 720, 40);
    AddJpegItem(*layout, folder / "b.jpg", 720, 4209 + 720, 200);
    return layout;
}

}  // namespace vx::test
