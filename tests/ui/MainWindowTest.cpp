#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/docview.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>


#include "ProgramRun.h"
#include "app/AppCore.h"
#include "app/SettingsStore.h"
#include "core/imaging/JpegFixtures.h"
#include "core/view/ViewFixture.h"
#include "document/LayoutDocument.h"
#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/CChildFrame.h"
#include "ui/shell/CChildSplitterWnd.h"
#include "ui/shell/CMainToolBar.h"
#include "ui/shell/CStartupWarningDlg.h"
#include "ui/shell/CommandIds.h"
#include "ui/shell/ContextMenus.h"
#include "ui/shell/DropTargets.h"
#include "ui/shell/GPView.h"
#include "ui/shell/LayoutPane.h"
#include "ui/shell/LongLoopFilter.h"
#include "ui/shell/MenuTable.h"
#include "ui/shell/WxScreenMetrics.h"
#include "ui/view/CGPViewWindow.h"

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

using vx::test::Settle;
using vx::test::Shot;

CGPApp& App() { return wxGetApp(); }
CMainFrame* Frame() { return CMainFrame::Get(); }

vx::GPView* ActiveView() {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    for (wxDocument* doc : manager->GetDocumentsVector())
        for (wxView* view : doc->GetViewsVector())
            if (auto* gp = dynamic_cast<vx::GPView*>(view)) return gp;
    return nullptr;
}

int ImageItems(const vx::CLayoutSetting& layout) {
    int n = 0;
    for (const vx::CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) n += item->GetKind() == 1;
    return n;
}

/// One run of the program for the suite.
class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite() {
        run = new vx::test::ProgramRun;
        hook = &run->Hook();
        started = run->Started();
    }
    static void TearDownTestSuite() {
        delete run;
        run = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(started) << "start-up refused";
        ASSERT_NE(Frame(), nullptr);
    }

    static inline vx::test::ProgramRun* run = nullptr;
    static inline vx::test::AnsweringHook* hook = nullptr;
    static inline bool started = false;
};

