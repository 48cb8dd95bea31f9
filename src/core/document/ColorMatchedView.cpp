#include "document/ColorMatchedView.h"

#include <filesystem>
#include <system_error>

#include "document/LayoutDocument.h"
#include "document/WaitCursor.h"
#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutViewRefresh.h"
#include "model/SelectionTracker.h"
#include "model/WorkingBitmaps.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

bool FileThere(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

void ShowUnreadable() { Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok); }

bool IsSelectedImage(const CLayoutObj& item) { return item.GetSelected() && item.GetKind() == kKindImage; }

}  // namespace

int ApplyColorMatchedView(CLayoutSetting& layout) {
    WaitCursor waitCursor;
    ViewStateBlock* block = layout.GetViewState();
    if (!block) return 0;
    LayoutView* view = FindLayoutView(layout);
    if (!view || !layout.GetFirstItem()) return 0;
    view->Update();
    int32_t total = 0;
    for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (IsSelectedImage(*p)) ++total;
    if (total == 0) return 0;

    block->statusA = 0;
    block->statusB = total;
    {
        BusyScope busy;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
            if (!IsSelectedImage(*p)) continue;
            auto& image = static_cast<CImageObj&>(*p);
            if (!FileThere(image.GetFilePath())) {
                ShowUnreadable();
            } else {
                ++block->statusA;
                StatusBar().UpdateStatusText(kStatusUpdating, {(long long)block->statusA, (long long)block->statusB});
                layout.SetCurrentItem(&image);
                RefreshSelectionTracker(layout, &image, kTrackerRefreshItem);
                view->Update();
                image.SetEnableColorMatch(1);
                BuildDisplayBitmap(image);
                image.SetColorMatched(1);
                layout.SetCurrentItem(nullptr);
                RefreshSelectionTracker(layout, nullptr, kTrackerRefreshItem);
                view->Update();
            }
            if (Progress().IsCancelled()) break;
        }
        if (const std::string& stamp = layout.Texts().imageStampPath; !stamp.empty()) {
            if (!FileThere(stamp))
                ShowUnreadable();
            else if (CImageObj* stampImage = layout.GetStampImage())
                BuildDisplayBitmap(*stampImage);
        }
    }
    StatusBar().UpdateStatusText(kStatusReady);
    InvalidateLayoutView(layout);
    return 1;
}

}  // namespace vx
