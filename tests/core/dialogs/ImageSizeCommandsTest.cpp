#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ImageSizeFixture.h"
#include "dialogs/ImageSizeCommands.h"
#include "host/DocumentServices.h"
#include "platform/system/StringTable.h"
#include "support/RecordingApplicationState.h"

namespace vx {
namespace {

using namespace dialogs;
using test::DescribeByName;
using test::ImageSizeFixture;

/// The image size dialog as the window side runs it, the user's part scripted.
struct ScriptedDialogs : SettingsDialogs {
    UndoStore* undo = nullptr;
    std::function<void(ImageSizeController&)> script;
    bool cancel = false;
    std::vector<bool> opened;  // preset flag of each opening

    bool Has(Dialog d) override { return d == Dialog::ImageSize; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    bool RunImageSizeDialog(CLayoutSetting& layout, bool preset) override {
        opened.push_back(preset);
        ImageSizeController ctl;
        if (!ctl.LoadFromLayout(layout, preset, 1)) return false;
        if (script) script(ctl);
        ImageSizeView view;
        return !cancel && ctl.OnOK(*undo, view);
    }
};

struct CommandFixture : ImageSizeFixture {
    test::InstalledApplicationState app;
    ScriptedDialogs dialogs;
    ScopedHostService<SettingsDialogs> installDialogs{&dialogs};

    CommandFixture() {
        app.undo = &undo;
        dialogs.undo = &undo;
        app.active = &layout;
    }
};

TEST(RunImageSizeCommand, OkLaysOutAndRefreshesPaneAndView) {
    CommandFixture f;
    f.dialogs.script = [](ImageSizeController& c) { c.Size().OnWidthChange("150"); };
    const int invalidations = f.host.view.invalidations;
    EXPECT_TRUE(RunImageSizeCommand(f.layout));
    EXPECT_EQ(f.dialogs.opened, std::vector<bool>{false});
    EXPECT_EQ(f.image->GetSize(), (LayoutPoint{2126, 1417}));
    EXPECT_EQ(f.undo.GetLastUndoCode(), 159);
    EXPECT_GT(f.host.pane.invalidations, 0);
    EXPECT_GT(f.host.view.invalidations, invalidations);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(RunImageSizeCommand, CancelChangesNothing) {
    CommandFixture f;
    f.dialogs.cancel = true;
    f.dialogs.script = [](ImageSizeController& c) { c.Size().OnWidthChange("150"); };
    const std::string before = DescribeByName(f.layout);
    EXPECT_FALSE(RunImageSizeCommand(f.layout));
    EXPECT_EQ(DescribeByName(f.layout), before);
    EXPECT_FALSE(f.undo.CanUndo());
}

TEST(RunImageSizeCommand, RefusedRelayoutPutsLayoutAndUndoBack) {
    struct Case {
        const char* what;
        int16_t pageMax;
        int32_t paperWidth, paperLength;  // printer paper, for the sheet check
        int message;
    };
    // Six images of 150 x 100 mm lie two to a page: three pages.
    const std::vector<Case> cases = {
        {"second page while one is allowed", 1, 0, 0, IDS_PAPER_LENGTH_LIMIT},
        // 3 pages of 13,000 x 13,600 = 530,400,000 > 529,932,300: 90 ppi.
        {"pages down to 90 ppi", 50, 13000, 13600, IDS_PAGE_COUNT_LIMIT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CommandFixture f;
        for (int i = 0; i < 5; ++i) f.AddImage(900, 600);
        ASSERT_EQ(Relayout(f.layout), 1);
        f.layout.SetPageMax(c.pageMax);
        f.layout.SetPaperWidth(c.paperWidth);
        f.layout.SetPaperLength(c.paperLength);
        const std::string undoBefore = f.PushEarlierUndo();
        const std::string before = DescribeByName(f.layout);
        f.dialogs.script = [](ImageSizeController& ctl) { ctl.Size().OnWidthChange("150"); };

        EXPECT_FALSE(RunImageSizeCommand(f.layout));
        ASSERT_EQ(f.messages.Ids(), std::vector<int>{c.message});
        EXPECT_EQ(f.messages.shown[0].icon, Icon::Error);
        EXPECT_EQ(DescribeByName(f.layout), before);
        ASSERT_TRUE(f.undo.CanUndo());
        EXPECT_EQ(DescribeByName(*f.undo.GetUndoLayout()), undoBefore);
    }
}

TEST(RunPresetImageSizeCommand, WithoutDocumentEditsTheDefaultPrototype) {
    CommandFixture f;
    f.app.active = nullptr;
    f.app.defaults.SetUnit(1);
    CImageObj& base = *f.app.defaults.GetBaseImage();
    base.SetSize(1000, 1000);
    base.SetSizePixel({1000, 1000});
    base.SetSizeMethod(1);
    f.PushEarlierUndo();
    const std::string documentBefore = DescribeByName(f.layout);
    const size_t hints = f.host.pane.hints.size();
    f.dialogs.script = [](ImageSizeController& c) {
        c.Size().OnKeepProportionsDimensions(false);
        c.Size().OnWidthChange("100");
    };
    EXPECT_TRUE(RunPresetImageSizeCommand(nullptr));
    EXPECT_EQ(f.dialogs.opened, std::vector<bool>{true});
    EXPECT_EQ(base.GetSize(), (LayoutPoint{1417, 1000}));
    EXPECT_EQ(f.app.defaults.GetDirty(), 1);
    EXPECT_FALSE(f.undo.CanUndo());
    EXPECT_EQ(DescribeByName(f.layout), documentBefore);
    EXPECT_TRUE(f.host.pane.marks.empty());
    EXPECT_TRUE(f.host.pane.templateTexts.empty());
    EXPECT_EQ(f.host.pane.hints.size(), hints);
}

TEST(RunPresetImageSizeCommand, MarksWhatChangedAndRebuildsTheTemplateTexts) {
    struct Case {
        const char* what;
        std::function<void(ImageSizeController&)> script;
        bool cancel;
        std::vector<TemplateChangeMark> marks;
    };
    const std::vector<Case> cases = {
        {"method changed", [](ImageSizeController& c) { c.Size().OnRatio(); }, false,
         {TemplateChangeMark::PresetSizeOption, TemplateChangeMark::PresetImageSize}},
        {"size changed", [](ImageSizeController& c) { c.Size().OnWidthChange("100"); }, false,
         {TemplateChangeMark::PresetImageSize}},
        {"option changed", [](ImageSizeController& c) { c.Size().OnImageOption(2); }, false,
         {TemplateChangeMark::PresetSizeOption}},
        {"cancelled", [](ImageSizeController& c) { c.Size().OnWidthChange("100"); }, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CommandFixture f;
        CImageObj& base = *f.layout.GetBaseImage();
        base.SetSize(1000, 1000);
        base.SetSizePixel({1000, 1000});
        base.SetSizeMethod(1);
        f.dialogs.script = c.script;
        f.dialogs.cancel = c.cancel;
        f.PushEarlierUndo();
        EXPECT_EQ(RunPresetImageSizeCommand(&f.layout), !c.cancel);
        EXPECT_EQ(f.host.pane.marks, c.marks);
        EXPECT_EQ(f.host.pane.templateTexts, std::vector<const CLayoutSetting*>{&f.app.defaults});
        EXPECT_EQ(f.undo.CanUndo(), c.cancel);
        EXPECT_EQ(f.host.pane.invalidations, c.cancel ? 0 : 1);
        EXPECT_EQ(f.image->GetSize(), (LayoutPoint{1800, 1200}));  // nothing laid out
    }
}

}  // namespace
}  // namespace vx
