#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include <libxml/parser.h>

#include "DocumentFixtures.h"
#include "document/LayoutXmlWriter.h"
#include "host/ApplicationState.h"
#include "model/CCutLineObj.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Base64.h"
#include "platform/system/Folders.h"
#include "platform/system/FreeSpace.h"
#include "support/RecordingHost.h"
#include "support/TestFolders.h"
#include "view/LayoutViewCommands.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::AddImage;
using test::AddItem;
using test::MakeSavableLayout;

/// A parsed layout file, read the way a reader meets it.
class ParsedFile {
public:
    explicit ParsedFile(const std::string& bytes)
        : mDoc(xmlReadMemory(bytes.data(), int(bytes.size()), nullptr, nullptr, XML_PARSE_NONET)) {}
    bool Ok() const { return mDoc != nullptr; }
    xmlNodePtr Root() const { return xmlDocGetRootElement(mDoc.get()); }
    xmlNodePtr Child(xmlNodePtr parent, std::string_view name, int nth = 0) const {
        for (xmlNodePtr n = parent ? parent->children : nullptr; n; n = n->next)
            if (n->type == XML_ELEMENT_NODE && Name(n) == name && nth-- == 0) return n;
        return nullptr;
    }
    xmlNodePtr Layout() const { return Child(Root(), "layout"); }
    xmlNodePtr Objects() const { return Child(Root(), "object"); }
    static std::string_view Name(xmlNodePtr n) { return reinterpret_cast<const char*>(n->name); }
    static std::vector<std::string> Names(xmlNodePtr parent) {
        std::vector<std::string> out;
        for (xmlNodePtr n = parent ? parent->children : nullptr; n; n = n->next)
            if (n->type == XML_ELEMENT_NODE) out.emplace_back(Name(n));
        return out;
    }
    /// The element's text; nullopt when it is absent.
    std::optional<std::string> Text(xmlNodePtr parent, std::string_view name) const {
        xmlNodePtr n = Child(parent, name);
        if (!n) return std::nullopt;
        xmlChar* c = xmlNodeGetContent(n);
        std::string s = c ? reinterpret_cast<const char*>(c) : "";
        xmlFree(c);
        return s;
    }

private:
    XmlDocument mDoc;
};

std::string ReadBytes(const fs::path& p) {
    std::string s;
    EXPECT_TRUE(ReadWholeFile(p, s));
    return s;
}

LayoutXmlWriteOptions Options(const fs::path& document = "/docs/layout.kqf", int language = 7) {
    LayoutXmlWriteOptions o;
    o.documentPath = document;
    o.language = language;
    o.osVersion = "6.1_Linux_0";
    return o;
}

ParsedFile Serialized(CLayoutSetting& layout, const LayoutXmlWriteOptions& options = Options()) {
    std::optional<std::string> bytes = SerializeLayoutXml(layout, options);
    EXPECT_TRUE(bytes);
    return ParsedFile(bytes.value_or(""));
}

/// The names of a context in order, less those absent: the written children must be
/// exactly these.
bool InContextOrder(const std::vector<std::string>& written, XmlContext context) {
    size_t at = 0;
    for (int16_t index : LayoutXmlContext(context)) {
        if (at < written.size() && written[at] == kLayoutXmlNames[size_t(index)]) ++at;
    }
    return at == written.size();
}

/// A layout that uses every kind of item and many values off their defaults.
std::unique_ptr<CLayoutSetting> MakeRichLayout() {
    auto layout = MakeSavableLayout();
    CLayoutSetting& l = *layout;
    l.Texts().comment = "Kommentar <&> \"Entwurf\"";
    l.Texts().headerText = "Kopf\r\nzweite Zeile";
    l.Texts().printerModel = "TEVRA Proof 44";
    l.Texts().paperSizeName = "A4";
    l.Texts().ownTemplateName = "Familie:Urlaub";
    l.Texts().imageStampPath = "/stamps/logo.png";
    l.HeaderFooterFont() = {"DejaVu Sans", 0x100, 60, 0x000000FF};
    l.SetHeaderUseFixedDate(1);
    l.SetHeaderFixedDate_Year(2026);
    l.SetHeaderFixedDate_Month(12);
    l.SetHeaderFixedDate_Day(10);
    l.SetAlign({4, 2});
    l.SetSpace({70, 80});
    l.SetColorIntentRGB(2);
    l.SetColorMatchPrinter(1);
    l.SetAutoRotate(3);
    l.CutLine() = {2, 1, 100, 50, 0x00FF00};
    l.GetBaseImage()->SetLabelSelection(3);
    l.GetBaseImage()->SetCaptionText("Bildunterschrift");

    CImageObj* a = AddImage(l, "/p/a.jpg");
    a->SetFrame({10, 20, 30, 40});
    a->SetRotate(9);
    a->SetLabelFontName("DejaVu Serif");
    AddImage(l, "/p/b.jpg")->SetUseZelFile(3);
    AddImage(l, "/q/c.jpg")->SetColorIntentSimulation(-1);
    AddItem<CTextObj>(l)->SetText("Hallo\r\nWelt & <Freunde>");
    AddItem<CTextObj>(l);  // empty: not stored
    AddItem<CCutLineObj>(l);
    CLineObj* line = AddItem<CLineObj>(l);
    line->SetThickness(10);
    line->SetArrowMark(2);
    return layout;
}

