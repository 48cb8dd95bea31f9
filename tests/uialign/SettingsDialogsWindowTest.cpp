#include "uicontrols/GalleryFixture.h"

#include <functional>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "core/model/LayoutFixture.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "ui/controls/CDisabledItemCombo.h"
#include "ui/controls/CIconButton.h"
#include "ui/dialogs/CLabelDlg.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

// The bound dialogs, the application's undo store, a recording view and messages.
class SettingsDialogWindow : public Gallery {
protected:
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    test::RecordingApplicationState app;
    ScopedHostService<ApplicationState> installApp{&app};
    WxSettingsDialogs dialogs;
    ScopedHostService<SettingsDialogs> installDialogs{&dialogs};

    void SetUp() override {
        Gallery::SetUp();
        app.undo = &undo;
    }

    static wxDialog* ModalDialog() {
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal()) return d;
        return nullptr;
    }
    template <class T> static T* Control(wxDialog* d, int id) {
        T* c = dynamic_cast<T*>(d->FindWindow(id));
        EXPECT_NE(c, nullptr) << "control " << id;
        return c;
    }

    /// Runs open (which shows a modal dialog) while drive works its controls; then OK is
    /// clicked. A dialog still open afterwards is cancelled, so no test hangs.
    bool RunDriven(const std::function<bool()>& open, const std::function<void(wxDialog*)>& drive,
                   const std::string& png) {
        bool driven = false;
        wxTheApp->CallAfter([&] {
            PumpUntil([] { return ModalDialog() && ModalDialog()->IsShownOnScreen(); });
            wxDialog* d = ModalDialog();
            if (!d) return;
            Pump(200);
            drive(d);
            Pump(200);
            SavePng(d, png);
            ClickAt(d->FindWindow(wxID_OK));
            driven = true;
            PumpUntil([&] { return !ModalDialog(); }, 1500);
            if (wxDialog* still = ModalDialog()) still->EndModal(wxID_CANCEL);
        });
        const bool ok = open();
        EXPECT_TRUE(driven);
        return ok;
    }
};

struct Document : test::TestLayout {
    std::vector<CImageObj*> images;
    Document() : TestLayout(2976, 4209, 100) {
        layout.SetUnit(1);
        layout.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
        images = AddImages(4, 600, 400);
        for (CImageObj* p : images) p->SetFrame({90, 90, 90, 90});
        layout.SetCurrentItem(images[0]);
        EXPECT_EQ(Relayout(layout), 1);
    }
};

TEST_F(SettingsDialogWindow, AlignmentFollowsARadioAndATypedSpacing) {
    Document doc;
    ASSERT_TRUE(dialogs.Has(SettingsDialogs::Dialog::ImageAlign));
    const bool ok = RunDriven([&] { return dialogs.RunImageAlign(doc.layout); },
                              [&](wxDialog* d) {
                                  ClickAt(Control<CIconButton>(d, 3822));
                                  EXPECT_TRUE(Control<CIconButton>(d, 3822)->IsChecked());
                                  EXPECT_FALSE(Control<CIconButton>(d, 3826)->IsChecked());
                                  auto* spacing = Control<wxTextCtrl>(d, 1151);
                                  ClickAt(spacing);
                                  spacing->SelectAll();
                                  Type("5");
                                  EXPECT_EQ(doc.layout.GetSpace().x, 71);  // live
                              },
                              "alignment_dialog.png");
    EXPECT_TRUE(ok);
    EXPECT_EQ(doc.layout.GetAlign().x, 1);
    EXPECT_EQ(doc.layout.GetSpace().x, 71);
    EXPECT_EQ(undo.GetLastUndoCode(), 18);
}

TEST_F(SettingsDialogWindow, MarginsTakeATypedTopMargin) {
    Document doc;
    doc.layout.SetLayoutAreaMode(0);
    const bool ok = RunDriven([&] { return dialogs.RunMargins(doc.layout); },
                              [&](wxDialog* d) {
                                  auto* top = Control<wxTextCtrl>(d, 3804);
                                  EXPECT_FALSE(top->IsEnabled());
                                  ClickAt(Control<wxRadioButton>(d, 3711));
                                  EXPECT_TRUE(top->IsEnabled());
                                  ClickAt(top);
                                  top->SelectAll();
                                  Type("20");
                              },
                              "margins_dialog.png");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(doc.layout.GetLayoutAreaMode(), 1);
    EXPECT_EQ(doc.layout.GetLayoutAreaMgn().top, 283);
    EXPECT_EQ(doc.layout.GetPage().top, 283);
    EXPECT_EQ(undo.GetLastUndoCode(), 23);
}

