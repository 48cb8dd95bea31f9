// The texts of a page: labels and captions in image frames, free texts, header and footer.
#include "view/TextWork.h"

#include <algorithm>
#include <cmath>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/FreeTextLines.h"
#include "model/ImageLabels.h"
#include "model/PageGeometry.h"
#include "view/CGPView.h"
#include "view/HeaderFooterText.h"
#include "view/PassColours.h"
#include "view/RenderState.h"

namespace vx {

gfx::Font MakeFont(const std::string& face, int style, double size) {
    gfx::Font f;
    if (!face.empty()) f.family = face;
    f.size = size;
    f.bold = (style & 0x100) != 0;
    f.italic = (style & 0x200) != 0;
    f.underline = (style & 0x400) != 0;
    return f;
}

bool PlaceFrameText(int side, bool upsideDown, double left, double top, double right, double bottom, double fl,
                    double ft, double fr, double fb, FrameTextPlace& out) {
    const double frame = side == 0 ? ft : side == 2 ? fl : side == 3 ? fr : fb;
    if (!(frame > 0)) return false;
    if (side == 2 || side == 3) {
        // Laid out along the strip, then turned into it about the box centre.
        const double length = (bottom - top) - ft - fb;
        const double cx = side == 2 ? left + fl / 2 : right - fr / 2;
        const double cy = (top + ft + bottom - fb) / 2;
        out.box = {cx - length / 2, cy - frame / 2, length, frame};
        out.angle = side == 2 ? (upsideDown ? 270 : 90) : (upsideDown ? 90 : -90);
        return true;
    }
    const double width = (right - left) - fl - fr;
    if (side == 0) {
        out.box = {left + fl, top, width, ft};
        out.angle = upsideDown ? 0 : 180;
    } else {
        out.box = {left + fl, bottom - fb, width, fb};
        out.angle = upsideDown ? 180 : 0;
    }
    return true;
}

void CGPView::DrawFrameText(const CImageObj& item, const std::string& text, const std::string& face, int16_t size,
                            ColorRef colour, int location, bool upsideDown, int align) {
    RenderState& rs = Pass();
    gfx::Canvas* canvas = rs.GetCanvas();
    if (!canvas || text.empty()) return;
    const double zoom = rs.IsPrinting() || !rs.GetGeometry() ? 1.0 : rs.GetGeometry()->zoom;
    if (std::trunc(size * zoom) < 1) return;
    const int side = MapLabelPosition(item, location);
    const LayoutRect frame = item.GetFrame();
    const double xs = rs.GetScaleX(), ys = rs.GetScaleY();
    const PixelRect r = ItemDeviceRect(item);
    FrameTextPlace place;
    if (!PlaceFrameText(side, upsideDown, r.left, r.top, r.right, r.bottom, frame.left * xs, frame.top * ys,
                        frame.right * xs, frame.bottom * ys, place))
        return;
    const gfx::Font font = MakeFont(face, 0, size * ys);
    if (font.size > place.box.h) return;
    gfx::TextFormat format;
    format.align = align == 1 ? gfx::TextAlign::Centre : align == 2 ? gfx::TextAlign::Far : gfx::TextAlign::Near;
    format.lineAlign = gfx::TextAlign::Centre;
    format.wrap = true;
    format.trimming = gfx::Trimming::Word;
    format.lineLimit = true;
    canvas->Save();
    if (place.angle != 0)
        canvas->RotateAbout(place.box.x + place.box.w / 2, place.box.y + place.box.h / 2, place.angle);
    canvas->DrawText(text, font, format, place.box, PassRgba(rs, mLayout, colour));
    canvas->Restore();
}

void CGPView::DrawImageLabelText(const CImageObj& item) {
    if (item.GetLabelSelection() == 0) return;
    DrawFrameText(item, item.GetLabelText(), item.GetLabelFontName(), item.GetLabelFontSize(),
                  item.GetLabelFontColor(), item.GetLabelLocation(), item.GetLabelUpsideDown() != 0,
                  item.GetLabelAlign());
}

void CGPView::DrawImageCaptionText(const CImageObj& item) {
    DrawFrameText(item, item.GetCaptionText(), item.GetCaptionFontName(), item.GetCaptionFontSize(),
                  item.GetCaptionFontColor(), item.GetCaptionLocation(), item.GetCaptionUpsideDown() != 0,
                  item.GetCaptionAlign());
}

void CGPView::DrawFreeText(const CLayoutObj& item) {
    RenderState& rs = Pass();
    gfx::Canvas* canvas = rs.GetCanvas();
    if (!canvas || item.GetKind() != kKindText) return;
    const CTextObj& text = static_cast<const CTextObj&>(item);
    const double xs = rs.GetScaleX(), ys = rs.GetScaleY();
    const LayoutPoint pos = item.GetPosition();
    const auto device = [&](LayoutPoint offset) {
        return ItemDeviceOrigin(item, {ClampToInt32(int64_t(pos.x) + offset.x), ClampToInt32(int64_t(pos.y) + offset.y)});
    };

    if (text.GetBackgroundColor() != 0) {
        const CTextObj::BoxPoints& box = text.GetBoxPoints();
        gfx::geom::Polygon polygon{{device(box[0]), device(box[2]), device(box[4]), device(box[6])}};
        canvas->FillPolygon(polygon, PassRgba(rs, mLayout, text.GetBackgroundColorValue()));
    }

    // The unturned box, turned as a whole about its centre as the model turns it.
    const gfx::geom::Point o = device(item.GetOffsetOrgPos());
    const double w = item.GetOrgSize().x * xs, h = item.GetOrgSize().y * ys;
    const FontSpec& textFont = text.GetFont();
    const gfx::Font font = MakeFont(textFont.face, textFont.style, textFont.size * ys);
    const bool vertical = text.GetColumnarWriting() != 0;
    gfx::TextFormat format;
    format.vertical = vertical;
    const int justify = text.GetTextJustify();
    format.align = justify == -1 ? gfx::TextAlign::Far : justify == 1 ? gfx::TextAlign::Centre : gfx::TextAlign::Near;
    const double step = ys * text.GetTextLineHeight();
    const gfx::Rgba colour = PassRgba(rs, mLayout, textFont.color);

    canvas->Save();
    if (item.GetAngle() != 0) canvas->RotateAbout(o.x + w / 2, o.y + h / 2, item.GetAngle());
    int i = 0;
    for (std::string_view line : SplitFreeTextLines(text.GetText())) {
        // Rows from the top, one step apart; columns of vertical writing from the right.
        const gfx::RectD box = vertical ? gfx::RectD{o.x + w - i * step, o.y, 0, h} : gfx::RectD{o.x, o.y + i * step, w, 0};
        canvas->DrawText(line, font, format, box, colour);
        ++i;
    }
    canvas->Restore();
}

void CGPView::FormatHeaderFooterText() {
    if (mLayout) vx::FormatHeaderFooterText(*mLayout);
}

void CGPView::DrawHeaderFooter() {
    RenderState& rs = Pass();
    if (!rs.GetCanvas() || !rs.GetGeometry()) return;
    const PixelRect& area = rs.GetGeometry()->layoutArea;
    const double ys = rs.GetScaleY();
    const int page = (mLayout->GetBanner() || rs.GetMode() >= kDrawPreview ? 0 : mCurrentPage) + 1;
    const LayoutTexts& t = mLayout->Texts();
    struct Part {
        bool show;
        int32_t offset;
        bool text;
        const std::string& free;
        bool info, datePage;
        const std::string& shown;
        bool header;
    } parts[] = {
        {mLayout->GetHeaderShow() != 0, mLayout->GetHeaderOffset(), mLayout->GetHeaderText() != 0, t.headerText,
         mLayout->GetHeaderPrintInfo() != 0, mLayout->GetHeaderDatePage() != 0, t.extraText1, true},
        {mLayout->GetFooterShow() != 0, mLayout->GetFooterOffset(), mLayout->GetFooterText() != 0, t.footerText,
         mLayout->GetFooterPrintInfo() != 0, mLayout->GetFooterDatePage() != 0, t.extraText2, false},
    };
    for (const Part& p : parts) {
        if (!p.show) continue;
        const int32_t height = int32_t(p.offset * ys);
        const PixelRect block = p.header ? PixelRect{area.left, area.top, area.right, area.top + height}
                                         : PixelRect{area.left, area.bottom - height, area.right, area.bottom};
        const int lines = int(p.text && !p.free.empty()) + int(p.info) + int(p.datePage);
        if (mLayout->GetHeaderFooterFontSizeAuto() == 1 && lines > 0) {
            int32_t percent = mLayout->GetHeaderFooterLineHeightPercent();
            if (percent <= 0) percent = 100;
            const int16_t size = AutoHeaderFooterFontSize(p.offset, percent, lines);
            mLayout->HeaderFooterFont().size = size;
            mLayout->SetHeaderFooterLineHeight(int16_t(std::min<int64_t>(int64_t(size) * percent / 100, INT16_MAX)));
        }
        DrawHeaderFooterLines(NumberedHeaderFooterBlock(p.shown, p.datePage, page), block);
    }
}

void CGPView::DrawHeaderFooterLines(const std::string& text, const PixelRect& block) {
    RenderState& rs = Pass();
    gfx::Canvas& canvas = *rs.GetCanvas();
    const double ys = rs.GetScaleY();
    const FontSpec& textFont = mLayout->HeaderFooterFont();
    const gfx::Font font = MakeFont(textFont.face, textFont.style, textFont.size * ys);
    gfx::TextFormat format;
    const int justify = mLayout->GetHeaderFooterJustify();
    format.align = justify == -1 ? gfx::TextAlign::Far : justify == 1 ? gfx::TextAlign::Centre : gfx::TextAlign::Near;
    format.trimming = gfx::Trimming::Ellipsis;
    const double lineHeight = canvas.LineSpacing(font);
    const int64_t step = int64_t(mLayout->GetHeaderFooterLineHeight() * ys);
    const int64_t height = int64_t(block.bottom) - block.top;
    if (step <= 0) return;
    const gfx::Rgba colour = PassRgba(rs, mLayout, textFont.color);
    std::vector<std::string_view> lines = SplitFreeTextLines(text);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the block ends in CR LF
    int64_t drawn = 0;
    for (std::string_view line : lines) {
        const int64_t top = block.top + drawn * step;
        if (top + step > block.bottom || drawn * step > height) break;
        canvas.DrawText(line, font, format, {double(block.left), double(top), double(block.right) - block.left, lineHeight},
                        colour);
        ++drawn;
    }
}

}  // namespace vx
