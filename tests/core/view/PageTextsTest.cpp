#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "model/CLineObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/GreyConversion.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/spool/PrintDevice.h"
#include "support/TestFolders.h"
#include "view/HeaderFooterText.h"
#include "view/LineWork.h"
#include "view/RenderState.h"
#include "view/TextWork.h"

namespace vx {
namespace {

uint32_t Rgb(const gfx::ImageSurface& s, int x, int y) { return s.Pixel(x, y) & 0xFFFFFF; }
constexpr uint32_t Surface(ColorRef c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

/// A view whose printed bands are kept as pictures, with the texts drawn traced.
struct PictureView : CGPView {
    std::vector<std::string>* trace = nullptr;
    std::string bandName;
    uint32_t bandProbe = 0;
    PixelPoint probe{0, 0};
    bool SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect&, int, int) override {
        if (!bandName.empty()) surface.WritePng(test::OutputFolder() / bandName);
        bandProbe = surface.Pixel(probe.x, probe.y) & 0xFFFFFF;
        return true;
    }
    void RenderPageContent(const PixelRect* band, unsigned mask) override {
        if (trace) Pass().GetCanvas()->SetTrace(trace);
        CGPView::RenderPageContent(band, mask);
        Pass().GetCanvas()->SetTrace(nullptr);
    }
};

constexpr ColorRef kBackground = 0x20C040;  // of the first free text

CLineObj* AddLine(CLayoutSetting& layout, LayoutPoint a, LayoutPoint b, int mark, int fill, bool dashed) {
    CLineObj* line = test::AppendItem<CLineObj>(layout);
    line->SetThickness(20);
    line->SetArrowSize(2);
    line->SetArrowAngle(60);
    line->SetArrowMark(int16_t(mark));
    line->SetArrowFill(fill);
    line->SetLineStyle(dashed ? 1 : 0);
    line->SetLineColor(0xC00000);
    line->SetPosition(0, 0);
    line->SetOffsetStart(a);
    line->SetOffsetEnd(b);
    line->SetAngle(int16_t(std::lround(std::atan2(double(b.y) - a.y, double(b.x) - a.x) * 180 / M_PI)));
    ComputeFreeLineGeometry(*line);
    return line;
}

CTextObj* AddText(CLayoutSetting& layout, int x, int y, std::string text, int angle, LayoutPoint size) {
    CTextObj* t = test::AppendItem<CTextObj>(layout);
    t->SetText(std::move(text));
    t->SetFont({"DejaVu Sans", 0, 80, 0x000080});
    t->SetTextLineHeight(100);
    t->SetAngle(int16_t(angle));
    t->SetPosition(x, y);
    t->SetOrgSize(size);
    t->SetOffsetOrgPos({0, 0});
    ComputeRotatedTextBox(*t);
    return t;
}

/// The test page: 2000 x 2800 units, three pages; an image with corner marks, a caption
/// on its top frame and a label on its right frame; two free lines; three free texts;
/// a header of three lines.
struct TestPage {
    test::PaintHost host;
    std::unique_ptr<CLayoutSetting> layout = test::MakeA4Layout();
    CImageObj* image;
    CTextObj* turned;
    CTextObj* back;
    PictureView view;
    std::vector<std::string> trace;
    TodaySource previous = SetHeaderFooterClock([] { return CivilDate{2005, 3, 9}; });

