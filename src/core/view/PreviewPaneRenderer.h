#pragma once
#include <cstdint>
#include <memory>

#include "view/PreviewZoom.h"

namespace vx {

class CImageObj;
class CLayoutObj;
class CLayoutSetting;
namespace gfx {
class Canvas;
}

/// The image preview pane without its window: the private copy of the item it shows
/// (found again in the active layout by object id), the colour-management box, the
/// zoom, and the drawing of the copy alone at the pane's zoom and scroll position.
///
/// The pane never draws the layout's own item: the copy is moved to the pane's origin
/// for each paint and put back afterwards.
class PreviewPaneRenderer {
public:
    /// How a paint ended.
    enum class Paint { Drawn, Empty, Busy };

    PreviewPaneRenderer();
    ~PreviewPaneRenderer();
    PreviewPaneRenderer(const PreviewPaneRenderer&) = delete;
    PreviewPaneRenderer& operator=(const PreviewPaneRenderer&) = delete;

    PreviewZoom& Zoom() { return mZoom; }
    const PreviewZoom& Zoom() const { return mZoom; }
    /// Screen pixels per unit, by default 96 / 360.
    void SetPixelsPerUnit(double x, double y);

    /// The colour-management box: ticked, and enabled (never for a grey picture).
    bool ColourChecked() const { return mColourChecked && mColourEnabled; }
    bool ColourEnabled() const { return mColourEnabled; }
    /// The box clicked: the shown item's display bitmap follows the new state at once.
    void SetColourChecked(bool checked);

    /// Makes item (null: the item last shown) the shown item. False, and cleared, when
    /// there is none, its file is missing (10417 shown) or it has no area.
    bool ShowObject(const CLayoutObj* item);
    /// The active layout's item with the shown id, or null (then the pane forgets it).
    CImageObj* GetCurrentObject();
    /// Takes the item's display settings again when they changed (a zoom action runs
    /// it first). False when the item cannot be prepared (cleared then).
    bool Rerender(CImageObj& item);
    /// Rerender of the shown item when the preview is shown and the item still exists.
    void RefreshIfChanged();
    /// An item left the layout: the pane clears when it is the shown one.
    void OnObjectRemoved(uint32_t objectId);
    /// Back to empty: no copy, no shown id, the controls disabled.
    void Clear();

    const CImageObj* Copy() const { return mCopy.get(); }
    int64_t ShownId() const { return mShownId; }

    /// Fills canvas (the drawing area, zoom's size) with the button face and draws the
    /// copy over it under the render lock as owner 5; a busy lock leaves the face.
    Paint Draw(gfx::Canvas& canvas);

private:
    bool PrepareObject(CImageObj* target);
    void CopyDisplaySettings(const CImageObj* source);
    bool IsUnchanged(const CImageObj& item) const;

    PreviewZoom mZoom;
    std::unique_ptr<CImageObj> mCopy;
    int64_t mShownId = -1;
    double mXPerUnit = 96.0 / 360;
    double mYPerUnit = 96.0 / 360;
    bool mColourChecked = true;
    bool mColourEnabled = false;
};

/// The layout of the open document, or null.
CLayoutSetting* GetActiveLayout();

}  // namespace vx
