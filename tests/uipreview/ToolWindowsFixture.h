#pragma once
#include <filesystem>
#include <memory>

#include <wx/log.h>

#include "../uicontrols/GalleryFixture.h"
#include "core/imaging/JpegFixtures.h"
#include "core/view/ViewFixture.h"
#include "model/ImageAdding.h"
#include "model/UndoStore.h"
#include "platform/system/Folders.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx::test {

/// A bare frame over an application state whose open layout holds one image item made
/// from a generated 600 x 400 JPEG, laid out at 3600 x 2400 units and current; the
/// messages are recorded.
class ToolWindowsFixture : public Gallery {
protected:
    static void SetUpTestSuite() {
        Gallery::SetUpTestSuite();
        // Log messages go to the test's output, never into a modal box.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        // Working bitmaps live in the temporary folder: one of the suite's own.
        static TestRoot folders;
        setenv("VELLICOREX_USER_DIR", (folders.Path() / "user").c_str(), 1);
        setenv("VELLICOREX_TEMP_DIR", (folders.Path() / "temp").c_str(), 1);
        ASSERT_TRUE(CreateTempFolder());
    }

    void SetUp() override {
        Gallery::SetUp();
        app.undo = &undo;
        layout = MakeA4Layout();
        app.active = layout.get();
        jpeg = root.Path() / "blau.jpg";
        JpegFixture fixture;
        fixture.width = 600;
        fixture.height = 400;
        fixture.pixel = [](int, int, uint8_t* c) {
            c[0] = 40;
            c[1] = 120;
            c[2] = 200;
        };
        WriteBytes(jpeg, EncodeJpeg(fixture));
        item = AppendItem<CImageObj>(*layout);
        item->SetType(kRecordTypeLayout);
        ASSERT_NE(OpenImageFile(item, jpeg), 0);
        item->SetSizeMethod(1);
        item->SetSize(3600, 2400);
        ASSERT_TRUE(item->SetWorkingBitmap(LoadImagePreview(*item)));
        layout->SetCurrentItem(item);
    }

    TestRoot root;
    InstalledApplicationState app;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    UndoStore undo;
    std::unique_ptr<CLayoutSetting> layout;
    std::filesystem::path jpeg;
    CImageObj* item = nullptr;
};

}  // namespace vx::test
