#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "host/ViewServices.h"

namespace vx::test {

/// A layout view with a fixed client area, page offset and pixel density that records
/// what core code asks of it.
struct RecordingLayoutView : LayoutView {
    int currentPage = 0;
    PixelRect client{0, 0, 400, 300};  // logical pixels
    ViewPageRect pageRect{};
    PixelPoint pixelsPerInch{96, 96};
    std::vector<const CLayoutObj*> tracked;
    std::vector<PixelPoint> scrolls;
    std::vector<int> pagesSet;
    int invalidations = 0;
    int updates = 0;

    int GetCurrentPage() const override { return currentPage; }
    void SetCurrentPage(int index) override {
        currentPage = index;
        pagesSet.push_back(index);
    }
    PixelRect ClientToDocRect() const override { return client; }
    ViewPageRect GetPageRect() const override { return pageRect; }
    PixelPoint GetPixelsPerInch() const override { return pixelsPerInch; }
    void ScrollTo(PixelPoint logical) override { scrolls.push_back(logical); }
    void Invalidate() override { ++invalidations; }
    void Update() override { ++updates; }
    void SetupObjectTracker(const CLayoutObj& item) override { tracked.push_back(&item); }
};

struct RecordingPrintSettingsPane : PrintSettingsPane {
    std::vector<int> hints;
    int printerControlFills = 0;
    std::vector<const CLayoutSetting*> templateTexts;
    std::vector<TemplateChangeMark> marks;
    int resets = 0;
    int invalidations = 0;

    void OnUpdate(int hint) override { hints.push_back(hint); }
    void FillPrinterControls(bool) override { ++printerControlFills; }
    void UpdateTemplateSettingsText(const CLayoutSetting& layout) override { templateTexts.push_back(&layout); }
    void SetTemplateChangeMark(TemplateChangeMark mark) override { marks.push_back(mark); }
    void ResetFormViewInfo() override { ++resets; }
    void Invalidate() override { ++invalidations; }
    std::vector<const CLayoutSetting*> loaded;
    int bindingsSettled = 0;
    int profileUpdates = 0;
    int morePrintSettings = 0;
    int firstProfileSelections = 0;
    void LoadDocumentSettings(CLayoutSetting& layout) override { loaded.push_back(&layout); }
    void OnBindingSettled() override { ++bindingsSettled; }
    void UpdateProfileCombo() override { ++profileUpdates; }
    void OnMorePrintSettings() override { ++morePrintSettings; }
    void SelectFirstProfile() override { ++firstProfileSelections; }
};

/// A shell whose one document shows `view` (for `viewLayout` only, or for every layout
/// while that is null) and `pane`; either may be null.
struct RecordingShell : Shell {
    RecordingLayoutView* view = nullptr;
    const CLayoutSetting* viewLayout = nullptr;
    RecordingPrintSettingsPane* pane = nullptr;
    std::vector<int> toolBarRefreshes;
    std::vector<int> quickPrintStates;
    std::vector<std::string> titles;
    std::vector<int> printNowAt;  // the quick-print state shown when each Print now ran, 0 none

    LayoutView* FindLayoutView(const CLayoutSetting& layout) override {
        return !viewLayout || viewLayout == &layout ? view : nullptr;
    }
    LayoutView* GetLayoutView() override { return view; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return pane; }
    bool IsViewCreating() override { return false; }
    void RefreshToolBar(int flags) override { toolBarRefreshes.push_back(flags); }
    void SetQuickPrintStatus(int state) override { quickPrintStates.push_back(state); }
    void SetLayoutTitle(const std::string& text) override { titles.push_back(text); }
    void PrintNow() override { printNowAt.push_back(quickPrintStates.empty() ? 0 : quickPrintStates.back()); }
};

struct RecordingViewServices : ViewServices {
    std::vector<int> headerFooterPages;
    std::vector<std::string> fontsAsked;
    bool fontsInstalled = true;

    void FormatHeaderFooterText(int page, CLayoutSetting&) override { headerFooterPages.push_back(page); }
    bool EnsureFontAvailable(std::string& face, bool&) override {
        fontsAsked.push_back(face);
        return fontsInstalled;
    }
};

/// A shell with a view and a pane, and the view services, installed for its lifetime.
struct RecordingHost {
    RecordingLayoutView view;
    RecordingPrintSettingsPane pane;
    RecordingShell shell;
    RecordingViewServices services;
    ScopedHostService<Shell> installShell{&shell};
    ScopedHostService<ViewServices> installServices{&services};

    RecordingHost() {
        shell.view = &view;
        shell.pane = &pane;
    }
};

}  // namespace vx::test
