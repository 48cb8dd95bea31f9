#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostFakes.h"
#include "LayoutFixture.h"
#include "model/LayoutOperations.h"
#include "model/RefusableEdit.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::DescribeByName;
using test::TestLayout;

std::vector<int> LabelNumbers(const std::vector<CImageObj*>& images) {
    std::vector<int> numbers;
    for (const CImageObj* p : images) numbers.push_back(p->GetLabelNumber());
    return numbers;
}

TEST(ViewStateBlock, CreatedAtZoomOneAndFreedThroughItsOwner) {
    CLayoutSetting layout(true);
    ViewStateBlock& old = layout.RenewViewState();
    old.statusA = 5;
    ViewStateBlock* block = CreateViewStateBlock(layout);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(layout.GetViewState(), block);
    EXPECT_EQ(block->owner, &layout);
    EXPECT_EQ(block->zoomNumerator, 1);
    EXPECT_EQ(block->zoomDenominator, 1);
    EXPECT_EQ(block->previousZoomNumerator, 1);
    EXPECT_EQ(block->previousZoomDenominator, 1);
    EXPECT_EQ(block->statusA, 0);
    EXPECT_EQ(block->visibleWidth, 0);
    EXPECT_EQ(block->untitledNumber, 0);

    ViewStateBlock stranger;  // claims the layout, which holds another block
    stranger.owner = &layout;
    FreeViewStateBlock(&stranger);
    FreeViewStateBlock(nullptr);
    EXPECT_EQ(layout.GetViewState(), block);
    FreeViewStateBlock(block);
    EXPECT_EQ(layout.GetViewState(), nullptr);
}

TEST(ImageItemTests, FindImagesAmongOtherKinds) {
    TestLayout t;
    EXPECT_EQ(ContainsImageItem(t.layout), 0);
    EXPECT_FALSE(HasImageItems(t.layout));
    t.Add<CTextObj>(100, 100);
    EXPECT_EQ(ContainsImageItem(t.layout), 0);
    EXPECT_FALSE(HasImageItems(t.layout));
    t.Add(100, 100);
    EXPECT_EQ(ContainsImageItem(t.layout), 1);
    EXPECT_TRUE(HasImageItems(t.layout));
}

// Three images numbered 5, 0, 2 in free layout.
struct ModeExample : TestLayout {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    std::vector<CImageObj*> images = AddImages(3);

    ModeExample() {
        layout.SetFree(1);
        const int numbers[] = {5, 0, 2};
        for (size_t i = 0; i < images.size(); ++i) images[i]->SetLabelNumber(int16_t(numbers[i]));
    }
};

