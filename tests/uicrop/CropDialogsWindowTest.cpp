#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/textctrl.h>

#include "../core/imaging/JpegFixtures.h"
#include "../core/model/LayoutFixture.h"
#include "../uicontrols/GalleryFixture.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "host/FatalError.h"
#include "platform/system/Folders.h"
#include "ui/dialogs/CAutoRotateDlg.h"
#include "ui/dialogs/CCropDlg.h"
#include "ui/dialogs/CDuplicateDlg.h"
#include "ui/dialogs/CTintDlg.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

/// The dialogs over a layout of images, with recorded messages, an undo store and a
/// colour dialog that answers blue.
class CropDialogs : public Gallery {
protected:
    struct BlueColour : SettingsDialogs {
        bool Has(Dialog) override { return false; }
        bool RunAutoRotate(CLayoutSetting&) override { return false; }
        std::optional<fs::path> ChooseTemplate() override { return std::nullopt; }
        std::optional<uint32_t> ChooseColour(uint32_t) override { return 0xFF0000; }
    };

    void SetUp() override {
        Gallery::SetUp();
        ASSERT_TRUE(CreateTempFolder());
        SetFatalErrorHook([](int code) { ADD_FAILURE() << "FatalError(" << code << ")"; });
        app.undo = &undo;
        layout.SetColor(2);
        layout.SetBaseImage(std::unique_ptr<CImageObj>(CreateImageObj(nullptr, nullptr, "BaseImage")));
    }
    CImageObj* AddPicture() {
        const fs::path path = root.Path() / "picture.jpg";
        if (!fs::exists(path)) {
            test::JpegFixture f;
            f.width = 3000;
            f.height = 2000;
            f.densityUnit = 1;
            f.xDensity = f.yDensity = 300;
            f.pixel = [](int x, int y, uint8_t* c) {
                c[0] = uint8_t(x * 255 / 3000);
                c[1] = uint8_t(y * 255 / 2000);
                c[2] = uint8_t(x < 1500 ? 60 : 200);
            };
            test::WriteBytes(path, test::EncodeJpeg(f));
        }
        EXPECT_EQ(AddImageFilesToLayout(&layout, path, undo), kAddDone);
        CLayoutObj* last = nullptr;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) last = p;
        auto* image = static_cast<CImageObj*>(last);
        image->SetSelected(1);
        layout.SetCurrentItem(image);
        return image;
    }
    template <class D> static D* OpenDialog() {
        D* found = nullptr;
        PumpUntil([&] {
            for (wxWindow* w : wxTopLevelWindows)
                if (auto* d = dynamic_cast<D*>(w); d && d->IsShownOnScreen()) found = d;
            return found != nullptr;
        });
        Pump(200);
        return found;
    }
    static void Click(wxWindow* control) {
        wxCommandEvent click(control->IsKindOf(wxCLASSINFO(wxRadioButton)) ? wxEVT_RADIOBUTTON : wxEVT_BUTTON,
                             control->GetId());
        click.SetEventObject(control);
        if (auto* radio = dynamic_cast<wxRadioButton*>(control)) radio->SetValue(true);
        control->GetEventHandler()->ProcessEvent(click);
    }

    void TearDown() override {
        Gallery::TearDown();
        SetFatalErrorHook({});
        RemoveTempFolder();
    }

    test::TestRoot root;
    test::ScopedEnv temp{"VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()};
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    test::InstalledApplicationState app;
    BlueColour colours;
    ScopedHostService<SettingsDialogs> installColours{&colours};
    test::TestLayout t{20000, 20000, 100};
    CLayoutSetting& layout = t.layout;
};

