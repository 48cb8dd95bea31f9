#include "platform/driver/PageGeometry.h"

#include <algorithm>

namespace vx {
namespace {

int ToPixels(int64_t tenthsMm, int resolution) {
    return static_cast<int>((tenthsMm * resolution + 127) / 254);
}

}  // namespace

Margins CurrentMargins(const PrinterModel& model, const PrinterSettings& s) {
    const ModelSource* source = model.Source(s.source);
    if (!source) return {};
    Margins m = (s.layoutFlags & kFlagMaximumArea) ? source->maximum : source->standard;
    if ((s.layoutFlags & kFlagCentred) || s.centring) m.top = m.bottom = std::max(m.top, m.bottom);
    return m;
}

PaperRecord CurrentPaper(const PrinterModel& model, const PrinterSettings& s) {
    const ModelPaper* paper = model.Paper(s.paper);
    if (!paper) return {};
    Margins m = CurrentMargins(model, s);
    int32_t w = paper->width, h = paper->height;
    if (s.orientation == 2) {
        std::swap(w, h);
        m = Margins{m.top, m.right, m.bottom, m.left};
    }
    return PaperRecord{w, h, w - m.left - m.right, h - m.top - m.bottom, m.left, m.top, paper->id};
}

DeviceCaps CurrentDeviceCaps(const PrinterModel& model, const PrinterSettings& s) {
    const PaperRecord p = CurrentPaper(model, s);
    const ModelSource* source = model.Source(s.source);
    const int64_t overspray = source && source->borderless ? source->overspray : 0;
    const int res = model.resolution;
    DeviceCaps caps;
    caps.logPixelsX = caps.logPixelsY = res;
    caps.physicalWidth = ToPixels(p.width + 2 * overspray, res);
    caps.physicalHeight = ToPixels(p.height + 2 * overspray, res);
    caps.physicalOffsetX = ToPixels(p.left, res);
    caps.physicalOffsetY = ToPixels(p.top, res);
    const int right = ToPixels(p.width - p.printableWidth - p.left, res);
    const int bottom = ToPixels(p.height - p.printableHeight - p.top, res);
    caps.printableWidth = caps.physicalWidth - caps.physicalOffsetX - right;
    caps.printableHeight = caps.physicalHeight - caps.physicalOffsetY - bottom;
    return caps;
}

}  // namespace vx
