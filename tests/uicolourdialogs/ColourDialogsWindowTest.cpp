#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <functional>

#include "../core/dialogs/DialogFixtures.h"
#include "../core/imaging/JpegFixtures.h"
#include "../uicontrols/GalleryFixture.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "host/HostService.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/UndoStore.h"
#include "platform/system/Folders.h"
#include "platform/system/Ports.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/dialogs/FreeLineDlg.h"
#include "ui/dialogs/GPTextDlg.h"
#include "ui/dialogs/ImageColorDlg.h"
#include "ui/dialogs/ImageStampDlg.h"
#include "ui/dialogs/InputColorDefaultsDlg.h"
#include "ui/document/WxSettingsDialogs.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

/// Takes every modal dialog instead of showing it modally: the test's handler drives it
/// and answers.
class DialogDriver : public wxModalDialogHook {
public:
    std::function<int(wxDialog*)> handler;
    std::vector<std::string> titles;
    DialogDriver() { Register(); }
    ~DialogDriver() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        titles.push_back(std::string(dialog->GetTitle().utf8_str()));
        return handler ? handler(dialog) : wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

/// The shared colour dialog, answered with one colour.
struct FixedColourDialogs : SettingsDialogs {
    uint32_t answer = 0x0000C0;
    bool Has(Dialog) override { return false; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<std::filesystem::path> ChooseTemplate() override { return std::nullopt; }
    std::optional<uint32_t> ChooseColour(uint32_t) override { return answer; }
};

template <class T>
T* Control(wxWindow* dialog, int id) {
    T* control = dynamic_cast<T*>(dialog->FindWindow(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

void Click(wxRadioButton* radio) {
    radio->SetValue(true);
    wxCommandEvent event(wxEVT_RADIOBUTTON, radio->GetId());
    event.SetEventObject(radio);
    event.SetInt(1);
    radio->ProcessWindowEvent(event);
}

void Toggle(wxToggleButton* button, bool on) {
    button->SetValue(on);
    wxCommandEvent event(wxEVT_TOGGLEBUTTON, button->GetId());
    event.SetEventObject(button);
    event.SetInt(on);
    button->ProcessWindowEvent(event);
}

void Check(wxCheckBox* box, bool on) {
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(on);
    box->ProcessWindowEvent(event);
}

void Press(wxWindow* button) {
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
}

void Select(wxChoice* choice, int entry) {
    choice->SetSelection(entry);
    wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
    event.SetEventObject(choice);
    event.SetInt(entry);
    choice->ProcessWindowEvent(event);
}

class ColourDialogsWindow : public Gallery {
protected:
    test::RecordingMessagePort messages;
    MessagePort* previous = nullptr;
    test::InstalledApplicationState app;
    UndoStore undo;
    FixedColourDialogs colours;
    ScopedHostService<SettingsDialogs> installed{&colours};
    WxSettingsDialogs dialogs;
    DialogDriver driver;
    CLayoutSetting layout{true};

    static void SetUpTestSuite() {
        Gallery::SetUpTestSuite();
        // Working bitmaps of stamps live in the program's temporary folder.
        static test::TestRoot folders;
        setenv("VELLICOREX_USER_DIR", (folders.Path() / "user").c_str(), 1);
        setenv("VELLICOREX_TEMP_DIR", (folders.Path() / "temp").c_str(), 1);
        ASSERT_TRUE(CreateTempFolder());
    }
    void SetUp() override {
        Gallery::SetUp();
        previous = SetMessagePort(&messages);
        app.undo = &undo;
        layout.SetUnit(1);
        layout.SetColor(2);
        layout.Texts().printerModel = "TEVRA Proof 24";
        layout.Texts().monitorProfile = "sRGB IEC61966-2.1";
        layout.SetColorMatchPrinter(1);
    }
    void TearDown() override {
        SetMessagePort(previous);
        Gallery::TearDown();
    }
    /// Shows the dialog for a moment and writes its picture.
    void Picture(wxDialog* dialog, const std::string& name) {
        dialog->Show();
        Pump(250);
        SavePng(dialog, name);
    }
};

TEST_F(ColourDialogsWindow, InputDefaultsWriteTheChosenSimulationAndClearUndo) {
    test::ProfileFolder folder;
    layout.Texts().rgbSourceProfile = "Anzeige RGB";
    undo.PushUndo(layout, 29);
    driver.handler = [&](wxDialog* d) {
        auto* dialog = dynamic_cast<CInputColorDefaultsDlg*>(d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return wxID_CANCEL;
        Picture(dialog, "InputColorDefaultsDlg.png");
        EXPECT_FALSE(Control<wxChoice>(dialog, 3840)->IsEnabled());
        Click(Control<wxRadioButton>(dialog, 3845));
        EXPECT_TRUE(Control<wxChoice>(dialog, 3840)->IsEnabled());
        EXPECT_FALSE(Control<wxChoice>(dialog, 3838)->IsEnabled());
        Control<wxChoice>(dialog, 3840)->SetSelection(1);
        Control<wxChoice>(dialog, 3841)->SetSelection(2);
        Check(Control<wxCheckBox>(dialog, 3832), true);
        EXPECT_EQ(Control<wxStaticText>(dialog, 3843)->GetLabel(), "Von TEVRA empfohlen");
        EXPECT_TRUE(dialog->PressOk());
        return wxID_OK;
    };
    ASSERT_TRUE(dialogs.RunInputColorDefaults(layout));
    EXPECT_EQ(layout.GetColorProof(), 1);
    EXPECT_EQ(layout.Texts().simulationProfile, "Offset CMYK");
    EXPECT_EQ(layout.GetColorIntentSimulation(), 3);
    EXPECT_EQ(layout.GetZel(), 1);
    EXPECT_EQ(layout.Texts().rgbSourceProfile, "Anzeige RGB");
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_TRUE(dialogs.Has(SettingsDialogs::Dialog::InputColorDefaults));
}

TEST_F(ColourDialogsWindow, ImageColourOffersOnlyCommonSourcesAndWritesEachImage) {
    test::ProfileFolder folder;
    CImageObj& six = test::AddImage(layout, 6, true);
    six.SetProfileUseEmbed(1);
    CImageObj& four = test::AddImage(layout, 4, false);
    layout.SetCurrentItem(&six);
    driver.handler = [&](wxDialog* d) {
        auto* dialog = dynamic_cast<CImageColorDlg*>(d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return wxID_CANCEL;
        EXPECT_FALSE(Control<wxWindow>(dialog, 3833)->IsEnabled());
        EXPECT_FALSE(Control<wxWindow>(dialog, 3835)->IsEnabled());
        EXPECT_TRUE(Control<wxWindow>(dialog, 3832)->IsEnabled());
        EXPECT_FALSE(Control<wxWindow>(dialog, wxID_OK)->IsEnabled());
        Click(Control<wxRadioButton>(dialog, 3832));
        EXPECT_TRUE(Control<wxWindow>(dialog, wxID_OK)->IsEnabled());
        EXPECT_TRUE(Control<wxWindow>(dialog, 3853)->IsShown());
        EXPECT_FALSE(Control<wxWindow>(dialog, 3854)->IsShown());
        Picture(dialog, "ImageColorDlg.png");
        EXPECT_TRUE(dialog->PressOk());
        return wxID_OK;
    };
    ASSERT_TRUE(dialogs.RunImageColor(layout));
    EXPECT_EQ(six.GetUseZelFile(), 6);
    EXPECT_EQ(four.GetUseZelFile(), 4);
    EXPECT_EQ(four.GetSourceProfile(), GetEmbeddedProfileDescription());
    EXPECT_EQ(undo.GetLastUndoCode(), 29);

    four.SetColorSpace(FourCC("GRAY"));
    driver.titles.clear();
    EXPECT_FALSE(dialogs.RunImageColor(layout));
    EXPECT_TRUE(driver.titles.empty());
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10408}));
}

TEST_F(ColourDialogsWindow, FreeTextTypedIntoTheFieldReachesTheItem) {
    driver.handler = [&](wxDialog* d) {
        auto* dialog = dynamic_cast<CGPTextDlg*>(d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return wxID_CANCEL;
        Picture(dialog, "GPTextDlg.png");
        auto* text = Control<wxTextCtrl>(dialog, 1167);
        EXPECT_FALSE(Control<wxWindow>(dialog, wxID_OK)->IsEnabled());
        text->SetFocus();
        Pump(100);
        Type("Hallo");
        PumpUntil([&] { return text->GetValue() == "Hallo"; });
        EXPECT_TRUE(Control<wxWindow>(dialog, wxID_OK)->IsEnabled());
        Control<CNumEdit>(dialog, 1148)->ChangeValue("3");
        EXPECT_FALSE(dialog->PressOk());
        EXPECT_EQ(wxWindow::FindFocus(), Control<wxWindow>(dialog, 1148));
        Control<CNumEdit>(dialog, 1148)->ChangeValue("24");
        Toggle(Control<wxToggleButton>(dialog, 1171), true);
        Toggle(Control<wxToggleButton>(dialog, 1170), true);
        Check(Control<wxCheckBox>(dialog, 1081), true);
        EXPECT_FALSE(Control<wxWindow>(dialog, 1173)->IsEnabled());
        Click(Control<wxRadioButton>(dialog, 3797));
        Press(Control<ColourSwatchButton>(dialog, 1166));
        EXPECT_TRUE(dialog->PressOk());
        return wxID_OK;
    };
    ASSERT_TRUE(dialogs.RunFreeText(layout, nullptr));
    auto* text = dynamic_cast<CTextObj*>(layout.GetCurrentItem());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), "Hallo");
    EXPECT_EQ(text->GetFont().size, 120);
    EXPECT_EQ(text->GetFont().style, 0x100);
    EXPECT_EQ(text->GetTextJustify(), -1);
    EXPECT_EQ(text->GetColumnarWriting(), 1);
    EXPECT_EQ(text->GetBackgroundColor(), 1);
    EXPECT_EQ(text->GetBackgroundColorValue(), 0x0000C0u);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10523}));

