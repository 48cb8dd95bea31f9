#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/notebook.h>

#include "../uicontrols/GalleryFixture.h"
#include "app/TemplateGenerator.h"
#include "document/LayoutDocument.h"
#include "host/HostService.h"
#include "host/DocumentServices.h"
#include "imaging/JpegEncoder.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSeeding.h"
#include "ui/document/WxSettingsDialogs.h"
#include "templates/TemplateChooserModel.h"
#include "ui/controls/COwnerDrawListCtrl.h"
#include "ui/dialogs/CSelectTemplateDlg.h"
#include "ui/dialogs/TemplateListControls.h"
#include "ui/dialogs/TemplatePages.h"

namespace vx {
namespace {

/// A preview picture: a grey field with a coloured band, as JPEG bytes.
TemplatePreviewBytes Preview(uint8_t red) {
    std::vector<uint8_t> pixels(128 * 128 * 4, 200);
    for (int y = 40; y < 88; ++y)
        for (int x = 0; x < 128; ++x) {
            uint8_t* p = &pixels[static_cast<size_t>(y * 128 + x) * 4];
            p[0] = red;
            p[1] = 60;
            p[2] = 60;
        }
    auto bytes = EncodeJpegToMemory(128, 128, pixels.data());
    return bytes ? std::make_shared<const std::vector<uint8_t>>(std::move(*bytes)) : nullptr;
}

CTemplateInfoArray Catalogue() {
    struct Rec {
        const char* path;
        const char* model;
        const char* size;
        const char* source;
        const char* category;
        const char* mask;
    };
    const Rec records[] = {
        {"/s/Foto_A4.kqt", "TEVRA Proof 44", "A4 (210 x 297 mm)", "Einzelblatt", "Personal Photo", "Photo"},
        {"/s/Version_A_A3.kqt", "TEVRA Proof 44", "A3 (297 x 420 mm)", "Einzelblatt", "Commercial Photo", "A Version"},
        {"/s/Karte_10x15.kqt", "TEVRA Proof A3", "10 x 15 cm", "Automatisch", "Business:Shop", "Card"},
        {"/s/Kombination_Letter.kqt", "TEVRA Proof A3", "Letter (8.5 x 11 in)", "Einzelblatt", "Education", "Combination"},
        {"/s/Freie_Form_A2.kqt", "TEVRA Proof 24", "A2 (420 x 594 mm)", "Einzelblatt", "General", "Non-Fixed Form"},
    };
    CTemplateInfoArray catalog;
    uint8_t red = 40;
    for (const Rec& r : records) {
        TemplateInfo info;
        info.Path = r.path;
        info.PrinterModel = r.model;
        info.PaperSize = r.size;
        info.PaperSource = r.source;
        info.Category = r.category;
        info.ImageMask = r.mask;
        info.ModifiedText = "26.12.01 09:00";
        info.Comment = "Postkarte 10 x 15 cm\nmit freiem Text";
        info.PaperOrient = "Portrait";
        info.Color = "Color";
        info.MediaType = "Fotopapier Seidenglanz";
        info.LayoutModeText = "Freies Layout";
        info.PrinterPass = info.PaperSizePass = info.PaperSourcePass = info.CategoryPass = 1;
        info.PreviewBytes = Preview(red);
        red = static_cast<uint8_t>(red + 45);
        catalog.Add(info);
    }
    return catalog;
}

class SelectTemplateWindow : public Gallery {};

void Choose(wxChoice* choice, const wxString& text) {
    const int index = choice->FindString(text);
    ASSERT_NE(index, wxNOT_FOUND) << text;
    choice->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetEventObject(choice);
    event.SetInt(index);
    choice->ProcessWindowEvent(event);
}

std::vector<std::string> ListTexts(wxListCtrl* list) {
    std::vector<std::string> texts;
    for (long i = 0; i < list->GetItemCount(); ++i) texts.push_back(std::string(list->GetItemText(i).utf8_str()));
    return texts;
}

TEST_F(SelectTemplateWindow, PrinterAndCategoryLeaveTheCardAndOpenReturnsItsPath) {
    CTemplateInfoArray catalog = Catalogue();
    std::vector<std::string> categories{"Kunden"};
    const std::vector<PrinterEntry> printers{{"proof-44", "TEVRA Proof 44"}, {"proof-a3", "TEVRA Proof A3"}};
    TemplateChooserModel model(catalog, SupportedPrinterModels(printers), categories, {});
    model.Open();
    CSelectTemplateDlg dialog(mFrame, model);
    std::string chosen;
    dialog.CallAfter([&] {
        Pump(200);
        SavePng(&dialog, "select_template_small.png");
        Choose(dialog.ViewCombo(), wxString::FromUTF8("Miniaturansicht (mittel)"));
        Pump(200);
        SavePng(&dialog, "select_template_medium.png");
        Choose(dialog.ViewCombo(), "Liste");
        Pump(100);
        EXPECT_EQ(dialog.List()->GetItemCount(), 5);

        Choose(dialog.PrinterCombo(), "TEVRA Proof A3");
        EXPECT_EQ(ListTexts(dialog.List()), (std::vector<std::string>{"Kombination_Letter.kqt", "Karte_10x15.kqt"}));
        // The tree item "Werkstatt" under "Alle", selected as a click would.
        wxTreeItemId werkstatt;
        wxTreeItemIdValue cookie;
        const wxTreeItemId all = dialog.Tree()->GetFirstChild(dialog.Tree()->GetRootItem(), cookie);
        EXPECT_EQ(dialog.Tree()->DataOf(all), kTreeRootAllData);
        wxTreeItemIdValue inner;
        for (wxTreeItemId c = dialog.Tree()->GetFirstChild(all, inner); c.IsOk(); c = dialog.Tree()->GetNextChild(all, inner))
            if (dialog.Tree()->GetItemText(c) == "Werkstatt") werkstatt = c;
        ASSERT_TRUE(werkstatt.IsOk());
        dialog.Tree()->SelectItem(werkstatt);
        Pump(100);
        EXPECT_EQ(ListTexts(dialog.List()), (std::vector<std::string>{"Karte_10x15.kqt"}));
        EXPECT_EQ(dialog.List()->GetItemData(0), 2);
        Pump(200);
        SavePng(&dialog, "select_template_preview_tab.png");

        dialog.Tabs()->SetSelection(1);
        Pump(200);
        COwnerDrawListCtrl* rows = dialog.PropertyPage()->List();
        EXPECT_EQ(rows->GetItemCount(), 13);
        EXPECT_EQ(rows->GetItemText(0, 1), "Karte_10x15.kqt");
        EXPECT_EQ(rows->GetItemText(1, 1), "Postkarte 10 x 15 cmmit freiem Text");
        EXPECT_EQ(rows->GetItemText(2, 1), "TEVRA Proof A3");
        EXPECT_EQ(rows->GetItemText(7, 1), "Hochformat");
        SavePng(&dialog, "select_template_info_tab.png");

        auto* open = wxDynamicCast(dialog.FindWindow(wxID_OK), wxButton);
        ASSERT_NE(open, nullptr);
        EXPECT_TRUE(open->IsEnabled());
        EXPECT_EQ(open->GetLabel(), wxString::FromUTF8("Öffnen"));
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(open);
        open->ProcessWindowEvent(click);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.ChosenPath(), "/s/Karte_10x15.kqt");
    const ChooseTemplateState kept = model.Closing();
    EXPECT_EQ(kept.printer, "TEVRA Proof A3");
    EXPECT_EQ(kept.treeSelection, "Werkstatt");
    EXPECT_EQ(kept.tab, 1);
    EXPECT_EQ(kept.view, 0);
}

TEST_F(SelectTemplateWindow, EmptyCatalogueDisablesOpen) {
    CTemplateInfoArray catalog;
    std::vector<std::string> categories;
    TemplateChooserModel model(catalog, {}, categories, {});
    model.Open();
    CSelectTemplateDlg dialog(mFrame, model);
    dialog.Show();
    Pump(150);
    EXPECT_EQ(dialog.List()->GetItemCount(), 0);
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
    SavePng(&dialog, "select_template_empty.png");
    dialog.Hide();
}

/// The open chooser among the top-level windows, or null.
CSelectTemplateDlg* OpenChooser() {
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<CSelectTemplateDlg*>(w); d && d->IsShown()) return d;
    return nullptr;
}

/// What a new user gets: the shipped set seeded into an empty user folder at start, the
/// printers of a queue file, and New with the real chooser, driven through its controls.
TEST_F(SelectTemplateWindow, NewOverTheSeededSetStartsALayoutFromTheCardChosenByPrinterAndCategory) {
    test::TestRoot root;
    test::ScopedEnv user{"VELLICOREX_USER_DIR", (root.Path() / "user").string()};
    test::ScopedEnv temp{"VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()};
    test::ScopedEnv cups{"CUPS_SERVER", (root.Path() / "no-cups.sock").string()};
    ASSERT_TRUE(WriteModelQueueFile(root.Path() / "user", root.Path() / "printed"));
    TemplateGenerator core;  // the application's state, bindings and printers without windows
    std::string error;
    ASSERT_TRUE(core.Ready(error)) << error;
    ASSERT_TRUE(SeedTemplateFolder());
    TemplateCatalog().SetSize(0);
    WxSettingsDialogs dialogs;
    ScopedHostService<SettingsDialogs> installed(&dialogs);

    bool driven = false;
    wxTheApp->CallAfter([&] {
        CSelectTemplateDlg* dialog = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (dialog = OpenChooser()) != nullptr; }));
        driven = true;
        Pump(200);
        EXPECT_EQ(dialog->GetTitle(), wxString::FromUTF8("Vorlage wählen"));
        // What a new user sees first: the previews of the shipped templates.
        Choose(dialog->ViewCombo(), wxString::FromUTF8("Miniaturansicht (mittel)"));
        Pump(200);
        EXPECT_EQ(dialog->List()->GetItemCount(), 8);
        SavePng(dialog, "new_seeded_previews.png");
        Choose(dialog->ViewCombo(), wxString::FromUTF8("Miniaturansicht (klein)"));
        Pump(200);
        SavePng(dialog, "new_seeded_previews_small.png");
        Choose(dialog->ViewCombo(), "Liste");
        Pump(100);
        EXPECT_EQ(dialog->List()->GetItemCount(), 8);
        SavePng(dialog, "new_seeded_all.png");
        Choose(dialog->PrinterCombo(), "TEVRA Proof A3");
        EXPECT_EQ(dialog->List()->GetItemCount(), 2);
        wxTreeItemIdValue cookie, inner;
        const wxTreeItemId all = dialog->Tree()->GetFirstChild(dialog->Tree()->GetRootItem(), cookie);
        wxTreeItemId werkstatt;
        for (wxTreeItemId c = dialog->Tree()->GetFirstChild(all, inner); c.IsOk(); c = dialog->Tree()->GetNextChild(all, inner))
            if (dialog->Tree()->GetItemText(c) == "Werkstatt") werkstatt = c;
        ASSERT_TRUE(werkstatt.IsOk());
        dialog->Tree()->SelectItem(werkstatt);
        Pump(100);
        EXPECT_EQ(ListTexts(dialog->List()), (std::vector<std::string>{"Karte_10x15.kqt"}));
        Pump(200);
        SavePng(dialog, "new_seeded_card_preview.png");
        dialog->Tabs()->SetSelection(1);
        Pump(200);
        COwnerDrawListCtrl* rows = dialog->PropertyPage()->List();
        EXPECT_EQ(rows->GetItemCount(), 13);
        EXPECT_EQ(rows->GetItemText(0, 1), "Karte_10x15.kqt");
        EXPECT_EQ(rows->GetItemText(2, 1), "TEVRA Proof A3");
        SavePng(dialog, "new_seeded_card_info.png");
        wxWindow* open = dialog->FindWindow(wxID_OK);
        ASSERT_NE(open, nullptr);
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(open);
        open->ProcessWindowEvent(click);
    });
    CGPDoc document;
    const bool made = document.OnNewDocument();
    EXPECT_TRUE(driven);
    ASSERT_TRUE(made);
    CLayoutSetting* layout = document.GetLayout();
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(document.TemplateFileName(), "Karte_10x15.kqt");
    EXPECT_EQ(layout->Texts().printerModel, "TEVRA Proof A3");
    EXPECT_EQ(layout->Texts().paperSizeName, "10 x 15 cm");
    EXPECT_EQ(layout->GetFree(), 1);
    int images = 0;
    for (CLayoutObj* item = layout->GetFirstItem(); item; item = item->NextItem()) images += item->GetKind() == kKindImage;
    EXPECT_EQ(images, 1) << "the placeholder picture is found in the seeded folder";
    document.DeleteLayout();
}

}  // namespace
}  // namespace vx
