#include "app/TemplateChangeMarks.h"

#include <algorithm>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LengthUnits.h"
#include "platform/system/Format.h"
#include "platform/system/StringTable.h"
#include "printing/PrintPaneSections.h"
#include "printing/SettingsChangeRecord.h"

namespace vx {
namespace {

TemplateChangeMarks& Backup() {
    static TemplateChangeMarks backup;
    return backup;
}

std::string LengthText(int32_t value, int unit) {
    const bool mm = unit == 1;
    return FormatLengthInUnit(value, mm ? 1 : 2, kUnitsPerInch) + " " + LoadString(mm ? IDS_UNIT_MM : IDS_UNIT_INCH);
}

std::string InkText(int color) {
    if (color == 1) return LoadString(IDS_TS_INK_BLACK);
    if (color == 256) return LoadString(IDS_TS_INK_GREYVANCE);
    return LoadString(IDS_TS_INK_COLOUR);
}

std::string AutoRotateText(int autoRotate) {
    switch (autoRotate) {
    case 1: return LoadString(IDS_AUTO_ROTATE_EXIF);
    case 2: return LoadString(IDS_AUTO_ROTATE_LANDSCAPE_RIGHT);
    case 3: return LoadString(IDS_AUTO_ROTATE_LANDSCAPE_LEFT);
    case 4: return LoadString(IDS_AUTO_ROTATE_PORTRAIT_RIGHT);
    case 5: return LoadString(IDS_AUTO_ROTATE_PORTRAIT_LEFT);
    default: return LoadString(IDS_AUTO_ROTATE_OFF);
    }
}

std::string ImageOptionText(const CImageObj* base) {
    if (!base || base->GetSizeMethod() != 1) return "-";
    switch (base->GetImageOptionDimens()) {
    case 0: return LoadString(IDS_IMAGE_OPTION_OFF);
    case 1: return LoadString(IDS_IMAGE_OPTION_FIT);
    case 2: return LoadString(IDS_IMAGE_OPTION_CROP);
    default: return "-";
    }
}

std::string ImageSizeText(const CImageObj* base, int displayUnit) {
    if (!base) return "-";
    const std::string& width = LoadString(IDS_LABEL_WIDTH);
    const std::string& height = LoadString(IDS_LABEL_HEIGHT);
    if (base->GetSizeMethod() == 1) {
        const LayoutPoint size = base->GetSizePixel();
        return FormatC("%s = %s, %s = %s", width.c_str(), LengthText(size.x, displayUnit).c_str(), height.c_str(),
                       LengthText(size.y, displayUnit).c_str());
    }
    const LayoutPoint ratio = base->GetSizeRatio();
    return FormatC("%s = %.1f%%, %s = %.1f%%", width.c_str(), ratio.x * 0.1, height.c_str(), ratio.y * 0.1);
}

std::string WithoutLineBreaks(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
    return text;
}

int DisplayUnit() {
    ApplicationState* app = HostService<ApplicationState>();
    return app ? app->Preferences().unit : AppPreferences{}.unit;
}

}  // namespace

int TemplateSettingRowOf(TemplateChangeMark mark) {
    switch (mark) {
    case TemplateChangeMark::LayoutMode: return kRowLayoutMode;
    case TemplateChangeMark::PresetImageSize: return kRowImageSize;
    case TemplateChangeMark::PresetSizeOption: return kRowImageOptions;
    case TemplateChangeMark::AutoRotate: return kRowAutoRotate;
    }
    return -1;
}

void TemplateChangeMarks::Mark(int row) {
    if (row >= 0 && row < kTemplateSettingRows) flags[row] = 1;
}

bool TemplateChangeMarks::Any() const {
    return std::any_of(flags.begin(), flags.end(), [](int32_t f) { return f != 0; });
}

void TemplateChangeMarks::StoreMarks() { StoreTemplateChangeMarks(this); }
void TemplateChangeMarks::LoadMarks() { LoadTemplateChangeMarks(this); }
void TemplateChangeMarks::MarkChangedSettings(const CLayoutSetting& layout, const SettingsChangeRecord& record) {
    vx::MarkChangedSettings(layout, this, record);
}

void StoreTemplateChangeMarks(const TemplateChangeMarks* marks) {
    if (marks) Backup().flags = marks->flags;
}

void LoadTemplateChangeMarks(TemplateChangeMarks* marks) {
    if (marks) marks->flags = Backup().flags;
}

void MarkChangedSettings(const CLayoutSetting& layout, TemplateChangeMarks* marks, const SettingsChangeRecord& record) {
    if (!marks) return;
    using B = SettingsChangeRecord;
    if (record[B::kPrinter]) marks->Mark(kRowPrinter);
    if (record[B::kSource]) marks->Mark(kRowPaperSource);
    if (record[B::kPaperSize]) {
        marks->Mark(kRowPaperSize);
        if (layout.GetBanner()) marks->Mark(kRowBannerLength);
    }
    if (record[B::kMedia]) marks->Mark(kRowMedia);
    if (record[B::kInk]) marks->Mark(kRowInk);
}

std::string RollLengthText(int32_t bannerLength, int unit) {
    const bool mm = unit == 1;
    return RollLengthNumber(bannerLength, mm ? 0 : 1) + " " + LoadString(mm ? IDS_UNIT_MM : IDS_UNIT_INCH);
}

std::string TemplateFileName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

TemplateInfo TemplateSettingsInfo(const CLayoutSetting& layout, const TemplateInfo& info, int displayUnit) {
    TemplateInfo copy = info;
    const LayoutTexts& texts = layout.Texts();
    const CImageObj* base = layout.GetBaseImage();
    copy.PrinterModel = texts.printerName;
    copy.PaperSource = texts.paperSourceName;
    copy.PaperSize = texts.paperSizeName;
    copy.IsBanner = layout.GetBanner() == 1;
    copy.PaperLengthText = copy.IsBanner ? RollLengthText(layout.GetBannerLength(), layout.GetUnit()) : "-";
    copy.MediaType = texts.mediaTypeName;
    copy.PaperOrient = LoadString(layout.GetOrientation() == 1 ? IDS_ORIENT_PORTRAIT : IDS_ORIENT_LANDSCAPE);
    copy.Color = InkText(layout.GetColor());
    copy.LayoutModeText = LoadString(layout.GetFree() == 1 ? IDS_FREE_LAYOUT : IDS_AUTOMATIC_LAYOUT);
    copy.IsAbsoluteSize = base && base->GetSizeMethod() == 1;
    copy.ImageSizeText = ImageSizeText(base, displayUnit);
    copy.ImageOption = ImageOptionText(base);
    copy.AutoRotation = AutoRotateText(layout.GetAutoRotate());
    return copy;
}

std::array<std::string, kTemplateSettingRows> TemplateSettingValues(const TemplateInfo& info) {
    return {TemplateFileName(info.Path), WithoutLineBreaks(info.Comment), info.PrinterModel, info.PaperSource,
            info.PaperSize, info.PaperLengthText, info.MediaType, info.PaperOrient, info.Color,
            info.LayoutModeText, info.ImageSizeText, info.ImageOption, info.AutoRotation};
}

std::vector<TemplateSettingsListRow> FillTemplateSettingsList(const TemplateChangeMarks& marks, CLayoutSetting* layout) {
    const CTemplateInfoArray& current = CurrentTemplateInfo();
    const TemplateInfo info = current.IsEmpty() ? TemplateInfo{} : current.GetAt(0);
    const auto values = TemplateSettingValues(info);
    std::vector<TemplateSettingsListRow> rows;
    rows.reserve(kTemplateSettingRows);
    for (int row = 0; row < kTemplateSettingRows; ++row) {
        const bool marked = marks.IsMarked(row);
        rows.push_back({LoadString(IDS_TS_ROW_NAME + row), values[row], marked});
        if (marked && layout) layout->SetDirty(1);
    }
    return rows;
}

void UpdateTemplateSettingsInfo(const CLayoutSetting& layout) {
    const CTemplateInfoArray& current = CurrentTemplateInfo();
    const TemplateInfo info = current.IsEmpty() ? TemplateInfo{} : current.GetAt(0);
    SetCurrentTemplateInfo(TemplateSettingsInfo(layout, info, DisplayUnit()));
}

void OnBindingSettled(CLayoutSetting* layout) {
    if (layout) layout->SetDirty(0);
}

}  // namespace vx