TEST_F(CropDialogs, DraggingTheRightHandleAndTypingAHeightCropsThePicture) {
    CImageObj* image = AddPicture();
    CCropDlg dialog(mFrame, layout, true);
    ASSERT_TRUE(dialog.Init());
    CropController& ctl = dialog.Controller();
    ASSERT_EQ(ctl.PreviewImageRect(), (PixelRect{0, 0, 320, 213}));
    auto* height = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(CCropDlg::kIdHeight));
    ASSERT_NE(height, nullptr);
    wxTheApp->CallAfter([&] {
        PumpUntil([&] { return dialog.IsShownOnScreen(); });
        Pump(300);
        // Crop mode: the edits take input.
        ClickAt(dialog.FindWindow(CCropDlg::kIdModeCrop), wxMOUSE_BTN_LEFT, wxPoint(8, 8));
        ASSERT_TRUE(height->IsEnabled());
        // Frame and framed picture; the right handle lies 4 pixels inside the right edge.
        MoveTo(dialog.Preview(), wxPoint(318, 106));
        mSim.MouseDown();
        Pump(100);
        for (int x = 300; x >= 200; x -= 20) MoveTo(dialog.Preview(), wxPoint(x, 106));
        Pump(150);
        EXPECT_TRUE(ctl.Tracking());
        SavePng(&dialog, "crop-dialog-mid-drag.png");
        mSim.MouseUp();
        Pump(150);
        EXPECT_FALSE(ctl.Tracking());
        ClickAt(height);
        height->SelectAll();
        Pump(100);
        Type("1000");
        EXPECT_EQ(height->GetValue(), "1000");
        mSim.Char(WXK_RETURN);
        Pump(200);
    });
    ASSERT_EQ(dialog.ShowModal(), wxID_OK);
    const int32_t width = ctl.CropWidth();
    EXPECT_NEAR(width, 1893, 40) << "the right edge went to about 202 of 320 preview pixels";
    EXPECT_EQ(ctl.CropHeight(), 1000);
    EXPECT_EQ(image->GetCrop(), (LayoutRect{0, 0, 3000 - width, 1000}));
    EXPECT_EQ(image->GetCropRatio(), (LayoutPoint{width, 1000}));
    EXPECT_EQ(image->GetCropOut(), 1);
    EXPECT_EQ(undo.GetLastUndoCode(), 5);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CropDialogs, ModesEnableTheEditsAndTheColourButton) {
    AddPicture();
    CCropDlg dialog(mFrame, layout, true);
    ASSERT_TRUE(dialog.Init());
    wxWindow* width = dialog.FindWindow(CCropDlg::kIdWidth);
    wxWindow* colour = dialog.FindWindow(CCropDlg::kIdColour);
    ASSERT_TRUE(width && colour);
    Click(dialog.FindWindow(CCropDlg::kIdModeOff));
    EXPECT_FALSE(width->IsEnabled());
    EXPECT_FALSE(colour->IsEnabled());
    Click(dialog.FindWindow(CCropDlg::kIdModeFrame));
    EXPECT_TRUE(width->IsEnabled());
    ASSERT_TRUE(colour->IsEnabled());
    Click(colour);
    EXPECT_EQ(dialog.Controller().Colour(), 0xFF0000u);
    EXPECT_EQ(dialog.Controller().Mode(), 2);
}

