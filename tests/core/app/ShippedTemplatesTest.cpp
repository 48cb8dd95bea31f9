#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/TemplateGenerator.h"
#include "core/imaging/JpegFixtures.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlReader.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/ToolWindows.h"
#include "imaging/DibBuffer.h"
#include "imaging/JpegError.h"
#include "imaging/Thumbnail.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSeeding.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const std::vector<std::string> kShipped = {"Banner_Rolle.kqt",      "Foto_A4.kqt",       "Freie_Form_A2.kqt",
                                           "Karte_10x15.kqt",       "Kombination_Letter.kqt", "Kontaktbogen_A4.kqt",
                                           "Version_A_A3.kqt",      "Version_B_A3.kqt"};

/// The size of a JPEG that decodes whole; false when it does not.
bool DecodeJpegFromMemory(const std::vector<uint8_t>& bytes, int& width, int& height) {
    DibBufferPtr picture = CreateThumbnailDIB(bytes.data(), bytes.size());
    if (!picture) return false;
    const Rect16 r = DibBuffer::GetRect(picture.get());
    width = r.right - r.left;
    height = r.bottom - r.top;
    return true;
}

/// The pixel size in a JPEG's header; false when the header cannot be read.
bool JpegHeaderSize(const std::string& bytes, int& width, int& height) {
    jpeg_decompress_struct info{};
    JpegErrorManager errors;
    info.err = InitJpegErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    width = int(info.image_width);
    height = int(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

fs::path ShippedFolder() { return DataFolder() / "templates"; }
fs::path SourceFolder() { return fs::path(VX_TEMPLATE_SOURCE_DIR); }

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream s(text);
    for (std::string part; std::getline(s, part, ':');) parts.push_back(part);
    return parts;
}

/// The generator's private world: user and temporary folders of the test's own, a
/// queue file with one file queue per model, no CUPS server.
class ShippedTemplates : public testing::Test {
protected:
    ShippedTemplates() { EXPECT_TRUE(WriteModelQueueFile(root.Path() / "user", root.Path() / "printed")); }

    test::TestRoot root;
    test::ScopedEnv user{"VELLICOREX_USER_DIR", (root.Path() / "user").string()};
    test::ScopedEnv temp{"VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()};
    test::ScopedEnv cups{"CUPS_SERVER", (root.Path() / "no-cups.sock").string()};
};

TEST_F(ShippedTemplates, EveryTemplateLoadsWithItsPicturesAndItsModelChangesNothing) {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(ShippedFolder()))
        if (e.path().extension() == ".kqt") found.push_back(e.path().filename().string());
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found, kShipped);

    TemplateGenerator generator;
    std::string error;
    ASSERT_TRUE(generator.Ready(error)) << error;
    for (const std::string& name : kShipped) {
        SCOPED_TRACE(name);
        LayoutLoad load = LoadLayoutXml(ShippedFolder() / name);
        ASSERT_TRUE(load.Ok());
        CLayoutSetting& layout = *load.layout;
        int pictures = 0;
        for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) {
            if (item->GetKind() != kKindImage) continue;
            ++pictures;
            EXPECT_TRUE(fs::is_regular_file(static_cast<CImageObj*>(item)->GetFilePath()))
                << static_cast<CImageObj*>(item)->GetFilePath();
        }
        // A picture the reader cannot find is left out of the layout without a word here.
        const int expected = name == "Karte_10x15.kqt" ? 1 : name == "Kombination_Letter.kqt" ? 3
                           : name == "Freie_Form_A2.kqt" ? 2 : 0;
        EXPECT_EQ(pictures, expected);
        std::optional<SettingsChangeRecord> record = generator.Reconcile(layout, false, error);
        ASSERT_TRUE(record) << error;
        for (size_t i = 0; i < SettingsChangeRecord::kGeometry; ++i) EXPECT_EQ((*record)[i], 0) << "byte " << i;
    }
}

