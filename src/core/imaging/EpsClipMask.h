#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vx {

struct PathPoint {
    int64_t x = 0;
    int64_t y = 0;
    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

/// Appends the cubic curve start-control1-control2-end as points: when every step of
/// the control polygon is shorter than `tolerance` in x and in y, control1, control2
/// and end; otherwise the curve is halved (whole-number midpoints) and each half
/// flattened. False once `points` would hold more than maxPoints.
bool FlattenBezier(PathPoint start, PathPoint control1, PathPoint control2, PathPoint end,
                   int64_t tolerance, std::vector<PathPoint>& points, size_t maxPoints);

/// The clipping mask of a block of image resources for a width x height picture: the
/// path resource (ids 2000 to 2998) named by resource 2999, its closed subpaths filled
/// even-odd and outlined 5 pixels wide, without antialiasing. `mask` gets one byte per
/// pixel, top row first: 255 inside, 0 outside. False (no mask) without a clipping
/// path, without a closed subpath, or when the path needs too many points.
bool BuildEpsClipMask(std::span<const uint8_t> resources, int width, int height,
                      std::vector<uint8_t>& mask);

}  // namespace vx
