#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/CLayoutObj.h"
#include "model/CObjNode.h"
#include "model/ItemFactory.h"
#include "model/LayoutTypes.h"
#include "model/ViewStateBlock.h"

namespace vx {

class CImageObj;
template <class R> class PropertyTable;
template <class R> struct PropertyEntry;

/// How a layout property is copied and listed (see CLayoutSetting::CopyFrom).
enum class LayoutPropertyRule : uint8_t {
    Copied,
    Local,     // the target's own screen and printer setting: a local-keeping copy leaves it
    Unlisted,  // Access answers it, but the layout lists no member for it
    Margin,    // the layout margins: read and copied normalised (GetLayoutAreaMargin)
};

// The named properties of a layout in declaration order (the order of Access and
// InitPropertyNames): value type, name without the "m", default, rule. COUNT names are
// read-only counts of the selected items at the moment of reading. Each PROP has a
// typed getter Get<Name> and a one-line setter Set<Name> that stores exactly its field.
#define VX_LAYOUT_SETTING_PROPERTIES(PROP, COUNT)                 \
    PROP(Short, Type, 0, Copied)                                  \
    COUNT(Selected) /* selected image items */                    \
    COUNT(Other)    /* selected items of other kinds */           \
    PROP(Short, Orientation, 0, Copied)                           \
    PROP(Short, PaperSize, 0, Copied)                             \
    PROP(Long, PaperLength, 0, Copied)                            \
    PROP(Long, PaperWidth, 0, Copied)                             \
    PROP(Short, DefaultSource, 0, Copied)                         \
    PROP(Long, MediaType, 0, Copied)                              \
    PROP(Short, AutoMode, 0, Copied)                              \
    PROP(Short, Color, 0, Copied) /* 2: colour, else grey */      \
    PROP(Short, PrintableArea, 0, Copied)                         \
    PROP(Flag, Centered, 0, Copied)                               \
    PROP(Flag, HighSpeed, 0, Copied)                              \
    PROP(Flag, NoMargins, 0, Copied)                              \
    PROP(Short, BackDefaultSource, 0, Copied)                     \
    PROP(Flag, Banner, 0, Copied)                                 \
    PROP(Long, BannerLength, 0, Copied)                           \
    PROP(Long, PageNum, 0, Copied) /* banner pages */             \
    PROP(Point, Paper, 0, Copied)  /* 1/360 inch */               \
    PROP(Rect, Page, 0, Copied)                                   \
    PROP(Rect, Margin, 0, Copied) /* printer margins */           \
    PROP(Flag, MarginShow, 0, Local)                              \
    PROP(Flag, LayoutMarginShow, 0, Local)                        \
    PROP(Flag, PaperSetup, 0, Copied)                             \
    PROP(Flag, PaperOrient, 0, Copied)                            \
    PROP(Short, PaperMenu, 0, Copied)                             \
    PROP(Short, Unit, 0, Local)                                   \
    PROP(Long, KeyMove, 0, Copied)                                \
    PROP(Flag, Free, 0, Copied)                                   \
    PROP(Point, Align, 0, Copied)                                 \
    PROP(Point, Space, 0, Copied)                                 \
    PROP(Short, VerticalAlign, 0, Copied)                         \
    PROP(Flag, HeaderShow, 0, Copied)                             \
    PROP(Short, HeaderOffset, 0, Copied)                          \
    PROP(Flag, HeaderText, 0, Copied)                             \
    PROP(Flag, HeaderPrintInfo, 0, Copied)                        \
    PROP(Flag, HeaderDatePage, 0, Copied)                         \
    PROP(Flag, HeaderUseFixedDate, 0, Copied)                     \
    PROP(Short, HeaderFixedDate_Year, 0, Copied)                  \
    PROP(Short, HeaderFixedDate_Month, 0, Copied)                 \
    PROP(Short, HeaderFixedDate_Day, 0, Copied)                   \
    PROP(Flag, FooterShow, 0, Copied)                             \
    PROP(Short, FooterOffset, 0, Copied)                          \
    PROP(Flag, FooterText, 0, Copied)                             \
    PROP(Flag, FooterPrintInfo, 0, Copied)                        \
    PROP(Flag, FooterDatePage, 0, Copied)                         \
    PROP(Flag, FooterUseFixedDate, 0, Copied)                     \
    PROP(Short, FooterFixedDate_Year, 0, Copied)                  \
    PROP(Short, FooterFixedDate_Month, 0, Copied)                 \
    PROP(Short, FooterFixedDate_Day, 0, Copied)                   \
    PROP(Short, HeaderFooterLineHeight, 0, Copied)                \
    PROP(Short, HeaderFooterJustify, 0, Copied)                   \
    PROP(Flag, HeaderFooterFontSizeAuto, 0, Copied)               \
    PROP(Short, HeaderFooterLineHeightPercent, 0, Copied)         \
    PROP(Short, CutterLine, 0, Copied)                            \
    PROP(Short, CutterMargin, 0, Copied)                          \
    PROP(Short, ColorProfRGB, 0, Copied)                          \
    PROP(Short, ColorIntentRGB, 0, Copied)                        \
    PROP(Flag, ColorEmbedRGB, 0, Copied)                          \
    PROP(Short, ColorProof, 0, Copied)                            \
    PROP(Short, ColorProfSimulation, 0, Copied)                   \
    PROP(Short, ColorIntentSimulation, 0, Copied)                 \
    PROP(Short, ColorProfDisplay, 0, Local)                       \
    PROP(Short, ColorMatchPrinter, 0, Local)                      \
    PROP(Flag, Recommend, 1, Local)                               \
    PROP(Short, PageNumber, 0, Copied) /* page count */           \
    PROP(Short, PageMax, 0, Copied)                               \
    PROP(Flag, Dirty, 0, Copied)                                  \
    PROP(Flag, Template, 0, Copied)                               \
    PROP(Flag, Zel, 0, Copied)                                    \
    PROP(Long, PrinterT_RGB, 0, Unlisted)                         \
    PROP(Short, AutoRotate, 0, Copied)                            \
    PROP(Flag, PreProcessing, 0, Copied)                          \
    PROP(Flag, Relative, 0, Copied)                               \
    PROP(Point, UserDefinePaper, 0, Copied)                       \
    PROP(Flag, LayoutAreaMode, 0, Copied)                         \
    PROP(Rect, LayoutAreaMgn, 0, Margin) /* layout margins */     \
    PROP(Flag, ImageStampInUse, 0, Copied)                        \
    PROP(Flag, ImageStampSettings, 0, Copied)                     \
    PROP(Point, ImageStampPosition, 0, Copied)                    \
    PROP(Point, ImageStampSize, 0, Copied)                        \
    PROP(Flag, ImageStampConstrainPropotion, 0, Copied)           \
    PROP(Flag, SaveTemplateWithImages, 0, Copied)                 \
    PROP(Flag, SelectedTemplateIndex, 0, Copied) /* an index */   \
    PROP(Flag, SavedLayout, 0, Copied)                            \
    PROP(Flag, SavedTemplate, 0, Copied)

/// Texts and names of a layout that have no property name (UTF-8).
struct LayoutTexts {
    std::string printerModel;
    std::string paperSizeName;
    std::string mediaTypeName;
    std::string paperSourceName;
    std::string genreName;            // built-in template category key
    std::string outputImageFormName;  // template image mask
    std::string ownTemplateName;      // user categories of a template
    std::string comment;
    std::string userPresetName;
    std::string printerName;
    std::string headerText;
    std::string extraText1;
    std::string footerText;
    std::string extraText2;
    std::string extraText3;
    std::string imageStampPath;
    std::string documentPath;      // the layout's file path
    std::string localText;         // kept by local-keeping copies
    std::string rgbSourceProfile;  // ICC profile descriptions
    std::string printerProfile;    // local
    std::string monitorProfile;    // local
    std::string simulationProfile;
    friend bool operator==(const LayoutTexts&, const LayoutTexts&) = default;
};

/// The layout's cut-line values (no property names).
struct CutLineSettings {
    int16_t mode = 0;      // 0 none, 1 "Fotoba", 2 "Others"
    int16_t markType = 0;  // of "Others": 1 around the image, 2 at the corners
    int32_t cornerLength = 0;
    int32_t cornerPosition = 0;
    ColorRef color = 0;
    friend bool operator==(const CutLineSettings&, const CutLineSettings&) = default;
};

/// The record of one layout: printer, paper and page settings as named properties, the
/// texts without names, the owned item list with its current item, the "BaseImage" and
/// "StampImage" prototypes and the ViewStateBlock. Deleting it deletes its children.
class CLayoutSetting : public CObjNode {
public:
    /// All values 0 or empty except `mRecommend` 1 and input resolution 360.
    explicit CLayoutSetting(bool newId);
    ~CLayoutSetting() override;

