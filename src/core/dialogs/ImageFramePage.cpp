#include <algorithm>
#include <cmath>

#include "dialogs/ImageSizeController.h"
#include "dialogs/ImageSizeLimits.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "model/LengthUnits.h"
#include "platform/system/Numbers.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

int32_t EdgeFromText(const std::string& text, int unit) {
    const int32_t value = ParseLengthInUnit(text, unit);
    // A typed minus sign means nothing here: an edge has a width only.
    return value == INT32_MIN ? INT32_MAX : std::abs(value);
}

}  // namespace

using FramePage = ImageSizeController::FramePage;

void FramePage::ShowFrameValues() {
    const LayoutRect& f = c.mValues.frame;
    const int unit = c.mValues.frameUnit;
    PageView& view = c.mFrameView;
    view[kLeftEdit].text = FormatLengthInUnit(f.left, unit, 360);
    view[kTopEdit].text = FormatLengthInUnit(f.top, unit, 360);
    view[kRightEdit].text = FormatLengthInUnit(f.right, unit, 360);
    view[kBottomEdit].text = FormatLengthInUnit(f.bottom, unit, 360);
}

void FramePage::ReadFrameEdits() {
    PageView& view = c.mFrameView;
    const int unit = c.mValues.frameUnit;
    c.mValues.frame = {EdgeFromText(view[kLeftEdit].text, unit), EdgeFromText(view[kTopEdit].text, unit),
                       EdgeFromText(view[kRightEdit].text, unit), EdgeFromText(view[kBottomEdit].text, unit)};
}

void FramePage::SetAutomaticEdges() {
    c.AutomaticFrame();
    ShowFrameValues();
}

// A frame needs the dimensions method: the size page goes there and keeps the ratio off.
void FramePage::SetSizePageForFrame() {
    c.mSizeView[kRatioRadio].enabled = false;
    c.mSize.SelectDimensions();
}

ImageSizeView FramePage::InitControls() {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mFrameView;
    ShowFrameValues();
    view[kFrameOff].checked = v.frameMode == 0;
    view[kFrameAuto].checked = v.frameMode == 1;
    view[kFrameCustom].checked = v.frameMode == 2;
    if (v.frameMode == 0) OnFrameOff();
    else if (v.frameMode == 1) OnFrameAuto();
    else OnFrameCustom();
    view[kTransparentRadio].checked = v.frameColoured == 0;
    view[kColourRadio].checked = v.frameColoured != 0;
    view[kColourButton].enabled = v.frameColoured != 0 && v.frameMode != 0;
    view[kFrameUnitCombo].selection = v.frameUnit - 1;
    view[kSizeLineUnitCombo].selection = v.sizeLineUnit - 1;
    EnableFrameWidths(v.frameMode == 2);
    ShowFrameValues();
    SetAllEdgeRanges();
    UpdateSizeText();
    return c.View();
}

ImageSizeView FramePage::OnFrameOff() {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mFrameView;
    v.frameMode = 0;
    view[kFrameOff].checked = true;
    view[kFrameAuto].checked = view[kFrameCustom].checked = false;
    v.frame = {};
    ShowFrameValues();
    c.mSizeView[kRatioRadio].enabled = v.preset || c.UsesPrintSize();
    EnableFrameWidths(false);
    EnableFrameColour(false);
    SetAllEdgeRanges();
    UpdateSizeText();
    return c.View();
}

ImageSizeView FramePage::OnFrameAuto() {
    PageView& view = c.mFrameView;
    c.mValues.frameMode = 1;
    view[kFrameAuto].checked = true;
    view[kFrameOff].checked = view[kFrameCustom].checked = false;
    SetAutomaticEdges();
    SetSizePageForFrame();
    EnableFrameWidths(false);
    EnableFrameColour(true);
    SetAllEdgeRanges();
    UpdateSizeText();
    return c.View();
}

ImageSizeView FramePage::OnFrameCustom() {
    PageView& view = c.mFrameView;
    c.mValues.frameMode = 2;
    view[kFrameCustom].checked = true;
    view[kFrameOff].checked = view[kFrameAuto].checked = false;
    SetSizePageForFrame();
    EnableFrameWidths(true);
    EnableFrameColour(true);
    SetAllEdgeRanges();
    UpdateSizeText();
    return c.View();
}

void FramePage::EnableFrameWidths(bool enable) {
    for (int id : {kFrameWidthsGroup, kLeftLabel, kTopLabel, kRightLabel, kBottomLabel, kLeftEdit, kTopEdit,
                   kRightEdit, kBottomEdit, kFrameUnitCombo})
        c.mFrameView[id].enabled = enable;
}

void FramePage::EnableFrameColour(bool enable) {
    PageView& view = c.mFrameView;
    for (int id : {kFrameColourGroup, kTransparentRadio, kColourRadio}) view[id].enabled = enable;
    view[kColourButton].enabled = enable && c.mValues.frameColoured != 0;
}