TEST_F(ShippedTemplates, SummariesCoverEveryCategoryAndMaskWithDecodablePreviews) {
    CTemplateInfoArray catalog;
    ScanTemplateFolders(ShippedFolder(), "kqt", 0, catalog);
    ASSERT_EQ(catalog.GetSize(), 8);
    std::set<std::string> categories, masks, models, inks;
    bool banner = false;
    for (int i = 0; i < catalog.GetSize(); ++i) {
        const TemplateInfo info = catalog.GetAt(i);
        SCOPED_TRACE(info.Path);
        for (const std::string& c : Split(info.Category)) categories.insert(c);
        masks.insert(info.ImageMask);
        models.insert(info.PrinterModel);
        inks.insert(info.Color);
        banner |= info.IsBanner != 0;
        // A size by ratio makes a 72 ppi camera picture metres wide: every shipped
        // template gives its pictures fields of a fixed size.
        EXPECT_EQ(info.IsAbsoluteSize, 1);
        EXPECT_EQ(info.IsUserTemplate, 0);
        EXPECT_FALSE(info.Comment.empty());
        ASSERT_TRUE(info.PreviewBytes);
        int width = 0, height = 0;
        EXPECT_TRUE(DecodeJpegFromMemory(*info.PreviewBytes, width, height)) << "preview";
        EXPECT_EQ(width, 128);
        EXPECT_EQ(height, 128);
    }
    EXPECT_EQ(categories, (std::set<std::string>{"Business", "Commercial Photo", "Design", "Education", "General",
                                                 "Personal Photo", "Shop"}));
    EXPECT_EQ(masks, (std::set<std::string>{"A Version", "B Version", "Banner Image", "Card", "Combination",
                                            "Non-Fixed Form", "Photo"}));
    EXPECT_EQ(models, (std::set<std::string>{"TEVRA Proof 44", "TEVRA Proof 24", "TEVRA Proof A3"}));
    EXPECT_EQ(inks.size(), 3u);
    EXPECT_TRUE(banner);
}

TEST_F(ShippedTemplates, SeedingCopiesTheWholeSetOnceAndLeavesItAloneAfter) {
    const fs::path target = root.Path() / "user" / "Templates";
    ASSERT_TRUE(SeedTemplateFolder(ShippedFolder(), target));
    size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(ShippedFolder())) {
        if (!e.is_regular_file()) continue;
        ++files;
        EXPECT_EQ(ReadAll(target / fs::relative(e.path(), ShippedFolder())), ReadAll(e.path())) << e.path();
    }
    EXPECT_GT(files, 8u) << "templates and their pictures";
    CTemplateInfoArray catalog;
    ScanTemplateFolders(target, "kqt", 0, catalog);
    EXPECT_EQ(catalog.GetSize(), 8);

    // The user deletes one and renames another: a second start keeps that.
    fs::remove(target / "Foto_A4.kqt");
    fs::rename(target / "Karte_10x15.kqt", target / "Meine Karte.kqt");
    ASSERT_TRUE(SeedTemplateFolder(ShippedFolder(), target));
    EXPECT_FALSE(fs::exists(target / "Foto_A4.kqt"));
    EXPECT_FALSE(fs::exists(target / "Karte_10x15.kqt"));
    EXPECT_TRUE(fs::exists(target / "Meine Karte.kqt"));
}