TEST_F(MainWindow, StartsWithTheNewLayoutInOneWindow) {
    CMainFrame* frame = Frame();
    EXPECT_TRUE(frame->IsShown());
    EXPECT_TRUE(App().StartupComplete());
    EXPECT_TRUE(fs::is_directory(vx::TempFolder()));
    // Start-up document 0 runs New: the layout window shows Untitled-1.
    Settle();
    EXPECT_EQ(std::string(frame->GetTitle().utf8_str()), "TEVRA Vellicor EX - Untitled-1");
    ASSERT_NE(frame->LayoutWindow(), nullptr);
    EXPECT_EQ(wxTopLevelWindows.GetCount(), 1u) << "the splash is gone and no other frame is open";

    // Menus from the table; a command without a handler is grey.
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMenuCount(), 7u);
    EXPECT_EQ(bar->GetMenuLabelText(0), "Datei");
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    bar->UpdateMenus();
    EXPECT_TRUE(bar->IsEnabled(vx::ToWxId(vx::kCmdNew)));
    EXPECT_TRUE(bar->IsEnabled(vx::ToWxId(vx::kCmdLoadImage)));
    EXPECT_FALSE(bar->IsEnabled(vx::ToWxId(32802))) << "preferences have no handler yet";
    EXPECT_FALSE(bar->IsEnabled(vx::ToWxId(vx::kCmdSave))) << "an unchanged new layout";
    // Every accelerator the table gives is understood by the toolkit.
    for (const vx::MenuEntry& e : vx::MenuEntries()) {
        if (e.menu != vx::kMainMenu || e.command <= 0 || !std::strchr(e.text, '\t')) continue;
        SCOPED_TRACE(e.text);
        wxMenuItem* item = bar->FindItem(vx::ToWxId(e.command));
        ASSERT_NE(item, nullptr);
        std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        EXPECT_TRUE(accel && accel->IsOk());
    }

    // Status bar: message | 320-pixel quick-print pane | CAP | NUM.
    wxStatusBar* status = frame->GetStatusBar();
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(status->GetFieldsCount(), 4);
    wxRect pane;
    ASSERT_TRUE(status->GetFieldRect(1, pane));
    EXPECT_NEAR(pane.width, CMainFrame::kQuickPrintPaneWidth, 4);
    EXPECT_EQ(std::string(status->GetStatusText(0).utf8_str()), "Bereit");

    Shot(frame, "ui-main-window-start.png");

    // The quick-print pane follows the state and the preference.
    vx::AppPreferences& prefs = App().Core()->Preferences();
    const int32_t kept = prefs.quickPrint;
    struct Pane {
        int state;
        int32_t on;
        const char* text;
    };
    for (const Pane& p : {Pane{10, 1, "Die Schnelldruckfunktion ist aktiviert."}, Pane{10, 0, ""},
                          Pane{11, 1, "Die Schnelldruckfunktion arbeitet."}, Pane{9, 1, ""}}) {
        SCOPED_TRACE(p.state);
        prefs.quickPrint = p.on;
        frame->SetQuickPrintStatus(p.state);
        wxString text = status->GetStatusText(1);
        text.Trim();
        EXPECT_EQ(std::string(text.utf8_str()), p.text);
    }
    prefs.quickPrint = kept;

    // Moving the pointer over a toolbar button reads "Bereit"; over the rest of the bar,
    // or only entering a button, leaves the text alone.
    wxUIActionSimulator sim;
    CMainToolBar* tools = frame->ToolBar();
    const int middle = tools->GetClientSize().y / 2;
    sim.MouseMove(tools->ClientToScreen(wxPoint(tools->GetClientSize().x - 3, middle)));
    Settle();
    frame->SetMessageText("anders");
    sim.MouseMove(tools->ClientToScreen(wxPoint(tools->GetClientSize().x - 8, middle)));
    Settle();
    EXPECT_EQ(std::string(status->GetStatusText(0).utf8_str()), "anders");
    tools->OnMouseEnter(vx::ToWxId(vx::kCmdLoadImage));
    EXPECT_EQ(std::string(status->GetStatusText(0).utf8_str()), "anders");
    sim.MouseMove(tools->ClientToScreen(wxPoint(24, middle)));  // "Bild laden"
    Settle();
    sim.MouseMove(tools->ClientToScreen(wxPoint(26, middle)));
    Settle();
    EXPECT_EQ(std::string(status->GetStatusText(0).utf8_str()), "Bereit");
    sim.MouseMove(frame->LayoutWindow()->GetScreenRect().GetPosition() + wxPoint(40, 40));
    Settle();
}

