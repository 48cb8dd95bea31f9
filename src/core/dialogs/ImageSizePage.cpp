#include <cmath>

#include "dialogs/ImageSizeController.h"
#include "dialogs/ImageSizeLimits.h"
#include "model/LengthUnits.h"
#include "platform/system/Numbers.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

int32_t Trunc(double v) { return TruncToInt32(v); }

std::string Percent(double percent) { return FormatFixed(percent, 1); }

// Ratio per mille from a typed percent.
int32_t PerMille(double percent) { return Trunc(percent * 10 + 0.05); }

}  // namespace

using SizePage = ImageSizeController::SizePage;

double SizePage::ToUnits(double typed) const {
    return typed * (c.mValues.sizeUnit == 1 ? kUnitsPerMmExact : kUnitsPerInch);
}

std::string SizePage::LengthText(double units) const {
    return c.mValues.sizeUnit == 1 ? FormatFixed(units * kMmPerUnit, 2) : FormatFixed(units * kInchPerUnit, 3);
}

void SizePage::ShowSize() {
    c.mSizeView[kWidthEdit].text = FormatLengthInUnit(c.mValues.innerWidth, c.mValues.sizeUnit, 360);
    c.mSizeView[kHeightEdit].text = FormatLengthInUnit(c.mValues.innerHeight, c.mValues.sizeUnit, 360);
}

void SizePage::ShowRatio() {
    c.mSizeView[kRatioWidthEdit].text = Percent(c.mValues.ratioWidth * 0.1);
    c.mSizeView[kRatioHeightEdit].text = Percent(c.mValues.ratioHeight * 0.1);
}

void SizePage::UpdateLinkIcons() {
    PageView& v = c.mSizeView;
    v[kDimensionsLink].checked = v[kKeepDimensions].checked && v[kDimensionsRadio].checked;
    v[kRatioLink].checked = v[kKeepRatio].checked && v[kRatioRadio].checked;
}

void SizePage::EnableDimensionsGroup(bool enable) {
    PageView& v = c.mSizeView;
    for (int id : {kDimensionsGroup, kWidthLabel, kHeightLabel, kWidthEdit, kHeightEdit, kSizeUnitCombo,
                   kKeepDimensions, kImageOptionsGroup, kImageOptionOff, kImageOptionFit, kImageOptionCrop})
        v[id].enabled = enable;
    v[kDimensionsLink].enabled = enable;
}

void SizePage::EnableRatioGroup(bool enable) {
    PageView& v = c.mSizeView;
    for (int id : {kRatioGroup, kRatioWidthLabel, kRatioHeightLabel, kRatioWidthPercent, kRatioHeightPercent,
                   kRatioWidthEdit, kRatioHeightEdit, kKeepRatio})
        v[id].enabled = enable;
    v[kRatioLink].enabled = enable;
}

void SizePage::SelectDimensions() {
    EnableDimensionsGroup(true);
    EnableRatioGroup(false);
    c.mValues.sizeMethod = 1;
    c.mSizeView[kDimensionsRadio].checked = true;
    c.mSizeView[kRatioRadio].checked = false;
    UpdateLinkIcons();
}

ImageSizeView SizePage::InitControls() {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    ShowSize();
    ShowRatio();
    // The check boxes first: choosing the method reads them.
    view[kKeepDimensions].checked = view[kKeepRatio].checked = v.keepProportions != 0;
    if (v.sizeMethod == 1) OnDimensions();
    else OnRatio();
    view[kRatioRadio].enabled = v.frameMode == 0 && (v.preset || c.UsesPrintSize());
    view[kImageOptionOff].checked = v.imageOption == 0;
    view[kImageOptionFit].checked = v.imageOption == 1;
    view[kImageOptionCrop].checked = v.imageOption == 2;
    view[kSizeUnitCombo].selection = v.sizeUnit - 1;
    mDimensionsAspect = mRatioAspect = 1.0;
    if (v.keepProportions) {
        if (v.innerWidth != 0 && v.innerHeight != 0) mDimensionsAspect = double(v.innerHeight) / v.innerWidth;
        if (v.ratioWidth != 0 && v.ratioHeight != 0) mRatioAspect = double(v.ratioHeight) / v.ratioWidth;
    }
    SetEditRanges();
    UpdateLinkIcons();
    return c.View();
}

