#pragma once
#include <string>

#include <wx/gdicmn.h>
#include <wx/image.h>

class wxWindow;

// What the screen of a window test shows, and letting the program paint it first.

namespace vx::test {

/// Lets the program handle what is pending, a few rounds.
void Settle(int rounds = 10);
/// Paints the window again and lets the program settle: a shot then shows it as it is.
void Repaint(wxWindow* window);
/// What the screen shows in the rectangle (screen coordinates).
wxImage ScreenShot(const wxRect& rect);
/// What the screen shows in the rectangle, written to the test output folder as name.
wxImage Shot(const wxRect& rect, const std::string& name);
/// What the screen shows of a window, written to the test output folder as name.
wxImage Shot(wxWindow* window, const std::string& name);

}  // namespace vx::test