TEST_F(MainWindow, KeysOfTheCommandsAreTheMenuAccelerators) {
    struct Key {
        int command;
        int flags;
        int code;
    };
    constexpr int kCtrl = wxACCEL_CTRL, kShift = wxACCEL_SHIFT;
    const Key keys[] = {
        {33003, kCtrl, 'T'},  // free text
        {33005, kCtrl, 'L'},  // free line
        {57643, kCtrl, 'Z'}, {57635, kCtrl, 'X'}, {57634, kCtrl, 'C'}, {57637, kCtrl, 'V'},
        {57632, wxACCEL_NORMAL, WXK_DELETE}, {32851, kCtrl, 'D'}, {32857, kCtrl | kShift, 'D'},
        {32852, kCtrl, 'A'},
        {33303, kCtrl, 'G'}, {32915, kCtrl | kShift, ']'}, {32916, kCtrl, ']'}, {32917, kCtrl, '['},
        {32918, kCtrl | kShift, '['},
        {33300, kCtrl, '+'}, {33301, kCtrl, '-'},
        {33313, kCtrl, 'J'}, {33305, kCtrl, WXK_HOME}, {33306, kCtrl, WXK_PAGEUP}, {33307, kCtrl, WXK_PAGEDOWN},
        {33308, kCtrl, WXK_END},
    };
    wxMenuBar* bar = Frame()->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    Frame()->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    bar->UpdateMenus();
    for (const Key& k : keys) {
        SCOPED_TRACE(k.command);
        wxMenuItem* item = bar->FindItem(vx::ToWxId(k.command));
        ASSERT_NE(item, nullptr);
        std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        if (!accel || !accel->IsOk()) {
            ADD_FAILURE() << "no key: " << item->GetItemLabel().utf8_string();
            continue;
        }
        EXPECT_EQ(accel->GetFlags(), k.flags) << accel->ToString().utf8_string();
        EXPECT_EQ(accel->GetKeyCode(), k.code) << accel->ToString().utf8_string();
    }
    // The numeric pad's plus and minus zoom as well.
    std::vector<std::pair<int, int>> pad;
    for (const wxAcceleratorEntry& e : vx::LayoutViewAccelerators())
        if (e.GetFlags() == kCtrl) pad.emplace_back(e.GetKeyCode(), vx::FromWxId(e.GetCommand()));
    EXPECT_EQ(pad, (std::vector<std::pair<int, int>>{{WXK_NUMPAD_ADD, 33300}, {WXK_NUMPAD_SUBTRACT, 33301}}));

    // No key of the main menu runs two commands.
    std::vector<std::pair<int, int>> seen;
    for (const vx::MenuEntry& e : vx::MenuEntries()) {
        if (e.menu != vx::kMainMenu || e.command <= 0 || !std::strchr(e.text, '\t')) continue;
        std::unique_ptr<wxAcceleratorEntry> accel(bar->FindItem(vx::ToWxId(e.command))->GetAccel());
        if (!accel) continue;
        const std::pair<int, int> key{accel->GetFlags(), accel->GetKeyCode()};
        EXPECT_EQ(std::count(seen.begin(), seen.end(), key), 0) << e.text;
        seen.push_back(key);
    }
}

