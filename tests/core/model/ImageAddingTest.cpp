#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <span>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "../imaging/PsdWriter.h"
#include "LayoutFixture.h"
#include "host/ApplicationState.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/ImageLabels.h"
#include "model/ObjectList.h"
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

/// A JPEG of width x height at ppi pixels per inch, landscape halves in two colours; with
/// an Exif orientation other than 0 it carries one, as cameras write it.
std::vector<uint8_t> Jpeg(int width, int height, int ppi = 300, J_COLOR_SPACE space = JCS_RGB,
                          uint16_t exifOrientation = 0) {
    test::JpegFixture f;
    if (exifOrientation)
        f.markers.emplace_back(JPEG_APP0 + 1, test::ExifBuilder().Short(0x0112, exifOrientation).Build(true));
    f.width = width;
    f.height = height;
    f.space = space;
    f.densityUnit = 1;
    f.xDensity = f.yDensity = ppi;
    f.pixel = [width, space](int x, int, uint8_t* c) {
        const int n = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
        for (int i = 0; i < n; ++i) c[i] = uint8_t(x < width / 2 ? 40 + 60 * i : 200 - 60 * i);
    };
    return test::EncodeJpeg(f);
}

Rect16 BitmapRect(const CImageObj& item) {
    CImageBitmapLock lock(item, TempBuffer::kMapReadOnly);
    return DibBuffer::GetRect(lock.Bitmap());
}

/// An A4 layout (2976 x 4209 units) in colour whose "BaseImage" has the defaults and
/// shows the number and the file name, with a view, recorded messages and an undo store.
struct AddImages {
    test::TestRoot root;
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    TestLayout t{2976, 4209, 100};
    CLayoutSetting& layout = t.layout;

    AddImages() {
        layout.SetColor(2);
        std::unique_ptr<CImageObj> base(CreateImageObj(nullptr, nullptr, "BaseImage"));
        base->SetLabelSelection(3);
        layout.SetBaseImage(std::move(base));
    }

    fs::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = root.Path() / name;
        test::WriteBytes(path, bytes);
        return path;
    }
    AddImageResult Add(const fs::path& path) { return AddImageFilesToLayout(&layout, path, undo); }
    CImageObj* Last() const {
        CLayoutObj* last = nullptr;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) last = p;
        return static_cast<CImageObj*>(last);
    }
};

TEST(AddImageFilesToLayout, AddsAJpegAsTheLastItem) {
    AddImages a;
    a.t.AddImages(1, 1260, 1260);
    ASSERT_EQ(a.Add(a.Write("a.jpg", Jpeg(600, 400))), kAddDone);
    EXPECT_TRUE(a.messages.shown.empty());
    CImageObj* item = a.Last();
    ASSERT_EQ(CountObjects(a.layout.ItemListHead()), 2);
    EXPECT_EQ(item->GetName(), "StdImage");
    EXPECT_EQ(item->GetOwner(), &a.layout);
    EXPECT_EQ(item->GetLabelText(), "Nummer: 0  Name: a.jpg  ");
    const Rect16 bitmap = BitmapRect(*item);
    EXPECT_EQ(bitmap.Width(), 300);
    EXPECT_EQ(bitmap.Height(), 200);
    EXPECT_EQ(item->GetSize(), (LayoutPoint{1260, 1260}));
    EXPECT_EQ(item->GetFileType(), FourCC("JPEG"));
    EXPECT_EQ(item->GetColorSpace(), FourCC("RGB "));
    EXPECT_EQ(item->GetColorDepth(), 24);
    EXPECT_EQ(item->GetUseZelFile(), 0) << "the prototype's 3 never stays";
    EXPECT_EQ(a.layout.GetDirty(), 1);
    EXPECT_EQ(a.undo.GetLastUndoCode(), 36);
    EXPECT_FALSE(a.undo.CanUndo()) << "adding takes no undo entry of its own";
    EXPECT_GT(item->GetPosition().x, kUnplacedX);
    EXPECT_GE(a.host.view.updates, 1) << "repainted at once";

    RenumberImageItems(a.layout);
    EXPECT_EQ(item->GetLabelNumber(), 2);
    EXPECT_EQ(item->GetLabelText(), "Nummer: 2  Name: a.jpg  ");
}

