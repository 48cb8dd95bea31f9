#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/PrintSettingsPane.h"
#include "printing/TemplateMarksPort.h"
#include "templates/TemplateInfo.h"

namespace vx {

class CLayoutSetting;

/// The list row of a mark the document sets.
int TemplateSettingRowOf(TemplateChangeMark mark);

/// One flag per list row: 1 when the row's setting changed after the template was
/// loaded. A settings change keeps a copy in the process-wide backup and puts it back
/// when the change is rolled back.
class TemplateChangeMarks : public TemplateMarksPort {
public:
    std::array<int32_t, kTemplateSettingRows> flags{};

    bool IsMarked(int row) const { return row >= 0 && row < kTemplateSettingRows && flags[row] != 0; }
    /// Rows outside the list are ignored.
    void Mark(int row);
    void Clear() { flags.fill(0); }
    bool Any() const;
    bool operator==(const TemplateChangeMarks& other) const { return flags == other.flags; }

    void StoreMarks() override;
    void LoadMarks() override;
    void MarkChangedSettings(const CLayoutSetting& layout, const SettingsChangeRecord& record) override;
};

/// Copy marks into the one backup copy and back; a null record is ignored.
void StoreTemplateChangeMarks(const TemplateChangeMarks* marks);
void LoadTemplateChangeMarks(TemplateChangeMarks* marks);

/// Sets marks from what a reconciliation changed: printer, source, paper size (and the
/// banner length on a roll), media and ink. Never clears a mark.
void MarkChangedSettings(const CLayoutSetting& layout, TemplateChangeMarks* marks, const SettingsChangeRecord& record);

/// A roll length in 1/10 mm as the pane and the paper page show it: "%.2f mm" for unit
/// 1, else "%.3f Zoll".
std::string RollLengthText(int32_t bannerLength, int unit);

/// The template's file name: the path after its last separator.
std::string TemplateFileName(const std::string& path);

/// A copy of info whose value texts are the layout's current settings; lengths of the
/// image size in displayUnit (1 mm, else inch).
TemplateInfo TemplateSettingsInfo(const CLayoutSetting& layout, const TemplateInfo& info, int displayUnit);

/// The value column of the thirteen rows.
std::array<std::string, kTemplateSettingRows> TemplateSettingValues(const TemplateInfo& info);

struct TemplateSettingsListRow {
    std::string name;
    std::string value;
    bool marked = false;
    bool operator==(const TemplateSettingsListRow&) const = default;
};

/// The list's rows: names, values of CurrentTemplateInfo's element 0 (empty without one)
/// and the marks. A marked row makes layout dirty, as a changed template is unsaved work.
std::vector<TemplateSettingsListRow> FillTemplateSettingsList(const TemplateChangeMarks& marks,
                                                              CLayoutSetting* layout);

/// Makes CurrentTemplateInfo's element 0 the copy with layout's values (display unit from
/// the preferences).
void UpdateTemplateSettingsInfo(const CLayoutSetting& layout);

/// The bound layout is not modified by binding: clears its dirty flag once; nothing
/// without a layout.
void OnBindingSettled(CLayoutSetting* layout);

}  // namespace vx
