#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "GfxTestSupport.h"
#include "platform/gfx/PdfDocument.h"
#include "support/RunCommand.h"
#include "support/TestFolders.h"

namespace vx::gfx {
namespace {
using namespace vx::gfx::test;
using vx::test::RunCommand;

bool HavePoppler() { return std::system("command -v pdfinfo >/dev/null 2>&1") == 0; }

/// Counts what the lazy pictures of a page were asked.
struct LazyCounts {
    int acquired = 0;
    int released = 0;
    int failOn = 0;  // the acquire (from 1) that fails
};

std::unique_ptr<LazyImage> MakeLazy(PdfDocument& doc, LazyCounts& counts, Opacity opacity = Opacity::Opaque) {
    return std::make_unique<LazyImage>(
        doc.Lazy(), 64, 64, opacity,
        [&counts](const LazyPixels& out) {
            if (++counts.acquired == counts.failOn) return false;
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x) {
                    uint8_t* p = out.data + size_t(y) * size_t(out.stride) + size_t(x) * 4;
                    p[0] = 200, p[1] = 120, p[2] = 40, p[3] = uint8_t(x * 4);
                }
            return true;
        },
        [&counts] { ++counts.released; });
}

TEST(PdfDocument, EachPageKeepsItsOwnSize) {
    const auto path = OutputFolder() / "gfx-two-pages.pdf";
    {
        std::ofstream file(path, std::ios::binary);
        PdfDocument doc([&](const uint8_t* d, size_t n) { return bool(file.write(reinterpret_cast<const char*>(d), n)); });
        for (auto [w, h] : {std::pair{595.3, 841.9}, std::pair{841.9, 595.3}}) {
            Canvas* page = doc.BeginPage(w, h, 360);
            ASSERT_NE(page, nullptr);
            // In pixels of 360 per inch: a frame 1 inch inside the page, and a title.
            page->StrokeRect({360, 360, w * 5 - 720, h * 5 - 720}, Pen{kBlack, 4});
            page->DrawText(w < h ? "Hochformat" : "Querformat", Font{"DejaVu Sans", 120}, {}, {400, 400, 0, 0},
                           kRed);
            EXPECT_EQ(doc.EndPage(), PdfStatus::Ok);
        }
        EXPECT_EQ(doc.Finish(), PdfStatus::Ok);
    }
    if (!HavePoppler()) GTEST_SKIP() << "pdfinfo is not installed";
    const std::string info = RunCommand("pdfinfo -f 1 -l 2 '" + path.string() + "'");
    auto sizeOf = [&](const char* page) {
        const size_t at = info.find(page);
        if (at == std::string::npos) return std::string();
        const size_t from = info.find_first_not_of(' ', at + std::strlen(page));
        return info.substr(from, info.find(" pts", from) - from);
    };
    EXPECT_EQ(sizeOf("Page    1 size:"), "595.3 x 841.9") << info;
    EXPECT_EQ(sizeOf("Page    2 size:"), "841.9 x 595.3") << info;
}

TEST(PdfDocument, ReleasesEveryLazyPictureItAcquires) {
    LazyCounts counts;
    size_t bytes = 0;
    PdfDocument doc([&](const uint8_t*, size_t n) { bytes += n; return true; });
    Canvas* page = doc.BeginPage(841.9, 595.3, 72);
    ASSERT_NE(page, nullptr);
    std::vector<std::unique_ptr<LazyImage>> images;
    for (int i = 0; i < 44; ++i) {
        images.push_back(MakeLazy(doc, counts, i % 2 ? Opacity::Opaque : Opacity::Transparent));
        page->DrawLazyImage(*images.back(), {double(i % 11) * 70, double(i / 11) * 70, 64, 64}, Filter::Good);
    }
    EXPECT_EQ(doc.EndPage(), PdfStatus::Ok);
    // Each picture is read once, and given back before the next is read.
    EXPECT_EQ(counts.acquired, 44);
    EXPECT_EQ(counts.acquired, counts.released);
    EXPECT_EQ(doc.Finish(), PdfStatus::Ok);
    EXPECT_EQ(counts.acquired, counts.released);
    EXPECT_GT(bytes, 1000u);
}

/// A page rendered by poppler at the page's own density.
struct Rendered {
    int width = 0, height = 0;
    std::string rgb;
    std::array<int, 3> At(int x, int y) const {
        const size_t at = (size_t(y) * size_t(width) + size_t(x)) * 3;
        return {uint8_t(rgb[at]), uint8_t(rgb[at + 1]), uint8_t(rgb[at + 2])};
    }
};

Rendered Render(const std::string& path, int dpi) {
    const std::string ppm = RunCommand("pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 '" + path + "'");
    Rendered r;
    int max = 0, used = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &r.width, &r.height, &max, &used) == 3)
        r.rgb = ppm.substr(size_t(used) + 1);
    return r;
}

