#include "../uicontrols/GalleryFixture.h"

#include <wx/choice.h>
#include <wx/notebook.h>

#include "app/TemplateChangeMarks.h"
#include "model/CLayoutSetting.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "printing/CPrinterManager.h"
#include "printing/ImagingServices.h"
#include "printing/LayoutServices.h"
#include "support/RecordingPorts.h"
#include "support/printing/FakeQueueSource.h"
#include "ui/dialogs/CMediaPresetPage.h"
#include "ui/dialogs/COutputColorDlg.h"
#include "ui/dialogs/CPaperPresetPage.h"
#include "ui/dialogs/CPrintPresetDlg.h"

namespace {

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

// Two queues of the shipped models and a reconciled portrait sheet bound to the manager.
struct PresetsWindow : Gallery {
    void SetUp() override {
        Gallery::SetUp();
        queues.Add("P44", "TEVRA Proof 44").isDefault = true;
        queues.Add("PA3", "TEVRA Proof A3");
        manager = std::make_unique<vx::CPrinterManager>(queues, vx::SystemDriverModules());
        manager->BindServices(&layouts, &imaging, nullptr);
        layout.SetOrientation(1);
        layout.SetColor(2);
        layout.SetMediaType(1);
        layout.SetAutoMode(1);
        layout.SetUnit(1);
        layout.Texts().printerName = "P44";
        manager->BindLayout(&layout);
        manager->SelectPrinter("P44", -1);
        vx::SettingsChangeRecord record;
        ASSERT_TRUE(manager->SyncLayoutAndDriver(&record, true, 0, false, true));
    }
    void TearDown() override {
        manager->BindLayout(nullptr);
        manager.reset();
        Gallery::TearDown();
    }
    static void Choose(wxChoice* choice, int index) {
        choice->SetSelection(index);
        wxCommandEvent e(wxEVT_CHOICE, choice->GetId());
        e.SetEventObject(choice);
        e.SetInt(index);
        choice->GetEventHandler()->ProcessEvent(e);
    }
    static void Click(wxWindow* button, wxEventType type) {
        wxCommandEvent e(type, button->GetId());
        e.SetEventObject(button);
        e.SetInt(1);
        button->GetEventHandler()->ProcessEvent(e);
    }
    static int IndexOf(wxChoice* choice, const std::string& text) {
        return choice->FindString(wxString::FromUTF8(text));
    }

