#include "view/ZoomPageBar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/Shell.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "model/ViewStateBlock.h"
#include "platform/system/Numbers.h"
#include "view/LayoutViewCore.h"

namespace vx {
namespace {

LayoutView* ActiveView() {
    Shell* shell = HostService<Shell>();
    return shell ? shell->GetLayoutView() : nullptr;
}

LayoutViewCommands* ActiveCommands() {
    LayoutView* view = ActiveView();
    return view ? view->Commands() : nullptr;
}

CLayoutSetting* ActiveLayout() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? app->ActiveLayoutSlot() : nullptr;
}

std::optional<ZoomRatio> ActiveZoom() {
    const CLayoutSetting* layout = ActiveLayout();
    const ViewStateBlock* block = layout ? layout->GetViewState() : nullptr;
    if (!block) return std::nullopt;
    return ZoomRatio{block->zoomNumerator, block->zoomDenominator};
}

// The table's own labels give the limits: "3%" and "1600%".
double LabelValue(const char* label) { return ParseDouble(label).value_or(0); }

std::string FormatG(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    std::string s = buffer;
    // "%g" follows the C locale here; a German process locale must not give a comma.
    std::replace(s.begin(), s.end(), ',', '.');
    return s;
}

}  // namespace

std::optional<TypedZoom> ParseTypedZoom(std::string_view text) {
    std::string s(text);
    if (const size_t percent = s.find('%'); percent != std::string::npos) s.erase(percent, 1);
    double value = ParseDouble(s).value_or(0);
    if (value == 0 || !std::isfinite(value)) return std::nullopt;
    TypedZoom typed;
    if (value * 0.01 < 1.0) {
        value = std::max(value, LabelValue(ZoomTable.back().label));
        typed.ratio = {100, int32_t(10000.0 / value)};
    } else {
        value = std::min(value, LabelValue(ZoomTable.front().label));
        typed.ratio = {int32_t(value), 100};
    }
    typed.label = FormatG(value) + "%";
    return typed;
}

std::optional<int> ParseTypedPage(std::string_view text, int pageCount) {
    if (const size_t slash = text.find('/'); slash != std::string_view::npos) text = text.substr(0, slash);
    const long long n = ParseLong(text).value_or(0);
    if (n < 1 || n > pageCount) return std::nullopt;
    return int(n);
}

std::string ZoomPercentText(ZoomRatio ratio) {
    if (ratio.denominator == 0) return "0.00%";
    return FormatFixed(ratio.numerator * 100.0 / ratio.denominator, 2) + "%";
}

std::string PageListEntry(int page, int pageCount) {
    return std::to_string(page) + " / " + std::to_string(pageCount);
}

void ZoomPageBarLogic::InitBar() {
    SetPages(0, 1);
    std::vector<std::string> labels;
    for (const ZoomRow& row : ZoomTable) labels.emplace_back(row.label);
    mControls.SetZoomEntries(labels);
    mZoomIndex = kZoomRow100;
    mControls.SelectZoomEntry(mZoomIndex);
    mRatio = {1, 1};
}

void ZoomPageBarLogic::SetZoom(int32_t numerator, int32_t denominator) {
    const int row = FindZoomRow({numerator, denominator});
    if (row >= 0) {
        // The view calls this after every change of its own: applying the same ratio
        // again would only redraw.
        LayoutViewCommands* commands = ActiveCommands();
        if (commands && ActiveZoom() != ZoomRatio{numerator, denominator}) commands->SetZoom(numerator, denominator);
        mControls.SelectZoomEntry(row);
        mZoomIndex = row;
    } else {
        mControls.SetZoomText(ZoomPercentText({numerator, denominator}));
    }
    mRatio = {numerator, denominator};
}

