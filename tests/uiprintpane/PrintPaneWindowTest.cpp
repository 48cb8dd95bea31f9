#include "../uicontrols/GalleryFixture.h"

#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/spinbutt.h>

#include "app/TemplateChangeMarks.h"
#include "host/HostService.h"
#include "host/PrintPresetsDialog.h"
#include "printing/PrinterSetupServices.h"
#include <wx/button.h>
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "printing/CPrinterManager.h"
#include "printing/ImagingServices.h"
#include "printing/LayoutServices.h"
#include "support/RecordingPorts.h"
#include "support/printing/FakeQueueSource.h"
#include "printing/SectionButtonGeometry.h"
#include "ui/printpane/CMainFormView.h"
#include "ui/printpane/CArrowSpin.h"
#include "ui/printpane/CSectionButton.h"

namespace {

using PrintPaneWindow = Gallery;

TEST_F(PrintPaneWindow, SectionButtonIsAnEvenTriangleThatTakesClicksInside) {
    auto* button = new CSectionButton(mPanel, wxID_ANY, wxPoint(20, 20), wxSize(13, 11));
    EXPECT_EQ(button->GetClientSize(), wxSize(10, 10));
    EXPECT_EQ(button->GetState(), 3);
    button->SetSize(41, 41);
    EXPECT_EQ(button->GetSize(), wxSize(40, 40));
    button->SetFillColor(wxColour(0x28, 0x28, 0x28));
    int clicks = 0;
    button->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++clicks; });
    Pump(200);
    SavePng(mPanel, "CSectionButton-right.png");
    // Right: the top-right corner of the square is outside the triangle.
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(Grab(button), {10, 19}) == wxColour(0x28, 0x28, 0x28); }));
    ClickAt(button, wxMOUSE_BTN_LEFT, wxPoint(36, 3));
    Pump();
    EXPECT_EQ(clicks, 0);
    ClickAt(button, wxMOUSE_BTN_LEFT, wxPoint(10, 20));
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
    button->SetState(1);
    EXPECT_EQ(button->GetState(), 1);
    Pump();
    SavePng(mPanel, "CSectionButton-down.png");
    ClickAt(button, wxMOUSE_BTN_LEFT, wxPoint(3, 36));  // below-left: outside a downward triangle
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(PrintPaneWindow, ArrowSpinStepsByItsHalvesWithinItsRange) {
    auto* spin = new CArrowSpin(mPanel, wxID_ANY, wxPoint(20, 20), wxSize(18, 27));
    spin->SetRange(1, 2);
    spin->SetValue(1);
    std::vector<int> steps;
    spin->Bind(wxEVT_SPIN_UP, [&](wxSpinEvent&) { steps.push_back(1); });
    spin->Bind(wxEVT_SPIN_DOWN, [&](wxSpinEvent&) { steps.push_back(-1); });
    Pump();
    SavePng(mPanel, "CArrowSpin.png");
    ClickAt(spin, wxMOUSE_BTN_LEFT, wxPoint(9, 5));
    ASSERT_TRUE(PumpUntil([&] { return steps.size() == 1; }));
    EXPECT_EQ(spin->GetValue(), 2);
    ClickAt(spin, wxMOUSE_BTN_LEFT, wxPoint(9, 5));  // at the top of the range
    Pump();
    EXPECT_EQ(steps, std::vector<int>{1});
    ClickAt(spin, wxMOUSE_BTN_LEFT, wxPoint(9, 22));
    ASSERT_TRUE(PumpUntil([&] { return steps.size() == 2; }));
    EXPECT_EQ(steps.back(), -1);
    EXPECT_EQ(spin->GetValue(), 1);
}

