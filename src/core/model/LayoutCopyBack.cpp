#include "model/LayoutCopyBack.h"

#include <optional>

#include "model/CLayoutSetting.h"

namespace vx {
namespace {

// The zoom and status values that a copy-back leaves as the target's view had them.
struct KeptViewValues {
    int32_t values[6];

    explicit KeptViewValues(const ViewStateBlock& b)
        : values{b.zoomNumerator, b.zoomDenominator, b.previousZoomNumerator, b.previousZoomDenominator,
                 b.statusA, b.statusB} {}

    void WriteTo(ViewStateBlock& b) const {
        b.zoomNumerator = values[0];
        b.zoomDenominator = values[1];
        b.previousZoomNumerator = values[2];
        b.previousZoomDenominator = values[3];
        b.statusA = values[4];
        b.statusB = values[5];
    }
};

}  // namespace

void CopyLayoutBack(CLayoutSetting& target, const CLayoutSetting& source, bool deep) {
    std::optional<KeptViewValues> kept;
    if (const ViewStateBlock* b = target.GetViewState()) kept.emplace(*b);
    // Put back even when a sync stops half-way: the view keeps showing this layout.
    struct PutBack {
        CLayoutSetting& target;
        const std::optional<KeptViewValues>& kept;
        ~PutBack() {
            if (kept && target.GetViewState()) kept->WriteTo(*target.GetViewState());
        }
    } putBack{target, kept};
    if (deep) target.CopyDeep(source, true, true, true);
    else target.SyncFrom(source);
}

}  // namespace vx
