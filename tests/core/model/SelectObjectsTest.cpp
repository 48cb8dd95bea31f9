#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "model/CCutLineObj.h"
#include "model/CLineObj.h"
#include "model/PageGeometry.h"
#include "model/SelectObjects.h"
#include "model/SelectionTracker.h"
#include "support/RecordingHost.h"

namespace vx {
namespace {

using test::TestLayout;

// Paper 1200 x 1000, two pages: two images in "/a", one in "/A", one in "/b" on page 2's
// top edge, a free text, a free line and a cut line, in that order.
struct SelectObjectsTest : testing::Test {
    test::RecordingHost host;
    TestLayout t;
    std::vector<CLayoutObj*> items;

    SelectObjectsTest() {
        SetPageNumber(t.layout, 2);
        AddImage("/a/1.jpg", 100, 100);
        AddImage("/a/2.jpg", 400, 100);
        AddImage("/A/3.jpg", 700, 100);
        AddImage("/b/4.jpg", 100, 1000);
        items.push_back(t.Add<CTextObj>(100, 50, 100, 500));
        items.push_back(t.Add<CLineObj>(100, 50, 300, 500));
        items.push_back(t.Add<CCutLineObj>(100, 50, 500, 500));
    }

    CImageObj* AddImage(const char* path, int32_t x, int32_t y) {
        CImageObj* image = t.Add(200, 200, x, y);
        image->SetFilePath(path);
        items.push_back(image);
        return image;
    }

    // One character per item, '1' selected.
    void SetFlags(const std::string& flags) {
        ASSERT_EQ(flags.size(), items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            items[i]->SetSelected(flags[i] == '1');
            items[i]->SetChanged(0);
        }
    }
    std::string Flags() const {
        std::string s;
        for (const CLayoutObj* p : items) s += p->GetSelected() ? '1' : '0';
        return s;
    }
    int CurrentIndex() const {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == t.layout.GetCurrentItem()) return int(i);
        return -1;
    }
};

TEST_F(SelectObjectsTest, ModesSetTheFlagsTheCurrentItemAndTheChangedMarks) {
    struct Case {
        int mode;
        const char* before;
        int page;  // the view's current page
        const char* after;
        int current;  // index of the current item, -1 none
        bool changed;
    };
    for (const Case& c : {
             Case{1, "0000000", 0, "1111110", 3, true},  // the cut line keeps its flag
             Case{1, "0000001", 0, "1111111", 3, true},
             Case{1, "1111110", 0, "1111110", 3, false},
             Case{2, "0000111", 0, "1111000", 3, true},
             Case{3, "0000000", 0, "1110000", 2, true},
             Case{3, "1111111", 1, "0001000", 3, true},  // its top lies on page 2's top
             Case{3, "0000000", 2, "0000000", -1, false},
             Case{4, "0000000", 0, "0000000", -1, false},
             Case{4, "1000000", 0, "1100000", 1, true},  // not "/A": case matters
             Case{4, "0010110", 0, "0010000", 2, true},  // selected other kinds are dropped
             Case{4, "0001001", 0, "0001000", 3, true},
             Case{5, "1111111", 0, "0000100", -1, true},
             Case{6, "1111111", 0, "0000010", -1, true},
             Case{7, "1010101", 0, "0101010", 3, true},
             Case{7, "0101111", 0, "1010000", 2, true},
             Case{8, "1111111", 0, "0000000", -1, true},
             Case{8, "0000000", 0, "0000000", -1, false},
             Case{0, "1010101", 0, "1010101", -1, false},
             Case{9, "1010101", 0, "1010101", -1, false},
         }) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " from " << c.before);
        SetFlags(c.before);
        t.layout.SetCurrentItem(items[0]);
        host.view.currentPage = c.page;
        EXPECT_EQ(SelectObjects(t.layout, c.mode), c.changed);
        EXPECT_EQ(Flags(), c.after);
        EXPECT_EQ(CurrentIndex(), c.current);
        for (const CLayoutObj* p : items) EXPECT_EQ(p->GetChanged(), 1);
    }
}

TEST_F(SelectObjectsTest, InvertTwiceRestoresTheFlagsButNotTheCurrentItem) {
    SetFlags("1100010");
    SelectObjects(t.layout, kSelectInvert);
    EXPECT_EQ(CurrentIndex(), 3);
    SelectObjects(t.layout, kSelectInvert);
    EXPECT_EQ(Flags(), "1100010");
    EXPECT_EQ(CurrentIndex(), 1);
}

TEST_F(SelectObjectsTest, CountsFollowTheFlags) {
    SetFlags("0000001");
    SelectObjects(t.layout, kSelectAll);
    EXPECT_EQ(t.layout.GetSelected(), 4);
    EXPECT_EQ(t.layout.GetOther(), 3);  // the cut line still counts
    SelectObjects(t.layout, kSelectTexts);
    EXPECT_EQ(t.layout.GetSelected(), 0);
    EXPECT_EQ(t.layout.GetOther(), 1);
}

TEST_F(SelectObjectsTest, PageModeWithoutPaperHeightOrViewUsesTheFirstPage) {
    t.layout.SetPaper({1200, 0});
    host.view.currentPage = 0;
    SelectObjects(t.layout, kSelectImagesOnPage);
    EXPECT_EQ(Flags(), "1111000");

    t.layout.SetPaper({1200, 1000});
    host.shell.view = nullptr;
    SelectObjects(t.layout, kSelectImagesOnPage);
    EXPECT_EQ(Flags(), "1110000");
}

