// The layout view's edit, selection and key commands in its real window, driven by
// simulated keys and clicks: select all, copy, cut and paste, undo, duplicate, nudging
// with a held arrow key, Delete, the right click before the context menu, the cursor
// over a handle and the double click.
#include <gtest/gtest.h>

#include <vector>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "../uicontrols/GalleryFixture.h"
#include "core/model/LayoutFixture.h"
#include "core/view/ViewFixture.h"
#include "document/DocumentCommands.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CCutLineObj.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/ItemClipboard.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "platform/system/Folders.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/MenuTable.h"
#include "ui/view/CGPViewWindow.h"
#include "view/EditCommands.h"
#include "view/HitTesting.h"

namespace vx {
namespace {

/// The shell and tool windows of the frame; records the preview refreshes.
struct EditFrameServices : Shell, NoToolWindows {
    CGPViewWindow* view = nullptr;
    int previewUpdates = 0;
    bool creating = false;

    LayoutView* FindLayoutView(const CLayoutSetting&) override { return view ? &view->Core() : nullptr; }
    LayoutView* GetLayoutView() override { return view ? &view->Core() : nullptr; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return nullptr; }
    bool IsViewCreating() override { return creating; }
    void SetViewCreating(bool on) override { creating = on; }
    void RefreshToolBar(int) override {}
    void SetQuickPrintStatus(int) override {}
    void SetLayoutTitle(const std::string&) override {}
    void PrintNow() override {}
    void UpdateImage() override { ++previewUpdates; }
    int infoShown = 0;
    void ShowImageInfo(const CLayoutObj&, int group) override { infoShown += group == 1; }
};

class EditCommandsWindow : public Gallery {
protected:
    void SetUp() override {
        Gallery::SetUp();
        mFrame->Hide();
        ASSERT_TRUE(CreateTempFolder());  // working bitmaps live there
        ItemClipboard::Instance().Clear();
        app.undo = &undo;
        app.preferences.arrowKeyStep = 70;
        t.layout.SetType(kRecordTypeLayout);
        t.layout.SetFree(1);
        t.layout.SetUnit(1);
        t.layout.SetPageNumber(1);
        t.layout.SetColor(2);
        t.layout.SetPaperColor(0xFFFFFF);
        t.layout.SetBaseImage(std::make_unique<CImageObj>(true));
        first = test::AddPictureItem(t.layout, 400, 400, 900, 600, test::kPictureColour);
        second = test::AddPictureItem(t.layout, 1500, 400, 900, 600, 0x30A050);
        textA = Text(400, 1400);
        textB = Text(1500, 1400);
        line = t.Add<CLineObj>(0, 0, 400, 2400);
        line->SetThickness(40);
        MoveFreeLineEnd(*line, 1500, 0, 1);
        cut = t.Add<CCutLineObj>(2000, 0, 400, 3000);

        frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxPoint(20, 20), wxSize(900, 760));
        frame->SetMenuBar(BuildMenuBar());
        pane = new wxTextCtrl(frame, wxID_ANY, "Druckeinstellungen");
        view = new CGPViewWindow(frame);
        view->SetPrintSettingsPane(pane);
        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        sizer->Add(pane, 0, wxEXPAND);
        sizer->Add(view, 1, wxEXPAND);
        frame->SetSizer(sizer);
        // Commands reach the view as the main window routes them; the frame records the
        // editor commands and the context menus.
        frame->Bind(wxEVT_MENU, [this](wxCommandEvent& e) {
            const int id = FromWxId(e.GetId());
            if (IsForwardedCommand(id)) ForwardCommand(id);
            else frameCommands.push_back(id);
        });
        frame->Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
            const int id = FromWxId(e.GetId());
            if (IsForwardedCommand(id)) e.Enable(ForwardedCommandState(id, app.active != nullptr).enabled);
        });
        frame->Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent&) { ++contextMenus; });
        services.view = view;
        frame->Show();
        frame->Raise();
        Pump(300);
        PumpUntil([this] { return frame->IsShownOnScreen() && frame->IsActive(); }, 1000);

        EXPECT_TRUE(services.creating);  // the new view set it
        app.active = &t.layout;
        view->OnInitialUpdate(&t.layout);
        EXPECT_FALSE(services.creating);  // its initial update cleared it
        Pump(300);
        view->SetFocus();
        Pump(100);
    }

    void TearDown() override {
        if (frame) frame->Destroy();
        Pump(100);
        services.view = nullptr;
        ItemClipboard::Instance().Clear();
        Gallery::TearDown();
    }

    CTextObj* Text(int32_t x, int32_t y) {
        CTextObj* p = t.Add<CTextObj>(600, 300, x, y);
        p->SetText("Text");
        p->SetBoxPoints({LayoutPoint{0, 0}, {300, 0}, {600, 0}, {600, 150}, {600, 300}, {300, 300}, {0, 300}, {0, 150}});
        return p;
    }
    void Key(int key, int modifiers = wxMOD_CONTROL) {
        view->SetFocus();
        Pump(30);
        mSim.Char(key, modifiers);
        Pump(200);
    }
    void Command(int id) {
        wxCommandEvent e(wxEVT_MENU, ToWxId(id));
        frame->GetEventHandler()->ProcessEvent(e);
        Pump(100);
    }
    bool Enabled(int id) { return ForwardedCommandState(id, true).enabled; }
    int Count() const { return CountObjects(t.layout.ItemListHead()); }
    std::vector<int> SelectionFlags() const {
        std::vector<int> flags;
        for (const CLayoutObj* p = t.layout.GetFirstItem(); p; p = p->NextItem()) flags.push_back(p->GetSelected());
        return flags;
    }
    wxPoint Centre(const CLayoutObj& item) const {
        const PixelRect r = view->View().SetupObjectTracker(item).Rect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    test::TestRoot root;
    test::ScopedEnv tempFolder{"VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()};
    test::TestLayout t{2976, 4209, 100};
    UndoStore undo;
    test::InstalledApplicationState app;
    EditFrameServices services;
    test::RecordingMessagePort messages;
    test::RecordingStatusPort status;
    test::ScopedPorts ports{&messages, nullptr, &status};
    ScopedHostService<Shell> installShell{&services};
    ScopedHostService<ToolWindows> installTools{&services};
    wxFrame* frame = nullptr;
    wxTextCtrl* pane = nullptr;
    CGPViewWindow* view = nullptr;
    CImageObj* first = nullptr;
    CImageObj* second = nullptr;
    CTextObj* textA = nullptr;
    CTextObj* textB = nullptr;
    CLineObj* line = nullptr;
    CCutLineObj* cut = nullptr;
    std::vector<int> frameCommands;
    int contextMenus = 0;
};

TEST_F(EditCommandsWindow, SelectCopyPasteUndoAndDuplicateByKeys) {
    Key('A');
    EXPECT_EQ(SelectionFlags(), (std::vector<int>{1, 1, 1, 1, 1, 0}));
    Key('C');
    Key('V');
    ASSERT_EQ(Count(), 11);
    // The copies lie around the centre of the visible part of the page.
    SavePng(view, "layout-view-edit-paste.png");
    const LayoutRect visible = view->Core().GetVisibleOrigin();
    LayoutRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    int pasted = 0;
    for (const CLayoutObj* p = t.layout.GetFirstItem(); p; p = p->NextItem()) {
        if (!p->GetSelected()) continue;
        ++pasted;
        box = {std::min(box.left, p->GetPosition().x), std::min(box.top, p->GetPosition().y),
               std::max(box.right, p->GetPosition().x + p->GetSize().x),
               std::max(box.bottom, p->GetPosition().y + p->GetSize().y)};
    }
    EXPECT_EQ(pasted, 5);
    EXPECT_NEAR((box.left + box.right) / 2, (visible.left + visible.right) / 2, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, (visible.top + visible.bottom) / 2, 2);

    Key('Z');
    EXPECT_EQ(Count(), 6);
    EXPECT_FALSE(Enabled(kCmdEditUndoForwarded));
    Key('Z');
    EXPECT_EQ(Count(), 6);

    Command(kCmdSelectAllImages);
    const LayoutPoint at = t.layout.GetFirstItem()->GetPosition();
    Key('D');
    ASSERT_EQ(Count(), 8);
    const CLayoutObj* copy = t.layout.GetFirstItem()->NextItem();
    EXPECT_EQ(copy->GetPosition(), (LayoutPoint{at.x + 50, at.y + 50}));
}

TEST_F(EditCommandsWindow, CutAndPasteUseTheProgramsOwnClipboardAlone) {
    // Another program's text on the system clipboard is no item to paste, and Cut and
    // Paste leave it there.
    const wxString foreign = "Text aus einem anderen Programm";
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(foreign));
    wxTheClipboard->Close();
    const auto systemText = [] {
        wxTextDataObject data;
        if (!wxTheClipboard->Open()) return wxString("(not open)");
        const bool got = wxTheClipboard->GetData(data);
        wxTheClipboard->Close();
        return got ? data.GetText() : wxString("(no text)");
    };
    wxMenuItem* paste = frame->GetMenuBar()->FindItem(ToWxId(kCmdEditPaste));
    ASSERT_NE(paste, nullptr);
    const auto pasteEnabled = [&] {
        frame->GetMenuBar()->UpdateMenus();
        return paste->IsEnabled();
    };
    EXPECT_FALSE(pasteEnabled());
    Key('V');
    EXPECT_EQ(Count(), 6);

    Command(kCmdSelectAllFreeTexts);
    Key('X');
    EXPECT_EQ(Count(), 4);
    EXPECT_TRUE(pasteEnabled());
    Key('V');
    Key('V');
    EXPECT_EQ(Count(), 8);
    int texts = 0;
    for (const CLayoutObj* p = t.layout.GetFirstItem(); p; p = p->NextItem()) texts += p->GetKind() == kKindText;
    EXPECT_EQ(texts, 4);
    EXPECT_EQ(systemText(), foreign);

    wxTheClipboard->Clear();
    ItemClipboard::Instance().Clear();
    EXPECT_FALSE(pasteEnabled());
}

