#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "../model/LayoutFixture.h"
#include "SettingCommandsFixture.h"
#include "model/ImageLabels.h"
#include "model/ImageMemoryBudget.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::CommandFixture;
using test::DescribeByName;
using Dialog = SettingsDialogs::Dialog;

// ---------------------------------------------------------------------------------
// Background colour and margin displays

TEST(BackgroundColorCommands, TheColourInForceChangesNothing) {
    CommandFixture f;
    f.layout->SetDirty(0);
    f.objects.OnCommand(kCmdBackgroundWhite);
    EXPECT_FALSE(f.undo.CanUndo());
    EXPECT_EQ(f.undo.PushCount(), 0u);
    EXPECT_EQ(f.layout->GetDirty(), 0);
    EXPECT_EQ(f.host.view.invalidations, 0);
}

TEST(BackgroundColorCommands, BlackIsAnUndoableChangeCopiedToTheDefaults) {
    CommandFixture f;
    f.layout->SetDirty(0);
    f.app.defaults.SetPaperColor(0xFFFFFF);
    f.objects.OnCommand(kCmdBackgroundBlack);
    EXPECT_EQ(f.layout->GetPaperColor(), 0u);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 22);
    ASSERT_TRUE(f.undo.CanUndo());
    EXPECT_EQ(f.undo.GetUndoLayout()->GetPaperColor(), 0xFFFFFFu);
    EXPECT_EQ(f.layout->GetDirty(), 1);
    EXPECT_EQ(f.app.defaults.GetPaperColor(), 0u);
    EXPECT_EQ(f.host.view.invalidations, 1);
}

TEST(BackgroundColorCommands, OtherTakesTheColourDialogsAnswer) {
    CommandFixture f;
    f.layout->SetPaperColor(0x123456);
    f.dialogs.colour = 0x001E1EC8;  // red 200, green 30, blue 30
    f.objects.OnCommand(kCmdBackgroundOther);
    EXPECT_EQ(f.dialogs.colourInitials, std::vector<uint32_t>{0x123456});
    EXPECT_EQ(f.layout->GetPaperColor(), 0x001E1EC8u);
    EXPECT_EQ(f.app.defaults.GetPaperColor(), 0x001E1EC8u);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 22);

    CommandFixture cancelled;
    cancelled.layout->SetDirty(0);
    cancelled.dialogs.colour.reset();
    cancelled.objects.OnCommand(kCmdBackgroundOther);
    EXPECT_EQ(cancelled.dialogs.colourInitials, std::vector<uint32_t>{0xFFFFFF});
    EXPECT_EQ(cancelled.layout->GetPaperColor(), 0xFFFFFFu);
    EXPECT_EQ(cancelled.undo.PushCount(), 0u);
    EXPECT_EQ(cancelled.layout->GetDirty(), 0);
}

TEST(MarginDisplayCommands, ToggleTheLayoutAndTheDefaults) {
    CommandFixture f;
    f.objects.OnCommand(kCmdShowPrintMargins);
    EXPECT_EQ(f.layout->GetMarginShow(), 1);
    EXPECT_EQ(f.app.defaults.GetMarginShow(), 1);
    EXPECT_EQ(ObjectSettingCommands::State(kCmdShowPrintMargins, f.layout, f.app.preferences, BoundDialogs()).text,
              "Druckränder ausblenden");
    f.objects.OnCommand(kCmdShowPageMargins);
    EXPECT_EQ(f.layout->GetLayoutMarginShow(), 1);
    EXPECT_EQ(f.app.defaults.GetLayoutMarginShow(), 1);
    f.objects.OnCommand(kCmdShowPrintMargins);
    EXPECT_EQ(f.layout->GetMarginShow(), 0);
    EXPECT_EQ(f.app.defaults.GetMarginShow(), 0);
    EXPECT_EQ(f.host.view.invalidations, 3);
    EXPECT_FALSE(f.undo.CanUndo());
}

// ---------------------------------------------------------------------------------
// Dialog brackets

