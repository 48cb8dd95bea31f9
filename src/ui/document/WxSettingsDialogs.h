#pragma once
#include "host/DocumentServices.h"

namespace vx {

/// The settings commands' dialogs on the window side. Each dialog's own source file
/// defines its Run call; Has lists the ones that are bound.
class WxSettingsDialogs final : public SettingsDialogs {
public:
    bool Has(Dialog dialog) override;
    bool RunAutoRotate(CLayoutSetting& layout) override;
    std::optional<std::filesystem::path> ChooseTemplate() override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
    bool RunImageSizeDialog(CLayoutSetting& layout, bool preset) override;
    bool RunCutLineDialog(CLayoutSetting& layout) override;
    bool RunCrop(CLayoutSetting& layout, bool sameImage) override;
    bool RunTint(CLayoutSetting& layout) override;
    bool RunDuplicateSeveralTimes(CLayoutSetting& layout) override;
    bool RunMargins(CLayoutSetting& layout) override;
    bool RunImageAlign(CLayoutSetting& layout) override;
    bool RunLabels(CLayoutSetting& layout, bool preset) override;
    bool RunCaption(CLayoutSetting& layout, bool preset) override;
    bool RunHeaderFooter(CLayoutSetting& layout) override;
    bool RunPreferences() override;
    bool RunInputColorDefaults(CLayoutSetting& layout) override;
    bool RunImageColor(CLayoutSetting& layout) override;
    bool RunImageStamp(CLayoutSetting& layout) override;
    bool RunFreeText(CLayoutSetting& layout, CLayoutObj* item) override;
    bool RunFreeLine(CLayoutSetting& layout, CLayoutObj* item) override;
    bool RunOutputColor(CLayoutSetting& layout) override;
    bool RunSaveTemplateAs(SaveTemplateAsFields& fields) override;
    bool RunOrganizeTemplates() override;
    bool RunDriverSettings(DriverSettingsEditor& editor) override;
};

}  // namespace vx