class LayoutXmlSave : public testing::Test {
protected:
    void TearDown() override {
        FakeFreeBytesForTests(std::nullopt);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
    }
    test::TestRoot root;
};

TEST_F(LayoutXmlSave, WritesEveryItemKindInTableOrder) {
    test::ScopedEnv language("LC_ALL", "de_DE.UTF-8");
    auto layout = MakeRichLayout();
    const fs::path file = root.Path() / "photos.kqf";
    ASSERT_TRUE(SaveLayoutXml(file, *layout));

    const std::string lint = "xmllint --noout '" + file.string() + "' 2>/dev/null";
    EXPECT_EQ(std::system(lint.c_str()), 0);

    ParsedFile f(ReadBytes(file));
    ASSERT_TRUE(f.Ok());
    EXPECT_EQ(ParsedFile::Names(f.Root()), (std::vector<std::string>{"header", "layout", "object"}));
    EXPECT_EQ(f.Text(f.Child(f.Root(), "header"), "Version"), "1500");
    EXPECT_EQ(f.Text(f.Child(f.Root(), "header"), "Platform"), "Win");
    const std::vector<std::string> layoutNames = ParsedFile::Names(f.Layout());
    EXPECT_TRUE(InContextOrder(layoutNames, XmlContext::Layout));
    EXPECT_EQ(f.Text(f.Layout(), "CommentGerman"), "\"Kommentar <&> \"Entwurf\"\"");
    EXPECT_FALSE(f.Text(f.Layout(), "CommentEnglish"));
    EXPECT_EQ(f.Text(f.Layout(), "HeaderText"), "\"Kopf\nzweite Zeile\"");
    EXPECT_EQ(f.Text(f.Layout(), "HeaderFixedDate"), "2026-12-10");
    EXPECT_FALSE(f.Text(f.Layout(), "FooterFixedDate"));
    EXPECT_FALSE(f.Text(f.Layout(), "FooterText"));
    EXPECT_FALSE(f.Text(f.Layout(), "PrinterName"));
    EXPECT_EQ(f.Text(f.Layout(), "AlignHorizontal"), "Center");
    EXPECT_EQ(f.Text(f.Layout(), "AlignLine"), "Bottom");
    EXPECT_EQ(f.Text(f.Layout(), "CutLineMode"), "Others");
    EXPECT_EQ(f.Text(f.Layout(), "ImageLabelItems"), "Number+Name");
    EXPECT_EQ(f.Text(f.Layout(), "HeaderFooterFontColor"), "255,0,0");
    EXPECT_EQ(f.Text(f.Layout(), "Paper"), "0,0,4209,2976");
    EXPECT_EQ(f.Text(f.Layout(), "ImageStampFileName"), "\"/stamps/logo.png\"");

    EXPECT_EQ(ParsedFile::Names(f.Objects()),
              (std::vector<std::string>{"image", "image", "image", "freeText", "freeLine"}));
    xmlNodePtr first = f.Child(f.Objects(), "image", 0);
    xmlNodePtr second = f.Child(f.Objects(), "image", 1);
    xmlNodePtr third = f.Child(f.Objects(), "image", 2);
    for (xmlNodePtr image : {first, second, third}) EXPECT_TRUE(InContextOrder(ParsedFile::Names(image), XmlContext::Image));
    EXPECT_EQ(f.Text(first, "Dir"), "\"/p/\"");
    EXPECT_FALSE(f.Text(second, "Dir"));
    EXPECT_EQ(f.Text(third, "Dir"), "\"/q/\"");
    EXPECT_EQ(f.Text(second, "File"), "\"b.jpg\"");
    EXPECT_EQ(f.Text(first, "FrameRect"), "20,10,40,30");
    EXPECT_EQ(f.Text(first, "Rotate"), "90");
    EXPECT_EQ(f.Text(first, "Flip"), "true");
    EXPECT_EQ(f.Text(second, "ImageSrcManagementMode"), "ZEL");
    EXPECT_FALSE(f.Text(third, "ImageSimIntent"));  // no word for it: left out
    EXPECT_FALSE(f.Text(second, "LabelFontName"));
    xmlNodePtr text = f.Child(f.Objects(), "freeText");
    EXPECT_TRUE(InContextOrder(ParsedFile::Names(text), XmlContext::FreeText));
    EXPECT_EQ(f.Text(text, "String"), "\"Hallo\nWelt & <Freunde>\"");
    xmlNodePtr line = f.Child(f.Objects(), "freeLine");
    EXPECT_EQ(ParsedFile::Names(line).size(), 13u);
    EXPECT_EQ(f.Text(line, "Thickness"), "2");
    EXPECT_EQ(f.Text(line, "ArrowMark"), "BothSide");

    std::optional<std::vector<uint8_t>> jpeg = Base64Decode(f.Text(f.Layout(), "Preview").value_or("-"));
    ASSERT_TRUE(jpeg);
    ASSERT_GT(jpeg->size(), 4u);
    EXPECT_EQ((*jpeg)[0], 0xFF);
    EXPECT_EQ((*jpeg)[1], 0xD8);
    bool sof0 = false;
    for (size_t i = 0; i + 8 < jpeg->size(); ++i) {
        if ((*jpeg)[i] == 0xFF && (*jpeg)[i + 1] == 0xC0) {
            sof0 = true;
            EXPECT_EQ(((*jpeg)[i + 5] << 8) | (*jpeg)[i + 6], 128);  // height
            EXPECT_EQ(((*jpeg)[i + 7] << 8) | (*jpeg)[i + 8], 128);  // width
            break;
        }
    }
    EXPECT_TRUE(sof0);
}