    vx::test::RecordingMessagePort messages;
    vx::test::ScopedPorts ports{&messages};
    vx::test::FakeQueueSource queues;
    StubLayouts layouts;
    StubImaging imaging;
    std::unique_ptr<vx::CPrinterManager> manager;
    vx::CLayoutSetting layout{true};
};

TEST_F(PresetsWindow, PaperTabChangesReachTheLayout) {
    vx::TemplateChangeMarks marks;
    marks.Mark(vx::kRowName);  // the dialog starts its own marks afresh
    auto* dialog = new vx::CPrintPresetDlg(mFrame, *manager, layout, marks);
    dialog->Show();
    Pump();
    EXPECT_FALSE(marks.IsMarked(vx::kRowName));
    vx::CPaperPresetPage* paper = dialog->PaperPage();
    EXPECT_EQ(dialog->PrinterCombo()->GetStringSelection(), "P44");
    EXPECT_FALSE(paper->Spin()->IsEnabled());  // a sheet has no roll length
    SavePng(dialog, "CPrintPresetDlg-paper.png");

    ClickAt(paper->Landscape());
    EXPECT_TRUE(PumpUntil([&] { return layout.GetOrientation() == 2; }));
    EXPECT_TRUE(paper->Landscape()->GetValue());
    EXPECT_FALSE(paper->Portrait()->GetValue());
    EXPECT_TRUE(marks.IsMarked(vx::kRowOrientation));

    const int a3 = IndexOf(paper->Size(), "A3 (297 x 420 mm)");
    ASSERT_GE(a3, 0);
    Choose(paper->Size(), a3);
    EXPECT_EQ(layout.GetPaperSize(), 8);
    EXPECT_TRUE(marks.IsMarked(vx::kRowPaperSize));

    ASSERT_TRUE(paper->Centred()->IsEnabled());
    ClickAt(paper->Centred());
    EXPECT_TRUE(PumpUntil([&] { return layout.GetCentered() == 1; }));

    // The roll: the spin adds a page, the unit only reformats.
    const int roll = IndexOf(paper->Source(), "Rollenpapier");
    ASSERT_GE(roll, 0);
    Choose(paper->Source(), roll);
    EXPECT_EQ(layout.GetBanner(), 1);
    EXPECT_TRUE(paper->Spin()->IsEnabled());
    const int32_t pages = layout.GetPageNum();
    wxSpinEvent up(wxEVT_SPIN_UP, paper->Spin()->GetId());
    up.SetEventObject(paper->Spin());
    paper->Spin()->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(layout.GetPageNum(), pages + 1);
    EXPECT_EQ(paper->Spin()->GetValue(), pages + 1);
    layout.SetBannerLength(12700);
    Choose(paper->Unit(), 1);
    EXPECT_EQ(paper->Length()->GetLabel(), "50.000");
    Choose(paper->Unit(), 0);
    EXPECT_EQ(paper->Length()->GetLabel(), "1270.00");
    EXPECT_EQ(layout.GetUnit(), 1);
    Pump();
    SavePng(dialog, "CPrintPresetDlg-paper-roll.png");
    EXPECT_TRUE(messages.shown.empty());
    dialog->Destroy();
    Pump();
}

TEST_F(PresetsWindow, PrinterAndMediaTabReachTheLayout) {
    vx::TemplateChangeMarks marks;
    auto* dialog = new vx::CPrintPresetDlg(mFrame, *manager, layout, marks);
    dialog->Show();
    Pump();

    dialog->Tabs()->SetSelection(1);
    Pump();
    vx::CMediaPresetPage* media = dialog->MediaPage();
    EXPECT_TRUE(media->IsShown());
    EXPECT_EQ(media->InkIcon(), vx::kIconInkColour);
    SavePng(dialog, "CPrintPresetDlg-quality.png");
    const int matt = IndexOf(media->Media(), "Proofpapier Halbmatt");
    ASSERT_GE(matt, 0);
    Choose(media->Media(), matt);
    EXPECT_EQ(layout.GetMediaType(), 3);
    EXPECT_TRUE(marks.IsMarked(vx::kRowMedia));
    ClickAt(media->Ink(vx::CMediaPresetPage::kBlack));
    EXPECT_TRUE(PumpUntil([&] { return layout.GetColor() == 1; }));
    EXPECT_TRUE(marks.IsMarked(vx::kRowInk));
    EXPECT_EQ(media->InkIcon(), vx::kIconInkBlack);
    Click(media->VeryFast(), wxEVT_CHECKBOX);
    ClickAt(media->Optimise());
    EXPECT_TRUE(PumpUntil([&] { return layout.GetPreProcessing() == 1; }));
    Pump();
    SavePng(dialog, "CPrintPresetDlg-quality-black.png");

    dialog->Tabs()->SetSelection(0);
    Choose(dialog->PrinterCombo(), IndexOf(dialog->PrinterCombo(), "PA3"));
    EXPECT_EQ(manager->CurrentPrinter(), "PA3");
    EXPECT_EQ(layout.Texts().printerName, "PA3");
    EXPECT_TRUE(marks.IsMarked(vx::kRowPrinter));
    Pump();
    SavePng(dialog, "CPrintPresetDlg-PA3.png");
    EXPECT_TRUE(messages.shown.empty());
    dialog->Destroy();
    Pump();
}

TEST_F(PresetsWindow, OutputColourDialogWritesTheChosenProfile) {
    layout.SetColorMatchPrinter(1);
    layout.SetRecommend(1);
    auto* dialog = new vx::COutputColorDlg(mFrame, layout, manager.get(),
                                           manager->List(vx::CPrinterManager::OptionList::MediaProfile));
    dialog->Show();
    Pump();
    auto* printer = static_cast<wxChoice*>(dialog->FindWindow(vx::COutputColorDlg::kPrinterProfile));
    auto* path = dialog->FindWindow(vx::COutputColorDlg::kPathText);
    ASSERT_TRUE(printer && path);
    EXPECT_FALSE(printer->IsEnabled());
    EXPECT_EQ(printer->GetSelection(), 0);
    EXPECT_FALSE(path->GetLabel().empty());
    SavePng(dialog, "COutputColorDlg-driver.png");

    ClickAt(dialog->FindWindow(vx::COutputColorDlg::kApplication));
    ASSERT_TRUE(PumpUntil([&] { return printer->IsEnabled(); }));
    ASSERT_GT(printer->GetCount(), 1u);
    Choose(printer, 1);
    EXPECT_TRUE(path->GetLabel().empty());
    Pump();
    SavePng(dialog, "COutputColorDlg-application.png");
    const std::string chosen = dialog->Controller().PrinterList().At(1).description;
    ClickAt(dialog->FindWindow(wxID_OK));
    EXPECT_TRUE(PumpUntil([&] { return !dialog->IsShown(); }));
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(layout.GetColorMatchPrinter(), 0);
    EXPECT_EQ(layout.GetRecommend(), 0);
    EXPECT_EQ(layout.Texts().printerProfile, chosen);
    EXPECT_EQ(layout.GetDirty(), 1);
    EXPECT_TRUE(messages.shown.empty());
    dialog->Destroy();
    Pump();
}

}  // namespace
