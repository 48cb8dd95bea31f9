#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "LayoutLoadFixtures.h"
#include "document/LayoutXmlRules.h"
#include "document/LayoutXmlWriter.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/PageGeometry.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

CObjNode* RecordOf(const XmlRule& r, const XmlScope& s) {
    switch (r.target) {
        case XmlTarget::Layout: return s.layout;
        case XmlTarget::Image: return s.image;
        case XmlTarget::Text: return s.text;
        case XmlTarget::Line: return s.line;
    }
    return nullptr;
}

/// A word element's value as its words count it: 16-bit values unsigned (65535 is -1).
int64_t WordValue(const XmlRule& r, const XmlScope& s) {
    if (r.getInt) return uint16_t(r.getInt(s));  // the fields behind these are 16 bits
    PropertyValue v;
    RecordOf(r, s)->Access(r.property, false, v);
    if (auto* p = std::get_if<int16_t>(&v)) return uint16_t(*p);
    if (auto* p = std::get_if<int32_t>(&v)) return *p;
    if (auto* p = std::get_if<uint32_t>(&v)) return *p;
    if (auto* p = std::get_if<LayoutPoint>(&v)) return r.component == 0 ? p->x : p->y;
    ADD_FAILURE() << "no number behind " << kLayoutXmlNames[size_t(r.name)];
    return 0;
}

void SetWordValue(const XmlRule& r, XmlScope& s, int64_t value) {
    if (r.setInt) return r.setInt(s, int32_t(value));
    PropertyValue v;
    CObjNode* record = RecordOf(r, s);
    record->Access(r.property, false, v);
    if (std::holds_alternative<int16_t>(v)) v = int16_t(uint16_t(value));
    else if (std::holds_alternative<int32_t>(v)) v = int32_t(value);
    else if (std::holds_alternative<uint32_t>(v)) v = uint32_t(value);
    else if (auto* p = std::get_if<LayoutPoint>(&v)) (r.component == 0 ? p->x : p->y) = int32_t(value);
    record->Access(r.property, true, v);
}

bool HasWord(const XmlRule& r, int64_t value) { return FormatXmlWord(r.words, int32_t(value)).has_value(); }

/// A listed value other than the one an unknown word reads as, to tell the two apart.
int32_t StartWord(const XmlRule& r) {
    for (auto w = r.words.rbegin(); w != r.words.rend(); ++w)
        if (w->value != r.readOther.value_or(-1)) return w->value;
    return r.words.front().value;
}

class WordlessValues : public test::LayoutLoadTest {
protected:
    /// A savable layout with one item of each kind, bound into scope; in the layout
    /// context image values are those of "BaseImage".
    std::unique_ptr<CLayoutSetting> MakeLayout(XmlContext context, XmlScope& scope) {
        auto l = test::MakeSavableLayout();
        test::NameTestProfiles(*l);
        CImageObj* image = test::AddProfiledImage(*l, Touch("p/a.jpg"));
        CTextObj* text = CreateTextObject(l.get(), l->ItemListHead());
        text->SetText("x");
        CLineObj* line = CreateLineObject(l.get(), l->ItemListHead());
        ComputeFreeLineGeometry(*line);
        scope = {l.get(), context == XmlContext::Layout ? l->GetBaseImage() : image, text, line};
        return l;
    }

    static XmlScope LoadedScope(XmlContext context, CLayoutSetting& l) {
        XmlScope s{.layout = &l, .image = l.GetBaseImage()};
        for (CLayoutObj* o = l.GetFirstItem(); o; o = o->NextItem()) {
            if (o->GetKind() == kKindImage && context != XmlContext::Layout) s.image = static_cast<CImageObj*>(o);
            if (o->GetKind() == kKindText) s.text = static_cast<CTextObj*>(o);
            if (o->GetKind() == kKindLine) s.line = static_cast<CLineObj*>(o);
        }
        return s;
    }
};

