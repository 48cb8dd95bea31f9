#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "document/ClipboardItemsXml.h"
#include "host/HostService.h"
#include "model/CCutLineObj.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/ImageAdding.h"
#include "model/ItemClipboard.h"
#include "model/ObjectList.h"
#include "platform/gfx/TextMeasurer.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using gfx::TextMeasurer;

// Every named value of an item but its link and its bitmap's address.
std::map<std::string, std::string> Values(CObjNode& item) {
    std::map<std::string, std::string> out;
    for (const CPropertyMember& m : item.InitPropertyNames()) {
        const std::string name(m.Name());
        if (name == "mNext" || name == "mWorld") continue;
        const PropertyValue v = m.Get();
        std::string s;
        if (auto* i = std::get_if<int16_t>(&v)) s = std::to_string(*i);
        if (auto* i = std::get_if<int32_t>(&v)) s = std::to_string(*i);
        if (auto* i = std::get_if<uint32_t>(&v)) s = std::to_string(*i);
        if (auto* p = std::get_if<LayoutPoint>(&v)) s = std::to_string(p->x) + "," + std::to_string(p->y);
        if (auto* r = std::get_if<LayoutRect>(&v))
            s = std::to_string(r->left) + "," + std::to_string(r->top) + "," + std::to_string(r->right) + "," +
                std::to_string(r->bottom);
        out[name] = s;
    }
    return out;
}

// Half the em size a byte: enough for a text box that the reader measures again.
struct FixedMeasurer : TextMeasurer {
    std::optional<double> MeasureLine(std::string_view line, std::string_view, double size, int, bool) override {
        return double(line.size()) * size / 2;
    }
};

// An image of a JPEG file, a free text, a free line and a cut line, linked as the
// clipboard links them.
struct ClipboardXml : testing::Test {
    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    FixedMeasurer measurer;
    ScopedHostService<TextMeasurer> installMeasurer{&measurer};
    ItemClipboard board;
    std::filesystem::path picture = root.Path() / "Bild Ä.jpg";

    ClipboardXml() {
        test::JpegFixture jpeg;
        jpeg.width = 40;
        jpeg.height = 30;
        test::WriteBytes(picture, test::EncodeJpeg(jpeg));

        std::unique_ptr<CLayoutObj> cut = std::make_unique<CCutLineObj>(false);
        board.PushFront(std::move(cut));

        CLayoutObj* list = nullptr;
        CLineObj* line = CreateLineObject(nullptr, &list);
        line->SetPosition(500, 600);
        MoveFreeLineEnd(*line, 400, 300, 1);
        CTextObj* text = CreateTextObject(nullptr, &list);
        text->SetText("Grüße\r\n<Welt> & \"mehr\"");
        text->SetPosition(100, 200);
        EXPECT_TRUE(MeasureFreeText(*text));
        CImageObj* image = CreateImageObj(nullptr, &list, "StdImage");
        EXPECT_NE(OpenImageFile(image, picture), 0);
        image->SetPosition(1000, 1000);
        image->SetSize(600, 450);
        image->SetRotate(1);
        image->SetFrame({10, 20, 30, 40});
        // Values the layout file's forms carry as they are (3 is written as Zel level 4,
        // an intent 0 as an unknown one).
        image->SetUseZelFile(4);
        image->SetColorIntentSimulation(1);
        EnsureWorkingBitmap(*image);
        while (std::unique_ptr<CLayoutObj> item = RemoveLastObject(&list)) board.PushFront(std::move(item));
    }

    std::vector<CLayoutObj*> Originals() {
        std::vector<CLayoutObj*> out;
        for (const CLayoutObj* p = board.Current(); p; p = p->NextItem())
            if (p->GetKind() != kKindCutLine) out.push_back(const_cast<CLayoutObj*>(p));
        return out;
    }
};