TEST(AddImageFilesToLayout, RefusalsLeaveTheLayoutAsItWas) {
    struct Case {
        const char* what;
        std::function<fs::path(AddImages&)> prepare;  // the file to add
        AddImageResult result;
        std::vector<int> messages;
    };
    const auto jpeg = [](int w, int h) {
        return [w, h](AddImages& a) { return a.Write("bild.jpg", Jpeg(w, h)); };
    };
    const auto baseWidth = [](int32_t width) {
        return [width](AddImages& a) {
            a.layout.GetBaseImage()->SetSize(width, 1260);
            return a.Write("bild.jpg", Jpeg(600, 400));
        };
    };
    const std::vector<Case> cases = {
        {"249 pixels on the shorter side", jpeg(249, 1000), kAddSizeOutOfRange, {10444}},
        {"an item 141 units wide", baseWidth(141), kAddSizeOutOfRange, {10444}},
        {"the thousandth item",
         [](AddImages& a) {
             a.t.AddImages(997, 100, 100);  // with the two below: 999
             return a.Write("bild.jpg", Jpeg(600, 400));
         },
         kAddItemLimit, {59430}},
        {"pixels beyond 1 GiB",
         [](AddImages& a) {
             ImageDescription huge;
             huge.codecType = FourCC("jpeg");
             huge.width = huge.height = 16384;  // 1 GiB at four bytes a pixel
             a.t.AddImages(1)[0]->SetDescription(huge);
             return a.Write("bild.jpg", Jpeg(600, 400));
         },
         kAddOutOfMemory, {10413}},
        {"a CMYK JPEG", [](AddImages& a) { return a.Write("cmyk.jpg", Jpeg(400, 400, 300, JCS_CMYK)); }, kAddNothing, {}},
        {"a PNG",
         [](AddImages& a) {
             return a.Write("bild.png", test::Bytes(std::string_view("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
         },
         kAddNothing, {}},
        {"a PSD", [](AddImages& a) { return a.Write("bild.psd", test::EncodePsd({})); }, kAddNothing, {}},
        {"a FIFO",
         [](AddImages& a) {
             const fs::path p = a.root.Path() / "x.jpg";
             EXPECT_EQ(mkfifo(p.c_str(), 0600), 0);
             return p;
         },
         kAddNothing, {}},
        {"a folder",
         [](AddImages& a) {
             const fs::path p = a.root.Path() / "x.jpg";
             fs::create_directory(p);
             return p;
         },
         kAddNothing, {}},
        {"a JPEG cut inside its header",
         [](AddImages& a) {
             std::vector<uint8_t> bytes = Jpeg(600, 400);
             bytes.resize(120);
             return a.Write("cut.jpg", bytes);
         },
         kAddNothing, {}},
        {"more pages than the layout may have",
         [](AddImages& a) {
             a.layout.SetPageMax(1);
             a.t.AddImages(4, 1260, 1260);  // six fill the page
             EXPECT_EQ(Relayout(a.layout), 1);
             return a.Write("bild.jpg", Jpeg(600, 400));
         },
         kAddRemovedAgain, {15168}},
        {"cut sheets printed at 90 ppi",
         [](AddImages& a) {
             a.layout.SetPaperWidth(30000);
             a.layout.SetPaperLength(30000);
             return a.Write("bild.jpg", Jpeg(600, 400));
         },
         kAddRemovedAgain, {59450}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddImages a;
        // Two images added before, so that a refusal has something to disturb.
        ASSERT_EQ(a.Add(a.Write("eins.jpg", Jpeg(600, 400))), kAddDone);
        ASSERT_EQ(a.Add(a.Write("zwei.jpg", Jpeg(400, 600))), kAddDone);
        const fs::path path = c.prepare(a);
        a.layout.SetDirty(0);
        a.undo.SetLastUndoCode(0);
        a.messages.shown.clear();
        const std::string before = DescribeByName(a.layout);

        EXPECT_EQ(a.Add(path), c.result);
        EXPECT_EQ(a.messages.Ids(), c.messages);
        for (const auto& shown : a.messages.shown) EXPECT_EQ(shown.icon, Icon::Error);
        EXPECT_EQ(DescribeByName(a.layout), before);
        EXPECT_EQ(a.undo.GetLastUndoCode(), 0);
    }
}

TEST(AddImageFilesToLayout, TakesAnItemJustInsideTheSizeLimit) {
    AddImages a;
    a.layout.GetBaseImage()->SetSize(142, 1260);
    EXPECT_EQ(a.Add(a.Write("bild.jpg", Jpeg(600, 400))), kAddDone);
    EXPECT_TRUE(a.messages.shown.empty());
    EXPECT_EQ(a.Last()->GetSize(), (LayoutPoint{142, 1260}));
}

TEST(AddImageFilesToLayout, AMissingFileShowsTheSystemsReason) {
    AddImages a;
    EXPECT_EQ(a.Add(a.root.Path() / "x.eps"), kAddNothing);
    ASSERT_EQ(a.messages.Ids(), std::vector<int>{19101});
    EXPECT_EQ(a.messages.shown[0].icon, Icon::Error);
    ASSERT_EQ(a.messages.shown[0].args.size(), 1u);
    EXPECT_EQ(std::get<std::string>(a.messages.shown[0].args[0]), std::strerror(ENOENT));
    EXPECT_EQ(a.messages.shown[0].text, "Datei nicht lesbar.\n" + std::string(std::strerror(ENOENT)));
    EXPECT_EQ(a.layout.GetFirstItem(), nullptr);
}

TEST(AddImageFilesToLayout, AutomaticRotationTurnsSizeAndPixels) {
    struct Case {
        const char* what;
        int16_t sizeMethod, prototypeRotate, autoRotate;
        int width, height;  // of the JPEG
        LayoutPoint size;
        int rotate, frameRotate, bitmapWidth, bitmapHeight;
        uint16_t exifOrientation = 0;
    };
    // 400 x 600 pixels at 300 ppi print 480 x 720 units.
    const std::vector<Case> cases = {
        {"ratio-sized portrait, mode 2", 2, 0, 2, 400, 600, {720, 480}, 1, 1, 300, 200},
        {"ratio-sized landscape, mode 2", 2, 0, 2, 600, 400, {720, 480}, 0, 0, 300, 200},
        {"dimensions-sized portrait, mode 2", 1, 0, 2, 400, 600, {1260, 1260}, 1, 0, 300, 200},
        {"a turned prototype without automatic rotation", 1, 1, 0, 600, 400, {1260, 1260}, 0, 0, 300, 200},
        {"a turned prototype, ratio-sized", 2, 1, 0, 600, 400, {720, 480}, 0, 0, 300, 200},
        // A phone's upright picture is stored lying, with Exif orientation 6.
        {"ratio-sized, turned by its Exif orientation", 2, 0, 1, 600, 400, {480, 720}, 1, 1, 200, 300, 6},
        {"dimensions-sized, turned by its Exif orientation", 1, 0, 1, 600, 400, {1260, 1260}, 1, 0, 200, 300, 6},
        {"an Exif orientation while rotation is off", 2, 0, 0, 600, 400, {720, 480}, 0, 0, 300, 200, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AddImages a;
        a.layout.SetAutoRotate(c.autoRotate);
        a.layout.GetBaseImage()->SetSizeMethod(c.sizeMethod);
        a.layout.GetBaseImage()->SetRotate(c.prototypeRotate);
        ASSERT_EQ(a.Add(a.Write("bild.jpg", Jpeg(c.width, c.height, 300, JCS_RGB, c.exifOrientation))), kAddDone);
        const CImageObj* item = a.Last();
        EXPECT_EQ(item->GetSize(), c.size);
        EXPECT_EQ(item->GetRotate(), c.rotate);
        EXPECT_EQ(item->GetFrameRotate(), c.frameRotate);
        const Rect16 bitmap = BitmapRect(*item);
        EXPECT_EQ(bitmap.Width(), c.bitmapWidth);
        EXPECT_EQ(bitmap.Height(), c.bitmapHeight);
    }
}

TEST(AddImageFilesToLayout, AGreyLayoutGetsGreyPixels) {
    AddImages a;
    a.layout.SetColor(1);
    ASSERT_EQ(a.Add(a.Write("bild.jpg", Jpeg(600, 400))), kAddDone);
    CImageBitmapLock lock(*a.Last(), TempBuffer::kMapReadOnly);
    const std::span<uint8_t> pixels = lock.Pixels();
    ASSERT_FALSE(pixels.empty());
    for (size_t i = 0; i < pixels.size(); i += 4) {
        ASSERT_EQ(pixels[i], pixels[i + 1]);
        ASSERT_EQ(pixels[i + 1], pixels[i + 2]);
    }
}

TEST(AddImageFilesToLayout, OpensThroughASymbolicLink) {
    AddImages a;
    const fs::path target = a.Write("ziel.jpg", Jpeg(600, 400));
    fs::create_symlink(target, a.root.Path() / "verweis.jpg");
    ASSERT_EQ(a.Add(a.root.Path() / "verweis.jpg"), kAddDone);
    EXPECT_EQ(a.Last()->GetFilePath(), a.root.Path() / "verweis.jpg");
    EXPECT_EQ(a.Last()->GetFileSize(), fs::file_size(target));
}

TEST(EnsureWorkingBitmap, BuildsAMissingBitmapOnce) {
    AddImages a;
    const fs::path path = a.Write("bild.jpg", Jpeg(600, 400));
    for (int16_t color : {2, 1}) {
        SCOPED_TRACE(color);
        a.layout.SetColor(color);
        CImageObj* item = CreateImageObj(a.layout.GetBaseImage(), a.layout.ItemListHead(), "StdImage");
        item->SetOwner(&a.layout);
        ASSERT_NE(OpenImageFile(item, path), 0);
        item->SetColorModeMark(7);
        EnsureWorkingBitmap(*item);
        ASSERT_EQ(item->IsSaveFile(), 1);
        EXPECT_EQ(item->GetColorModeMark(), 0);
        {
            CImageBitmapLock lock(*item, TempBuffer::kMapReadOnly);
            const std::span<uint8_t> px = lock.Pixels();
            ASSERT_FALSE(px.empty());
            const bool grey = px[0] == px[1] && px[1] == px[2];
            EXPECT_EQ(grey, color != 2) << "a grey layout turns the bitmap grey";
        }
        item->SetColorModeMark(7);
        EnsureWorkingBitmap(*item);
        EXPECT_EQ(item->GetColorModeMark(), 7) << "a stored bitmap stays";
    }
}

TEST(FinishAddedImage, ShowsTheItemAndRepaints) {
    AddImages a;
    a.layout.SetColor(1);
    a.t.AddImages(6, 1260, 1260);  // a full first page
    ASSERT_EQ(Relayout(a.layout), 1);
    CImageObj* item = CreateImageObj(a.layout.GetBaseImage(), a.layout.ItemListHead(), "StdImage");
    item->SetOwner(&a.layout);
    item->SetSize(1260, 1260);
    item->SetColorModeMark(3);
    PlaceNewObject(*item);
    const int invalidations = a.host.view.invalidations;
    FinishAddedImage(*item);
    EXPECT_EQ(item->GetColorModeMark(), 0) << "no bitmap yet: the mark is cleared";
    EXPECT_EQ(a.layout.GetPageNumber(), 2);
    EXPECT_EQ(a.host.view.currentPage, 1) << "the item's page is shown";
    EXPECT_GT(a.host.view.invalidations, invalidations);
    EXPECT_EQ(a.host.view.updates, 1);
}

TEST(RecalcFrameCaption, RebuildsTheLabel) {
    AddImages a;
    ASSERT_EQ(a.Add(a.Write("a.jpg", Jpeg(600, 400))), kAddDone);
    CImageObj* item = a.Last();
    item->SetLabelNumber(4);
    RecalcFrameCaption(*item);
    EXPECT_EQ(item->GetLabelText(), "Nummer: 4  Name: a.jpg  ");
}

TEST(CreateImageObj, NumbersAboveTheHighestOfTheList) {
    TestLayout t;
    for (int16_t n : {3, 1, 5}) t.Add(100, 100)->SetLabelNumber(n);
    t.Add<CTextObj>(100, 100);
    CImageObj* item = CreateImageObj(nullptr, t.layout.ItemListHead(), "StdImage");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetLabelNumber(), 6);
    EXPECT_EQ(GetObjectAt(t.layout.ItemListHead(), 4), item) << "appended";

    CLayoutObj* empty = nullptr;
    std::unique_ptr<CImageObj> first(CreateImageObj(nullptr, &empty, "StdImage"));
    EXPECT_EQ(first->GetLabelNumber(), 1);
    EXPECT_EQ(empty, first.get());
    (void)RemoveLastObject(&empty).release();
}

TEST(CreateImageObj, CopiesThePrototypeButKeepsItsOwnName) {
    std::unique_ptr<CImageObj> base(CreateImageObj(nullptr, nullptr, "BaseImage"));
    EXPECT_EQ(base->GetSize(), (LayoutPoint{1260, 1260}));
    EXPECT_EQ(base->GetSizePixel(), (LayoutPoint{1260, 1260}));
    EXPECT_EQ(base->GetUseZelFile(), 3);
    EXPECT_EQ(base->GetFrameColorValue(), 0x00FFFFFFu);
    EXPECT_EQ(base->GetLabelFontName(), kDefaultImageFontFace);
    EXPECT_EQ(base->GetSelected(), 1);
    base->SetSizeRatio({500, 700});
    base->SetCaptionText("Unterschrift");
    std::unique_ptr<CImageObj> item(CreateImageObj(base.get(), nullptr, "StdImage"));
    EXPECT_EQ(item->GetName(), "StdImage");
    EXPECT_EQ(item->GetSizeRatio(), (LayoutPoint{500, 700}));
    EXPECT_EQ(item->GetCaptionText(), "Unterschrift");
    EXPECT_NE(item->GetObjectId(), base->GetObjectId());
    EXPECT_EQ(item->IsSaveFile(), 0);
}

TEST(DeleteLayoutObject, UnlinksTheRecordGiven) {
    TestLayout t;
    auto images = t.AddImages(3);
    DeleteLayoutObject(images[1], t.layout.ItemListHead());
    EXPECT_EQ(CountObjects(t.layout.ItemListHead()), 2);
    EXPECT_EQ(t.layout.GetFirstItem()->NextItem(), images[2]);
}

}  // namespace
}  // namespace vx
