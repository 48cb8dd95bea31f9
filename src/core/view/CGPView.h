#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/LayoutView.h"
#include "imaging/DibBuffer.h"
#include "model/LayoutTypes.h"
#include "platform/gfx/Geom.h"
#include "view/BandStore.h"
#include "view/PassGeometry.h"
#include "view/RenderState.h"
#include "view/ItemTracker.h"

namespace vx {

class CImageObj;
class CLayoutObj;
class CLineObj;
class CTextObj;
class PrintJob;
class CLayoutSetting;
class RenderState;
struct DeviceCaps;
namespace gfx {
class Canvas;
class ImageSurface;
}  // namespace gfx

/// The target of a draw pass, in place of a device context.
struct DrawDevice {
    gfx::Canvas* canvas = nullptr;       // null: nothing is drawn on the target (spool, measuring)
    PixelPoint pixelsPerInch{96, 96};    // of the screen or the picture
    const DeviceCaps* printer = nullptr; // printing: the device's resolution and page
    PixelPoint origin;                   // the logical point at the canvas's (0, 0): the scroll position
};

/// Kinds of items a page renderer draws.
enum ItemMask : unsigned { kMaskImages = 0x01, kMaskTexts = 0x10, kMaskLines = 0x40, kMaskAll = 0x51 };

/// How a draw pass ended.
enum class PassResult {
    Done,
    Skipped,    // no layout, no target or no geometry: nothing drawn
    Failed,     // an image, the canvas or a band failed; printing was aborted
    Cancelled,  // the user cancelled the print; it was aborted
};

/// How a paint ended: the client area shows the page, or the button face.
enum class PaintResult { Drawn, Busy, Failed };

/// Counters of a measuring pass.
struct PassCounters {
    int64_t area = 0;   // pixels of the bands clipped to the work rectangle
    int64_t hits = 0;   // bands counted
    int64_t bands = 0;  // bands run
};

/// The layout view's drawing core: the view's state (layout, page, colours, scales) and
/// the draw pass for the screen, the printer and preview pictures. The view window owns
/// it, answers LayoutView from it (its current page lives here) and hands it the window
/// as the source of page and client rectangles. Drawers that draw items other than
/// pictures and the print job's band handling are virtual hooks.
class CGPView {
public:
    /// The largest band rendered at once when printing, in device pixels.
    static constexpr int kBandSize = 4096;

    /// The view's command that prints every page of the layout without a dialog.
    static constexpr int kCommandFilePrintDirect = 57608;

    CGPView();
    virtual ~CGPView();
    CGPView(const CGPView&) = delete;
    CGPView& operator=(const CGPView&) = delete;

    /// The window and the document's layout (not owned). The screen's pixels per unit
    /// come from the window, 96 pixels per inch without one.
    void Attach(LayoutView* window, CLayoutSetting* layout);
    CLayoutSetting* GetLayout() const { return mLayout; }
    LayoutView* GetWindow() const { return mWindow; }

    int GetCurrentPage() const { return mCurrentPage; }
    void SetCurrentPage(int page) { mCurrentPage = page; }
    /// Screen pixels per layout unit at zoom 1.
    double GetXPerUnit() const { return mXPerUnit; }
    double GetYPerUnit() const { return mYPerUnit; }
    int GetDragState() const { return mDragState; }
    void SetDragState(int state) { mDragState = state; }
    /// The resolution class the print job chose, combined into the pass flags.
    unsigned GetPrintFlags() const { return mPrintFlags; }
    void SetPrintFlags(unsigned flags) { mPrintFlags = flags; }
    const CLayoutObj* GetMarkedItem() const { return mMarkedItem; }
    void SetMarkedItem(const CLayoutObj* item) { mMarkedItem = item; }
    BandStore& Bands() { return mBands; }

    /// Whether the item's page (its draw origin over the paper height) is the current
    /// page; a selected item counts too while it is being dragged (drag state 2).
    bool IsItemOnCurrentPage(const CLayoutObj& item) const;

