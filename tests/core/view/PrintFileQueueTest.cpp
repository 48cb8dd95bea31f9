#include <gtest/gtest.h>

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "PrintJobFixture.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "model/CLineObj.h"
#include "model/FreeLineItem.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"
#include "model/ProfileDescriptions.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"
#include "printing/CPrinterManager.h"
#include "support/RunCommand.h"
#include "view/SystemPrintJobServices.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::RunCommand;

constexpr const char* kFileQueue = "TEVRA Proof 44 (Datei)";

bool HavePoppler() {
    return std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0;
}

/// One page of a PDF at 72 dpi as RGB bytes.
struct Raster {
    int width = 0, height = 0;
    std::string data;
    size_t start = 0;
    std::array<int, 3> At(int x, int y) const {
        const size_t at = start + (size_t(y) * size_t(width) + size_t(x)) * 3;
        return {uint8_t(data[at]), uint8_t(data[at + 1]), uint8_t(data[at + 2])};
    }
};

Raster Rasterise(const fs::path& pdf, int page) {
    Raster r;
    r.data = RunCommand("pdftoppm -r 72 -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                        pdf.string() + "'");
    int max = 0, used = 0;
    if (std::sscanf(r.data.c_str(), "P6 %d %d %d%n", &r.width, &r.height, &max, &used) != 3) return {};
    r.start = size_t(used) + 1;
    return r;
}

/// sRGB through the medium's profile, as LittleCMS makes it with the profile's own
/// rendering intent (the recommended profile's).
std::array<int, 3> ThroughProfile(const fs::path& profile, std::array<uint8_t, 3> rgb) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE out = cmsOpenProfileFromFile(profile.c_str(), "r");
    EXPECT_NE(out, nullptr) << profile;
    std::array<uint8_t, 3> result{};
    if (out) {
        const cmsUInt32Number intent = cmsGetHeaderRenderingIntent(out);
        cmsHTRANSFORM t = cmsCreateTransform(srgb, TYPE_RGB_8, out, TYPE_RGB_8, intent, 0);
        EXPECT_NE(t, nullptr);
        if (t) {
            cmsDoTransform(t, rgb.data(), result.data(), 1);
            cmsDeleteTransform(t);
        }
        cmsCloseProfile(out);
    }
    cmsCloseProfile(srgb);
    return {result[0], result[1], result[2]};
}

/// A JPEG of two flat patches side by side: left and right (R, G, B).
CImageObj* AddPatches(CLayoutSetting& layout, const fs::path& path, int32_t x, int32_t y,
                      std::array<uint8_t, 3> left, std::array<uint8_t, 3> right) {
    test::JpegFixture fixture;
    fixture.width = 800;
    fixture.height = 400;
    fixture.quality = 100;
    fixture.pixel = [=](int px, int, uint8_t* c) {
        const auto& v = px < 400 ? left : right;
        c[0] = v[0];
        c[1] = v[1];
        c[2] = v[2];
    };
    test::WriteBytes(path, test::EncodeJpeg(fixture));
    CImageObj* image = test::AppendItem<CImageObj>(layout);
    image->SetFilePath(path);
    EXPECT_TRUE(ReadJpegInfo(*image));
    image->SetColorSpace(FourCC("RGB "));  // as opening an RGB picture records it
    image->SetSizeMethod(1);
    image->SetPosition(x, y);
    image->SetSize(1440, 720);
    EXPECT_TRUE(image->SetWorkingBitmap(test::SolidPicture(80, 40, 0x808080)));
    return image;
}

class PrintFileQueue : public testing::Test {
protected:
    void SetUp() override {
        saved = SetPictureLoaderHooks({});
        SetPictureLoaderHooks(saved);
        InstallColourManagement();
        ASSERT_TRUE(EnsureUserFolder());
        std::ofstream(UserFolder() / QueueFile::kFileName)
            << "[" << kFileQueue << "]\nModel=TEVRA Proof 44\nOutput=" << output.string() << "\nDefault=1\n";
    }
    void TearDown() override {
        SetPictureLoaderHooks(saved);
        SetProfileDescriptions({});
        fs::remove(UserFolder() / QueueFile::kFileName);
    }

    PictureLoaderHooks saved;
    test::TestRoot root;
    test::ScopedEnv server{"CUPS_SERVER", (root.Path() / "no-cups.sock").string()};
    fs::path output = root.Path() / "Druckausgabe";
};

