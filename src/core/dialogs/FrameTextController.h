#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/FrameTextRules.h"
#include "dialogs/FrameTextSample.h"
#include "model/LayoutTypes.h"

namespace vx {
class CImageObj;
class CLayoutSetting;
class UndoStore;
}

namespace vx::dialogs {

/// What the caption and the labels dialogs share: the edited item and edit mode, font,
/// size, side (with the other text's side disabled), alignment, upside-down switch,
/// colour and the sample. Only OK writes the items.
class FrameTextController {
public:
    enum Control : int {
        kFont = 1162,
        kSize = 1163,
        kColour = 3816,
        kPosition = 3817,
        kUpsideDown = 3818,
        kAlignLeft = 3823,
        kAlignCentre = 3824,
        kAlignRight = 3825,
        kSample = 3826,
    };
    enum class Kind { Caption, Labels };

    virtual ~FrameTextController() = default;

    void SetPreset(bool preset) { mPreset = preset; }
    bool IsPreset() const { return mPreset; }
    void SetLayout(CLayoutSetting* layout) { mLayout = layout; }

    /// Chooses the item and fills the view state; fontFaces are the font list's
    /// entries. A stored size of 0 or less becomes 1 in the item. False without an item.
    bool Init(const std::vector<std::string>& fontFaces);

    CImageObj* Item() const { return mItem; }
    int16_t EditMode() const { return mEditMode; }
    /// The window caption: the dialog's caption with "(Layout)" or "(Bild)".
    std::string Title(std::string_view caption) const { return TitleWithSuffix(caption, mPreset); }

    int FontIndex() const { return mFont; }
    int SizeIndex() const { return mSize; }
    int Position() const { return mPosition; }
    /// The side list entry the other text uses.
    int DisabledPosition() const { return mDisabled; }
    int Align() const { return mAlign; }
    bool UpsideDown() const { return mUpsideDown; }
    ColorRef Colour() const { return mColour; }

    void SelectFont(int index) { mFont = index; }
    void SelectSize(int index) { mSize = index; }
    /// The user chose side entry index; the result skips the other text's side.
    int ChoosePosition(int index);
    void SetAlign(int align) { mAlign = align; }
    void SetUpsideDown(bool on) { mUpsideDown = on; }
    void SetColour(ColorRef colour) { mColour = colour; }

    /// What the sample shows now.
    SampleLook Sample() const;

protected:
    FrameTextController(UndoStore& undo, Kind kind) : mUndo(undo), mKind(kind) {}

    /// Writes font, colour, side, size, upside-down and alignment into item, the side
    /// mapped back through the frame's turn (the caption and labels share this rule).
    void WriteLook(CImageObj& item) const;
    /// Runs write on the selected images (edit mode 3, then the first item is marked
    /// changed) or on the edited item alone.
    void ForEditedItems(const std::function<void(CImageObj& item, bool single)>& write);

    UndoStore& mUndo;
    Kind mKind;
    bool mPreset = false;
    CLayoutSetting* mLayout = nullptr;
    CImageObj* mItem = nullptr;
    int16_t mEditMode = 0;
    std::vector<std::string> mFaces;
    int mFont = -1, mSize = 0, mPosition = 0, mPrevious = 0, mDisabled = -1, mAlign = 0;
    bool mUpsideDown = false;
    ColorRef mColour = 0;
};

/// The caption dialog's logic.
class CaptionController : public FrameTextController {
public:
    explicit CaptionController(UndoStore& undo) : FrameTextController(undo, Kind::Caption) {}
    bool Init(const std::vector<std::string>& fontFaces);
    const std::string& Text() const { return mText; }
    void SetText(std::string text) { mText = std::move(text); }
    /// Writes the caption (undo code 34) and lays out; always closes.
    void OnOK();

private:
    std::string mText;
};

}  // namespace vx::dialogs
