#include "model/CLayoutSetting.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "model/CImageObj.h"
#include "model/ObjectList.h"
#include "model/PropertyTable.h"

namespace vx {
namespace {

// Usable width or height below this falls back to the printer margins.
constexpr int64_t kMinUsableExtent = 142;

/// An image copy takes its source's description and shares its working bitmap.
void ShareImageData(CLayoutObj& copy, const CLayoutObj& source) {
    auto* image = dynamic_cast<CImageObj*>(&copy);
    const auto* from = dynamic_cast<const CImageObj*>(&source);
    if (image && from) image->DuplicateImageData(*from);
}

}  // namespace

CLayoutSetting::CLayoutSetting(bool newId) : CObjNode(newId) {}

CLayoutSetting::~CLayoutSetting() { FreeChildren(); }

template <ValueType Type, LayoutPropertyRule Rule, auto Getter, auto Setter>
PropertyEntry<CLayoutSetting> CLayoutSetting::Entry(std::string_view name) {
    using C = CLayoutSetting;
    if constexpr (Rule == LayoutPropertyRule::Margin) {
        static_assert(Type == ValueType::Rect);
        return {name, Type, [](C& r) { return PropertyValue(r.GetLayoutAreaMargin()); },
                [](C& r, const PropertyValue& v) { r.SetLayoutAreaMgn(std::get<LayoutRect>(v)); },
                [](C& target, const C& source) { target.SetLayoutAreaMgn(source.NormalizedLayoutAreaMargin()); }};
    } else {
        auto e = PropertyField<Type, Getter, Setter>(
            name, Rule == LayoutPropertyRule::Local ? PropertyCopy::UnlessLocal : PropertyCopy::Always);
        e.member = Rule != LayoutPropertyRule::Unlisted;
        return e;
    }
}

const PropertyTable<CLayoutSetting>& CLayoutSetting::Properties() {
    using C = CLayoutSetting;
#define VX_LAYOUT_ENTRY(Type, Name, Default, Rule) \
    Entry<ValueType::Type, LayoutPropertyRule::Rule, &C::Get##Name, &C::Set##Name>("m" #Name),
#define VX_LAYOUT_COUNT_ENTRY(Name) PropertyReadOnly<ValueType::Long, &C::Get##Name>("m" #Name),
    static const PropertyTable<CLayoutSetting> table({
        VX_LAYOUT_SETTING_PROPERTIES(VX_LAYOUT_ENTRY, VX_LAYOUT_COUNT_ENTRY)
    });
#undef VX_LAYOUT_ENTRY
#undef VX_LAYOUT_COUNT_ENTRY
    return table;
}

bool CLayoutSetting::Access(std::string_view name, bool write, PropertyValue& value) {
    return Properties().Access(*this, name, write, value) || CObjNode::Access(name, write, value);
}

std::vector<CPropertyMember> CLayoutSetting::InitPropertyNames() {
    return MembersThenBase<CObjNode>(*this, Properties());
}

int32_t CLayoutSetting::GetSelected() const {
    int32_t n = 0;
    for (const CLayoutObj* p = mItems; p; p = p->NextItem())
        if (p->GetKind() == kKindImage && p->GetSelected()) ++n;
    return n;
}

int32_t CLayoutSetting::GetOther() const {
    int32_t n = 0;
    for (const CLayoutObj* p = mItems; p; p = p->NextItem())
        if (p->GetKind() != kKindImage && p->GetSelected()) ++n;
    return n;
}

LayoutRect CLayoutSetting::NormalizedLayoutAreaMargin() const {
    LayoutRect m = mLayoutAreaMgn;
    m.left = std::max(m.left, mMargin.left);
    m.top = std::max(m.top, mMargin.top);
    m.right = std::max(m.right, mMargin.right);
    m.bottom = std::max(m.bottom, mMargin.bottom);
    const int64_t width = int64_t(mPaper.x) - m.right - m.left;
    int64_t height = int64_t(mPaper.y) - m.bottom - m.top;
    if (mHeaderShow) height -= mHeaderOffset;
    if (mFooterShow) height -= mFooterOffset;
    return width >= kMinUsableExtent && height >= kMinUsableExtent ? m : mMargin;
}

LayoutRect CLayoutSetting::GetLayoutAreaMargin() {
    mLayoutAreaMgn = NormalizedLayoutAreaMargin();
    return mLayoutAreaMgn;
}

void CLayoutSetting::SetBaseImage(std::unique_ptr<CImageObj> image) {
    if (image) image->SetOwner(this);
    mBaseImage = std::move(image);
}

void CLayoutSetting::SetStampImage(std::unique_ptr<CImageObj> image) {
    if (image) image->SetOwner(this);
    mStampImage = std::move(image);
}

ViewStateBlock& CLayoutSetting::RenewViewState() {
    auto block = std::make_unique<ViewStateBlock>();
    block->owner = this;
    mViewState = std::move(block);
    return *mViewState;
}

void CLayoutSetting::DeleteItems() {
    mCurrentItem = nullptr;
    // Last to first, as always, but the list is turned round once first: removing the
    // last item by walking to it each time made freeing a large layout quadratic.
    CLayoutObj* reversed = nullptr;
    while (CLayoutObj* p = mItems) {
        mItems = p->NextItem();
        p->SetNext(reversed);
        reversed = p;
    }
    while (RemoveObjectAt(&reversed, 0)) {
    }
}

void CLayoutSetting::FreeChildren() {
    mViewState.reset();
    mBaseImage.reset();
    mStampImage.reset();
    DeleteItems();
}

void CLayoutSetting::CopyFrom(const CLayoutSetting& source, bool copyLink, bool freeFirst, bool keepLocal) {
    // The copies that can throw come first, so that a failure leaves the target whole.
    LayoutTexts texts = source.mTexts;
    FontSpec font = source.mHeaderFooterFont;
    if (keepLocal) {
        texts.localText = std::move(mTexts.localText);
        texts.printerProfile = std::move(mTexts.printerProfile);
        texts.monitorProfile = std::move(mTexts.monitorProfile);
    }
    CObjNode::CopyFrom(source, copyLink);
    if (freeFirst) FreeChildren();
    mTexts = std::move(texts);
    mHeaderFooterFont = std::move(font);
    mPaperColor = source.mPaperColor;
    mCutLine = source.mCutLine;
    Properties().CopyAll(*this, source, keepLocal);
}

std::unique_ptr<CLayoutObj> CLayoutSetting::CopyChild(const CLayoutObj& source, bool keepIds,
                                                      const ItemFactory& factory) {
    std::unique_ptr<CLayoutObj> copy = factory.Create(source.GetKind(), source.GetName());
    if (!copy || copy->GetKind() != source.GetKind())
        throw std::logic_error("item factory made no item of the asked kind");
    copy->CopyFrom(source, false);
    copy->SetOwner(this);
    if (keepIds) copy->SetObjectId(source.GetObjectId());
    return copy;
}

std::unique_ptr<CImageObj> CLayoutSetting::CopyPrototype(const CImageObj* source, bool keepIds,
                                                         const ItemFactory& factory) {
    if (!source) return nullptr;
    std::unique_ptr<CLayoutObj> copy = CopyChild(*source, keepIds, factory);
    auto* image = dynamic_cast<CImageObj*>(copy.get());
    if (!image) throw std::logic_error("item factory made no image item");
    copy.release();
    return std::unique_ptr<CImageObj>(image);
}

void CLayoutSetting::CopyDeep(const CLayoutSetting& source, bool withItems, bool keepIds,
                              bool withImageData, const ItemFactory& factory) {
    if (&source == this) return;
    // Everything new is built aside; the target changes only once nothing can fail.
    std::unique_ptr<ViewStateBlock> newBlock;
    if (source.mViewState && !mViewState) newBlock = std::make_unique<ViewStateBlock>();
    std::unique_ptr<CImageObj> base = CopyPrototype(source.mBaseImage.get(), keepIds, factory);
    std::vector<std::unique_ptr<CLayoutObj>> items;
    CLayoutObj* current = nullptr;
    if (withItems) {
        items.reserve(size_t(CountObjects(&source.mItems)));
        for (const CLayoutObj* p = source.mItems; p; p = p->NextItem()) {
            items.push_back(CopyChild(*p, keepIds, factory));
            if (withImageData) ShareImageData(*items.back(), *p);
            if (p == source.mCurrentItem) current = items.back().get();
        }
    }
    std::unique_ptr<CImageObj> stamp = CopyPrototype(source.mStampImage.get(), keepIds, factory);
    if (withImageData && stamp) ShareImageData(*stamp, *source.mStampImage);

    CopyFrom(source, false, false, true);
    if (newBlock) mViewState = std::move(newBlock);
    if (source.mViewState) {
        *mViewState = *source.mViewState;
        mViewState->owner = this;
    }
    mBaseImage = std::move(base);
    mStampImage = std::move(stamp);
    DeleteItems();
    CLayoutObj* last = nullptr;
    for (std::unique_ptr<CLayoutObj>& item : items) {
        CLayoutObj* p = item.release();
        (last ? last->SetNext(p) : void(mItems = p));
        last = p;
    }
    mCurrentItem = current;
}

void CLayoutSetting::SyncFrom(const CLayoutSetting& source) {
    if (&source == this) return;
    std::unique_ptr<ViewStateBlock> newBlock;
    if (source.mViewState && !mViewState) newBlock = std::make_unique<ViewStateBlock>();
    std::unique_ptr<CImageObj> newBase;
    if (source.mBaseImage && !mBaseImage) newBase = std::make_unique<CImageObj>(false, "BaseImage");

    CopyFrom(source, false, false, true);
    if (newBlock) mViewState = std::move(newBlock);
    if (source.mViewState) {
        *mViewState = *source.mViewState;
        mViewState->owner = this;
    }
    if (newBase) mBaseImage = std::move(newBase);
    // An item copy takes its source's owner; the copies here stay this layout's.
    const auto copyInto = [this](CLayoutObj& target, const CLayoutObj& from) {
        target.CopyFrom(from, false);
        target.SetOwner(this);
    };
    if (source.mBaseImage) copyInto(*mBaseImage, *source.mBaseImage);

    if (source.mItems) {
        std::unordered_map<uint32_t, CLayoutObj*> targetById;
        for (CLayoutObj* p = mItems; p; p = p->NextItem()) targetById.emplace(p->GetObjectId(), p);
        std::unordered_set<uint32_t> sourceIds;
        int sourceCount = 0;
        for (const CLayoutObj* p = source.mItems; p; p = p->NextItem(), ++sourceCount) {
            sourceIds.insert(p->GetObjectId());
            auto it = targetById.find(p->GetObjectId());
            if (it != targetById.end() && it->second->GetKind() == p->GetKind()) copyInto(*it->second, *p);
        }
        // Items the snapshot lacks go, from the snapshot's item count on; after each
        // deletion the whole list is examined again.
        int index = sourceCount;
        while (CLayoutObj* p = GetObjectAt(&mItems, index)) {
            if (sourceIds.contains(p->GetObjectId())) {
                ++index;
                continue;
            }
            if (p == mCurrentItem) mCurrentItem = nullptr;
            RemoveObjectAt(&mItems, index);
            index = 0;
        }
    }
    if (source.mStampImage && mStampImage) copyInto(*mStampImage, *source.mStampImage);
}

}  // namespace vx