ImageSizeView SizePage::OnDimensions() {
    SelectDimensions();
    ImageSizeValues& v = c.mValues;
    PageView& frame = c.mFrameView;
    frame[kFrameAuto].enabled = frame[kFrameCustom].enabled = true;
    c.mFrame.EnableFrameWidths(v.frameMode == 2);
    c.mFrame.EnableFrameColour(v.frameMode != 0);
    c.mFrame.UpdateSizeText();
    return c.View();
}

ImageSizeView SizePage::OnRatio() {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    EnableDimensionsGroup(false);
    EnableRatioGroup(true);
    v.sizeMethod = 2;
    view[kRatioRadio].checked = true;
    view[kDimensionsRadio].checked = false;
    if (!v.preset) {
        v.ratioWidth = PerMille(AtoF(view[kRatioWidthEdit].text));
        v.ratioHeight = PerMille(AtoF(view[kRatioHeightEdit].text));
        if (view[kKeepRatio].checked)
            mRatioAspect = v.ratioWidth != 0 && v.ratioHeight != 0 ? double(v.ratioHeight) / v.ratioWidth : 1.0;
    }
    // A frame goes only with dimensions: the ratio turns it off, as "Aus" does.
    PageView& frame = c.mFrameView;
    frame[kFrameOff].checked = true;
    frame[kFrameAuto].checked = frame[kFrameCustom].checked = false;
    frame[kFrameAuto].enabled = frame[kFrameCustom].enabled = false;
    v.frameMode = 0;
    v.frame = {};
    c.mFrame.ShowFrameValues();
    c.mFrame.EnableFrameWidths(false);
    c.mFrame.EnableFrameColour(false);
    c.mFrame.UpdateSizeText();
    UpdateLinkIcons();
    return c.View();
}

ImageSizeView SizePage::OnKeepProportionsDimensions(bool checked) {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    view[kKeepDimensions].checked = checked;
    if (!checked) {
        mDimensionsAspect = 1.0;
    } else {
        if (v.innerWidth == 0 || v.innerHeight == 0) {
            view[kKeepDimensions].checked = false;
            Messages().Show(IDS_KEEP_PROPORTIONS_ZERO, {}, Icon::Error, Buttons::Ok);
            return c.View();
        }
        mDimensionsAspect = double(v.innerHeight) / v.innerWidth;
        if (!v.preset && v.ratioWidth != 0 && v.ratioHeight != 0)
            mRatioAspect = double(v.ratioHeight) / v.ratioWidth;
    }
    // Per image the two boxes are one setting; the preset keeps them apart.
    if (!v.preset) view[kKeepRatio].checked = checked;
    v.keepProportions = checked ? 1 : 0;
    SetEditRanges();
    UpdateLinkIcons();
    return c.View();
}

ImageSizeView SizePage::OnKeepProportionsRatio(bool checked) {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    view[kKeepRatio].checked = checked;
    if (!checked) {
        mRatioAspect = 1.0;
    } else {
        if (v.ratioWidth == 0 || v.ratioHeight == 0) {
            view[kKeepRatio].checked = false;
            Messages().Show(IDS_KEEP_PROPORTIONS_ZERO, {}, Icon::Error, Buttons::Ok);
            return c.View();
        }
        mRatioAspect = double(v.ratioHeight) / v.ratioWidth;
        if (!v.preset && v.innerWidth != 0 && v.innerHeight != 0)
            mDimensionsAspect = double(v.innerHeight) / v.innerWidth;
    }
    if (!v.preset) view[kKeepDimensions].checked = checked;
    v.keepProportions = checked ? 1 : 0;
    SetEditRanges();
    UpdateLinkIcons();
    return c.View();
}

ImageSizeView SizePage::OnImageOption(int option) {
    c.mValues.imageOption = int16_t(option);
    c.mSizeView[kImageOptionOff].checked = option == 0;
    c.mSizeView[kImageOptionFit].checked = option == 1;
    c.mSizeView[kImageOptionCrop].checked = option == 2;
    return c.View();
}

ImageSizeView SizePage::OnUnitChange(int index) {
    c.mValues.sizeUnit = index == 0 ? 1 : 2;
    c.mSizeView[kSizeUnitCombo].selection = c.mValues.sizeUnit - 1;
    SetEditRanges();
    ShowSize();
    return c.View();
}

