#pragma once
#include <stdexcept>
#include <utility>
#include <vector>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "model/CLayoutSetting.h"

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

/// The application state as far as preferences go.
struct PreferencesOnlyState : ApplicationState {
    AppPreferences preferences;
    CLayoutSetting defaults{true};
    CLayoutSetting* active = nullptr;

    AppPreferences& Preferences() override { return preferences; }
    CLayoutSetting& DefaultLayoutSetting() override { return defaults; }
    CLayoutSetting*& ActiveLayoutSlot() override { return active; }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting>, CLayoutSetting**) override {}
    bool InitAppDefaults() override { return true; }
    bool PrepareNewLayout(CLayoutSetting&) override { return true; }
    int GetSystemLanguage() override { return 7; }
    bool ImportLocked() override { return false; }
    UndoStore& GetUndoStore() override { throw std::logic_error("no undo store here"); }
};

/// Both installed for the object's lifetime.
struct ToolWindowHost {
    RecordingToolWindows tools;
    PreferencesOnlyState app;
    ScopedHostService<ToolWindows> installTools{&tools};
    ScopedHostService<ApplicationState> installApp{&app};
};

}  // namespace vx::test
