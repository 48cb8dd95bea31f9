#pragma once
#include <wx/dc.h>

#include "platform/gfx/ImageSurface.h"

class wxWindow;

namespace vx {

/// Prepares window for painting only from off-screen surfaces: no background erase,
/// so nothing flickers between the erase and the copy.
void PrepareSurfaceWindow(wxWindow& window);

/// Copies surface to the paint DC's window with its top-left at (x, y), in one step,
/// through the DC's own cairo context.
void PaintSurface(wxDC& dc, const gfx::ImageSurface& surface, int x, int y);

/// Reads the theme's button face, button text and highlight colours into the drawing
/// layer's system colours.
void FillSystemColours();

}  // namespace vx
