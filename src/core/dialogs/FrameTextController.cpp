#include "dialogs/FrameTextController.h"

#include "host/PrintSettingsPane.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageLabels.h"
#include "model/Relayout.h"
#include "model/RotationMap.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

constexpr uint16_t kUndoCodeCaption = 34;

// The item's values of one kind of frame text.
struct Look {
    std::string face;
    ColorRef colour;
    int location, otherLocation, align;
    bool upsideDown;
    int16_t size;
    bool sizeAuto;
};

Look ReadLook(const CImageObj& item, FrameTextController::Kind kind) {
    if (kind == FrameTextController::Kind::Caption)
        return {item.GetCaptionFontName(), item.GetCaptionFontColor(), item.GetCaptionLocation(),
                item.GetLabelLocation(),   item.GetCaptionAlign(),     item.GetCaptionUpsideDown() != 0,
                item.GetCaptionFontSize(), item.GetCaptionFontSizeAuto() != 0};
    return {item.GetLabelFontName(), item.GetLabelFontColor(), item.GetLabelLocation(),
            item.GetCaptionLocation(), item.GetLabelAlign(),    item.GetLabelUpsideDown() != 0,
            item.GetLabelFontSize(), item.GetLabelFontSizeAuto() != 0};
}

}  // namespace

bool FrameTextController::Init(const std::vector<std::string>& fontFaces) {
    const EditedImage edited = ChooseEditedImage(*mLayout, mPreset);
    mItem = edited.item;
    mEditMode = edited.editMode;
    if (!mItem) return false;
    mFaces = fontFaces;
    const Look look = ReadLook(*mItem, mKind);
    mFont = FontIndexFor(mFaces, look.face);
    if (look.size <= 0) {
        if (mKind == Kind::Caption) mItem->SetCaptionFontSize(1);
        else mItem->SetLabelFontSize(1);
    }
    mSize = FontSizeIndex(look.size <= 0 ? 1 : look.size, look.sizeAuto);
    mColour = look.colour;
    mAlign = look.align == 1 || look.align == 2 ? look.align : 0;
    const int turn = mItem->GetFrameRotate();
    mPosition = mPrevious = MapRotation(turn, look.location);
    mDisabled = MapRotation(turn, look.otherLocation);
    mUpsideDown = look.upsideDown;
    return true;
}

int FrameTextController::ChoosePosition(int index) {
    mPosition = SkipDisabledSide(index, mPrevious, mDisabled);
    mPrevious = mPosition;
    return mPosition;
}

SampleLook FrameTextController::Sample() const {
    SampleLook s;
    s.side = mPosition;
    s.upsideDown = mUpsideDown;
    s.align = mAlign;
    s.textColour = mColour;
    if (mItem && mItem->GetFrameColor()) s.frameColour = mItem->GetFrameColorValue();
    s.text = LoadString(mKind == Kind::Caption ? IDS_SAMPLE_CAPTION : IDS_SAMPLE_LABELS);
    return s;
}

void FrameTextController::WriteLook(CImageObj& item) const {
    const std::string face = mFont >= 0 && size_t(mFont) < mFaces.size() ? mFaces[size_t(mFont)] : std::string();
    const int16_t side = int16_t(mPosition);
    const bool automatic = mSize == 0;
    const int16_t points = int16_t(FontSizePoints(mSize) * 5);
    const int16_t stored = int16_t(MapRotationInverse(item.GetFrameRotate(), mPosition));
    if (mKind == Kind::Caption) {
        item.SetCaptionFontName(face);
        item.SetCaptionFontColor(mColour);
        item.SetCaptionLocation(side);
        item.SetCaptionFontSize(automatic ? AutoFontSizeForSide(item, side, item.GetCaptionFontSize()) : points);
        item.SetCaptionFontSizeAuto(automatic ? 1 : 0);
        item.SetCaptionUpsideDown(mUpsideDown ? 1 : 0);
        item.SetCaptionAlign(int16_t(mAlign));
        item.SetCaptionLocation(stored);
    } else {
        item.SetLabelFontName(face);
        item.SetLabelFontColor(mColour);
        item.SetLabelLocation(side);
        item.SetLabelFontSize(automatic ? AutoFontSizeForSide(item, side, item.GetLabelFontSize()) : points);
        item.SetLabelFontSizeAuto(automatic ? 1 : 0);
        item.SetLabelUpsideDown(mUpsideDown ? 1 : 0);
        item.SetLabelAlign(int16_t(mAlign));
        item.SetLabelLocation(stored);
    }
}

void FrameTextController::ForEditedItems(const std::function<void(CImageObj&, bool)>& write) {
    if (mEditMode != 3) {
        if (mItem) write(*mItem, true);
        return;
    }
    for (CLayoutObj* p = mLayout->GetFirstItem(); p; p = p->NextItem())
        if (p->GetSelected() && p->GetKind() == kKindImage) write(static_cast<CImageObj&>(*p), false);
    if (mLayout->GetFirstItem()) mLayout->GetFirstItem()->SetChanged(1);
}

bool CaptionController::Init(const std::vector<std::string>& fontFaces) {
    if (!FrameTextController::Init(fontFaces)) return false;
    mText = mItem->GetCaptionText();
    return true;
}

void CaptionController::OnOK() {
    mUndo.PushUndo(*mLayout, kUndoCodeCaption);
    ForEditedItems([&](CImageObj& item, bool single) {
        item.SetCaptionText(mText);
        WriteLook(item);
        if (single && mEditMode == 2) item.SetChanged(1);
    });
    if (mLayout->GetViewState()) {  // the layout of an open document
        Relayout(*mLayout);
        InvalidateMainFormView();
    }
    mLayout->SetDirty(1);
}

}  // namespace vx::dialogs