TEST(LayoutXmlWriter, WritesOnlyTheCommentOfTheLanguage) {
    auto layout = MakeSavableLayout();
    layout->Texts().comment = "c";
    const std::pair<int, const char*> cases[] = {{17, "Comment"}, {9, "CommentEnglish"}, {25, nullptr}};
    for (auto [language, element] : cases) {
        SCOPED_TRACE(language);
        ParsedFile f = Serialized(*layout, Options("/d/x.kqf", language));
        std::vector<std::string> comments;
        for (const std::string& n : ParsedFile::Names(f.Layout()))
            if (n.rfind("Comment", 0) == 0) comments.push_back(n);
        EXPECT_EQ(comments, element ? std::vector<std::string>{element} : std::vector<std::string>{});
    }
}

TEST(LayoutXmlWriter, WritesTheImageStampByTheThreeRules) {
    struct StampCase {
        int32_t relative;
        int32_t isTemplate;
        const char* absolute;
        const char* relativeText;
    };
    const StampCase cases[] = {
        {0, 0, "\"/docs/stamps/s.png\"", nullptr},
        {1, 0, nullptr, "\"./stamps/s.png\""},
        {1, 1, "\"/docs/stamps/s.png\"", nullptr},  // a template without its images
    };
    for (const StampCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.relative << c.isTemplate);
        auto layout = MakeSavableLayout();
        layout->Texts().imageStampPath = "/docs/stamps/s.png";
        layout->SetRelative(c.relative);
        layout->SetTemplate(c.isTemplate);
        ParsedFile f = Serialized(*layout);
        EXPECT_EQ(f.Text(f.Layout(), "ImageStampFileName"), c.absolute ? std::optional<std::string>(c.absolute) : std::nullopt);
        EXPECT_EQ(f.Text(f.Layout(), "RelativeStampFileName"),
                  c.relativeText ? std::optional<std::string>(c.relativeText) : std::nullopt);
    }
    auto layout = MakeSavableLayout();
    ParsedFile f = Serialized(*layout);
    EXPECT_FALSE(f.Text(f.Layout(), "ImageStampFileName"));
    EXPECT_FALSE(f.Text(f.Layout(), "RelativeStampFileName"));
}

