#include "view/GoToPage.h"

#include <algorithm>

#include "model/LengthUnits.h"
#include "platform/system/Numbers.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr int kRangeCodePage = 3;

int16_t Short(int value) { return int16_t(std::clamp(value, int(INT16_MIN), int(INT16_MAX))); }

}  // namespace

void GoToPageController::SetPages(int currentPage, int pageCount) {
    mPageNumber = Short(currentPage);
    mPageCount = Short(pageCount);
}

std::string GoToPageController::InitialText() const { return std::to_string(mPageNumber); }

std::string GoToPageController::CountText() const { return MessageText(IDS_PAGE_COUNT_LABEL, {(long long)mPageCount}); }

bool GoToPageController::Accept(std::string_view text) {
    const long long n = ParseLong(text).value_or(0);
    if (n < 1 || n > mPageCount) {
        ShowValueRangeError(kRangeCodePage, 1, mPageCount);
        return false;
    }
    mPageNumber = int16_t(n);
    return true;
}

}  // namespace vx
