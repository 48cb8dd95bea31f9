#include "model/ObjectList.h"

namespace vx {
namespace {

bool Holds(CLayoutObj* const* head, const CLayoutObj* record) {
    for (const CLayoutObj* p = *head; p; p = p->NextItem())
        if (p == record) return true;
    return false;
}

bool CanInsert(CLayoutObj** head, const CLayoutObj* record) {
    return head && record && !Holds(head, record);
}

// Links record in behind prev (at the head when prev is null).
void LinkAfter(CLayoutObj** head, CLayoutObj* prev, CLayoutObj* record) {
    if (prev) {
        record->SetNext(prev->GetNext());
        prev->SetNext(record);
    } else {
        record->SetNext(*head);
        *head = record;
    }
}

// Unlinks item, which follows prev (or is the head when prev is null).
std::unique_ptr<CLayoutObj> Unlink(CLayoutObj** head, CLayoutObj* prev, CLayoutObj* item) {
    if (prev)
        prev->SetNext(item->GetNext());
    else
        *head = item->NextItem();
    item->SetNext(nullptr);
    return std::unique_ptr<CLayoutObj>(item);
}

}  // namespace

int CountObjects(CLayoutObj* const* head) {
    int n = 0;
    if (head)
        for (const CLayoutObj* p = *head; p; p = p->NextItem()) ++n;
    return n;
}

int CountObjectsOfKind(CLayoutObj* const* head, int mask) {
    int n = 0;
    if (head)
        for (const CLayoutObj* p = *head; p; p = p->NextItem())
            if (p->GetKind() & mask) ++n;
    return n;
}

CLayoutObj* GetObjectAt(CLayoutObj* const* head, int index) {
    if (!head || index < 0) return nullptr;
    CLayoutObj* p = *head;
    for (int i = 0; p && i < index; ++i) p = p->NextItem();
    return p;
}

CLayoutObj* GetObjectOfKindAt(CLayoutObj* const* head, int index, int mask) {
    if (!head || index < 0) return nullptr;
    for (CLayoutObj* p = *head; p; p = p->NextItem())
        if ((p->GetKind() & mask) && index-- == 0) return p;
    return nullptr;
}

CLayoutObj* FindObjectById(CLayoutObj* const* head, uint32_t id) {
    if (head)
        for (CLayoutObj* p = *head; p; p = p->NextItem())
            if (p->GetObjectId() == id) return p;
    return nullptr;
}

namespace list_detail {

bool Append(CLayoutObj** head, CLayoutObj* record) {
    if (!CanInsert(head, record)) return false;
    CLayoutObj* last = *head;
    while (last && last->NextItem()) last = last->NextItem();
    record->SetNext(nullptr);
    if (last)
        last->SetNext(record);
    else
        *head = record;
    return true;
}

bool InsertAt(CLayoutObj** head, CLayoutObj* record, int index) {
    if (!CanInsert(head, record)) return false;
    const int count = CountObjects(head);
    if (index == 0 || (index == 1 && count == 1)) {
        LinkAfter(head, index == 0 ? nullptr : *head, record);
        return true;
    }
    if (index < 1 || index >= count) return false;
    LinkAfter(head, GetObjectAt(head, index - 1), record);
    return true;
}

bool InsertBefore(CLayoutObj** head, const CLayoutObj* element, CLayoutObj* record) {
    if (!CanInsert(head, record)) return false;
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = *head; p; prev = p, p = p->NextItem()) {
        if (p == element) {
            LinkAfter(head, prev, record);
            return true;
        }
    }
    return Append(head, record);
}

bool InsertAfter(CLayoutObj** head, uint32_t key, CLayoutObj* record) {
    if (!CanInsert(head, record)) return false;
    for (CLayoutObj* p = *head; p; p = p->NextItem()) {
        if (p->GetObjectId() == key) {
            LinkAfter(head, p, record);
            return true;
        }
    }
    return Append(head, record);
}

}  // namespace list_detail

std::unique_ptr<CLayoutObj> RemoveObjectAt(CLayoutObj** head, int index) {
    if (!head || index < 0) return nullptr;
    CLayoutObj* prev = nullptr;
    CLayoutObj* p = *head;
    for (int i = 0; p && i < index; ++i) {
        prev = p;
        p = p->NextItem();
    }
    return p ? Unlink(head, prev, p) : nullptr;
}

std::unique_ptr<CLayoutObj> RemoveLastObject(CLayoutObj** head) {
    return RemoveObjectAt(head, CountObjects(head) - 1);
}

std::unique_ptr<CLayoutObj> RemoveObjectById(CLayoutObj** head, const CLayoutObj* record) {
    if (!head || !record) return nullptr;
    const uint32_t id = record->GetObjectId();
    CLayoutObj* prev = nullptr;
    for (CLayoutObj* p = *head; p; prev = p, p = p->NextItem())
        if (id == 0 ? p == record : p->GetObjectId() == id) return Unlink(head, prev, p);
    return nullptr;
}

}  // namespace vx