TEST(LayoutXmlWriter, NamesFoldersExactlyAndRelativeWhenAsked) {
    auto layout = MakeSavableLayout();
    for (const char* p : {"/x/Pics/1.jpg", "/x/pics/2.jpg", "/x/pics/3.jpg", "/docs/sub/4.jpg"}) AddImage(*layout, p);
    ParsedFile f = Serialized(*layout);
    std::vector<std::optional<std::string>> dirs;
    for (int i = 0; i < 4; ++i) dirs.push_back(f.Text(f.Child(f.Objects(), "image", i), "Dir"));
    EXPECT_EQ(dirs, (std::vector<std::optional<std::string>>{"\"/x/Pics/\"", "\"/x/pics/\"", std::nullopt,
                                                             "\"/docs/sub/\""}));

    layout->SetRelative(1);
    ParsedFile r = Serialized(*layout);
    EXPECT_EQ(r.Text(r.Child(r.Objects(), "image", 0), "RelativeDir"), "\"./../x/Pics/\"");
    EXPECT_EQ(r.Text(r.Child(r.Objects(), "image", 3), "RelativeDir"), "\"./sub/\"");
    EXPECT_FALSE(r.Text(r.Child(r.Objects(), "image", 0), "Dir"));

    layout->SetTemplate(1);
    layout->SetSaveTemplateWithImages(1);
    ParsedFile t = Serialized(*layout, Options("/t/Family.kqt"));
    EXPECT_EQ(t.Text(t.Child(t.Objects(), "image", 0), "RelativeDir"), "\"./Family/\"");
    layout->SetSaveTemplateWithImages(0);
    ParsedFile none = Serialized(*layout, Options("/t/Family.kqt"));
    EXPECT_TRUE(ParsedFile::Names(none.Objects()).empty());
}

/// The values that a new image item and a new layout start with.
TEST(LayoutXmlWriter, FreshDefaultValuesSave) {
    auto layout = MakeSavableLayout();
    CImageObj& base = *layout->GetBaseImage();
    base.SetUseZelFile(3);
    base.SetSizeRatioMode(1);
    base.SetSizePixel({1260, 1260});
    base.SetSizeRatio({1000, 1000});
    base.SetLabelLocation(1);
    base.SetLabelFontSize(50);
    base.SetCaptionUpsideDown(1);
    base.SetCaptionFontSize(50);
    base.SetProfileUseEmbed(1);
    base.SetProfileIntent(1);
    base.SetFrameColorValue(0xFFFFFF);
    CImageObj* image = AddImage(*layout, "/p/new.jpg");
    image->CopyFrom(base, false);
    image->SetFilePath("/p/new.jpg");
    ParsedFile f = Serialized(*layout);
    xmlNodePtr e = f.Child(f.Objects(), "image");
    EXPECT_EQ(f.Text(e, "ImageSrcManagementMode"), "ZEL");
    EXPECT_FALSE(f.Text(e, "ImageSimIntent"));  // 0 has no word: left out
    EXPECT_EQ(f.Text(e, "ImageSrcIntent"), "Perceptual");
    EXPECT_EQ(f.Text(e, "SizeMethod"), "Dimensions");
    EXPECT_EQ(f.Text(e, "LabelFontSize"), "10");
    EXPECT_EQ(f.Text(e, "LabelLocation"), "Bottom");
    EXPECT_EQ(f.Text(e, "FrameColor"), "255,255,255");
    EXPECT_EQ(f.Text(e, "ColorTune"), "0,0,0");
    EXPECT_FALSE(f.Text(f.Layout(), "InputSrcIntent"));
    EXPECT_EQ(f.Text(f.Layout(), "Orientation"), "Portrait");
    EXPECT_EQ(f.Text(f.Layout(), "OutputRecommend"), "true");
}

TEST(LayoutXmlWriter, RefusesValuesItsReaderWouldRefuse) {
    const std::vector<std::function<void(CLayoutSetting&)>> faults = {
        [](CLayoutSetting& l) { l.HeaderFooterFont().face = std::string(33, 'x'); },
        [](CLayoutSetting& l) { AddImage(l, "/p/i.jpg")->SetSourceProfile(std::string(256, 'p')); },
        [](CLayoutSetting& l) { l.Texts().comment = "caf\xE9"; },
        [](CLayoutSetting& l) { AddImage(l, "/p/\xFF.jpg"); },
        [](CLayoutSetting& l) { l.SetBaseImage(nullptr); },
    };
    for (size_t i = 0; i < faults.size(); ++i) {
        SCOPED_TRACE(i);
        auto layout = MakeSavableLayout();
        faults[i](*layout);
        EXPECT_FALSE(SerializeLayoutXml(*layout, Options()));
    }
}

