#include "model/ClipboardCommands.h"

#include <algorithm>
#include <climits>
#include <new>

#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/ClampedMove.h"
#include "model/GreyConversion.h"
#include "model/ImageLabels.h"
#include "model/ImageMemoryBudget.h"
#include "model/ItemClipboard.h"
#include "model/LayoutLimits.h"
#include "model/NewItemPlacement.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/RefusableEdit.h"
#include "model/Relayout.h"
#include "model/SelectionTracker.h"
#include "model/UndoStore.h"
#include "model/WorkingBitmaps.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint16_t kUndoCodeCut = 3;
constexpr uint16_t kUndoCodePaste = 5;
constexpr int32_t kDuplicateOffset = 50;

bool IsFree(const CLayoutSetting& layout) { return layout.GetFree() != 0; }

// Links item behind after, or as the head when after is null.
void LinkAfter(CLayoutSetting& layout, CLayoutObj* after, CLayoutObj* item) {
    CLayoutObj** head = layout.ItemListHead();
    if (after) {
        item->SetNext(after->GetNext());
        after->SetNext(item);
    } else {
        item->SetNext(*head);
        *head = item;
    }
}

CLayoutObj* LastItem(const CLayoutSetting& layout) {
    CLayoutObj* p = layout.GetFirstItem();
    while (p && p->NextItem()) p = p->NextItem();
    return p;
}

CLayoutObj* PredecessorOf(const CLayoutSetting& layout, const CLayoutObj* item) {
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p && p != item; p = p->NextItem()) prev = p;
    return prev;
}

int PageIndexOf(const CLayoutObj& item) {
    const CLayoutSetting* layout = item.GetOwner();
    return layout ? PageOfY(*layout, GetItemDrawOrigin(item).y) - 1 : 0;
}

// Where Paste's new items go. Images of an automatic layout with an anchor go before the
// anchor, in clipboard order; everything else goes behind the last pasted item, the first
// one at the end of the list.
class PasteInserter {
public:
    PasteInserter(CLayoutSetting& layout, const CLayoutObj* anchor)
        : mLayout(layout), mAnchor(anchor), mBeforeAnchor(anchor ? PredecessorOf(layout, anchor) : nullptr) {}

    void Insert(std::unique_ptr<CLayoutObj> item, bool beforeAnchor) {
        CLayoutObj* raw = item.release();
        if (beforeAnchor && mAnchor) {
            LinkAfter(mLayout, mBeforeAnchor, raw);
            mBeforeAnchor = raw;
        } else {
            LinkAfter(mLayout, mLast ? mLast : LastItem(mLayout), raw);
        }
        mLast = raw;
    }

private:
    CLayoutSetting& mLayout;
    const CLayoutObj* mAnchor;
    CLayoutObj* mBeforeAnchor;
    CLayoutObj* mLast = nullptr;
};

LayoutRect PasteTargetRect(CLayoutSetting& layout) {
    if (std::optional<LayoutRect> shown = VisiblePartOfShownPage(layout)) return *shown;
    return GetLayoutAreaRect(layout);
}

enum class Stop : uint8_t { None, Memory, Limit };

// Whether one more copy of item fits the picture budget and the item limit.
Stop RoomFor(const CLayoutObj& item, int count, uint64_t pictureBytes) {
    if (pictureBytes + PictureBytes(&item) > kImageMemoryBudgetBytes) return Stop::Memory;
    if (count + 1 > kMaxLayoutObjects) return Stop::Limit;
    return Stop::None;
}

void ShowStop(Stop stop) {
    if (stop == Stop::Memory)
        Messages().Show(IDS_NOT_ENOUGH_MEMORY, {}, Icon::Error, Buttons::Ok);
    else if (stop == Stop::Limit)
        ShowObjectLimitMessage();
}