TEST(PageMarginsCommand, OkCopiesTheMarginsToTheDefaultsAndEveryEndUpdatesTheViews) {
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        CommandFixture f;
        f.dialogs.answer = ok;
        f.dialogs.change = [](CLayoutSetting& l) {
            l.SetLayoutAreaMode(1);
            l.SetLayoutAreaMgn({200, 300, 400, 500});
        };
        f.objects.OnCommand(kCmdPageMargins);
        ASSERT_EQ(f.dialogs.runs.size(), 1u);
        EXPECT_EQ(f.dialogs.runs[0].dialog, Dialog::Margins);
        EXPECT_EQ(f.app.defaults.GetLayoutAreaMode(), ok ? 1 : 0);
        EXPECT_EQ(f.app.defaults.GetLayoutAreaMgn(), (ok ? LayoutRect{200, 300, 400, 500} : LayoutRect{}));
        EXPECT_EQ(f.host.view.invalidations, 1);
        EXPECT_EQ(f.host.pane.hints, std::vector<int>{kHintLayoutChanged});
    }
}

TEST(ImageAlignCommand, CancelPutsBackTheLiveChangesAndTheEarlierUndoEntry) {
    CommandFixture f;
    f.AddImage(true);
    f.layout->SetPaperColor(0);
    f.undo.PushUndo(*f.layout, 22);  // the user's last edit: black background
    f.layout->SetPaperColor(0xFFFFFF);
    const std::string before = DescribeByName(*f.layout);
    f.dialogs.answer = false;
    f.dialogs.change = [&f](CLayoutSetting& l) {
        f.undo.PushUndo(l, 18);
        l.SetAlign({2, 3});
        l.SetSpace({90, 90});
    };
    f.objects.OnCommand(kCmdImageAlign);
    EXPECT_EQ(DescribeByName(*f.layout), before);
    ASSERT_TRUE(f.undo.CanUndo());
    EXPECT_EQ(f.undo.GetUndoLayout()->GetPaperColor(), 0u) << "the user's entry still undoes";

    // OK keeps what the dialog did, with its own undo entry.
    f.dialogs.answer = true;
    f.objects.OnCommand(kCmdImageAlign);
    EXPECT_EQ(f.layout->GetAlign(), (LayoutPoint{2, 3}));
    EXPECT_EQ(f.undo.GetLastUndoCode(), 18);
}

TEST(PresetCommands, OkDiscardsTheUndoEntryAndCancelKeepsIt) {
    struct Case {
        int command;
        Dialog dialog;
        bool preset;
    };
    const Case cases[] = {
        {kCmdPresetLabels, Dialog::Labels, true},
        {kCmdPresetCaption, Dialog::Caption, true},
        {kCmdPresetInputColors, Dialog::InputColorDefaults, false},
    };
    for (const Case& c : cases)
        for (bool ok : {true, false}) {
            SCOPED_TRACE(std::to_string(c.command) + (ok ? " OK" : " Cancel"));
            CommandFixture f;
            f.undo.PushUndo(*f.layout, 22);
            f.dialogs.answer = ok;
            f.objects.OnCommand(c.command);
            ASSERT_EQ(f.dialogs.runs.size(), 1u);
            EXPECT_EQ(f.dialogs.runs[0].dialog, c.dialog);
            EXPECT_EQ(f.dialogs.runs[0].layout, f.layout);
            EXPECT_EQ(f.dialogs.runs[0].flag, c.preset);
            EXPECT_EQ(f.undo.CanUndo(), !ok);
        }
}

TEST(PresetCommands, PresetSizeWithoutADocumentEditsTheDefaults) {
    CommandFixture f;
    f.undo.PushUndo(*f.layout, 22);
    ObjectSettingCommands::PresetImageSize(nullptr);
    ASSERT_EQ(f.dialogs.runs.size(), 1u);
    EXPECT_EQ(f.dialogs.runs[0].dialog, Dialog::ImageSize);
    EXPECT_EQ(f.dialogs.runs[0].layout, &f.app.defaults);
    EXPECT_TRUE(f.dialogs.runs[0].flag);
    EXPECT_TRUE(f.undo.CanUndo());

    f.objects.OnCommand(kCmdPresetImageSize);
    ASSERT_EQ(f.dialogs.runs.size(), 2u);
    EXPECT_EQ(f.dialogs.runs[1].layout, f.layout);
    EXPECT_TRUE(f.dialogs.runs[1].flag);
}