    TestPage() {
        layout->SetPaper({2000, 2800});
        layout->SetPageNumber(3);
        layout->SetPageMax(3);
        layout->SetFree(1);
        layout->GetViewState()->zoomDenominator = 1;
        layout->CutLine() = {2, 2, 60, 0, 0x0000FF};
        image = test::AddPictureItem(*layout, 400, 900, 800, 600, test::kPictureColour);
        image->SetFrame({120, 120, 120, 120});
        image->SetCaptionText("Bildunterschrift");
        image->SetCaptionFontName("DejaVu Sans");
        image->SetCaptionFontSize(60);
        image->SetCaptionLocation(0);
        image->SetLabelSelection(1);
        image->SetLabelText("Nr. 1");
        image->SetLabelFontName("DejaVu Sans");
        image->SetLabelFontSize(60);
        image->SetLabelLocation(3);
        image->SetSelected(1);
        AddLine(*layout, {400, 1700}, {1400, 1700}, 2, 1, true);
        AddLine(*layout, {400, 1900}, {1400, 2100}, 1, 0, false)->SetSelected(1);
        back = AddText(*layout, 1300, 500, "Zwei\rZeilen", 45, {500, 200});
        back->SetBackgroundColor(1);
        back->SetBackgroundColorValue(kBackground);
        CTextObj* vertical = AddText(*layout, 1450, 900, "Senkrecht", 0, {100, 800});
        vertical->SetColumnarWriting(1);
        turned = AddText(*layout, 1300, 2200, "Gedreht", 30, {500, 100});
        turned->SetSelected(1);
        layout->SetHeaderShow(1);
        layout->SetHeaderOffset(330);
        layout->SetHeaderText(1);
        layout->SetHeaderPrintInfo(1);
        layout->SetHeaderDatePage(1);
        layout->SetHeaderUseFixedDate(1);
        layout->SetHeaderFixedDate_Year(2005);
        layout->SetHeaderFixedDate_Month(3);
        layout->SetHeaderFixedDate_Day(9);
        layout->SetHeaderFooterFontSizeAuto(1);
        layout->SetHeaderFooterLineHeightPercent(110);
        layout->HeaderFooterFont() = {"DejaVu Sans", 0, 40, 0x000000};
        layout->Texts().headerText = "Kopfzeile info@example.de";
        host.app.active = layout.get();
        // At 100 %: 533 x 747 pixels at (20, 20).
        host.view.client = {0, 0, 580, 800};
        host.view.pageRect = {{0, 0, 533, 747}, {20, 20}};
        view.Attach(&host.view, layout.get());
        view.trace = &trace;
    }
    ~TestPage() { SetHeaderFooterClock(previous); }

