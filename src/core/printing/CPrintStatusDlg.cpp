#include "printing/CPrintStatusDlg.h"

#include <algorithm>
#include <cstdint>

#include "model/LayoutLimits.h"
#include "platform/system/StringTable.h"

namespace vx {

CPrintStatusDlg::~CPrintStatusDlg() { DestroyWindow(); }

int CPrintStatusDlg::Create() {
    if (mCreated) return 1;
    if (mWindow.IsOwnerEnabled()) {
        mWindow.EnableOwner(false);
        mOwnerDisabled = true;
    }
    if (!mWindow.Create([this] { OnCancel(); })) {
        if (mOwnerDisabled) mWindow.EnableOwner(true);
        mOwnerDisabled = false;
        return 0;
    }
    mCreated = true;
    mLower = 0;
    mUpper = 10;
    mStep = 1;
    mPosition = 0;
    mCancelled = false;
    mWindow.SetBarRange(mLower, mUpper);
    mWindow.SetBarPos(mLower);
    return 1;
}

void CPrintStatusDlg::DestroyWindow() {
    if (mOwnerDisabled) {
        mWindow.EnableOwner(true);
        mOwnerDisabled = false;
    }
    if (mCreated) {
        mCreated = false;
        mWindow.Destroy();
    }
}

bool CPrintStatusDlg::Pump() { return mCreated ? mWindow.Pump() : true; }

void CPrintStatusDlg::SetStatusText(const std::string& text) {
    Pump();
    if (text == mStatus) return;
    mStatus = text;
    if (mCreated) mWindow.SetStatusText(text);
}

void CPrintStatusDlg::SetRange(int32_t lower, int32_t upper) {
    Pump();
    mLower = lower;
    mUpper = upper;
    mPosition = std::clamp(mPosition, std::min(lower, upper), std::max(lower, upper));
    if (mCreated) mWindow.SetBarRange(lower, upper);
}

int32_t CPrintStatusDlg::SetPos(int32_t position) {
    Pump();
    const int32_t previous = mPosition;
    mPosition = position;
    if (mCreated) mWindow.SetBarPos(position);
    ShowPercent();
    return previous;
}

int32_t CPrintStatusDlg::StepIt() {
    Pump();
    const int32_t previous = mPosition;
    if (int64_t(mPosition) + mStep > mUpper) return previous;
    mPosition += mStep;
    if (mCreated) mWindow.SetBarPos(mPosition);
    ShowPercent();
    return previous;
}

bool CPrintStatusDlg::IsCancelled() {
    Pump();
    return mCancelled;
}

std::string CPrintStatusDlg::FormatPercent(int32_t position, int32_t lower, int32_t upper) {
    int64_t percent = 0;
    if (upper != lower) {
        percent = (int64_t(position) - lower) * 100 / (int64_t(upper) - lower);
        if (percent != 100) percent %= 100;
    }
    return std::to_string(percent) + '%';
}

void CPrintStatusDlg::ShowPercent() {
    std::string text = FormatPercent(mPosition, mLower, mUpper);
    if (text == mPercent) return;
    mPercent = std::move(text);
    if (mCreated) mWindow.SetPercentText(mPercent);
}

std::vector<std::string> CPrintStatusDlg::WidestStatusTexts() {
    // A layout's page count is a 16-bit number.
    const long long pages = INT16_MAX;
    const long long pictures = kMaxLayoutObjects;
    return {MessageText(IDS_PRINT_PREPARING), MessageText(IDS_PRINT_COLOUR_MATCHING, {pictures, pictures}),
            MessageText(IDS_PRINT_SPOOLING_TO_DISK, {pages}), MessageText(IDS_PRINT_SPOOLING_PAGE, {pages, pages})};
}

}  // namespace vx
