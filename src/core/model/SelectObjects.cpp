#include "model/SelectObjects.h"

#include <algorithm>
#include <forward_list>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/SelectionTracker.h"

namespace vx {
namespace {

bool IsImage(const CLayoutObj& item) { return item.GetKind() == kKindImage; }

// Sets the flag; records whether the item's selection changed.
void Mark(CLayoutObj& item, bool selected, bool& changed) {
    if ((item.GetSelected() != 0) != selected) changed = true;
    item.SetSelected(selected ? 1 : 0);
}

// Whether text is an absolute path already in lexically normal form: no empty, "." or
// ".." part and no trailing separator.
bool IsNormalAbsolute(std::string_view text) {
    if (text.empty() || text[0] != '/') return false;
    for (size_t start = 1;;) {
        const size_t end = std::min(text.find('/', start), text.size());
        const std::string_view part = text.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (end == text.size()) return true;
        start = end + 1;
    }
}

// The folders of the images, each computed once. A file path that is absolute and
// normal already (the usual case) gives its folder as a view into the item's own path;
// the others are normalised into strings kept here.
class ImageFolders {
public:
    /// The folder the image's file lies in; none for an image without a file.
    std::optional<std::string_view> Of(const CLayoutObj& item) {
        const std::string& text = static_cast<const CImageObj&>(item).GetFilePath().native();
        if (text.empty()) return std::nullopt;
        if (IsNormalAbsolute(text)) return std::string_view(text).substr(0, std::max<size_t>(text.rfind('/'), 1));
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(text, error);
        if (error) return std::nullopt;
        return mNormalised.emplace_front(full.lexically_normal().parent_path().native());
    }

private:
    std::forward_list<std::string> mNormalised;  // stable addresses for the views
};

// The walk's result without its repeated folder scans. Only an image selected from the
// start can start a match of its folder, and every such image does (unless its folder
// matched already). An image that the walk reaches before its folder's match starts is
// not the current item then, but the image that starts the match comes later, so the
// last selected image is the current item all the same. Linear in the number of items.
void SelectImagesInFolders(const std::vector<CLayoutObj*>& items, CLayoutSetting& layout, bool& changed) {
    ImageFolders names;
    std::unordered_map<std::string_view, bool> matched;
    matched.reserve(items.size());
    std::vector<const bool*> folderMatched(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        if (!IsImage(*items[i])) continue;
        const std::optional<std::string_view> name = names.Of(*items[i]);
        if (!name) continue;
        bool& folder = matched.try_emplace(*name, false).first->second;
        folder = folder || items[i]->GetSelected();
        folderMatched[i] = &folder;
    }

    for (size_t i = 0; i < items.size(); ++i) {
        CLayoutObj* p = items[i];
        if (!IsImage(*p)) {
            if (p->GetSelected()) Mark(*p, false, changed);
            continue;
        }
        if (folderMatched[i] && *folderMatched[i]) Mark(*p, true, changed);
        if (p->GetSelected()) layout.SetCurrentItem(p);
    }
}

}  // namespace

bool SelectObjects(CLayoutSetting& layout, int mode) {
    // Walked from an array: the list's links would make every pass wait for each item.
    std::vector<CLayoutObj*> items;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) items.push_back(p);

    bool changed = false;
    layout.SetCurrentItem(nullptr);
    const auto selectKinds = [&](int kinds) {
        for (CLayoutObj* p : items) {
            const bool on = (p->GetKind() & kinds) != 0;
            Mark(*p, on, changed);
            if (on && IsImage(*p)) layout.SetCurrentItem(p);
        }
    };

    switch (mode) {
        case kSelectAll:
            for (CLayoutObj* p : items) {
                if (p->GetKind() == kKindCutLine) continue;
                Mark(*p, true, changed);
                if (IsImage(*p)) layout.SetCurrentItem(p);
            }
            break;
        case kSelectImages: selectKinds(kKindImage); break;
        case kSelectImagesOnPage: {
            const LayoutView* view = FindLayoutView(layout);
            const int page = view ? view->GetCurrentPage() : 0;
            for (CLayoutObj* p : items) {
                const bool on = IsImage(*p) && PageOfY(layout, p->GetPosition().y) - 1 == page;
                Mark(*p, on, changed);
                if (on) layout.SetCurrentItem(p);
            }
            break;
        }
        case kSelectImagesInFolder: SelectImagesInFolders(items, layout, changed); break;
        case kSelectTexts: selectKinds(kKindText); break;
        case kSelectLines: selectKinds(kKindLine); break;
        case kSelectInvert:
            for (CLayoutObj* p : items) {
                const bool on = !p->GetSelected();
                Mark(*p, on, changed);
                if (on && IsImage(*p)) layout.SetCurrentItem(p);
            }
            break;
        case kSelectNone: selectKinds(0); break;
        default: break;
    }

    for (CLayoutObj* p : items) p->SetChanged(1);
    RefreshSelectionTracker(layout, layout.GetCurrentItem(), kTrackerRefreshItem);
    return changed;
}

}  // namespace vx