    // Mouse selection; points are client pixels of the window, at its zoom and scroll.
    /// Picks the item under the point (topmost first; an unselected item only by its
    /// inside) and applies the click selection rules of shift. The hit code, with *item
    /// the picked item while it is selected afterwards (else null); -1 for none.
    int SelectAtPoint(PixelPoint client, bool shift, CLayoutObj** item);
    /// Toggles every item of the shown page lying strictly inside band; without shift
    /// the selection is cleared first. True when any item was inside.
    bool SelectInBand(const PixelRect& band, bool shift);
    /// Deselects every item, clears the current item and redraws.
    void DeselectAll();
    /// For an image, sets `mResizeWithShiftkey` of every selected image to shift.
    void UpdateShiftResizeFlags(const CLayoutObj& item, bool shift);
    /// In automatic layout, the unselected image under the point that a dragged image
    /// is dropped on; null otherwise.
    CLayoutObj* FindDropTarget(const CLayoutObj& item, PixelPoint client) const;
    /// The tracker over item at the window's zoom; see the free function.
    ItemTracker SetupObjectTracker(const CLayoutObj& item, PixelRect* trueRect = nullptr) const;
    /// Hit code of any item at the point: free lines and free texts by their outlines,
    /// other kinds by their tracker; -1 for an item of another page.
    int HitTestItem(const CLayoutObj& item, PixelPoint client) const;
    int HitTestLineItem(const CLineObj& line, PixelPoint client) const;
    int HitTestTextItem(const CTextObj& text, int x, int y) const;

    /// The screen paint into canvas, which shows the logical rectangle viewport (the
    /// client area in scrolled coordinates). While another pass holds the render lock,
    /// and when drawing failed, the canvas gets the button face instead; a failure is
    /// reported, never shown here, so that the window tells the user once.
    PaintResult PaintView(gfx::Canvas& canvas, const PixelRect& viewport);
    /// Draws only the rulers over a canvas that holds the last paint of the same
    /// viewport, so that their pointer marks can follow the mouse cheaply.
    PaintResult PaintRulers(gfx::Canvas& canvas, const PixelRect& viewport);

    /// The draw pass of the current page in mode 1 (screen), 2 (printer), 3 or 4
    /// (preview picture). Printing runs in bands of at most kBandSize pixels: the spool
    /// pass (kSpoolPass) hands each rendered band to SpoolPageBand, the replay pass
    /// (kScaleToDevice alone) draws the free lines as vectors and the stored bands onto
    /// the printer's canvas, the measuring pass (kMeasurePass) only counts. Image
    /// failures when printing show 10413 and abort the device.
    virtual PassResult DrawPage(const DrawDevice& device, int mode, unsigned flags, PassCounters* counters = nullptr);

    /// Prints the whole layout on the application's printer through the installed
    /// PrintJobServices (none: nothing happens). The caller leaves the render lock free.
    /// True when the document was delivered.
    virtual bool DoPrintJob();
    /// The running print job, or null.
    PrintJob* RunningPrintJob() const { return mPrintJob; }

    /// Draws the current page's layers through the running pass; items of the mask only
    /// where they meet band (all of them without one).
    virtual void RenderPageContent(const PixelRect* band, unsigned mask);

    /// Page 1 drawn in mode 3 or 4 into pixels of the geometry's page size, at the
    /// screen's scales; null without a layout, for a paper without size or when the
    /// pixels cannot be had.
    DibBufferPtr DrawPageOffscreen(int mode, const ViewGeometry& geometry);

    /// Replays the stored band (page, band) into dest on canvas after one step of the
    /// print status. True when nothing was stored for it.
    bool DrawCachedTile(gfx::Canvas& canvas, const PixelRect& dest, int page, int band);

    /// The frame title: the file name of the layout's path, or "Untitled-%d" with its
    /// untitled number.
    std::string FrameTitleText() const;
    /// Gives the shell the frame title when it changed.
    void UpdateFrameTitle();

    // Colours of the furniture (COLORREF).
    ColorRef gridColour = 0x808080;
    ColorRef marginFrameColour = 0x0000FF;
    ColorRef pageBackgroundColour = 0xFFFFFF;
    /// Set while the margins will be whitened again later in the pass.
    bool marginsWhitenedLater = false;
    ColorRef deskColour = 0xB4B4B4;
    ColorRef markedItemColour = 0x000000;
    ColorRef shadowColour = 0x4D4D4D;
    ColorRef layoutAreaColour = 0x808080;

    /// Cut positions of the automatic cut lines, kept between passes by their drawer.
    std::vector<int32_t> rowCuts;
    std::vector<int32_t> columnCuts;
    std::vector<PixelRect> extraCutSegments;

