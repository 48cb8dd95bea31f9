#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <vector>

#include "document/ColorMatchedView.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"
#include "printing/BusyIndicator.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

struct RecordingBusy : BusyIndicator {
    int depth = 0, begun = 0;
    void BeginBusy() override { ++depth, ++begun; }
    void EndBusy() override { --depth; }
};

DibBufferPtr Picture(const Rect16& target) {
    DibBuffer* raw = nullptr;
    EXPECT_EQ(DibBuffer::Create(&raw, 0, target), 0);
    return DibBufferPtr(raw);
}

// Three selected images in a colour layout, their files in a test folder; pictures from
// a decoder that counts its calls and throws while `throwing` is set.
struct ColourMatchedView : testing::Test {
    test::TestRoot root;
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::RecordingProgressPort progress;
    test::RecordingStatusPort status;
    test::ScopedPorts ports{&messages, &progress, &status};
    test::RecordingApplicationState app;
    ScopedHostService<ApplicationState> installApp{&app};
    RecordingBusy busy;
    ScopedHostService<BusyIndicator> installBusy{&busy};
    CLayoutSetting layout{true};
    std::vector<CImageObj*> images;
    int decodes = 0;
    bool throwing = false;
    std::vector<std::pair<int32_t, int>> busyWhileDecoding;  // the flag and the cursor depth
    PictureLoaderHooks previous;

    ColourMatchedView() {
        PictureLoaderHooks hooks;
        hooks.decodeTiff = [this](CImageObj&, const Rect16& target, int&) {
            ++decodes;
            busyWhileDecoding.emplace_back(app.preferences.appBusyFlag, busy.depth);
            if (throwing) throw std::runtime_error("decoder broke");
            return Picture(target);
        };
        previous = SetPictureLoaderHooks(hooks);
        layout.SetColor(2);
        layout.RenewViewState();
        for (int i = 0; i < 3; ++i) {
            auto image = std::make_unique<CImageObj>(true, "StdImage");
            image->SetOwner(&layout);
            image->SetSize(200, 100);
            image->SetSelected(1);
            image->SetDescription(ImageDescription{FourCC("tiff"), 20, 10, 72, 72, 24, std::nullopt});
            const auto path = root.Path() / ("p" + std::to_string(i) + ".tif");
            std::ofstream(path) << "x";
            image->SetFilePath(path);
            images.push_back(image.get());
            EXPECT_TRUE(AppendObject(layout.ItemListHead(), image));
        }
    }
    ~ColourMatchedView() override { SetPictureLoaderHooks(previous); }

    int32_t BusyFlag() const { return app.preferences.appBusyFlag; }

    std::vector<std::pair<int, Args>> Statuses() const {
        std::vector<std::pair<int, Args>> out;
        for (const auto& u : status.updates) out.emplace_back(u.code, u.args);
        return out;
    }
};

TEST_F(ColourMatchedView, ConvertsTheImagesWhoseFilesAreThereAndReportsTheOthersOnce) {
    std::filesystem::remove(images[1]->GetFilePath());
    EXPECT_EQ(ApplyColorMatchedView(layout), 1);
    EXPECT_EQ(messages.Ids(), std::vector<int>{10417});
    EXPECT_EQ(decodes, 2);
    EXPECT_EQ(images[0]->GetColorMatched(), 1);
    EXPECT_EQ(images[1]->GetColorMatched(), 0);
    EXPECT_EQ(images[2]->GetColorMatched(), 1);
    EXPECT_EQ(images[2]->GetEnableColorMatch(), 1);
    EXPECT_EQ(Statuses(), (std::vector<std::pair<int, Args>>{{6, {1LL, 3LL}}, {6, {2LL, 3LL}}, {1, {}}}));
    EXPECT_EQ(busyWhileDecoding, (std::vector<std::pair<int32_t, int>>{{1, 1}, {1, 1}}));
    EXPECT_EQ(BusyFlag(), 0);
    EXPECT_EQ(busy.depth, 0);
    EXPECT_EQ(busy.begun, 1);
    EXPECT_GT(host.view.invalidations, 0);
}

TEST_F(ColourMatchedView, CancelStopsAfterTheCurrentImage) {
    progress.cancelAfterChecks = 0;
    EXPECT_EQ(ApplyColorMatchedView(layout), 1);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(images[1]->GetColorMatched(), 0);
    EXPECT_EQ(BusyFlag(), 0);
}

TEST_F(ColourMatchedView, AnExceptionLeavesTheBusyFlagAndCursorClear) {
    throwing = true;
    EXPECT_THROW(ApplyColorMatchedView(layout), std::runtime_error);
    EXPECT_EQ(BusyFlag(), 0);
    EXPECT_EQ(busy.depth, 0);
}

TEST_F(ColourMatchedView, DoesNothingWithoutViewStateViewOrSelectedImage) {
    for (int what = 0; what < 3; ++what) {
        SCOPED_TRACE(what);
        if (what == 0) layout.FreeViewState();
        if (what == 1) {
            layout.RenewViewState();
            host.shell.view = nullptr;
        }
        if (what == 2) {
            host.shell.view = &host.view;
            for (CImageObj* i : images) i->SetSelected(0);
        }
        EXPECT_EQ(ApplyColorMatchedView(layout), 0);
    }
    EXPECT_EQ(decodes, 0);
    EXPECT_EQ(BusyFlag(), 0);
}

TEST_F(ColourMatchedView, RebuildsTheImageStampOrReportsItsMissingFile) {
    for (CImageObj* i : images) i->SetSelected(0);
    images[0]->SetSelected(1);
    auto stamp = std::make_unique<CImageObj>(true, "StampImage");
    stamp->SetSize(100, 100);
    stamp->SetDescription(ImageDescription{FourCC("tiff"), 20, 10, 72, 72, 24, std::nullopt});
    layout.SetStampImage(std::move(stamp));
    layout.Texts().imageStampPath = images[2]->GetFilePath().string();
    EXPECT_EQ(ApplyColorMatchedView(layout), 1);
    EXPECT_EQ(decodes, 2);
    layout.Texts().imageStampPath = (root.Path() / "gone.tif").string();
    EXPECT_EQ(ApplyColorMatchedView(layout), 1);
    EXPECT_EQ(messages.Ids(), std::vector<int>{10417});
}

}  // namespace
}  // namespace vx