TEST_F(SelectObjectsTest, FolderModeComparesAbsoluteNormalPaths) {
    const std::filesystem::path cwd = std::filesystem::current_path();
    SetFlags("0000000");
    CImageObj* relative = AddImage("rel/5.jpg", 100, 100);
    CImageObj* absolute = AddImage((cwd / "rel/6.jpg").c_str(), 100, 100);
    CImageObj* dotted = AddImage("/a/x/../7.jpg", 100, 100);
    CImageObj* none = AddImage("", 100, 100);
    CImageObj* noneToo = AddImage("", 100, 100);

    relative->SetSelected(1);
    none->SetSelected(1);
    EXPECT_TRUE(SelectObjects(t.layout, kSelectImagesInFolder));
    EXPECT_EQ(absolute->GetSelected(), 1);
    EXPECT_EQ(dotted->GetSelected(), 0);
    EXPECT_EQ(noneToo->GetSelected(), 0);  // an image without a file has no folder
    EXPECT_EQ(t.layout.GetCurrentItem(), none);

    SetFlags("010000000000");
    EXPECT_TRUE(SelectObjects(t.layout, kSelectImagesInFolder));
    EXPECT_EQ(Flags(), "110000000100");
    EXPECT_EQ(t.layout.GetCurrentItem(), dotted);  // selected by the match, reached later
}

// The folder walk as first described: for each item selected when the walk reaches it,
// an image becomes the current item and selects every image of its folder, any other
// item is deselected.
void ReferenceFolderWalk(CLayoutSetting& layout) {
    const auto folder = [](const CLayoutObj& item) {
        const auto& path = static_cast<const CImageObj&>(item).GetFilePath();
        return path.empty() ? std::string() : std::filesystem::absolute(path).lexically_normal().parent_path().string();
    };
    layout.SetCurrentItem(nullptr);
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        if (!p->GetSelected()) continue;
        if (p->GetKind() != kKindImage) {
            p->SetSelected(0);
            continue;
        }
        layout.SetCurrentItem(p);
        const std::string name = folder(*p);
        if (name.empty()) continue;
        for (CLayoutObj* q = layout.GetFirstItem(); q; q = q->NextItem())
            if (q->GetKind() == kKindImage && folder(*q) == name) q->SetSelected(1);
    }
}

TEST(SelectImagesInFolder, MatchesTheItemByItemWalk) {
    std::mt19937 random(17);
    const char* const paths[] = {"/a/1.jpg", "/a/2.jpg",  "/A/1.jpg", "/b/c/../1.jpg", "/b/2.jpg",
                                 "rel/1.jpg", "",         "/x.jpg",   "//a/3.jpg",     "/a/./4.jpg"};
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        TestLayout mine, reference;
        const int count = int(random() % 12);
        for (int i = 0; i < count; ++i) {
            const unsigned kind = random() % 4, path = random() % 10, selected = random() % 3 == 0;
            for (TestLayout* t : {&mine, &reference}) {
                CLayoutObj* item = kind == 0 ? static_cast<CLayoutObj*>(t->Add<CTextObj>(10, 10, 0, 0))
                                             : static_cast<CLayoutObj*>(t->Add(10, 10, 0, 0));
                if (kind != 0) static_cast<CImageObj*>(item)->SetFilePath(paths[path]);
                item->SetSelected(selected);
            }
        }
        SelectObjects(mine.layout, kSelectImagesInFolder);
        ReferenceFolderWalk(reference.layout);
        std::string got, expected;
        for (CLayoutObj* p = mine.layout.GetFirstItem(); p; p = p->NextItem())
            got += p == mine.layout.GetCurrentItem() ? 'C' : p->GetSelected() ? '1' : '0';
        for (CLayoutObj* p = reference.layout.GetFirstItem(); p; p = p->NextItem())
            expected += p == reference.layout.GetCurrentItem() ? 'C' : p->GetSelected() ? '1' : '0';
        EXPECT_EQ(got, expected);
    }
}

TEST_F(SelectObjectsTest, RefreshesTheTrackerOverTheCurrentItem) {
    SetFlags("0000000");
    SelectObjects(t.layout, kSelectImages);
    ASSERT_EQ(host.view.tracked.size(), 1u);
    EXPECT_EQ(host.view.tracked.back(), items[3]);
    EXPECT_EQ(host.view.invalidations, 1);

    SelectObjects(t.layout, kSelectNone);
    EXPECT_EQ(host.view.tracked.size(), 1u);  // no item to track
    EXPECT_EQ(host.view.invalidations, 2);

    host.shell.view = nullptr;
    SelectObjects(t.layout, kSelectAll);  // nothing to refresh, and no crash
    EXPECT_EQ(host.view.invalidations, 2);
}

TEST(RefreshSelectionTracker, TracksTheItemInTheLayoutsViewOnly) {
    test::RecordingHost host;
    TestLayout shown, other;
    host.shell.viewLayout = &shown.layout;
    CTextObj* text = shown.Add<CTextObj>(10, 10, 0, 0);
    RefreshSelectionTracker(shown.layout, text, kTrackerRefreshItem);
    RefreshSelectionTracker(other.layout, text, kTrackerRefreshItem);
    EXPECT_EQ(host.view.tracked, (std::vector<const CLayoutObj*>{text}));
    EXPECT_EQ(host.view.invalidations, 1);
}

}  // namespace
}  // namespace vx