/// A source that is not what the model and the reader keep must fail, naming why.
TEST_F(ShippedTemplates, TheGeneratorRefusesSourcesThatDoNotComeOutAsWritten) {
    const std::string good = ReadAll(SourceFolder() / "Foto_A4.kqt");
    ASSERT_NE(good.find("<Color>Color</Color>"), std::string::npos);
    ASSERT_NE(good.find("<PaperSizeID>9</PaperSizeID>"), std::string::npos);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    struct Case {
        const char* what;
        std::string source;
        const char* reason;  // a part of the error
    };
    const Case cases[] = {
        {"not XML", "<root><layout>", "not a layout file"},
        {"a preview of its own", replaced("<Color>", "<Preview>AAAA</Preview><Color>"), "Preview"},
        {"an ink word the reader does not know", replaced("<Color>Color<", "<Color>Blau<"), "Color"},
        {"a paper the model lacks", replaced("<PaperSizeID>9<", "<PaperSizeID>4711<"), "changes PaperSizeID"},
        {"a printer model nobody has", replaced("<PrinterModel>\"TEVRA Proof 44\"", "<PrinterModel>\"TEVRA Proof 99\""),
         "TEVRA Proof 99"},
    };
    TemplateGenerator generator;
    std::string error;
    ASSERT_TRUE(generator.Ready(error)) << error;
    const fs::path source = root.Path() / "src" / "Foto_A4.kqt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(source, c.source);
        error.clear();
        EXPECT_FALSE(generator.Generate(source, root.Path() / "out" / "Foto_A4.kqt", error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }

    // A placed picture that is not there.
    const std::string card = ReadAll(SourceFolder() / "Karte_10x15.kqt");
    Write(root.Path() / "src" / "Karte_10x15.kqt", card);
    EXPECT_FALSE(generator.Generate(root.Path() / "src" / "Karte_10x15.kqt", root.Path() / "out" / "Karte_10x15.kqt",
                                    error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;

    // The unchanged source comes out as the shipped file.
    Write(source, good);
    std::optional<std::string> bytes = generator.Generate(source, root.Path() / "out" / "Foto_A4.kqt", error);
    ASSERT_TRUE(bytes) << error;
    EXPECT_EQ(*bytes, ReadAll(ShippedFolder() / "Foto_A4.kqt"));
}

/// The dark fields of a decoded preview (the cells an automatic template draws for its
/// pictures): groups of at least 100 touching pixels darker than mid grey, so that the
/// small end mark of a roll does not count.
int DarkFields(const DibBuffer* picture) {
    const Rect16 r = DibBuffer::GetRect(picture);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const uint8_t* bits = DibBuffer::GetBits(picture);
    const int32_t stride = DibBuffer::GetRowBytes(picture);
    std::vector<char> dark(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = bits + int64_t(y) * stride + x * 4;
            dark[size_t(y) * size_t(w) + size_t(x)] = (p[0] + p[1] + p[2]) / 3 < 128;
        }
    int fields = 0;
    std::vector<std::pair<int, int>> stack;
    for (int start = 0; start < w * h; ++start) {
        if (!dark[size_t(start)]) continue;
        int size = 0;
        stack.assign(1, {start % w, start / w});
        dark[size_t(start)] = 0;
        while (!stack.empty()) {
            const auto [x, y] = stack.back();
            stack.pop_back();
            ++size;
            for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || !dark[size_t(ny) * size_t(w) + size_t(nx)]) continue;
                dark[size_t(ny) * size_t(w) + size_t(nx)] = 0;
                stack.push_back({nx, ny});
            }
        }
        fields += size >= 100;
    }
    return fields;
}

/// The chooser shows each template by its preview: an automatic template shows the
/// fields its first page gives pictures, as many as its comment promises.
TEST_F(ShippedTemplates, PreviewsOfAutomaticTemplatesShowTheirFields) {
    const std::map<std::string, int> fields = {
        {"Banner_Rolle.kqt", 2},  // the first of its two sheets
        {"Foto_A4.kqt", 1},
        {"Kontaktbogen_A4.kqt", 24},
        {"Version_A_A3.kqt", 2},
        {"Version_B_A3.kqt", 2},
    };
    CTemplateInfoArray catalog;
    ScanTemplateFolders(ShippedFolder(), "kqt", 0, catalog);
    int automatic = 0;
    for (int i = 0; i < catalog.GetSize(); ++i) {
        const TemplateInfo info = catalog.GetAt(i);
        const std::string name = fs::path(info.Path).filename().string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(info.PreviewBytes);
        DibBufferPtr picture = CreateThumbnailDIB(info.PreviewBytes->data(), info.PreviewBytes->size());
        ASSERT_TRUE(picture);
        LayoutLoad load = LoadLayoutXml(ShippedFolder() / name);
        ASSERT_TRUE(load.Ok());
        if (load.layout->GetFree()) continue;
        ++automatic;
        ASSERT_TRUE(fields.count(name));
        EXPECT_EQ(DarkFields(picture.get()), fields.at(name));
    }
    EXPECT_EQ(automatic, int(fields.size()));
}

/// A camera's or phone's picture: its pixel size, the pixels per inch it claims, and
/// whether it claims them in Exif (turned upright by Exif orientation 6) or in JFIF.
struct CameraPicture {
    int width, height, ppi;
    bool exifUpright;
};

/// From the smallest to the largest picture of today's cameras and phones, at the
/// resolutions they write (72) and that picture tools save (240, 300), both ways round.
std::vector<fs::path> WriteCameraPictures(const fs::path& folder) {
    std::vector<CameraPicture> pictures;
    for (const auto& [w, h] : {std::pair{3000, 2000}, std::pair{6000, 4000}})
        for (int ppi : {72, 240, 300}) {
            pictures.push_back({w, h, ppi, false});
            pictures.push_back({h, w, ppi, false});
        }
    pictures.push_back({4000, 3000, 72, true});
    std::vector<fs::path> files;
    fs::create_directories(folder);
    for (const CameraPicture& p : pictures) {
        test::JpegFixture jpeg;
        jpeg.width = p.width;
        jpeg.height = p.height;
        jpeg.quality = 50;
        if (p.exifUpright) {
            jpeg.markers.emplace_back(JPEG_APP0 + 1, test::ExifBuilder()
                                                         .Short(0x0112, 6)
                                                         .Rational(282, uint32_t(p.ppi), 1)
                                                         .Rational(283, uint32_t(p.ppi), 1)
                                                         .Short(296, 2)
                                                         .Build(true));
        } else {
            jpeg.densityUnit = 1;
            jpeg.xDensity = jpeg.yDensity = p.ppi;
        }
        files.push_back(folder / ("Bild_" + std::to_string(p.width) + "x" + std::to_string(p.height) + "_" +
                                  std::to_string(p.ppi) + (p.exifUpright ? "_exif" : "") + ".jpg"));
        test::WriteBytes(files.back(), test::EncodeJpeg(jpeg));
    }
    return files;
}

struct ChosenTemplate final : SettingsDialogs {
    fs::path path;
    bool Has(Dialog) override { return true; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<fs::path> ChooseTemplate() override { return path; }
};

struct ChosenPictures final : NoToolWindows {
    std::vector<fs::path> files;
    std::vector<fs::path> ChooseImageFiles(const fs::path&) override { return files; }
};

std::string Describe(const CLayoutObj& item) {
    const LayoutRect r = GetItemRectByKind(item);
    std::string text = "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") - (" +
                       std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
    if (item.GetKind() == kKindImage) text += " " + static_cast<const CImageObj&>(item).GetFilePath().filename().string();
    return text;
}

/// What a new user does on the first day: New from each shipped template (seeded into
/// the user folder), Load image with the pictures of a camera or phone. Every item must
/// lie wholly inside the printable part of its page, and the automatic templates must
/// hold as many pictures on a page as their comments promise.
TEST_F(ShippedTemplates, CameraPicturesLieWhollyInsideTheirPages) {
    const std::vector<fs::path> pictures = WriteCameraPictures(root.Path() / "Kamera");
    TemplateGenerator core;
    std::string error;
    ASSERT_TRUE(core.Ready(error)) << error;
    const fs::path seeded = root.Path() / "user" / "Templates";
    ASSERT_TRUE(SeedTemplateFolder(ShippedFolder(), seeded));

    const struct Case {
        const char* name;
        int perPage;  // pictures on each full page of an automatic layout; 0 free layout
        bool followsExif;
    } cases[] = {
        {"Banner_Rolle.kqt", 4, false},       {"Foto_A4.kqt", 1, true},
        {"Freie_Form_A2.kqt", 0, false},      {"Karte_10x15.kqt", 0, false},
        {"Kombination_Letter.kqt", 0, false}, {"Kontaktbogen_A4.kqt", 24, false},
        {"Version_A_A3.kqt", 2, false},       {"Version_B_A3.kqt", 2, false},
    };
    ChosenTemplate dialogs;
    ScopedHostService<SettingsDialogs> installDialogs(&dialogs);
    ChosenPictures chooser;
    ScopedHostService<ToolWindows> installChooser(&chooser);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.path = seeded / c.name;
        // A roll holds what its length holds: it gets the pictures a rollful at a time.
        const size_t batch = c.name == std::string("Banner_Rolle.kqt") ? size_t(c.perPage) : pictures.size();
        for (size_t first = 0; first < pictures.size(); first += batch) {
            chooser.files.assign(pictures.begin() + long(first),
                                 pictures.begin() + long(std::min(pictures.size(), first + batch)));
            CGPDoc doc;
            ASSERT_TRUE(doc.OnNewDocument());
            CLayoutSetting& layout = *doc.GetLayout();
            core.ShowLayout(&layout);
            int before = 0;
            for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem())
                before += item->GetKind() == kKindImage;
            doc.OnLoadImage();

            const LayoutPoint paper = GetPaperSize(layout);
            const LayoutRect printable = GetMarginRect(layout);
            std::map<int, int> perPage;
            int added = -before;
            for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem()) {
                const int page = PageOfY(layout, GetItemDrawOrigin(*item).y);
                const LayoutRect inside = OffsetRectCopy(printable, 0, int64_t(page - 1) * paper.y);
                const LayoutRect r = GetItemRectByKind(*item);
                EXPECT_TRUE(r.left >= inside.left && r.top >= inside.top && r.right <= inside.right &&
                            r.bottom <= inside.bottom)
                    << Describe(*item) << " on page " << page << " inside (" << inside.left << ", " << inside.top
                    << ") - (" << inside.right << ", " << inside.bottom << ")";
                if (item->GetKind() == kKindImage) {
                    // Only the phone's upright picture asks to be turned, and only where
                    // the template says it follows the Exif information.
                    const auto* image = static_cast<const CImageObj*>(item);
                    const bool upright = image->GetFilePath().stem().string().ends_with("_exif");
                    EXPECT_EQ(image->GetRotate(), upright && c.followsExif ? 1 : 0) << Describe(*item);
                    ++added;
                    ++perPage[page];
                }
            }
            EXPECT_EQ(added, int(chooser.files.size()));
            // The pictures fill the pages in turn.
            if (c.perPage > 0) {
                const int pages = (added + c.perPage - 1) / c.perPage;
                EXPECT_EQ(int(perPage.size()), pages);
                for (int page = 1; page <= pages; ++page)
                    EXPECT_EQ(perPage[page], std::min(c.perPage, added - (page - 1) * c.perPage)) << "page " << page;
            }
            core.ShowLayout(nullptr);
            doc.DeleteLayout();
        }
    }
}

