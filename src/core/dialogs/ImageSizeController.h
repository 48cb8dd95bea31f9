#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/DialogView.h"
#include "model/LayoutTypes.h"

namespace vx {
class CImageObj;
class CLayoutSetting;
class UndoStore;
}  // namespace vx

namespace vx::dialogs {

/// Control ids of the image size dialog and its two pages.
enum ImageSizeControl : int {
    kTabControl = 3564,
    // size page
    kDimensionsRadio = 3796,
    kRatioRadio = 3797,
    kDimensionsGroup = 3806,
    kDimensionsLink = 3576,
    kWidthLabel = 3807,
    kHeightLabel = 3808,
    kWidthEdit = 1074,
    kHeightEdit = 1075,
    kSizeUnitCombo = 3810,
    kKeepDimensions = 3814,
    kImageOptionsGroup = 3809,
    kImageOptionOff = 3823,
    kImageOptionFit = 3824,
    kImageOptionCrop = 3825,
    kRatioGroup = 3811,
    kRatioLink = 3805,
    kRatioWidthLabel = 3812,
    kRatioHeightLabel = 3813,
    kRatioWidthEdit = 1076,
    kRatioHeightEdit = 1077,
    kRatioWidthPercent = 3821,
    kRatioHeightPercent = 3822,
    kKeepRatio = 3599,
    // frame page
    kFrameOff = 3800,
    kFrameAuto = 3801,
    kFrameCustom = 3711,
    kFrameWidthsGroup = 3815,
    kLeftLabel = 3816,
    kTopLabel = 3817,
    kRightLabel = 3818,
    kBottomLabel = 3819,
    kLeftEdit = 1148,
    kTopEdit = 1149,
    kRightEdit = 1151,
    kBottomEdit = 1150,
    kFrameUnitCombo = 3820,
    kFrameColourGroup = 3907,
    kTransparentRadio = 3803,
    kColourRadio = 3804,
    kColourButton = 3824,
    kSizeLine = 3904,
    kSizeLineUnitCombo = 1019,
};

enum class FrameEdge { Left, Top, Right, Bottom };

/// The working values of the dialog, shared by both pages; written to items only by OK.
struct ImageSizeValues {
    int16_t imageOption = 0;  // 0 off, 1 fit, 2 crop
    int16_t sizeUnit = 1;     // 1 mm, 2 inch
    int16_t frameMode = 0;    // 0 off, 1 automatic, 2 custom
    int16_t frameUnit = 1;
    int32_t keepProportions = 0;
    int16_t sizeMethod = 1;   // 1 dimensions, 2 ratio
    int32_t innerWidth = 0;   // 1/360 inch, without the frame
    int32_t innerHeight = 0;
    int32_t ratioWidth = 1000;  // per mille of the print size
    int32_t ratioHeight = 1000;
    int16_t selectionKind = 0;  // the item's `mType`, 3 for several images
    int32_t frameColoured = 0;
    ColorRef frameColour = 0;
    LayoutRect frame{};
    bool preset = false;
    int16_t sizeLineUnit = 1;
};

/// What both pages show after a handler, and where the focus goes (tab and control;
/// none when control is 0).
struct ImageSizeView {
    PageView size;
    PageView frame;
    int tab = -1;
    int focus = 0;
    bool selectAll = false;
};

/// The image size and frame dialog without its windows: the working values, both pages'
/// controls and their handlers, the checks and what OK writes. The window side feeds it
/// user input and shows the view each handler returns; program writes raise no events,
/// so the handlers run for the user only.
class ImageSizeController {
public:
    /// The size page's handlers ("Größe").
    class SizePage {
    public:
        ImageSizeView InitControls();
        ImageSizeView OnDimensions();
        ImageSizeView OnRatio();
        ImageSizeView OnKeepProportionsDimensions(bool checked);
        ImageSizeView OnKeepProportionsRatio(bool checked);
        ImageSizeView OnImageOption(int option);
        ImageSizeView OnUnitChange(int index);
        ImageSizeView OnWidthChange(const std::string& text);
        ImageSizeView OnHeightChange(const std::string& text);
        ImageSizeView OnRatioWidthChange(const std::string& text);
        ImageSizeView OnRatioHeightChange(const std::string& text);
        /// The ranges of the four edits from the unit, the proportions and the print size.
        void SetEditRanges();
        /// The OK checks of the size; false after a message, with the focus request set.
        bool Validate(ImageSizeView& view);

