#include <gtest/gtest.h>

#include <functional>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ToolWindowsFixture.h"
#include "ui/dialogs/CPreferencesDlg.h"

namespace vx {
namespace {

const std::vector<PrinterEntry> kPrinters{
    {"TEVRA Proof 24 (Büro)", "TEVRA Proof 24"},
    {"TEVRA Proof 44 (Datei)", "TEVRA Proof 44"},
};

class PreferencesDialog : public test::ToolWindowsFixture {
protected:
    /// Runs the dialog modally while steps drive it; the result of ShowModal.
    int Run(CPreferencesDlg& dialog, const std::function<void()>& steps) {
        wxTheApp->CallAfter([&] {
            PumpUntil([&] { return dialog.IsShownOnScreen(); }, 2000);
            Pump(200);
            steps();
            if (dialog.IsModal()) dialog.EndModal(wxID_CANCEL);
        });
        return dialog.ShowModal();
    }

    template <class T>
    static T* Find(wxWindow* page, int id) {
        T* control = dynamic_cast<T*>(page->FindWindow(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }

    static void Choose(wxChoice* choice, int index) {
        choice->SetSelection(index);
        wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
        event.SetEventObject(choice);
        event.SetInt(index);
        choice->ProcessWindowEvent(event);
    }

    static void Click(wxWindow* button) {
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
    }

    static void Pick(wxListBox* list, const wxString& text) {
        const int at = list->FindString(text, true);
        ASSERT_NE(at, wxNOT_FOUND) << text;
        list->SetSelection(at);
        wxCommandEvent event(wxEVT_LISTBOX, list->GetId());
        event.SetEventObject(list);
        event.SetInt(at);
        event.SetString(text);
        list->ProcessWindowEvent(event);
    }
};

TEST_F(PreferencesDialog, InchesChosenThenOkKeepTheValuesAndWriteTheUnit) {
    CPreferencesDlg dialog(mFrame, app.preferences, *layout, true, kPrinters);
    const int result = Run(dialog, [&] {
        wxWindow* general = dialog.GeneralPage();
        Choose(Find<wxChoice>(general, CPreferencesDlg::kUnit), 1);
        Pump(100);
        EXPECT_EQ(Find<wxTextCtrl>(general, CPreferencesDlg::kGrid)->GetValue(), "0.19");
        EXPECT_EQ(Find<wxTextCtrl>(general, CPreferencesDlg::kArrowStep)->GetValue(), "0.19");
        EXPECT_EQ(Find<wxChoice>(general, CPreferencesDlg::kGridUnit)->GetSelection(), 1);
        SavePng(&dialog, "preferences-general.png");
        Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(app.preferences.gridX, 70);
    EXPECT_EQ(app.preferences.gridY, 70);
    EXPECT_EQ(app.preferences.arrowKeyStep, 70);
    EXPECT_EQ(app.preferences.unit, 2);
    EXPECT_EQ(layout->GetUnit(), 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreferencesDialog, GridTooSmallIsRefusedAndTheFieldTakesTheFocus) {
    CPreferencesDlg dialog(mFrame, app.preferences, *layout, true, kPrinters);
    Run(dialog, [&] {
        dialog.Tabs()->SetSelection(1);
        dialog.Tabs()->SetSelection(0);
        Pump(100);
        auto* grid = Find<wxTextCtrl>(dialog.GeneralPage(), CPreferencesDlg::kGrid);
        grid->SetFocus();
        grid->SelectAll();
        Pump(100);
        Type("0.9");
        EXPECT_EQ(grid->GetValue(), "0.9");
        dialog.Tabs()->SetSelection(1);
        Click(dialog.FindWindow(wxID_OK));
        Pump(150);
        EXPECT_TRUE(dialog.IsModal());  // it stays open
        EXPECT_EQ(dialog.Tabs()->GetSelection(), 0);
        EXPECT_EQ(wxWindow::FindFocus(), grid);
        long from = -1, to = -1;
        PumpUntil([&] {
            grid->GetSelection(&from, &to);
            return to > 0;
        }, 1000);
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, grid->GetLastPosition());
    });
    ASSERT_EQ(messages.Ids(), std::vector<int>{10410});
    EXPECT_EQ(messages.shown[0].text,
              "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 0.99 mm - 812.80 mm");
    EXPECT_EQ(app.preferences.gridX, 70);
}

TEST_F(PreferencesDialog, DirectPrintPageShowsTheModelAndStoresThePrinter) {
    CPreferencesDlg dialog(mFrame, app.preferences, *layout, true, kPrinters);
    const int result = Run(dialog, [&] {
        dialog.Tabs()->SetSelection(1);
        Pump(100);
        wxWindow* page = dialog.PrinterPage();
        auto* add = Find<wxButton>(page, CPreferencesDlg::kAdd);
        auto* remove = Find<wxButton>(page, CPreferencesDlg::kDelete);
        auto* printers = Find<wxListBox>(page, CPreferencesDlg::kPrinters);
        // Nothing to add before a printer is chosen (the toolkit may choose the first
        // one as the list takes the focus), nothing to delete in an empty store.
        EXPECT_EQ(add->IsEnabled(), printers->GetSelection() != wxNOT_FOUND);
        EXPECT_FALSE(remove->IsEnabled());
        Pick(printers, wxString::FromUTF8("TEVRA Proof 44 (Datei)"));
        Pump(100);
        EXPECT_EQ(Find<wxStaticText>(page, CPreferencesDlg::kModelText)->GetLabel(), "Proof 44");
        EXPECT_EQ(dialog.ShownModelIcon(), 346);
        EXPECT_TRUE(add->IsEnabled());
        SavePng(&dialog, "preferences-direct-print.png");
        Click(add);
        auto* store = Find<wxListBox>(page, CPreferencesDlg::kStore);
        EXPECT_EQ(store->GetCount(), 1u);
        EXPECT_EQ(store->GetString(0), "TEVRA Proof 44 (Datei)");
        EXPECT_FALSE(add->IsEnabled());
        Pick(printers, wxString::FromUTF8("TEVRA Proof 24 (Büro)"));
        EXPECT_TRUE(add->IsEnabled());
        Pick(printers, wxString::FromUTF8("TEVRA Proof 44 (Datei)"));
        EXPECT_FALSE(add->IsEnabled());  // already stored
        Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(app.preferences.directPrintPrinters[0], "TEVRA Proof 44 (Datei)");
    EXPECT_EQ(app.preferences.directPrintPrinters[1], "");
}

TEST_F(PreferencesDialog, CancelWritesNothing) {
    CPreferencesDlg dialog(mFrame, app.preferences, *layout, true, kPrinters);
    layout->SetUnit(1);
    const int result = Run(dialog, [&] {
        Choose(Find<wxChoice>(dialog.GeneralPage(), CPreferencesDlg::kUnit), 1);
        Click(dialog.FindWindow(wxID_CANCEL));
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(app.preferences.unit, 1);
    EXPECT_EQ(layout->GetUnit(), 1);
}

}  // namespace
}  // namespace vx