// Inner size changed by typing: the automatic frame and the size line follow.
void SizePage::AfterSizeChange() {
    if (c.mValues.frameMode == 1) {
        c.AutomaticFrame();
        c.mFrame.ShowFrameValues();
    }
    c.mFrame.SetAllEdgeRanges();
    c.mFrame.UpdateSizeText();
}

ImageSizeView SizePage::OnWidthChange(const std::string& text) {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    view[kWidthEdit].text = text;
    double w = ToUnits(AtoF(text));
    double h = ToUnits(AtoF(view[kHeightEdit].text));
    v.innerWidth = Trunc(w + 0.5);
    v.innerHeight = Trunc(h + 0.5);
    if (view[kKeepDimensions].checked) {
        h = w * mDimensionsAspect;
        if (h <= kMaxSideUnits) {
            v.innerHeight = Trunc(h + 0.5);
            view[kHeightEdit].text = LengthText(h);
        } else {
            w = kMaxSideUnits / mDimensionsAspect;
            h = kMaxSideUnits;
            v.innerWidth = Trunc(w + 0.5);
            v.innerHeight = Trunc(kMaxSideUnits);
            view[kHeightEdit].text = LengthText(kMaxSideUnits);
        }
    }
    if (c.UsesPrintSize()) {
        const LayoutPoint print = c.PrintSize();
        const double rw = w * 100 / print.x, rh = h * 100 / print.y;
        view[kRatioWidthEdit].text = Percent(rw);
        view[kRatioHeightEdit].text = Percent(rh);
        v.ratioWidth = Trunc(rw * 10);
        v.ratioHeight = Trunc(rh * 10);
    }
    AfterSizeChange();
    return c.View();
}

ImageSizeView SizePage::OnHeightChange(const std::string& text) {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    view[kHeightEdit].text = text;
    double w = ToUnits(AtoF(view[kWidthEdit].text));
    double h = ToUnits(AtoF(text));
    v.innerWidth = Trunc(w + 0.5);
    v.innerHeight = Trunc(h + 0.5);
    if (view[kKeepDimensions].checked) {
        w = h / mDimensionsAspect;
        if (w <= kMaxSideUnits) {
            v.innerWidth = Trunc(w + 0.5);
            view[kWidthEdit].text = LengthText(w);
        } else {
            w = kMaxSideUnits;
            h = mDimensionsAspect * kMaxSideUnits;
            v.innerWidth = Trunc(kMaxSideUnits);
            v.innerHeight = Trunc(h + 0.5);
            view[kWidthEdit].text = LengthText(kMaxSideUnits);
        }
    }
    if (c.UsesPrintSize()) {
        const LayoutPoint print = c.PrintSize();
        const double rw = w * 100 / print.x, rh = h * 100 / print.y;
        view[kRatioWidthEdit].text = Percent(rw);
        view[kRatioHeightEdit].text = Percent(rh);
        v.ratioWidth = Trunc(rw * 10);
        v.ratioHeight = Trunc(rh * 10);
    }
    AfterSizeChange();
    return c.View();
}

ImageSizeView SizePage::OnRatioWidthChange(const std::string& text) {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    view[kRatioWidthEdit].text = text;
    double rw = AtoF(text), rh = AtoF(view[kRatioHeightEdit].text);
    v.ratioWidth = PerMille(rw);
    v.ratioHeight = PerMille(rh);
    if (view[kKeepRatio].checked) {
        rh = rw * mRatioAspect;
        if (rh > mRatioHeightMax) {
            rh = mRatioHeightMax;
            rw = mRatioHeightMax / mRatioAspect;
            v.ratioWidth = PerMille(rw);
        }
        v.ratioHeight = PerMille(rh);
        view[kRatioHeightEdit].text = Percent(rh);
    }
    if (c.UsesPrintSize()) {
        const LayoutPoint print = c.PrintSize();
        v.innerWidth = Trunc(print.x * rw * 0.01);
        v.innerHeight = Trunc(print.y * rh * 0.01);
        ShowSize();
    }
    AfterSizeChange();
    return c.View();
}