    private:
        friend class ImageSizeController;
        explicit SizePage(ImageSizeController& owner) : c(owner) {}
        void ShowSize();
        void ShowRatio();
        void EnableDimensionsGroup(bool enable);
        void EnableRatioGroup(bool enable);
        void UpdateLinkIcons();
        void SelectDimensions();
        double ToUnits(double typed) const;
        std::string LengthText(double units) const;
        void AfterSizeChange();

        ImageSizeController& c;
        double mDimensionsAspect = 1.0;
        double mRatioAspect = 1.0;
        double mRatioWidthMax = 1500;
        double mRatioHeightMax = 1500;
    };

    /// The frame page's handlers ("Rahmen").
    class FramePage {
    public:
        ImageSizeView InitControls();
        ImageSizeView OnFrameOff();
        ImageSizeView OnFrameAuto();
        ImageSizeView OnFrameCustom();
        void EnableFrameWidths(bool enable);
        void EnableFrameColour(bool enable);
        ImageSizeView OnTransparent();
        ImageSizeView OnColour();
        /// Asks the process's colour dialog (SettingsDialogs::ChooseColour).
        ImageSizeView OnChooseColour();
        ImageSizeView OnEdgeChange(int editId, const std::string& text);
        ImageSizeView OnUnitChange(int index);
        ImageSizeView OnSizeTextUnitChange(int index);
        void SetEdgeRange(FrameEdge edge);
        /// How far an edge may grow, in the frame unit, before image plus frame pass 15 m.
        double EdgeRoom(FrameEdge edge) const;
        LayoutPoint GetOuterSize() const;
        void UpdateSizeText();
        void ShowFrameValues();

    private:
        friend class ImageSizeController;
        explicit FramePage(ImageSizeController& owner) : c(owner) {}
        void ReadFrameEdits();
        void SetAutomaticEdges();
        void SetSizePageForFrame();
        void SetAllEdgeRanges();

        ImageSizeController& c;
    };

    ImageSizeController();
    ImageSizeController(const ImageSizeController&) = delete;
    ImageSizeController& operator=(const ImageSizeController&) = delete;

    /// Fills the working values from layout: with preset its "BaseImage"; else the
    /// current item when it is a selected image, else the first selected image, else
    /// "BaseImage". preferenceUnit is the size line's unit. False without any item.
    bool LoadFromLayout(CLayoutSetting& layout, bool preset, int16_t preferenceUnit);

    SizePage& Size() { return mSize; }
    FramePage& Frame() { return mFrame; }
    const ImageSizeValues& Values() const { return mValues; }
    const CImageObj* Item() const { return mItem; }
    /// "(Layout)" or "(Bild)", appended to the dialog's title.
    std::string TitleSuffix() const;
    /// Both pages as they are now.
    ImageSizeView View() const;

    /// OK: checks, takes the undo entry (code 159; the prototype clears it instead) and
    /// writes the items. False keeps the dialog open: view then holds the tab and the
    /// control to focus (none when the undo entry could not be made).
    bool OnOK(UndoStore& undo, ImageSizeView& view);

private:
    bool UsesPrintSize() const;
    LayoutPoint PrintSize() const;
    void AutomaticFrame();
    void WriteItem(CImageObj& item, bool several);

    ImageSizeValues mValues;
    CLayoutSetting* mLayout = nullptr;
    CImageObj* mItem = nullptr;
    PageView mSizeView;
    PageView mFrameView;
    SizePage mSize{*this};
    FramePage mFrame{*this};
};

}  // namespace vx::dialogs