Stop PasteInto(CLayoutSetting& layout, const ItemClipboard& clipboard) {
    const bool free = IsFree(layout);
    const CLayoutObj* anchor = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (!anchor && p->GetSelected() && p->GetKind() == kKindImage) anchor = p;
        p->SetSelected(0);
    }

    int64_t left = INT32_MAX, top = INT32_MAX, right = 0, bottom = 0;
    for (const CLayoutObj* c = clipboard.Current(); c; c = c->NextItem()) {
        if (!free && c->GetKind() == kKindImage) continue;
        const LayoutPoint pos = c->GetPosition(), size = c->GetSize();
        left = std::min<int64_t>(left, pos.x);
        top = std::min<int64_t>(top, pos.y);
        right = std::max<int64_t>(right, int64_t(pos.x) + size.x);
        bottom = std::max<int64_t>(bottom, int64_t(pos.y) + size.y);
    }
    const LayoutRect v = PasteTargetRect(layout);
    const int32_t dx = ClampToInt32((int64_t(v.left) + v.right) / 2 - (left + right) / 2);
    const int32_t dy = ClampToInt32((int64_t(v.top) + v.bottom) / 2 - (top + bottom) / 2);
    const int page = ShownPageIndex(layout);

    layout.SetCurrentItem(nullptr);
    PasteInserter inserter(layout, free ? nullptr : anchor);
    // The budget and the item limit are counted along: asking them for every item
    // would walk the whole list each time.
    int count = CountObjects(layout.ItemListHead());
    uint64_t pictureBytes = LayoutPictureBytes(layout);
    Stop stop = Stop::None;
    for (const CLayoutObj* c = clipboard.Current(); c; c = c->NextItem()) {
        const int16_t kind = c->GetKind();
        if (kind != kKindImage && kind != kKindText && kind != kKindLine) continue;  // cut lines are the layout's own
        stop = RoomFor(*c, count, pictureBytes);
        if (stop != Stop::None) break;
        std::unique_ptr<CLayoutObj> clone = CloneLayoutObject(*c, &layout);
        if (!clone) break;
        clone->SetOnview(0);
        if (free || kind != kKindImage) MoveItemClamped(*clone, dx, dy, page);
        CLayoutObj* raw = clone.get();
        if (kind == kKindImage) {
            auto& image = static_cast<CImageObj&>(*raw);
            if (layout.GetColor() == 2)
                RebuildWorkingBitmaps(image);
            else
                ConvertToGrey(image, false);
            inserter.Insert(std::move(clone), true);
            image.SetChanged(1);
            image.SetLabelNumber(0);
            BuildImageLabelText(image);
            layout.SetCurrentItem(raw);
        } else {
            inserter.Insert(std::move(clone), false);
        }
        raw->SetSelected(1);
        ++count;
        pictureBytes += PictureBytes(raw);
    }
    if (CLayoutObj* first = layout.GetFirstItem()) first->SetChanged(1);
    RenumberImageItems(layout);
    return stop;
}

}  // namespace

std::unique_ptr<CLayoutObj> CloneLayoutObject(const CLayoutObj& item, CLayoutSetting* owner) {
    static constexpr std::string_view kName = "Duplicate";
    try {
        std::unique_ptr<CLayoutObj> clone;
        switch (item.GetKind()) {
            case kKindText: clone = std::make_unique<CTextObj>(true, kName); break;
            case kKindLine: clone = std::make_unique<CLineObj>(true, kName); break;
            case kKindCutLine: clone = std::make_unique<CCutLineObj>(false, kName); break;
            case kKindImage: {
                auto image = std::make_unique<CImageObj>(true, kName);
                image->DuplicateImageData(static_cast<const CImageObj&>(item));
                clone = std::move(image);
                break;
            }
            default: return nullptr;
        }
        clone->CopyFrom(item, false);
        clone->SetOwner(owner);
        return clone;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool CopyObjects(const CLayoutSetting& layout, ItemClipboard& clipboard) {
    clipboard.Rotate();
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (!p->GetSelected()) continue;
        std::unique_ptr<CLayoutObj> clone = CloneLayoutObject(*p, nullptr);
        if (!clone) break;
        clipboard.PushFront(std::move(clone));
    }
    return true;
}

bool CopyObjects(const CLayoutSetting& layout) { return CopyObjects(layout, ItemClipboard::Instance()); }

bool CutObjects(CLayoutSetting& layout, UndoStore& undo, ItemClipboard& clipboard) {
    if (layout.GetSelected() == 0 && layout.GetOther() == 0) return false;
    if (!undo.PushUndo(layout, kUndoCodeCut)) return false;
    clipboard.Rotate();
    ToolWindows* tools = HostService<ToolWindows>();
    const bool free = IsFree(layout);
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p;) {
        CLayoutObj* next = p->NextItem();
        if (!p->GetSelected()) {
            prev = p;
            p = next;
            continue;
        }
        RefreshSelectionTracker(layout, p, kTrackerRefreshItem);
        p->SetOnview(0);
        if (prev)
            prev->SetNext(next);
        else
            *layout.ItemListHead() = next;
        p->SetNext(nullptr);
        if (layout.GetCurrentItem() == p) layout.SetCurrentItem(nullptr);
        if (tools) tools->OnPreviewObjectRemoved(p->GetObjectId());
        clipboard.PushFront(std::unique_ptr<CLayoutObj>(p));
        if (!free && next) next->SetChanged(1);
        p = next;
    }
    layout.SetCurrentItem(nullptr);
    RenumberImageItems(layout);
    Relayout(layout);  // fewer items never need more pages
    layout.SetDirty(1);
    return true;
}