/// A view whose page drawing fails.
struct FailingView : test::RecordingLayoutView, LayoutViewCommands {
    void OnCommand(int) override {}
    void OnUpdateCommand(int, CommandState&) override {}
    void ZoomToFit() override {}
    void ZoomInStep() override {}
    void ZoomOutStep() override {}
    DibBufferPtr DrawPageOffscreen(int, const ViewGeometry&) override { return nullptr; }
};

TEST_F(LayoutXmlSave, AFailedPreviewLeavesItEmptyAndSaves) {
    auto layout = MakeSavableLayout();
    FailingView view;
    test::RecordingShell shell;
    shell.view = &view;
    ScopedHostService<Shell> installed(&shell);
    const fs::path file = root.Path() / "nopreview.kqf";
    ASSERT_TRUE(SaveLayoutXml(file, *layout));
    ParsedFile f(ReadBytes(file));
    EXPECT_EQ(f.Text(f.Layout(), "Preview"), "");

    layout->SetPaper({0, 0});
    shell.view = nullptr;
    ASSERT_TRUE(SaveLayoutXml(file, *layout));
}

size_t EntriesIn(const fs::path& dir) {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

/// Saves that fail, for layouts and templates, directly and through a symbolic link.
class FailedSave : public testing::TestWithParam<std::tuple<const char*, bool>> {
protected:
    void SetUp() override {
        const auto [extension, linked] = GetParam();
        fs::create_directory(root.Path() / "real");
        real = root.Path() / "real" / (std::string("old") + extension);
        std::ofstream(real) << "old layout bytes";
        chmod(real.c_str(), 0640);
        target = real;
        if (linked) {
            target = root.Path() / (std::string("link") + extension);
            fs::create_symlink(real, target);
        }
        layout = MakeRichLayout();
    }
    void TearDown() override {
        FakeFreeBytesForTests(std::nullopt);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
    }
    void ExpectUntouched() {
        EXPECT_EQ(ReadBytes(real), "old layout bytes");
        struct stat st {};
        stat(real.c_str(), &st);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(EntriesIn(root.Path() / "real"), 1u);
        EXPECT_EQ(EntriesIn(root.Path()), std::get<1>(GetParam()) ? 2u : 1u);
        if (std::get<1>(GetParam())) EXPECT_TRUE(fs::is_symlink(target));
        EXPECT_EQ(EntriesIn(TempFolder()), 0u);
    }
    test::TestRoot root;
    fs::path real;
    fs::path target;
    std::unique_ptr<CLayoutSetting> layout;
};

TEST_P(FailedSave, AtEachStepOfTheWrite) {
    for (AtomicWriteStep step : {AtomicWriteStep::Create, AtomicWriteStep::Write, AtomicWriteStep::Sync,
                                 AtomicWriteStep::Link, AtomicWriteStep::Rename}) {
        SCOPED_TRACE(int(step));
        FailAtomicWriteStepForTests(step);
        const bool saved = SaveLayoutXml(target, *layout);
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
        if (saved) {  // no link step without O_TMPFILE
            EXPECT_EQ(step, AtomicWriteStep::Link);
            std::ofstream(real) << "old layout bytes";
            continue;
        }
        ExpectUntouched();
    }
}

TEST_P(FailedSave, OnAFullDisk) {
    FakeFreeBytesForTests(1000);
    EXPECT_FALSE(SaveLayoutXml(target, *layout));
    ExpectUntouched();
    FakeFreeBytesForTests(std::nullopt);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{2000, 2000};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(SaveLayoutXml(target, *layout) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ExpectUntouched();
}

TEST_P(FailedSave, WhenAValueCannotBeWritten) {
    layout->Texts().comment = "caf\xE9";  // not UTF-8
    EXPECT_FALSE(SaveLayoutXml(target, *layout));
    ExpectUntouched();
}

TEST_P(FailedSave, WhenKilledDuringTheWrite) {
    const int probe = ::open(root.Path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "no O_TMPFILE here: a killed save could leave its named temporary file";
    ::close(probe);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetAtomicWriteStepHookForTests([](AtomicWriteStep step) {
            if (step == AtomicWriteStep::Sync) raise(SIGKILL);
        });
        SaveLayoutXml(target, *layout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ExpectUntouched();
}

TEST_P(FailedSave, SucceedsOtherwiseAndKeepsModeAndLink) {
    ASSERT_TRUE(SaveLayoutXml(target, *layout));
    EXPECT_NE(ReadBytes(real), "old layout bytes");
    struct stat st {};
    stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (std::get<1>(GetParam())) EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(EntriesIn(TempFolder()), 0u);
}

INSTANTIATE_TEST_SUITE_P(LayoutsAndTemplates, FailedSave,
                         testing::Combine(testing::Values(".kqf", ".kqt"), testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) + 1) +
                                    (std::get<1>(info.param) ? "ThroughLink" : "Direct");
                         });

TEST(IsStandardTemplateFile, OnlyUserCategoriesMakeATemplateNonStandard) {
    test::TestRoot root;
    struct Case {
        const char* name;
        std::optional<std::string> content;  // nullopt: no file
        bool standard;
    };
    const auto file = [](const char* element) {
        return std::string("<?xml version=\"1.0\"?><root><header/><layout>") + element + "</layout></root>";
    };
    const Case cases[] = {
        {"absent", file(""), true},
        {"empty", file("<NameMyTemplate></NameMyTemplate>"), true},
        {"quotes", file("<NameMyTemplate>\"\"</NameMyTemplate>"), true},
        {"family", file("<NameMyTemplate>\"Family\"</NameMyTemplate>"), false},
        {"broken", std::string("<root><layout><NameMyTemplate>\"Family\"</layout>"), true},
        {"missing", std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path p = root.Path() / (std::string(c.name) + ".kqt");
        if (c.content) std::ofstream(p) << *c.content;
        EXPECT_EQ(IsStandardTemplateFile(p), c.standard);
    }

    auto layout = MakeSavableLayout();
    layout->Texts().ownTemplateName = "Familie";
    const fs::path saved = root.Path() / "saved.kqt";
    ASSERT_TRUE(SaveLayoutXml(saved, *layout));
    EXPECT_FALSE(IsStandardTemplateFile(saved));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

/// The application state as far as the writer asks it.
struct FakeApplicationState : ApplicationState {
    AppPreferences preferences;
    CLayoutSetting defaults{true};
    CLayoutSetting* active = nullptr;
    int language = 12;
    AppPreferences& Preferences() override { return preferences; }
    CLayoutSetting& DefaultLayoutSetting() override { return defaults; }
    CLayoutSetting*& ActiveLayoutSlot() override { return active; }
    void DeleteLayoutRecord(std::unique_ptr<CLayoutSetting>, CLayoutSetting**) override {}
    bool InitAppDefaults() override { return true; }
    bool PrepareNewLayout(CLayoutSetting&) override { return true; }
    int GetSystemLanguage() override { return language; }
    bool ImportLocked() override { return false; }
    UndoStore& GetUndoStore() override { throw std::logic_error("no undo here"); }
};

TEST(LayoutXmlWriteOptions, ComeFromTheApplicationAndTheKernel) {
    const std::string os = OsVersionText();
    int major = -1, minor = -1;
    char rest[16] = {};
    ASSERT_EQ(std::sscanf(os.c_str(), "%d.%d_%15s", &major, &minor, rest), 3) << os;
    EXPECT_STREQ(rest, "Linux_0");

    test::ScopedEnv language("LC_ALL", "it_IT.UTF-8");
    LayoutXmlWriteOptions plain = LayoutXmlWriteOptionsFor("/a/../b/x.kqf");
    EXPECT_EQ(plain.documentPath, "/b/x.kqf");
    EXPECT_EQ(plain.language, 16);
    EXPECT_EQ(plain.version, 1500);
    EXPECT_EQ(plain.platform, 1);

    FakeApplicationState app;
    app.preferences.version = 1400;
    app.preferences.platform = 0;
    ScopedHostService<ApplicationState> installed(&app);
    LayoutXmlWriteOptions o = LayoutXmlWriteOptionsFor("/b/x.kqf");
    EXPECT_EQ(o.language, 12);
    auto layout = MakeSavableLayout();
    ParsedFile f = Serialized(*layout, o);
    xmlNodePtr header = f.Child(f.Root(), "header");
    EXPECT_EQ(f.Text(header, "Version"), "1400");
    EXPECT_EQ(f.Text(header, "Platform"), "Mac");
    EXPECT_EQ(f.Text(header, "OSVersion"), os);
}

}  // namespace
}  // namespace vx