TEST_F(PrintFileQueue, TwoA4PagesArriveAsOnePdfInTheMediumsColours) {
    test::PaintHost host;
    UndoStore undo;
    host.app.undo = &undo;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);

    auto layout = test::MakeA4Layout();
    layout->Texts().printerName = kFileQueue;
    layout->SetPaperSize(9);
    layout->SetPaperLength(2970);
    layout->SetPaperWidth(2100);
    layout->SetPageNumber(2);
    layout->SetPageMax(2);
    layout->SetPaperColor(0xFFFFFF);
    const std::array<std::array<uint8_t, 3>, 4> patches{{{200, 40, 40}, {40, 160, 60}, {30, 60, 200}, {230, 200, 40}}};
    AddPatches(*layout, root.Path() / "seite1.jpg", 720, 720, patches[0], patches[1]);
    AddPatches(*layout, root.Path() / "seite2.jpg", 720, 4209 + 1440, patches[2], patches[3]);
    CLineObj* line = test::AppendItem<CLineObj>(*layout);
    line->SetThickness(20);
    line->SetPosition(0, 0);
    line->SetOffsetStart({720, 2880});
    line->SetOffsetEnd({2160, 2880});
    line->SetLineColor(0x000000);
    ComputeFreeLineGeometry(*line);

    CPrinterManager manager(SystemQueues(), SystemDriverModules());
    manager.BindLayout(layout.get());
    ASSERT_EQ(manager.SelectPrinter(kFileQueue, -1), 1);

    {
        // The medium's own profile (by its description), as the print settings recommend it.
        std::unique_ptr<PrintDevice> device = manager.CreatePrinterDC();
        ASSERT_NE(device, nullptr);
        layout->Texts().printerProfile = device->ProfilePath().stem().string();
    }
    CGPView view;
    view.Attach(&host.view, layout.get());
    view.SetCurrentPage(1);
    ASSERT_TRUE(undo.PushUndo(*layout, 1));
    SystemPrintJobServices services({}, &manager);
    ScopedHostService<PrintJobServices> installed(&services);

    // Print now: slot 0 saved, the layout reconciled for printing, the job, slot 0 back.
    const auto printNow = [&] {
        ASSERT_TRUE(manager.SaveSlot(0));
        SettingsChangeRecord record;
        ASSERT_TRUE(manager.SyncLayoutAndDriver(&record, false, 0, true, true));
        EXPECT_TRUE(view.DoPrintJob());
        EXPECT_TRUE(manager.RestoreSlot(0, true));
    };
    const std::string paperColourBefore = std::to_string(layout->GetPaperColor());
    const size_t tempBefore = test::FilesIn(TempFolder());
    printNow();
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.size() << " " << (messages.shown.empty() ? "" : messages.shown[0].text);

    const fs::path pdf = output / (view.FrameTitleText() + ".pdf");
    ASSERT_TRUE(fs::exists(pdf)) << pdf << " " << RunCommand("ls -la '" + output.string() + "'");
    EXPECT_EQ(test::FilesIn(output), 1u) << "no part file stays";
    EXPECT_EQ(test::FilesIn(TempFolder()), tempBefore) << "no band or spool file stays";
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(view.GetCurrentPage(), 1);
    EXPECT_EQ(InstallRenderState().LockOwner(), 0);
    const auto* first = static_cast<const CImageObj*>(layout->GetFirstItem());
    EXPECT_EQ(test::WorkingWidth(*first), 80) << "the layout's own bitmaps are back";
    EXPECT_EQ(std::to_string(layout->GetPaperColor()), paperColourBefore);

    if (!HavePoppler()) GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    std::string info = RunCommand("pdfinfo -f 1 -l 2 '" + pdf.string() + "'");
    info.erase(std::unique(info.begin(), info.end(), [](char a, char b) { return a == ' ' && b == ' '; }), info.end());
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page 1 size: 595.3 x 841.9 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page 2 size: 595.3 x 841.9 pts"), std::string::npos) << info;

    // 360 layout units are 72 points; each patch is 720 x 720 units.
    const fs::path profile = layout->Texts().printerProfile.empty()
                                 ? fs::path()
                                 : fs::path(layout->Texts().printerProfile);
    std::unique_ptr<PrintDevice> device = manager.CreatePrinterDC();
    ASSERT_NE(device, nullptr);
    struct Probe {
        int page, x, y, patch;
    };
    const Probe probes[] = {{1, 216, 216, 0}, {1, 360, 216, 1}, {2, 216, 360, 2}, {2, 360, 360, 3}};
    Raster pages[2] = {Rasterise(pdf, 1), Rasterise(pdf, 2)};
    ASSERT_GE(pages[0].width, 595);
    for (const Probe& p : probes) {
        const std::array<int, 3> expected = ThroughProfile(device->ProfilePath(), patches[size_t(p.patch)]);
        const std::array<int, 3> got = pages[p.page - 1].At(p.x, p.y);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[size_t(c)], expected[size_t(c)], 3)
                << "page " << p.page << " patch " << p.patch << " channel " << c << " profile " << profile;
    }
    // Each page is its bands: the free lines drawn beneath them are covered and left
    // out, so no page-sized picture of them is written (a band is at most 4096 pixels).
    const std::string images = RunCommand("pdfimages -list '" + pdf.string() + "'");
    int pictures = 0;
    std::istringstream rows(images);
    for (std::string row; std::getline(rows, row);) {
        int page = 0, number = 0, width = 0, height = 0;
        char type[16] = {};
        if (std::sscanf(row.c_str(), "%d %d %15s %d %d", &page, &number, type, &width, &height) != 5) continue;
        ++pictures;
        EXPECT_LE(std::max(width, height), 4096) << row;
    }
    EXPECT_GE(pictures, 2) << images;
    // The free line: black under the paper's white around it.
    EXPECT_LT(pages[0].At(288, 576)[0], 40);
    EXPECT_GE(pages[0].At(288, 620)[0], 250);

    // Printed again, the first proof stays beside the second.
    printNow();
    EXPECT_TRUE(fs::exists(pdf));
    EXPECT_TRUE(fs::exists(output / (view.FrameTitleText() + " (2).pdf")));
    EXPECT_EQ(test::FilesIn(output), 2u);
}

}  // namespace
}  // namespace vx
