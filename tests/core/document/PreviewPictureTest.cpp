#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "DocumentFixtures.h"
#include "document/PreviewPicture.h"
#include "host/Shell.h"
#include "imaging/JpegEncoder.h"
#include "platform/system/Base64.h"
#include "support/RecordingHost.h"
#include "view/LayoutViewCommands.h"
#include "view/PreviewGeometry.h"

namespace vx {
namespace {

struct PlacementCase {
    int width;
    int height;
    bool portrait;
    bool banner;
    PreviewPlacement expected;
};

TEST(PreviewPlacement, ScalesAndCentresThePage) {
    const double bannerScale = 128.0 / (100 + 100 * 14.0 / 115.0);
    const int bannerSide = int(100 * bannerScale * 0.7 + 0.5);
    const PlacementCase cases[] = {
        {2976, 4209, true, false, {19, 0, 90, 128}},
        {4209, 2976, false, false, {0, 19, 128, 90}},
        {100, 100, true, false, {19, 0, 89, 89}},
        {100, 100, false, false, {0, 19, 89, 89}},
        {100, 100, true, true, {(128 - bannerSide) / 2, 0, bannerSide, bannerSide}},
        // A portrait page that lies wide is drawn at 0.7 of its width-limited size.
        {200, 100, true, false, {(128 - 179) / 2, 0, 179, 89}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.portrait << c.banner);
        std::optional<PreviewPlacement> p = PlacePreviewPage(c.width, c.height, c.portrait, c.banner);
        ASSERT_TRUE(p);
        EXPECT_EQ(*p, c.expected);
    }
    EXPECT_FALSE(PlacePreviewPage(0, 100, true, false));
}

TEST(PreviewGeometry, ShowsOnePageLengthOfABanner) {
    CLayoutSetting layout(true);
    layout.SetPaper({3600, 36000});
    layout.SetOrientation(1);
    std::optional<ViewGeometry> g = PreviewViewGeometry(layout, 96 / 360.0, 96 / 360.0);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->page, (PixelRect{0, 0, 12, 128}));
    layout.SetBanner(1);
    layout.SetPageNum(4);
    g = PreviewViewGeometry(layout, 96 / 360.0, 96 / 360.0);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->page, (PixelRect{0, 0, 51, 128}));  // 3600 x 9000 zoomed by the height
    layout.SetPageNum(0);
    EXPECT_FALSE(PreviewViewGeometry(layout, 96 / 360.0, 96 / 360.0));
    layout.SetBanner(0);
    layout.SetPaper({0, 100});
    EXPECT_FALSE(PreviewViewGeometry(layout, 96 / 360.0, 96 / 360.0));
}

struct Decoded {
    int width = 0;
    int height = 0;
    bool baseline = false;
    std::vector<uint8_t> rgb;
};

struct DecodeErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