TEST_F(ClipboardXml, RoundTripGivesEqualItemsWithNewIds) {
    // GTK sets the user's locale; the values must not take its decimal comma.
    test::ScopedLocale german("de_DE.UTF-8");
    const std::optional<std::string> bytes = WriteClipboardItems(board.Current());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(bytes->find("<root>"), std::string::npos);
    EXPECT_NE(bytes->find(picture.parent_path().string()), std::string::npos);  // absolute

    ClipboardItems read = ReadClipboardItems(*bytes);
    ASSERT_EQ(read.status, ClipboardReadStatus::Read);
    EXPECT_EQ(read.unreadableImages, 0);
    const std::vector<CLayoutObj*> originals = Originals();
    ASSERT_EQ(read.items.size(), originals.size());
    ASSERT_EQ(read.items.size(), 3u);
    for (size_t i = 0; i < originals.size(); ++i) {
        SCOPED_TRACE(i);
        CLayoutObj& copy = *read.items[i];
        EXPECT_EQ(copy.GetKind(), originals[i]->GetKind());
        EXPECT_EQ(copy.GetOwner(), nullptr);
        EXPECT_NE(copy.GetObjectId(), 0u);
        EXPECT_NE(copy.GetObjectId(), originals[i]->GetObjectId());
        const auto a = Values(*originals[i]), b = Values(copy);
        for (const auto& [name, value] : a) EXPECT_EQ(b.at(name), value) << name;
    }
    auto& image = static_cast<CImageObj&>(*read.items[2]);
    EXPECT_EQ(image.GetFilePath(), picture);
    ASSERT_TRUE(image.GetDescription().has_value());
    EXPECT_EQ(image.GetDescription()->width, 40);
    EXPECT_EQ(static_cast<CTextObj&>(*read.items[1]).GetText(), "Grüße\r\n<Welt> & \"mehr\"");
}

TEST_F(ClipboardXml, AnImageWhoseFileIsGoneIsLeftOutAndCounted) {
    const std::optional<std::string> bytes = WriteClipboardItems(board.Current());
    ASSERT_TRUE(bytes.has_value());
    std::filesystem::remove(picture);
    ClipboardItems read = ReadClipboardItems(*bytes);
    ASSERT_EQ(read.status, ClipboardReadStatus::Read);
    EXPECT_EQ(read.items.size(), 2u);
    EXPECT_EQ(read.unreadableImages, 1);
    EXPECT_TRUE(messages.shown.empty());  // the caller shows it once, after the paste
}

TEST_F(ClipboardXml, RefusesDamagedForeignAndOversizedTexts) {
    const std::string bytes = *WriteClipboardItems(board.Current());
    std::string many = "<root><header><Program>VellicorEX</Program><Format>1</Format></header><object>";
    for (int i = 0; i < 1000; ++i) many += "<FreeLine/>";
    many += "</object></root>";
    std::string huge = bytes;
    huge.insert(huge.find("<object>"), std::string((size_t(17) << 20), ' '));
    std::string otherFormat = bytes;
    otherFormat.replace(otherFormat.find("<Format>1<"), 10, "<Format>2<");
    const std::string entity =
        "<!DOCTYPE root [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><root><header><Program>VellicorEX</Program>"
        "<Format>1</Format></header><object><FreeText><Text>&e;</Text></FreeText></object></root>";
    struct Case { const char* what; std::string text; ClipboardReadStatus status; };
    const std::vector<Case> cases = {
        {"cut short", bytes.substr(0, bytes.size() / 2), ClipboardReadStatus::Unreadable},
        {"empty", "", ClipboardReadStatus::Unreadable},
        {"plain text", "Hallo", ClipboardReadStatus::Unreadable},
        {"another format version", otherFormat, ClipboardReadStatus::Unreadable},
        {"an external entity", entity, ClipboardReadStatus::Unreadable},
        {"17 MiB", huge, ClipboardReadStatus::TooLarge},
        {"1000 objects", many, ClipboardReadStatus::TooMany},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClipboardItems read = ReadClipboardItems(c.text);
        EXPECT_EQ(read.status, c.status);
        EXPECT_TRUE(read.items.empty());
    }
}

}  // namespace
}  // namespace vx
