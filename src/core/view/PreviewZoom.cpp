#include "view/PreviewZoom.h"

#include <algorithm>
#include <cmath>

#include "platform/system/StringTable.h"

namespace vx {
namespace {

struct Step {
    const char* label;
    double ratio;
};

constexpr std::array<Step, PreviewZoom::kFitStep> kSteps{{
    {"100%", 1.0},
    {"66.67%", 2.0 / 3},
    {"50%", 1.0 / 2},
    {"33.33%", 1.0 / 3},
    {"25%", 1.0 / 4},
    {"16.67%", 1.0 / 6},
    {"12.5%", 1.0 / 8},
    {"8.33%", 1.0 / 12},
    {"6.25%", 1.0 / 16},
    {"5%", 1.0 / 20},
    {"4%", 1.0 / 25},
}};

constexpr int kWholePictureLabel = 33870;

int32_t Truncate(double v) {
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return int32_t(std::trunc(v));
}

/// One axis of UpdateScrollBars: the bar and the picture's offset along it.
void Axis(int32_t scaled, int32_t previous, int32_t client, int32_t centre, PreviewScrollBar& bar, int32_t& offset) {
    if (scaled > client && previous != 0) {
        bar.enabled = true;
        bar.maximum = scaled - client + 2;
        const double pos = double(scaled) * centre / previous - client * 0.5;
        bar.position = std::clamp(Truncate(pos), 0, bar.maximum);
        offset = 0;
    } else {
        bar = {};
        offset = (client - scaled) / 2;
    }
}

}  // namespace

double PreviewZoom::StepRatio(int step) {
    return step >= 0 && step < kFitStep ? kSteps[size_t(step)].ratio : 0.0;
}

std::string PreviewZoom::StepLabel(int step) {
    if (step == kFitStep) return LoadString(kWholePictureLabel);
    return step >= 0 && step < kFitStep ? kSteps[size_t(step)].label : std::string();
}

double PreviewZoom::FitRatio(int32_t w, int32_t h, int32_t cw, int32_t ch) {
    if (w < 1 || h < 1) return 0.0;
    return int64_t(ch) * w >= int64_t(cw) * h ? double(cw) / w : double(ch) / h;
}

void PreviewZoom::SetDrawingArea(int32_t width, int32_t height) {
    mAreaWidth = std::max(width, 0);
    mAreaHeight = std::max(height, 0);
    if (!mHasItem) return;
    // The fit follows the area; the chosen step stays when it is still allowed.
    const int selection = mSelection;
    Prepare(mItemWidth, mItemHeight);
    if (selection != kFitStep && IsStepEnabled(selection)) {
        mSelection = selection;
        UpdateButtons(selection);
    }
}

bool PreviewZoom::Prepare(int32_t w, int32_t h) {
    if (w < 1 || h < 1) {
        Clear();
        return false;
    }
    mHasItem = true;
    mItemWidth = w;
    mItemHeight = h;
    mStep = -1;
    mFit = FitRatio(w, h, mAreaWidth, mAreaHeight);
    mEnabled.fill(false);
    mEnabled[kFitStep] = true;
    mFirstAllowed = kFitStep;
    for (int i = kFitStep - 1; i >= 0; --i) {
        if (StepRatio(i) > mFit) {
            mFirstAllowed = i;
            for (int j = i; j >= 0; --j) mEnabled[size_t(j)] = true;
            break;
        }
    }
    mListEnabled = true;
    mSelection = kFitStep;
    mZoomInEnabled = mFirstAllowed != kFitStep;
    mZoomOutEnabled = false;
    return true;
}

void PreviewZoom::Clear() {
    mHasItem = false;
    mItemWidth = mItemHeight = 0;
    mFit = 0;
    mFirstAllowed = kFitStep;
    mEnabled.fill(false);
    mSelection = kFitStep;
    mStep = -1;
    mListEnabled = mZoomInEnabled = mZoomOutEnabled = false;
    mScaledWidth = mScaledHeight = 0;
    mImageLeft = mImageTop = 0;
    mHorizontal = mVertical = {};
}

bool PreviewZoom::IsStepEnabled(int step) const {
    return step >= 0 && step < kStepCount && mEnabled[size_t(step)];
}

double PreviewZoom::Ratio() const {
    if (!mHasItem) return 1.0;
    const int step = IsStepEnabled(mSelection) ? mSelection : mFirstAllowed;
    return step == kFitStep ? mFit : StepRatio(step);
}

int PreviewZoom::ZoomInTarget() const {
    if (!mHasItem || mFirstAllowed == kFitStep || mSelection == 0) return -1;
    return mSelection == kFitStep ? mFirstAllowed : mSelection - 1;
}

int PreviewZoom::ZoomOutTarget(ZoomSource source) const {
    if (!mHasItem || mFirstAllowed == kFitStep) return -1;
    if (source == ZoomSource::Button) return mSelection == mFirstAllowed ? kFitStep : mSelection + 1;
    if (mSelection == kFitStep) return -1;
    return mSelection < mFirstAllowed ? mSelection + 1 : kFitStep;
}

bool PreviewZoom::Choose(int step) {
    if (step < 0 || step >= kStepCount) return false;
    // A grey entry is never the choice: the list closes on the whole picture instead.
    mSelection = IsStepEnabled(step) ? step : kFitStep;
    UpdateButtons(mSelection);
    UpdateScrollBars();
    return true;
}

int PreviewZoom::ZoomIn() {
    const int target = ZoomInTarget();
    if (target >= 0) Choose(target);
    return target;
}

int PreviewZoom::ZoomOut(ZoomSource source) {
    const int target = ZoomOutTarget(source);
    if (target >= 0) Choose(target);
    return target;
}

void PreviewZoom::UpdateButtons(int index) {
    if (index == kFitStep) {
        mZoomInEnabled = mHasItem && mFirstAllowed != kFitStep;
        mZoomOutEnabled = false;
        return;
    }
    if (!IsStepEnabled(index)) return;
    mZoomOutEnabled = true;
    mZoomInEnabled = index != 0;
}

void PreviewZoom::UpdateScrollBars() {
    if (!mHasItem) return;
    mStep = IsStepEnabled(mSelection) ? mSelection : mFirstAllowed;
    const double ratio = mStep == kFitStep ? mFit : StepRatio(mStep);
    const int32_t cy = std::max(mAreaHeight / 2 - mImageTop + mVertical.position, 0);
    const int32_t cx = std::max(mAreaWidth / 2 - mImageLeft + mHorizontal.position, 0);
    const int32_t previousHeight = mScaledHeight;
    const int32_t previousWidth = mScaledWidth;
    mImageLeft = mImageTop = 0;
    mScaledWidth = Truncate(mItemWidth * ratio);
    mScaledHeight = Truncate(mItemHeight * ratio);
    Axis(mScaledHeight, previousHeight, mAreaHeight, cy, mVertical, mImageTop);
    Axis(mScaledWidth, previousWidth, mAreaWidth, cx, mHorizontal, mImageLeft);
}

int32_t PreviewZoom::ScrollTo(bool horizontal, int32_t position) {
    PreviewScrollBar& bar = horizontal ? mHorizontal : mVertical;
    bar.position = std::clamp(position, 0, bar.maximum);
    return bar.position;
}

void PreviewZoom::Pan(int32_t dx, int32_t dy) {
    ScrollTo(true, int32_t(std::clamp<int64_t>(int64_t(mHorizontal.position) - dx, INT32_MIN, INT32_MAX)));
    ScrollTo(false, int32_t(std::clamp<int64_t>(int64_t(mVertical.position) - dy, INT32_MIN, INT32_MAX)));
}

PreviewWindowRect PlacePreviewWindow(const PreviewWindowRect& workArea, int32_t originX, int32_t originY) {
    const int64_t right = int64_t(workArea.x) + workArea.width;
    const int64_t bottom = int64_t(workArea.y) + workArea.height;
    const int64_t x = std::max<int64_t>(std::min<int64_t>(originX, right - kPreviewWindowSize), workArea.x);
    const int64_t y = std::max<int64_t>(std::min<int64_t>(originY, bottom - kPreviewBottomRoom), workArea.y);
    return {int32_t(x), int32_t(y), kPreviewWindowSize, kPreviewWindowSize};
}

int32_t PreviewSizeOnClose(int32_t width, int32_t height) { return std::max(width, height - 25); }

void PreviewMinimumClientSize(int32_t w, int32_t h, int32_t band, int32_t& minWidth, int32_t& minHeight) {
    constexpr int32_t side = kPreviewWindowSize;
    if (w <= 0 || h <= 0) {
        minWidth = side;
        minHeight = band;
    } else if (w >= h) {
        minWidth = side;
        minHeight = int32_t(int64_t(side) * h / w) + band;
    } else {
        minHeight = band + side;
        minWidth = std::max<int32_t>(int32_t(int64_t(w) * (band + side) / h), side);
    }
}

}  // namespace vx