    bool Access(std::string_view name, bool write, PropertyValue& value) override;
    /// The 86 named members, then "mNext".
    std::vector<CPropertyMember> InitPropertyNames() override;

    /// Deletes the ViewStateBlock, both prototypes and every item (last first); the
    /// current item becomes null.
    void FreeChildren();

    /// Copies settings, never children: the link when copyLink; the texts; with
    /// keepLocal the target keeps its local view and output settings (rule Local and
    /// the local, printer-profile and monitor-profile texts); with freeFirst the
    /// target's children are freed. The input resolution is never copied. Strong
    /// guarantee: when a text copy throws, the target is unchanged.
    void CopyFrom(const CLayoutSetting& source, bool copyLink, bool freeFirst, bool keepLocal);

    /// Makes this layout a full copy of source keeping its local settings: settings,
    /// the ViewStateBlock's values (into this layout's block, made when missing; kept
    /// when source has none), prototypes, and with withItems every item in order with
    /// the copy of source's current item as current item. With keepIds the copies keep
    /// source's object ids, else they have id 0. withImageData: image items also take
    /// their source's image data. The children are built aside first: when anything
    /// throws (std::bad_alloc), this layout is as it was. A copy from itself does nothing.
    void CopyDeep(const CLayoutSetting& source, bool withItems, bool keepIds, bool withImageData,
                  const ItemFactory& factory = DefaultItemFactory());