/// The text of the file's first element of that name; nullopt when there is none.
std::optional<std::string> ElementText(const std::string& xml, const std::string& name) {
    if (xml.find("<" + name + "/>") != std::string::npos) return "";
    size_t at = xml.find("<" + name + ">");
    if (at == std::string::npos) return std::nullopt;
    at += name.size() + 2;
    return xml.substr(at, xml.find("</" + name + ">", at) - at);
}

// Every enumerated value the writer can meet without a word of its own: the save writes
// a word the reader takes back, or leaves the element out so that the reader keeps the
// value it starts from; the save is never refused and the file always opens again.
TEST_F(WordlessValues, SaveAndReopen) {
    const fs::path file = root.Path() / "x.kqf";
    // Items of a new layout start as they are created; the reader creates them the same way.
    CLayoutSetting fresh(true);
    XmlScope created{.layout = &fresh, .text = CreateTextObject(&fresh, fresh.ItemListHead()),
                     .line = CreateLineObject(&fresh, fresh.ItemListHead())};
    std::set<std::string> omitted, translated;
    for (XmlContext context : {XmlContext::Layout, XmlContext::Image, XmlContext::FreeText, XmlContext::FreeLine}) {
        for (const XmlRule& rule : LayoutXmlRules(context)) {
            if (rule.form != XmlForm::Word || (rule.property.empty() && !rule.getInt)) continue;
            const std::string name(kLayoutXmlNames[size_t(rule.name)]);
            // 0, the value above the table and the first gap in it.
            int32_t top = 0, gap = 0;
            for (const XmlWord& w : rule.words) top = std::max(top, w.value);
            while (HasWord(rule, gap)) ++gap;
            for (int64_t value : {int64_t(0), int64_t(top) + 1, int64_t(gap)}) {
                XmlScope scope;
                auto saved = MakeLayout(context, scope);
                // The value a read starts from, told apart from what an unknown word gives:
                // a new layout copies the defaults, an image item copies "BaseImage".
                XmlScope defaults{.layout = &app.defaults, .image = app.defaults.GetBaseImage()};
                XmlScope savedBase{.layout = saved.get(), .image = saved->GetBaseImage()};
                if (context == XmlContext::Layout || context == XmlContext::Image) {
                    SetWordValue(rule, defaults, StartWord(rule));
                    if (context == XmlContext::Image) SetWordValue(rule, savedBase, StartWord(rule));
                }
                ASSERT_TRUE(SaveLayoutXml(file, *saved)) << name;
                SetWordValue(rule, scope, value);
                const int64_t stored = WordValue(rule, scope);
                if (HasWord(rule, stored)) continue;  // the value wrapped into a listed one
                SCOPED_TRACE(name + " holding " + std::to_string(stored));

                ASSERT_TRUE(SaveLayoutXml(file, *saved)) << "the save is refused";
                const std::string bytes = test::ReadFileBytes(file);
                vx::LayoutLoad load = Load(file);
                ASSERT_TRUE(load.Ok()) << "the file does not open again";
                const int64_t read = WordValue(rule, LoadedScope(context, *load.layout));
                if (const std::optional<std::string> text = ElementText(bytes, name)) {
                    // The format's word for such values ("Off", "-", "Dash"...), never empty
                    // text; it reads back as the format says.
                    EXPECT_FALSE(text->empty());
                    const std::optional<int32_t> word = ParseXmlWord(rule.words, *text);
                    EXPECT_EQ(read, word ? *word : rule.readOther.value_or(-1)) << "written as " << *text;
                    translated.insert(name);
                } else {
                    const int64_t start = context == XmlContext::Layout   ? WordValue(rule, defaults)
                                          : context == XmlContext::Image ? StartWord(rule)
                                                                          : WordValue(rule, created);
                    EXPECT_TRUE(HasWord(rule, start));
                    EXPECT_EQ(read, start);
                    omitted.insert(name);
                }
            }
        }
    }
    // Intents, alignments, the size method and every other element without a fallback
    // word are left out; the rest have the format's word for such values.
    for (const char* name : {"HeaderFooterJustify", "InputSrcIntent", "InputSimIntent", "ImageSizeMethod",
                             "ImageLabelAlign", "ImageCaptionAlign", "ImageSrcIntent", "ImageSimIntent", "Justify",
                             "AlignHorizontal", "Orientation", "CropMode", "ColorTuneMode"})
        EXPECT_TRUE(omitted.count(name)) << name;
    EXPECT_FALSE(omitted.empty() || translated.empty());
}