    driver.handler = [](wxDialog*) { return wxID_CANCEL; };
    EXPECT_FALSE(dialogs.RunFreeText(layout, nullptr));
    int texts = 0;
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) texts += item->GetKind() == kKindText;
    EXPECT_EQ(texts, 1);  // the cancelled new text is gone again
}

TEST_F(ColourDialogsWindow, FreeLineSampleAndEndPoints) {
    driver.handler = [&](wxDialog* d) {
        auto* dialog = dynamic_cast<CFreeLineDlg*>(d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return wxID_CANCEL;
        EXPECT_FALSE(Control<wxWindow>(dialog, 3801)->IsEnabled());
        Click(Control<wxRadioButton>(dialog, 3799));
        Click(Control<wxRadioButton>(dialog, 3805));
        Toggle(Control<wxToggleButton>(dialog, 3801), true);
        EXPECT_TRUE(Control<wxWindow>(dialog, 3801)->IsEnabled());
        Press(Control<ColourSwatchButton>(dialog, 1165));
        Picture(dialog, "FreeLineDlg.png");
        Pump(200);
        wxWindow* sample = Control<wxWindow>(dialog, 3623);
        const wxImage pixels = Grab(sample);
        const int h = pixels.GetHeight(), w = pixels.GetWidth();
        // Above the 5-pixel line only the head at the start is coloured.
        EXPECT_GT(PixelAt(pixels, {22, h / 2 - 6}).Red(), 150);  // COLORREF 0x0000C0 is red
        EXPECT_EQ(PixelAt(pixels, {w - 22, h / 2 - 6}), *wxWHITE);
        Select(Control<wxChoice>(dialog, 3614), 1);
        EXPECT_EQ(Control<CNumEdit>(dialog, 1148)->GetValue(), "3.936");
        Control<CNumEdit>(dialog, 1148)->ChangeValue("0.3");
        EXPECT_FALSE(dialog->PressOk());
        Control<CNumEdit>(dialog, 1148)->ChangeValue("4");
        Control<CNumEdit>(dialog, 1150)->ChangeValue("2");
        EXPECT_TRUE(dialog->PressOk());
        return wxID_OK;
    };
    ASSERT_TRUE(dialogs.RunFreeLine(layout, nullptr));
    auto* line = dynamic_cast<CLineObj*>(layout.GetCurrentItem());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetLength(), 1440);
    EXPECT_EQ(line->GetThickness(), 10);
    EXPECT_EQ(line->GetArrowMark(), 1);
    EXPECT_EQ(line->GetArrowAngle(), 90);
    EXPECT_EQ(line->GetArrowFill(), 1);
    EXPECT_EQ(line->GetArrowSize(), 3);
    EXPECT_EQ(line->GetLineColor(), 0x0000C0u);
    EXPECT_EQ(line->GetPosition().x + line->GetOffsetEnd().x - (line->GetPosition().x + line->GetOffsetStart().x), 1439);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{10429}));
}

