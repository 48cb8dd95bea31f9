#pragma once
#include <memory>
#include <stdexcept>
#include <vector>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"

namespace vx::test {

/// The application state with a default layout (with "BaseImage"), recording the
/// layouts deleted and prepared. Suites that include it link the model.
struct RecordingApplicationState : ApplicationState {
    AppPreferences preferences;
    CLayoutSetting defaults{true};
    CLayoutSetting* active = nullptr;
    int language = 7;
    int deleted = 0;
    std::vector<const CLayoutSetting*> prepared;
    bool prepareResult = true;
    bool importLocked = false;
    UndoStore* undo = nullptr;  // the store GetUndoStore gives, when set

    RecordingApplicationState() { defaults.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage")); }

    AppPreferences& Preferences() override { return preferences; }
    CLayoutSetting& DefaultLayoutSetting() override { return defaults; }
    CLayoutSetting*& ActiveLayoutSlot() override { return active; }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting> layout, CLayoutSetting** ownerSlot) override {
        if (ownerSlot && *ownerSlot == layout.get()) *ownerSlot = nullptr;
        if (layout) ++deleted;
    }
    bool InitAppDefaults() override { return true; }
    bool PrepareNewLayout(CLayoutSetting& layout) override {
        prepared.push_back(&layout);
        if (layout.GetType() == kRecordTypeLayout) layout.RenewViewState();
        return prepareResult;
    }
    int GetSystemLanguage() override { return language; }
    bool ImportLocked() override { return importLocked; }
    UndoStore& GetUndoStore() override {
        if (undo) return *undo;
        throw std::logic_error("no undo store in this test");
    }
};

/// A recording application state installed for the object's lifetime.
struct InstalledApplicationState : RecordingApplicationState {
    ScopedHostService<ApplicationState> installed{this};
};

}  // namespace vx::test