bool DecodeJpeg(const std::vector<uint8_t>& bytes, Decoded& out) {
    jpeg_decompress_struct info{};
    DecodeErrors errors{};
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<DecodeErrors*>(c->err)->jump, 1); };
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    out.width = int(info.output_width);
    out.height = int(info.output_height);
    out.baseline = !info.progressive_mode && info.data_precision == 8;
    out.rgb.resize(size_t(out.width) * size_t(out.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.rgb[size_t(info.output_scanline) * size_t(out.width) * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

TEST(EncodeJpegToMemory, KeepsTheTopRowOnTop) {
    std::vector<uint8_t> pixels(128 * 128 * 4, 0);
    for (int i = 0; i < 128 * 128; ++i) pixels[size_t(i) * 4 + 2] = 255;  // blue
    for (int x = 0; x < 128 * 8; ++x) {                                   // eight red rows on top
        pixels[size_t(x) * 4 + 0] = 255;
        pixels[size_t(x) * 4 + 2] = 0;
    }
    std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(128, 128, pixels.data());
    ASSERT_TRUE(jpeg);
    // A baseline frame: SOF0.
    bool sof0 = false;
    for (size_t i = 0; i + 1 < jpeg->size(); ++i) sof0 = sof0 || ((*jpeg)[i] == 0xFF && (*jpeg)[i + 1] == 0xC0);
    EXPECT_TRUE(sof0);
    Decoded d;
    ASSERT_TRUE(DecodeJpeg(*jpeg, d));
    EXPECT_EQ(d.width, 128);
    EXPECT_EQ(d.height, 128);
    EXPECT_GT(d.rgb[0], 200);   // top left red
    EXPECT_LT(d.rgb[2], 60);
    const size_t bottom = (size_t(127) * 128) * 3;
    EXPECT_LT(d.rgb[bottom], 60);  // bottom left blue
    EXPECT_GT(d.rgb[bottom + 2], 200);
    EXPECT_FALSE(EncodeJpegToMemory(0, 128, pixels.data()));
}

/// A view that draws page 1 with a red top row on white, or fails.
struct DrawingView : test::RecordingLayoutView, LayoutViewCommands {
    bool fail = false;
    std::vector<int> modes;
    void OnCommand(int) override {}
    void OnUpdateCommand(int, CommandState&) override {}
    void ZoomToFit() override {}
    void ZoomInStep() override {}
    void ZoomOutStep() override {}
    DibBufferPtr DrawPageOffscreen(int mode, const ViewGeometry& g) override {
        modes.push_back(mode);
        if (fail) return nullptr;
        Rect16 r;
        r.Set(0, 0, int16_t(g.page.right), int16_t(g.page.bottom));
        DibBuffer* raw = nullptr;
        if (DibBuffer::Create(&raw, 0, r) != 0) return nullptr;
        uint64_t n = 0;
        uint8_t* bits = DibBuffer::GetBitsAndCount(raw, &n);
        std::memset(bits, 255, n);
        for (int x = 0; x < g.page.right * 6; ++x) {
            bits[x * 4 + 0] = 0;
            bits[x * 4 + 1] = 0;
        }
        return DibBufferPtr(raw);
    }
};

TEST(PreviewPicture, DrawsPageOneThroughTheViewOntoGrey) {
    auto layout = test::MakeSavableLayout();
    DrawingView view;
    test::RecordingShell shell;
    shell.view = &view;
    ScopedHostService<Shell> installed(&shell);

    std::optional<std::vector<uint8_t>> picture = ComposePreviewPicture(*layout);
    ASSERT_TRUE(picture);
    ASSERT_EQ(view.modes, std::vector<int>{3});
    auto px = [&](int x, int y) { return &(*picture)[(size_t(y) * 128 + size_t(x)) * 4]; };
    EXPECT_EQ(px(5, 64)[0], 170);  // grey left of the page (x 19..108)
    EXPECT_EQ(px(120, 64)[1], 170);
    EXPECT_GT(px(64, 0)[0], 200);  // the red top row stays on top
    EXPECT_LT(px(64, 0)[1], 80);
    EXPECT_EQ(px(64, 100)[1], 255);  // white page

    layout->SetTemplate(1);
    ASSERT_TRUE(ComposePreviewPicture(*layout));
    EXPECT_EQ(view.modes.back(), 4);

    view.fail = true;
    EXPECT_FALSE(ComposePreviewPicture(*layout));
    EXPECT_EQ(MakePreviewText(*layout), "");
}

TEST(PreviewPicture, PlainPageTakesThePaperColourOrItsGrey) {
    auto layout = test::MakeSavableLayout();
    layout->SetPaperColor(0x0000FF);  // red
    std::string text = MakePreviewText(*layout);
    std::optional<std::vector<uint8_t>> jpeg = Base64Decode(text);
    ASSERT_TRUE(jpeg);
    Decoded d;
    ASSERT_TRUE(DecodeJpeg(*jpeg, d));
    ASSERT_EQ(d.width, 128);
    const uint8_t* centre = &d.rgb[(64 * 128 + 64) * 3];
    EXPECT_GT(centre[0], 220);
    EXPECT_LT(centre[1], 40);
    const uint8_t* side = &d.rgb[(64 * 128 + 3) * 3];
    EXPECT_NEAR(side[0], 170, 6);

    layout->SetColor(1);
    std::optional<std::vector<uint8_t>> grey = ComposePreviewPicture(*layout);
    ASSERT_TRUE(grey);
    const uint8_t* g = &(*grey)[(64 * 128 + 64) * 4];
    EXPECT_EQ(g[0], 76);  // 0.30 x 255 truncated
    EXPECT_EQ(g[0], g[1]);

    layout->SetPaper({0, 0});
    EXPECT_EQ(MakePreviewText(*layout), "");
}

TEST(PreviewPicture, BannerLeavesItsRollMarkBesideThePage) {
    auto layout = test::MakeSavableLayout();
    layout->SetPaper({3000, 3000});
    layout->SetBanner(1);
    layout->SetPageNum(1);
    std::optional<std::vector<uint8_t>> picture = ComposePreviewPicture(*layout);
    ASSERT_TRUE(picture);
    // Portrait: the page at the top, the roll below it, grey to the sides.
    auto px = [&](int x, int y) { return (*picture)[(size_t(y) * 128 + size_t(x)) * 4]; };
    EXPECT_EQ(px(40, 40), 255);
    EXPECT_NE(px(40, 120), 170);
    EXPECT_EQ(px(2, 120), 170);
}

}  // namespace
}  // namespace vx