TEST_F(MainWindow, ToolbarHoldsItsButtonsInOneRowWithTheZoomBarPlace) {
    CMainFrame* frame = Frame();
    CMainToolBar* tools = frame->ToolBar();
    ASSERT_NE(tools, nullptr);
    const int expected[] = {vx::kCmdLoadImage, vx::kCmdPrint, vx::kCmdNew, vx::kCmdOpen, vx::kCmdOpenLast, vx::kCmdSave};
    std::vector<int> ids;
    for (size_t i = 0; i < tools->GetToolsCount(); ++i)
        if (const wxToolBarToolBase* tool = tools->GetToolByPos(int(i)); tool && tool->IsButton())
            ids.push_back(vx::FromWxId(tool->GetId()));
    EXPECT_EQ(ids, std::vector<int>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(tools->GetToolBitmapSize(), wxSize(32, 32));
    ASSERT_EQ(tools->Gaps().size(), 3u);
    for (wxWindow* gap : tools->Gaps()) EXPECT_EQ(gap->GetSize().x, CMainToolBar::kGapWidth);

    for (int width : {800, 1600}) {
        SCOPED_TRACE(width);
        frame->SetSize(wxSize(width, 700));
        frame->Layout();
        Settle();
        const wxRect t = tools->GetScreenRect();
        const wxRect z = frame->ZoomBarPlace()->GetScreenRect();
        // One row: the zoom bar's place stands right of the toolbar, at the same height.
        EXPECT_GE(z.x, t.GetRight());
        EXPECT_LT(z.y, t.GetBottom());
        EXPECT_LT(t.y, z.GetBottom());
        EXPECT_LE(frame->BarRow()->GetSize().y, std::max(t.height, z.height) + 2);
        // The layout window starts below the row.
        EXPECT_GE(frame->LayoutWindow()->GetScreenRect().y, frame->BarRow()->GetScreenRect().GetBottom());
        Shot(frame, "ui-main-window-" + std::to_string(width) + ".png");
    }
    frame->SetSize(wxSize(1024, 768));
    Settle();
}

TEST_F(MainWindow, LayoutWindowOpensItsLeftPaneAtTheSetWidthAndPaintsThePage) {
    CChildFrame* child = Frame()->LayoutWindow();
    ASSERT_NE(child, nullptr);
    const vx::ScreenMetrics m = vx::CurrentScreenMetrics();
    EXPECT_EQ(child->Splitter()->InitialLeftWidth(), 332 + m.scrollBar + 2 * m.edge);
    EXPECT_EQ(child->Splitter()->GetSashPosition(), child->Splitter()->InitialLeftWidth());
    EXPECT_EQ(child->LeftPane()->GetSize().x, child->Splitter()->InitialLeftWidth());

    vx::LayoutPane* pane = child->RightPane();
    ASSERT_NE(pane, nullptr);
    pane->Refresh();
    Settle();
    EXPECT_EQ(pane->LastPaint(), vx::PaintResult::Drawn);
    EXPECT_EQ(Frame()->GetLayoutView(), pane);
    // The page at zoom 1/1, centred when there is room, else 10 pixels in.
    const vx::ViewPageRect page = pane->GetPageRect();
    EXPECT_GT(page.page.right, 0);
    EXPECT_GT(page.page.bottom, 0);
    EXPECT_GE(page.offset.x, 10);
    EXPECT_GE(page.offset.y, 10);
    wxImage shot = Shot(pane, "ui-layout-window.png");
    EXPECT_EQ(shot.GetRed(3, 3), 0xB4) << "the desk";
}

TEST_F(MainWindow, DropsAddImagesAndOpenLayouts) {
    vx::GPView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    vx::CLayoutSetting* layout = view->Document()->Core().GetLayout();
    ASSERT_NE(layout, nullptr);
    const fs::path folder = run->Root() / "drops";
    fs::create_directories(folder);
    vx::test::JpegFixture jpeg;
    jpeg.width = 400;
    jpeg.height = 300;
    vx::test::WriteBytes(folder / "a.jpg", vx::test::EncodeJpeg(jpeg));
    vx::test::WriteBytes(folder / "b.jpg", vx::test::EncodeJpeg(jpeg));
    vx::test::WriteBytes(folder / "note.txt", vx::test::Bytes("no picture"));

    const int before = ImageItems(*layout);
    hook->shown.clear();
    vx::DropOnLayout(view, {folder / "a.jpg", folder / "b.jpg", folder / "note.txt"});
    Settle();
    EXPECT_EQ(ImageItems(*layout), before + 2);
    EXPECT_EQ(std::string(Frame()->GetStatusBar()->GetStatusText(0).utf8_str()), "Bildformat nicht unterstützt.");
    Shot(Frame(), "ui-main-window-dropped.png");

    // A layout file dropped on the main window opens in place of the open one.
    const fs::path saved = folder / "saved.kqf";
    ASSERT_EQ(view->Document()->Core().SaveLayoutFile(saved), 1);
    vx::DropOnFrame({folder / "note.txt"});
    EXPECT_EQ(hook->shown.back(), "Datei nicht lesbar.");
    view->Document()->Core().OnFileClose();
    Settle();
    EXPECT_EQ(ActiveView(), nullptr);
    EXPECT_EQ(Frame()->LayoutWindow(), nullptr);
    EXPECT_EQ(std::string(Frame()->GetTitle().utf8_str()), "TEVRA Vellicor EX");
    vx::DropOnFrame({saved});
    Settle();
    ASSERT_NE(ActiveView(), nullptr);
    ASSERT_NE(Frame()->LayoutWindow(), nullptr);
    EXPECT_EQ(ImageItems(*ActiveView()->Document()->Core().GetLayout()), before + 2);
    EXPECT_EQ(std::string(Frame()->GetTitle().utf8_str()), "TEVRA Vellicor EX - saved");
}

TEST_F(MainWindow, ContextMenusFollowThePointAndTheSelection) {
    CMainFrame* frame = Frame();
    vx::LayoutPane* pane = frame->LayoutWindow() ? frame->LayoutWindow()->RightPane() : nullptr;
    ASSERT_NE(pane, nullptr);
    vx::CLayoutSetting* layout = pane->View().GetLayout();
    ASSERT_NE(layout, nullptr);
    vx::CLayoutObj* image = nullptr;
    for (vx::CLayoutObj* item = layout->GetFirstItem(); item; item = item->NextItem())
        if (item->GetKind() == vx::kKindImage) image = item;
    ASSERT_NE(image, nullptr) << "the images dropped before";
    for (vx::CLayoutObj* item = layout->GetFirstItem(); item; item = item->NextItem()) item->SetSelected(0);
    auto* text = vx::test::AppendItem<vx::CTextObj>(*layout);
    text->SetRect(100, 100, 400, 300);
    // Its frame, unrotated: the menu follows the free text's outline.
    text->SetBoxPoints({{{0, 0}, {150, 0}, {300, 0}, {300, 100}, {300, 200}, {150, 200}, {0, 200}, {0, 100}}});

    const vx::ViewPageRect page = pane->GetPageRect();
    double zoom = 1.0;
    if (const vx::ViewStateBlock* vs = layout->GetViewState(); vs && vs->zoomNumerator > 0)
        zoom = double(vs->zoomNumerator) / vs->zoomDenominator;
    const auto centre = [&](const vx::CLayoutObj& item) {
        const vx::LayoutRect r = item.GetRect();
        return vx::PixelPoint{int32_t(page.offset.x + (r.left + r.right) / 2.0 * pane->View().GetXPerUnit() * zoom),
                              int32_t(page.offset.y + (r.top + r.bottom) / 2.0 * pane->View().GetYPerUnit() * zoom)};
    };
    const vx::PixelPoint onImage = centre(*image);
    const vx::PixelPoint onText = centre(*text);
    const vx::PixelPoint onDesk{2, 2};

    struct Case {
        const char* what;
        bool selected;
        vx::PixelPoint at;
        int kind;
    };
    for (const Case& c : {Case{"nothing selected", false, onImage, vx::kMenuPage},
                          Case{"an image", true, onImage, vx::kMenuImage},
                          Case{"a free text", true, onText, vx::kMenuFreeText},
                          Case{"no item", true, onDesk, vx::kMenuPage}}) {
        SCOPED_TRACE(c.what);
        image->SetSelected(c.selected ? 1 : 0);
        EXPECT_EQ(vx::ContextMenuKind(*pane, c.at), c.kind);
    }
    image->SetSelected(0);
    // Over the bars there is no menu; beside the layout view, the page menu.
    EXPECT_EQ(frame->ContextMenuKindAt(frame->ToolBar()->GetScreenRect().GetPosition() + wxPoint(4, 4)), 0);
    EXPECT_EQ(frame->ContextMenuKindAt(frame->LayoutWindow()->LeftPane()->GetScreenRect().GetPosition() + wxPoint(4, 4)),
              vx::kMenuPage);
    vx::RemoveObjectById(layout->ItemListHead(), text);
}

TEST_F(MainWindow, StartupWarningsOfferTheirButtonsAndTheSilencingBox) {
    struct Case {
        CStartupWarningDlg::Kind kind;
        const char* first;
        const char* second;
    };
    for (const Case& c : {Case{CStartupWarningDlg::Kind::DiskSpace, "Ja", "Nein"},
                          Case{CStartupWarningDlg::Kind::QuickTime, "Ja", "Nein"},
                          Case{CStartupWarningDlg::Kind::UserRights, "OK", "Abbrechen"}}) {
        SCOPED_TRACE(c.first);
        CStartupWarningDlg dialog(Frame(), c.kind, "Text");
        EXPECT_EQ(std::string(dialog.GetTitle().utf8_str()), "Warnung");
        auto* first = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
        auto* second = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_CANCEL));
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(std::string(first->GetLabel().utf8_str()), c.first);
        EXPECT_EQ(std::string(second->GetLabel().utf8_str()), c.second);
        EXPECT_EQ(dialog.GetEscapeId(), wxID_CANCEL);
        EXPECT_EQ(std::string(dialog.CheckBox()->GetLabel().utf8_str()),
                  "Dieses Dialogfeld in der Zukunft nicht mehr anzeigen.");
        EXPECT_FALSE(dialog.DontShowAgain());
        dialog.CheckBox()->SetValue(true);
        EXPECT_TRUE(dialog.DontShowAgain());
    }
}

