#include "model/ImageSorting.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageLabels.h"
#include "model/LayoutOperations.h"
#include "model/LayoutViewRefresh.h"
#include "model/RefusableEdit.h"
#include "model/TextAndPathHelpers.h"
#include "platform/system/FourCC.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

constexpr uint16_t kUndoSort = 13;
constexpr bool kCheckSheetCount = true;

/// The list in order, and the indexes in it that hold image items.
struct ListSlots {
    std::vector<CLayoutObj*> items;
    std::vector<size_t> imageSlots;
};

ListSlots ReadList(CLayoutSetting& layout) {
    ListSlots list;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (p->GetKind() == kKindImage) list.imageSlots.push_back(list.items.size());
        list.items.push_back(p);
    }
    return list;
}

/// Puts images into the image slots in the given order and links the list anew.
void Relink(CLayoutSetting& layout, ListSlots& list, const std::vector<CLayoutObj*>& images) {
    for (size_t i = 0; i < images.size(); ++i) list.items[list.imageSlots[i]] = images[i];
    for (size_t i = 0; i + 1 < list.items.size(); ++i) list.items[i]->SetNext(list.items[i + 1]);
    list.items.back()->SetNext(nullptr);
    *layout.ItemListHead() = list.items.front();
}

/// A text key compares as a C string did: up to its first NUL.
std::string TextKey(std::string_view text) {
    return FoldForSort(text.substr(0, text.find('\0')));
}

int64_t Ticks(CImageObj::Time t) {
    return t.time_since_epoch().count();
}

struct Keyed {
    std::string text;
    int64_t number = 0;
    CLayoutObj* item = nullptr;
};

bool IsTextKey(int key) {
    return key == kSortFileName || key == kSortFolderName || key == kSortFileType;
}

Keyed KeyOf(CLayoutObj* item, int key) {
    const auto& image = static_cast<const CImageObj&>(*item);
    Keyed k;
    k.item = item;
    switch (key) {
        case kSortFileName: k.text = TextKey(image.GetFilePath().filename().string()); break;
        case kSortFolderName: k.text = TextKey(GetParentFolderName(image.GetFilePath())); break;
        case kSortFileType: k.text = TextKey(FourCCText(image.GetFileType())); break;
        case kSortCreated: k.number = Ticks(image.GetCreationTime()); break;
        case kSortModified: k.number = Ticks(image.GetLastWriteTime()); break;
        case kSortWidth: k.number = image.GetSize().x; break;
        case kSortHeight: k.number = image.GetSize().y; break;
        case kSortFileSize: k.number = static_cast<int64_t>(image.GetFileSize()); break;
        default: break;
    }
    return k;
}

}  // namespace

bool IsSortKey(int key) {
    switch (key) {
        case kSortFileName: case kSortFolderName: case kSortCreated: case kSortModified:
        case kSortWidth: case kSortHeight: case kSortFileType: case kSortFileSize: case kSortReverse:
            return true;
        default:
            return false;
    }
}

void SortImageItems(CLayoutSetting& layout, int key) {
    if (!IsSortKey(key) || key == kSortReverse) return;
    ListSlots list = ReadList(layout);
    if (list.imageSlots.size() < 2) return;
    // Keys once per item (folding text is far dearer than comparing it).
    std::vector<Keyed> keyed;
    keyed.reserve(list.imageSlots.size());
    for (size_t slot : list.imageSlots) keyed.push_back(KeyOf(list.items[slot], key));
    if (IsTextKey(key))
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.text < b.text; });
    else
        std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.number < b.number; });
    std::vector<CLayoutObj*> images;
    images.reserve(keyed.size());
    for (const Keyed& k : keyed) images.push_back(k.item);
    Relink(layout, list, images);
}

void ReverseImageItems(CLayoutSetting& layout) {
    ListSlots list = ReadList(layout);
    if (list.imageSlots.size() < 2) return;
    std::vector<CLayoutObj*> images;
    images.reserve(list.imageSlots.size());
    for (auto slot = list.imageSlots.rbegin(); slot != list.imageSlots.rend(); ++slot)
        images.push_back(list.items[*slot]);
    Relink(layout, list, images);
}

int SortImages(UndoStore& undo, CLayoutSetting* layout, int key) {
    if (!layout || !layout->GetFirstItem() || !IsSortKey(key)) return 0;
    const EditOutcome outcome = RunRefusableEdit(undo, *layout, kUndoSort, kCheckSheetCount, [key](CLayoutSetting& l) {
        if (key == kSortReverse)
            ReverseImageItems(l);
        else
            SortImageItems(l, key);
        l.GetFirstItem()->SetChanged(1);
        RenumberImageItems(l);
    });
    if (outcome != EditOutcome::Applied) return 0;
    InvalidateLayoutView(*layout);
    if (layout->GetSelected() > 0) UpdateImageInfoWindow(layout->GetCurrentItem());
    layout->SetDirty(1);
    return 1;
}

}  // namespace vx
