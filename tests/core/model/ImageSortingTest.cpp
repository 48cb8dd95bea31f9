#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "HostFakes.h"
#include "LayoutFixture.h"
#include "model/ImageSorting.h"
#include "model/LayoutOperations.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::DescribeByName;
using test::TestLayout;

struct ImageFacts {
    const char* folder;
    const char* name;
    const char* type;
    int32_t width, height;  // on the page
    uintmax_t bytes;
    time_t modified;
};

// Four images, a free text between the second and the third. Every key orders them
// differently; the case-sensitive order differs from the folded one for keys 1, 2, 8.
const ImageFacts kFacts[] = {
    {"zeta", "Delta.tif", "TIFF", 300, 200, 400, 3000},
    {"alpha", "birne.jpg", "jpeg", 100, 500, 100, 1000},
    {"Beta", "Apfel.jpg", "JPEG", 300, 100, 400, 2000},
    {"gamma", "ceder.bmp", "BMPf", 200, 300, 50, 4000},
};
// Files are made in this order, for the creation times.
const int kCreationOrder[] = {2, 3, 0, 1};

struct SortExample : TestLayout {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    test::TestRoot root;
    UndoStore undo;
    std::vector<CImageObj*> images;
    CTextObj* text = nullptr;
    bool birthTimes = true;

    SortExample() {
        for (int i = 0; i < 4; ++i) {
            if (i == 2) text = Add<CTextObj>(100, 50);
            images.push_back(Add(kFacts[i].width, kFacts[i].height));
        }
        for (int i : kCreationOrder) {
            const fs::path folder = root.Path() / kFacts[i].folder;
            fs::create_directories(folder);
            const fs::path path = folder / kFacts[i].name;
            std::ofstream(path).put('x');
            fs::resize_file(path, kFacts[i].bytes);
            const timespec times[2] = {{kFacts[i].modified, 0}, {kFacts[i].modified, 0}};
            EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
            CImageObj& image = *images[size_t(i)];
            EXPECT_TRUE(image.TakeFileFacts(path));
            image.SetFileType(FourCCFromText(kFacts[i].type));
            birthTimes = birthTimes && image.GetCreationTime() != image.GetLastWriteTime();
            // Coarse file system clocks give files made at once the same birth time.
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
        }
        EXPECT_EQ(Relayout(layout), 1);
    }

    /// The list as "1 2 T 3 4": images by their place in kFacts, T the text.
    std::string Order() const {
        std::string s;
        for (const CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
            if (!s.empty()) s += ' ';
            if (p == text) s += 'T';
            for (size_t i = 0; i < images.size(); ++i)
                if (p == images[i]) s += char('1' + i);
        }
        return s;
    }
};

