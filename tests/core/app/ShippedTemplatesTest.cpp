#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/TemplateGenerator.h"
#include "document/LayoutXmlReader.h"
#include "imaging/DibBuffer.h"
#include "imaging/JpegError.h"
#include "imaging/Thumbnail.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
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
    bool banner = false, absolute = false, relative = false;
    for (int i = 0; i < catalog.GetSize(); ++i) {
        const TemplateInfo info = catalog.GetAt(i);
        SCOPED_TRACE(info.Path);
        for (const std::string& c : Split(info.Category)) categories.insert(c);
        masks.insert(info.ImageMask);
        models.insert(info.PrinterModel);
        inks.insert(info.Color);
        banner |= info.IsBanner != 0;
        (info.IsAbsoluteSize ? absolute : relative) = true;
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
    EXPECT_TRUE(absolute);
    EXPECT_TRUE(relative);
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
