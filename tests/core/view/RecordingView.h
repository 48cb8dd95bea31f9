#pragma once
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "model/CImageObj.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "view/CGPView.h"
#include "view/RenderImageObject.h"
#include "view/RenderState.h"

namespace vx::test {

/// A view that records its layers and hooks in call order, spools bands into a list,
/// and can be told to fail.
struct RecordingView : CGPView {
    struct Spooled {
        PixelRect clipped;
        int page;
        int band;
        uint32_t pixel;  // the band's pixel at probe, 0xRRGGBB
    };
    std::vector<std::string> calls;
    std::vector<Spooled> spooled;
    PixelPoint probe{0, 0};  // in the band's pixels
    bool spoolAnswer = true;
    int cancelAfterBands = -1;
    int aborts = 0;
    int steps = 0;
    std::vector<double> lineScales;  // the canvas's x scale in each free-line pass
    std::function<void(const CImageObj&, unsigned)> onImage;

    std::vector<bool> smoothing;  // the canvas's anti-aliasing in each page rendering
    void RenderPageContent(const PixelRect* band, unsigned mask) override {
        smoothing.push_back(Pass().GetCanvas()->Antialias());
        if (mask == kMaskLines) {
            cairo_matrix_t m;
            cairo_get_matrix(Pass().GetCanvas()->Native(), &m);
            lineScales.push_back(m.xx);
        }
        CGPView::RenderPageContent(band, mask);
    }

    using CGPView::Pass;

protected:
    void DrawPageBackground() override {
        calls.push_back("background");
        CGPView::DrawPageBackground();
    }
    void DrawPageMarginsWhite() override {
        calls.push_back("white margins");
        CGPView::DrawPageMarginsWhite();
    }
    void DrawDesk() override {
        calls.push_back("desk");
        CGPView::DrawDesk();
    }
    void DrawPageBorder() override {
        calls.push_back("border");
        CGPView::DrawPageBorder();
    }
    void DrawPageShadow() override {
        calls.push_back("shadow");
        CGPView::DrawPageShadow();
    }
    void DrawMarginFrame() override {
        calls.push_back("margin frame");
        CGPView::DrawMarginFrame();
    }
    void DrawLayoutAreaFrame() override {
        calls.push_back("layout-area frame");
        CGPView::DrawLayoutAreaFrame();
    }
    void DrawGrid() override {
        calls.push_back("grid");
        CGPView::DrawGrid();
    }
    void DrawMarkedItemFrame(PixelRect r) override {
        calls.push_back("marked");
        CGPView::DrawMarkedItemFrame(r);
    }
    void RenderImage(const CImageObj& item, unsigned parts) override {
        calls.push_back(parts == kRenderPicturePass ? "picture" : parts == kRenderOverlayPass ? "overlay" : "image?");
        if (onImage) onImage(item, parts);
        CGPView::RenderImage(item, parts);
    }
    void DrawFreeText(const CLayoutObj&) override { calls.push_back("free text"); }
    void DrawFreeLine(const CLayoutObj&) override { calls.push_back("free line"); }
    void DrawImageLabelText(const CImageObj&) override { calls.push_back("label"); }
    void DrawImageCaptionText(const CImageObj&) override { calls.push_back("caption"); }
    void DrawCutFrameStyle1(const PixelRect&) override { calls.push_back("cut frame 1"); }
    void DrawCutFrameStyle2(const PixelRect&) override { calls.push_back("cut frame 2"); }
    void DrawImagePlaceholders() override { calls.push_back("placeholders"); }
    void DrawAutoCutLines(const std::vector<PixelRect>& images, double) override {
        calls.push_back("auto cut lines " + std::to_string(images.size()));
    }
    void FormatHeaderFooterText() override { calls.push_back("header text"); }
    void DrawHeaderFooter() override { calls.push_back("header and footer"); }
    void DrawRulers() override { calls.push_back("rulers"); }
    std::optional<PixelPoint> HandlePoint(const CLayoutObj&, const PixelRect& r, int index) override {
        calls.push_back("handle " + std::to_string(index));
        return PixelPoint{r.left, r.top};
    }
    bool SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect& clipped, int page, int band) override {
        spooled.push_back({clipped, page, band, surface.Pixel(probe.x, probe.y) & 0xFFFFFF});
        return spoolAnswer;
    }
    void StepPrintStatus() override { ++steps; }
    bool PrintCancelled() override {
        return cancelAfterBands >= 0 && int(spooled.size()) + steps >= cancelAfterBands;
    }
    void AbortPrintDevice() override { ++aborts; }
};

}  // namespace vx::test