    PaintResult Paint(gfx::ImageSurface& surface) {
        gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
        return view.PaintView(canvas, host.view.client);
    }
    PassResult Print(const std::string& name) {
        view.bandName = name;
        const DeviceCaps caps{360, 360, 2000, 2800, 0, 0, 2000, 2800};
        DrawDevice device;
        device.printer = &caps;
        return view.DrawPage(device, kDrawPrinter, kRender360 | kSpoolPass);
    }
    /// A point inside the first free text's background that no glyph covers.
    LayoutPoint BackgroundProbe() const {
        const LayoutPoint pos = back->GetPosition(), o = back->GetOffsetOrgPos(), size = back->GetOrgSize();
        const double cx = pos.x + o.x + size.x / 2.0, cy = pos.y + o.y + size.y / 2.0;
        const LayoutPoint c4 = back->GetBoxPoints()[4];
        return {int32_t(cx + 0.8 * (pos.x + c4.x - cx)), int32_t(cy + 0.8 * (pos.y + c4.y - cy))};
    }
    bool Traced(const std::string& line) const { return std::find(trace.begin(), trace.end(), line) != trace.end(); }
};

TEST(TestPage, ScreenAtFullSizeAndPrinterAt360) {
    TestPage p;
    gfx::ImageSurface screen(580, 800);
    ASSERT_EQ(p.Paint(screen), PaintResult::Drawn);
    EXPECT_TRUE(screen.WritePng(test::OutputFolder() / "view-test-page-screen.png"));
    EXPECT_TRUE(p.Traced("text Bildunterschrift"));
    EXPECT_TRUE(p.Traced("text Nr. 1"));
    EXPECT_TRUE(p.Traced("text Zwei"));
    EXPECT_TRUE(p.Traced("text Zeilen"));
    EXPECT_TRUE(p.Traced("text Senkrecht"));
    EXPECT_TRUE(p.Traced("text Kopfzeile info@example.de"));
    EXPECT_TRUE(p.Traced("text 09.03.2005  Page 1 / 3"));
    // Eight handles for the image and the turned text, two for the selected line: each
    // a white square outlined in black; the image's first at its top-left corner.
    const PixelPoint corner{20 + 400 * 96 / 360 - 3, 20 + 900 * 96 / 360 - 3};
    EXPECT_EQ(Rgb(screen, corner.x + 2, corner.y + 2), 0xFFFFFFu);
    EXPECT_EQ(Rgb(screen, corner.x, corner.y + 2), 0x000000u);
    const LayoutPoint b = p.BackgroundProbe();
    EXPECT_EQ(Rgb(screen, 20 + int(b.x * 96 / 360), 20 + int(b.y * 96 / 360)), Surface(kBackground));

    p.trace.clear();
    p.view.SetCurrentPage(1);
    ASSERT_EQ(p.Print("view-test-page-printer.png"), PassResult::Done);
    EXPECT_TRUE(p.Traced("text 09.03.2005  Page 2 / 3"));
}

TEST(TestPage, MonochromeGreysOnScreenAndPrintsTheColours) {
    TestPage p;
    p.layout->SetColor(1);
    gfx::ImageSurface screen(580, 800);
    ASSERT_EQ(p.Paint(screen), PaintResult::Drawn);
    EXPECT_TRUE(screen.WritePng(test::OutputFolder() / "view-test-page-grey.png"));
    const LayoutPoint b = p.BackgroundProbe();
    EXPECT_EQ(Rgb(screen, 20 + int(b.x * 96 / 360), 20 + int(b.y * 96 / 360)), Surface(GreyFromRGB(kBackground)));
    p.view.probe = {b.x - 100, b.y - 100};  // the printer margin is the device origin
    ASSERT_EQ(p.Print("view-test-page-grey-printer.png"), PassResult::Done);
    EXPECT_EQ(p.view.bandProbe, Surface(kBackground));
}

/// A blank free page of 2000 x 2800 units at 100 %, drawn at (20, 20), with no margins.
struct BlankPage {
    test::PaintHost host;
    std::unique_ptr<CLayoutSetting> layout = test::MakeA4Layout();
    PictureView view;
    std::vector<std::string> trace;
    BlankPage() {
        layout->SetPaper({2000, 2800});
        layout->SetLayoutAreaMgn({0, 0, 0, 0});
        layout->SetMargin({0, 0, 0, 0});
        layout->SetPaperColor(0xFFFFFF);
        layout->SetFree(1);
        layout->GetViewState()->zoomDenominator = 1;
        host.view.client = {0, 0, 580, 800};
        host.view.pageRect = {{0, 0, 533, 747}, {20, 20}};
        view.Attach(&host.view, layout.get());
        view.trace = &trace;
    }
    void Paint(gfx::ImageSurface& surface, const std::string& name) {
        gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
        ASSERT_EQ(view.PaintView(canvas, host.view.client), PaintResult::Drawn);
        surface.WritePng(test::OutputFolder() / name);
    }
    static double Px(double units) { return 20 + units * 96 / 360; }
};

bool Ink(const gfx::ImageSurface& s, int x, int y) {
    const uint32_t c = Rgb(s, x, y);
    return ((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF)) < 3 * 160;
}

TEST(AutoCutLinesPage, TwoRowsGetDoubleLinesAcrossTheGaps) {
    BlankPage p;
    p.layout->SetFree(0);
    p.layout->SetSpace({100, 100});
    p.layout->CutLine() = {1, 0, 0, 0, 0};
    // Three rows of one landscape picture each, the middle one a little lower.
    for (int row = 0; row < 3; ++row)
        test::AddPictureItem(*p.layout, 275, 150 + row * 850, 1450, row == 1 ? 720 : 750, 0xE0E0E0);
    gfx::ImageSurface s(580, 800);
    p.Paint(s, "view-auto-cut-lines.png");
    // In the gap between the first two rows (900 to 1000 units) a double line across the
    // box: two strokes with white between them.
    const int x = int(BlankPage::Px(1000));
    std::string column;
    for (int y = int(BlankPage::Px(900)); y < int(BlankPage::Px(1000)); ++y) column += Ink(s, x, y) ? '#' : '.';
    EXPECT_NE(column.find("#."), std::string::npos) << column;
    EXPECT_NE(column.find(".#"), std::string::npos) << column;
    // The pictures themselves are not crossed.
    EXPECT_FALSE(Ink(s, int(BlankPage::Px(1000)), int(BlankPage::Px(500))));
}

TEST(FreeLineDrawing, DashedLinesHaveGapsAndSolidOnesNone) {
    for (bool dashed : {true, false}) {
        BlankPage p;
        AddLine(*p.layout, {200, 1000}, {1800, 1000}, 0, 0, dashed)->SetLineColor(0);
        gfx::ImageSurface s(580, 800);
        p.Paint(s, dashed ? "view-line-dashed.png" : "view-line-solid.png");
        const int y = int(BlankPage::Px(1000));
        int gaps = 0;
        for (int x = int(BlankPage::Px(300)); x < int(BlankPage::Px(1700)); ++x) gaps += !Ink(s, x, y);
        if (dashed) EXPECT_GT(gaps, 20);
        else EXPECT_EQ(gaps, 0);
    }
}

TEST(FreeTextDrawing, TurnedTextStaysInItsBoxAndLinesStandSideBySide) {
    for (int angle : {30, 90}) {
        BlankPage p;
        CTextObj* t = AddText(*p.layout, 600, 800, "Erste Zeile\rZweite Zeile", angle, {700, 200});
        t->SetFont({"DejaVu Sans", 0, 80, 0x000000});
        gfx::ImageSurface s(580, 800);
        p.Paint(s, "view-free-text-" + std::to_string(angle) + ".png");
        gfx::geom::Polygon box;
        for (int i : {0, 2, 4, 6}) {
            const LayoutPoint q = t->GetBoxPoints()[size_t(i)];
            box.points.push_back({BlankPage::Px(t->GetPosition().x + q.x), BlankPage::Px(t->GetPosition().y + q.y)});
        }
        const gfx::geom::Point c{(box.points[0].x + box.points[2].x) / 2, (box.points[0].y + box.points[2].y) / 2};
        gfx::geom::Polygon grown;
        for (const auto& q : box.points) grown.points.push_back({c.x + (q.x - c.x) * 1.1, c.y + (q.y - c.y) * 1.1});
        int ink = 0, outside = 0;
        double minX = 1e9, maxX = -1e9;
        for (int y = 22; y < 765; ++y)
            for (int x = 22; x < 551; ++x)
                if (Ink(s, x, y)) {
                    ++ink;
                    outside += !grown.Contains({x + 0.5, y + 0.5});
                    minX = std::min(minX, double(x));
                    maxX = std::max(maxX, double(x));
                }
        EXPECT_GT(ink, 100) << angle;
        EXPECT_EQ(outside, 0) << angle;
        // At 90° the two lines stand side by side, more than one line step wide together.
        if (angle == 90) EXPECT_GT(maxX - minX, 100 * 96 / 360.0 * 1.3);
    }
}

TEST(FrameTextDrawing, NothingWithoutFrameForATallFontOrBelowOnePixelOfZoom) {
    struct Case {
        LayoutRect frame;
        int16_t size;
        int zoomDenominator;
        bool drawn;
    } cases[] = {
        {{100, 100, 100, 100}, 60, 1, true},
        {{100, 0, 100, 100}, 60, 1, false},    // caption on top: no top frame
        {{100, 100, 100, 100}, 150, 1, false}, // taller than the strip
        {{100, 100, 100, 100}, 60, 100, false} // 60 x 1/100 is below one
    };
    for (const Case& c : cases) {
        BlankPage p;
        p.layout->GetViewState()->zoomDenominator = c.zoomDenominator;
        CImageObj* image = test::AddPictureItem(*p.layout, 400, 400, 800, 600, 0x808080);
        image->SetFrame(c.frame);
        image->SetCaptionText("Titel");
        image->SetCaptionFontSize(c.size);
        gfx::ImageSurface s(580, 800);
        p.Paint(s, "view-caption.png");
        EXPECT_EQ(std::find(p.trace.begin(), p.trace.end(), "text Titel") != p.trace.end(), c.drawn) << c.size;
    }
}

TEST(HeaderDrawing, AutomaticSizeIsWrittenBackAndOnlyWholeLinesShow) {
    BlankPage p;
    p.layout->SetHeaderShow(1);
    p.layout->SetHeaderText(1);
    p.layout->SetHeaderDatePage(1);
    p.layout->SetHeaderOffset(10);  // too small for anything
    p.layout->SetHeaderFooterFontSizeAuto(1);
    p.layout->SetHeaderFooterLineHeightPercent(125);
    p.layout->Texts().headerText = "Oben";
    gfx::ImageSurface s(580, 800);
    p.Paint(s, "view-header-small.png");
    EXPECT_EQ(p.layout->HeaderFooterFont().size, 20);
    EXPECT_EQ(p.layout->GetHeaderFooterLineHeight(), 25);
    EXPECT_TRUE(std::none_of(p.trace.begin(), p.trace.end(), [](const std::string& l) { return l == "text Oben"; }));

    // Room for one line of two: the text line only.
    p.trace.clear();
    p.layout->SetHeaderFooterFontSizeAuto(0);
    p.layout->HeaderFooterFont().size = 60;
    p.layout->SetHeaderFooterLineHeight(75);
    p.layout->SetHeaderOffset(120);
    p.Paint(s, "view-header-one-line.png");
    EXPECT_TRUE(std::any_of(p.trace.begin(), p.trace.end(), [](const std::string& l) { return l == "text Oben"; }));
    EXPECT_TRUE(std::none_of(p.trace.begin(), p.trace.end(),
                             [](const std::string& l) { return l.find("Page") != std::string::npos; }));
}

}  // namespace
}  // namespace vx