int PicturesOnPage(const std::string& path) {
    const std::string list = RunCommand("pdfimages -list '" + path + "'");
    int n = 0;
    for (size_t at = list.find('\n'); at != std::string::npos; at = list.find('\n', at + 1)) {
        int page = 0;
        if (std::sscanf(list.c_str() + at + 1, "%d", &page) == 1 && page == 1) ++n;
    }
    return n;
}

uint32_t Gradient(int x, int y) { return 0xFF000000u | uint32_t(x * 2) << 16 | uint32_t(y * 4) << 8 | uint32_t((x + y) & 0xFF); }

TEST(PdfDocument, PicturesArriveLosslessUprightAndClipped) {
    const auto path = OutputFolder() / "gfx-lossless.pdf";
    {
        std::ofstream file(path, std::ios::binary);
        PdfDocument doc([&](const uint8_t* d, size_t n) { return bool(file.write(reinterpret_cast<const char*>(d), n)); });
        // 120 x 60 points at 72 pixels per inch: one pixel a point.
        Canvas* page = doc.BeginPage(120, 60, 72);
        ASSERT_NE(page, nullptr);
        LazyImage picture(doc.Lazy(), 100, 50, Opacity::Opaque, [](const LazyPixels& out) {
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x) {
                    const uint32_t pixel = Gradient(x, y);
                    std::memcpy(out.data + size_t(y) * size_t(out.stride) + size_t(x) * 4, &pixel, 4);
                }
            return true;
        }, nullptr);
        page->Translate(10, 5);
        page->ClipRect({0, 0, 80, 50});  // the right 20 pixels are cut off
        page->DrawLazyImage(picture, {0, 0, 100, 50}, Filter::Nearest);
        EXPECT_EQ(doc.EndPage(), PdfStatus::Ok);
        EXPECT_EQ(doc.Finish(), PdfStatus::Ok);
    }
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    auto expected = [](int x, int y) {
        const uint32_t want = Gradient(x, y);
        return std::array<int, 3>{int(want >> 16 & 0xFF), int(want >> 8 & 0xFF), int(want & 0xFF)};
    };
    // The stored picture holds every pixel exactly.
    const auto prefix = OutputFolder() / "gfx-lossless-picture";
    RunCommand("pdfimages -f 1 -l 1 '" + path.string() + "' '" + prefix.string() + "'");
    std::ifstream extracted(prefix.string() + "-000.ppm", std::ios::binary);
    const std::string stored((std::istreambuf_iterator<char>(extracted)), std::istreambuf_iterator<char>());
    Rendered picture;
    int max = 0, used = 0;
    ASSERT_EQ(std::sscanf(stored.c_str(), "P6 %d %d %d%n", &picture.width, &picture.height, &max, &used), 3);
    picture.rgb = stored.substr(size_t(used) + 1);
    ASSERT_EQ(picture.width, 100);
    ASSERT_EQ(picture.height, 50);
    int wrong = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) wrong += picture.At(x, y) != expected(x, y);
    EXPECT_EQ(wrong, 0);

    // On the page: upright, at its place (poppler's scaler may shift a row or column).
    const Rendered r = Render(path.string(), 72);
    ASSERT_EQ(r.width, 120);
    ASSERT_EQ(r.height, 60);
    for (auto [x, y] : {std::pair{2, 2}, std::pair{77, 2}, std::pair{2, 47}, std::pair{77, 47}, std::pair{40, 25}})
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(r.At(x + 10, y + 5)[size_t(c)], expected(x, y)[size_t(c)], 8) << x << "," << y;
    EXPECT_EQ(r.At(95, 20), (std::array<int, 3>{255, 255, 255})) << "clipped";
    EXPECT_EQ(r.At(5, 20), (std::array<int, 3>{255, 255, 255}));
}