TEST_F(SettingsDialogWindow, CaptionTakesTextAndSide) {
    Document doc;
    doc.images[0]->SetLabelLocation(3);
    const bool ok = RunDriven([&] { return dialogs.RunCaption(doc.layout, false); },
                              [&](wxDialog* d) {
                                  EXPECT_EQ(d->GetTitle(), wxString::FromUTF8("Bildunter-/überschrift(Bild)"));
                                  auto* combo = Control<CDisabledItemCombo>(d, 3817);
                                  EXPECT_FALSE(combo->IsItemEnabled(3));
                                  auto* text = Control<wxTextCtrl>(d, 1148);
                                  ClickAt(text);
                                  Type("Strand");
                                  combo->SetFocus();
                                  combo->Select(2);
                                  wxCommandEvent chosen(wxEVT_COMBOBOX, 3817);
                                  chosen.SetInt(2);
                                  chosen.SetEventObject(combo);
                                  combo->ProcessWindowEvent(chosen);
                                  ClickAt(Control<wxCheckBox>(d, 3818));
                                  Pump(200);
                                  const wxImage sample = Grab(d->FindWindow(3826));
                                  EXPECT_EQ(PixelAt(sample, {120, 80}), wxColour(128, 128, 128));
                              },
                              "caption_dialog.png");
    EXPECT_TRUE(ok);
    EXPECT_EQ(doc.images[0]->GetCaptionText(), "Strand");
    EXPECT_EQ(doc.images[0]->GetCaptionLocation(), 2);
    EXPECT_EQ(doc.images[0]->GetCaptionUpsideDown(), 1);
    EXPECT_EQ(undo.GetLastUndoCode(), 34);
}

TEST_F(SettingsDialogWindow, LabelsTakeTickedItems) {
    Document doc;
    const bool ok = RunDriven([&] { return dialogs.RunLabels(doc.layout, false); },
                              [&](wxDialog* d) {
                                  auto* list = Control<wxListCtrl>(d, 3819);
                                  auto* combos = Control<CDisabledItemCombo>(d, 3813);
                                  EXPECT_FALSE(combos->IsItemEnabled(13));
                                  for (long row : {0L, 1L}) {
                                      wxRect r;
                                      list->GetItemRect(row, r);
                                      ClickAt(list, wxMOUSE_BTN_LEFT, wxPoint(r.x + 10, r.y + r.height / 2));
                                      if (!list->IsItemChecked(row)) {  // the toolkit's box lies elsewhere
                                          list->CheckItem(row, true);
                                          wxListEvent e(wxEVT_LIST_ITEM_CHECKED, list->GetId());
                                          e.m_itemIndex = row;
                                          list->ProcessWindowEvent(e);
                                      }
                                  }
                                  EXPECT_EQ(combos->GetValue(), "Nummer - Name");
                              },
                              "labels_dialog.png");
    EXPECT_TRUE(ok);
    EXPECT_EQ(doc.images[0]->GetLabelSelection(), 0x3u);
    EXPECT_FALSE(doc.images[0]->GetLabelText().empty());
    EXPECT_EQ(undo.GetLastUndoCode(), 33);
}

TEST_F(SettingsDialogWindow, HeaderFooterTakesATypedHeightOnlyAfterOk) {
    Document doc;
    doc.layout.SetHeaderOffset(100);
    doc.layout.SetFooterOffset(100);
    const bool ok = RunDriven([&] { return dialogs.RunHeaderFooter(doc.layout); },
                              [&](wxDialog* d) {
                                  auto* height = Control<wxTextCtrl>(d, 1154);
                                  ClickAt(height);
                                  height->SelectAll();
                                  Type("12");
                                  ClickAt(Control<wxCheckBox>(d, 1081));
                                  ClickAt(Control<wxCheckBox>(d, 1033));
                                  EXPECT_TRUE(Control<wxCheckBox>(d, 1034)->IsEnabled());
                                  EXPECT_EQ(doc.layout.GetHeaderText(), 0);  // only the copy changes
                              },
                              "header_footer_dialog.png");
    EXPECT_TRUE(ok);
    EXPECT_EQ(doc.layout.GetHeaderOffset(), 170);
    EXPECT_EQ(doc.layout.GetHeaderText(), 1);
    EXPECT_EQ(doc.layout.GetHeaderShow(), 1);
    EXPECT_EQ(undo.GetLastUndoCode(), 21);
}

}  // namespace
}  // namespace vx