TEST_F(MainWindow, LongLoopsDropUserInputAndRecordTheStopChord) {
    vx::LongLoopFilter& filter = vx::LongLoopFilter::Instance();
    struct Case {
        int key;
        bool control;
        bool stop;
    };
    for (const Case& c : {Case{'.', true, true}, Case{WXK_NUMPAD_DECIMAL, true, true}, Case{'.', false, false},
                          Case{'A', true, false}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(vx::LongLoopFilter::IsCancelChord(c.key, c.control), c.stop);
    }
    // Outside a pump nothing is filtered.
    wxKeyEvent key(wxEVT_KEY_DOWN);
    EXPECT_EQ(filter.FilterEvent(key), wxEventFilter::Event_Skip);

    // Inside a pump: keys and clicks are dropped, timers and posted events run.
    int posted = 0;
    int clicks = 0;
    Frame()->Bind(wxEVT_LEFT_DOWN, [&](wxMouseEvent& e) { ++clicks; e.Skip(); });
    wxTheApp->CallAfter([&] {
        ++posted;
        wxKeyEvent chord(wxEVT_KEY_DOWN);
        chord.m_keyCode = '.';
        chord.SetControlDown(true);
        Frame()->GetEventHandler()->ProcessEvent(chord);
        wxMouseEvent click(wxEVT_LEFT_DOWN);
        Frame()->GetEventHandler()->ProcessEvent(click);
    });
    EXPECT_TRUE(vx::IsCtrlDecimalKeyDown());
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(vx::IsCtrlDecimalKeyDown()) << "the chord is taken once";
}

TEST_F(MainWindow, ZClosingSavesTheUserFilesAndRemovesTheTemporaryFolder) {
    CMainFrame* frame = Frame();
    vx::AppCore* core = App().Core();
    ASSERT_NE(core, nullptr);
    const fs::path prefs = core->PreferencesPath();
    const fs::path categories = core->UserCategoryPath();
    const fs::path settings = core->Settings().Path();
    const fs::path tempFolder = vx::TempFolder();
    // The open layout changed above: closing asks about saving; the hook answers.
    frame->Close(false);
    Settle();
    wxTheApp->ProcessIdle();
    if (CMainFrame::Get()) {
        CMainFrame::Get()->Close(true);
        Settle();
    }
    EXPECT_EQ(CMainFrame::Get(), nullptr);
    wxTheApp->OnExit();
    wxEntryCleanup();
    EXPECT_FALSE(fs::exists(tempFolder));
    EXPECT_TRUE(fs::exists(prefs)) << prefs;
    EXPECT_TRUE(fs::exists(categories)) << categories;
    EXPECT_TRUE(fs::exists(settings)) << settings;
    vx::SettingsStore store(settings);
    EXPECT_NE(store.GetString("Settings", "WindowPos"), "");
    EXPECT_GT(store.GetInt("Window", "right"), store.GetInt("Window", "left"));
}

}  // namespace
