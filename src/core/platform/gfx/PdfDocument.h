#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/CairoHandles.h"
#include "platform/gfx/LazyImage.h"

namespace vx::gfx {

enum class PdfStatus { Ok, WriteFailed, PictureFailed, DrawFailed };

/// A PDF written through a callback, page by page; each page has its own size. After
/// an error every further call gives that error and draws nothing.
class PdfDocument {
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
    static cairo_status_t OnWrite(void* data, const unsigned char* bytes, unsigned int length);
    PdfStatus Check();

    Writer mWriter;
    bool mWriteFailed = false;
    PdfStatus mStatus = PdfStatus::Ok;
    LazyImageKeeper mKeeper;
    CairoSurface mSurface;
    std::unique_ptr<Canvas> mPage;
    bool mFinished = false;
};

}  // namespace vx::gfx
