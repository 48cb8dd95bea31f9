#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view/ViewZoom.h"

namespace vx {

/// A zoom typed into the bar: the ratio to apply and what the field then shows.
struct TypedZoom {
    ZoomRatio ratio;
    std::string label;
};

/// Reads a typed zoom in percent (the first "%" ignored, a dot decimal, the number at
/// the start only): below 100 it becomes 100 / trunc(10000 / value), at least 3%;
/// from 100 trunc(value) / 100, at most 1600%. nullopt when no number or 0 was typed.
std::optional<TypedZoom> ParseTypedZoom(std::string_view text);
/// Reads a typed page ("3 / 7" or "3"; the text from the first "/" on is ignored):
/// the page number from 1 when it lies in 1 ... pageCount.
std::optional<int> ParseTypedPage(std::string_view text, int pageCount);
/// "66.67%": the ratio as a percentage with two decimals.
std::string ZoomPercentText(ZoomRatio ratio);
/// "2 / 3": an entry of the page list.
std::string PageListEntry(int page, int pageCount);

/// The zoom and page bar's controls, as its logic drives them.
class ZoomPageBarControls {
public:
    virtual ~ZoomPageBarControls() = default;
    virtual void SetZoomEntries(const std::vector<std::string>& labels) = 0;
    virtual void SelectZoomEntry(int index) = 0;
    virtual void SetZoomText(const std::string& text) = 0;
    virtual void SetPageEntries(const std::vector<std::string>& entries) = 0;
    virtual void SelectPageEntry(int index) = 0;
    virtual void SetPageText(const std::string& text) = 0;
};

/// The logic of the zoom and page bar: what it records and shows, and what it asks of
/// the active layout view (found through the shell; without one it only shows).
class ZoomPageBarLogic {
public:
    explicit ZoomPageBarLogic(ZoomPageBarControls& controls) : mControls(controls) {}

    /// Fills both lists: one page, the zoom table with "100%" selected.
    void InitBar();
    /// Shows a ratio: selects its row (applying it to the view when the view has
    /// another), else shows it as a percentage.
    void SetZoom(int32_t numerator, int32_t denominator);
    /// Selects the current page, rebuilding the list when the count changed.
    void SetPages(int currentIndex, int pageCount);
    /// Shows the recorded ratio as a percentage.
    void ShowZoomPercent();

    void OnZoomSelected(int index);
    void OnPageSelected(int index);
    void OnZoomIn();
    void OnZoomOut();
    void OnNextPage();
    void OnPrevPage();
    /// Enter in the zoom field and in the page field.
    void OnZoomTyped(std::string_view text);
    void OnPageTyped(std::string_view text);

    /// The six controls are enabled while a layout is open.
    static bool ControlsEnabled();

    int PageCount() const { return mPageCount; }
    int ZoomIndex() const { return mZoomIndex; }
    int PageIndex() const { return mPageIndex; }
    ZoomRatio Ratio() const { return mRatio; }

private:
    ZoomPageBarControls& mControls;
    int mPageCount = 1;
    int mZoomIndex = 0;
    int mPageIndex = 0;
    ZoomRatio mRatio{1, 1};
    bool mPagesFilled = false;
};

}  // namespace vx
