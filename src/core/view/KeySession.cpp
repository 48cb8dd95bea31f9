#include "view/KeySession.h"

#include <cstdint>
#include <utility>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/LayoutViewRefresh.h"
#include "model/RefusableEdit.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "view/ResizeItems.h"

namespace vx {
namespace {

AppPreferences* Preferences() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->Preferences() : nullptr;
}

UndoStore* Store() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? &app->GetUndoStore() : nullptr;
}

bool IsArrow(int key) { return key >= kKeyLeft && key <= kKeyDown; }

/// Grid snapping off for the scope, as it was afterwards.
class SnapOff {
public:
    explicit SnapOff(AppPreferences* prefs) : mPrefs(prefs), mWas(prefs ? prefs->snapToGrid : 0) {
        if (mPrefs) mPrefs->snapToGrid = 0;
    }
    ~SnapOff() {
        if (mPrefs) mPrefs->snapToGrid = mWas;
    }
    SnapOff(const SnapOff&) = delete;
    SnapOff& operator=(const SnapOff&) = delete;

private:
    AppPreferences* mPrefs;
    int32_t mWas;
};

}  // namespace

bool CanNudgeSelection(const CLayoutSetting& layout) {
    return (layout.GetFree() != 0 || layout.GetOther() != 0) && (layout.GetSelected() != 0 || layout.GetOther() != 0);
}

int NudgeSelection(CLayoutSetting& layout, int virtualKey) {
    if (virtualKey == kKeyReturn || !CanNudgeSelection(layout)) return 0;
    AppPreferences* prefs = Preferences();
    const int32_t step = prefs ? prefs->arrowKeyStep : 70;
    int32_t dx = 0, dy = 0;
    switch (virtualKey) {
    case kKeyLeft: dx = -step; break;
    case kKeyUp: dy = -step; break;
    case kKeyRight: dx = step; break;
    case kKeyDown: dy = step; break;
    default: return 0;
    }
    SnapOff snap(prefs);
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() != kKindImage || !p->GetSelected()) continue;
        auto* image = static_cast<CImageObj*>(p);
        LayoutPoint offset = image->GetOffsetFromPageTop();
        offset.y += dy;
        image->SetOffsetFromPageTop(offset);
    }
    UndoStore* undo = Store();
    const int moved = undo ? MoveSelectedItems(layout, *undo, dx, dy, true) : 0;
    InvalidateLayoutView(layout);
    return moved;
}

KeySession::KeySession(std::function<CLayoutSetting*()> layout) : mLayout(std::move(layout)) {}

KeySession::~KeySession() = default;

bool KeySession::KeyDown(int virtualKey) {
    if (virtualKey != kKeyReturn && !IsArrow(virtualKey)) return false;
    CLayoutSetting* layout = mLayout ? mLayout() : nullptr;
    if (!layout) return true;
    if (mOpen && mSessionLayout != layout) Close();
    if (!mOpen) {
        mOpen = true;
        mSessionLayout = layout;
    }
    // Only a key that can move takes the undo step: a no-op must not replace the user's
    // last real one.
    if (IsArrow(virtualKey) && !mSnapshot && CanNudgeSelection(*layout)) {
        UndoStore* undo = Store();
        if (!undo || !undo->SnapshotLayout(*layout, mSnapshot, &mPrevious)) return true;
        undo->PushUndo(*layout, kUndoCodeKeyMove);
    }
    NudgeSelection(*layout, virtualKey);
    return true;
}

void KeySession::Close() {
    if (!mOpen) return;
    mOpen = false;
    CLayoutSetting* layout = mSessionLayout;
    mSessionLayout = nullptr;
    std::unique_ptr<CUndoEntry> snapshot = std::move(mSnapshot);
    std::unique_ptr<CUndoEntry> previous = std::move(mPrevious);
    // The layout may have closed under a session that no key-up ended.
    if (!layout || !mLayout || mLayout() != layout) return;
    // With the drag's checks: a move the relayout refuses goes back whole. Without a
    // snapshot nothing moved, and a plain relayout is all there is to do.
    UndoStore* undo = Store();
    if (snapshot && undo) {
        if (RelayoutOrRestore(*undo, *layout, true, *snapshot, previous.get()) != EditOutcome::Applied) {
            InvalidateMainFormView();
            return;
        }
    } else {
        Relayout(*layout);
    }
    InvalidateMainFormView();
    layout->SetDirty(1);
    InvalidateLayoutView(*layout);
}

}  // namespace vx
