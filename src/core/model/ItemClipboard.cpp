#include "model/ItemClipboard.h"

namespace vx {

ItemClipboard& ItemClipboard::Instance() {
    static ItemClipboard clipboard;
    return clipboard;
}

void ItemClipboard::FreeList(CLayoutObj*& head) {
    CLayoutObj* p = head;
    head = nullptr;
    while (p) {
        CLayoutObj* next = p->NextItem();
        delete p;
        p = next;
    }
}

void ItemClipboard::Rotate() {
    FreeList(mPrevious);
    mPrevious = mCurrent;
    mCurrent = nullptr;
}

void ItemClipboard::PushFront(std::unique_ptr<CLayoutObj> item) {
    if (!item) return;
    item->SetOwner(nullptr);
    item->SetNext(mCurrent);
    mCurrent = item.release();
}

void ItemClipboard::AdoptDeleted(std::unique_ptr<CLayoutObj> item) {
    if (!item) return;
    item->SetOwner(nullptr);
    item->SetNext(mPrevious);
    mPrevious = item.release();
}

void ItemClipboard::Clear() {
    FreeList(mCurrent);
    FreeList(mPrevious);
}

}  // namespace vx
