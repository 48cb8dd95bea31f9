#include <gtest/gtest.h>

#include <vector>

#include "../model/LayoutFixture.h"
#include "dialogs/TintController.h"
#include "model/CImageObj.h"
#include "model/CPropertyMember.h"
#include "model/CTextObj.h"
#include "model/UndoStore.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

struct TintFixture {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    test::InstalledApplicationState app;
    test::TestLayout t;
    std::vector<CImageObj*> images = t.AddImages(3);

    TintFixture() {
        app.undo = &undo;
        for (CImageObj* image : images) {
            image->SetSelected(1);
            image->SetColorSpace(FourCC("RGB "));
        }
        t.layout.SetCurrentItem(images[0]);
    }
};

TEST(TintController, ShowsTheCurrentImagesTintAndWritesTheChoiceIntoEverySelectedImage) {
    struct Case {
        const char* what;
        int16_t mode, bright, contrast, vivid;  // stored in the current image
        TintController::Choice shown;
        int positions[3];
        TintController::Choice chosen;
        int set[3];       // slider positions before OK
        int16_t stored[4];  // mode, bright, contrast, vivid written
    };
    using C = TintController;
    const std::vector<Case> cases = {
        {"off", 0, 2, 2, 2, C::kOff, {3, 3, 3}, C::kOff, {0, 6, 1}, {0, 0, 0, 0}},
        {"automatic", 1, 0, 0, 0, C::kAutomatic, {3, 3, 3}, C::kAutomatic, {3, 3, 3}, {1, 0, 0, 0}},
        {"custom", 2, -3, 1, 3, C::kCustom, {0, 4, 6}, C::kCustom, {0, 6, 2}, {2, -3, 3, -1}},
        {"custom in the middle stores zeros", 0, 0, 0, 0, C::kOff, {3, 3, 3}, C::kCustom, {3, 3, 3}, {2, 0, 0, 0}},
        {"stored 7 shows automatic", 7, 1, 1, 1, C::kAutomatic, {3, 3, 3}, C::kOff, {3, 3, 3}, {0, 0, 0, 0}},
        {"none checked writes off", 2, 1, 1, 1, C::kCustom, {4, 4, 4}, C::kNone, {5, 5, 5}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TintFixture f;
        CImageObj& current = *f.images[0];
        current.SetTuneMode(c.mode);
        current.SetTuneBright(c.bright);
        current.SetTuneContrast(c.contrast);
        current.SetTuneVivid(c.vivid);
        f.images[2]->SetSelected(0);
        f.images[2]->SetTuneMode(1);
        CTextObj* text = f.t.Add<CTextObj>(100, 100, 500, 500);
        text->SetSelected(1);
        const auto describe = [](CTextObj& item) {
            std::vector<PropertyValue> values;
            for (const CPropertyMember& m : item.InitPropertyNames()) values.push_back(m.Get());
            return values;
        };
        const std::vector<PropertyValue> textBefore = describe(*text);

        TintController tint(f.t.layout);
        ASSERT_TRUE(tint.Init());
        EXPECT_EQ(tint.Checked(), c.shown);
        EXPECT_EQ(tint.SlidersEnabled(), c.shown == C::kCustom);
        for (int s = 0; s < 3; ++s) EXPECT_EQ(tint.Position(C::Slider(s)), c.positions[s]);
        tint.Check(c.chosen);
        for (int s = 0; s < 3; ++s) tint.SetPosition(C::Slider(s), c.set[s]);
        ASSERT_TRUE(tint.Ok());
        for (CImageObj* image : {f.images[0], f.images[1]}) {
            EXPECT_EQ(image->GetTuneMode(), c.stored[0]);
            EXPECT_EQ(image->GetTuneBright(), c.stored[1]);
            EXPECT_EQ(image->GetTuneContrast(), c.stored[2]);
            EXPECT_EQ(image->GetTuneVivid(), c.stored[3]);
        }
        EXPECT_EQ(f.images[2]->GetTuneMode(), 1) << "not selected";
        EXPECT_EQ(describe(*text), textBefore) << "free texts are left alone";
        EXPECT_EQ(f.t.layout.GetDirty(), 1);
        EXPECT_EQ(f.undo.GetLastUndoCode(), 31);
        EXPECT_TRUE(f.undo.CanUndo());
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(TintController, OneImageThatCannotBeTintedRefusesTheWholeSelection) {
    struct Case { const char* what; uint32_t space; int16_t zel; int message; };
    const std::vector<Case> cases = {
        {"greyscale", FourCC("GRAY"), 0, IDS_GREYSCALE_NO_COLOUR},
        {"Zel level 4", FourCC("RGB "), 4, IDS_TINT_NOT_POSSIBLE},
        {"Zel level 2 is fine", FourCC("RGB "), 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TintFixture f;
        f.images[1]->SetColorSpace(c.space);
        f.images[1]->SetUseZelFile(c.zel);
        TintController tint(f.t.layout);
        EXPECT_EQ(tint.Init(), c.message == 0);
        EXPECT_EQ(f.messages.Ids(), c.message ? std::vector<int>{c.message} : std::vector<int>{});
        EXPECT_FALSE(f.undo.CanUndo());
        EXPECT_EQ(f.t.layout.GetDirty(), 0);
    }
}

TEST(TintController, NoUndoStepWritesNothing) {
    TintFixture f;
    ScopedHostService<ApplicationState> none(nullptr);
    TintController tint(f.t.layout);
    ASSERT_TRUE(tint.Init());
    tint.Check(TintController::kAutomatic);
    EXPECT_FALSE(tint.Ok());
    EXPECT_EQ(f.messages.Ids(), std::vector<int>{IDS_NOT_ENOUGH_MEMORY});
    EXPECT_EQ(f.images[0]->GetTuneMode(), 0);
    EXPECT_EQ(f.t.layout.GetDirty(), 0);
}

}  // namespace
}  // namespace vx
