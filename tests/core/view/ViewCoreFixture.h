#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/model/LayoutFixture.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/UndoStore.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "view/CGPView.h"
#include "view/LayoutViewCore.h"
#include "view/ZoomPageBar.h"

namespace vx::test {

/// A window of a given client size that records what the view logic asks of it and
/// keeps posted tasks until RunPosted.
struct FakeViewWindow : ViewWindowPort {
    PixelPoint client{400, 300};
    PixelPoint ppi{96, 96};
    int invalidations = 0;
    std::vector<PixelRect> rects;
    std::vector<std::pair<PixelRect, PixelRect>> rulerBands;
    std::vector<bool> redraws;
    int paints = 0;
    ScrollSizes shownSizes;
    PixelPoint shownPosition;
    std::deque<std::function<void()>> posted;
    std::optional<int> pageAnswer;
    std::vector<std::pair<int, int>> pagesAsked;
    std::vector<int> frameCommands;

    PixelPoint ClientSize() const override { return client; }
    PixelPoint PixelsPerInch() const override { return ppi; }
    FitMetrics Metrics() const override { return {2, 4, 17}; }
    void SetRedraw(bool on) override { redraws.push_back(on); }
    void InvalidateClient(const PixelRect* rect) override {
        if (rect) rects.push_back(*rect);
        else ++invalidations;
    }
    void InvalidateRulerBands(const PixelRect& top, const PixelRect& left) override { rulerBands.emplace_back(top, left); }
    void PaintNow() override { ++paints; }
    void ShowScrollBars(const ScrollSizes& sizes, PixelPoint position) override {
        shownSizes = sizes;
        shownPosition = position;
    }
    void Post(std::function<void()> task) override { posted.push_back(std::move(task)); }
    std::optional<int> AskPageNumber(int current, int count) override {
        pagesAsked.emplace_back(current, count);
        return pageAnswer;
    }
    void PostFrameCommand(int id) override { frameCommands.push_back(id); }
    void RunPosted() {
        while (!posted.empty()) {
            auto task = std::move(posted.front());
            posted.pop_front();
            task();
        }
    }
};

/// A shell whose one view is the given one.
struct OneViewShell : Shell {
    LayoutView* view = nullptr;
    LayoutView* FindLayoutView(const CLayoutSetting&) override { return view; }
    LayoutView* GetLayoutView() override { return view; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return nullptr; }
    bool creating = false;
    bool IsViewCreating() override { return creating; }
    void SetViewCreating(bool on) override { creating = on; }
    void RefreshToolBar(int) override {}
    void SetQuickPrintStatus(int) override {}
    void SetLayoutTitle(const std::string&) override {}
    void PrintNow() override {}
};

/// Tool windows whose zoom box is a bar logic when given one; records the ratios.
struct ZoomRecordingTools : NoToolWindows {
    std::vector<ZoomRatio> zooms;
    ZoomPageBarLogic* bar = nullptr;
    void SetZoom(int32_t n, int32_t d) override {
        zooms.push_back({n, d});
        if (bar) bar->SetZoom(n, d);
    }
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path&) override { return {}; }
};

/// A free layout of three pages of 1200 x 1000 units (margins 100) open in a view of
/// 400 x 300 pixels, with the application's state, undo store, ports and shell.
struct ViewCoreTest : testing::Test {
    TestLayout t;
    UndoStore undo;
    InstalledApplicationState app;
    RecordingMessagePort messages;
    RecordingStatusPort status;
    ScopedPorts ports{&messages, nullptr, &status};
    ZoomRecordingTools tools;
    ScopedHostService<ToolWindows> installTools{&tools};
    OneViewShell shell;
    ScopedHostService<Shell> installShell{&shell};
    CGPView view;
    FakeViewWindow window;
    LayoutViewCore core{view, window};

    void SetUp() override {
        t.layout.SetType(kRecordTypeLayout);
        t.layout.SetFree(1);
        t.layout.SetPageNumber(3);
        app.undo = &undo;
        app.active = &t.layout;
        shell.view = &core;
        core.OnInitialUpdate(&t.layout);
    }

    ZoomRatio Zoom() const {
        const ViewStateBlock* b = t.layout.GetViewState();
        return {b->zoomNumerator, b->zoomDenominator};
    }
    void SetZoomPair(ZoomRatio z) {
        t.layout.GetViewState()->zoomNumerator = z.numerator;
        t.layout.GetViewState()->zoomDenominator = z.denominator;
    }
    CommandState State(int id) {
        CommandState s;
        core.OnUpdateCommand(id, s);
        return s;
    }
};

}  // namespace vx::test
