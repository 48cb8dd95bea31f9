#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

/// The go-to-page dialog's logic: the page number typed against 1 ... page count.
class GoToPageController {
public:
    /// The current page (from 1) and the count; both as 16-bit values.
    void SetPages(int currentPage, int pageCount);
    /// What the field shows first: the current page.
    std::string InitialText() const;
    /// "/ 4 Seite": the label beside the field.
    std::string CountText() const;
    /// The longest text the field takes.
    static constexpr int kTextLimit = 9;
    /// OK: true, with the number kept, for a page in range; otherwise the range message
    /// (text without a number reads as 0) and false: the dialog stays open.
    bool Accept(std::string_view text);
    /// The page number accepted, from 1.
    int GetPageNumber() const { return mPageNumber; }

private:
    int16_t mPageNumber = 1;
    int16_t mPageCount = 1;
};

}  // namespace vx