TEST(SortImages, EachKeyMovesOnlyTheImages) {
    struct Case { int key; const char* order; };
    const std::vector<Case> cases = {
        {1, "3 2 T 4 1"},  // Apfel, birne, ceder, Delta
        {2, "2 3 T 4 1"},  // alpha, Beta, gamma, zeta
        {3, "3 4 T 1 2"},  // made in that order
        {4, "2 3 T 1 4"},
        {5, "2 4 T 1 3"},  // 1 and 3 equally wide keep their order
        {6, "3 1 T 4 2"},
        {8, "4 2 T 3 1"},  // BMPf, jpeg = JPEG, TIFF
        {9, "4 2 T 1 3"},  // 1 and 3 equally large keep their order
        {12, "4 3 T 2 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        SortExample e;
        if (c.key == 3 && !e.birthTimes) continue;  // the file system keeps no birth times
        const std::string before = DescribeByName(e.layout);
        const int invalidations = e.host.view.invalidations;

        ASSERT_EQ(SortImages(e.undo, &e.layout, c.key), 1);
        EXPECT_EQ(e.Order(), c.order);
        EXPECT_TRUE(e.messages.shown.empty());
        EXPECT_EQ(e.layout.GetDirty(), 1);
        EXPECT_GT(e.host.view.invalidations, invalidations);
        ASSERT_TRUE(e.undo.CanUndo());
        EXPECT_EQ(e.undo.GetLastUndoCode(), 13);
        EXPECT_EQ(DescribeByName(*e.undo.GetUndoLayout()), before);
        // Renumbered and laid out in the new order.
        int number = 0;
        int32_t x = -1;
        for (const CLayoutObj* p = e.layout.GetFirstItem(); p; p = p->NextItem()) {
            if (p->GetKind() != kKindImage) continue;
            const auto* image = static_cast<const CImageObj*>(p);
            EXPECT_EQ(image->GetLabelNumber(), ++number);
            EXPECT_GT(image->GetPosition().x, x);
            x = image->GetPosition().x;
        }
    }
}

TEST(SortImages, KeysOutsideTheTableChangeNothing) {
    SortExample e;
    const std::string before = DescribeByName(e.layout);
    for (int key : {0, 7, 10, 11, 13, -1}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(SortImages(e.undo, &e.layout, key), 0);
        EXPECT_EQ(DescribeByName(e.layout), before);
        EXPECT_FALSE(e.undo.CanUndo());
    }
    EXPECT_EQ(SortImages(e.undo, nullptr, 1), 0);
    TestLayout empty;
    EXPECT_EQ(SortImages(e.undo, &empty.layout, 1), 0);
    EXPECT_FALSE(e.undo.CanUndo());
    EXPECT_TRUE(e.messages.shown.empty());
}

TEST(SortImages, CaseAndComposedFormsDoNotSplitNames) {
    SortExample e;
    // "Äpfel" written decomposed and "äpfel" composed fold alike, so their numbers
    // decide; folded keys compare bytewise, without a locale: "ä" after "b".
    e.images[0]->SetFilePath("/x/A\xCC\x88pfel2.jpg");
    e.images[1]->SetFilePath("/x/b.jpg");
    e.images[2]->SetFilePath("/x/\xC3\xA4pfel1.jpg");
    e.images[3]->SetFilePath("/x/a.jpg");
    ASSERT_EQ(SortImages(e.undo, &e.layout, kSortFileName), 1);
    EXPECT_EQ(e.Order(), "4 2 T 3 1");
}

TEST(SortImages, RefusedOrderPutsLayoutAndUndoStateBack) {
    struct Case { const char* what; int16_t pageMax; int32_t paperWidth, paperLength; int message; };
    const std::vector<Case> cases = {
        {"more pages than the maximum", 1, 0, 0, IDS_PAPER_LENGTH_LIMIT},
        // 2 pages of 13,000 x 20,400 = 530,400,000 > 529,932,300: 90 ppi.
        {"too much cut-sheet area", 50, 13000, 20400, IDS_PAGE_COUNT_LIMIT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SortExample e;
        e.AddImages(6);  // two pages
        ASSERT_EQ(Relayout(e.layout), 1);
        ASSERT_EQ(e.layout.GetPageNumber(), 2);
        e.layout.SetPageMax(c.pageMax);
        e.layout.SetPaperWidth(c.paperWidth);
        e.layout.SetPaperLength(c.paperLength);
        e.undo.PushUndo(e.layout, 22);
        const std::string undoBefore = DescribeByName(*e.undo.GetUndoLayout());
        const std::string before = DescribeByName(e.layout);

        EXPECT_EQ(SortImages(e.undo, &e.layout, kSortReverse), 0);
        ASSERT_EQ(e.messages.Ids(), std::vector<int>{c.message});
        EXPECT_EQ(e.messages.shown[0].icon, Icon::Error);
        EXPECT_EQ(DescribeByName(e.layout), before);
        ASSERT_TRUE(e.undo.CanUndo());
        EXPECT_EQ(DescribeByName(*e.undo.GetUndoLayout()), undoBefore);
        EXPECT_EQ(e.layout.GetDirty(), 0);
    }
}

TEST(SortImages, RefreshesTheInformationWindowWhileImagesAreSelected) {
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        test::ToolWindowHost tools;
        SortExample e;
        e.images[1]->SetSelected(selected);
        e.layout.SetCurrentItem(e.images[1]);
        ASSERT_EQ(SortImages(e.undo, &e.layout, kSortWidth), 1);
        const auto current = e.layout.GetCurrentItem();
        ASSERT_NE(current, nullptr);
        std::vector<std::pair<const CLayoutObj*, int>> expected;
        if (selected) expected = {{current, 1}, {current, 2}, {current, 3}, {current, 4}};
        EXPECT_EQ(tools.tools.shownGroups, expected);
    }
}

}  // namespace
}  // namespace vx