TEST_F(EditCommandsWindow, AHeldArrowMovesTheTextsAndOneUndoPutsThemBack) {
    Command(kCmdSelectAllFreeTexts);
    const LayoutPoint a = textA->GetPosition(), b = textB->GetPosition();
    view->SetFocus();
    Pump(50);
    // One press, then the toolkit's auto-repeat: key-downs without a key-up between.
    mSim.KeyDown(WXK_RIGHT);
    Pump(60);
    for (int i = 0; i < 2; ++i) {
        wxKeyEvent repeat(wxEVT_KEY_DOWN);
        repeat.m_keyCode = WXK_RIGHT;
        repeat.SetEventObject(view);
        view->GetEventHandler()->ProcessEvent(repeat);
        Pump(30);
    }
    mSim.KeyUp(WXK_RIGHT);
    Pump(200);
    EXPECT_EQ(textA->GetPosition(), (LayoutPoint{a.x + 210, a.y}));
    EXPECT_EQ(textB->GetPosition(), (LayoutPoint{b.x + 210, b.y}));
    EXPECT_FALSE(view->Core().Edit().Keys().IsOpen());
    EXPECT_EQ(t.layout.GetDirty(), 1);
    // The window did not scroll with the arrows.
    EXPECT_EQ(view->Core().ScrollPosition().x, 0);

    Key('Z');
    std::vector<LayoutPoint> texts;
    for (const CLayoutObj* p = t.layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindText) texts.push_back(p->GetPosition());
    EXPECT_EQ(texts, (std::vector<LayoutPoint>{a, b}));
}

