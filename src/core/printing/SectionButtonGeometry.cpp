#include "printing/SectionButtonGeometry.h"

#include <algorithm>
#include <cstdint>

namespace vx {

int EvenDown(int length) {
    // C++ division truncates towards zero, so negative requests round up in value.
    return length / 2 * 2;
}

int SectionButtonSide(int width, int height) { return std::max(0, EvenDown(std::min(width, height))); }

SectionTriangle SectionButtonTriangle(int state, int side) {
    const int h = side / 2;
    switch (static_cast<SectionButtonState>(state)) {
    case SectionButtonState::Up: return {{{h, 0}, {side, side}, {0, side}}};
    case SectionButtonState::Down: return {{{h, side}, {0, 0}, {side, 0}}};
    case SectionButtonState::Left: return {{{0, h}, {side, 0}, {side, side}}};
    case SectionButtonState::Right:
    default: return {{{side, h}, {0, side}, {0, 0}}};
    }
}

SectionTriangle SectionFocusTriangle(int state, int side) {
    const int h = side / 2;
    const int far = side - 6;  // the base, 6 pixels in from the side opposite the apex
    switch (static_cast<SectionButtonState>(state)) {
    case SectionButtonState::Up: return {{{h, 12}, {side - 9, far}, {9, far}}};
    case SectionButtonState::Down: return {{{h, side - 12}, {9, 6}, {side - 9, 6}}};
    case SectionButtonState::Left: return {{{12, h}, {far, 9}, {far, side - 9}}};
    case SectionButtonState::Right:
    default: return {{{side - 12, h}, {6, side - 9}, {6, 9}}};
    }
}

bool PointInSectionTriangle(const SectionTriangle& t, int x, int y) {
    auto cross = [&](const SectionPoint& a, const SectionPoint& b) {
        return int64_t{b.x - a.x} * (y - a.y) - int64_t{b.y - a.y} * (x - a.x);
    };
    const int64_t d0 = cross(t[0], t[1]);
    const int64_t d1 = cross(t[1], t[2]);
    const int64_t d2 = cross(t[2], t[0]);
    const bool hasNegative = d0 < 0 || d1 < 0 || d2 < 0;
    const bool hasPositive = d0 > 0 || d1 > 0 || d2 > 0;
    return !(hasNegative && hasPositive);
}

}  // namespace vx