TEST(PdfDocument, DrawingBeneathOpaquePicturesIsLeftOutOnlyWhereTheyCoverIt) {
    struct Case {
        const char* name;
        RectD fill;      // drawn first, in pixels of 72 per inch
        int pictures;    // in the file: the opaque picture, and the drawing if it shows
    };
    const Case cases[] = {
        {"covered", {20, 20, 60, 20}, 1},
        {"showing beside", {0, 20, 60, 20}, 2},
        {"nothing drawn", {0, 0, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = OutputFolder() / (std::string("gfx-beneath-") + c.name + ".pdf");
        {
            std::ofstream file(path, std::ios::binary);
            PdfDocument doc([&](const uint8_t* d, size_t n) { return bool(file.write(reinterpret_cast<const char*>(d), n)); });
            Canvas* page = doc.BeginPage(120, 60, 72);
            ASSERT_NE(page, nullptr);
            if (c.fill.w > 0) page->FillRect(c.fill, Rgba{0, 0, 1, 1});
            LazyImage picture(doc.Lazy(), 80, 40, Opacity::Opaque, [](const LazyPixels& out) {
                for (int y = 0; y < out.height; ++y) std::memset(out.data + size_t(y) * size_t(out.stride), 0x40, size_t(out.width) * 4);
                return true;
            }, nullptr);
            page->DrawLazyImage(picture, {10, 10, 80, 40}, Filter::Nearest);
            EXPECT_EQ(doc.EndPage(), PdfStatus::Ok);
            EXPECT_EQ(doc.Finish(), PdfStatus::Ok);
        }
        if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
        EXPECT_EQ(PicturesOnPage(path.string()), c.pictures);
        const Rendered r = Render(path.string(), 72);
        ASSERT_EQ(r.width, 120);
        EXPECT_EQ(r.At(50, 30), (std::array<int, 3>{0x40, 0x40, 0x40})) << "the picture lies on top";
        const bool blueBeside = c.fill.w > 0 && c.fill.x < 10;
        EXPECT_EQ(r.At(5, 30), blueBeside ? (std::array<int, 3>{0, 0, 255}) : (std::array<int, 3>{255, 255, 255}));
    }
}

TEST(PdfDocument, TranslucentPicturesKeepTheirCoverage) {
    const auto path = OutputFolder() / "gfx-translucent.pdf";
    {
        std::ofstream file(path, std::ios::binary);
        PdfDocument doc([&](const uint8_t* d, size_t n) { return bool(file.write(reinterpret_cast<const char*>(d), n)); });
        Canvas* page = doc.BeginPage(120, 60, 72);
        ASSERT_NE(page, nullptr);
        page->FillRect({0, 0, 120, 60}, Rgba{0, 0, 1, 1});
        // Straight red at half coverage on the left, opaque red on the right.
        LazyImage picture(doc.Lazy(), 100, 40, Opacity::Transparent, [](const LazyPixels& out) {
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x) {
                    uint8_t* p = out.data + size_t(y) * size_t(out.stride) + size_t(x) * 4;
                    p[0] = 0, p[1] = 0, p[2] = 255, p[3] = x < 50 ? 128 : 255;
                }
            return true;
        }, nullptr);
        page->DrawLazyImage(picture, {10, 10, 100, 40}, Filter::Nearest);
        EXPECT_EQ(doc.EndPage(), PdfStatus::Ok);
        EXPECT_EQ(doc.Finish(), PdfStatus::Ok);
    }
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const Rendered r = Render(path.string(), 72);
    ASSERT_EQ(r.width, 120);
    const std::array<int, 3> half = r.At(30, 30), full = r.At(90, 30), beside = r.At(5, 30);
    EXPECT_NEAR(half[0], 128, 2);
    EXPECT_NEAR(half[2], 127, 2);
    EXPECT_EQ(full, (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(beside, (std::array<int, 3>{0, 0, 255}));
}

TEST(PdfDocument, AFailedAcquirePutsThePageInError) {
    LazyCounts counts;
    counts.failOn = 3;
    PdfDocument doc([](const uint8_t*, size_t) { return true; });
    Canvas* page = doc.BeginPage(595.3, 841.9, 72);
    ASSERT_NE(page, nullptr);
    std::vector<std::unique_ptr<LazyImage>> images;
    for (int i = 0; i < 5; ++i) {
        images.push_back(MakeLazy(doc, counts));
        page->DrawLazyImage(*images.back(), {double(i) * 70, 10, 64, 64}, Filter::Good);
    }
    EXPECT_NE(doc.EndPage(), PdfStatus::Ok);
    EXPECT_EQ(doc.BeginPage(595.3, 841.9, 72), nullptr);
    EXPECT_NE(doc.Finish(), PdfStatus::Ok);
    EXPECT_EQ(counts.acquired - 1, counts.released);  // the failed one was never handed out
}

TEST(PdfDocument, AWriteErrorEndsTheDocument) {
    size_t room = 600;  // a disk that fills up after the header
    PdfDocument doc([&](const uint8_t*, size_t n) {
        if (n > room) return false;
        room -= n;
        return true;
    });
    for (int i = 0; i < 3; ++i) {
        if (Canvas* page = doc.BeginPage(595.3, 841.9, 72)) {
            page->DrawText("Seite", Font{}, {}, {10, 10, 0, 0}, kBlack);
            doc.EndPage();
        }
    }
    EXPECT_EQ(doc.Finish(), PdfStatus::WriteFailed);
}

}  // namespace
}  // namespace vx::gfx
