#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <sstream>
#include <string>

#include "PropertyChecks.h"
#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

std::string Text(const PropertyValue& v) {
    std::ostringstream s;
    if (auto* i = std::get_if<int16_t>(&v)) s << *i;
    if (auto* i = std::get_if<int32_t>(&v)) s << *i;
    if (auto* p = std::get_if<LayoutPoint>(&v)) s << p->x << ',' << p->y;
    if (auto* r = std::get_if<LayoutRect>(&v)) s << r->left << ',' << r->top << ',' << r->right << ',' << r->bottom;
    if (auto* n = std::get_if<CObjNode*>(&v)) s << *n;
    return s.str();
}

// Everything a user or a caller could see of a layout, as text.
std::string Describe(CLayoutSetting& layout) {
    std::ostringstream s;
    for (const CPropertyMember& m : layout.InitPropertyNames()) s << m.Name() << '=' << Text(m.Get()) << ' ';
    const LayoutTexts& t = layout.Texts();
    s << '\n' << t.comment << '|' << t.localText << '|' << t.printerProfile << '|' << t.monitorProfile << '|'
      << t.rgbSourceProfile << '|' << t.headerText << '|' << layout.HeaderFooterFont().face << '|'
      << layout.GetPaperColor() << '|' << layout.CutLine().cornerLength << '|' << layout.GetInputResolution();
    s << "\nbase " << layout.GetBaseImage() << " stamp " << layout.GetStampImage() << " current "
      << layout.GetCurrentItem() << " block " << layout.GetViewState();
    if (const ViewStateBlock* b = layout.GetViewState())
        s << ' ' << b->owner << ' ' << b->zoomNumerator << '/' << b->zoomDenominator << ' ' << b->statusA << ' '
          << b->untitledNumber;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        s << "\n  " << p << ' ' << p->GetKind() << ' ' << p->GetName() << " id " << p->GetObjectId() << " owner "
          << p->GetOwner();
        for (const CPropertyMember& m : p->InitPropertyNames()) s << ' ' << m.Name() << '=' << Text(m.Get());
    }
    return s.str();
}

// A layout with a block, both prototypes and one item of each kind; the text is current.
struct Populated {
    CLayoutSetting layout{true};
    CLayoutObj* text = nullptr;

    Populated() {
        layout.RenewViewState().zoomNumerator = 3;
        layout.GetViewState()->zoomDenominator = 4;
        layout.GetViewState()->untitledNumber = 7;
        layout.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
        layout.SetStampImage(std::make_unique<CImageObj>(true, "StampImage"));
        layout.SetPaper({4000, 5000});
        layout.Texts().comment = "Hochzeit";
        Add(std::make_unique<CCutLineObj>(true, "cut"), 10);
        Add(std::make_unique<CLineObj>(true, "line"), 20);
        Add(std::make_unique<CImageObj>(true, "StdImage"), 30);
        text = Add(std::make_unique<CTextObj>(true, "text"), 40);
        layout.SetCurrentItem(text);
    }
    CLayoutObj* Add(std::unique_ptr<CLayoutObj> item, int y) {
        item->SetOwner(&layout);
        item->SetPositionD(5.5, y);
        CLayoutObj* raw = item.get();
        EXPECT_TRUE(AppendObject(layout.ItemListHead(), item));
        return raw;
    }
};