// Files that the format's other writers made hold such values as empty elements: each
// keeps the value the record starts from, neither 65535 nor a refused file.
TEST_F(WordlessValues, EmptyElementsKeepTheStartingValue) {
    app.defaults.SetHeaderFooterJustify(-1);
    app.defaults.SetAlign({5, 2});
    app.defaults.SetColorIntentRGB(2);
    app.defaults.SetColorIntentSimulation(4);
    CImageObj& base = *app.defaults.GetBaseImage();
    base.SetSizeMethod(2);
    base.SetLabelAlign(2);
    base.SetCaptionAlign(1);
    base.SetProfileIntent(3);
    base.SetColorIntentSimulation(5);
    Touch("p/a.jpg");
    const std::string folder = "\"" + (root.Path() / "p").string() + "/\"";
    const fs::path file = WriteText(
        "handwritten.kqf",
        test::HandWritten("<AlignHorizontal/><AlignVertical></AlignVertical><HeaderFooterJustify></HeaderFooterJustify><InputSrcIntent/><InputSimIntent></InputSimIntent>"
                          "<ImageSizeMethod/><ImageLabelAlign></ImageLabelAlign><ImageCaptionAlign/>",
                          "<image><Dir>" + folder + "</Dir><File>\"a.jpg\"</File><ImageSrcIntent></ImageSrcIntent>"
                          "<ImageSimIntent/></image><freeText><String>\"x\"</String><Justify/></freeText>"));
    vx::LayoutLoad load = Load(file);
    ASSERT_TRUE(load.Ok()) << int(load.status);
    const CLayoutSetting& l = *load.layout;
    const std::vector<CImageObj*> images = test::Images(l);
    ASSERT_EQ(images.size(), 1u);
    const CImageObj& image = *images[0];
    const CTextObj* text = nullptr;
    for (CLayoutObj* o = l.GetFirstItem(); o; o = o->NextItem())
        if (o->GetKind() == kKindText) text = static_cast<CTextObj*>(o);
    ASSERT_NE(text, nullptr);
    struct Case { const char* element; int64_t read; int64_t start; };
    for (const Case& c : {Case{"AlignHorizontal", GetAlign(l).x, 5},
                          Case{"AlignVertical", GetAlign(l).y, 2},
                          Case{"HeaderFooterJustify", l.GetHeaderFooterJustify(), -1},
                          Case{"InputSrcIntent", l.GetColorIntentRGB(), 2},
                          Case{"InputSimIntent", l.GetColorIntentSimulation(), 4},
                          Case{"ImageSizeMethod", l.GetBaseImage()->GetSizeMethod(), 2},
                          Case{"ImageLabelAlign", l.GetBaseImage()->GetLabelAlign(), 2},
                          Case{"ImageCaptionAlign", l.GetBaseImage()->GetCaptionAlign(), 1},
                          Case{"ImageSrcIntent", image.GetProfileIntent(), 3},
                          Case{"ImageSimIntent", image.GetColorIntentSimulation(), 5},
                          Case{"Justify", text->GetTextJustify(), 1}}) {
        SCOPED_TRACE(c.element);
        EXPECT_EQ(c.read, c.start);
    }
}

}  // namespace
}  // namespace vx
