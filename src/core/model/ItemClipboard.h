#pragma once
#include <memory>

#include "model/CLayoutObj.h"

namespace vx {

/// The program's own clipboard of items: the current list, which Paste reads, and the
/// previous list, which holds what was current before the last Copy or Cut and the
/// items Delete removed, until the next Copy or Cut frees it. Both lists own their items,
/// linked through `mNext`; the items belong to no layout. One per process (Instance);
/// the main window's end calls Clear() while the temporary folder that holds working
/// bitmaps still exists, and whatever is left goes with the process's static objects.
/// User-interface thread only.
class ItemClipboard {
public:
    ItemClipboard() = default;
    ~ItemClipboard() { Clear(); }
    ItemClipboard(const ItemClipboard&) = delete;
    ItemClipboard& operator=(const ItemClipboard&) = delete;

    static ItemClipboard& Instance();

    /// The head of the current list (null when empty), in paste order.
    const CLayoutObj* Current() const { return mCurrent; }
    const CLayoutObj* Previous() const { return mPrevious; }
    bool IsEmpty() const { return mCurrent == nullptr; }

    /// Copy's and Cut's first step: frees the previous list, makes the current list the
    /// previous one and starts an empty current list.
    void Rotate();
    /// Puts item in front of the current list; its owner is cleared.
    void PushFront(std::unique_ptr<CLayoutObj> item);
    /// Puts a deleted item in front of the previous list, which frees it at the next
    /// Copy or Cut; its owner is cleared.
    void AdoptDeleted(std::unique_ptr<CLayoutObj> item);
    /// Frees both lists (the main window's end, and tests).
    void Clear();

private:
    static void FreeList(CLayoutObj*& head);

    CLayoutObj* mCurrent = nullptr;
    CLayoutObj* mPrevious = nullptr;
};

}  // namespace vx