struct PaneFixture : Gallery {
    void SetUp() override {
        Gallery::SetUp();
        mFrame->SetSize(wxSize(420, 760));
        pane = new CMainFormView(mPanel, nullptr);
        pane->SetSize(0, 0, 380, 700);
        layout.SetBaseImage(std::make_unique<vx::CImageObj>(true, "BaseImage"));
        layout.SetOrientation(1);
        layout.SetColor(256);
        layout.Texts().printerName = "P44";
        vx::CurrentTemplateInfo().RemoveAll();
        vx::TemplateInfo info;
        info.Path = "/vorlagen/Karte.kqf";
        info.Comment = "Postkarte";
        vx::SetCurrentTemplateInfo(info);
        Pump();
    }
    void TearDown() override {
        vx::CurrentTemplateInfo().RemoveAll();
        Gallery::TearDown();
    }
    CMainFormView* pane = nullptr;
    vx::CLayoutSetting layout{true};
};

using PrintPane = PaneFixture;

TEST_F(PrintPane, ShowsThreeSectionsAndTheListWithPencils) {
    pane->LoadDocumentSettings(layout);
    pane->Marks().Mark(vx::kRowInk);
    pane->UpdateTemplateSettingsText(layout);
    Pump(200);
    wxListCtrl* list = pane->TemplateList();
    ASSERT_EQ(list->GetItemCount(), 13);
    EXPECT_EQ(list->GetItemText(0, 0), "Name");
    EXPECT_EQ(list->GetItemText(0, 1), "Karte.kqf");
    EXPECT_EQ(list->GetItemText(8, 1), "Greyvance Photo");
    wxListItem item;
    item.SetId(8);
    item.SetMask(wxLIST_MASK_IMAGE);
    ASSERT_TRUE(list->GetItem(item));
    EXPECT_EQ(item.GetImage(), 1);  // the pencil
    item.SetId(7);
    ASSERT_TRUE(list->GetItem(item));
    EXPECT_EQ(item.GetImage(), 0);
    // A marked row is unsaved work until the binding settles.
    EXPECT_EQ(layout.GetDirty(), 1);
    pane->OnBindingSettled();
    EXPECT_EQ(layout.GetDirty(), 0);

    for (auto c : {vx::kPaneSection1Title, vx::kPaneSection2Title, vx::kPaneSection3Title, vx::kPanePrinterCombo,
                   vx::kPaneTemplateList})
        EXPECT_TRUE(pane->PaneControl(c)->IsShown()) << c;
    EXPECT_FALSE(pane->PaneControl(vx::kPaneProfileCombo)->IsShown());  // colour management starts closed
    SavePng(mFrame, "CMainFormView.png");
}

TEST_F(PrintPane, SectionButtonsHideAndShowTheirControls) {
    const int listTop = pane->PaneControl(vx::kPaneTemplateList)->GetPosition().y;
    ClickAt(pane->SectionButton(0));
    ASSERT_TRUE(PumpUntil([&] { return pane->SectionButton(0)->GetState() == 3; }));
    EXPECT_FALSE(pane->PaneControl(vx::kPanePrinterCombo)->IsShown());
    EXPECT_FALSE(pane->PaneControl(vx::kPaneMorePrint)->IsShown());
    EXPECT_LT(pane->PaneControl(vx::kPaneTemplateList)->GetPosition().y, listTop);
    SavePng(mFrame, "CMainFormView-section1-closed.png");

    ClickAt(pane->SectionButton(1));
    ASSERT_TRUE(PumpUntil([&] { return pane->SectionButton(1)->GetState() == 1; }));
    EXPECT_TRUE(pane->PaneControl(vx::kPaneProfileCombo)->IsShown());

    ClickAt(pane->SectionButton(0));
    ASSERT_TRUE(PumpUntil([&] { return pane->SectionButton(0)->GetState() == 1; }));
    EXPECT_TRUE(pane->PaneControl(vx::kPanePrinterCombo)->IsShown());
    SavePng(mFrame, "CMainFormView-all-open.png");
}