void ZoomPageBarLogic::SetPages(int currentIndex, int pageCount) {
    pageCount = std::max(pageCount, 1);
    if (pageCount != mPageCount || !mPagesFilled) {
        std::vector<std::string> entries;
        entries.reserve(size_t(pageCount));
        for (int page = 1; page <= pageCount; ++page) entries.push_back(PageListEntry(page, pageCount));
        mControls.SetPageEntries(entries);
        mPageCount = pageCount;
        mPagesFilled = true;
    }
    mPageIndex = std::clamp(currentIndex, 0, pageCount - 1);
    mControls.SelectPageEntry(mPageIndex);
}

void ZoomPageBarLogic::ShowZoomPercent() { mControls.SetZoomText(ZoomPercentText(mRatio)); }

void ZoomPageBarLogic::OnZoomSelected(int index) {
    if (index < 0 || index >= int(ZoomTable.size())) {
        ShowZoomPercent();
        return;
    }
    const ZoomRow& row = ZoomTable[size_t(index)];
    LayoutViewCommands* commands = ActiveCommands();
    if (commands && commands->SetZoom(row.numerator, row.denominator)) {
        mZoomIndex = index;
        mRatio = {row.numerator, row.denominator};
    } else {
        SetZoom(mRatio.numerator, mRatio.denominator);
    }
}

void ZoomPageBarLogic::OnPageSelected(int index) {
    if (index < 0) return;
    if (LayoutView* view = ActiveView()) view->SetCurrentPage(index);
    mPageIndex = index;
}

void ZoomPageBarLogic::OnZoomIn() {
    LayoutViewCommands* commands = ActiveCommands();
    if (!commands) return;
    commands->ZoomInStep();
    if (std::optional<ZoomRatio> z = ActiveZoom()) SetZoom(z->numerator, z->denominator);
}

void ZoomPageBarLogic::OnZoomOut() {
    LayoutViewCommands* commands = ActiveCommands();
    if (!commands) return;
    commands->ZoomOutStep();
    if (std::optional<ZoomRatio> z = ActiveZoom()) SetZoom(z->numerator, z->denominator);
}

void ZoomPageBarLogic::OnNextPage() {
    LayoutView* view = ActiveView();
    const CLayoutSetting* layout = ActiveLayout();
    if (!view || !layout) return;
    if (view->GetCurrentPage() + 1 >= GetPageCount(*layout)) return;
    if (LayoutViewCommands* commands = view->Commands()) commands->OnCommand(kCmdNextPage);
    mControls.SelectPageEntry(view->GetCurrentPage());
}

void ZoomPageBarLogic::OnPrevPage() {
    LayoutView* view = ActiveView();
    if (!view) return;
    if (LayoutViewCommands* commands = view->Commands()) commands->OnCommand(kCmdPrevPage);
    mControls.SelectPageEntry(view->GetCurrentPage());
}

void ZoomPageBarLogic::OnZoomTyped(std::string_view text) {
    LayoutViewCommands* commands = ActiveCommands();
    const std::optional<TypedZoom> typed = ParseTypedZoom(text);
    if (!typed) {
        const ZoomRow& row = ZoomTable[size_t(std::clamp(mZoomIndex, 0, int(ZoomTable.size()) - 1))];
        mControls.SelectZoomEntry(mZoomIndex);
        mRatio = {row.numerator, row.denominator};
        if (commands) commands->SetZoom(row.numerator, row.denominator);
        return;
    }
    if (commands && commands->SetZoom(typed->ratio.numerator, typed->ratio.denominator)) {
        mControls.SetZoomText(typed->label);
        mRatio = typed->ratio;
    } else {
        SetZoom(mRatio.numerator, mRatio.denominator);
    }
}

void ZoomPageBarLogic::OnPageTyped(std::string_view text) {
    const std::optional<int> page = ParseTypedPage(text, mPageCount);
    LayoutView* view = ActiveView();
    if (!page || !view) {
        mControls.SelectPageEntry(mPageIndex);
        return;
    }
    view->SetCurrentPage(*page - 1);
    mControls.SetPageText(PageListEntry(*page, mPageCount));
}

bool ZoomPageBarLogic::ControlsEnabled() { return ActiveLayout() != nullptr; }

}  // namespace vx