    /// Puts a snapshot back without re-creating items: settings (local ones kept), the
    /// ViewStateBlock's values, "BaseImage" (made when missing), each item of the same
    /// object id copied from source's, then items at or beyond source's item count whose
    /// id source lacks are deleted (after each deletion the whole list is examined
    /// again); "StampImage" when both have one. Copied items keep this layout as owner.
    /// A copy from itself does nothing. A block or "BaseImage" that cannot be made
    /// leaves the layout as it was; a later failure leaves it consistent, partly synced.
    void SyncFrom(const CLayoutSetting& source);

    /// The layout margins, raised edge by edge to the printer margins, or the printer
    /// margins when the usable width or height (less shown header and footer) would
    /// fall below 142 units; the result is stored.
    LayoutRect GetLayoutAreaMargin();

    LayoutTexts& Texts() { return mTexts; }
    const LayoutTexts& Texts() const { return mTexts; }
    FontSpec& HeaderFooterFont() { return mHeaderFooterFont; }
    const FontSpec& HeaderFooterFont() const { return mHeaderFooterFont; }
    CutLineSettings& CutLine() { return mCutLine; }
    const CutLineSettings& CutLine() const { return mCutLine; }
    ColorRef GetPaperColor() const { return mPaperColor; }
    void SetPaperColor(ColorRef c) { mPaperColor = c; }
    /// Pixels per inch at which pages are rendered for printing.
    int32_t GetInputResolution() const { return mInputResolution; }
    void SetInputResolution(int32_t ppi) { mInputResolution = ppi; }

    /// The item list's head, for the list operations (ObjectList.h); the layout owns
    /// every item linked from it. Code that adds an item sets its owner.
    CLayoutObj** ItemListHead() { return &mItems; }
    CLayoutObj* const* ItemListHead() const { return &mItems; }
    CLayoutObj* GetFirstItem() const { return mItems; }
    /// An item of the list or null; not owned.
    CLayoutObj* GetCurrentItem() const { return mCurrentItem; }
    void SetCurrentItem(CLayoutObj* item) { mCurrentItem = item; }

    CImageObj* GetBaseImage() const { return mBaseImage.get(); }
    CImageObj* GetStampImage() const { return mStampImage.get(); }
    /// Replace a prototype (null removes it); the layout becomes its owner.
    void SetBaseImage(std::unique_ptr<CImageObj> image);
    void SetStampImage(std::unique_ptr<CImageObj> image);

    ViewStateBlock* GetViewState() const { return mViewState.get(); }
    /// Replaces the ViewStateBlock by a fresh one owned by this layout.
    ViewStateBlock& RenewViewState();
    /// Frees the ViewStateBlock; the layout has none afterwards.
    void FreeViewState() { mViewState.reset(); }

#define VX_LAYOUT_ACCESSORS(Type, Name, Default, Rule)                             \
    PropertyCType<ValueType::Type> Get##Name() const { return m##Name; }          \
    void Set##Name(PropertyCType<ValueType::Type> v) { m##Name = v; }
#define VX_LAYOUT_COUNT_GETTER(Name) int32_t Get##Name() const;
    VX_LAYOUT_SETTING_PROPERTIES(VX_LAYOUT_ACCESSORS, VX_LAYOUT_COUNT_GETTER)
#undef VX_LAYOUT_ACCESSORS
#undef VX_LAYOUT_COUNT_GETTER

private:
    static const PropertyTable<CLayoutSetting>& Properties();
    template <ValueType Type, LayoutPropertyRule Rule, auto Getter, auto Setter>
    static PropertyEntry<CLayoutSetting> Entry(std::string_view name);

    LayoutRect NormalizedLayoutAreaMargin() const;
    std::unique_ptr<CLayoutObj> CopyChild(const CLayoutObj& source, bool keepIds,
                                          const ItemFactory& factory);
    std::unique_ptr<CImageObj> CopyPrototype(const CImageObj* source, bool keepIds,
                                             const ItemFactory& factory);
    void DeleteItems();

    LayoutTexts mTexts;
    FontSpec mHeaderFooterFont;
    CutLineSettings mCutLine;
    ColorRef mPaperColor = 0;
    std::unique_ptr<ViewStateBlock> mViewState;
    std::unique_ptr<CImageObj> mBaseImage;
    CLayoutObj* mItems = nullptr;
    CLayoutObj* mCurrentItem = nullptr;
    std::unique_ptr<CImageObj> mStampImage;
    int32_t mInputResolution = 360;

#define VX_LAYOUT_FIELD(Type, Name, Default, Rule) PropertyCType<ValueType::Type> m##Name{Default};
#define VX_LAYOUT_NO_FIELD(Name)
    VX_LAYOUT_SETTING_PROPERTIES(VX_LAYOUT_FIELD, VX_LAYOUT_NO_FIELD)
#undef VX_LAYOUT_FIELD
#undef VX_LAYOUT_NO_FIELD
};

}  // namespace vx