TEST_F(CropDialogs, TintDialogWritesTheCustomSliders) {
    std::vector<CImageObj*> images = t.AddImages(2);
    for (CImageObj* p : images) {
        p->SetSelected(1);
        p->SetColorSpace(FourCC("RGB "));
    }
    layout.SetCurrentItem(images[0]);
    CTintDlg dialog(mFrame, layout);
    ASSERT_TRUE(dialog.Init());
    auto* brightness = dynamic_cast<wxSlider*>(dialog.FindWindow(CTintDlg::kIdBrightness));
    ASSERT_NE(brightness, nullptr);
    EXPECT_FALSE(brightness->IsEnabled()) << "off shows no sliders";
    wxTheApp->CallAfter([&] {
        PumpUntil([&] { return dialog.IsShownOnScreen(); });
        ClickAt(dialog.FindWindow(CTintDlg::kIdCustom), wxMOUSE_BTN_LEFT, wxPoint(8, 8));
        EXPECT_TRUE(brightness->IsEnabled());
        brightness->SetFocus();
        Pump(100);
        mSim.Char(WXK_RIGHT);
        mSim.Char(WXK_RIGHT);
        Pump(200);
        SavePng(&dialog, "tint-dialog.png");
        Click(dialog.FindWindow(wxID_OK));
    });
    ASSERT_EQ(dialog.ShowModal(), wxID_OK);
    for (CImageObj* p : images) {
        EXPECT_EQ(p->GetTuneMode(), 2);
        EXPECT_EQ(p->GetTuneBright(), 2);
        EXPECT_EQ(p->GetTuneContrast(), 0);
    }
    EXPECT_EQ(layout.GetDirty(), 1);
}

TEST_F(CropDialogs, AutoRotateDialogRunsThroughTheSettingsService) {
    layout.SetAutoRotate(1);
    WxSettingsDialogs dialogs;
    EXPECT_TRUE(dialogs.Has(SettingsDialogs::Dialog::AutoRotate));
    wxTheApp->CallAfter([&] {
        auto* dialog = OpenDialog<CAutoRotateDlg>();
        ASSERT_NE(dialog, nullptr);
        auto* exif = dynamic_cast<wxRadioButton*>(dialog->FindWindow(3855));
        ASSERT_NE(exif, nullptr);
        EXPECT_TRUE(exif->GetValue());
        ClickAt(dialog->FindWindow(3537), wxMOUSE_BTN_LEFT, wxPoint(8, 8));
        SavePng(dialog, "auto-rotate-dialog.png");
        Click(dialog->FindWindow(wxID_OK));
    });
    ASSERT_TRUE(dialogs.RunAutoRotate(layout));
    EXPECT_EQ(layout.GetAutoRotate(), 4);
}

TEST_F(CropDialogs, AutoRotateOkWithoutAChoiceKeepsAnInvalidStoredMode) {
    layout.SetAutoRotate(9);
    WxSettingsDialogs dialogs;
    wxTheApp->CallAfter([&] {
        auto* dialog = OpenDialog<CAutoRotateDlg>();
        ASSERT_NE(dialog, nullptr);
        Click(dialog->FindWindow(wxID_OK));
    });
    ASSERT_TRUE(dialogs.RunAutoRotate(layout));
    EXPECT_EQ(layout.GetAutoRotate(), 9);
}

TEST_F(CropDialogs, DuplicateDialogRefusesZeroThenMakesTheCopies) {
    t.AddImages(3)[1]->SetSelected(1);
    WxSettingsDialogs dialogs;
    EXPECT_TRUE(dialogs.Has(SettingsDialogs::Dialog::DuplicateSeveralTimes));
    wxTheApp->CallAfter([&] {
        auto* dialog = OpenDialog<CDuplicateDlg>();
        ASSERT_NE(dialog, nullptr);
        auto* count = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(CDuplicateDlg::kIdCount));
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count->GetValue(), "1");
        EXPECT_EQ(count->GetStringSelection(), "1");
        count->SetFocus();
        count->SelectAll();
        Type("0");
        Click(dialog->FindWindow(wxID_OK));
        EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_VALUE_RANGE_INT});
        EXPECT_TRUE(dialog->IsShown());
        EXPECT_EQ(count->GetStringSelection(), "0");
        Type("3");
        SavePng(dialog, "duplicate-dialog.png");
        Click(dialog->FindWindow(wxID_OK));
    });
    ASSERT_TRUE(dialogs.RunDuplicateSeveralTimes(layout));
    EXPECT_EQ(CountObjects(layout.ItemListHead()), 6);
    EXPECT_EQ(undo.GetLastUndoCode(), 15);
}

}  // namespace
}  // namespace vx
