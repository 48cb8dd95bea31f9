#include "platform/gfx/PdfDocument.h"

#include <cairo-pdf.h>

namespace vx::gfx {

PdfDocument::PdfDocument(Writer writer) : mWriter(std::move(writer)) {
    // The size is set again for each page before it is drawn.
    mSurface.reset(cairo_pdf_surface_create_for_stream(&PdfDocument::OnWrite, this, 595.3, 841.9));
    Check();
}

PdfDocument::~PdfDocument() {
    if (!mFinished) Finish();
}

cairo_status_t PdfDocument::OnWrite(void* data, const unsigned char* bytes, unsigned int length) {
    auto* self = static_cast<PdfDocument*>(data);
    if (self->mWriteFailed || !self->mWriter || !self->mWriter(bytes, length)) {
        self->mWriteFailed = true;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

PdfStatus PdfDocument::Check() {
    if (mStatus != PdfStatus::Ok) return mStatus;
    if (mWriteFailed) mStatus = PdfStatus::WriteFailed;
    else if (mKeeper.Failed()) mStatus = PdfStatus::PictureFailed;
    else if (!mSurface || cairo_surface_status(mSurface.get()) != CAIRO_STATUS_SUCCESS) mStatus = PdfStatus::DrawFailed;
    else if (mPage && !mPage->Ok()) mStatus = PdfStatus::DrawFailed;
    return mStatus;
}

Canvas* PdfDocument::BeginPage(double widthPoints, double heightPoints, double pixelsPerInch) {
    if (mFinished || mPage || Check() != PdfStatus::Ok) return nullptr;
    cairo_pdf_surface_set_size(mSurface.get(), widthPoints, heightPoints);
    mPage = std::make_unique<Canvas>(mSurface.get(), pixelsPerInch);
    mPage->Scale(72.0 / pixelsPerInch, 72.0 / pixelsPerInch);
    return mPage.get();
}

PdfStatus PdfDocument::EndPage() {
    if (!mPage) return Check() == PdfStatus::Ok ? PdfStatus::DrawFailed : mStatus;
    cairo_show_page(mPage->Native());
    Check();
    mPage.reset();
    mKeeper.ReleaseKept();
    return Check();
}

PdfStatus PdfDocument::Finish() {
    if (mFinished) return mStatus;
    if (mPage) EndPage();
    mFinished = true;
    if (mSurface) cairo_surface_finish(mSurface.get());
    Check();
    mSurface.reset();
    mKeeper.ReleaseKept();
    return mStatus;
}

}  // namespace vx::gfx
