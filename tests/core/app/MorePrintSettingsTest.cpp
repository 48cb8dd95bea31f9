#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../printing/PrinterTestSupport.h"
#include "app/MorePrintSettings.h"
#include "app/TemplateChangeMarks.h"
#include "host/PrintPresetsDialog.h"
#include "imaging/DibBuffer.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx::test {
namespace {

struct FakePresetsDialog : PrintPresetsDialog {
    std::function<void(CLayoutSetting&, TemplateChangeMarks&)> change;
    bool ok = true;
    int runs = 0;
    bool Run(CLayoutSetting& layout, TemplateChangeMarks& marks) override {
        ++runs;
        if (change) change(layout, marks);
        return ok;
    }
};

/// The B,G,R,A bytes of an image item's working bitmap.
std::vector<uint8_t> Pixels(const CImageObj& item) {
    std::vector<uint8_t> bytes;
    if (!item.GetWorkingTempBuffer() || !item.GetWorkingTempBuffer()->ReadAll(bytes) ||
        bytes.size() < DibBuffer::kHeaderBytes)
        return {};
    return {bytes.begin() + DibBuffer::kHeaderBytes, bytes.end()};
}

class MorePrintSettings : public testing::Test {
protected:
    MorePrintSettings() {
        EXPECT_TRUE(CreateTempFolder());
        layout = f.BoundLayout("P44");
        layout->SetColor(2);
        layout->SetOrientation(1);
        for (int i = 0; i < 2; ++i) {
            AddImage(*layout, 100 + 1000 * i, 200);
        }
        for (CLayoutObj* o = layout->GetFirstItem(); o; o = o->NextItem()) {
            Rect16 r;
            r.Set(0, 0, 2, 1);
            DibBuffer* raw = nullptr;
            EXPECT_EQ(DibBuffer::Create(&raw, 32, r), 0);
            const uint8_t blue[4] = {0, 0, 255, 255};
            for (int p = 0; p < 2; ++p) std::memcpy(DibBuffer::GetBits(raw) + 4 * p, blue, 4);
            EXPECT_TRUE(static_cast<CImageObj*>(o)->SetWorkingBitmap(DibBufferPtr(raw)));
        }
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        marks.Mark(kRowPrinter);
        hooks.refreshControls = [this](bool keep) { log.push_back(keep ? "refresh 1" : "refresh 0"); };
        hooks.updateViews = [this](int hint) { log.push_back("views " + std::to_string(hint)); };
        hooks.redrawLayout = [this] { log.push_back("redraw"); };
        hooks.clearUndo = [this] { log.push_back("clear undo"); };
    }
    bool Run() { return RunMorePrintSettings(dialog, *f.manager, *layout, marks, hooks); }

    TestRoot root;
    ScopedEnv temp{"VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()};
    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
    TemplateChangeMarks marks;
    FakePresetsDialog dialog;
    MorePrintSettingsHooks hooks;
    std::vector<std::string> log;
};

TEST_F(MorePrintSettings, OkInBlackGreysThePicturesAndAddsTheDialogsMarks) {
    dialog.change = [](CLayoutSetting& l, TemplateChangeMarks& m) {
        l.SetColor(1);
        m.Mark(kRowInk);
    };
    EXPECT_TRUE(Run());
    const std::vector<uint8_t> grey{76, 76, 76, 255, 76, 76, 76, 255};
    for (CLayoutObj* o = layout->GetFirstItem(); o; o = o->NextItem())
        EXPECT_EQ(Pixels(*static_cast<CImageObj*>(o)), grey);
    EXPECT_EQ(layout->GetColorMatchPrinter(), 1);
    EXPECT_TRUE(marks.IsMarked(kRowPrinter)) << "no mark is cleared";
    EXPECT_TRUE(marks.IsMarked(kRowInk));
    EXPECT_EQ(log, (std::vector<std::string>{"refresh 1", "views 1", "clear undo"}));
    EXPECT_EQ(f.layouts.snapshotsAlive, 0);
}

TEST_F(MorePrintSettings, OkInColourRebuildsThePicturesAndLeavesThePrintersMatching) {
    layout->SetColor(1);
    dialog.change = [](CLayoutSetting& l, TemplateChangeMarks&) { l.SetColor(2); };
    EXPECT_TRUE(Run());
    EXPECT_EQ(std::count(f.layouts.log.begin(), f.layouts.log.end(), "RebuildWorkingBitmaps"), 1);
    EXPECT_EQ(layout->GetColorMatchPrinter(), 0);
    const std::vector<uint8_t> blue{0, 0, 255, 255, 0, 0, 255, 255};
    EXPECT_EQ(Pixels(*static_cast<CImageObj*>(layout->GetFirstItem())), blue);
}

TEST_F(MorePrintSettings, CancelPutsLayoutAndPrinterBackAndKeepsTheMarks) {
    const std::string before = DumpLayout(*layout);
    std::string settingsBefore;
    f.manager->GetDevMode(&settingsBefore);
    const TemplateChangeMarks marksBefore = marks;
    dialog.ok = false;
    dialog.change = [this](CLayoutSetting& l, TemplateChangeMarks& m) {
        // The dialog changes live through the driver.
        l.SetOrientation(2);
        l.SetColor(1);
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        m.Mark(kRowOrientation);
        m.Mark(kRowInk);
    };
    EXPECT_FALSE(Run());
    EXPECT_EQ(DumpLayout(*layout), before);
    std::string settings;
    f.manager->GetDevMode(&settings);
    EXPECT_EQ(settings, settingsBefore);
    EXPECT_EQ(f.manager->CurrentPrinter(), "P44");
    EXPECT_EQ(marks, marksBefore);
    EXPECT_EQ(log, (std::vector<std::string>{"refresh 1", "redraw", "views 1"}));
    EXPECT_EQ(f.layouts.snapshotsAlive, 0);
}

}  // namespace
}  // namespace vx::test
