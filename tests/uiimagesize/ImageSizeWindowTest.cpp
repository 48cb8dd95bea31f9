#include "DialogWindowFixture.h"

#include <wx/button.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "../core/dialogs/ImageSizeFixture.h"
#include "dialogs/CutLineController.h"
#include "dialogs/ImageSizeController.h"
#include "model/CLayoutSetting.h"
#include "support/RecordingApplicationState.h"
#include "ui/dialogs/CCutLineDlg.h"
#include "ui/dialogs/CImageSizeDlg.h"
#include "ui/document/WxSettingsDialogs.h"

namespace {

using namespace vx;
using namespace vx::dialogs;

struct WindowFixture : test::ImageSizeFixture {
    test::InstalledApplicationState app;
    WxSettingsDialogs dialogs;
    WindowFixture() { app.undo = &undo; }
};

template <class T = wxWindow>
T* Control(wxWindow* parent, int id) {
    T* window = dynamic_cast<T*>(parent->FindWindow(id));
    EXPECT_NE(window, nullptr) << "control " << id;
    return window;
}

using ImageSizeWindow = DialogWindow;

TEST_F(ImageSizeWindow, TypedWidthAndAutomaticFrameReachTheImage) {
    WindowFixture f;
    std::string heightShown, sizeLine;
    bool ratioEnabledWithFrame = true;
    const bool ok = Drive<CImageSizeDlg>(
        [&] { return f.dialogs.RunImageSizeDialog(f.layout, false); },
        [&](CImageSizeDlg& dialog) {
            EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("Bildgröße (Bild)"));
            wxWindow* sizePage = dialog.Tabs()->GetPage(0);
            TypeInto(Control(sizePage, kWidthEdit), "150");
            heightShown = Control<wxTextCtrl>(sizePage, kHeightEdit)->GetValue().utf8_str();
            SavePng(&dialog, "image-size-tab-size.png");

            dialog.Tabs()->SetSelection(1);
            Pump(300);
            wxWindow* framePage = dialog.Tabs()->GetPage(1);
            ClickBox(Control(framePage, kFrameAuto));
            sizeLine = Control<wxStaticText>(framePage, kSizeLine)->GetLabel().utf8_str();
            SavePng(&dialog, "image-size-tab-frame.png");
            ratioEnabledWithFrame = Control(sizePage, kRatioRadio)->IsEnabled();

            ClickAt(Control(&dialog, wxID_OK));
        });
    EXPECT_TRUE(ok);
    EXPECT_EQ(heightShown, "100.00");
    EXPECT_EQ(sizeLine, "Breite : 159.88 mm  Höhe : 109.85 mm");
    EXPECT_FALSE(ratioEnabledWithFrame);
    EXPECT_EQ(f.image->GetSizePixel(), (LayoutPoint{2126, 1417}));
    EXPECT_EQ(f.image->GetFrameMode(), 1);
    EXPECT_EQ(f.image->GetFrame(), (LayoutRect{70, 70, 70, 70}));
    EXPECT_EQ(f.image->GetSize(), (LayoutPoint{2266, 1557}));
    EXPECT_EQ(f.undo.GetLastUndoCode(), 159);
}

TEST_F(ImageSizeWindow, RefusedWidthKeepsTheDialogOpenOnTheField) {
    WindowFixture f;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    bool focused = false;
    const bool ok = Drive<CImageSizeDlg>(
        [&] { return f.dialogs.RunImageSizeDialog(f.layout, false); },
        [&](CImageSizeDlg& dialog) {
            wxWindow* sizePage = dialog.Tabs()->GetPage(0);
            TypeInto(Control(sizePage, kWidthEdit), "5");
            ClickAt(Control(&dialog, wxID_OK));
            focused = wxWindow::FindFocus() == sizePage->FindWindow(kWidthEdit);
            EXPECT_TRUE(dialog.IsShown());
            ClickAt(Control(&dialog, wxID_CANCEL));
        });
    EXPECT_FALSE(ok);
    EXPECT_EQ(messages.Ids(), std::vector<int>{10410});
    EXPECT_TRUE(focused);
    EXPECT_EQ(f.image->GetSize(), (LayoutPoint{1800, 1200}));
    EXPECT_FALSE(f.undo.CanUndo());
}

using CutLineWindow = DialogWindow;

TEST_F(CutLineWindow, OtherCornerMarksReachTheLayout) {
    WindowFixture f;
    f.layout.CutLine() = CutLineSettings{0, 1, 142, 0, 0x000000};
    bool lengthEnabledAroundImage = true;
    const bool ok = Drive<CCutLineDlg>(
        [&] { return f.dialogs.RunCutLineDialog(f.layout); },
        [&](CCutLineDlg& dialog) {
            EXPECT_FALSE(Control(&dialog, kLengthEdit)->IsEnabled());
            ClickBox(Control(&dialog, kCutModeOther));
            lengthEnabledAroundImage = Control(&dialog, kLengthEdit)->IsEnabled();
            ClickBox(Control(&dialog, kCutCornersOnly));
            TypeInto(Control(&dialog, kLengthEdit), "20");
            SavePng(&dialog, "cut-lines.png");
            ClickAt(Control(&dialog, wxID_OK));
        });
    EXPECT_TRUE(ok);
    EXPECT_FALSE(lengthEnabledAroundImage);
    EXPECT_EQ(f.layout.CutLine().mode, 2);
    EXPECT_EQ(f.layout.CutLine().markType, 2);
    EXPECT_EQ(f.layout.CutLine().cornerLength, 283);
    EXPECT_EQ(f.layout.CutLine().cornerPosition, 0);
    EXPECT_EQ(f.undo.GetLastUndoCode(), 19);
    EXPECT_EQ(f.layout.GetDirty(), 1);
}

}  // namespace
