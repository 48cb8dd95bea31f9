#include "GalleryFixture.h"

#include <dlfcn.h>

#include <wx/clipbrd.h>
#include <wx/sizer.h>

#include "ui/controls/CNumEdit.h"

namespace {

// The toolkit's own windows (an entry's menu is one) are no wx windows. wx has loaded
// the toolkit, so its list of top-level windows is looked up at run time.
struct ToolkitList {
    void* data;
    ToolkitList* next;
    ToolkitList* prev;
};

int VisibleToplevels() {
    auto list = reinterpret_cast<ToolkitList* (*)()>(dlsym(RTLD_DEFAULT, "gtk_window_list_toplevels"));
    auto visible = reinterpret_cast<int (*)(void*)>(dlsym(RTLD_DEFAULT, "gtk_widget_get_visible"));
    auto release = reinterpret_cast<void (*)(ToolkitList*)>(dlsym(RTLD_DEFAULT, "g_list_free"));
    if (!list || !visible || !release) return -1;
    int n = 0;
    ToolkitList* all = list();
    for (ToolkitList* l = all; l; l = l->next)
        if (visible(l->data)) ++n;
    release(all);
    return n;
}

// Ctrl+V with the right Ctrl key: the simulator only knows one Ctrl, so the key goes
// to the X server's test extension directly (wx has loaded it).
bool PressRightCtrlV() {
    using DisplayFn = void* (*)();
    using KeycodeFn = unsigned char (*)(void*, unsigned long);
    using FakeKeyFn = int (*)(void*, unsigned, int, unsigned long);
    using FlushFn = int (*)(void*);
    auto display = reinterpret_cast<DisplayFn>(dlsym(RTLD_DEFAULT, "gdk_x11_get_default_xdisplay"));
    auto keycode = reinterpret_cast<KeycodeFn>(dlsym(RTLD_DEFAULT, "XKeysymToKeycode"));
    auto fake = reinterpret_cast<FakeKeyFn>(dlsym(RTLD_DEFAULT, "XTestFakeKeyEvent"));
    auto flush = reinterpret_cast<FlushFn>(dlsym(RTLD_DEFAULT, "XFlush"));
    if (!display || !keycode || !fake || !flush) return false;
    void* dpy = display();
    const unsigned ctrl = keycode(dpy, 0xffe4);  // Control_R
    const unsigned v = keycode(dpy, 'v');
    if (!dpy || !ctrl || !v) return false;
    fake(dpy, ctrl, 1, 0);
    fake(dpy, v, 1, 0);
    fake(dpy, v, 0, 0);
    fake(dpy, ctrl, 0, 0);
    flush(dpy);
    return true;
}

using NumEditWindow = Gallery;

TEST_F(NumEditWindow, TypedKeysFollowTheRangeAndNothingIsPasted) {
    auto* edit = new CNumEdit(mPanel, wxID_ANY, "", wxPoint(10, 10), wxSize(160, -1));
    edit->SetParams(0, 100, false, 1, 9);
    Pump();
    edit->SetFocus();
    Pump();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == edit; }));

    Type("50");
    EXPECT_EQ(edit->GetValue(), "50");
    Type("0");
    EXPECT_EQ(edit->GetValue(), "100.00");
    Type("x-");
    EXPECT_EQ(edit->GetValue(), "100.00");

    edit->SetValue("12");
    edit->SetInsertionPointEnd();
    {
        wxClipboardLocker lock;
        ASSERT_TRUE(!!lock);
        wxTheClipboard->UsePrimarySelection(false);
        wxTheClipboard->SetData(new wxTextDataObject("999"));
        wxTheClipboard->UsePrimarySelection(true);
        wxTheClipboard->SetData(new wxTextDataObject("999"));
        wxTheClipboard->UsePrimarySelection(false);
    }
    Pump();
    mSim.Char('v', wxMOD_CONTROL);
    Pump();
    EXPECT_EQ(edit->GetValue(), "12");
    ASSERT_TRUE(PressRightCtrlV());
    Pump();
    EXPECT_EQ(edit->GetValue(), "12");
    mSim.Char(WXK_INSERT, wxMOD_SHIFT);
    Pump();
    EXPECT_EQ(edit->GetValue(), "12");

    const int before = VisibleToplevels();
    ASSERT_GT(before, 0);
    ClickAt(edit, wxMOUSE_BTN_RIGHT);
    Pump(300);
    EXPECT_EQ(VisibleToplevels(), before) << "the entry's own menu opened";
    mSim.Char(WXK_ESCAPE);
    ClickAt(edit, wxMOUSE_BTN_MIDDLE);
    EXPECT_EQ(edit->GetValue(), "12");

    // Text put in by the program around the filter is taken back too.
    edit->WriteText("abc");
    EXPECT_EQ(edit->GetValue(), "12");
    SavePng(edit, "CNumEdit.png");
}

TEST_F(NumEditWindow, LeavingWithCheckOnLeaveClampsWithoutHoldingTheFocus) {
    auto* edit = new CNumEdit(mPanel, wxID_ANY, "", wxPoint(10, 10), wxSize(160, -1));
    auto* other = new wxTextCtrl(mPanel, wxID_ANY, "", wxPoint(10, 60), wxSize(160, -1));
    edit->SetParams(10, 100, false, 1, 9, true);
    edit->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == edit; }));
    Type("5");
    EXPECT_EQ(edit->GetValue(), "5");
    other->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return wxWindow::FindFocus() == other; }));
    EXPECT_EQ(edit->GetValue(), "10.00");
}

}  // namespace
