#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "imaging/DibBuffer.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"
#include "model/ViewStateBlock.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "view/CGPView.h"

namespace vx::test {


/// Opaque B,G,R,A pixels of one colour (COLORREF).
inline DibBufferPtr SolidPicture(int width, int height, ColorRef colour) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
    uint8_t* bits = DibBuffer::GetBits(raw);
    for (int i = 0; i < width * height; ++i) {
        bits[i * 4 + 0] = uint8_t(colour >> 16);
        bits[i * 4 + 1] = uint8_t(colour >> 8);
        bits[i * 4 + 2] = uint8_t(colour);
        bits[i * 4 + 3] = 255;
    }
    return DibBufferPtr(raw);
}

template <class T>
T* AppendItem(CLayoutSetting& layout) {
    auto item = std::make_unique<T>(true);
    T* raw = item.get();
    raw->SetOwner(&layout);
    EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
    return raw;
}

/// An image item of the layout at (x, y) with size (w, h) in layout units whose working
/// bitmap is one colour.
inline CImageObj* AddPictureItem(CLayoutSetting& layout, int32_t x, int32_t y, int32_t w, int32_t h,
                                 ColorRef colour) {
    CImageObj* image = AppendItem<CImageObj>(layout);
    image->SetSizeMethod(1);
    image->SetPosition(x, y);
    image->SetSize(w, h);
    EXPECT_TRUE(image->SetWorkingBitmap(SolidPicture(60, 40, colour)));
    return image;
}

/// The A4 portrait layout of the drawing tests: paper 2976 x 4209, background
/// 0xFFE0C0, layout-area margins 360, printer margins 100, zoom 1/4, one image and
/// one free text on page 1.
inline std::unique_ptr<CLayoutSetting> MakeA4Layout() {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetType(kRecordTypeLayout);
    layout->SetPaper({2976, 4209});
    layout->SetOrientation(1);
    layout->SetColor(2);
    layout->SetPageNumber(1);
    layout->SetPageMax(1);
    layout->SetPaperColor(0xFFE0C0);
    layout->SetMargin({100, 100, 100, 100});
    layout->SetLayoutAreaMgn({360, 360, 360, 360});
    layout->SetBaseImage(std::make_unique<CImageObj>(true));
    ViewStateBlock& vs = layout->RenewViewState();
    vs.zoomNumerator = 1;
    vs.zoomDenominator = 4;
    return layout;
}

/// The fixture's picture: 1080 x 720 units at (720, 1440), 0x3050D0 (COLORREF).
constexpr ColorRef kPictureColour = 0x3050D0;

/// A host whose view answers 96 pixels per inch, an 800 x 600 client and the A4 page at
/// zoom 1/4: (0, 0, 198, 280) at (301, 160).
struct PaintHost : RecordingHost {
    RecordingApplicationState app;
    ScopedHostService<ApplicationState> installApp{&app};
    PaintHost() {
        view.client = {0, 0, 800, 600};
        view.pageRect = {{0, 0, 198, 280}, {301, 160}};
        view.pixelsPerInch = {96, 96};
    }
};

}  // namespace vx::test