TEST(SelectedImageDialogCommands, RunTheirDialogsOnTheLayout) {
    const std::pair<int, Dialog> cases[] = {
        {kCmdLabels, Dialog::Labels}, {kCmdCaption, Dialog::Caption}, {kCmdImageSize, Dialog::ImageSize}};
    for (const auto& [command, dialog] : cases) {
        CommandFixture f;
        f.AddImage(true);
        f.undo.PushUndo(*f.layout, 22);
        f.objects.OnCommand(command);
        ASSERT_EQ(f.dialogs.runs.size(), 1u) << command;
        EXPECT_EQ(f.dialogs.runs[0].dialog, dialog);
        EXPECT_FALSE(f.dialogs.runs[0].flag);
        EXPECT_TRUE(f.undo.CanUndo()) << "only a preset OK discards the entry";
    }
}

// ---------------------------------------------------------------------------------
// Replace image

std::vector<uint8_t> Jpeg(int width, int height, int ppi = 300, J_COLOR_SPACE space = JCS_RGB) {
    test::JpegFixture j;
    j.width = width;
    j.height = height;
    j.space = space;
    j.densityUnit = 1;
    j.xDensity = j.yDensity = ppi;
    return test::EncodeJpeg(j);
}

/// A document with three images added from real files (600 x 400 at 300 ppi), the
/// first and the third selected, and an earlier undo entry of the user.
struct Replacing : CommandFixture {
    std::vector<CImageObj*> images;
    fs::path oldPath;

    Replacing() {
        oldPath = Write("alt.jpg", Jpeg(600, 400));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(AddImageFilesToLayout(layout, oldPath, undo), kAddDone);
        }
        RenumberImageItems(*layout);
        for (CLayoutObj* p = layout->GetFirstItem(); p; p = p->NextItem())
            images.push_back(static_cast<CImageObj*>(p));
        for (CImageObj* image : images) image->SetSelected(0);
        images[0]->SetSelected(1);
        images[2]->SetSelected(1);
        // The user's last edit: a black background, undone by the entry.
        layout->SetPaperColor(0);
        undo.PushUndo(*layout, 22);
        layout->SetPaperColor(0xFFFFFF);
        messages.shown.clear();
        host.shell.toolBarRefreshes.clear();
    }
    fs::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = root.Path() / name;
        test::WriteBytes(path, bytes);
        return path;
    }
    void Replace(const fs::path& path) {
        files.paths = {path};
        objects.OnCommand(kCmdReplaceImage);
    }
    /// The item's picture size (its description).
    static std::pair<int, int> Pixels(const CImageObj* item) {
        return {item->GetDescription()->width, item->GetDescription()->height};
    }
};

TEST(ReplaceImageCommand, EverySelectedImageTakesTheFileAsOneUndoableEdit) {
    Replacing f;
    const fs::path neu = f.Write("neu.jpg", Jpeg(800, 600));
    f.Replace(neu);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.images[0]->GetFilePath(), neu);
    EXPECT_EQ(f.images[1]->GetFilePath(), f.oldPath);
    EXPECT_EQ(f.images[2]->GetFilePath(), neu);
    EXPECT_EQ(Replacing::Pixels(f.images[2]), std::make_pair(800, 600));
    EXPECT_EQ(f.images[2]->IsSaveFile(), 1) << "the new picture is shown";
    EXPECT_EQ(f.undo.GetLastUndoCode(), 26);
    EXPECT_EQ(f.layout->GetDirty(), 1);
    EXPECT_EQ(CountObjects(f.layout->ItemListHead()), 3) << "the opened item is gone again";
    EXPECT_EQ(AppBusyFlag(), 0);
    EXPECT_GE(f.host.shell.toolBarRefreshes.size(), 2u);

    ASSERT_TRUE(f.undo.PerformUndo(*f.layout));
    for (CLayoutObj* p = f.layout->GetFirstItem(); p; p = p->NextItem())
        EXPECT_EQ(static_cast<CImageObj*>(p)->GetFilePath(), f.oldPath);
}