ImageSizeView SizePage::OnRatioHeightChange(const std::string& text) {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    view[kRatioHeightEdit].text = text;
    double rw = AtoF(view[kRatioWidthEdit].text), rh = AtoF(text);
    v.ratioWidth = PerMille(rw);
    v.ratioHeight = PerMille(rh);
    if (view[kKeepRatio].checked) {
        rw = rh / mRatioAspect;
        if (rw > mRatioWidthMax) {
            rw = mRatioWidthMax;
            rh = mRatioWidthMax * mRatioAspect;
            v.ratioHeight = PerMille(rh);
        }
        v.ratioWidth = PerMille(rw);
        view[kRatioWidthEdit].text = Percent(rw);
    }
    if (c.UsesPrintSize()) {
        const LayoutPoint print = c.PrintSize();
        v.innerWidth = Trunc(print.x * rw * 0.01);
        v.innerHeight = Trunc(print.y * rh * 0.01);
        ShowSize();
    }
    AfterSizeChange();
    return c.View();
}

void SizePage::SetEditRanges() {
    ImageSizeValues& v = c.mValues;
    PageView& view = c.mSizeView;
    const bool mm = v.sizeUnit == 1;
    const double longest = mm ? kMaxSideMm : kMaxSideInch;
    double maxWidth = longest, maxHeight = longest;
    const double aspect = mDimensionsAspect;
    if (view[kKeepDimensions].checked && aspect != 1.0) {
        if (aspect < 1.0) maxHeight = longest * aspect;
        else maxWidth = mm ? kMaxSideMm / aspect : (kMaxSideMm / aspect) * 0.03937007874015748;
    }
    view[kWidthEdit].range = EditRange{0, maxWidth, v.sizeUnit, 9};
    view[kHeightEdit].range = EditRange{0, maxHeight, v.sizeUnit, 9};

    if (!c.UsesPrintSize()) {
        mRatioWidthMax = mRatioHeightMax = 1500;
        view[kRatioWidthEdit].range = view[kRatioHeightEdit].range = EditRange{0, 1500, 1, 9};
        return;
    }
    const LayoutPoint print = c.PrintSize();
    const double unitsPer = mm ? kUnitsPerMmExact : kUnitsPerInch;
    mRatioWidthMax = std::floor(maxWidth * unitsPer * 100 / print.x * 10) * 0.1;
    mRatioHeightMax = std::floor(maxHeight * unitsPer * 100 / print.y * 10) * 0.1;
    view[kRatioWidthEdit].range = EditRange{0, mRatioWidthMax, 5, 9};
    view[kRatioHeightEdit].range = EditRange{0, mRatioHeightMax, 5, 9};
}

bool SizePage::Validate(ImageSizeView& view) {
    const ImageSizeValues& v = c.mValues;
    const auto refuse = [&view](int control) {
        view.focus = control;
        view.selectAll = true;
        return false;
    };
    if (v.sizeMethod == 1) {
        // Both ends of 10 mm .. 15 m: a side past 15 m cannot be laid out either.
        const auto outside = [](int32_t units) {
            const double mm = units * kMmPerUnit;
            return mm < kMinSideMm || mm > kMaxSideMm;
        };
        for (auto [value, control] : {std::pair{v.innerWidth, kWidthEdit}, std::pair{v.innerHeight, kHeightEdit}}) {
            if (outside(value)) {
                ShowValueRangeError(v.sizeUnit, kMinSideUnits, kMaxSideUnits);
                return refuse(control);
            }
        }
        return true;
    }
    if (v.sizeMethod != 2) return true;
    if (!c.UsesPrintSize()) {
        for (auto [value, control] :
             {std::pair{v.ratioWidth, kRatioWidthEdit}, std::pair{v.ratioHeight, kRatioHeightEdit}}) {
            if (value < 10 || value > 15000) {
                ShowValueRangeError(5, 1.0, 1500.0);
                return refuse(control);
            }
        }
        return true;
    }
    const LayoutPoint print = c.PrintSize();
    for (auto [value, side, control] : {std::tuple{v.ratioWidth, print.x, kRatioWidthEdit},
                                        std::tuple{v.ratioHeight, print.y, kRatioHeightEdit}}) {
        const double mm = value * double(side) * 0.001 * kMmPerUnit;
        if (mm < kMinSideMm || mm > kMaxSideMm) {
            const double minimum = std::ceil((14173.228346456694 / side + 0.05) * 10) * 0.1;
            const double maximum = std::floor((21259842.51968504 / side + 0.05) * 10) * 0.1;
            ShowValueRangeError(5, minimum, maximum);
            return refuse(control);
        }
    }
    return true;
}

}  // namespace vx::dialogs
