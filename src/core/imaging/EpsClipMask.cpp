#include "imaging/EpsClipMask.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "imaging/ImageResources.h"

namespace vx {
namespace {

constexpr uint16_t kClippingPathName = 2999;
constexpr uint16_t kFirstPath = 2000;
constexpr uint16_t kLastPath = 2998;
constexpr size_t kRecordBytes = 26;
constexpr int64_t kTolerance = 3;
constexpr double kOutlineWidth = 5;
// A path of real pictures needs some thousands; far-out control points need millions.
constexpr size_t kMaxPoints = 1000000;
// Halving a curve of sides within the clamped range reaches the tolerance long before.
constexpr int kMaxDepth = 40;

enum Selector : uint16_t { kClosedLength = 0, kClosedLinked = 1, kClosedUnlinked = 2, kOpenLength = 3 };

struct Knot {
    PathPoint before, anchor, after;
};

PathPoint Mid(PathPoint a, PathPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

bool Flatten(PathPoint p0, PathPoint p1, PathPoint p2, PathPoint p3, int64_t tolerance,
             std::vector<PathPoint>& points, size_t maxPoints, int depth) {
    auto near = [tolerance](PathPoint a, PathPoint b) {
        return std::abs(a.x - b.x) < tolerance && std::abs(a.y - b.y) < tolerance;
    };
    for (;; ++depth) {
        if ((near(p0, p1) && near(p1, p2) && near(p2, p3)) || depth >= kMaxDepth) {
            if (points.size() + 3 > maxPoints) return false;
            points.insert(points.end(), {p1, p2, p3});
            return true;
        }
        const PathPoint p01 = Mid(p0, p1), p12 = Mid(p1, p2), p23 = Mid(p2, p3);
        const PathPoint p012 = Mid(p01, p12), p123 = Mid(p12, p23);
        const PathPoint p0123 = Mid(p012, p123);
        if (!Flatten(p0, p01, p012, p0123, tolerance, points, maxPoints, depth + 1)) return false;
        p0 = p0123;
        p1 = p123;
        p2 = p23;
    }
}

/// The Pascal string at the start of resource 2999's data.
std::span<const uint8_t> ClippingPathName(std::span<const uint8_t> resources) {
    const std::optional<ImageResource> r = FindImageResource(resources, kClippingPathName);
    if (!r || r->data.empty()) return {};
    const size_t length = std::min<size_t>(r->data[0], r->data.size() - 1);
    return r->data.subspan(1, length);
}

std::span<const uint8_t> ClippingPath(std::span<const uint8_t> resources) {
    const std::span<const uint8_t> name = ClippingPathName(resources);
    if (name.empty()) return {};
    ImageResourceReader reader(resources);
    for (ImageResource r; reader.Next(r);)
        if (r.id >= kFirstPath && r.id <= kLastPath && std::ranges::equal(r.name, name)) return r.data;
    return {};
}

/// The closed subpaths of path data. A subpath whose knots are cut short by another
/// record is left out; open subpaths, fill rules and unknown records are skipped.
std::vector<std::vector<Knot>> ClosedSubpaths(std::span<const uint8_t> data, int width, int height) {
    // Points far outside the picture are pulled in: they change nothing inside it that
    // matters, and they would cost millions of points.
    const int64_t margin = std::max(width, height);
    auto point = [&](const uint8_t* p) {
        const int64_t v = int32_t(BigEndianValue(p, 4));
        const int64_t h = int32_t(BigEndianValue(p + 4, 4));
        return PathPoint{std::clamp((h * width) >> 24, -margin, width + margin),
                         std::clamp((v * height) >> 24, -margin, height + margin)};
    };
    std::vector<std::vector<Knot>> subpaths;
    std::vector<Knot> knots;
    size_t expected = 0;
    for (size_t at = 0; at + kRecordBytes <= data.size(); at += kRecordBytes) {
        const uint8_t* r = data.data() + at;
        switch (BigEndianValue(r, 2)) {
            case kClosedLength:
            case kOpenLength:
                knots.clear();
                expected = BigEndianValue(r, 2) == kClosedLength ? BigEndianValue(r + 2, 2) : 0;
                break;
            case kClosedLinked:
            case kClosedUnlinked:
                if (expected == 0) break;  // a knot outside a closed subpath
                knots.push_back({point(r + 2), point(r + 10), point(r + 18)});
                if (--expected == 0) {
                    subpaths.push_back(std::move(knots));
                    knots.clear();
                }
                break;
            default: break;
        }
    }
    return subpaths;
}

struct SurfaceDestroy {
    void operator()(cairo_surface_t* s) const noexcept { cairo_surface_destroy(s); }
};
struct ContextDestroy {
    void operator()(cairo_t* c) const noexcept { cairo_destroy(c); }
};

}  // namespace

bool FlattenBezier(PathPoint start, PathPoint control1, PathPoint control2, PathPoint end,
                   int64_t tolerance, std::vector<PathPoint>& points, size_t maxPoints) {
    return Flatten(start, control1, control2, end, std::max<int64_t>(tolerance, 1), points, maxPoints, 0);
}

bool BuildEpsClipMask(std::span<const uint8_t> resources, int width, int height, std::vector<uint8_t>& mask) {
    if (width < 1 || height < 1) return false;
    const std::span<const uint8_t> path = ClippingPath(resources);
    if (path.empty()) return false;
    std::vector<std::vector<PathPoint>> polygons;
    size_t total = 0;
    for (const std::vector<Knot>& knots : ClosedSubpaths(path, width, height)) {
        std::vector<PathPoint> points = {knots.front().anchor};
        for (size_t i = 0; i < knots.size(); ++i) {
            const Knot& from = knots[i];
            const Knot& to = knots[(i + 1) % knots.size()];
            if (!FlattenBezier(from.anchor, from.after, to.before, to.anchor, kTolerance, points, kMaxPoints - total))
                return false;
        }
        total += points.size();
        polygons.push_back(std::move(points));
    }
    if (polygons.empty()) return false;

    std::unique_ptr<cairo_surface_t, SurfaceDestroy> surface(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return false;
    std::unique_ptr<cairo_t, ContextDestroy> cr(cairo_create(surface.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return false;
    // A binary mask, as the original region and pen gave.
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr.get(), CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_rgba(cr.get(), 0, 0, 0, 1);
    for (const std::vector<PathPoint>& polygon : polygons) {
        cairo_move_to(cr.get(), double(polygon.front().x), double(polygon.front().y));
        for (size_t i = 1; i < polygon.size(); ++i) cairo_line_to(cr.get(), double(polygon[i].x), double(polygon[i].y));
        cairo_close_path(cr.get());
    }
    cairo_fill_preserve(cr.get());
    cairo_set_line_width(cr.get(), kOutlineWidth);
    cairo_stroke(cr.get());
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return false;
    cairo_surface_flush(surface.get());

    const uint8_t* bits = cairo_image_surface_get_data(surface.get());
    const size_t stride = size_t(cairo_image_surface_get_stride(surface.get()));
    mask.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        std::copy_n(bits + size_t(y) * stride, size_t(width), mask.data() + size_t(y) * size_t(width));
    return true;
}

}  // namespace vx
