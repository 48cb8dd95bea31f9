#include "ui/view/CImageInfoWnd.h"

#include <wx/accel.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutTypes.h"
#include "ui/controls/COwnerDrawListCtrl.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/view/CGPViewWindow.h"

namespace vx {
namespace {

wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }

void CollectMenuShortcuts(wxMenu* menu, std::vector<wxAcceleratorEntry>& entries) {
    if (!menu) return;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->GetSubMenu()) {
            CollectMenuShortcuts(item->GetSubMenu(), entries);
            continue;
        }
        if (std::unique_ptr<wxAcceleratorEntry> accel{item->GetAccel()})
            entries.emplace_back(accel->GetFlags(), accel->GetKeyCode(), item->GetId());
    }
}

}  // namespace

CImageInfoWnd::CImageInfoWnd(wxFrame* frame, AppPreferences& preferences)
    : wxDialog(frame, wxID_ANY, wxString::FromUTF8("Bildinformation"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      mFrame(frame),
      mPreferences(preferences) {
    const wxSize client = ConvertDialogToPixels(wxSize(227, 218));
    const wxRect listRect(ConvertDialogToPixels(wxPoint(7, 7)), ConvertDialogToPixels(wxSize(213, 204)));
    SetClientSize(client);
    mList = new COwnerDrawListCtrl(this, kListId, listRect.GetPosition(), listRect.GetSize(),
                                   wxLC_REPORT | wxLC_NO_HEADER | wxLC_SINGLE_SEL);
    mList->AppendColumn(wxString(), wxLIST_FORMAT_LEFT);
    mList->AppendColumn(wxString(), wxLIST_FORMAT_CENTRE);
    mList->AppendColumn(wxString(), wxLIST_FORMAT_LEFT);
    LayoutColumns();
    mRows = ListRowsWindow(mList);
    mRows->Bind(wxEVT_MOTION, &CImageInfoWnd::OnRowsMotion, this);
    mRows->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
        e.Skip();
        if (mRows->GetToolTip()) mRows->UnsetToolTip();
    });

    // The saved origin, moved back inside the work area of its display.
    int x = preferences.imageInfoX, y = preferences.imageInfoY;
    const int display = wxDisplay::GetFromPoint(wxPoint(x, y));
    const wxRect work = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    const wxSize size = GetSize();
    ClampToolWindowOrigin(work.x, work.y, work.width, work.height, size.x, size.y, x, y);
    Move(x, y);

    TakeFrameShortcuts();
    Bind(wxEVT_CHAR_HOOK, &CImageInfoWnd::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CImageInfoWnd::OnClose, this);
    Bind(wxEVT_SHOW, [this](wxShowEvent& e) {
        e.Skip();
        if (e.IsShown()) FillFromActiveLayout();
    });
    Reset();
}

void CImageInfoWnd::SavePlacement() {
    const wxPoint origin = GetPosition();
    mPreferences.imageInfoX = origin.x;
    mPreferences.imageInfoY = origin.y;
}

void CImageInfoWnd::LayoutColumns() {
    const ImageInfoColumns widths =
        ImageInfoColumnWidths(mList->GetSize().x, wxSystemSettings::GetMetric(wxSYS_EDGE_X, this),
                              wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this));
    mList->SetColumnWidth(0, widths.label);
    mList->SetColumnWidth(1, widths.separator);
    mList->SetColumnWidth(2, widths.value);
}

void CImageInfoWnd::TakeFrameShortcuts() {
    if (!mFrame) return;
    std::vector<wxAcceleratorEntry> entries = LayoutViewAccelerators();
    if (wxMenuBar* bar = mFrame->GetMenuBar())
        for (size_t m = 0; m < bar->GetMenuCount(); ++m) CollectMenuShortcuts(bar->GetMenu(m), entries);
    if (!entries.empty()) SetAcceleratorTable(wxAcceleratorTable(int(entries.size()), entries.data()));
    // Their commands are the frame's.
    Bind(wxEVT_MENU, [this](wxCommandEvent& e) {
        if (mFrame) mFrame->GetEventHandler()->ProcessEvent(e);
    });
}

void CImageInfoWnd::ShowItem(const CLayoutObj& item) { SetRows(ImageInfoRowsFor(item)); }

void CImageInfoWnd::Reset() { SetRows(ImageInfoLabelRows()); }

void CImageInfoWnd::FillFromActiveLayout() {
    ApplicationState* app = HostService<ApplicationState>();
    CLayoutSetting* layout = app ? app->ActiveLayoutSlot() : nullptr;
    const CLayoutObj* item = layout ? layout->GetCurrentItem() : nullptr;
    if (layout && layout->GetSelected() == 1 && item && item->GetKind() == kKindImage)
        ShowItem(*item);
    else
        Reset();
}

void CImageInfoWnd::SetRows(const ImageInfoTable& rows) {
    if (mFilled && rows == mShown) return;
    mList->Freeze();
    mList->DeleteAllItems();
    for (long i = 0; i < long(rows.size()); ++i) {
        const ImageInfoRow& row = rows[size_t(i)];
        mList->InsertItem(i, Wx(row.label));
        mList->SetItem(i, 1, Wx(row.separator));
        mList->SetItem(i, 2, Wx(row.value));
    }
    mList->Thaw();
    mShown = rows;
    mFilled = true;
    RegisterTips();
}

void CImageInfoWnd::RegisterTips() {
    // Once per change of the rows: the label over its cell, the value over the
    // separator and value cells.
    mTips.clear();
    for (long i = 0; i < long(mShown.size()); ++i) {
        const ImageInfoRow& row = mShown[size_t(i)];
        mTips.push_back({i, 0, 0, Wx(row.label)});
        mTips.push_back({i, 1, 2, Wx(row.value)});
    }
    mTipRegistrations += int(mTips.size());
    if (mRows && mRows->GetToolTip()) mRows->UnsetToolTip();
}

wxString CImageInfoWnd::TipAt(const wxPoint& rowsPoint) const {
    int flags = 0;
    const long row = mList->HitTest(rowsPoint, flags);
    if (row < 0) return {};
    int column = -1, right = 0;
    for (int c = 0; c < mList->GetColumnCount(); ++c) {
        right += mList->GetColumnWidth(c);
        if (rowsPoint.x < right) {
            column = c;
            break;
        }
    }
    for (const CellTip& tip : mTips)
        if (tip.row == row && column >= tip.firstColumn && column <= tip.lastColumn) return tip.text;
    return {};
}

void CImageInfoWnd::OnRowsMotion(wxMouseEvent& event) {
    event.Skip();
    const wxString tip = TipAt(event.GetPosition());
    if (tip.empty()) {
        if (mRows->GetToolTip()) mRows->UnsetToolTip();
    } else if (!mRows->GetToolTip() || mRows->GetToolTipText() != tip) {
        mRows->SetToolTip(tip);
    }
}

void CImageInfoWnd::OnCharHook(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
        case WXK_ESCAPE: Close(); return;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER: return;  // Enter does nothing here
        default: event.Skip(); return;
    }
}

void CImageInfoWnd::OnClose(wxCloseEvent&) {
    mPreferences.imageInfoWindow = 0;
    SavePlacement();
    Destroy();
}

}  // namespace vx
