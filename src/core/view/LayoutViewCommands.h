#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "host/LayoutView.h"
#include "imaging/DibBuffer.h"

namespace vx {

struct ViewGeometry;

/// Codes of the document's update of its views.
enum ViewUpdateCode : int {
    kViewHintZoom = 0,       // zoom or layout changed: keep the centre, redraw
    kViewHintPageSize = 1,   // page size or page offset changed: scroll sizes, redraw
    kViewHintSelection = 3,  // the selection changed
};

/// One update of the views: a code, or a client rectangle to redraw.
struct ViewUpdateHint {
    int code = kViewHintZoom;
    std::optional<PixelRect> rect;  // set: redraw this rectangle (client pixels), code unused
};

/// How a command shows in menus and toolbars.
struct CommandState {
    bool enabled = true;
    bool checked = false;
    std::string text;  // empty: the item keeps its text
};

/// The state of a command that keeps its text.
inline CommandState Enabled(bool enabled, bool checked = false) { return {enabled, checked, {}}; }

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
    /// Applies the zoom ratio of the zoom and page bar; false when refused.
    virtual bool SetZoom(int32_t numerator, int32_t denominator) {
        (void)numerator;
        (void)denominator;
        return false;
    }
    /// The document's update of its views.
    virtual void OnViewUpdate(const ViewUpdateHint& hint) { (void)hint; }

    /// The view's first page drawn in drawing mode into pixels of the geometry's page
    /// size; null on failure.
    virtual DibBufferPtr DrawPageOffscreen(int mode, const ViewGeometry& geometry) = 0;
};

}  // namespace vx
