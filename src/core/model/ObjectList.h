#pragma once
#include <cstdint>
#include <memory>

#include "model/CLayoutObj.h"

// Item lists: a head pointer kept by the list's owner, items linked through `mNext`.
// Every operation takes the head's address and does nothing (0, null, false) when that
// address is null. A list owns its items: an insertion takes the record from the
// caller's pointer only when it succeeds, a removal hands the record back with a null
// link. Inserting a record that the list already holds is refused (it would make a
// cycle).

namespace vx {

int CountObjects(CLayoutObj* const* head);
/// Items whose `mKind` shares a bit with mask.
int CountObjectsOfKind(CLayoutObj* const* head, int mask);
/// The item at index (0 is the head); null outside 0 to count - 1.
CLayoutObj* GetObjectAt(CLayoutObj* const* head, int index);
/// The index-th item (from 0) among those whose `mKind` shares a bit with mask.
CLayoutObj* GetObjectOfKindAt(CLayoutObj* const* head, int index, int mask);
/// The first item with that object id.
CLayoutObj* FindObjectById(CLayoutObj* const* head, uint32_t id);

namespace list_detail {
bool Append(CLayoutObj** head, CLayoutObj* record);
bool InsertAt(CLayoutObj** head, CLayoutObj* record, int index);
bool InsertBefore(CLayoutObj** head, const CLayoutObj* element, CLayoutObj* record);
bool InsertAfter(CLayoutObj** head, uint32_t key, CLayoutObj* record);

template <class T>
bool Take(std::unique_ptr<T>& record, bool linked) {
    if (linked) record.release();
    return linked;
}
}  // namespace list_detail

/// Links record behind the last item.
template <class T>
bool AppendObject(CLayoutObj** head, std::unique_ptr<T>& record) {
    return list_detail::Take(record, list_detail::Append(head, record.get()));
}

/// Index 0: record becomes the head. Index 1 to count - 1: record goes before the item
/// at index. Index 1 in a list of one: record is appended. Any other index: refused.
template <class T>
bool InsertObjectAt(CLayoutObj** head, std::unique_ptr<T>& record, int index) {
    return list_detail::Take(record, list_detail::InsertAt(head, record.get(), index));
}

/// Links record directly before element; appends it when element is not in the list.
template <class T>
bool InsertObjectBefore(CLayoutObj** head, const CLayoutObj* element, std::unique_ptr<T>& record) {
    return list_detail::Take(record, list_detail::InsertBefore(head, element, record.get()));
}

/// Links record directly after the first item whose object id is key; appends it when
/// none has that id.
template <class T>
bool InsertObjectAfter(CLayoutObj** head, uint32_t key, std::unique_ptr<T>& record) {
    return list_detail::Take(record, list_detail::InsertAfter(head, key, record.get()));
}

std::unique_ptr<CLayoutObj> RemoveLastObject(CLayoutObj** head);
/// Null when index is not below the count.
std::unique_ptr<CLayoutObj> RemoveObjectAt(CLayoutObj** head, int index);
/// Unlinks the first item with record's object id; for id 0, which records made
/// without a new id share, record itself. Null when none matches.
std::unique_ptr<CLayoutObj> RemoveObjectById(CLayoutObj** head, const CLayoutObj* record);

}  // namespace vx
