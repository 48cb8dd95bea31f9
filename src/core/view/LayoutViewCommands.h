#pragma once
#include <string>

#include "imaging/DibBuffer.h"

namespace vx {

struct ViewGeometry;

/// How a command shows in menus and toolbars.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    std::string text;  // empty: the item keeps its text
};

/// The commands of the layout view that the document forwards to it, by command id
/// (edit: cut, copy, paste, undo, clear, duplicate, duplicate several times; page:
/// go to, first, last, next, previous, insert before and after, delete; selection: all,
/// images, images of the page, images of the folder, free texts, free lines, invert,
/// none), the zoom steps and the off-screen page drawing. Each works on the layout of
/// its own document and redraws. Implemented by the view.
class LayoutViewCommands {
public:
    virtual ~LayoutViewCommands() = default;

    virtual void OnCommand(int commandId) = 0;
    virtual void OnUpdateCommand(int commandId, CommandState& state) = 0;

    virtual void ZoomToFit() = 0;
    virtual void ZoomInStep() = 0;
    virtual void ZoomOutStep() = 0;

    /// The view's first page drawn in drawing mode into pixels of the geometry's page
    /// size; null on failure.
    virtual DibBufferPtr DrawPageOffscreen(int mode, const ViewGeometry& geometry) = 0;
};

}  // namespace vx
