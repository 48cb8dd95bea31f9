#pragma once

namespace vx {

class CLayoutSetting;
struct SettingsChangeRecord;

/// Rows of the template-settings list, in list order.
enum TemplateSettingRow : int {
    kRowName,
    kRowNote,
    kRowPrinter,
    kRowPaperSource,
    kRowPaperSize,
    kRowBannerLength,
    kRowMedia,
    kRowOrientation,
    kRowInk,
    kRowLayoutMode,
    kRowImageSize,
    kRowImageOptions,
    kRowAutoRotate,
    kTemplateSettingRows
};

/// The change marks of the template-settings list, as a settings change uses them: kept
/// before the change, put back when it is rolled back, set from what the reconciliation
/// changed when it stands. The print-settings pane implements it.
class TemplateMarksPort {
public:
    virtual ~TemplateMarksPort() = default;
    virtual void StoreMarks() = 0;
    virtual void LoadMarks() = 0;
    virtual void MarkChangedSettings(const CLayoutSetting& layout, const SettingsChangeRecord& record) = 0;
};

}  // namespace vx