TEST(SwitchLayoutMode, SetsTheModeAndNumbersByIt) {
    struct Case { int startFree; int mode; int free; std::vector<int> numbers; };
    const std::vector<Case> cases = {
        {1, 0, 0, {1, 2, 3}},
        {1, 1, 0, {1, 2, 3}},
        {0, 2, 1, {5, 6, 2}},  // free layout keeps numbers and fills the 0 from the top
        {0, 7, 0, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ModeExample e;
        e.layout.SetFree(c.startFree);
        const int invalidations = e.host.view.invalidations;
        EXPECT_TRUE(SwitchLayoutMode(e.layout, c.mode));
        EXPECT_EQ(e.layout.GetFree(), c.free);
        EXPECT_EQ(LabelNumbers(e.images), c.numbers);
        EXPECT_EQ(e.layout.GetDirty(), 1);
        EXPECT_GT(e.host.view.invalidations, invalidations);
        if (!c.free) {
            EXPECT_NE(e.images[0]->GetPosition().x, kUnplacedX);  // flowed into rows
        }
    }
}

TEST(SwitchLayoutMode, RefusesWithoutViewState) {
    ModeExample e;
    e.layout.FreeViewState();
    const std::string before = DescribeByName(e.layout);
    EXPECT_FALSE(SwitchLayoutMode(e.layout, 0));
    EXPECT_EQ(DescribeByName(e.layout), before);
}

TEST(SwitchLayoutMode, ReportsARefusedRelayoutSoTheEditIsPutBack) {
    ModeExample e;
    e.AddImages(7);  // ten images: two pages in automatic layout
    e.layout.SetPageMax(1);
    EXPECT_FALSE(SwitchLayoutMode(e.layout, 0));
    EXPECT_EQ(e.layout.GetDirty(), 0);

    ModeExample again;
    again.AddImages(7);
    again.layout.SetPageMax(1);
    UndoStore undo;
    const std::string before = DescribeByName(again.layout);
    bool switched = true;
    const EditOutcome outcome = RunRefusableEdit(undo, again.layout, 17, false, [&](CLayoutSetting& l) {
        switched = SwitchLayoutMode(l, 0);
    });
    EXPECT_FALSE(switched);
    EXPECT_EQ(outcome, EditOutcome::TooLong);
    EXPECT_EQ(again.messages.Ids(), std::vector<int>{IDS_PAPER_LENGTH_LIMIT});
    EXPECT_EQ(DescribeByName(again.layout), before);
    EXPECT_FALSE(undo.CanUndo());
}

TEST(UpdateImageInfoWindow, ShowsTheFourGroupsOfAnImage) {
    test::ToolWindowHost host;
    TestLayout t;
    CImageObj* image = t.Add(100, 100);
    CTextObj* text = t.Add<CTextObj>(100, 100);

    EXPECT_EQ(UpdateImageInfoWindow(image), 1);
    const std::vector<std::pair<const CLayoutObj*, int>> groups = {{image, 1}, {image, 2}, {image, 3}, {image, 4}};
    EXPECT_EQ(host.tools.shownGroups, groups);
    EXPECT_EQ(host.tools.rowResets, 0);

    host.tools.shownGroups.clear();
    EXPECT_EQ(UpdateImageInfoWindow(text), 1);  // not an image: nothing shown
    image->SetType(0);
    ShowInImageInfoWindow(image, 1);
    ShowInImageInfoWindow(nullptr, 1);
    EXPECT_TRUE(host.tools.shownGroups.empty());
}

TEST(UpdateImageInfoWindow, WithoutItemResetsOnlyAShownWindow) {
    test::ToolWindowHost host;
    EXPECT_EQ(UpdateImageInfoWindow(nullptr), 0);
    EXPECT_EQ(host.tools.rowResets, 0);
    host.app.preferences.imageInfoWindow = 1;
    EXPECT_EQ(UpdateImageInfoWindow(nullptr), 1);
    EXPECT_EQ(host.tools.rowResets, 1);
    EXPECT_TRUE(host.tools.shownGroups.empty());
}

TEST(QuickPrintAfterLoad, PrintsAnAutomaticLayoutOnceConfirmed) {
    struct Case {
        const char* what;
        int quickPrint, confirm, free, when, answer;
        bool asked, printed;
    };
    const std::vector<Case> cases = {
        {"quick print off", 0, 1, 0, 1, kIdOk, false, false},
        {"free layout", 1, 1, 1, 1, kIdOk, false, false},
        {"not after a load", 1, 1, 0, 0, kIdOk, false, false},
        {"cancelled", 1, 1, 0, 1, kIdCancel, true, false},
        {"confirmed", 1, 1, 0, 1, kIdOk, true, true},
        {"no confirmation asked", 1, 0, 0, 1, kIdCancel, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RecordingHost shell;
        test::ToolWindowHost host;
        test::RecordingMessagePort messages;
        test::ScopedPorts ports{&messages};
        messages.answer = c.answer;
        host.app.preferences.quickPrint = c.quickPrint;
        host.app.preferences.confirmationDialogs = c.confirm;
        TestLayout t;
        t.layout.SetFree(c.free);

        EXPECT_EQ(QuickPrintAfterLoad(c.when, t.layout), 1);
        if (c.asked) {
            ASSERT_EQ(messages.Ids(), std::vector<int>{IDS_QUICK_PRINT_CONFIRM});
            EXPECT_EQ(messages.shown[0].icon, Icon::Question);
            EXPECT_EQ(messages.shown[0].buttons, Buttons::OkCancel);
            EXPECT_EQ(messages.shown[0].text, "Die Schnelldruckfunktion ist aktiviert. Möchten Sie jetzt drucken?");
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
        if (c.printed) {
            EXPECT_EQ(shell.shell.printNowAt, std::vector<int>{11});  // printed under status 11
            EXPECT_EQ(shell.shell.quickPrintStates, (std::vector<int>{11, 12}));
        } else {
            EXPECT_TRUE(shell.shell.printNowAt.empty());
            EXPECT_TRUE(shell.shell.quickPrintStates.empty());
        }
    }
}

}  // namespace
}  // namespace vx