TEST(PlaceholderList, ReadsPicturesAndRefusesWhatCannotBeMade) {
    test::TestRoot root;
    const fs::path ini = root.Path() / "placeholders.ini";
    Write(ini, "; Bilder\n[Karte/Platzhalter.jpg]\nWidth=40\nHeight=50\nGrey=160\n");
    std::string error;
    std::optional<std::vector<PlaceholderPicture>> list = ReadPlaceholderList(ini, error);
    ASSERT_TRUE(list) << error;
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].file, fs::path("Karte/Platzhalter.jpg"));
    EXPECT_EQ((*list)[0].width, 40);
    EXPECT_EQ((*list)[0].height, 50);
    EXPECT_EQ((*list)[0].grey, 160);
    ASSERT_TRUE(WritePlaceholderPicture(root.Path() / "out" / (*list)[0].file, (*list)[0]));
    int width = 0, height = 0;
    const std::string jpeg = ReadAll(root.Path() / "out" / "Karte/Platzhalter.jpg");
    EXPECT_TRUE(JpegHeaderSize(jpeg, width, height));
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 50);

    const char* bad[] = {
        "[../Ausserhalb.jpg]\nWidth=4\nHeight=4\nGrey=1\n",
        "[/abs.jpg]\nWidth=4\nHeight=4\nGrey=1\n",
        "[a.jpg]\nWidth=0\nHeight=4\nGrey=1\n",
        "[a.jpg]\nWidth=4\nHeight=4x\nGrey=1\n",
        "[a.jpg]\nWidth=4\nHeight=4\n",
        "[a.jpg]\nWidth=4\nHeight=4\nGrey=256\n",
    };
    for (const char* text : bad) {
        Write(ini, text);
        error.clear();
        EXPECT_FALSE(ReadPlaceholderList(ini, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_FALSE(ReadPlaceholderList(root.Path() / "nicht.ini", error));
}

}  // namespace
}  // namespace vx
