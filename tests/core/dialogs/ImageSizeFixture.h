#pragma once
#include <gtest/gtest.h>

#include <string>

#include "../model/LayoutFixture.h"
#include "dialogs/ImageSizeController.h"
#include "model/CImageObj.h"
#include "model/CUndoEntry.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx::test {

/// An image of width x height pixels at ppi, its item sized w x h units, method 1,
/// proportions kept, no frame.
inline void DescribeImage(CImageObj& item, int16_t width, int16_t height, uint32_t ppi) {
    item.SetDescription(ImageDescription{0, width, height, ppi, ppi, 24, std::nullopt});
}

/// A4 automatic layout (2976 x 4209 units) in mm with one selected, current image of
/// 3000 x 2000 pixels at 300 ppi (print size 3600 x 2400) placed at 1800 x 1200.
struct ImageSizeFixture : TestLayout {
    RecordingHost host;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    UndoStore undo;
    CImageObj* image = nullptr;

    ImageSizeFixture() : TestLayout(2976, 4209, 100) {
        layout.SetUnit(1);
        layout.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
        image = AddImage(1800, 1200);
        layout.SetCurrentItem(image);
        EXPECT_EQ(Relayout(layout), 1);
    }

    CImageObj* AddImage(int32_t width, int32_t height) {
        CImageObj* item = Add(width, height);
        DescribeImage(*item, 3000, 2000, 300);
        item->SetSizeMethod(1);
        item->SetSizeRatioMode(1);
        item->SetSelected(1);
        return item;
    }

    /// An earlier edit's undo entry, described for comparison.
    std::string PushEarlierUndo() {
        undo.PushUndo(layout, 22);
        return DescribeByName(*undo.GetUndoLayout());
    }
};

}  // namespace vx::test
