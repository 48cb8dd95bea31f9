#pragma once
#include <filesystem>
#include <vector>

class wxWindow;

namespace vx {

class GPView;

/// Files and folders dropped on window or any window inside it go into the layout of
/// view (images added, the status bar tells the outcome).
void AcceptLayoutDrops(wxWindow* window, GPView* view);
/// A layout file dropped on window (a part of the main window outside the layout
/// window) opens, or reloads the open layout of that file.
void AcceptFrameDrops(wxWindow* window);

/// The two drops as the windows run them (tests call them directly).
int DropOnLayout(GPView* view, const std::vector<std::filesystem::path>& files);
void DropOnFrame(const std::vector<std::filesystem::path>& files);

}  // namespace vx