    /// The last pointer position the window saw, in logical pixels, for the rulers'
    /// marks (none: no marks).
    std::optional<PixelPoint> rulerPointer;

protected:
    // Page furniture, drawn on the running pass's canvas from its geometry.
    virtual void DrawPageBackground();
    virtual void DrawPageMarginsWhite();
    virtual void DrawDesk();
    virtual void DrawPageBorder();
    virtual void DrawPageShadow();
    virtual void DrawMarginFrame();
    virtual void DrawLayoutAreaFrame();
    virtual void DrawMarkedItemFrame(PixelRect r);
    virtual void DrawGrid();
    /// A 5 x 5 selection handle with its top-left at p: white, outlined in black.
    void DrawHandle(PixelPoint p);

    /// Draws one image item's parts through the image renderer.
    virtual void RenderImage(const CImageObj& item, unsigned parts);

    // Drawers of items, texts, cut marks, header and footer and rulers; nothing yet.
    virtual void DrawFreeText(const CLayoutObj& item);
    virtual void DrawFreeLine(const CLayoutObj& item);
    virtual void DrawImageLabelText(const CImageObj& item);
    virtual void DrawImageCaptionText(const CImageObj& item);
    virtual void DrawCutFrameStyle1(const PixelRect& r);
    virtual void DrawCutFrameStyle2(const PixelRect& r);
    virtual void DrawImagePlaceholders();
    virtual void DrawAutoCutLines(const std::vector<PixelRect>& images, double yScale);
    virtual void FormatHeaderFooterText();
    virtual void DrawHeaderFooter();
    virtual void DrawRulers();
    /// Draws one cut segment as two parallel black lines; false when it is neither
    /// horizontal nor vertical or drawing failed.
    bool DrawCutSegment(double scale, const PixelRect& segment, bool narrow);
    /// Draws one block of header or footer lines into block, each line in a rectangle
    /// one font height high, one line step apart; only whole lines that fit.
    void DrawHeaderFooterLines(const std::string& text, const PixelRect& block);
    /// A label or caption in the item's frame on the side location maps to.
    void DrawFrameText(const CImageObj& item, const std::string& text, const std::string& face, int16_t size,
                       ColorRef colour, int location, bool upsideDown, int align);
    /// Where selection handle index (1 to 8; a free line 1 and 2) of an item lies.
    virtual std::optional<PixelPoint> HandlePoint(const CLayoutObj& item, const PixelRect& r, int index);

    // The print job's side of a pass; without a running job nothing is spooled.
    /// Stores a rendered band of (page, band): clipped is where it lies on the page, its
    /// pixels are clipped's size at the surface's top-left. False when it cannot be stored.
    virtual bool SpoolPageBand(const gfx::ImageSurface& surface, const PixelRect& clipped, int page, int band);
    /// One step of the print status's progress bar.
    virtual void StepPrintStatus();
    /// Whether the user cancelled the print in the print status.
    virtual bool PrintCancelled();
    /// Abandons the document being printed.
    virtual void AbortPrintDevice();

    /// The running pass (the process's render state).
    RenderState& Pass() const;
    /// The device point of a layout point of item (its page top taken off).
    gfx::geom::Point ItemDeviceOrigin(const CLayoutObj& item, LayoutPoint at) const;

private:
    PassResult RunBands(const DrawDevice& device, const PassGeometry& built, int mode, unsigned flags,
                        PassCounters* counters);
    PassResult ImageFailure(int mode);
    /// The item's rectangle in device pixels of the pass.
    PixelRect ItemDeviceRect(const CLayoutObj& item) const;
    void DrawItems(const PixelRect* band, unsigned mask, std::vector<PixelRect>& images);
    void DrawImageItem(const CImageObj& item);
    void FillBusy(gfx::Canvas& canvas) const;

    CLayoutSetting* mLayout = nullptr;
    LayoutView* mWindow = nullptr;
    int mCurrentPage = 0;
    const CLayoutObj* mMarkedItem = nullptr;
    double mXPerUnit = 96.0 / 360;
    double mYPerUnit = 96.0 / 360;
    unsigned mPrintFlags = kRender360;
    int mDragState = 0;
    std::string mShownTitle;
    bool mTitleShown = false;
    BandStore mBands;
    PrintJob* mPrintJob = nullptr;
};

}  // namespace vx