TEST(ReplaceImageCommand, EveryRefusalShowsOneMessageAndLeavesTheLayoutAsItWas) {
    struct Case {
        const char* what;
        std::function<fs::path(Replacing&)> prepare;  // the file to choose
        int message;
    };
    const std::vector<Case> cases = {
        {"249 x 1000 pixels", [](Replacing& r) { return r.Write("klein.jpg", Jpeg(249, 1000)); }, 10444},
        {"a CMYK JPEG", [](Replacing& r) { return r.Write("cmyk.jpg", Jpeg(800, 600, 300, JCS_CMYK)); }, 10526},
        {"no picture at all",
         [](Replacing& r) {
             const fs::path path = r.root.Path() / "text.jpg";
             test::WriteFileBytes(path, "kein Bild");
             return path;
         },
         10526},
        {"the picture budget exceeded",
         [](Replacing& r) {
             // An unselected picture that fills the budget to the last byte on its own.
             r.images[1]->SetDescription(ImageDescription{FourCC("jpeg"), 16384, 16384, 300, 300, 24, {}});
             return r.Write("neu.jpg", Jpeg(800, 600));
         },
         10413},
        {"a ratio-sized item past 15 m",
         [](Replacing& r) {
             // Scale 27 of the old picture; the new one at 10 ppi is 28800 units wide.
             r.images[2]->SetSizeMethod(2);
             r.images[2]->SetSize(20000, 13333);
             return r.Write("grob.jpg", Jpeg(800, 600, 10));
         },
         10444},
        {"a refused relayout",
         [](Replacing& r) {
             // At their natural size (scale 1) both selected items grow to 2700 x 2026
             // units: three rows no longer fit on the one page allowed.
             r.layout->SetPageMax(1);
             for (CImageObj* image : {r.images[0], r.images[2]}) {
                 image->SetSizeMethod(2);
                 image->SetSize(720, 480);
             }
             return r.Write("gross.jpg", Jpeg(750, 563, 100));
         },
         15168},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Replacing f;
        const fs::path path = c.prepare(f);
        const std::string before = DescribeByName(*f.layout);
        const std::vector<uint32_t> ids = {f.images[0]->GetObjectId(), f.images[1]->GetObjectId(),
                                           f.images[2]->GetObjectId()};
        f.Replace(path);
        EXPECT_EQ(f.messages.Ids(), std::vector<int>{c.message});
        EXPECT_EQ(f.messages.shown.empty() ? Icon::None : f.messages.shown[0].icon, Icon::Error);
        EXPECT_EQ(DescribeByName(*f.layout), before);
        std::vector<uint32_t> idsAfter;
        for (CLayoutObj* p = f.layout->GetFirstItem(); p; p = p->NextItem()) {
            idsAfter.push_back(p->GetObjectId());
            EXPECT_EQ(static_cast<CImageObj*>(p)->GetFilePath(), f.oldPath);
        }
        EXPECT_EQ(idsAfter, ids);
        ASSERT_TRUE(f.undo.CanUndo());
        EXPECT_EQ(f.undo.GetUndoLayout()->GetPaperColor(), 0u) << "the user's entry still undoes";
        EXPECT_EQ(AppBusyFlag(), 0);
        EXPECT_GE(f.host.shell.toolBarRefreshes.size(), 2u);
    }
}

TEST(ReplaceImageCommand, CancelAndTheBusyFlagDoNothing) {
    Replacing f;
    const std::string before = DescribeByName(*f.layout);
    f.files.paths.clear();
    f.objects.OnCommand(kCmdReplaceImage);
    EXPECT_EQ(f.files.asked, 1);
    EXPECT_EQ(AppBusyFlag(), 0);

    f.files.paths = {f.Write("neu.jpg", Jpeg(800, 600))};
    AppBusyFlag() = 1;
    f.objects.OnCommand(kCmdReplaceImage);
    AppBusyFlag() = 0;
    EXPECT_EQ(f.files.asked, 1) << "no dialog while busy";
    EXPECT_EQ(DescribeByName(*f.layout), before);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 22);
}

}  // namespace
}  // namespace vx