struct StubLayouts : vx::LayoutServices {
    std::unique_ptr<vx::LayoutSnapshot> SnapshotLayout(vx::CLayoutSetting&) override {
        return std::make_unique<vx::LayoutSnapshot>();
    }
    void RestoreLayoutSnapshot(vx::CLayoutSetting&, vx::LayoutSnapshot&) override {}
    int Relayout(vx::CLayoutSetting&) override { return 1; }
    void RebuildWorkingBitmaps(vx::CLayoutSetting&) override {}
};

struct StubImaging : vx::ImagingServices {
    void ReloadStampPicture(vx::CLayoutSetting&) override {}
    bool ProfileFileExists(const std::string&) override { return true; }
    bool IsPlainProfile(const std::string&) override { return false; }
};

// The shipped file queue's model behind two queues, driven through the pane's own controls.
TEST_F(PrintPane, PaperAndLandscapeOnTheControlsChangeTheLayout) {
    vx::test::RecordingMessagePort messages;
    vx::test::ScopedPorts ports{&messages};
    vx::test::FakeQueueSource queues;
    queues.Add("P44", "TEVRA Proof 44").isDefault = true;
    queues.Add("P24", "TEVRA Proof 24");
    vx::CPrinterManager manager(queues, vx::SystemDriverModules());
    StubLayouts layouts;
    StubImaging imaging;
    manager.BindServices(&layouts, &imaging, nullptr);

    pane->Hide();
    auto* bound = new CMainFormView(mPanel, &manager);
    bound->SetSize(0, 0, 380, 700);
    layout.Texts().printerModel = "TEVRA Proof 44";
    layout.Texts().printerName = "P44";
    bound->LoadDocumentSettings(layout);
    Pump();
    EXPECT_TRUE(messages.shown.empty());
    auto* paper = static_cast<wxChoice*>(bound->PaneControl(vx::kPanePaperCombo));
    ASSERT_GT(paper->GetCount(), 1u);
    const int16_t paperBefore = layout.GetPaperSize();
    const int target = paper->GetSelection() == 0 ? 1 : 0;
    paper->SetSelection(target);
    wxCommandEvent chosen(wxEVT_CHOICE, paper->GetId());
    chosen.SetEventObject(paper);
    chosen.SetInt(target);
    paper->GetEventHandler()->ProcessEvent(chosen);
    EXPECT_NE(layout.GetPaperSize(), paperBefore);
    EXPECT_EQ(paper->GetSelection(), target);
    EXPECT_TRUE(bound->Marks().IsMarked(vx::kRowPaperSize));

    ClickAt(bound->PaneControl(vx::kPaneLandscape));
    EXPECT_TRUE(PumpUntil([&] { return layout.GetOrientation() == 2; }));
    EXPECT_TRUE(bound->Marks().IsMarked(vx::kRowOrientation));
    EXPECT_EQ(bound->TemplateList()->GetItemText(vx::kRowOrientation, 1), "Querformat");
    SavePng(mFrame, "CMainFormView-bound.png");
    EXPECT_TRUE(messages.shown.empty());
    bound->Destroy();
    Pump();
}

struct FakePresets : vx::PrintPresetsDialog {
    bool ok = true;
    int runs = 0;
    bool Run(vx::CLayoutSetting& layout, vx::TemplateChangeMarks& marks) override {
        ++runs;
        layout.SetColor(1);
        marks.Mark(vx::kRowInk);
        return ok;
    }
};

struct FakeOutputColour : vx::PrinterSetupServices {
    bool answer = true;
    vx::CLayoutSetting* layout = nullptr;
    bool RunOutputColorDialog() override {
        if (answer && layout) layout->SetColorMatchPrinter(1);
        return answer;
    }
    int QueryPrinterPaperCaps(int32_t, int32_t, bool, int32_t, vx::LayoutPoint) override { return 0; }
};