TEST(CLayoutSetting, LayoutAreaMarginRisesToThePrinterMarginsOrFallsBack) {
    struct Case {
        const char* what;
        LayoutPoint paper;
        LayoutRect layoutMargin, printerMargin;
        int16_t header, footer;
        int32_t headerShow, footerShow;
        LayoutRect expected;
    };
    for (const Case& c : {
             Case{"raised edge by edge", {3000, 4000}, {0, 60, 0, 40}, {50, 50, 50, 50}, 0, 0, 0, 0, {50, 60, 50, 50}},
             Case{"usable width 100", {300, 300}, {100, 100, 100, 100}, {10, 10, 10, 10}, 0, 0, 0, 0, {10, 10, 10, 10}},
             Case{"142 left is enough", {342, 342}, {100, 100, 100, 100}, {0, 0, 0, 0}, 0, 0, 0, 0, {100, 100, 100, 100}},
             Case{"offsets without header and footer", {1000, 1000}, {100, 100, 100, 100}, {}, 400, 300, 0, 0, {100, 100, 100, 100}},
             Case{"header shown", {1000, 1000}, {100, 100, 100, 100}, {}, 400, 300, 1, 0, {100, 100, 100, 100}},
             Case{"header and footer shown", {1000, 1000}, {100, 100, 100, 100}, {5, 5, 5, 5}, 400, 300, 1, 1, {5, 5, 5, 5}},
             Case{"fresh record", {0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0, 0, 0, 0, {0, 0, 0, 0}},
         }) {
        SCOPED_TRACE(c.what);
        CLayoutSetting layout(false);
        layout.SetPaper(c.paper);
        layout.SetLayoutAreaMgn(c.layoutMargin);
        layout.SetMargin(c.printerMargin);
        layout.SetHeaderOffset(c.header);
        layout.SetFooterOffset(c.footer);
        layout.SetHeaderShow(c.headerShow);
        layout.SetFooterShow(c.footerShow);
        EXPECT_EQ(test::Read(layout, "mLayoutAreaMgn"), PropertyValue(c.expected));
        EXPECT_EQ(layout.GetLayoutAreaMgn(), c.expected);  // stored
        EXPECT_EQ(layout.GetLayoutAreaMargin(), c.expected);
    }
}

TEST(CLayoutSetting, CopyFromKeepsTheLocalSettingsOnlyWhenAsked) {
    for (bool keepLocal : {false, true}) {
        SCOPED_TRACE(keepLocal ? "keepLocal 1" : "keepLocal 0");
        CLayoutSetting source(true), target(true);
        source.Texts().localText = "source local";
        source.Texts().printerProfile = "source printer";
        source.Texts().monitorProfile = "source monitor";
        target.Texts().localText = "target local";
        target.Texts().printerProfile = "target printer";
        target.Texts().monitorProfile = "target monitor";
        struct Local { const char* name; PropertyValue source, target; };
        const Local locals[] = {
            {"mMarginShow", int32_t(1), int32_t(0)},     {"mLayoutMarginShow", int32_t(0), int32_t(1)},
            {"mUnit", int16_t(2), int16_t(1)},           {"mColorProfDisplay", int16_t(3), int16_t(4)},
            {"mColorMatchPrinter", int16_t(2), int16_t(1)}, {"mRecommend", int32_t(0), int32_t(1)},
        };
        for (const Local& l : locals) {
            PropertyValue s = l.source, t = l.target;
            source.Access(l.name, true, s);
            target.Access(l.name, true, t);
        }
        source.Texts().comment = "Kommentar";
        source.Texts().rgbSourceProfile = "sRGB";
        source.Texts().simulationProfile = "CMYK";
        source.SetPaperColor(0x00FFEEDD);
        source.HeaderFooterFont() = {"DejaVu Sans", 0x100, 50, 0x0000FF};
        source.CutLine().cornerLength = 720;
        source.SetDirty(1);
        source.SetPrinterT_RGB(77);
        source.SetPaper({1000, 1000});
        source.SetLayoutAreaMgn({0, 0, 0, 0});
        source.SetMargin({30, 30, 30, 30});
        source.SetInputResolution(90);
        Populated children;  // a target with children: CopyFrom leaves them unless freeFirst
        children.layout.CopyFrom(source, false, false, keepLocal);
        target.CopyFrom(source, false, false, keepLocal);

        for (const Local& l : locals) EXPECT_EQ(test::Read(target, l.name), keepLocal ? l.target : l.source) << l.name;
        EXPECT_EQ(target.Texts().localText, keepLocal ? "target local" : "source local");
        EXPECT_EQ(target.Texts().printerProfile, keepLocal ? "target printer" : "source printer");
        EXPECT_EQ(target.Texts().monitorProfile, keepLocal ? "target monitor" : "source monitor");
        EXPECT_EQ(target.Texts().comment, "Kommentar");
        EXPECT_EQ(target.Texts().rgbSourceProfile, "sRGB");
        EXPECT_EQ(target.Texts().simulationProfile, "CMYK");
        EXPECT_EQ(target.GetPaperColor(), 0x00FFEEDDu);
        EXPECT_EQ(target.HeaderFooterFont(), source.HeaderFooterFont());
        EXPECT_EQ(target.CutLine(), source.CutLine());
        EXPECT_EQ(target.GetDirty(), 1);
        EXPECT_EQ(target.GetPrinterT_RGB(), 77);
        EXPECT_EQ(target.GetLayoutAreaMgn(), (LayoutRect{30, 30, 30, 30}));  // as the source reads it
        EXPECT_EQ(target.GetInputResolution(), 360);
        EXPECT_EQ(target.GetObjectId() == source.GetObjectId(), false);
        EXPECT_EQ(CountObjects(children.layout.ItemListHead()), 4);
        EXPECT_NE(children.layout.GetBaseImage(), nullptr);
    }
}

TEST(CLayoutSetting, CopyFromWithFreeFirstFreesTheChildren) {
    Populated p;
    CLayoutSetting source(true);
    p.layout.CopyFrom(source, false, true, true);
    EXPECT_EQ(p.layout.GetFirstItem(), nullptr);
    EXPECT_EQ(p.layout.GetCurrentItem(), nullptr);
    EXPECT_EQ(p.layout.GetBaseImage(), nullptr);
    EXPECT_EQ(p.layout.GetStampImage(), nullptr);
    EXPECT_EQ(p.layout.GetViewState(), nullptr);
}

TEST(CLayoutSetting, CopyDeepCopiesEveryChildInOrder) {
    for (bool keepIds : {true, false}) {
        SCOPED_TRACE(keepIds ? "keepIds 1" : "keepIds 0");
        Populated source;
        CLayoutSetting target(true);
        ViewStateBlock& block = target.RenewViewState();
        target.CopyDeep(source.layout, true, keepIds, true);

        EXPECT_EQ(target.GetViewState(), &block);  // the same block, pointers stay valid
        EXPECT_EQ(block.owner, &target);
        EXPECT_EQ(block.zoomNumerator, 3);
        EXPECT_EQ(block.untitledNumber, 7);
        ASSERT_EQ(CountObjects(target.ItemListHead()), 4);
        int index = 0;
        for (CLayoutObj *s = source.layout.GetFirstItem(), *t = target.GetFirstItem(); s;
             s = s->NextItem(), t = t->NextItem(), ++index) {
            SCOPED_TRACE(index);
            EXPECT_NE(s, t);
            EXPECT_EQ(t->GetKind(), s->GetKind());
            EXPECT_EQ(t->GetName(), s->GetName());
            EXPECT_EQ(t->GetPosition(), s->GetPosition());
            EXPECT_EQ(t->GetObjectId(), keepIds ? s->GetObjectId() : 0u);
            EXPECT_EQ(t->GetOwner(), &target);
        }
        EXPECT_EQ(target.GetCurrentItem(), GetObjectAt(target.ItemListHead(), 3));
        for (CImageObj* proto : {target.GetBaseImage(), target.GetStampImage()}) {
            ASSERT_NE(proto, nullptr);
            EXPECT_EQ(proto->GetOwner(), &target);
        }
        EXPECT_EQ(target.GetBaseImage()->GetName(), "BaseImage");
        EXPECT_EQ(target.GetStampImage()->GetObjectId(),
                  keepIds ? source.layout.GetStampImage()->GetObjectId() : 0u);
        EXPECT_EQ(target.Texts().comment, "Hochzeit");
    }
}

TEST(CLayoutSetting, CopyDeepOfACopyLeavesTheSourceAlone) {
    Populated source;
    const std::string before = Describe(source.layout);
    CLayoutSetting copy(true);
    copy.CopyDeep(source.layout, true, true, true);
    GetObjectAt(copy.ItemListHead(), 1)->SetPositionD(999, 999);
    copy.GetViewState()->zoomNumerator = 16;
    copy.Texts().comment = "anders";
    copy.SetDirty(1);
    copy.FreeChildren();
    EXPECT_EQ(Describe(source.layout), before);

    source.layout.CopyDeep(source.layout, true, false, true);
    source.layout.SyncFrom(source.layout);
    EXPECT_EQ(Describe(source.layout), before);
}

TEST(CLayoutSetting, CopyDeepWithoutItemsOrCurrentItem) {
    Populated source;
    source.layout.SetCurrentItem(nullptr);
    Populated target;
    target.layout.CopyDeep(source.layout, true, true, true);
    EXPECT_EQ(target.layout.GetCurrentItem(), nullptr);

    source.layout.SetCurrentItem(source.text);
    target.layout.CopyDeep(source.layout, false, true, true);
    EXPECT_EQ(target.layout.GetFirstItem(), nullptr);
    EXPECT_EQ(target.layout.GetCurrentItem(), nullptr);

    CLayoutSetting bare(true);
    target.layout.CopyDeep(bare, true, true, true);
    EXPECT_EQ(target.layout.GetBaseImage(), nullptr);
    EXPECT_EQ(target.layout.GetStampImage(), nullptr);
    EXPECT_NE(target.layout.GetViewState(), nullptr);  // the block serves the open view
}

// Fails with std::bad_alloc at the n-th item it is asked for.
struct FailingFactory : ItemFactory {
    explicit FailingFactory(int n) : left(n) {}
    std::unique_ptr<CLayoutObj> Create(int16_t kind, std::string_view name) const override {
        if (left-- == 0) throw std::bad_alloc();
        return ItemFactory::Create(kind, name);
    }
    mutable int left;
};

TEST(CLayoutSetting, CopyDeepThatRunsOutOfMemoryLeavesTheTargetAsItWas) {
    Populated source;
    source.layout.SetDirty(1);
    CLayoutSetting small(true);
    small.SetFree(1);
    small.SetBaseImage(std::make_unique<CImageObj>(true, "BaseImage"));
    for (CLayoutSetting* sourceLayout : {&source.layout, &small}) {
        // Six items are made from the populated layout: base, four items, stamp.
        for (int failAt = 0; failAt < 6; ++failAt) {
            SCOPED_TRACE(failAt);
            Populated target;
            target.layout.Texts().comment = "live";
            const std::string before = Describe(target.layout);
            FailingFactory factory(failAt);
            if (sourceLayout == &small && failAt > 0) break;
            EXPECT_THROW(target.layout.CopyDeep(*sourceLayout, true, true, true, factory), std::bad_alloc);
            EXPECT_EQ(Describe(target.layout), before);
        }
    }
}

// A live layout of items A B C D with ids, and a snapshot of it.
struct SyncFixture {
    Populated live;
    CLayoutSetting snapshot{true};
    SyncFixture() { snapshot.CopyDeep(live.layout, true, true, true); }
    std::string LiveNames() {
        std::string s;
        for (CLayoutObj* p = live.layout.GetFirstItem(); p; p = p->NextItem()) s += p->GetName() + " ";
        return s;
    }
};

TEST(CLayoutSetting, SyncFromCopiesItemsByIdWithoutMakingAny) {
    SyncFixture f;
    CLayoutObj* const line = GetObjectAt(f.live.layout.ItemListHead(), 1);
    GetObjectAt(f.snapshot.ItemListHead(), 1)->SetPositionD(77, 88);
    f.snapshot.SetDirty(1);
    f.snapshot.GetViewState()->statusA = 5;
    f.snapshot.GetBaseImage()->SetAngle(90);
    auto extra = std::make_unique<CTextObj>(true, "new");
    ASSERT_TRUE(AppendObject(f.snapshot.ItemListHead(), extra));
    f.live.layout.SetBaseImage(nullptr);

    f.live.layout.SyncFrom(f.snapshot);
    EXPECT_EQ(f.LiveNames(), "cut line StdImage text ");
    EXPECT_EQ(GetObjectAt(f.live.layout.ItemListHead(), 1), line);
    EXPECT_EQ(line->GetPosition(), (LayoutPoint{77, 88}));
    EXPECT_EQ(line->GetOwner(), &f.live.layout);
    EXPECT_EQ(f.live.layout.GetDirty(), 1);
    EXPECT_EQ(f.live.layout.GetViewState()->statusA, 5);
    EXPECT_EQ(f.live.layout.GetViewState()->owner, &f.live.layout);
    ASSERT_NE(f.live.layout.GetBaseImage(), nullptr);
    EXPECT_EQ(f.live.layout.GetBaseImage()->GetAngle(), 90);
    EXPECT_EQ(f.live.layout.GetBaseImage()->GetOwner(), &f.live.layout);
}

TEST(CLayoutSetting, SyncFromDeletesMissingItemsFromTheSnapshotCountOn) {
    struct Case { std::vector<int> removeFromSnapshot; const char* after; bool currentKept; };
    for (const Case& c : {
             // The last item goes; after that deletion the whole list is examined again,
             // so the missing second item goes too.
             Case{{3, 1}, "cut StdImage ", false},
             // Missing only below the snapshot's count: it stays.
             Case{{1}, "cut line StdImage text ", true},
             Case{{3}, "cut line StdImage ", false},
         }) {
        SyncFixture f;
        for (int index : c.removeFromSnapshot) RemoveObjectAt(f.snapshot.ItemListHead(), index);
        f.live.layout.SyncFrom(f.snapshot);
        EXPECT_EQ(f.LiveNames(), c.after);
        EXPECT_EQ(f.live.layout.GetCurrentItem(), c.currentKept ? f.live.text : nullptr);
    }
}

TEST(CLayoutSetting, SyncFromAnEmptySnapshotListChangesNoItem) {
    SyncFixture f;
    f.snapshot.FreeChildren();
    f.live.layout.GetFirstItem()->SetPositionD(1, 2);
    f.live.layout.SyncFrom(f.snapshot);
    EXPECT_EQ(f.LiveNames(), "cut line StdImage text ");
    EXPECT_EQ(f.live.layout.GetFirstItem()->GetPosition(), (LayoutPoint{1, 2}));
    EXPECT_NE(f.live.layout.GetStampImage(), nullptr);
}

}  // namespace
}  // namespace vx
