#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "host/ChooseTemplateState.h"
#include "host/OrganizeTemplatesState.h"

namespace vx {

class CLayoutSetting;
class UndoStore;

/// The application-wide preferences, in record order. Flags are 1 for on. The values
/// given here are the defaults that do not depend on the screen; InitAppDefaults sets
/// the window positions that do.
struct AppPreferences {
    int16_t version = 1500;  // the layout header's Version
    int16_t platform = 1;    // the layout header's Platform
    int32_t imageInfoWindow = 0;
    int32_t imageInfoX = 0;  // screen width - 435
    int32_t imageInfoY = 60;
    int32_t imagePreviewWindow = 0;
    int32_t imagePreviewX = 0;  // screen width - 490
    int32_t imagePreviewY = 495;
    int32_t imagePreviewSize = 450;
    int16_t imagePreviewMode = 3;
    CLayoutSetting* defaultLayout = nullptr;
    int32_t directPrint = 0;  // set by the direct-print window before it prints
    int32_t doNotSave = 0;    // the preferences file is not written at exit
    int32_t ruler = 0;
    int32_t gridX = 70;
    int32_t gridY = 70;
    int32_t gridShown = 0;
    int32_t snapToGrid = 0;
    int16_t startDocument = 0;  // 0 new, 1 most recent, 2 none
    int32_t quickPrint = 0;
    int32_t confirmationDialogs = 1;
    int16_t unit = 1;  // 1 mm, 2 inch
    int32_t arrowKeyStep = 70;
    std::array<std::string, 8> directPrintPrinters;
    int32_t directPrintWindow = 0;
    int32_t directPrintX = 40;
    int32_t directPrintY = 40;
    int32_t highQualityThumbnails = 0;
    /// 1 while a file command of the layout document runs (not stored); every file
    /// command and its update handler test it.
    int32_t appBusyFlag = 0;
};

/// What the application object keeps for the whole run, as core code uses it. The
/// window side implements it (HostService<ApplicationState>). The graphics importers
/// are always present (app/QuickTimePresent.h).
class ApplicationState {
public:
    virtual ~ApplicationState() = default;

    virtual AppPreferences& Preferences() = 0;
    /// The presets that apply while no layout is open; new layouts start as its copy.
    virtual CLayoutSetting& DefaultLayoutSetting() = 0;
    /// The layout of the open document, or null.
    virtual CLayoutSetting*& ActiveLayoutSlot() = 0;
    /// Clears ownerSlot when it points at layout, then frees layout with its items.
    virtual void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting> layout, CLayoutSetting** ownerSlot) = 0;
    /// Fills the preferences with their defaults and builds the default layout.
    virtual bool InitAppDefaults() = 0;
    /// For a layout of `mType` 2, renews its view state and rebuilds its image stamp.
    virtual bool PrepareNewLayout(CLayoutSetting& layout) = 0;
    /// The primary language of the system (7 German, 12 French, ...).
    virtual int GetSystemLanguage() = 0;
    /// While true, Load image and the other import paths do nothing.
    virtual bool ImportLocked() = 0;
    /// The one undo store of the run; cleared at exit before the temporary folder goes.
    virtual UndoStore& GetUndoStore() = 0;
    /// What the template chooser keeps between openings; the first opening is flagged.
    virtual ChooseTemplateState GetChooseTemplateState() { return mChooseTemplateState; }
    virtual void SetChooseTemplateState(const ChooseTemplateState& state) { mChooseTemplateState = state; }
    /// What the template organiser keeps between openings; the first opening is flagged.
    virtual OrganizeTemplatesState GetOrganizeTemplatesState() { return mOrganizeTemplatesState; }
    virtual void SetOrganizeTemplatesState(const OrganizeTemplatesState& state) { mOrganizeTemplatesState = state; }

protected:
    ChooseTemplateState mChooseTemplateState;
    OrganizeTemplatesState mOrganizeTemplatesState;
};

}  // namespace vx