TEST_F(ColourDialogsWindow, StampFileChosenThroughTheFileDialog) {
    test::TestRoot root;
    test::JpegFixture fixture;
    fixture.width = 400;
    fixture.height = 300;
    fixture.densityUnit = 1;
    fixture.xDensity = fixture.yDensity = 100;
    const fs::path file = root.Path() / "Stempel.jpg";
    test::WriteBytes(file, test::EncodeJpeg(fixture));
    layout.SetImageStampInUse(0);
    wxString wildcard;
    driver.handler = [&](wxDialog* d) -> int {
        if (auto* files = dynamic_cast<wxFileDialog*>(d)) {
            // The toolkit's chooser gives no path without being shown: it is cancelled,
            // and the test hands the file on as the chooser would.
            wildcard = files->GetWildcard();
            return wxID_CANCEL;
        }
        auto* dialog = dynamic_cast<CImageStampDlg*>(d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return wxID_CANCEL;
        EXPECT_FALSE(Control<wxWindow>(dialog, 3748)->IsEnabled());
        Click(Control<wxRadioButton>(dialog, 3859));
        EXPECT_TRUE(Control<wxWindow>(dialog, 3748)->IsEnabled());
        EXPECT_FALSE(Control<wxWindow>(dialog, wxID_OK)->IsEnabled());
        Press(Control<wxWindow>(dialog, 3748));
        EXPECT_TRUE(wildcard.Contains("*.[pP][nN][gG]")) << wildcard;
        EXPECT_TRUE(Control<wxTextCtrl>(dialog, 1148)->IsEmpty());
        dialog->ChooseFile(file);
        EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? "" : messages.shown[0].text);
        EXPECT_EQ(Control<wxTextCtrl>(dialog, 1148)->GetValue(), wxString::FromUTF8(file.string()));
        EXPECT_TRUE(Control<wxWindow>(dialog, wxID_OK)->IsEnabled());
        Click(Control<wxRadioButton>(dialog, 3861));
        Check(Control<wxCheckBox>(dialog, 1081), true);
        auto* width = Control<CNumEdit>(dialog, 1075);
        EXPECT_EQ(width->GetValue(), "101.60");
        width->SetValue("203.2");  // a change event, as typing sends
        EXPECT_EQ(Control<CNumEdit>(dialog, 3862)->GetValue(), "152.40");
        Picture(dialog, "ImageStampDlg.png");
        EXPECT_TRUE(dialog->PressOk());
        return wxID_OK;
    };
    ASSERT_TRUE(dialogs.RunImageStamp(layout));
    EXPECT_EQ(layout.GetImageStampInUse(), 1);
    EXPECT_EQ(layout.GetImageStampSettings(), 1);
    EXPECT_EQ(layout.GetImageStampSize(), (LayoutPoint{2880, 2160}));
    EXPECT_EQ(layout.Texts().imageStampPath, file.string());
    ASSERT_NE(layout.GetStampImage(), nullptr);
    EXPECT_EQ(layout.GetDirty(), 1);
    EXPECT_EQ(undo.GetLastUndoCode(), 20);
}

}  // namespace
}  // namespace vx
