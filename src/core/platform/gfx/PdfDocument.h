#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/CairoHandles.h"
#include "platform/gfx/LazyImage.h"

namespace vx::gfx {

enum class PdfStatus { Ok, WriteFailed, PictureFailed, DrawFailed };

/// A PDF written through a callback, page by page; each page has its own size. After
/// an error every further call gives that error and draws nothing.
///
/// A proof page is pictures: lazy pictures drawn on a page are written as they are,
/// losslessly, each read once, with fast compression (cairo's PDF surface converts and
/// compresses them at its fixed, slow setting, which was a third of a print job). Other
/// drawing on the page is recorded and written as one picture at the page's pixel
/// density beneath the pictures; where opaque pictures cover all of it, it is left out.
/// The print job draws its free lines first and its opaque bands over the whole page.
class PdfDocument final : private PictureSink {
public:
    /// Takes each piece of the file; false (a full disk, a cancel) ends the document.
    using Writer = std::function<bool(const uint8_t* data, size_t size)>;

    explicit PdfDocument(Writer writer);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    /// Starts a page of width × height points; its canvas draws in pixels of
    /// pixelsPerInch. Null after an error.
    Canvas* BeginPage(double widthPoints, double heightPoints, double pixelsPerInch);
    /// Writes the page; lazy pictures drawn on it are read now and all released.
    PdfStatus EndPage();
    /// Ends the file. The document is unusable afterwards.
    PdfStatus Finish();

    /// The keeper lazy pictures of this document are made with.
    LazyImageKeeper& Lazy() { return mKeeper; }

private:
    struct Placed {
        LazyImage* image;
        cairo_matrix_t toDevice;
        RectD clip;
        bool smooth;
    };
    /// Gives rows y to y + n - 1 of cairo pixels and their stride; null on failure.
    using RowReader = std::function<const uint8_t*(int y, int n, int* stride)>;
    struct PixelBox {
        int x = 0, y = 0, w = 0, h = 0;
        bool Empty() const { return w <= 0 || h <= 0; }
    };
    class Stream;

    void TakePicture(LazyImage& image, const cairo_matrix_t& toDevice, const RectD& clip, Filter filter) override;
    PdfStatus Check();
    bool Put(const void* data, size_t size);
    bool Put(const std::string& text) { return Put(text.data(), text.size()); }
    int NewObject();
    bool BeginObject(int number);
    /// The drawing other than pictures that is not under opaque pictures; empty if none.
    PixelBox VisibleDrawing();
    bool WriteImage(int object, int width, int height, bool alpha, bool smooth, const RowReader& rows);
    bool WriteDrawing(const PixelBox& box, int object);
    bool WritePicture(cairo_surface_t* pixels, int object, bool smooth);
    void DropPage();

    Writer mWriter;
    bool mWriteFailed = false;
    PdfStatus mStatus = PdfStatus::Ok;
    LazyImageKeeper mKeeper;
    uint64_t mOffset = 0;
    std::vector<uint64_t> mObjectOffsets;  // by object number - 1; 0 while unwritten
    std::vector<int> mPages;
    bool mFinished = false;

    // The page being drawn.
    CairoSurface mRecording;
    std::unique_ptr<Canvas> mPage;
    std::vector<Placed> mPlaced;
    double mWidthPoints = 0, mHeightPoints = 0, mPixelsPerInch = 0;
    int mWidthPixels = 0, mHeightPixels = 0;
};

}  // namespace vx::gfx
