#pragma once
#include <stdexcept>
#include <utility>
#include <vector>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "model/CLayoutSetting.h"
#include "support/RecordingApplicationState.h"

namespace vx::test {

/// Tool windows that record what the image information window was asked to show.
struct RecordingToolWindows : ToolWindows {
    bool infoShown = false;
    std::vector<std::pair<const CLayoutObj*, int>> shownGroups;
    int rowResets = 0;

    bool IsImageInfoShown() override { return infoShown; }
    void ShowImageInfo(const CLayoutObj& item, int group) override { shownGroups.emplace_back(&item, group); }
    void ResetImageInfoRows() override { ++rowResets; }
    void OnPreviewObjectRemoved(uint32_t) override {}
    void RecreatePreviewPane() override {}
    void ShowToolWindowsFromSettings(const AppPreferences&) override {}
    void SetZoom(int32_t, int32_t) override {}
    std::vector<std::filesystem::path> ChooseImageFiles(const std::filesystem::path&) override { return {}; }
};


/// Both installed for the object's lifetime.
struct ToolWindowHost {
    RecordingToolWindows tools;
    RecordingApplicationState app;
    ScopedHostService<ToolWindows> installTools{&tools};
    ScopedHostService<ApplicationState> installApp{&app};
};

}  // namespace vx::test