TEST_F(EditCommandsWindow, DeleteParksTheItemsOnTheClipboardUntilTheNextCopy) {
    Command(kCmdSelectAllFreeTexts);
    Key(WXK_DELETE, wxMOD_NONE);
    EXPECT_EQ(Count(), 4);
    int parked = 0;
    for (const CLayoutObj* p = ItemClipboard::Instance().Previous(); p; p = p->NextItem()) ++parked;
    EXPECT_EQ(parked, 2);
    Command(kCmdSelectAllImages);
    Key('C');
    EXPECT_EQ(ItemClipboard::Instance().Previous(), nullptr);
}

TEST_F(EditCommandsWindow, RightClickWithShiftOnTheDeskClearsThenTheMenuOpens) {
    Key('A');
    mSim.KeyDown(WXK_SHIFT);
    ClickAt(view, wxMOUSE_BTN_RIGHT, wxPoint(4, 4));
    mSim.KeyUp(WXK_SHIFT);
    Pump(150);
    EXPECT_EQ(SelectionFlags(), (std::vector<int>(6, 0)));
    EXPECT_GE(contextMenus, 1);

    ClickAt(view, wxMOUSE_BTN_RIGHT, Centre(*second));
    EXPECT_EQ(SelectionFlags(), (std::vector<int>{0, 1, 0, 0, 0, 0}));
}

TEST_F(EditCommandsWindow, TheCursorShowsTheHandleOfASelectedImage) {
    const PixelRect r = view->View().SetupObjectTracker(*first).Rect();
    const wxPoint handle(r.right + 1, r.bottom + 1);
    MoveTo(view, handle);
    EXPECT_EQ(view->CursorIndex(), -1);  // nothing selected: the arrow
    Command(kCmdSelectAllImages);
    MoveTo(view, Centre(*first));
    MoveTo(view, handle);
    EXPECT_EQ(view->CursorIndex(), kHitBottomRight);
    EXPECT_EQ(TrackerStockCursor(view->CursorIndex()), wxCURSOR_SIZENWSE);
    SavePng(view, "layout-view-edit-cursor.png");
}

TEST_F(EditCommandsWindow, DoubleClicksOpenTheTextEditorAndThePreview) {
    Command(kCmdSelectAllFreeTexts);
    MoveTo(view, Centre(*textA));
    mSim.MouseDblClick();
    Pump(250);
    EXPECT_EQ(textA->GetDblClickSelected(), 1);
    EXPECT_EQ(frameCommands, std::vector<int>{33004});

    Command(kCmdSelectAllImages);
    MoveTo(view, Centre(*second));
    mSim.MouseDblClick();
    Pump(250);
    EXPECT_EQ(t.layout.GetCurrentItem(), second);
    EXPECT_GE(services.previewUpdates, 1);
}

TEST_F(EditCommandsWindow, FocusMovesBetweenTheViewAndThePaneAndBack) {
    app.preferences.imageInfoWindow = 1;
    Command(kCmdSelectAllImages);
    t.layout.SetCurrentItem(first);
    const int shown = services.infoShown;
    pane->SetFocus();
    Pump(100);
    EXPECT_EQ(services.infoShown, shown);
    view->SetFocus();
    Pump(100);
    // Back from the pane: the current item is shown again.
    EXPECT_EQ(services.infoShown, shown + 1);
}

}  // namespace
}  // namespace vx
