#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "GfxTestSupport.h"
#include "platform/gfx/PdfDocument.h"
#include "support/TestFolders.h"

namespace vx::gfx {
namespace {
using namespace vx::gfx::test;

std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        pclose(p);
    }
    return out;
}

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
    // cairo 1.16 asks for each picture four times per page; keeping the last one
    // answers at least the nested asks without reading again.
    EXPECT_GE(counts.acquired, 44);
    EXPECT_LT(counts.acquired, 4 * 44);
    EXPECT_EQ(counts.acquired, counts.released);
    EXPECT_EQ(doc.Finish(), PdfStatus::Ok);
    EXPECT_EQ(counts.acquired, counts.released);
    EXPECT_GT(bytes, 1000u);
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
