#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Fonts.h"

namespace vx::gfx {

struct Canvas::Laid {
    PangoLayoutPtr layout;
    double width = 0;    // logical, along the lines
    double height = 0;   // logical, across them (only the shown lines with a line limit)
    double inkLeft = 0;  // ink and logical together, along the lines
    double inkRight = 0;
    int lines = 0;
    int shownLines = 0;
};

namespace {

// Lines end at "\r\n", '\r' or '\n'; pango wants '\n' alone.
std::string NormaliseBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

double Factor(TextAlign a) { return a == TextAlign::Near ? 0.0 : a == TextAlign::Centre ? 0.5 : 1.0; }

}  // namespace

const PangoFontDescription* Canvas::Description(const Font& font) {
    std::string key = font.family + '|' + std::to_string(font.size) + (font.bold ? "|b" : "|") + (font.italic ? "i" : "");
    auto it = mFonts.find(key);
    if (it != mFonts.end()) return it->second.get();
    const std::string family = ResolveFamily(font.family);
    FontDescription d(pango_font_description_new());
    pango_font_description_set_family(d.get(), family.c_str());
    pango_font_description_set_absolute_size(d.get(), font.size * PANGO_SCALE);
    pango_font_description_set_weight(d.get(), font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d.get(), font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return mFonts.emplace(std::move(key), std::move(d)).first->second.get();
}

PangoContext* Canvas::TextContext(bool vertical) {
    cairo_matrix_t now;
    cairo_get_matrix(mCr.get(), &now);
    // pango takes the turn and scale from the transform, never its offset.
    const auto same = [&](const TurnedContext& c) {
        return c.vertical == vertical && c.xx == now.xx && c.yx == now.yx && c.xy == now.xy && c.yy == now.yy;
    };
    if (mLastContext < mContexts.size() && same(mContexts[mLastContext])) return mContexts[mLastContext].context.get();
    for (size_t i = 0; i < mContexts.size(); ++i)
        if (same(mContexts[i])) {
            mLastContext = i;
            return mContexts[i].context.get();
        }
    // Free texts may each be turned their own way: past a bound, start again. Cached
    // layouts keep their contexts alive, so they go too.
    if (mContexts.size() >= 64) {
        mLayouts.clear();
        mContexts.clear();
    }
    PangoContextPtr context(pango_cairo_create_context(mCr.get()));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context.get(), FALSE);
    pango_context_set_base_gravity(context.get(), vertical ? PANGO_GRAVITY_AUTO : PANGO_GRAVITY_SOUTH);
    pango_context_set_gravity_hint(context.get(), PANGO_GRAVITY_HINT_NATURAL);
    pango_cairo_update_context(mCr.get(), context.get());
    mContexts.push_back({now.xx, now.yx, now.xy, now.yy, vertical, std::move(context)});
    mLastContext = mContexts.size() - 1;
    return mContexts.back().context.get();
}

// Builds (or finds) the layout under the canvas's current transform, for vertical text
// already turned.
Canvas::Laid Canvas::Layout(std::string_view text, const Font& font, const TextFormat& format, const RectD& box) {
    PangoContext* context = TextContext(format.vertical);
    const double lineLength = format.vertical ? box.h : box.w;
    const double lineStack = format.vertical ? box.w : box.h;

    // The key: the text, then the family, the context and the shape's numbers as raw
    // bytes (no formatting: it is built for every string drawn, in a kept buffer).
    std::string& key = mKey;
    key.clear();
    key.append(text).append(1, '\0').append(font.family).append(1, '\0');
    const double numbers[3] = {font.size, lineLength, lineStack};
    const uint8_t flags[8] = {uint8_t(font.bold), uint8_t(font.italic), uint8_t(font.underline),
                              uint8_t(format.align), uint8_t(format.wrap), uint8_t(format.trimming),
                              uint8_t(format.lineLimit), uint8_t(format.vertical)};
    key.append(reinterpret_cast<const char*>(&context), sizeof context);
    key.append(reinterpret_cast<const char*>(numbers), sizeof numbers);
    key.append(reinterpret_cast<const char*>(flags), sizeof flags);

    Laid laid;
    auto cached = mLayouts.find(key);
    if (cached != mLayouts.end()) {
        const CachedLayout& c = cached->second;
        laid.layout.reset(PANGO_LAYOUT(g_object_ref(c.layout.get())));
        // The measures hold while pango has not laid the string out again.
        if (pango_layout_get_serial(c.layout.get()) == c.serial) {
            laid.width = c.width;
            laid.height = c.height;
            laid.inkLeft = c.inkLeft;
            laid.inkRight = c.inkRight;
            laid.lines = c.lines;
            laid.shownLines = c.shownLines;
            return laid;
        }
    } else {
        laid.layout.reset(pango_layout_new(context));
        PangoLayout* layout = laid.layout.get();
        const std::string normal = NormaliseBreaks(text);
        pango_layout_set_text(layout, normal.c_str(), int(normal.size()));
        pango_layout_set_font_description(layout, Description(font));
        if (font.underline) {
            PangoAttrList* attrs = pango_attr_list_new();
            pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
            pango_layout_set_attributes(layout, attrs);
            pango_attr_list_unref(attrs);
        }
        pango_layout_set_alignment(layout, format.align == TextAlign::Near     ? PANGO_ALIGN_LEFT
                                           : format.align == TextAlign::Centre ? PANGO_ALIGN_CENTER
                                                                               : PANGO_ALIGN_RIGHT);
        const bool wrap = lineLength > 0 && (format.wrap || format.trimming == Trimming::Word);
        if (lineLength > 0 && (wrap || format.trimming == Trimming::Ellipsis)) {
            pango_layout_set_width(layout, int(lineLength * PANGO_SCALE));
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
            if (format.trimming == Trimming::Ellipsis) {
                pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
                // Wrapped: the last line that fits ends in "…"; unwrapped: every line does.
                pango_layout_set_height(layout, wrap && lineStack > 0 ? int(lineStack * PANGO_SCALE) : -1);
            }
        }
        if (mLayouts.size() >= 4096) mLayouts.clear();
        cached = mLayouts.emplace(key, CachedLayout{}).first;
        cached->second.layout.reset(PANGO_LAYOUT(g_object_ref(layout)));
    }
    PangoLayout* layout = laid.layout.get();

    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    laid.width = logical.width / double(PANGO_SCALE);
    laid.height = logical.height / double(PANGO_SCALE);
    laid.inkLeft = std::min(ink.x, logical.x) / double(PANGO_SCALE);
    laid.inkRight = std::max(ink.x + ink.width, logical.x + logical.width) / double(PANGO_SCALE);
    laid.lines = pango_layout_get_line_count(layout);
    laid.shownLines = laid.lines;
    // Word trimming and the line limit show whole lines only.
    if (lineStack > 0 && (format.lineLimit || format.trimming == Trimming::Word)) {
        PangoLayoutIter* iter = pango_layout_get_iter(layout);
        int shown = 0;
        double bottom = 0;
        do {
            PangoRectangle line;
            pango_layout_iter_get_line_extents(iter, nullptr, &line);
            const double lineBottom = (line.y + line.height) / double(PANGO_SCALE);
            if (lineBottom > lineStack + 1e-6) break;
            ++shown;
            bottom = lineBottom;
        } while (pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
        laid.shownLines = shown;
        laid.height = bottom;
    }
    CachedLayout& c = cached->second;
    c.serial = pango_layout_get_serial(layout);
    c.width = laid.width;
    c.height = laid.height;
    c.inkLeft = laid.inkLeft;
    c.inkRight = laid.inkRight;
    c.lines = laid.lines;
    c.shownLines = laid.shownLines;
    return laid;
}

void Canvas::DrawText(std::string_view text, const Font& font, const TextFormat& format, const RectD& box,
                      Rgba colour) {
    if (mTrace) mTrace->push_back("text " + std::string(text));
    if (text.empty()) return;
    cairo_t* cr = mCr.get();
    cairo_save(cr);
    if (box.w > 0 && box.h > 0) ClipRect(box);
    double originX = box.x, originY = box.y;
    if (format.vertical) {
        // Columns run down from the box's right edge; the layout's own y points left.
        cairo_translate(cr, box.x + box.w, box.y);
        cairo_rotate(cr, M_PI / 2);
        originX = 0;
        originY = 0;
    }
    Laid laid = Layout(text, font, format, box);
    if (laid.shownLines == 0) {
        cairo_restore(cr);
        return;
    }
    const double lineLength = format.vertical ? box.h : box.w;
    const double lineStack = format.vertical ? box.w : box.h;
    double x = originX, y = originY;
    if (lineLength > 0 && pango_layout_get_width(laid.layout.get()) < 0)
        x += (lineLength - laid.width) * Factor(format.align);
    if (lineStack > 0) y += (lineStack - laid.height) * Factor(format.lineAlign);
    if (laid.shownLines < laid.lines) {
        cairo_rectangle(cr, x - 1e4, y, 2e4 + lineLength, laid.height);
        cairo_clip(cr);
    }
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
    if (laid.shownLines < laid.lines) {
        // Lines past the limit are clipped away whole: they are not drawn at all.
        PangoLayoutIter* iter = pango_layout_get_iter(laid.layout.get());
        int line = 0;
        do {
            PangoRectangle logical;
            pango_layout_iter_get_line_extents(iter, nullptr, &logical);
            const int baseline = pango_layout_iter_get_baseline(iter);
            cairo_move_to(cr, x + logical.x / double(PANGO_SCALE), y + baseline / double(PANGO_SCALE));
            pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(iter));
        } while (++line < laid.shownLines && pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
    } else {
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout(cr, laid.layout.get());
    }
    cairo_restore(cr);
}

TextExtent Canvas::MeasureText(std::string_view text, const Font& font, const TextFormat& format, const RectD& box) {
    if (text.empty()) return {};
    cairo_save(mCr.get());
    if (format.vertical) cairo_rotate(mCr.get(), M_PI / 2);
    Laid laid = Layout(text, font, format, box);
    cairo_restore(mCr.get());
    // Along the lines the extent covers the ink too: an italic overhang stays in the box.
    return {std::max(laid.width, laid.inkRight - std::min(0.0, laid.inkLeft)), laid.height, laid.shownLines};
}

double Canvas::LineSpacing(const Font& font) {
    PangoFontMetrics* metrics = pango_context_get_metrics(TextContext(false), Description(font), nullptr);
    if (!metrics) return 0;
    const double h = (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
                     double(PANGO_SCALE);
    pango_font_metrics_unref(metrics);
    return h;
}

}  // namespace vx::gfx
