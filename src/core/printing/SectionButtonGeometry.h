#pragma once
#include <array>

namespace vx {

/// Direction of a section button's triangle; the print-settings pane reads Down as an
/// open section and every other direction as a closed one.
enum class SectionButtonState : int { Up = 0, Down = 1, Left = 2, Right = 3 };

struct SectionPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SectionPoint&, const SectionPoint&) = default;
};

using SectionTriangle = std::array<SectionPoint, 3>;

/// Any size request rounded down (towards zero) to even numbers.
int EvenDown(int length);

/// The side of the square a button of width x height is cut to: the smaller of the two,
/// rounded down to an even number (13 x 11 gives 10).
int SectionButtonSide(int width, int height);

/// The triangle of a button of the given side, pointing in the direction of state;
/// an unknown state is drawn as Right, the state a button starts with.
SectionTriangle SectionButtonTriangle(int state, int side);

/// The inner focus triangle: apex 12 pixels in, base 6 pixels in and 9 in from either
/// end, turned with the direction.
SectionTriangle SectionFocusTriangle(int state, int side);

/// Whether (x, y) lies in the triangle, edges included.
bool PointInSectionTriangle(const SectionTriangle& triangle, int x, int y);

}  // namespace vx