bool CutObjects(CLayoutSetting& layout, UndoStore& undo) {
    return CutObjects(layout, undo, ItemClipboard::Instance());
}

bool PasteObjects(CLayoutSetting& layout, UndoStore& undo, const ItemClipboard& clipboard) {
    if (clipboard.IsEmpty()) return false;
    Stop stop = Stop::None;
    const EditOutcome outcome = RunRefusableEdit(undo, layout, kUndoCodePaste, true,
                                                 [&](CLayoutSetting& l) { stop = PasteInto(l, clipboard); });
    if (outcome == EditOutcome::NotStarted) return false;
    if (outcome == EditOutcome::Applied) {
        ShowStop(stop);
        layout.SetDirty(1);
    }
    return true;
}

bool PasteObjects(CLayoutSetting& layout, UndoStore& undo) {
    return PasteObjects(layout, undo, ItemClipboard::Instance());
}

int DuplicateSelection(CLayoutSetting& layout, UndoStore& undo) {
    if (layout.GetSelected() == 0 && layout.GetOther() == 0) return kDuplicateNothing;
    if (!undo.PushUndo(layout, kUndoCodeDuplicate)) return kDuplicateNothing;
    const bool free = IsFree(layout);
    int count = CountObjects(layout.ItemListHead());
    uint64_t pictureBytes = LayoutPictureBytes(layout);
    Stop stop = Stop::None;
    CLayoutObj* lastClone = nullptr;
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = layout.GetFirstItem(); p;) {
        CLayoutObj* next = p->NextItem();
        if (!p->GetSelected()) {
            prev = p;
            p = next;
            continue;
        }
        stop = RoomFor(*p, count, pictureBytes);
        if (stop != Stop::None) break;
        std::unique_ptr<CLayoutObj> clone = CloneLayoutObject(*p, &layout);
        if (!clone) break;
        const bool image = p->GetKind() == kKindImage;
        // Held on the source's page, not the shown one: a selection may span pages.
        if (free || !image) MoveItemClamped(*clone, kDuplicateOffset, kDuplicateOffset, PageIndexOf(*p));
        p->SetSelected(0);
        CLayoutObj* raw = clone.release();
        if (!free && image) {
            LinkAfter(layout, prev, raw);  // takes the source's place in the flow
            prev = p;
        } else {
            LinkAfter(layout, p, raw);
            prev = raw;
        }
        raw->SetSelected(1);
        raw->SetChanged(1);
        if (image) {
            static_cast<CImageObj*>(raw)->SetLabelNumber(0);
            layout.SetCurrentItem(raw);
        }
        lastClone = raw;
        ++count;
        pictureBytes += PictureBytes(raw);
        p = next;
    }
    if (!RelayoutDocument(layout)) return kDuplicateTooLong;
    if (!layout.GetBanner() && ChooseInputResolution(layout, 0) <= kLowestInputResolution)
        return kDuplicateTooManySheets;
    RenumberImageItems(layout);
    Relayout(layout);
    if (lastClone) PlaceInVisibleArea(layout.GetViewState(), *lastClone);
    layout.SetDirty(1);
    if (stop == Stop::Memory) return kDuplicateOutOfMemory;
    if (stop == Stop::Limit) return kDuplicateItemLimit;
    return kDuplicateDone;
}

}  // namespace vx