ImageSizeView FramePage::OnTransparent() {
    c.mValues.frameColoured = 0;
    c.mFrameView[kTransparentRadio].checked = true;
    c.mFrameView[kColourRadio].checked = false;
    c.mFrameView[kColourButton].enabled = false;
    return c.View();
}

ImageSizeView FramePage::OnColour() {
    c.mValues.frameColoured = 1;
    c.mFrameView[kTransparentRadio].checked = false;
    c.mFrameView[kColourRadio].checked = true;
    c.mFrameView[kColourButton].enabled = true;
    return c.View();
}

ImageSizeView FramePage::OnChooseColour() {
    if (SettingsDialogs* dialogs = HostService<SettingsDialogs>()) {
        if (std::optional<uint32_t> chosen = dialogs->ChooseColour(c.mValues.frameColour))
            c.mValues.frameColour = *chosen;
    }
    return c.View();
}

ImageSizeView FramePage::OnEdgeChange(int editId, const std::string& text) {
    c.mFrameView[editId].text = text;
    ReadFrameEdits();
    SetAllEdgeRanges();
    UpdateSizeText();
    return c.View();
}

ImageSizeView FramePage::OnUnitChange(int index) {
    ReadFrameEdits();
    c.mValues.frameUnit = index == 0 ? 1 : 2;
    c.mFrameView[kFrameUnitCombo].selection = c.mValues.frameUnit - 1;
    ShowFrameValues();
    SetAllEdgeRanges();
    return c.View();
}

ImageSizeView FramePage::OnSizeTextUnitChange(int index) {
    c.mValues.sizeLineUnit = index == 0 ? 1 : 2;
    c.mFrameView[kSizeLineUnitCombo].selection = c.mValues.sizeLineUnit - 1;
    UpdateSizeText();
    return c.View();
}

void FramePage::SetEdgeRange(FrameEdge edge) {
    static constexpr int kEdits[] = {kLeftEdit, kTopEdit, kRightEdit, kBottomEdit};
    c.mFrameView[kEdits[int(edge)]].range = EditRange{0, EdgeRoom(edge), c.mValues.frameUnit, 9};
}

// Each edge's range depends on the opposite one, so all four move together.
void FramePage::SetAllEdgeRanges() {
    for (FrameEdge edge : {FrameEdge::Left, FrameEdge::Top, FrameEdge::Right, FrameEdge::Bottom})
        SetEdgeRange(edge);
}

double FramePage::EdgeRoom(FrameEdge edge) const {
    const ImageSizeValues& v = c.mValues;
    const double f = v.frameUnit == 1 ? 1.0 : 25.4;
    const bool across = edge == FrameEdge::Left || edge == FrameEdge::Right;
    const double inner = (across ? v.innerWidth : v.innerHeight) * kMmPerUnit;
    int32_t opposite = 0;
    switch (edge) {
        case FrameEdge::Left: opposite = v.frame.right; break;
        case FrameEdge::Right: opposite = v.frame.left; break;
        case FrameEdge::Top: opposite = v.frame.bottom; break;
        case FrameEdge::Bottom: opposite = v.frame.top; break;
    }
    // Both edges together may fill what the inner side leaves of 15 m, no more.
    const double room = (kMaxSideMm - inner) / f - opposite * kMmPerUnit / f;
    return room > 0 ? room : 0.0;
}

LayoutPoint FramePage::GetOuterSize() const {
    const ImageSizeValues& v = c.mValues;
    // Saturated: a typed edge may be anything up to the edit's length.
    const auto sum = [](int64_t a, int64_t b, int64_t d) { return TruncToInt32(double(a + b + d)); };
    return {sum(v.innerWidth, v.frame.left, v.frame.right), sum(v.innerHeight, v.frame.top, v.frame.bottom)};
}

void FramePage::UpdateSizeText() {
    const ImageSizeValues& v = c.mValues;
    ControlView& line = c.mFrameView[kSizeLine];
    if (v.preset && v.sizeMethod != 1) {
        line.enabled = false;
        line.text.clear();
        return;
    }
    line.enabled = true;
    const LayoutPoint outer = GetOuterSize();
    if (v.sizeLineUnit == 1) {
        const double w = AtoF(FormatLengthInUnit(outer.x, 1, 360));
        const double h = AtoF(FormatLengthInUnit(outer.y, 1, 360));
        const std::string& mm = LoadString(IDS_UNIT_MM);
        line.text = MessageText(IDS_FRAME_SIZE_LINE_MM, {w, mm, h, mm});
    } else {
        const std::string& inch = LoadString(IDS_UNIT_INCH);
        line.text = MessageText(IDS_FRAME_SIZE_LINE_INCH, {outer.x * kInchPerUnit, inch, outer.y * kInchPerUnit, inch});
    }
}

}  // namespace vx::dialogs