// The two "Mehr..." buttons run their dialogs on the bound layout; without a presets
// dialog the first stays disabled.
TEST_F(PrintPane, MoreButtonsRunTheirDialogsAndTheProfileListFollows) {
    vx::test::RecordingMessagePort messages;
    vx::test::ScopedPorts ports{&messages};
    vx::test::FakeQueueSource queues;
    queues.Add("P44", "TEVRA Proof 44").isDefault = true;
    vx::CPrinterManager manager(queues, vx::SystemDriverModules());
    StubLayouts layouts;
    StubImaging imaging;
    manager.BindServices(&layouts, &imaging, nullptr);
    FakeOutputColour output;
    output.layout = &layout;
    vx::ScopedHostService<vx::PrinterSetupServices> installOutput{&output};

    pane->Hide();
    auto* bound = new CMainFormView(mPanel, &manager);
    bound->SetSize(0, 0, 380, 700);
    bound->SectionButton(1)->SetState(1);
    bound->ArrangeSections();
    layout.Texts().printerModel = "TEVRA Proof 44";
    layout.SetColor(2);
    layout.SetColorMatchPrinter(0);
    layout.SetRecommend(1);
    bound->LoadDocumentSettings(layout);
    Pump();
    wxWindow* more = bound->PaneControl(vx::kPaneMorePrint);
    wxWindow* moreColour = bound->PaneControl(vx::kPaneMoreColour);
    auto* profiles = static_cast<wxChoice*>(bound->PaneControl(vx::kPaneProfileCombo));
    EXPECT_FALSE(more->IsEnabled());
    EXPECT_TRUE(moreColour->IsEnabled());
    ASSERT_GE(profiles->GetCount(), 2u);
    EXPECT_EQ(profiles->GetString(0), "Von TEVRA empfohlen");
    EXPECT_EQ(profiles->GetSelection(), 0);
    EXPECT_TRUE(profiles->IsEnabled());

    // Another profile chosen on the list is the layout's, and unsaved.
    layout.SetDirty(0);
    profiles->SetSelection(1);
    wxCommandEvent chosen(wxEVT_CHOICE, profiles->GetId());
    chosen.SetEventObject(profiles);
    chosen.SetInt(1);
    profiles->GetEventHandler()->ProcessEvent(chosen);
    EXPECT_EQ(layout.GetRecommend(), 0);
    EXPECT_EQ(wxString::FromUTF8(layout.Texts().printerProfile), profiles->GetString(1));
    EXPECT_EQ(layout.GetDirty(), 1);

    // The output colour dialog lets the printer match colours: the list shows the
    // recommendation and is closed; a cancelled dialog changes nothing.
    output.answer = false;
    ClickAt(moreColour);
    Pump();
    EXPECT_EQ(profiles->GetSelection(), 1);
    output.answer = true;
    ClickAt(moreColour);
    EXPECT_TRUE(PumpUntil([&] { return !profiles->IsEnabled(); }));
    EXPECT_EQ(profiles->GetSelection(), 0);

    FakePresets presets;
    vx::ScopedHostService<vx::PrintPresetsDialog> installPresets{&presets};
    bound->RefreshControls(true);
    EXPECT_TRUE(more->IsEnabled());
    ClickAt(more);
    ASSERT_TRUE(PumpUntil([&] { return presets.runs == 1; }));
    EXPECT_EQ(layout.GetColor(), 1);
    EXPECT_TRUE(bound->Marks().IsMarked(vx::kRowInk));
    EXPECT_EQ(bound->TemplateList()->GetItemText(vx::kRowInk, 1), "Schwarz");

    // The spin button is large enough to hit its two halves.
    auto* spin = static_cast<CArrowSpin*>(bound->PaneControl(vx::kPaneLengthSpin));
    EXPECT_GE(spin->GetSize().y, 20);
    EXPECT_GE(spin->GetSize().x, 12);
    SavePng(mFrame, "CMainFormView-colour.png");
    EXPECT_TRUE(messages.shown.empty());
    bound->Destroy();
    Pump();
}

}  // namespace
